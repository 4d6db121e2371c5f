#pragma once
// The options window: a view of the options model, shown modeless, hidden by OK
// and by its own close button so that no control state is ever lost.
#include <QWidget>
#include <memory>

#include "options/options_model.h"

class QCloseEvent;
class QKeyEvent;
class QShowEvent;

namespace valmerin {

class ControlBindings;
class DialogService;

class Form2 : public QWidget {
  Q_OBJECT

 public:
  Form2(OptionsModel& model, DialogService& dialogs, QWidget* parent = nullptr);
  ~Form2() override;

  // Really closes the window; the title-bar close only hides it.
  void CloseForExit();

 signals:
  // OK was pressed and what it had to write was written.
  void confirmed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void Confirm();

  OptionsModel& model_;
  DialogService& dialogs_;
  std::unique_ptr<ControlBindings> bindings_;
  bool exiting_ = false;
  bool placed_ = false;
};

}  // namespace valmerin
