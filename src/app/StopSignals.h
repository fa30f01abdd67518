#pragma once
// SIGTERM and SIGHUP (a logout, a system going down, a `kill`) end the
// editor the way closing it does, not in the middle of whatever it was doing:
// the handler only writes the signal's number to a pipe, and the window's
// thread hears of it through the event loop.

#include <QObject>

#include <csignal>

class QSocketNotifier;

namespace korv {

class StopSignals : public QObject {
    Q_OBJECT
public:
    // Takes SIGTERM and SIGHUP over; one object at a time.
    explicit StopSignals(QObject *parent = nullptr);
    // Gives them back to what handled them before.
    ~StopSignals() override;
    StopSignals(const StopSignals &) = delete;
    StopSignals &operator=(const StopSignals &) = delete;

signals:
    void stopRequested(int signalNumber);

private:
    void readPipe();

    int pipe_[2] = {-1, -1};
    QSocketNotifier *notifier_ = nullptr;
    struct sigaction previousTerm_ {};
    struct sigaction previousHup_ {};
};

} // namespace korv
