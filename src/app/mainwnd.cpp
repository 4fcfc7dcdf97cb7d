// The main window's controls, its lifecycle (start-up and shut-down against the settings file) and its own commands.
#include "mainwnd.h"
#include "abruptexit.h"

#include "application.h"
#include "clickimage.h"
#include "directpanel.h"
#include "formcontrols.h"
#include "jpegimage.h"
#include "messageboxes.h"
#include "ontoscreens.h"
#include "placementpanel.h"
#include "savedpanel.h"
#include "screenchanges.h"

#include "cli/terminationsignals.h"
#include "settings/settingsfile.h"
#include "settings/settingstext.h"
#include "skin/component/skindata.h"
#include "skin/frame/nativeposition.h"
#include "skin/frame/screenpixels.h"
#include "skin/frame/skinmanage.h"
#include "skin/load/shippedskin.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QListWidget>
#include <QLoggingCategory>
#include <QPushButton>
#include <QTreeWidget>

#include <cstdio>

Q_LOGGING_CATEGORY(lcMainWnd, "framewright.mainwnd")

// The resources live in a static library, whose registration the linker would drop unless it is referenced.
static void initResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace {

constexpr int kClientWidth = 768;
constexpr int kClientHeight = 557;

QImage sidePicture()
{
    initResources();
    QFile file(QStringLiteral(":/framewright/sidepicture.jpg"));
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcMainWnd) << "the side picture is missing from the program's resources";
        return {};
    }
    auto decoded = decodeJpeg(file.readAll());
    if (const auto *reason = std::get_if<QString>(&decoded)) {
        qCWarning(lcMainWnd) << "the side picture cannot be shown:" << *reason;
        return {};
    }
    return std::get<QImage>(decoded);
}

} // namespace

