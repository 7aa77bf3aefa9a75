#include "ai/ai_records.h"

#include <cstdarg>
#include <cstdio>
#include <string>

#include "world/new_day.h"
#include "world/tile_rules.h"
#include "world/victory.h"

namespace vorn1 {

const char* ai_object_type_name(int type) {
    switch (type) {
        case AIO_REINFORCE_CASTLE: return "reinforce at castle";
        case AIO_ATTACK_CASTLE: return "attack enemy castle";
        case AIO_NEUTRAL_CASTLE: return "take neutral castle";
        case AIO_VISIT_OWN_HERO: return "visit own hero";
        case AIO_ATTACK_HERO: return "attack enemy hero";
        case AIO_MINE: return "capture mine";
        case AIO_DRAGON_CITY: return "take dragon city";
        case AIO_LIGHTHOUSE: return "capture lighthouse";
        case AIO_CHEST: return "pickup treasure chest";
        case AIO_ARTIFACT: return "pickup artifact";
        case AIO_RESOURCE: return "pickup resource pile";
        case AIO_CAMPFIRE: return "pickup campfire";
        case AIO_MONSTER: return "attack monster";
        case AIO_OBELISK: return "visit obelisk";
        default: return "act on object";
    }
}

const char* ai_player_color_name(const GameState& state, int player) {
    if (!is_player_index(player)) return "None";
    switch (state.player_color[player]) {
        case COLOR_RED: return "Red";
        case COLOR_GREEN: return "Green";
        case COLOR_BLUE: return "Blue";
        case COLOR_YELLOW: return "Yellow";
        default: return "None";
    }
}

namespace {
std::string* g_log_capture = nullptr;
}  // namespace

void ai_log_capture(std::string* capture) { g_log_capture = capture; }

void ai_log(const GameState& state, int player, const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    if (g_log_capture) {
        char line[512];
        std::vsnprintf(line, sizeof line, fmt, ap);
        *g_log_capture += std::string("[AI] ") + ai_player_color_name(state, player) + " - " + line + "\n";
        va_end(ap);
        return;
    }
    std::fprintf(stderr, "[AI] %s - ", ai_player_color_name(state, player));
    std::vfprintf(stderr, fmt, ap);
    va_end(ap);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

int ai_skill_class(const GameState& state, int player) {
    if (!is_player_index(player)) return 1;
    switch (state.player_ai_level[player]) {
        case AI_DUMB: return 0;
        case AI_SMART: return 2;
        case AI_GENIUS: return 3;
        default: return 1;
    }
}

int ai_day_index(const GameState& state) {
    return calendar_day_count(state.day, state.week, state.month);
}

void dismiss_hero(GameState& state, GameMap& map, int hero, int by_seat) {
    if (!state.valid_hero(hero)) return;
    note_hero_beaten(state, hero, by_seat);
    HeroState& h = state.heroes[hero];
    clear_hero_from_map(map, h);
    h.live = 0;
    h.army.clear();
}

}  // namespace vorn1
