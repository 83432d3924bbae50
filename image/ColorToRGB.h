// Screen colours of the host's colour numbers.
#pragma once

#include "platform/Export.h"

// The red, green and blue (0 to 255 each) of a host colour index, from the host's palette.
TOVU_PLATFORM_API void ColorToRGB(int nColor, int& nRed, int& nGreen, int& nBlue);
