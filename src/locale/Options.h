#pragma once
// The options of the options window: five on/off flags and a number of
// seconds, stored as "check1IND0" to "check1IND4" ("0" or "1") and "text1".
//
// A flag is stored the moment it changes; the seconds only when the window
// closes, and only when they are a number.

#include <QString>

#include <array>

namespace korv {

inline constexpr int kOptionCount = 5;

// The five options, by their index in the window and in the stored names.
enum class Option {
    ListFollowsFilm = 0,   // the subtitle list follows the film
    PauseAfterCapture = 1, // keys 4, 5 and 6 pause the film after a capture
    EndAfterStart = 2,     // key 4 also writes an end some seconds later
    NewRowAfterEnd = 3,    // key 6 adds and chooses a new row after the end
    KeyFiveOnlyPauses = 4, // key 5 pauses, key 2 only plays
};
inline const QString kDefaultOptionSeconds = QStringLiteral("2");

// "check1IND" followed by the index.
QString optionValueName(int index);

struct StoredOptions {
    std::array<bool, kOptionCount> flags{};
    QString seconds = kDefaultOptionSeconds;
};

// What the window shows when it loads. A flag is on only when stored as 1;
// anything else (absent, "0", "x") leaves it off. Seconds absent or empty
// read as "2".
StoredOptions loadStoredOptions();

// Check1_Click: stores a flag's new state.
void storeOptionFlag(int index, bool on);

// CmdKapat_Click's store, once the window has found the seconds a number.
void storeOptionSeconds(const QString &seconds);

// Laying times on the voice: keypad captures snapped to the nearest speech
// edge (on unless turned off), and the rules the snap-rows command keeps.
// Stored as "sesOturt" ("0" or "1", the moment it changes), "sesAraKare"
// and "sesEnKisa" (when the window closes); absent or unreadable values give
// the defaults.
struct VoiceOptions {
    bool snapCaptures = true;
    int minGapFrames = 2;      // of the film's rate
    double minDuration = 0.7;  // seconds
    bool operator==(const VoiceOptions &) const = default;
};
VoiceOptions loadVoiceOptions();
void storeVoiceSnap(bool on);
void storeVoiceLimits(int minGapFrames, double minDuration);

} // namespace korv
