#pragma once
// The game copy's progress: a dialog with "Annulla" once a copy lasts more than
// half a second, and the window kept alive meanwhile (input goes only to the
// dialog; closing the main window stops the copy).
#include <QString>
#include <memory>

#include "platform/file_io.h"

class QProgressDialog;
class QWidget;

namespace valmerin {

// What the dialog says: the copy of a bare game, or the game taken out of the
// archive it is listed as (`inside` empty for a bare game).
QString CopyProgressText(const QString& game, const QString& inside);

class CopyProgressDialog {
 public:
  CopyProgressDialog(QWidget* parent, const QString& text);
  ~CopyProgressDialog();
  CopyProgressDialog(const CopyProgressDialog&) = delete;
  CopyProgressDialog& operator=(const CopyProgressDialog&) = delete;

  // For the core's copy; false once the user cancelled or `Stop` was called.
  CopyProgress Callback();
  // The window is closing: the copy stops at its next step.
  void Stop() { stopped_ = true; }

 private:
  class InputGuard;
  std::unique_ptr<QProgressDialog> dialog_;
  std::unique_ptr<InputGuard> guard_;
  bool stopped_ = false;
};

}  // namespace valmerin
