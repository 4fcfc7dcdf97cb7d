// The main window's lifecycle (start-up and shut-down against the settings file) and its own commands.
#include "mainwnd.h"

#include "application.h"
#include "clickimage.h"
#include "collation.h"
#include "jpegimage.h"
#include "messageboxes.h"
#include "placement/monitors.h"
#include "platform/windowsystem.h"
#include "presets.h"
#include "savedrow.h"
#include "settings/settingsfile.h"
#include "shippedskin.h"
#include "skindata.h"
#include "uifont.h"
#include "valuefield.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QListWidget>
#include <QLoggingCategory>
#include <QPushButton>
#include <QTreeWidget>

#include <algorithm>
#include <limits>
#include <vector>

Q_LOGGING_CATEGORY(lcMainWnd, "framewright.mainwnd")

// The resources live in a static library, whose registration the linker would drop unless it is referenced.
static void initResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace {

const QString kGeneral = QStringLiteral("General");
const QString kAutoDescription = QStringLiteral("Auto");
constexpr int kClientWidth = 768;
constexpr int kClientHeight = 557;
constexpr int kNeverSaved = std::numeric_limits<int>::max();

enum ActiveList { TitleListActive = 0, SavedListActive = 1, OtherControlActive = -1 };

// An index into a list of `count` items, or -1 (no selection) for one that is not in it.
int indexOrNone(int index, int count)
{
    return index >= 0 && index < count ? index : -1;
}

QString presetKey(int number)
{
    return QStringLiteral("Preset%1").arg(number);
}

// The numbers n from 1 to count for which `keys` holds "Preset<n>" (compared as the settings file compares names),
// in ascending order. Looking at the keys present rather than at every number up to the count keeps a hand-edited
// PresetCount of 2147483647 from reading (and overflowing) its way through two billion missing keys.
std::vector<int> presetNumbers(const QStringList &keys, int count)
{
    const QString prefix = QStringLiteral("preset");
    std::vector<int> numbers;
    for (const QString &key : keys) {
        const QString folded = key.toCaseFolded();
        if (!folded.startsWith(prefix)) {
            continue;
        }
        bool isNumber = false;
        const QStringView digits = QStringView(folded).sliced(prefix.size());
        const int number = digits.toInt(&isNumber);
        if (isNumber && number >= 1 && number <= count && presetKey(number).toCaseFolded() == folded) {
            numbers.push_back(number);
        }
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

// Selects the rows whose flag is set, rows[i] standing for row first + i, in one call with one range per run of
// selected rows. Selecting row by row costs time in proportion to the rows already selected.
void selectRows(QTreeWidget *list, int first, const std::vector<bool> &rows)
{
    QItemSelection selection;
    const qsizetype count = qsizetype(rows.size());
    for (qsizetype begin = 0; begin < count; ++begin) {
        if (!rows[begin]) {
            continue;
        }
        qsizetype end = begin;
        while (end + 1 < count && rows[end + 1]) {
            ++end;
        }
        selection.select(list->model()->index(first + int(begin), 0), list->model()->index(first + int(end), 0));
        begin = end;
    }
    list->selectionModel()->select(selection, QItemSelectionModel::Select | QItemSelectionModel::Rows);
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
    SkinData->setActive(true);
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
    if (!m_settingsFile->exists()) {
        RestorePresets();
    }
    restoreWindowPosition();

    AutoEntry = std::make_unique<cParameters>(kAutoDescription, m_settingsFile.get());
    LoadControls(*AutoEntry);
    Updating = true;
    HorzRdoClick();
    VertRdoClick();
    WidthRdoClick();
    HeightRdoClick();
    Updating = false;

    listSavedEntries();
    restoreSelectionAndFocus();
    SortByDescription = true;
    SortAscending = false;
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
    const QSize outer = frameGeometry().size();
    if (RectFitsMonitor(*m_services.windowSystem, MonitorCount, saved, outer)) {
        move(saved);
        return;
    }
    // Centred on the primary monitor. Its origin is added because on X11 the primary monitor need not be at (0, 0).
    const QRect primary = GetMonitorRect(*m_services.windowSystem, 0);
    const QSize screen = primaryScreenSize(*m_services.windowSystem);
    move(primary.left() + (screen.width() - outer.width()) / 2, primary.top() + (screen.height() - outer.height()) / 2);
}

void TMainWnd::listSavedEntries()
{
    const QSignalBlocker blocker(SavedLvw);
    const int count = m_settingsFile->readInteger(kGeneral, QStringLiteral("PresetCount"), 0);
    QList<QTreeWidgetItem *> rows;
    std::vector<bool> selected;
    for (const int n : presetNumbers(m_settingsFile->keys(kGeneral), count)) {
        const QString description = m_settingsFile->readString(kGeneral, presetKey(n), QString());
        if (description.isEmpty()) {
            continue;
        }
        auto entry = std::make_unique<cParameters>(description, m_settingsFile.get());
        selected.push_back(entry->Selected);
        rows << new SavedRow(std::move(entry));
    }
    const int first = SavedLvw->topLevelItemCount();
    SavedLvw->addTopLevelItems(rows);
    selectRows(SavedLvw, first, selected);
}

void TMainWnd::appendRow(std::unique_ptr<cParameters> entry)
{
    const bool selected = entry->Selected;
    auto *row = new SavedRow(std::move(entry));
    SavedLvw->addTopLevelItem(row);
    row->setSelected(selected);
}

void TMainWnd::restoreSelectionAndFocus()
{
    const int focus = m_settingsFile->readInteger(kGeneral, QStringLiteral("Focus"), -1);
    {
        const QSignalBlocker blocker(SavedLvw);
        if (focus >= 0) {
            if (QTreeWidgetItem *row = SavedLvw->topLevelItem(focus)) {
                row->setSelected(true);
            }
        } else if (!SavedLvw->selectedItems().isEmpty()) {
            for (int i = 0; i < SavedLvw->topLevelItemCount(); ++i) {
                if (SavedLvw->topLevelItem(i)->isSelected()) {
                    SavedLvw->topLevelItem(i)->setSelected(false);
                    break;
                }
            }
        }
    }
    SavedLvwSelectItem();

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
    if (!m_settingsFile) {
        return;
    }
    try {
        const QWidget *active = focusWidget();
        const int activeList = active == TitleLst ? TitleListActive
            : active == SavedLvw                  ? SavedListActive
                                                  : OtherControlActive;
        m_settingsFile->writeInteger(kGeneral, QStringLiteral("ActiveList"), activeList);

        int focus = -1;
        const int rowCount = SavedLvw->topLevelItemCount();
        for (int i = 0; i < rowCount && focus < 0; ++i) {
            if (SavedLvw->topLevelItem(i)->isSelected()) {
                focus = i;
            }
        }
        m_settingsFile->writeInteger(kGeneral, QStringLiteral("Focus"), focus);

        for (int i = 0; i < rowCount; ++i) {
            auto *row = static_cast<SavedRow *>(SavedLvw->topLevelItem(i));
            row->entry().Selected = row->isSelected();
            row->entry().save(m_settingsFile.get());
            m_settingsFile->writeString(kGeneral, presetKey(i + 1), row->text(0));
        }
        m_settingsFile->writeInteger(kGeneral, QStringLiteral("PresetCount"), rowCount);

        StoreControls(*AutoEntry);
        AutoEntry->save(m_settingsFile.get());
        m_settingsFile->writeInteger(kGeneral, QStringLiteral("Top"), pos().y());
        m_settingsFile->writeInteger(kGeneral, QStringLiteral("Left"), pos().x());
        m_settingsFile->save();
    } catch (const SettingsWriteError &error) {
        m_services.messageBoxes->failure(nullptr, QString::fromUtf8(error.what()));
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
        m_services.messageBoxes->failure(this, QString::fromUtf8(error.what()));
    }
}

void TMainWnd::RestorePresets()
{
    for (cParameters &preset : builtInPresets()) {
        RemoveByDescription(preset.Description);
        appendRow(std::make_unique<cParameters>(std::move(preset)));
    }
}

void TMainWnd::RemoveByDescription(const QString &description)
{
    for (int i = SavedLvw->topLevelItemCount() - 1; i >= 0; --i) {
        auto *row = static_cast<SavedRow *>(SavedLvw->topLevelItem(i));
        if (sameIgnoringCase(row->text(0), description)) {
            std::unique_ptr<SavedRow> removed(static_cast<SavedRow *>(SavedLvw->takeTopLevelItem(i)));
            removed->entry().save(m_settingsFile.get());
        }
    }
}

void TMainWnd::SavedLvwSelectItem()
{
    const QList<QTreeWidgetItem *> selected = SavedLvw->selectedItems();
    QTreeWidgetItem *first = nullptr;
    for (int i = 0; i < SavedLvw->topLevelItemCount() && first == nullptr; ++i) {
        if (SavedLvw->topLevelItem(i)->isSelected()) {
            first = SavedLvw->topLevelItem(i);
        }
    }
    if (first != nullptr) {
        LoadControls(static_cast<SavedRow *>(first)->entry());
    }
    const qsizetype n = selected.size();
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
    Updating = true;
    MonitorCbo->setCurrentIndex(indexOrNone(entry.ScreenIndex, MonitorCbo->count()));
    HorzCbo->setCurrentIndex(indexOrNone(entry.HorzIndex, HorzCbo->count()));
    m_horz->load(entry.HorzPx ? Unit::Pixels : Unit::Percent, entry.HorzValue);
    VertCbo->setCurrentIndex(indexOrNone(entry.VertIndex, VertCbo->count()));
    m_vert->load(entry.VertPx ? Unit::Pixels : Unit::Percent, entry.VertValue);
    m_width->load(entry.WidthPx ? Unit::Pixels : Unit::Percent, entry.WidthValue);
    m_height->load(entry.HeightPx ? Unit::Pixels : Unit::Percent, entry.HeightValue);
    // Set both ways: a box left checked by the previous entry would make the next Apply maximize by mistake.
    MaximizedChk->setChecked(entry.Maximized);
    Updating = false;
}

void TMainWnd::StoreControls(cParameters &entry) const
{
    entry.ScreenIndex = MonitorCbo->currentIndex();
    entry.HorzIndex = HorzCbo->currentIndex();
    entry.HorzPx = m_horz->unit() == Unit::Pixels;
    entry.HorzValue = m_horz->value();
    entry.VertIndex = VertCbo->currentIndex();
    entry.VertPx = m_vert->unit() == Unit::Pixels;
    entry.VertValue = m_vert->value();
    entry.WidthPx = m_width->unit() == Unit::Pixels;
    entry.WidthValue = m_width->value();
    entry.HeightPx = m_height->unit() == Unit::Pixels;
    entry.HeightValue = m_height->value();
    entry.Maximized = MaximizedChk->isChecked();
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
