#pragma once
// The main window's tab captions and button labels measured against its designed
// width, with a smaller font where the machine's font is wider than the designed one.
#include <QFont>

class QTabWidget;

namespace valmerin {

class ButtonBar;

// Sets the largest font, from the catalogue's own size down, at which the five
// tabs stand in one row without scroll buttons and every button label shows whole
// when the tab widget and the button bar are `width` pixels wide.
QFont FitCaptions(QTabWidget* tabs, ButtonBar* bar, int width);

// Whether the tabs and labels show whole at the widgets' current fonts and `width`.
bool CaptionsFit(QTabWidget* tabs, ButtonBar* bar, int width);

}  // namespace valmerin
