// An up-down control: a pair of arrow buttons that steps a 16-bit signed position by 1 within its limits and
// writes the position into its buddy edit. The arrow keys in the buddy step it too. It never wraps.
#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

class UpDown : public QWidget
{
    Q_OBJECT

public:
    explicit UpDown(QWidget *parent = nullptr);

    void setBuddy(QLineEdit *buddy);

    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    // Limits are kept within the 16-bit range; the position is clamped into them.
    void setRange(int minimum, int maximum);

    int position() const { return m_position; }
    // Clamps to the limits, stores, and writes the decimal form into the buddy.
    void setPosition(int position);
    // Stores a position the buddy already shows (clamped to the limits), without writing the buddy.
    void takePosition(int position);

    void stepBy(int steps);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QToolButton *m_up;
    QToolButton *m_down;
    QLineEdit *m_buddy = nullptr;
    int m_minimum = -32000;
    int m_maximum = 32000;
    int m_position = 0;
};
