#pragma once

#include <QObject>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace lumetra::front {

// SIGTERM and SIGINT as an event of the event loop: the handler only writes
// a byte into a pipe, the loop wakes for it (and for nothing else: no
// polling timer) and runs `onQuit` on its own thread.
class QuitSignal : public QObject {
  public:
    explicit QuitSignal(std::function<void()> onQuit);
    ~QuitSignal() override;

  private:
    std::function<void()> onQuit_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace lumetra::front
