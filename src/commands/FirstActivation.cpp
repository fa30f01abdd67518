#include "commands/FirstActivation.h"

#include "locale/FirstRun.h"
#include "locale/Messages.h"

namespace korv {

bool runFirstActivation(const FirstActivationSteps &steps)
{
    if (FirstRunDone())
        return false;
    if (steps.showShortcutTable)
        steps.showShortcutTable();
    if (CurrentLanguage() == QLatin1String("Turkish") && steps.startHelpTour)
        steps.startHelpTour();
    WriteFirstRunDone();
    return true;
}

} // namespace korv
