#pragma once
// The few button pictures the program carries itself (RGBA, top row first).
#include "assets/image.h"

namespace vorn1 {

inline constexpr int kCampButtonW = 127;
inline constexpr int kCampButtonH = 30;
inline constexpr int kRulesButtonW = 72;
inline constexpr int kRulesButtonH = 28;

// The campaign choice buttons, 127 x 30 each.
const Image& CAMP_ORIG_BTN_RGBA();
const Image& CAMP_SPIRIT_BTN_RGBA();
// The control panel's optional-rules button, 72 x 28, on a near-black ground that is keyed out.
const Image& rules_button_image();

}  // namespace vorn1
