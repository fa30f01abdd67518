#include "sound/MonoBlock.h"
