#pragma once
// English catalogue texts of the recruit, troop, army view, level-up, trading-post and
// hire-a-hero dialogs, the town screen and the build screen.
#include <map>
#include <string>

namespace vorn1::kit {

std::map<std::string, std::string> dialogs7_english_strings();

}  // namespace vorn1::kit
