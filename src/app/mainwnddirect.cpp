// The Direct group and the placement it applies: listing windows, applying the controls' placement to the
// selected windows, and reading a window's placement into the controls.
#include "mainwnd.h"

#include "valuefield.h"

#include "placement/applyentry.h"
#include "placement/monitors.h"
#include "placement/windowlist.h"
#include "platform/windowsystem.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>

namespace {

constexpr int kWindowIdRole = Qt::UserRole;

platform::WindowId windowOf(const QListWidgetItem *item)
{
    return item->data(kWindowIdRole).value<platform::WindowId>();
}

} // namespace

void TMainWnd::fillTitleList()
{
    for (const auto &window : m_services.windowSystem->topLevelWindows()) {
        EnumTitlesProc(window);
    }
}

void TMainWnd::EnumTitlesProc(const platform::TopLevelWindow &window)
{
    if (isOffered(window)) {
        auto *item = new QListWidgetItem(window.title, TitleLst);
        item->setData(kWindowIdRole, QVariant::fromValue(window.id));
    }
}

void TMainWnd::RefreshBtnClick()
{
    // Emptying the list drops the selection without touching Read window and Apply: they keep their state.
    const QSignalBlocker blocker(TitleLst);
    TitleLst->clear();
    fillTitleList();
}

void TMainWnd::Apply1BtnClick()
{
    applyToSelectedTitles(ComputePlacement(MonitorCbo->currentIndex()), MaximizedChk->isChecked());
}

void TMainWnd::applyToSelectedTitles(const PlacementRect &rect, bool maximized)
{
    for (int i = 0; i < TitleLst->count(); ++i) {
        if (TitleLst->item(i)->isSelected()) {
            ApplyPlacement(windowOf(TitleLst->item(i)), rect, maximized);
        }
    }
}

PlacementRect TMainWnd::ComputePlacement(int monitorIndex) const
{
    // Without a monitor the primary one is the reference. On X11 it need not be at the origin, so its own
    // rectangle is used rather than its size at (0, 0).
    const bool monitorInUse = monitorIndex != -1 && monitorIndex < MonitorCount;
    const QRect reference = GetMonitorRect(*m_services.windowSystem, monitorInUse ? monitorIndex : 0);
    return computePlacementRect(controlsPlacement(), reference);
}

bool TMainWnd::ApplyPlacement(platform::WindowId window, const PlacementRect &rect, bool maximized)
{
    return placeWindow(*m_services.windowSystem, window, rect, maximized);
}

void TMainWnd::ReadBtnClick()
{
    const QListWidgetItem *current = TitleLst->currentItem();
    if (current == nullptr) {
        return;
    }
    if (const auto placement = m_services.windowSystem->windowPlacement(windowOf(current))) {
        LoadWindowPlacement(*placement);
    }
}

void TMainWnd::LoadWindowPlacement(platform::WindowPlacement placement)
{
    const QRect normal = placement.normalRect;
    Updating = true;
    HorzCbo->setCurrentIndex(0);
    m_horz->setUnit(Unit::Pixels);
    VertCbo->setCurrentIndex(0);
    m_vert->setUnit(Unit::Pixels);
    m_width->load(Unit::Pixels, normal.width());
    m_height->load(Unit::Pixels, normal.height());
    const int monitor = MonitorAtPoint(normal.topLeft());
    if (monitor != -1) {
        MonitorCbo->setCurrentIndex(monitor);
        const QRect monitorRect = GetMonitorRect(*m_services.windowSystem, monitor);
        m_horz->setValue(normal.left() - monitorRect.left());
        m_vert->setValue(normal.top() - monitorRect.top());
    } else {
        MonitorCbo->setCurrentIndex(0);
        m_horz->setValue(normal.left());
        m_vert->setValue(normal.top());
    }
    MaximizedChk->setChecked(placement.showState == platform::ShowState::Maximized);
    Updating = false;
}
