#pragma once

#include <QLatin1String>
#include <QWidget>
#include <utility>

#include "platform/qt_twips.h"

namespace platform {

// A fixed dialog border with a title and a close box alone: no minimise or maximise buttons.
inline constexpr Qt::WindowFlags kFixedDialogFlags = Qt::Dialog | Qt::CustomizeWindowHint
                                                     | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                                                     | Qt::MSWindowsFixedSizeDialogHint;

// A paged dialog shows one page and keeps every other page at this left, off the dialog.
inline constexpr int kOffDialogLeft = -20000;

// The forms' places were made for an 8-point dialog font: the platform's own family at that
// size keeps their proportions.
void UseDialogFont(QWidget* form, double points = 8);

// A new control of the container, named as the program names it and at its design place, grown
// where its caption needs more room.
template <typename Control, typename... Arguments>
Control* AddControl(QWidget* container, const char* name, const Twips& place, Arguments&&... arguments)
{
    auto* control = new Control(std::forward<Arguments>(arguments)..., container);
    control->setObjectName(QLatin1String(name));
    PlaceControl(control, place);
    return control;
}

}  // namespace platform
