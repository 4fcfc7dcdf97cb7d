// The entry dialog: asks for a saved entry's description and, optionally, the window title it is for and whether
// that title is a regular expression. Created anew by each of the Add, Edit and Copy commands.
#pragma once

#include <QDialog>

#include <functional>
#include <optional>

class MessageBoxes;
class cParameters;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

enum class EntryDialogMode { Add = 0, Edit = 1, Copy = 2 };

class TAddDlg : public QDialog
{
    Q_OBJECT

public:
    // `titles`: the window titles offered in the title box; `caption`: the dialog's caption;
    // `descriptionProblem`: why a description cannot be confirmed, empty when it can.
    TAddDlg(QWidget *parent, const QStringList &titles, const QString &caption, MessageBoxes *messageBoxes,
        std::function<std::optional<QString>(const QString &)> descriptionProblem);

    // Shows an existing entry's description, title ("Save title" checked when it has one) and regex flag.
    void fillFrom(const cParameters &entry);

    QString description() const;
    // The title box's text when "Save title" is checked, else empty.
    QString title() const;
    bool regex() const;

    // Confirming checks the description; a refused one keeps the dialog open with its contents.
    void accept() override;

private:
    void createControls(const QStringList &titles);
    void DescriptionEdtChange();
    void TitleChkClick();

    MessageBoxes *m_messageBoxes;
    std::function<std::optional<QString>(const QString &)> m_descriptionProblem;
    QLabel *DescriptionLbl = nullptr;
    QLineEdit *DescriptionEdt = nullptr;
    QCheckBox *TitleChk = nullptr;
    QComboBox *TitleCbo = nullptr;
    QCheckBox *RegexChk = nullptr;
    QPushButton *OkBtn = nullptr;
    QPushButton *CancelBtn = nullptr;
};
