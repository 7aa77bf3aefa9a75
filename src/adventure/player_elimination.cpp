#include "adventure/player_elimination.h"

#include "adventure/puzzle_map_state.h"

namespace vorn1 {

SavedEliminationState snapshot_elimination_state(const PlayerEliminationState& e) {
    SavedEliminationState s;
    s.players = e.players;
    return s;
}

void restore_elimination_state(const SavedEliminationState& s, PlayerEliminationState& e) {
    e.players = s.players;
    e.warning_queued.fill(0);
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

GoalContext goal_context_of(const PlayerEliminationState& e, const PuzzleMapState& puzzle) {
    GoalContext ctx;
    for (int p = 0; p < 4; ++p)
        if (is_player_eliminated(e, p)) ctx.out_seats |= 1u << p;
    ctx.artifact_buried = !puzzle.artifact_awarded && puzzle.dig_x >= 0;
    return ctx;
}

bool process_turn_start_elimination_warning(PlayerEliminationState& e, int player) {
    if (player < 0 || player > 3) return false;
    auto& r = e.players[player];
    if (r.eliminated || r.days_left < 0) return false;
    if (r.days_left > 0) --r.days_left;
    if (r.days_left == 0) {
        r.eliminated = 1;
        r.days_left = -1;
        r.countdown_notice = 0;
        r.notice_pending = 0;
        e.warning_queued[player] = 0;
        return true;
    }
    if (r.countdown_notice || r.notice_pending) e.warning_queued[player] = 1;
    r.notice_pending = 0;
    return false;
}

int32_t take_elimination_warning(PlayerEliminationState& e, int player) {
    if (player < 0 || player > 3) return -1;
    if (!e.warning_queued[player]) return -1;
    e.warning_queued[player] = 0;
    return e.players[player].days_left;
}

int take_elimination_announcement(PlayerEliminationState& e) {
    for (int p = 0; p < 4; ++p)
        if (take_elimination_announcement(e, p)) return p;
    return -1;
}

bool take_elimination_announcement(PlayerEliminationState& e, int player) {
    if (player < 0 || player > 3) return false;
    auto& r = e.players[player];
    if (!r.eliminated || !r.notice_pending) return false;
    r.notice_pending = 0;
    return true;
}

}  // namespace vorn1

#include "world/game_state.h"
#include "world/map.h"

namespace vorn1 {

unsigned check_post_battle_eliminations(const GameState& state, const GameMap& map, PlayerEliminationState& e,
                                        int player) {
    (void)map;
    unsigned newly = 0;
    for (int p = 0; p < MAX_PLAYERS; ++p) {
        if (!state.seat_active(p)) continue;
        auto& r = e.players[p];
        if (r.eliminated) continue;
        bool town = false, hero = false;
        for (const auto& c : state.castles) town |= c.live && c.owner == p;
        for (const auto& h : state.heroes) hero |= h.live && h.owner == p;
        if (!town && !hero) {
            r.eliminated = 1;
            r.days_left = -1;
            r.countdown_notice = 0;
            r.notice_pending = 0;
            e.warning_queued[p] = 0;
            newly |= 1u << p;
        } else if (town) {
            r.days_left = -1;
            r.countdown_notice = 0;
            r.notice_pending = 0;
            e.warning_queued[p] = 0;
        } else if (r.days_left < 0) {
            r.days_left = kNoTownCountdownDays;
            const bool human = state.player_is_human[p] != 0;
            r.countdown_notice = human ? 1 : 0;
            // The seat whose turn it is hears of it now; others at their next turn start.
            r.notice_pending = human && p != player ? 1 : 0;
            e.warning_queued[p] = human && p == player ? 1 : 0;
        }
    }
    bool human_plays_on = false;
    for (int p = 0; p < MAX_PLAYERS; ++p)
        human_plays_on |= state.seat_active(p) && state.player_is_human[p] != 0 && !e.players[p].eliminated;
    for (int p = 0; p < MAX_PLAYERS; ++p)
        if ((newly >> p & 1u) && human_plays_on && state.player_is_human[p] != 0) e.players[p].notice_pending = 1;
    return newly;
}

}  // namespace vorn1
