#pragma once
// Battle additions to the data kit: catalogue texts and the battle rules' fuzz seeds.
#include <map>
#include <string>

namespace vorn1::kit {

// English texts of the battle's status lines and the morale and luck labels.
std::map<std::string, std::string> battle_english_strings();

// Seed inputs of the battle rules' fuzz target: OUT/battle_rules/seed*.
void write_battle_seeds(const std::string& out_dir);

}  // namespace vorn1::kit
