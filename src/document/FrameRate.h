#pragma once
// Frame rates: the open film's (from its AVI headers) and the one the user
// last confirmed for MicroDVD files.

#include <QString>
#include <QStringList>

#include <optional>

namespace korv {

struct FrameRates {
    // The film in the preview: stream rate / scale; 0 with no AVI film.
    double film = 0;
    // Confirmed in the frame-rate window; 0 until the first confirmation.
    double microDvd = 0;
};

FrameRates &frameRates();

// The choices of the frame-rate window, in the user's number format.
QStringList frameRateChoices();

// What the frame-rate window proposes: the film's rate, or 25 without one.
QString frameRateProposal(double filmFrameRate);

// A confirmed rate: a number above zero (a rate of 0 would write every frame
// as 0 and could not read any).
std::optional<double> readFrameRate(const QString &text);

} // namespace korv
