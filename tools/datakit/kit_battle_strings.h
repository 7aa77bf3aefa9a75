#pragma once
// English catalogue texts of the battle's status lines and the morale and luck labels.
#include <map>
#include <string>

namespace vorn1::kit {

std::map<std::string, std::string> battle_english_strings();

}  // namespace vorn1::kit
