// Starting and ending the main window in tests: a settings file in a temporary folder, a fake window system,
// recorded message boxes and a recorded URL opener. Ending the window (end()) runs the shut-down sequence.
#pragma once

#include "fakewindowsystem.h"
#include "filebytes.h"
#include "mainwnd.h"
#include "recordingmessageboxes.h"
#include "settings/settingsfile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <memory>

class MainWndFixture
{
public:
    MainWndFixture() { settingsPath = dir.filePath(QStringLiteral("KTZ.ini")); }

    TMainWnd &start()
    {
        MainWndServices services;
        services.windowSystem = &windowSystem;
        services.messageBoxes = &messageBoxes;
        services.settingsPath = settingsPath;
        services.settingsNote = settingsNote;
        services.helpFile = helpFile;
        services.noSkin = noSkin;
        services.openUrl = [this](const QUrl &url) {
            openedUrls << url;
            return openUrlSucceeds;
        };
        window = std::make_unique<TMainWnd>(services);
        return *window;
    }

    void end() { window.reset(); }

    void writeSettings(const QByteArray &text) { writeAll(settingsPath, text); }
    QByteArray settingsText() const { return readAll(settingsPath); }

    template<typename Widget = QWidget> Widget *control(const char *name) const
    {
        auto *widget = window->findChild<Widget *>(QLatin1String(name));
        Q_ASSERT_X(widget, "control", name);
        return widget;
    }

    QTreeWidget *savedList() const { return control<QTreeWidget>("SavedLvw"); }

    QStringList rowCaptions() const
    {
        QStringList captions;
        for (int i = 0; i < savedList()->topLevelItemCount(); ++i) {
            captions << savedList()->topLevelItem(i)->text(0);
        }
        return captions;
    }

    QList<int> selectedRows() const
    {
        QList<int> rows;
        for (int i = 0; i < savedList()->topLevelItemCount(); ++i) {
            if (savedList()->topLevelItem(i)->isSelected()) {
                rows << i;
            }
        }
        return rows;
    }

    QTemporaryDir dir;
    QString settingsPath;
    QString settingsNote;
    QString helpFile;
    FakeWindowSystem windowSystem;
    RecordingMessageBoxes messageBoxes;
    bool openUrlSucceeds = true;
    bool noSkin = false; // --no-skin
    QList<QUrl> openedUrls;
    std::unique_ptr<TMainWnd> window;
};
