#pragma once
// The five tab pages of the options window: their controls, named after the
// control names of the options model, and where each one stands.
#include <QRect>
#include <QSize>

class QTabWidget;

namespace valmerin {

// Adds the pages "ZSnes", "KGen", "NESticle", "Generali", "Magic Engine" with every
// control and its caption. States are left to the bindings.
void BuildOptionsPages(QTabWidget* tabs);

// Places every control on pages of size `page`, keeping clear of `reserved` (page
// coordinates, where the OK button stands over the pages). False when something
// would not fit at the widgets' current font.
bool LayOutOptionsPages(QTabWidget* tabs, QSize page, QRect reserved);

}  // namespace valmerin
