#pragma once
// Laying the document's times on the film's voice: a keypad capture moved
// to the nearest speech edge, chosen rows snapped by the same reach, and the
// whole file fitted to the film (an offset and a frame-rate change). The
// speech is the workspace's FilmSpeech; times are stored as the document
// stores them (a MicroDVD document's frames, else its hundredths or
// milliseconds), and each command is one undo step.

#include "sound/SpeechFit.h"
#include "sound/SpeechSnap.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

namespace korv {

class Workspace;

// A time as the document will store it: the time its nearest frame is read
// as for a MicroDVD document (at the rate confirmed for it, else the film's,
// else 25), hundredths or milliseconds otherwise.
sound::RoundTime storedTimeRounding(const Workspace &ws);
// The rate the least gap is counted in: the film's, else the MicroDVD
// document's, else 25.
double gapFrameRate(const Workspace &ws);

// A keypad capture at `press` seconds: with the option on and the film's
// speech known, the nearest onset (`isStart`) or offset within reach, as
// stored, with the move marked for the strip; nothing when the press stands.
std::optional<double> snapCapture(Workspace &ws, double press, bool isStart);

// The snap-rows command over `rows` (0-based, any order; empty: the selected
// row), by the options' least gap and shortest duration. One notice tells
// what moved; with no speech known, a notice and nothing else.
void snapRowsToVoice(Workspace &ws, std::vector<int> rows);

// "+3.217 s, 25 → 23.976 fps: apply?" in the current language and number format.
QString fitQuestion(const Workspace &ws, const sound::FitResult &fit);
// Every start and end t becomes fit.apply(t), stored as the document stores times.
void applyFit(Workspace &ws, const sound::FitResult &fit);

// The fit command: the rows are read on the window's thread, the fit is
// searched on a worker (the user goes on working meanwhile, a progress
// window standing with its cancel button), then the user is asked and the
// answer applied. Cancelled, it changes nothing.
class VoiceFit : public QObject {
    Q_OBJECT
public:
    explicit VoiceFit(Workspace &ws, QObject *parent = nullptr);
    // Waits for a search under way; its result is dropped.
    ~VoiceFit() override;

    void start();
    bool running() const { return running_; }
    // Stops the search under way: no question follows, nothing changes,
    // even when the search was just over.
    void cancel();

signals:
    void runningChanged(bool running);
    // The user cancelled the search; done() follows.
    void stopped();
    // The search is over and what followed it (notice, question, change) done.
    void done();

private:
    void finished(const sound::FitResult &fit);

    Workspace &ws_;
    std::thread worker_;
    bool running_ = false;
    std::atomic_bool cancel_{false};
};

} // namespace korv
