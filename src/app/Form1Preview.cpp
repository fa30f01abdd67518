// Form1's wiring of the film player, overlay, position labels, AVI information, keypad capture.
#include "app/Form1.h"

namespace korv {

void Form1::wirePreview()
{
}

} // namespace korv
