#pragma once
// Keeps the options window's widgets and the options model in step: one binder
// per widget kind, each control found by its name.
#include <QObject>

#include "options/options_model.h"

class QWidget;

namespace valmerin {

class ControlBindings : public QObject {
  Q_OBJECT

 public:
  // Binds every control of the model that has a widget of that name under `root`
  // and shows the model's current state in it.
  ControlBindings(OptionsModel& model, QWidget* root);

  // Shows the model's state of one control in its widget (the model's listener).
  void Refresh(ControlId id);
  void RefreshAll();

 private:
  OptionsModel& model_;
  QWidget* root_;
};

}  // namespace valmerin