TMainWnd::TMainWnd(MainWndServices services, QWidget *parent)
    : QWidget(parent,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , m_services(std::move(services))
    , m_controller(*m_services.windowSystem)
{
    setObjectName(QStringLiteral("MainWnd"));
    setFont(interfaceFont());
    setFixedSize(kClientWidth, kClientHeight);
    // Creation order is the tab order.
    SideImg = place(new TClickImage(this), "SideImg", 0, 0, 162, 557);
    m_placement = new PlacementPanel(this, m_controller);
    m_direct = new DirectPanel(this);
    m_saved = new SavedPanel(this);
    ExitBtn = button(this, "ExitBtn", 373, 518, 96, 25);
    HelpBtn = button(this, "HelpBtn", 473, 518, 96, 25);
    createSkinData();
    SideImg->setPixmap(QPixmap::fromImage(sidePicture()));
    connectCommands();
    FormCreate();
}

TMainWnd::~TMainWnd()
{
    FormDestroy();
}

void TMainWnd::connectCommands()
{
    connect(ExitBtn, &QPushButton::clicked, this, &TMainWnd::ExitBtnClick);
    connect(HelpBtn, &QPushButton::clicked, this, &TMainWnd::HelpBtnClick);
    connect(SideImg, &TClickImage::clicked, this, &TMainWnd::SideImgClick);
    connect(m_direct, &DirectPanel::titleSelectionChanged, this, &TMainWnd::TitleLstClick);
    connect(m_direct, &DirectPanel::refreshClicked, this, &TMainWnd::RefreshBtnClick);
    connect(m_direct, &DirectPanel::readClicked, this, &TMainWnd::ReadBtnClick);
    connect(m_direct, &DirectPanel::applyClicked, this, &TMainWnd::Apply1BtnClick);
    connect(m_saved, &SavedPanel::selectionChanged, this, &TMainWnd::SavedLvwSelectItem);
    connect(m_saved, &SavedPanel::columnClicked, this, &TMainWnd::SavedLvwColumnClick);
    connect(m_saved, &SavedPanel::addClicked, this, &TMainWnd::AddBtnClick);
    connect(m_saved, &SavedPanel::editClicked, this, &TMainWnd::EditBtnClick);
    connect(m_saved, &SavedPanel::copyClicked, this, &TMainWnd::CopyBtnClick);
    connect(m_saved, &SavedPanel::removeClicked, this, &TMainWnd::RemoveBtnClick);
    connect(m_saved, &SavedPanel::upClicked, this, &TMainWnd::UpBtnClick);
    connect(m_saved, &SavedPanel::downClicked, this, &TMainWnd::DownBtnClick);
    connect(m_saved, &SavedPanel::presetsClicked, this, &TMainWnd::PresetsBtnClick);
    connect(m_saved, &SavedPanel::applyClicked, this, &TMainWnd::Apply2BtnClick);
}

// The skin component, set up as the window stores it: its properties, then the shipped package, then the end of
// loading (which switches skinning off when the package gave no skin).
void TMainWnd::createSkinData()
{
    SkinData = new TSkinData(this);
    SkinData->setObjectName(QStringLiteral("SkinData"));
    SkinData->setMessageSink([this](const QString &text) {
        QString lines = text;
        m_services.messageBoxes->error(this, lines.replace(QLatin1Char('\r'), QLatin1Char('\n')));
    });
    SkinData->setActive(!m_services.noSkin);
    SkinData->setOptions(TSkinData::xoPreview | TSkinData::xoNoFocusRect | TSkinData::xoToolbarBK);
    SkinData->setSkinFormType(TSkinData::sfMainform);
    SkinData->setDisableTag(TSkinData::kDefaultDisableTag);
    SkinData->setSkinStream(TSkinData::framedSkinStream(shippedSkinPackage()));
    SkinData->loaded();
}

void TMainWnd::assignCaptions()
{
    m_placement->assignCaptions();
    m_direct->assignCaptions();
    m_saved->assignCaptions();
    ExitBtn->setText(QStringLiteral("Exit"));
    HelpBtn->setText(QStringLiteral("Help"));
}

void TMainWnd::FormCreate()
{
    setWindowTitle(kApplicationTitle);
    assignCaptions();
    fillMonitorList();
    fillTitleList();
    m_controller.openSettings(m_services.settingsPath);
    restoreWindowPosition();

    LoadControls(m_controller.entries().autoEntry());
    m_placement->Updating = true;
    HorzRdoClick();
    VertRdoClick();
    WidthRdoClick();
    HeightRdoClick();
    m_placement->Updating = false;

    m_saved->show(m_controller.entries());
    SavedLvwSelectItem();
    restoreFocus();
    SortByDescription = true;
    SortAscending = false;

    // What the user changed survives an end that runs no shut-down (the X server gone), and a logout's request to
    // save.
    setAbruptExitWork([this] { saveSettings(FailureReport::StandardError); });
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] { saveSettings(FailureReport::StandardError); });
    connect(new ScreenChanges(this), &ScreenChanges::changed, this, &TMainWnd::screensChanged);

    if (const QString refusal = m_controller.settingsRefusal(); !refusal.isEmpty()) {
        settingsFailure(this,
            QStringLiteral("The settings file %1 cannot be read: %2. The program starts without its settings and "
                           "leaves the file as it is")
                .arg(m_controller.settingsPath(), refusal));
    }
}

// A failure box about the settings file: the message, a full stop, and the note on where the file is kept.
void TMainWnd::settingsFailure(QWidget *parent, const QString &message)
{
    const QString note
        = m_services.settingsNote.isEmpty() ? QString() : QStringLiteral("\n\n") + m_services.settingsNote;
    m_services.messageBoxes->error(parent, message + QLatin1Char('.') + note);
}

void TMainWnd::fillMonitorList()
{
    m_placement->setMonitorList(m_controller.readMonitorList());
    MonitorCount = m_controller.monitorCount();
}

void TMainWnd::screensChanged()
{
    fillMonitorList();
    bringWindowsOntoScreens();
}

// The saved position and the monitors are in screen pixels, the window's size and move() in Qt's.
void TMainWnd::restoreWindowPosition()
{
    // The skinned frame is put on at the first show; the fit test already counts it.
    QSize outer = frameGeometry().size();
    if (const TSkinManage *manager = TSkinManage::existingInstance()) {
        const QMargins frame = manager->frameMarginsFor(this);
        outer += QSize(frame.left() + frame.right(), frame.top() + frame.bottom());
    }
    const auto outerSizePxAt
        = [outer](QPoint cornerPx) { return screenPxFromLogical(outer, scaleAtScreenPx(cornerPx)); };
    move(logicalFromScreenPx(m_controller.windowPositionPx(outerSizePxAt)));
}

