#include "adventure/player_elimination.h"

namespace vorn1 {

SavedEliminationState snapshot_elimination_state(const PlayerEliminationState& e) {
    SavedEliminationState s;
    s.players = e.players;
    return s;
}

void restore_elimination_state(const SavedEliminationState& s, PlayerEliminationState& e) {
    e.players = s.players;
    for (auto& r : e.players) {
        // A corrupt save must not leave a countdown that can never end.
        if (r.days_left < -1) r.days_left = -1;
        if (r.days_left > kNoTownCountdownDays) r.days_left = kNoTownCountdownDays;
        r.eliminated = r.eliminated ? 1 : 0;
    }
}

bool is_player_eliminated(const PlayerEliminationState& e, int player) {
    return player >= 0 && player < 4 && e.players[player].eliminated != 0;
}

bool process_turn_start_elimination_warning(PlayerEliminationState& e, int player) {
    if (player < 0 || player > 3) return false;
    auto& r = e.players[player];
    if (r.eliminated || r.days_left < 0) return false;
    if (r.days_left > 0) --r.days_left;
    if (r.days_left == 0) {
        r.eliminated = 1;
        r.days_left = -1;
        r.notice_pending = 0;
        return true;
    }
    r.notice_pending = 1;
    r.countdown_notice = 1;
    return false;
}

int32_t take_elimination_warning(PlayerEliminationState& e, int player) {
    if (player < 0 || player > 3) return -1;
    auto& r = e.players[player];
    if (!r.notice_pending) return -1;
    r.notice_pending = 0;
    return r.days_left;
}

}  // namespace vorn1
