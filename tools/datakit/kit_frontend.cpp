#include "datakit/kit_frontend.h"

#include <algorithm>

#include "frontend/campaign_data.h"

namespace vorn1::kit {

const StringMap& frontend_english_strings() {
    static const StringMap texts{
        {"NEWGAME_EASY", "Easy"},
        {"NEWGAME_NORMAL", "Normal"},
        {"NEWGAME_HARD", "Hard"},
        {"NEWGAME_EXPERT", "Expert"},
        {"NEWGAME_TOUGH", "Tough"},
        {"NEWGAME_IMPOSSIBLE", "Impossible"},
        {"NEWGAME_SMALL", "Small"},
        {"NEWGAME_MEDIUM", "Medium"},
        {"NEWGAME_LARGE", "Large"},
        {"NEWGAME_OPP_NONE", "None"},
        {"SCEN_OPP_DUMB", "Dumb"},
        {"SCEN_OPP_AVERAGE", "Average"},
        {"SCEN_OPP_SMART", "Smart"},
        {"SCEN_OPP_GENIUS", "Genius"},
        {"NEWGAME_CHOOSE_GAME_DIFFICULTY", "Choose Game Difficulty:"},
        {"NEWGAME_CUSTOMIZE_OPPONENTS", "Customize Opponents:"},
        {"NEWGAME_CHOOSE_COLOR", "Choose Color:"},
        {"NEWGAME_KING_OF_THE_HILL_2", "King of the Hill:"},
        {"NEWGAME_FACTION", "Faction"},
        {"NEWGAME_CHOOSE_SCENARIO", "Choose Scenario:"},
        {"NEWGAME_DIFFICULTY_RATING", "Difficulty Rating: "},
        {"NEWGAME_HUMAN", "Human"},
        {"NEWGAME_CANCEL", "Cancel"},
        {"NEWGAME_ORIGINAL_CAMPAIGN", "Original Campaign"},
        {"NEWGAME_THE_SPIRIT_WORLD", "The Spirit World"},
        {"HS_OKAY", "Okay"},
        {"DIALOG_OK", "OK"},
        {"LOAD_FILE_TITLE", "Select a Scenario"},
        {"TITLE_NO_FILMS", "The films folder ANIM is missing: the game plays without its films."},
        {"TITLE_NO_SOUNDS", "The sounds folder SOUND is missing: the game plays without music."},
        {"SCEN_UNKNOWN", "Unknown"},
        {"SCEN_YES", "Yes"},
        {"SCEN_NO", "No"},
        {"SCEN_OK", "OK"},
        {"SCEN_RESTART", "Restart"},
        {"SCEN_RESTART_CONFIRM1", "Restart this scenario?"},
        {"SCEN_RESTART_CONFIRM2", "The progress of this scenario is lost."},
        {"SCEN_MAPDIFF_EASY", "Easy"},
        {"SCEN_MAPDIFF_NORMAL", "Normal"},
        {"SCEN_MAPDIFF_TOUGH", "Tough"},
        {"SCEN_MAPDIFF_IMPOSSIBLE", "Impossible"},
        {"CP_MUSIC", "Music"},
        {"CP_EFFECTS", "Effects"},
        {"CP_SPEED", "Speed"},
        {"CP_AUTOSAVE", "Autosave"},
        {"CP_SHOW_PATH", "Show Path"},
        {"CP_VIEW_ENEMY", "View Enemy"},
        {"CP_MOVEMENT", "Movement"},
        {"CP_ON", "On"},
        {"CP_OFF", "Off"},
        {"CP_VOLUME", "Vol "},
        {"CP_SPEED_WALK", "Walk"},
        {"CP_SPEED_TROT", "Trot"},
        {"CP_SPEED_CANTER", "Canter"},
        {"CP_SPEED_GALLOP", "Gallop"},
        {"CP_SPEED_JUMP", "Jump"},
        {"CP_MODERN_OPTIONS", "Optional Rules"},
        {"CP_AB_SPELLS", "Automatic combat casts spells"},
        {"CP_STACK_SPLIT", "Split stacks by dragging"},
        {"CP_ALT_HYDRA", "Alternative hydra dwelling"},
        {"CP_BUILD_STATUS", "Show what towns can build"},
        {"CP_HEX_OUTLINE", "Outline battle hexes"},
        {"CP_AB_RESOLVER", "Quick combat resolves battles"},
        {"CP_ENABLE_TRADE", "Trading post in the thieves' guild"},
        {"CP_HERO_HORSE", "Heroes on horseback in battle"},
        {"CP_BAD_LUCK", "Bad luck strikes"},
        {"CP_CATAPULT_TOWER", "Catapult and towers act in turn"},
        {"CP_CONFIRM_RESTART", "Are you sure you want to restart?"},
        {"CP_CONFIRM_QUIT", "Are you sure you want to quit?"},
        {"CP_CONFIRM_LOAD", "Are you sure you want to load a game?"},
        {"CP_CONFIRM_LOST", "The current game will be lost."},
    };
    return texts;
}

// The second campaign's titles, stories and victory texts, in the English the program falls back on.
StringMap spirit_campaign_english_strings() {
    StringMap texts;
    for (const SpiritScenario& s : k_spirit_data) {
        texts[s.title_key] = s.title;
        texts[s.intro_key] = s.intro;
        texts[s.victory_key] = s.victory;
    }
    return texts;
}

Bytes map_header_bytes(const std::string& name, const std::string& description, uint8_t size, uint8_t difficulty) {
    Bytes b(1354, 0);
    b[2] = difficulty;
    b[3] = size;
    std::copy_n(name.begin(), std::min<std::size_t>(name.size(), 16), b.begin() + 4);
    std::copy_n(description.begin(), std::min<std::size_t>(description.size(), 120), b.begin() + 154);
    return b;
}

void write_frontend_seeds(const std::string& out_dir) {
    write_seed(out_dir, "map_info", "plain.map", map_header_bytes("Alpha", "A small map.", 0, 1));
    write_seed(out_dir, "map_info", "full.map", map_header_bytes(std::string(16, 'N'), std::string(120, 'D'), 7, 9));
    Bytes short_file(40, 0x41);
    write_seed(out_dir, "map_info", "short.map", short_file);
}

}  // namespace vorn1::kit
