// TSkinManage: the application's one skin manager. The skin components (TSkinData) register with it; an
// application-wide event filter then frames every top-level window on its first show when the framing rules
// allow it (TWinSkinForm), and skins or unskins all windows when the default component's Active changes.
#pragma once

#include <QList>
#include <QMargins>
#include <QObject>
#include <QPointer>
#include <QTimer>

class QWidget;
class TSkinData;
class TWinSkinForm;

class TSkinManage : public QObject
{
    Q_OBJECT

public:
    // Delay of skinning or unskinning all windows after the default component's Active changed.
    static constexpr int kCommandDelayMs = 250;
    // A window whose dynamic property "Tag" has this value keeps the platform's frame.
    static constexpr int kKeepFrameTag = 99;

    // The manager, made on first use and owned by the application object; null without a QApplication.
    static TSkinManage *instance();
    // The manager when one has been made, else null.
    static TSkinManage *existingInstance();

    // A component that has finished loading (the manager hears of each one), until it is destroyed. The first
    // sfMainform component is the default one: when it is Active the manager frames windows. Other kinds of
    // components make the manager active as they come.
    void registerSkinData(TSkinData *skinData);
    void unregisterSkinData(TSkinData *skinData);
    bool isActive() const { return m_active; }

    // The component that would frame the window, or null when the rules keep its platform frame: the
    // manager is active; it is a top-level window or dialog not framed yet; its Tag is not 99; the
    // component's filters allow its class; and a component with a loaded skin serves it (one made for that
    // window alone, else for message boxes a dialog component, else the main one, else the first).
    TSkinData *skinDataFor(QWidget *window) const;
    // Frames the window when the rules allow it: its new frame, or null.
    TWinSkinForm *frameWindow(QWidget *window);
    TWinSkinForm *findFrame(const QWidget *window) const;
    // The frame framing would put around the window's client area: nothing when it keeps the platform frame.
    QMargins frameMarginsFor(QWidget *window) const;
    // Frames every visible top-level window the rules allow; detaches every frame.
    void skinAll();
    void unskinAll();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit TSkinManage(QObject *parent);
    void followDefault();
    void defaultActiveChanged(bool active);
    TSkinData *defaultSkinData() const;
    QList<TWinSkinForm *> frames() const;

    QList<QPointer<TSkinData>> m_skinData;
    QPointer<TSkinData> m_followed; // the default component whose Active is followed
    QList<QPointer<TWinSkinForm>> m_frames;
    bool m_active = false;
    bool m_framedAny = false;
    QTimer m_commandTimer;
};
