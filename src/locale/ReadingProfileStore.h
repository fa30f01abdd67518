#pragma once
// The reading limits of the options window, stored with the other settings:
// "cps", "linelength", "lines", "minduration", "maxduration", "gapframes"
// and "gapms", as numbers written with ".". A value absent or no number
// reads as the default.

#include "document/ReadingProfile.h"

namespace korv {

ReadingProfile loadReadingProfile();
void storeReadingProfile(const ReadingProfile &profile);

} // namespace korv
