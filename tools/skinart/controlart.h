// Controls of the shipped skin: push buttons, check boxes, radio buttons, the combo box pieces and the
// up-down buttons.
#pragma once

#include <QImage>

namespace skinart {

// 5 frames: normal, pressed, disabled, hot, focused.
QImage drawPushButton();
// 12 frames: unchecked, checked, mixed; each normal, hot, pressed, disabled.
QImage drawCheckBox();
// 8 frames: unchecked, checked; each normal, hot, pressed, disabled.
QImage drawRadioButton();
// 4 frames: normal, pressed, disabled, hot or focused.
QImage drawComboButton();
QImage drawSunkEdge();
// 5 frames: the combo arrow (normal, pressed, disabled, hot) and the size grip.
QImage drawExtraImages();

struct UpDownImages
{
    QImage buttons; // 8 frames: first arrow then second, each normal, pressed, disabled, hot
    QImage glyphs;  // 8 frames with the same layout
};
UpDownImages drawUpDown(Qt::Orientation orientation);

} // namespace skinart
