#include "app/Lifecycle.h"

#include "app/FirstRun.h"
#include "help/Messages.h"

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
