// TSkinManage: component registry, the framing rules and the application-wide event filter. The manager hears of
// every component that finishes loading: linking it in is what makes loaded components frame windows.
#include "skinmanage.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include "skin/component/skindata.h"
#include "windowfacts.h"
#include "winskinform.h"

namespace {

QPointer<TSkinManage> g_instance;

const bool g_hearsOfLoadedComponents = [] {
    TSkinData::addLoadedListener([](TSkinData *skinData) {
        if (TSkinManage *manager = TSkinManage::instance()) {
            manager->registerSkinData(skinData);
        }
    });
    return true;
}();

} // namespace

TSkinManage::TSkinManage(QObject *parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("SkinManage"));
    m_commandTimer.setSingleShot(true);
    m_commandTimer.setInterval(kCommandDelayMs);
    connect(&m_commandTimer, &QTimer::timeout, this, [this] {
        const TSkinData *main = defaultSkinData();
        m_active = main && main->active() && main->isSkinLoaded();
        if (m_active) {
            skinAll();
        } else {
            unskinAll();
        }
    });
    parent->installEventFilter(this);
}

TSkinManage *TSkinManage::instance()
{
    if (!g_instance) {
        auto *application = qobject_cast<QApplication *>(QCoreApplication::instance());
        if (!application) {
            return nullptr;
        }
        g_instance = new TSkinManage(application);
    }
    return g_instance;
}

TSkinManage *TSkinManage::existingInstance()
{
    return g_instance;
}

void TSkinManage::registerSkinData(TSkinData *skinData)
{
    if (!skinData || m_skinData.contains(skinData)) {
        return;
    }
    m_skinData.append(skinData);
    // A component's pointer is cleared before destroyed() is emitted: dropping the cleared ones drops it.
    connect(skinData, &QObject::destroyed, this, [this] { unregisterSkinData(nullptr); });
    if (skinData->skinFormType() != TSkinData::sfMainform) {
        m_active = true;
        return;
    }
    followDefault();
}

void TSkinManage::unregisterSkinData(TSkinData *skinData)
{
    m_skinData.removeAll(skinData);
    m_skinData.removeAll(nullptr);
    if (m_skinData.isEmpty()) {
        m_active = false;
        m_commandTimer.stop();
        return;
    }
    followDefault();
}

// The default component's Active decides whether windows are framed; a new default is followed from now on.
void TSkinManage::followDefault()
{
    TSkinData *main = defaultSkinData();
    if (!main || main == m_followed) {
        return;
    }
    if (m_followed) {
        disconnect(m_followed, &TSkinData::activeChanged, this, &TSkinManage::defaultActiveChanged);
    }
    m_followed = main;
    connect(main, &TSkinData::activeChanged, this, &TSkinManage::defaultActiveChanged);
    defaultActiveChanged(main->active());
}

TSkinData *TSkinManage::defaultSkinData() const
{
    for (const QPointer<TSkinData> &skinData : m_skinData) {
        if (skinData && skinData->skinFormType() == TSkinData::sfMainform) {
            return skinData;
        }
    }
    return nullptr;
}

// Switching on lets windows be framed as they are shown at once; the windows already shown are framed, or
// all frames are taken off, after the command delay. Until a window has been framed, only the flag changes.
void TSkinManage::defaultActiveChanged(bool active)
{
    const TSkinData *main = defaultSkinData();
    const bool on = active && main && main->isSkinLoaded();
    if (on || !m_framedAny) {
        m_active = on;
    }
    if (m_framedAny) {
        m_commandTimer.start();
    }
}

TSkinData *TSkinManage::skinDataFor(QWidget *window) const
{
    if (!m_active || !window || !window->isWindow()) {
        return nullptr;
    }
    const Qt::WindowType type = window->windowType();
    if (type != Qt::Window && type != Qt::Dialog) {
        return nullptr;
    }
    if (findFrame(window) || window->property("skinned").toBool() || window->size().isEmpty()) {
        return nullptr;
    }
    if (const QVariant tag = window->property("Tag"); tag.isValid() && tag.toInt() == kKeepFrameTag) {
        return nullptr;
    }
    TSkinData *chosen = nullptr;
    for (const QPointer<TSkinData> &skinData : m_skinData) {
        if (skinData && skinData->skinFormType() == TSkinData::sfOnlyThisForm && skinData->parent() == window) {
            chosen = skinData;
            break;
        }
    }
    const auto firstOf = [this](TSkinData::TSkinFormType formType) -> TSkinData * {
        for (const QPointer<TSkinData> &skinData : m_skinData) {
            if (skinData && skinData->skinFormType() == formType) {
                return skinData;
            }
        }
        return nullptr;
    };
    if (!chosen && isMessageBox(window)) {
        chosen = firstOf(TSkinData::sfDialog);
    }
    if (!chosen) {
        chosen = firstOf(TSkinData::sfMainform);
    }
    if (!chosen && !m_skinData.isEmpty()) {
        chosen = m_skinData.first();
    }
    if (!chosen || !chosen->isSkinLoaded()) {
        return nullptr;
    }
    return chosen->mayFrame(QString::fromLatin1(window->metaObject()->className())) ? chosen : nullptr;
}

TWinSkinForm *TSkinManage::frameWindow(QWidget *window)
{
    TSkinData *skinData = skinDataFor(window);
    if (!skinData) {
        return nullptr;
    }
    m_frames.removeAll(nullptr);
    auto *frame = new TWinSkinForm(window, skinData);
    m_frames.append(frame);
    m_framedAny = true;
    frame->attach();
    return frame;
}

TWinSkinForm *TSkinManage::findFrame(const QWidget *window) const
{
    for (const QPointer<TWinSkinForm> &frame : m_frames) {
        if (frame && frame->window() == window) {
            return frame;
        }
    }
    return nullptr;
}

QMargins TSkinManage::frameMarginsFor(QWidget *window) const
{
    const TSkinData *skinData = skinDataFor(window);
    if (!skinData) {
        return {};
    }
    return frameThickness(*skinData->skin(), readWindowFacts(window, window->windowFlags(), {}).border);
}

QList<TWinSkinForm *> TSkinManage::frames() const
{
    QList<TWinSkinForm *> list;
    for (const QPointer<TWinSkinForm> &frame : m_frames) {
        if (frame) {
            list.append(frame);
        }
    }
    return list;
}

void TSkinManage::skinAll()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->isVisible()) {
            frameWindow(window);
        }
    }
}

void TSkinManage::unskinAll()
{
    for (TWinSkinForm *frame : frames()) {
        frame->detach();
        delete frame;
    }
    m_frames.clear();
}

bool TSkinManage::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && m_active && watched->isWidgetType()) {
        auto *widget = static_cast<QWidget *>(watched);
        if (widget->isWindow()) {
            frameWindow(widget);
        }
    }
    return false;
}
