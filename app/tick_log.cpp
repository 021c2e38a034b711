// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tick_log.h"

#include <QEvent>
#include <QTimer>
#include <QTimerEvent>
#include <QWidget>
#include <QWindow>

#include <chrono>
#include <cinttypes>
#include <cstdint>
#include <cstdio>

namespace ostrel {
namespace {

std::int64_t Now() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// Watches the timer and the window.  An event of interest is handed on to
// its receiver from inside the filter, so that the time after it has been
// handled is known too; the filter then swallows it.
class TickLog : public QObject {
public:
  TickLog(std::FILE *file, QWidget &window, QTimer &timer)
      : QObject(&window), file_(file), window_(&window), timer_(&timer) {}
  ~TickLog() override { std::fclose(file_); }

  bool eventFilter(QObject *watched, QEvent *event) override {
    if (watched == timer_ && event->type() == QEvent::Timer &&
        static_cast<QTimerEvent *>(event)->timerId() == timer_->timerId()) {
      WriteTick(-1); // the previous tick painted nothing
      const std::int64_t start = Now();
      static_cast<QObject *>(timer_)->event(event);
      tickStart_ = start;
      handler_ = Now() - start;
      return true;
    }
    if (IsPainting(watched, event)) {
      watched->event(event);
      const std::int64_t end = Now();
      // An update request before the native window is exposed draws
      // nothing on the screen; the first painting is the first one seen.
      if (!firstPaintWritten_ && window_->windowHandle()->isExposed()) {
        std::fprintf(file_, "first-paint %" PRId64 "\n", end);
        std::fflush(file_);
        firstPaintWritten_ = true;
      }
      WriteTick(end - tickStart_);
      return true;
    }
    return false;
  }

private:
  // The widget window draws its backing store and flushes it to the screen
  // on an expose of its native window (the first showing among them) and on
  // the update request that collects the widgets' update() calls.
  bool IsPainting(QObject *watched, QEvent *event) const {
    if (watched == window_)
      return event->type() == QEvent::UpdateRequest;
    if (watched == window_->windowHandle())
      return event->type() == QEvent::Expose || event->type() == QEvent::UpdateRequest;
    return false;
  }

  void WriteTick(std::int64_t painted) {
    if (tickStart_ < 0)
      return;
    std::fprintf(file_, "tick %" PRId64 " %" PRId64 " %" PRId64 "\n", tickStart_, handler_,
                 painted);
    std::fflush(file_);
    tickStart_ = -1;
  }

  std::FILE *file_;
  QWidget *window_;
  QTimer *timer_;
  std::int64_t tickStart_ = -1;
  std::int64_t handler_ = 0;
  bool firstPaintWritten_ = false;
};

} // namespace

void InstallTickLog(QWidget &window, const char *timerName) {
  const QByteArray path = qgetenv("OSTREL_TICK_LOG");
  if (path.isEmpty())
    return;
  auto *timer = window.findChild<QTimer *>(QString::fromUtf8(timerName));
  if (!timer) {
    std::fprintf(stderr, "OSTREL_TICK_LOG: no timer %s\n", timerName);
    return;
  }
  std::FILE *file = std::fopen(path.constData(), "w");
  if (!file) {
    std::perror(path.constData());
    return;
  }
  auto *log = new TickLog(file, window, *timer);
  timer->installEventFilter(log);
  window.installEventFilter(log);
  if (QWindow *native = window.windowHandle())
    native->installEventFilter(log);
}

} // namespace ostrel
