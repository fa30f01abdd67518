// Form1's wiring of the editing tools: line toolbar, new document, time shift, find, split.
#include "app/Form1.h"

namespace korv {

void Form1::wireEditing()
{
}

} // namespace korv
