// The main window's lifecycle (start-up and shut-down against the settings file) and its own commands.
#include "mainwnd.h"

#include "application.h"
#include "clickimage.h"
#include "jpegimage.h"
#include "messageboxes.h"
#include "uifont.h"
#include "valuefield.h"

#include "placement/monitors.h"
#include "platform/windowsystem.h"
#include "settings/settingsfile.h"
#include "settings/settingstext.h"
#include "skin/component/skindata.h"
#include "skin/frame/skinmanage.h"
#include "skin/load/shippedskin.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QItemSelection>
#include <QListWidget>
#include <QLoggingCategory>
#include <QPushButton>
#include <QTreeWidget>

#include <cstdio>
#include <limits>

Q_LOGGING_CATEGORY(lcMainWnd, "framewright.mainwnd")

// The resources live in a static library, whose registration the linker would drop unless it is referenced.
static void initResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace {

const QString kGeneral = QStringLiteral("General");
constexpr int kClientWidth = 768;
constexpr int kClientHeight = 557;
constexpr int kNeverSaved = std::numeric_limits<int>::max();

enum ActiveList { TitleListActive = 0, SavedListActive = 1, OtherControlActive = -1 };

// An index into a list of `count` items, or -1 (no selection) for one that is not in it.
int indexOrNone(int index, int count)
{
    return index >= 0 && index < count ? index : -1;
}

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
{
    setObjectName(QStringLiteral("MainWnd"));
    setFont(interfaceFont());
    setFixedSize(kClientWidth, kClientHeight);
    createControls();
    createSkinData();
    SideImg->setPixmap(QPixmap::fromImage(sidePicture()));

    connect(ExitBtn, &QPushButton::clicked, this, &TMainWnd::ExitBtnClick);
    connect(HelpBtn, &QPushButton::clicked, this, &TMainWnd::HelpBtnClick);
    connect(SideImg, &TClickImage::clicked, this, &TMainWnd::SideImgClick);
    connect(PresetsBtn, &QPushButton::clicked, this, &TMainWnd::PresetsBtnClick);
    connect(SavedLvw, &QTreeWidget::itemSelectionChanged, this, &TMainWnd::SavedLvwSelectItem);
    connect(TitleLst, &QListWidget::itemSelectionChanged, this, &TMainWnd::TitleLstClick);
    connect(TitleLst, &QListWidget::itemDoubleClicked, this, &TMainWnd::Apply1BtnClick);
    connect(RefreshBtn, &QPushButton::clicked, this, &TMainWnd::RefreshBtnClick);
    connect(Apply1Btn, &QPushButton::clicked, this, &TMainWnd::Apply1BtnClick);
    connect(ReadBtn, &QPushButton::clicked, this, &TMainWnd::ReadBtnClick);
    connect(SavedLvw->header(), &QHeaderView::sectionClicked, this, &TMainWnd::SavedLvwColumnClick);
    connect(AddBtn, &QPushButton::clicked, this, &TMainWnd::AddBtnClick);
    connect(EditBtn, &QPushButton::clicked, this, &TMainWnd::EditBtnClick);
    connect(CopyBtn, &QPushButton::clicked, this, &TMainWnd::CopyBtnClick);
    connect(RemoveBtn, &QPushButton::clicked, this, &TMainWnd::RemoveBtnClick);
    connect(UpBtn, &QPushButton::clicked, this, &TMainWnd::UpBtnClick);
    connect(DownBtn, &QPushButton::clicked, this, &TMainWnd::DownBtnClick);
    connect(Apply2Btn, &QPushButton::clicked, this, &TMainWnd::Apply2BtnClick);
    connect(SavedLvw, &QTreeWidget::itemDoubleClicked, this, &TMainWnd::Apply2BtnClick);
    connect(m_horz, &ValueField::unitSwitched, this, &TMainWnd::HorzRdoClick);
    connect(m_vert, &ValueField::unitSwitched, this, &TMainWnd::VertRdoClick);
    connect(m_width, &ValueField::unitSwitched, this, &TMainWnd::WidthRdoClick);
    connect(m_height, &ValueField::unitSwitched, this, &TMainWnd::HeightRdoClick);

    FormCreate();
}

TMainWnd::~TMainWnd()
{
    FormDestroy();
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

void TMainWnd::FormCreate()
{
    setWindowTitle(kApplicationTitle);
    assignCaptions();
    fillMonitorList();
    fillTitleList();
    m_settingsFile = std::make_unique<SettingsFile>(m_services.settingsPath);
    m_entries.load(*m_settingsFile); // the presets when there is no file, Auto, the listed entries, their selection
    restoreWindowPosition();

    LoadControls(m_entries.autoEntry());
    Updating = true;
    HorzRdoClick();
    VertRdoClick();
    WidthRdoClick();
    HeightRdoClick();
    Updating = false;

    showEntries();
    SavedLvwSelectItem();
    restoreFocus();
    SortByDescription = true;
    SortAscending = false;

    if (const QString refusal = m_settingsFile->refusal(); !refusal.isEmpty()) {
        settingsFailure(this,
            QStringLiteral("The settings file %1 cannot be read: %2. The program starts without its settings and "
                           "leaves the file as it is")
                .arg(QFileInfo(m_settingsFile->path()).absoluteFilePath(), refusal));
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
    MonitorCount = GetMonitorCount(*m_services.windowSystem);
    for (int i = 0; i < MonitorCount; ++i) {
        MonitorCbo->addItem(monitorListEntry(i, GetMonitorName(*m_services.windowSystem, i)));
    }
    MonitorCbo->setCurrentIndex(0);
}

void TMainWnd::restoreWindowPosition()
{
    const QPoint saved(m_settingsFile->readInteger(kGeneral, QStringLiteral("Left"), kNeverSaved),
        m_settingsFile->readInteger(kGeneral, QStringLiteral("Top"), kNeverSaved));
    // The skinned frame is put on at the first show; the fit test already counts it.
    QSize outer = frameGeometry().size();
    if (const TSkinManage *manager = TSkinManage::existingInstance()) {
        const QMargins frame = manager->frameMarginsFor(this);
        outer += QSize(frame.left() + frame.right(), frame.top() + frame.bottom());
    }
    if (RectFitsMonitor(*m_services.windowSystem, MonitorCount, saved, outer)) {
        move(saved);
        return;
    }
    // Centred on the primary monitor. Its origin is added because on X11 the primary monitor need not be at (0, 0).
    const QRect primary = GetMonitorRect(*m_services.windowSystem, 0);
    const QSize screen = primaryScreenSize(*m_services.windowSystem);
    move(primary.left() + (screen.width() - outer.width()) / 2, primary.top() + (screen.height() - outer.height()) / 2);
}

void TMainWnd::showEntries()
{
    const QSignalBlocker blocker(SavedLvw);
    const int count = m_entries.count();
    while (SavedLvw->topLevelItemCount() > count) {
        delete SavedLvw->takeTopLevelItem(SavedLvw->topLevelItemCount() - 1);
    }
    QList<QTreeWidgetItem *> added;
    for (int i = SavedLvw->topLevelItemCount(); i < count; ++i) {
        added << new QTreeWidgetItem;
    }
    SavedLvw->addTopLevelItems(added);
    for (int i = 0; i < count; ++i) {
        SavedLvw->topLevelItem(i)->setText(0, m_entries.at(i).Description);
        SavedLvw->topLevelItem(i)->setText(1, m_entries.at(i).Title);
    }
    // One selection call for all rows, a range per run of selected rows: selecting row by row costs an update
    // of the selection model per row, which makes a long list with many selected rows start slowly.
    QItemSelection selection;
    const QAbstractItemModel *model = SavedLvw->model();
    for (int first = 0; first < count; ++first) {
        if (!m_entries.isSelected(first)) {
            continue;
        }
        int last = first;
        while (last + 1 < count && m_entries.isSelected(last + 1)) {
            ++last;
        }
        selection.select(model->index(first, 0), model->index(last, model->columnCount() - 1));
        first = last;
    }
    SavedLvw->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void TMainWnd::restoreFocus()
{
    switch (m_settingsFile->readInteger(kGeneral, QStringLiteral("ActiveList"), TitleListActive)) {
    case TitleListActive:
        TitleLst->setFocus();
        break;
    case SavedListActive:
        SavedLvw->setFocus();
        break;
    default:
        ExitBtn->setFocus();
        break;
    }
}

void TMainWnd::FormDestroy()
{
    // A file that was not read is not written either: the user was told at start-up.
    if (!m_settingsFile || !m_settingsFile->refusal().isEmpty()) {
        m_settingsFile.reset();
        return;
    }
    try {
        const QWidget *active = focusWidget();
        const int activeList = active == TitleLst ? TitleListActive
            : active == SavedLvw                  ? SavedListActive
                                                  : OtherControlActive;
        m_settingsFile->writeInteger(kGeneral, QStringLiteral("ActiveList"), activeList);

        StoreControls(m_entries.autoEntry());
        m_entries.save(*m_settingsFile);
        m_settingsFile->writeInteger(kGeneral, QStringLiteral("Top"), pos().y());
        m_settingsFile->writeInteger(kGeneral, QStringLiteral("Left"), pos().x());
        const SettingsSaveReport report = m_settingsFile->save();
        const QString file = printableSettingsText(QFileInfo(m_settingsFile->path()).absoluteFilePath());
        for (const QString &entry : m_entries.entriesAmong(report.overridden)) {
            std::fprintf(stderr,
                "framewright: the entry \"%s\" was changed in %s by another program too; this window's version of it "
                "was saved\n",
                qPrintable(printableSettingsText(entry)), qPrintable(file));
        }
        if (!report.unsyncedReason.isEmpty()) {
            std::fprintf(stderr,
                "framewright: %s was saved, but its folder could not be synced (%s): a power failure now could still "
                "bring back the old file\n",
                qPrintable(file), qPrintable(report.unsyncedReason));
        }
    } catch (const SettingsWriteError &error) {
        settingsFailure(nullptr, QString::fromUtf8(error.what()));
    }
    m_settingsFile.reset();
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

void TMainWnd::PresetsBtnClick()
{
    if (!m_services.messageBoxes->question(this, QStringLiteral("Do you want to restore the presets?"))) {
        return;
    }
    try {
        RestorePresets();
        m_settingsFile->save();
    } catch (const SettingsWriteError &error) {
        settingsFailure(this, QString::fromUtf8(error.what()));
    }
}

void TMainWnd::RestorePresets()
{
    const int selectedBefore = m_entries.selectedCount();
    m_entries.restorePresets(m_settingsFile.get());
    showEntries();
    // Replacing a selected entry changes the selection, and that runs the list's handler.
    if (m_entries.selectedCount() != selectedBefore) {
        SavedLvwSelectItem();
    }
}

void TMainWnd::RemoveByDescription(const QString &description)
{
    const int selectedBefore = m_entries.selectedCount();
    m_entries.removeByDescription(description, m_settingsFile.get());
    showEntries();
    if (m_entries.selectedCount() != selectedBefore) {
        SavedLvwSelectItem();
    }
}

void TMainWnd::SavedLvwSelectItem()
{
    const QItemSelectionModel *selection = SavedLvw->selectionModel();
    for (int i = 0; i < m_entries.count(); ++i) {
        m_entries.setSelected(i, selection->isRowSelected(i));
    }
    if (const int first = m_entries.firstSelected(); first >= 0) {
        LoadControls(m_entries.at(first));
    }
    const int n = m_entries.selectedCount();
    EditBtn->setEnabled(n == 1);
    CopyBtn->setEnabled(n == 1);
    for (QPushButton *needsSelection : {RemoveBtn, UpBtn, DownBtn, Apply2Btn}) {
        needsSelection->setEnabled(n > 0);
    }
}

void TMainWnd::TitleLstClick()
{
    const qsizetype n = TitleLst->selectedItems().size();
    ReadBtn->setEnabled(n == 1);
    Apply1Btn->setEnabled(n > 0);
}

void TMainWnd::LoadControls(const cParameters &entry)
{
    const Placement &placement = entry.placement;
    Updating = true;
    MonitorCbo->setCurrentIndex(indexOrNone(placement.screenIndex, MonitorCbo->count()));
    HorzCbo->setCurrentIndex(indexOrNone(int(placement.horzAlignment), HorzCbo->count()));
    m_horz->load(placement.horzOffset.unit, placement.horzOffset.value);
    VertCbo->setCurrentIndex(indexOrNone(int(placement.vertAlignment), VertCbo->count()));
    m_vert->load(placement.vertOffset.unit, placement.vertOffset.value);
    m_width->load(placement.width.unit, placement.width.value);
    m_height->load(placement.height.unit, placement.height.value);
    // Set both ways: a box left checked by the previous entry would make the next Apply maximize by mistake.
    MaximizedChk->setChecked(placement.maximized);
    Updating = false;
}

void TMainWnd::StoreControls(cParameters &entry) const
{
    entry.placement = controlsPlacement();
}

Placement TMainWnd::controlsPlacement() const
{
    Placement placement;
    placement.screenIndex = MonitorCbo->currentIndex();
    placement.horzAlignment = HorzAlignment(HorzCbo->currentIndex());
    placement.horzOffset = {m_horz->value(), m_horz->unit()};
    placement.vertAlignment = VertAlignment(VertCbo->currentIndex());
    placement.vertOffset = {m_vert->value(), m_vert->unit()};
    placement.width = {m_width->value(), m_width->unit()};
    placement.height = {m_height->value(), m_height->unit()};
    placement.maximized = MaximizedChk->isChecked();
    return placement;
}

int TMainWnd::MonitorAtPoint(QPoint point) const
{
    return ::MonitorAtPoint(*m_services.windowSystem, MonitorCount, point);
}

int TMainWnd::referenceWidth() const
{
    const int index = MonitorCbo->currentIndex();
    return index < 0 ? primaryScreenSize(*m_services.windowSystem).width()
                     : GetMonitorRect(*m_services.windowSystem, index).width();
}

int TMainWnd::referenceHeight() const
{
    const int index = MonitorCbo->currentIndex();
    return index < 0 ? primaryScreenSize(*m_services.windowSystem).height()
                     : GetMonitorRect(*m_services.windowSystem, index).height();
}

void TMainWnd::HorzRdoClick()
{
    m_horz->switchUnit(Updating, [this] { return referenceWidth(); });
}

void TMainWnd::VertRdoClick()
{
    m_vert->switchUnit(Updating, [this] { return referenceHeight(); });
}

void TMainWnd::WidthRdoClick()
{
    m_width->switchUnit(Updating, [this] { return referenceWidth(); });
}

void TMainWnd::HeightRdoClick()
{
    m_height->switchUnit(Updating, [this] { return referenceHeight(); });
}
