#pragma once
// English catalogue texts of the town, hero, building, creature-plural and spell name keys.
#include <map>
#include <string>

namespace vorn1::kit {

std::map<std::string, std::string> town_english_strings();

}  // namespace vorn1::kit
