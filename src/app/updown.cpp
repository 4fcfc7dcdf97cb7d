// Up-down control with a buddy edit.
#include "updown.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>
#include <limits>

namespace {

constexpr int kInt16Min = std::numeric_limits<qint16>::min();
constexpr int kInt16Max = std::numeric_limits<qint16>::max();
constexpr int kRepeatDelayMs = 400;
constexpr int kRepeatIntervalMs = 60;

QToolButton *arrowButton(Qt::ArrowType arrow, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setAutoRepeatDelay(kRepeatDelayMs);
    button->setAutoRepeatInterval(kRepeatIntervalMs);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

UpDown::UpDown(QWidget *parent)
    : QWidget(parent)
    , m_up(arrowButton(Qt::UpArrow, this))
    , m_down(arrowButton(Qt::DownArrow, this))
{
    connect(m_up, &QToolButton::clicked, this, [this] { stepBy(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { stepBy(-1); });
}

void UpDown::setBuddy(QLineEdit *buddy)
{
    if (m_buddy != nullptr) {
        m_buddy->removeEventFilter(this);
    }
    m_buddy = buddy;
    if (m_buddy != nullptr) {
        m_buddy->installEventFilter(this);
    }
}

void UpDown::setRange(int minimum, int maximum)
{
    m_minimum = std::clamp(minimum, kInt16Min, kInt16Max);
    m_maximum = std::clamp(maximum, m_minimum, kInt16Max);
    m_position = std::clamp(m_position, m_minimum, m_maximum);
}

void UpDown::setPosition(int position)
{
    takePosition(position);
    if (m_buddy != nullptr) {
        m_buddy->setText(QString::number(m_position));
    }
}

void UpDown::takePosition(int position)
{
    m_position = std::clamp(position, m_minimum, m_maximum);
}

void UpDown::stepBy(int steps)
{
    const int next = std::clamp(m_position + steps, m_minimum, m_maximum);
    if (next != m_position) {
        setPosition(next);
    }
}

bool UpDown::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_buddy && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            stepBy(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void UpDown::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int upHeight = height() / 2;
    m_up->setGeometry(0, 0, width(), upHeight);
    m_down->setGeometry(0, upHeight, width(), height() - upHeight);
}
