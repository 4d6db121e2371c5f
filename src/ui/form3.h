#pragma once
// Form3, the print dialog: all four lists or one emulator's, the printer's
// properties, and the print button. Modeless; hiding keeps it, closing it from the
// title bar discards it.
#include <QWidget>
#include <optional>

#include "catalogue/main_window_state.h"
#include "ui/dialog_service.h"

class QComboBox;
class QPrinter;
class QPushButton;
class QRadioButton;

namespace valmerin {

class Form3 : public QWidget {
  Q_OBJECT
 public:
  Form3(const MainWindowState& state, QPrinter& printer, DialogService& dialogs,
        QWidget* parent = nullptr);

  // "Stampa >": hides the dialog, then prints the chosen lists; with no printer
  // installed, offers to write them to a PDF file instead.
  void Print();

  // The emulator named by the combo text, letter case aside; nullopt for any
  // other text.
  static std::optional<Emulator> EmulatorNamed(const QString& text);

 private:
  const MainWindowState& state_;
  QPrinter& printer_;
  DialogService& dialogs_;
  QRadioButton* all_;
  QRadioButton* one_;
  QComboBox* choice_;
  QString pdfPath_;  // the PDF file last written, proposed again
};

}  // namespace valmerin
