#pragma once
// English catalogue texts of the hero screen, its panels and artifact descriptions, the meeting
// window and the town's mage guild, well, thieves' guild, tavern and shipyard.
#include <map>
#include <string>

namespace vorn1::kit {

std::map<std::string, std::string> heroscreens_english_strings();

}  // namespace vorn1::kit
