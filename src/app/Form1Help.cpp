// Form1's wiring of the about window, the shortcut table and the help tour.
#include "app/Form1.h"

namespace korv {

void Form1::wireHelp()
{
}

} // namespace korv
