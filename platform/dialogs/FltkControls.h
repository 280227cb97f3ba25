// FLTK widgets, colours and fonts from a window layout's control table.
#ifndef RTD_PLATFORM_DIALOGS_FLTKCONTROLS_H
#define RTD_PLATFORM_DIALOGS_FLTKCONTROLS_H

#include <FL/Enumerations.H>
#include <FL/Fl_Widget.H>

#include "WindowLayout.h"

namespace rtd {

Fl_Color ToFltk(uint32_t rgb);
uint32_t FromFltk(Fl_Color colour);
// The FLTK font for a face (registered on first use) and the style of a widget's label.
Fl_Font FltkFont(const FontStyle& font);
void ApplyFont(Fl_Widget& widget, const FontStyle& font);

// The control's widget in the group being built, with its font and colours; a control
// that is no tab stop takes no keyboard focus. The caller sets the callback.
Fl_Widget* BuildWidget(const ControlRow& control);

// A left-button click in the middle of the widget, through FLTK's own event dispatch as
// the X server would deliver it: a hidden or inactive widget takes none, and a modal
// window keeps the others from input. For tests.
void ClickWidget(Fl_Widget& widget);

} // namespace rtd

#endif
