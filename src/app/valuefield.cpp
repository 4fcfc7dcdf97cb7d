// Normalisation and unit switching of one placement value.
#include "valuefield.h"

#include "updown.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QValidator>

// Limits how many characters the user can type, like an edit's text limit: text the program sets is not cut.
class TypingLimit : public QValidator
{
public:
    explicit TypingLimit(QObject *parent)
        : QValidator(parent)
    { }
    void setMaxChars(int maxChars) { m_maxChars = maxChars; }
    State validate(QString &input, int &) const override { return input.size() <= m_maxChars ? Acceptable : Invalid; }

private:
    int m_maxChars = 3;
};

ValueField::ValueField(QLineEdit *edit, UpDown *upDown, QRadioButton *percent, QRadioButton *pixels, QObject *parent)
    : QObject(parent)
    , m_edit(edit)
    , m_upDown(upDown)
    , m_percent(percent)
    , m_pixels(pixels)
    , m_typingLimit(new TypingLimit(edit))
{
    m_edit->setValidator(m_typingLimit);
    m_upDown->setBuddy(m_edit);
    connect(m_edit, &QLineEdit::textChanged, this, &ValueField::normalise);
    connect(m_edit, &QLineEdit::editingFinished, this, &ValueField::normalise);
    for (QRadioButton *button : {m_percent, m_pixels}) {
        connect(button, &QRadioButton::toggled, this, [this](bool on) {
            if (on) {
                emit unitSwitched();
            }
        });
    }
}

Unit ValueField::unit() const
{
    return m_pixels->isChecked() ? Unit::Pixels : Unit::Percent;
}

int ValueField::value() const
{
    return decimalOrZero(m_edit->text());
}

void ValueField::setUnit(Unit unit)
{
    (unit == Unit::Pixels ? m_pixels : m_percent)->setChecked(true);
}

void ValueField::setValue(int value)
{
    m_upDown->setPosition(value);
}

void ValueField::setPixelsCaption(const QString &caption)
{
    m_pixels->setText(caption);
}

void ValueField::normalise()
{
    m_upDown->takePosition(decimalOrZero(m_edit->text()));
    const QString canonical = QString::number(m_upDown->position());
    if (m_edit->text() != canonical) {
        m_edit->setText(canonical);
    }
}

void ValueField::switchUnit(bool updating, const std::function<int()> &referencePx)
{
    const int position = m_upDown->position();
    if (unit() == Unit::Percent) {
        installLimits(Unit::Percent);
        m_upDown->setPosition(
            updating ? clampToUnit(position, Unit::Percent) : pixelsToPercent(position, referencePx()));
        return;
    }
    installLimits(Unit::Pixels);
    if (!updating) {
        m_upDown->setPosition(percentToPixels(position, referencePx()));
    }
}

void ValueField::installLimits(Unit unit)
{
    const UnitLimits limits = unitLimits(unit);
    m_typingLimit->setMaxChars(limits.maxTypedChars);
    m_upDown->setRange(limits.minimum, limits.maximum);
}
