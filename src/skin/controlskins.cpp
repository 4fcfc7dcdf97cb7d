// skinWindowControls, unskinWindowControls: which window is skinned by which skin.
#include "controlskins.h"

#include <QPointer>
#include <QVariant>
#include <QWidget>

#include "skindata.h"

namespace {
constexpr char kSkinDataProperty[] = "framewrightSkinData";
}

void skinWindowControls(QWidget *window, TSkinData *skinData)
{
    if (!window || !skinData) {
        return;
    }
    window->setProperty(kSkinDataProperty, QVariant::fromValue<QObject *>(skinData));
}

void unskinWindowControls(QWidget *window)
{
    if (!window) {
        return;
    }
    window->setProperty(kSkinDataProperty, QVariant());
}
