// Picture control with a hand cursor and a click signal.
#include "clickimage.h"

#include <QMouseEvent>

TClickImage::TClickImage(QWidget *parent)
    : QLabel(parent)
{ }

void TClickImage::enterEvent(QEnterEvent *event)
{
    if (isEnabled()) {
        setCursor(Qt::PointingHandCursor);
    }
    QLabel::enterEvent(event);
}

void TClickImage::leaveEvent(QEvent *event)
{
    if (isEnabled()) {
        unsetCursor();
    }
    QLabel::leaveEvent(event);
}

void TClickImage::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
    QLabel::mouseReleaseEvent(event);
}
