#pragma once
// The whole English catalogue of the demo data: the shared names and every area's texts.
#include "datakit/kit_lang.h"

namespace vorn1::kit {

// Adds every area's English texts to english_strings() (make_demo_data calls it before writing).
void add_game_english_strings();

}  // namespace vorn1::kit
