#pragma once
// Demo art of the town, set-up, map list and control panel screens, made in the sizes, frame counts and
// sprite offsets those screens lay themselves out by, so the demo data looks as real data would.
#include <string>

#include "datakit/datakit.h"

namespace vorn1::kit {

// The bytes of one such entry (name upper case); null when the entry keeps its plain labelled art.
const Bytes* screen_art_bytes(const std::string& name);

// A panel picture: the set's colour with an outline and its name in small letters at the bottom left,
// where no screen draws text over it.
Bytes panel_bmp(const std::string& name, int w, int h);

}  // namespace vorn1::kit
