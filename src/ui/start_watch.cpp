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
constexpr int kLinesShown = 8;
constexpr int kEndPollMilliseconds = 1000;

}  // namespace

void WatchStart(QWidget* window, DialogService& dialogs, const std::string& commandLine,
                const std::string& notice, std::unique_ptr<ChildWatch> watch,
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
    const bool atOnce = *polls * kPollMilliseconds < kWatchMilliseconds;
    if (!end && ++*polls * kPollMilliseconds < kWatchMilliseconds) return;
    if (!end && ended) {
      timer->setInterval(kEndPollMilliseconds);
      return;
    }
    timer->stop();
    timer->deleteLater();
    if (end && end->failed && atOnce) {
      dialogs.Message(parent, QString::fromStdString(EndedAtOnceMessage(
                                  commandLine, *end, shared->LastLines(kLinesShown))));
    }
    if (end && ended) ended();
  });
  timer->start();
}

}  // namespace valmerin
