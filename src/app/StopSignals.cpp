#include "app/StopSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace korv {

namespace {

// The pipe's end the handler writes to; a plain int is all a handler may touch.
volatile sig_atomic_t writeEnd = -1;

extern "C" void onStopSignal(int number)
{
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(number);
    // A full pipe already holds a request to stop: nothing is lost.
    [[maybe_unused]] const ssize_t written = ::write(writeEnd, &byte, 1);
    errno = saved;
}

} // namespace

StopSignals::StopSignals(QObject *parent) : QObject(parent)
{
    if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
        pipe_[0] = pipe_[1] = -1;
        return; // the signals keep their usual effect
    }
    writeEnd = pipe_[1];
    notifier_ = new QSocketNotifier(pipe_[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &StopSignals::readPipe);

    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, &previousTerm_);
    ::sigaction(SIGHUP, &action, &previousHup_);
}

StopSignals::~StopSignals()
{
    if (pipe_[0] < 0)
        return;
    ::sigaction(SIGTERM, &previousTerm_, nullptr);
    ::sigaction(SIGHUP, &previousHup_, nullptr);
    writeEnd = -1;
    delete notifier_;
    ::close(pipe_[0]);
    ::close(pipe_[1]);
}

void StopSignals::readPipe()
{
    unsigned char byte = 0;
    int last = 0;
    while (::read(pipe_[0], &byte, 1) == 1)
        last = byte;
    if (last != 0)
        emit stopRequested(last);
}

} // namespace korv
