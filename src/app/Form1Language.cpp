// Form1's wiring of language files, the language menu and the options window.
#include "app/Form1.h"

namespace korv {

void Form1::wireLanguage()
{
}

} // namespace korv
