#pragma once
// Town rules in the data kit: English catalogue texts of the name keys, and fuzz seeds.
#include <map>
#include <string>

namespace vorn1::kit {

// Texts of the town, hero, building, creature-plural and spell name keys.
std::map<std::string, std::string> town_english_strings();

// Seeds of the town-rules fuzz target, written into OUT_DIR/town_rules/.
void write_town_seeds(const std::string& out_dir);

}  // namespace vorn1::kit
