// The program's own windows skinned: the controls of the main window, the entry dialog and a message box are
// matched to the skin style as the skin engine matches them, and unskinning gives the platform look back.
#include <QAbstractItemView>
#include <QApplication>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include "adddlg.h"
#include "mainwndfixture.h"
#include "skin/component/skindata.h"
#include "skin/controls/controlskins.h"
#include "skin/style/skinregistry.h"

Q_DECLARE_METATYPE(SkinKind)

namespace {

SkinKind kindOf(const QWidget *widget)
{
    const SkinRegistry::Control *control = SkinRegistry::instance().control(widget);
    return control ? control->kind : SkinKind::None;
}

} // namespace

class SkinnedWindowsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void mainWindowControls_data();
    void mainWindowControls();
    void partsOfControls();
    void entryDialogControls();
    void messageBoxButtons();
    void unskinGivesThePlatformLookBack();
    void skinningTwiceChangesNothing();

private:
    TSkinData *skinData() const { return m_fixture->window->findChild<TSkinData *>(); }

    std::unique_ptr<MainWndFixture> m_fixture;
};

void SkinnedWindowsTest::init()
{
    m_fixture = std::make_unique<MainWndFixture>();
    m_fixture->start().show();
    QVERIFY(skinData() && skinData()->isSkinLoaded());
}

void SkinnedWindowsTest::cleanup()
{
    m_fixture->end();
    m_fixture.reset();
}

void SkinnedWindowsTest::mainWindowControls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<SkinKind>("kind");
    QTest::newRow("push button") << "ExitBtn" << SkinKind::Button;
    QTest::newRow("disabled push button") << "EditBtn" << SkinKind::Button;
    QTest::newRow("edit") << "HorzEdt" << SkinKind::Edit;
    QTest::newRow("up-down") << "WidthUpd" << SkinKind::UpDown;
    QTest::newRow("combo box") << "MonitorCbo" << SkinKind::Combo;
    QTest::newRow("group box") << "SavedGrp" << SkinKind::GroupBox;
    QTest::newRow("panel of a radio pair") << "VertPnl" << SkinKind::Panel;
    QTest::newRow("radio button in a panel") << "Height2Rdo" << SkinKind::RadioButton;
    QTest::newRow("check box") << "MaximizedChk" << SkinKind::CheckBox;
    QTest::newRow("list box") << "TitleLst" << SkinKind::ScrollArea;
    QTest::newRow("list view") << "SavedLvw" << SkinKind::ListView;
    QTest::newRow("label") << "ScreenLbl" << SkinKind::None;
    QTest::newRow("side image") << "SideImg" << SkinKind::None;
}

void SkinnedWindowsTest::mainWindowControls()
{
    QFETCH(QString, name);
    QFETCH(SkinKind, kind);
    skinWindowControls(m_fixture->window.get(), skinData());
    auto *control = m_fixture->window->findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(kindOf(control), kind);
}

void SkinnedWindowsTest::partsOfControls()
{
    skinWindowControls(m_fixture->window.get(), skinData());
    auto *savedList = m_fixture->savedList();
    QCOMPARE(kindOf(savedList->header()), SkinKind::Header);
    QCOMPARE(kindOf(savedList->verticalScrollBar()), SkinKind::ScrollBar);
    QCOMPARE(kindOf(savedList->horizontalScrollBar()), SkinKind::ScrollBar);
    QCOMPARE(kindOf(m_fixture->control<QListWidget>("TitleLst")->verticalScrollBar()), SkinKind::ScrollBar);
    QCOMPARE(kindOf(m_fixture->control<QComboBox>("MonitorCbo")->view()->verticalScrollBar()), SkinKind::ScrollBar);
    const auto arrows = m_fixture->control("HorzUpd")->findChildren<QToolButton *>();
    QCOMPARE(arrows.size(), 2);
    for (const QToolButton *arrow : arrows) {
        QCOMPARE(kindOf(arrow), SkinKind::UpDownArrow);
    }
    // The window takes the skin's colours.
    QCOMPARE(m_fixture->window->palette().color(QPalette::Window), skinData()->skin()->colours.buttonFace);
    QCOMPARE(m_fixture->window->palette().color(QPalette::Highlight), skinData()->skin()->colours.hilight);
}

void SkinnedWindowsTest::entryDialogControls()
{
    TAddDlg dialog(m_fixture->window.get(), {QStringLiteral("Terminal")}, QStringLiteral("Add"),
        &m_fixture->messageBoxes, [](const QString &) { return std::optional<QString>(); });
    skinWindowControls(&dialog, skinData());
    QCOMPARE(kindOf(dialog.findChild<QWidget *>(QStringLiteral("OkBtn"))), SkinKind::Button);
    QCOMPARE(kindOf(dialog.findChild<QWidget *>(QStringLiteral("CancelBtn"))), SkinKind::Button);
    QCOMPARE(kindOf(dialog.findChild<QWidget *>(QStringLiteral("DescriptionEdt"))), SkinKind::Edit);
    QCOMPARE(kindOf(dialog.findChild<QWidget *>(QStringLiteral("TitleCbo"))), SkinKind::Combo);
    QCOMPARE(kindOf(dialog.findChild<QWidget *>(QStringLiteral("TitleChk"))), SkinKind::CheckBox);
    // The editable combo's own edit is part of the combo, not an edit of its own.
    QCOMPARE(kindOf(dialog.findChild<QComboBox *>(QStringLiteral("TitleCbo"))->lineEdit()), SkinKind::None);
}

void SkinnedWindowsTest::messageBoxButtons()
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Framewright"), QStringLiteral("Remove the entry?"),
        QMessageBox::Yes | QMessageBox::No, m_fixture->window.get());
    skinWindowControls(&box, skinData());
    const auto buttons = box.findChildren<QPushButton *>();
    QCOMPARE(buttons.size(), 2);
    for (const QPushButton *button : buttons) {
        QCOMPARE(kindOf(button), SkinKind::Button);
    }
}

void SkinnedWindowsTest::unskinGivesThePlatformLookBack()
{
    TMainWnd *window = m_fixture->window.get();
    auto *exitButton = m_fixture->control<QPushButton>("ExitBtn");
    // The window is skinned already: framing skinned it when it was shown.
    const QPalette platformPalette = QApplication::palette(window);
    skinWindowControls(window, skinData());
    const QImage skinned = exitButton->grab().toImage();
    unskinWindowControls(window);
    QCOMPARE(kindOf(exitButton), SkinKind::None);
    QVERIFY(!SkinRegistry::instance().isSkinned(window));
    QCOMPARE(window->palette().color(QPalette::Window), platformPalette.color(QPalette::Window));
    QVERIFY(!window->testAttribute(Qt::WA_SetPalette));
    // A fresh, never skinned button of the same size and caption looks the same as the given-back one.
    QPushButton plain(exitButton->text());
    plain.setFont(exitButton->font());
    plain.resize(exitButton->size());
    const QImage given = exitButton->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QVERIFY(given != skinned.convertToFormat(QImage::Format_RGB32));
    QCOMPARE(given, plain.grab().toImage().convertToFormat(QImage::Format_RGB32));
}

void SkinnedWindowsTest::skinningTwiceChangesNothing()
{
    TMainWnd *window = m_fixture->window.get();
    skinWindowControls(window, skinData());
    const QImage once = window->grab().toImage();
    skinWindowControls(window, skinData());
    QCOMPARE(window->grab().toImage(), once);
    QCOMPARE(kindOf(m_fixture->control("ExitBtn")), SkinKind::Button);
}

QTEST_MAIN(SkinnedWindowsTest)
#include "skinnedwindows_test.moc"
