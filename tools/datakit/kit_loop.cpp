#include "datakit/kit_loop.h"

namespace vorn1::kit {

const StringMap& loop_english_strings() {
    static const StringMap texts{
        {"GAME_END_TURN_CONFIRM", "One or more heroes may still move. Are you sure you want to end your turn?"},
        {"CP_CONFIRM_QUIT", "Are you sure you want to quit?"},
        {"CP_CONFIRM_RESTART", "Are you sure you want to start a new game?"},
        {"CP_CONFIRM_LOAD", "Are you sure you want to load a saved game?"},
        {"CP_CONFIRM_LOST", "(Your current game will be lost.)"},
        {"SAVE_GAME_SUCCESS", "Game saved successfully."},
        {"GAME_SAVE_FAILED", "The game could not be saved."},
        {"GAME_AUTOSAVE_FAILED", "The autosave could not be written."},
        {"GAME_LOAD_FAILED", "The saved game could not be loaded."},
        {"GAME_MAP_LOAD_FAILED", "The map could not be loaded."},
        {"GAME_MAP_MISSING_NO_GOAL",
         "The map of this saved game is missing, and with it your goal: this game can no longer be won."},
        {"GAME_NO_GOAL_LEFT", "No player in this game can still meet its goal: this game can no longer be won."},
        {"GAME_MAP_MISSING_GOAL", "The map of this saved game is missing. Your goal is now to defeat every rival."},
        {"GAME_MAP_MISSING",
         "The map of this saved game is missing. The game goes on with the saved land; your goal stays as it was."},
        {"GAME_CAST_ADVENTURE_SPELL", "Cast which spell?"},
        {"GAME_NO_ADVENTURE_SPELLS", "Your hero knows no spell that can be cast here."},
        {"GAME_CANNOT_CAST", "The spell cannot be cast now."},
        {"ASTRO_PLAGUE", "A plague strikes the land! Every dwelling loses half of its creatures."},
        {"ASTRO_WEEK_CREATURE", "Astrologers proclaim the week of the {0}! The {1} grow faster in every dwelling."},
        {"ASTRO_MONTH_CREATURE", "Astrologers proclaim the month of the {0}! The {1} roam the land in numbers."},
        {"ASTRO_AMBIENT_WEEK", "Astrologers proclaim the week of the {0}."},
        {"ASTRO_AMBIENT_MONTH", "Astrologers proclaim the month of the {0}."},
    };
    return texts;
}

}  // namespace vorn1::kit
