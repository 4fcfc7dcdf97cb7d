// A picture control that shows the hand pointer while the mouse is over it (when enabled) and reports clicks.
#pragma once

#include <QLabel>

class TClickImage : public QLabel
{
    Q_OBJECT

public:
    explicit TClickImage(QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};
