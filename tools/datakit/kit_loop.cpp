#include "datakit/kit_loop.h"

namespace vorn1::kit {

const StringMap& loop_english_strings() {
    static const StringMap texts{
        {"GAME_END_TURN_CONFIRM", "One or more heroes may still move. Are you sure you want to end your turn?"},
        {"GAME_QUIT_CONFIRM", "Are you sure you want to quit?"},
        {"ASTRO_PLAGUE", "A plague strikes the land! Every dwelling loses half of its creatures."},
        {"ASTRO_WEEK_CREATURE", "Astrologers proclaim the week of the {0}! The {1} grow faster in every dwelling."},
        {"ASTRO_MONTH_CREATURE", "Astrologers proclaim the month of the {0}! The {1} roam the land in numbers."},
        {"ASTRO_AMBIENT_WEEK", "Astrologers proclaim the week of the {0}."},
        {"ASTRO_AMBIENT_MONTH", "Astrologers proclaim the month of the {0}."},
    };
    return texts;
}

}  // namespace vorn1::kit
