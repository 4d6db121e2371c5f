// Time from program start to the main window's first complete paint, in ms, for
// the data folder it is started in. Run offscreen; prints one number.
#include <QApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <optional>

#include "catalogue/main_window_state.h"
#include "options/options_model.h"
#include "platform/freed_memory.h"
#include "ui/dialog_service.h"
#include "ui/form1.h"

namespace {

using Clock = std::chrono::steady_clock;

// Waits for the first paint of any widget of the main window, then lets that
// paint pass finish before it stops the clock.
class FirstPaintWatch : public QObject {
 public:
  explicit FirstPaintWatch(QWidget* window) : window_(window) {}
  std::optional<Clock::time_point> painted;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!seen_ && event->type() == QEvent::Paint) {
      auto* widget = qobject_cast<QWidget*>(watched);
      if (widget != nullptr && widget->window() == window_) {
        seen_ = true;
        QTimer::singleShot(0, this, [this] {
          painted = Clock::now();
          QCoreApplication::quit();
        });
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QWidget* window_;
  bool seen_ = false;
};

}  // namespace

int main(int argc, char* argv[]) {
  const auto start = Clock::now();
  valmerin::GiveLargeFreedBlocksBack();
  QApplication app(argc, argv);
  valmerin::MainWindowState state;
  valmerin::OptionsModel options;
  valmerin::QtDialogService dialogs;
  valmerin::Form1 window(state, options, dialogs);
  FirstPaintWatch watch(&window);
  app.installEventFilter(&watch);
  QTimer::singleShot(30000, &app, &QCoreApplication::quit);  // never paints: give up
  window.show();
  app.exec();
  if (!watch.painted) {
    std::fprintf(stderr, "the main window was never painted\n");
    return 1;
  }
  const std::chrono::duration<double, std::milli> elapsed = *watch.painted - start;
  std::printf("%.1f\n", elapsed.count());
  return 0;
}
