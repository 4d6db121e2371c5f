#pragma once
// Keeps the options window's widgets and the options model in step: one binder
// per widget kind, each control found under the window by its name.
#include <QObject>
#include <QPointer>
#include <QString>
#include <array>

#include "options/options_model.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QScrollBar;
class QWidget;

namespace valmerin {

// Why a typed text could not be stored, in Italian; empty when it can.
QString UnstorableTextReason(const QString& text);

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
  template <class Widget>
  void BindAll(QWidget* root, ControlKind kind, int count);
  void Bind(QCheckBox* box, int n);
  void Bind(QRadioButton* button, int n);
  void Bind(QLineEdit* edit, int n);
  void Bind(QComboBox* combo, int n);
  void Bind(QScrollBar* bar, int n);

  OptionsModel& model_;
  std::array<QPointer<QCheckBox>, kCheckCount + 1> checks_;
  std::array<QPointer<QRadioButton>, kOptionCount + 1> options_;
  std::array<QPointer<QLineEdit>, kTextCount + 1> texts_;
  std::array<QPointer<QComboBox>, kComboCount + 1> combos_;
  std::array<QPointer<QScrollBar>, kScrollCount + 1> scrolls_;
};

}  // namespace valmerin
