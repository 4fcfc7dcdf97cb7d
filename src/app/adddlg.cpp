// The entry dialog's controls, enabling rules and the check on confirming.
#include "adddlg.h"

#include "formcontrols.h"
#include "messageboxes.h"
#include "uifont.h"

#include "entries/cparameters.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int kClientWidth = 604;
constexpr int kClientHeight = 123;

} // namespace

TAddDlg::TAddDlg(QWidget *parent, const QStringList &titles, const QString &caption, MessageBoxes *messageBoxes,
    std::function<std::optional<QString>(const QString &)> descriptionProblem)
    : QDialog(parent,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint)
    , m_messageBoxes(messageBoxes)
    , m_descriptionProblem(std::move(descriptionProblem))
{
    setObjectName(QStringLiteral("AddDlg"));
    setFont(interfaceFont());
    setFixedSize(kClientWidth, kClientHeight);
    setWindowTitle(caption);
    createControls(titles);
    connect(DescriptionEdt, &QLineEdit::textChanged, this, &TAddDlg::DescriptionEdtChange);
    connect(TitleChk, &QCheckBox::toggled, this, &TAddDlg::TitleChkClick);
    connect(OkBtn, &QPushButton::clicked, this, &TAddDlg::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &TAddDlg::reject);
    DescriptionEdt->setFocus();
}

void TAddDlg::createControls(const QStringList &titles)
{
    DescriptionLbl = place(new QLabel(QStringLiteral("Description"), this), "DescriptionLbl", 16, 16, 128, 13);
    DescriptionEdt = place(new QLineEdit(this), "DescriptionEdt", 144, 13, 312, 21);
    TitleChk = place(new QCheckBox(QStringLiteral("Save title"), this), "TitleChk", 16, 48, 128, 17);
    TitleCbo = place(new QComboBox(this), "TitleCbo", 144, 47, 312, 21);
    TitleCbo->setEditable(true);
    TitleCbo->setInsertPolicy(QComboBox::NoInsert);
    TitleCbo->addItems(titles);
    TitleCbo->setCurrentIndex(-1);
    TitleCbo->setEditText(QString());
    TitleCbo->setEnabled(false);
    RegexChk = place(new QCheckBox(QStringLiteral("Regular expressions"), this), "RegexChk", 468, 48, 120, 17);
    RegexChk->setEnabled(false);
    OkBtn = place(new QPushButton(QStringLiteral("OK"), this), "OkBtn", 224, 84, 75, 25);
    OkBtn->setDefault(true);
    OkBtn->setEnabled(false);
    CancelBtn = place(new QPushButton(QStringLiteral("Cancel"), this), "CancelBtn", 304, 84, 75, 25);
}

void TAddDlg::fillFrom(const cParameters &entry)
{
    DescriptionEdt->setText(entry.Description);
    TitleChk->setChecked(!entry.Title.isEmpty());
    TitleCbo->setEditText(entry.Title);
    RegexChk->setChecked(entry.Regex);
}

QString TAddDlg::description() const
{
    return DescriptionEdt->text();
}

QString TAddDlg::title() const
{
    return TitleChk->isChecked() ? TitleCbo->currentText() : QString();
}

bool TAddDlg::regex() const
{
    return RegexChk->isChecked();
}

void TAddDlg::DescriptionEdtChange()
{
    OkBtn->setEnabled(!DescriptionEdt->text().isEmpty());
}

void TAddDlg::TitleChkClick()
{
    TitleCbo->setEnabled(TitleChk->isChecked());
    RegexChk->setEnabled(TitleChk->isChecked());
}

void TAddDlg::accept()
{
    if (DescriptionEdt->text().isEmpty()) {
        return;
    }
    if (const auto problem = m_descriptionProblem(DescriptionEdt->text())) {
        m_messageBoxes->error(this, *problem);
        return;
    }
    QDialog::accept();
}
