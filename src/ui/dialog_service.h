#pragma once
// Every dialog the windows open goes through here, so tests can answer them with
// scripted replies instead of a person.
#include <QString>
#include <optional>

class QWidget;
class QPrinter;

namespace valmerin {

class DialogService {
 public:
  virtual ~DialogService() = default;
  // Modal message box: caption "Valmerin", no icon, one OK button.
  virtual void Message(QWidget* parent, const QString& text) = 0;
  // Text-input box; nullopt when cancelled.
  virtual std::optional<QString> AskText(QWidget* parent, const QString& prompt,
                                         const QString& title, const QString& initial) = 0;
  // Save-file dialog starting at `lastPath`; nullopt when cancelled.
  virtual std::optional<QString> AskSavePath(QWidget* parent, const QString& lastPath) = 0;
  // The system's printer dialog on `printer`; false when cancelled.
  virtual bool SetUpPrinter(QWidget* parent, QPrinter& printer) = 0;
  // A question with "Sì" and "No"; true for "Sì". Unanswered, it is "No".
  virtual bool AskYesNo(QWidget* parent, const QString& question) {
    (void)parent;
    (void)question;
    return false;
  }
};

// The real dialogs.
class QtDialogService : public DialogService {
 public:
  void Message(QWidget* parent, const QString& text) override;
  std::optional<QString> AskText(QWidget* parent, const QString& prompt, const QString& title,
                                 const QString& initial) override;
  std::optional<QString> AskSavePath(QWidget* parent, const QString& lastPath) override;
  bool SetUpPrinter(QWidget* parent, QPrinter& printer) override;
  bool AskYesNo(QWidget* parent, const QString& question) override;
};

}  // namespace valmerin
