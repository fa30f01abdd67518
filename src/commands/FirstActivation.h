#pragma once
// The first run's last steps, taken at the main window's first activation:
// the shortcut table, then (in Turkish) the help tour, then set.cfg records
// that the first run is done. Later runs skip them.

#include <functional>

namespace korv {

class Language;

struct FirstActivationSteps {
    std::function<void()> showShortcutTable; // modal; returns when closed
    std::function<void()> startHelpTour;     // returns when the tour is over
};

// True when the first-run steps ran now.
bool runFirstActivation(const Language &language, const FirstActivationSteps &steps);

} // namespace korv
