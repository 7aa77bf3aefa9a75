#pragma once
// English texts of the score, high-score, save and load screens, and the high-score file seeds.
#include <string>

#include "datakit/kit_lang.h"

namespace vorn1::kit {

const StringMap& scores_english_strings();

// Seed inputs of the high-score reader's fuzz target: OUT/highscore/*. Throws on failure.
void write_highscore_seeds(const std::string& out_dir);

}  // namespace vorn1::kit
