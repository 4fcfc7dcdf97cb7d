// A mock dialog drawn from loaded skin objects, for judging the skin on its contact sheet.
#pragma once

#include <QImage>
#include <QSize>

#include "skin/model/skinobjects.h"

QImage drawControlPreview(const SkinObjects &skin, const QSize &size);
