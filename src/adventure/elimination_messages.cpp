#include "adventure/elimination_messages.h"

#include "adventure/render_map.h"
#include "lang/runtime_strings.h"
#include "world/game_state.h"

namespace vorn1 {

std::string elimination_message(const GameState& state, int player) {
    const int c = owner_colour(state, player);
    const std::string who = c < 0 ? strings().get("ADV_QI_NEUTRAL") : strings().get("ADV_COLOR_" + std::to_string(c));
    return strings().format("ADV_ELIMINATED", {who});
}

std::string elimination_warning_message(int days_left) {
    if (days_left < 0) return {};
    if (days_left <= 1) return strings().get("ADV_ELIM_LAST_DAY");
    return strings().format("ADV_ELIM_WARNING", {std::to_string(days_left)});
}

}  // namespace vorn1
