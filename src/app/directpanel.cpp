// The Direct group's controls and the windows its titles stand for.
#include "directpanel.h"

#include "formcontrols.h"
#include "printabletextdelegate.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace {

constexpr int kWindowIdRole = Qt::UserRole;

platform::WindowId windowOf(const QListWidgetItem *item)
{
    return item->data(kWindowIdRole).value<platform::WindowId>();
}

} // namespace

DirectPanel::DirectPanel(QWidget *window)
    : QObject(window)
{
    DirectGrp = group(window, "DirectGrp", 176, 120, 586, 134);
    TitleLbl = label(DirectGrp, "TitleLbl", 12, 20, 456, 13);
    TitleLst = inGroup(place(new QListWidget(DirectGrp), "TitleLst", 12, 36, 456, 85));
    TitleLst->setSelectionMode(QAbstractItemView::ExtendedSelection);
    TitleLst->setItemDelegate(new PrintableTextDelegate(TitleLst));
    RefreshBtn = button(DirectGrp, "RefreshBtn", 478, 36, 96, 25);
    ReadBtn = button(DirectGrp, "ReadBtn", 478, 66, 96, 25);
    Apply1Btn = button(DirectGrp, "Apply1Btn", 478, 96, 96, 25);
    ReadBtn->setEnabled(false);
    Apply1Btn->setEnabled(false);

    connect(TitleLst, &QListWidget::itemSelectionChanged, this, &DirectPanel::titleSelectionChanged);
    connect(TitleLst, &QListWidget::itemDoubleClicked, this, &DirectPanel::applyClicked);
    connect(RefreshBtn, &QPushButton::clicked, this, &DirectPanel::refreshClicked);
    connect(ReadBtn, &QPushButton::clicked, this, &DirectPanel::readClicked);
    connect(Apply1Btn, &QPushButton::clicked, this, &DirectPanel::applyClicked);
}

void DirectPanel::assignCaptions()
{
    DirectGrp->setTitle(QStringLiteral(" Direct "));
    TitleLbl->setText(QStringLiteral("Select one or more window titles:"));
    RefreshBtn->setText(QStringLiteral("Refresh list"));
    ReadBtn->setText(QStringLiteral("Read window"));
    Apply1Btn->setText(QStringLiteral("Apply"));
}

void DirectPanel::addTitle(const platform::TopLevelWindow &window)
{
    auto *item = new QListWidgetItem(window.title, TitleLst);
    item->setData(kWindowIdRole, QVariant::fromValue(window.id));
}

void DirectPanel::clearTitles()
{
    const QSignalBlocker blocker(TitleLst);
    TitleLst->clear();
}

std::vector<platform::TopLevelWindow> DirectPanel::chosenWindows() const
{
    std::vector<platform::TopLevelWindow> chosen;
    for (int i = 0; i < TitleLst->count(); ++i) {
        const QListWidgetItem *item = TitleLst->item(i);
        if (item->isSelected()) {
            chosen.push_back({windowOf(item), item->text(), true, false});
        }
    }
    return chosen;
}

std::optional<platform::WindowId> DirectPanel::currentWindow() const
{
    const QListWidgetItem *current = TitleLst->currentItem();
    return current ? std::optional(windowOf(current)) : std::nullopt;
}

void DirectPanel::enableCommands()
{
    const qsizetype n = TitleLst->selectedItems().size();
    ReadBtn->setEnabled(n == 1);
    Apply1Btn->setEnabled(n > 0);
}
