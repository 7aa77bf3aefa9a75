#pragma once
// Level-ups waiting to be shown. The rules append records; the dialog shows and removes them in order.
#include <array>
#include <cstdint>
#include <deque>
#include <string>

namespace vorn1 {

struct LevelUpEvent {
    int32_t hero = -1;                 // index in the game state's hero list
    int32_t levels_gained = 0;         // 1 or more
    int32_t new_level = 0;
    std::array<int32_t, 4> gains{};    // attack, defense, spell power, knowledge
    std::string name;
    uint8_t portrait = 0;
};

class LevelUpSystem {
public:
    // Producers append at the back; only the dialog's close removes, from the front.
    std::deque<LevelUpEvent> queue;
};

}  // namespace vorn1
