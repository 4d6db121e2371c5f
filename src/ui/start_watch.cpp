#include "ui/start_watch.h"

#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "ui/dialog_service.h"

namespace valmerin {
namespace {

// Long enough for a missing library, a bad switch or a missing wine32 to show;
// an emulator still running after that is running.
constexpr int kWatchMilliseconds = 5000;
constexpr int kPollMilliseconds = 200;
// After that, only its end matters (the game's files go back then).
constexpr int kLongPollMilliseconds = 1000;
constexpr int kLinesShown = 8;

}  // namespace

void WatchStart(QWidget* window, DialogService& dialogs, const std::string& commandLine,
                const std::string& notice, std::shared_ptr<ChildWatch> watch,
                std::function<void()> ended) {
  if (!notice.empty()) dialogs.Message(window, QString::fromStdString(notice));
  if (!watch) return;
  auto* timer = new QTimer(window);
  timer->setInterval(kPollMilliseconds);
  std::shared_ptr<ChildWatch> shared = std::move(watch);
  auto polls = std::make_shared<int>(0);
  QPointer<QWidget> parent(window);
  QObject::connect(timer, &QTimer::timeout, timer, [=, &dialogs] {
    const std::optional<ChildWatch::Ended> end = shared->Poll();
    const bool early = ++*polls * kPollMilliseconds < kWatchMilliseconds;
    if (!end && early) return;
    if (!end && ended) {
      timer->setInterval(kLongPollMilliseconds);
      return;
    }
    timer->stop();
    timer->deleteLater();
    if (end && early && end->failed) {
      dialogs.Message(parent, QString::fromStdString(EndedAtOnceMessage(
                                  commandLine, *end, shared->LastLines(kLinesShown))));
    }
    if (end && ended) ended();
  });
  timer->start();
}

}  // namespace valmerin
