// The Direct group's commands and the placement they apply: listing windows, applying the controls' placement to
// the chosen windows, and reading a window's placement into the controls.
#include "mainwnd.h"

#include "directpanel.h"
#include "messageboxes.h"
#include "placementpanel.h"

void TMainWnd::fillTitleList()
{
    for (const auto &window : m_controller.offeredWindows()) {
        EnumTitlesProc(window);
    }
}

void TMainWnd::EnumTitlesProc(const platform::TopLevelWindow &window)
{
    m_direct->addTitle(window);
}

void TMainWnd::TitleLstClick()
{
    m_direct->enableCommands();
}

void TMainWnd::RefreshBtnClick()
{
    m_direct->clearTitles();
    fillTitleList();
}

void TMainWnd::Apply1BtnClick()
{
    if (const QString refusal = m_controller.applyToWindows(m_placement->placement(), m_direct->chosenWindows());
        !refusal.isEmpty()) {
        m_services.messageBoxes->failure(this, refusal);
    }
}

PlacementRect TMainWnd::ComputePlacement(int monitorIndex) const
{
    Placement placement = m_placement->placement();
    placement.screenIndex = monitorIndex;
    return m_controller.computePlacement(placement);
}

bool TMainWnd::ApplyPlacement(platform::WindowId window, const PlacementRect &rect, bool maximized)
{
    return m_controller.applyPlacement(window, rect, maximized);
}

int TMainWnd::MonitorAtPoint(QPoint point) const
{
    return m_controller.monitorAtPoint(point);
}

void TMainWnd::ReadBtnClick()
{
    const auto window = m_direct->currentWindow();
    if (!window) {
        return;
    }
    if (const auto placement = m_services.windowSystem->windowPlacement(*window)) {
        LoadWindowPlacement(*placement);
    }
}

void TMainWnd::LoadWindowPlacement(platform::WindowPlacement placement)
{
    m_placement->show(m_controller.placementOfWindow(placement));
}