void TMainWnd::restoreFocus()
{
    switch (m_controller.savedActiveList()) {
    case ActiveList::TitleList:
        m_direct->titleList()->setFocus();
        break;
    case ActiveList::SavedList:
        m_saved->savedList()->setFocus();
        break;
    case ActiveList::Other:
        ExitBtn->setFocus();
        break;
    }
}

WindowState TMainWnd::windowState() const
{
    const QWidget *active = focusWidget();
    const ActiveList activeList = active == m_direct->titleList() ? ActiveList::TitleList
        : active == m_saved->savedList()                          ? ActiveList::SavedList
                                                                  : ActiveList::Other;
    const bool placesItself = QGuiApplication::platformName() != QLatin1String("wayland");
    return {
        activeList, m_placement->placement(), placesItself ? std::optional<QPoint>(outerPositionPx()) : std::nullopt};
}

QPoint TMainWnd::outerPositionPx() const
{
    if (const std::optional<QPoint> now = serverOuterPositionPx(this)) {
        return *now;
    }
    return m_closedAtPx.value_or(screenPxFromLogical(pos()));
}

// Closing comes before the native window goes; the application's end closes the window too.
void TMainWnd::closeEvent(QCloseEvent *event)
{
    m_closedAtPx = serverOuterPositionPx(this);
    QWidget::closeEvent(event);
}

void TMainWnd::FormDestroy()
{
    clearAbruptExitWork();
    // Told to end (a logout, a kill): the program ends without waiting for anyone to close a box.
    saveSettings(terminationRequested() ? FailureReport::StandardError : FailureReport::MessageBox);
    m_controller.releaseSettings();
}

// The shut-down's writing: the list state, every entry, the Auto entry and the window position, then the file saved.
// A failure is shown in a box or, when nobody may be waited for, written to standard error.
void TMainWnd::saveSettings(FailureReport failureReport)
{
    try {
        m_controller.saveSettings(windowState());
    } catch (const SettingsWriteError &error) {
        if (failureReport == FailureReport::StandardError) {
            std::fprintf(
                stderr, "framewright: %s\n", qPrintable(printableSettingsText(QString::fromUtf8(error.what()))));
        } else {
            settingsFailure(nullptr, QString::fromUtf8(error.what()));
        }
    }
}

void TMainWnd::ExitBtnClick()
{
    close();
}

void TMainWnd::HelpBtnClick()
{
    QUrl url = QUrl::fromLocalFile(m_services.helpFile);
    url.setFragment(kMainWindowHelpTopic);
    if (!QFileInfo::exists(m_services.helpFile) || !m_services.openUrl(url)) {
        m_services.messageBoxes->error(
            this, QStringLiteral("Unable to open the help file %1.").arg(m_services.helpFile));
    }
}

void TMainWnd::SideImgClick()
{
    if (!m_services.openUrl(QUrl(kMakerWebPage))) {
        m_services.messageBoxes->error(this,
            QStringLiteral("Unable to start the browser. Please make sure it is set up properly on your system."));
    }
}

void TMainWnd::LoadControls(const cParameters &entry)
{
    m_placement->show(entry.placement);
}

void TMainWnd::StoreControls(cParameters &entry) const
{
    entry.placement = m_placement->placement();
}

void TMainWnd::HorzRdoClick()
{
    m_placement->switchUnit(PlacementPanel::Value::Horz);
}

void TMainWnd::VertRdoClick()
{
    m_placement->switchUnit(PlacementPanel::Value::Vert);
}

void TMainWnd::WidthRdoClick()
{
    m_placement->switchUnit(PlacementPanel::Value::Width);
}

void TMainWnd::HeightRdoClick()
{
    m_placement->switchUnit(PlacementPanel::Value::Height);
}
