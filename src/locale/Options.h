#pragma once
// The options of the options window: five on/off flags and a number of
// seconds, stored as "check1IND0" to "check1IND4" ("0" or "1") and "text1".
//
// A flag is stored the moment it changes; the seconds only when the window
// closes, and only when they are a number.

#include "dialogs/UserDialogs.h"

#include <QString>

#include <array>

namespace korv {

inline constexpr int kOptionCount = 5;
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

// CmdKapat_Click's check: stores the seconds and returns true when they are
// a number in the user's number format; otherwise shows message "014" and
// returns false (the window stays open and nothing is stored).
bool storeOptionSeconds(const QString &seconds, UserDialogs &ui);

} // namespace korv
