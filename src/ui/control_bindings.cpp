#include "ui/control_bindings.h"

#include <QWidget>

namespace valmerin {

ControlBindings::ControlBindings(OptionsModel& model, QWidget* root)
    : QObject(root), model_(model), root_(root) {}

void ControlBindings::Refresh(ControlId) {}

void ControlBindings::RefreshAll() {}

}  // namespace valmerin
