// The end of a battle: who is left, the armies written back, the figures of the result.
#include <algorithm>

#include "battle/battle_combat.h"
#include "battle/battle_screen.h"
#include "lang/runtime_strings.h"
#include "world/game_state.h"

namespace vorn1 {

namespace {
bool side_alive(const std::array<BattleUnit, 5>& stacks) {
    for (const BattleUnit& u : stacks)
        if (is_living(u)) return true;
    return false;
}

// Hit points of the creatures a side lost, measured from its starting counts.
int64_t killed_hit_points(const std::array<BattleUnit, 5>& stacks, const std::array<int32_t, 5>& start) {
    int64_t sum = 0;
    for (int i = 0; i < 5; ++i) {
        const BattleUnit& u = stacks[i];
        if (u.creature == kNoCreature) continue;
        int survivors = u.alive ? std::max(u.count, 0) : 0;
        int lost = start[i] - survivors;
        if (lost > 0) sum += static_cast<int64_t>(lost) * creature_hp(u.creature);
    }
    return sum;
}
}  // namespace

bool BattleScreen::check_battle_end() {
    bool attacker_alive = side_alive(attackers);
    bool defender_alive = side_alive(defenders);
    if (attacker_alive && defender_alive) return false;
    attacker_won = attacker_alive ? 1 : 0;
    open_result_screen(attacker_alive ? OutcomeAttackerWon : OutcomeDefenderWon);
    // The bar speaks for the side the result dialog is shown to, a defending player's too.
    push_message(strings().get(player_won() ? "BATTLE_VICTORY_SHORT" : "BATTLE_DEFEAT"));
    return true;
}

void BattleScreen::open_result_screen(BattleOutcome result) {
    outcome = result;
    attacker_won = result == OutcomeAttackerWon ? 1 : 0;
    // Every end writes the survivors back, a retreat or a surrender included.
    write_back_armies();
    for (int i = 0; i < 10; ++i) {
        const BattleUnit& u = *unit_by_index(i);
        int start = i < 5 ? attacker_start_counts[i] : defender_start_counts[i - 5];
        int survivors = u.alive ? std::max(u.count, 0) : 0;
        casualty_ids[i] = u.creature;
        casualties[i] = std::max(0, start - survivors);
    }
    int64_t exp = 0;
    int winner_hero = -1;
    if (result == OutcomeAttackerWon) {
        exp = killed_hit_points(defenders, defender_start_counts) + bonus_experience;
        winner_hero = attacker_side.hero;
    } else if (result == OutcomeDefenderWon) {
        exp = killed_hit_points(attackers, attacker_start_counts) + bonus_experience;
        winner_hero = defender_side.hero;
    }
    result_experience = static_cast<int32_t>(std::clamp<int64_t>(exp, 0, 2000000000));
    if (game && game->valid_hero(winner_hero)) {
        HeroState& h = game->heroes[winner_hero];
        h.experience = static_cast<uint32_t>(std::min<int64_t>(static_cast<int64_t>(h.experience) + result_experience,
                                                               UINT32_MAX));
    }
    SDL_Texture* portrait = result_screen.preview_portrait;
    result_screen = BattleResultState{};
    result_screen.preview_portrait = portrait;
    if (result == OutcomeAttackerWon) result_screen.losing_side = 1;
    else if (result == OutcomeDefenderWon) result_screen.losing_side = 0;
    else if (result == OutcomeRetreat) result_screen.losing_side = static_cast<int8_t>(retreating_side ? 1 : 0);
    else if (result == OutcomeSurrender) result_screen.losing_side = static_cast<int8_t>(surrendered_side == 1 ? 1 : 0);
    overlay = BattleOverlay::Result;
    if (result == OutcomeRetreat || result == OutcomeSurrender) {
        std::string said;
        for (const std::string& l : result_sentence()) said += (said.empty() ? "" : " ") + l;
        push_message(said);
    }
    if (result_hook) result_hook(*this, player_won());
}

ResultKind BattleScreen::result_kind() const {
    if (result_screen.preview || ((outcome == OutcomeAttackerWon || outcome == OutcomeDefenderWon) && player_won()))
        return ResultKind::Victory;
    if (outcome == OutcomeRetreat) return ResultKind::Retreat;
    if (outcome == OutcomeSurrender) return ResultKind::Surrender;
    return ResultKind::Defeat;
}

std::vector<std::string> BattleScreen::result_sentence() const {
    const ResultKind kind = result_kind();
    if (result_screen.preview) return result_lines(kind, {result_screen.preview_title, true, true}, result_experience);
    const int own = player_defends() ? 1 : 0;
    int about = own;
    if (kind == ResultKind::Retreat) about = retreating_side ? 1 : 0;
    else if (kind == ResultKind::Surrender) about = surrendered_side == 1 ? 1 : 0;
    return result_lines(kind, {side(about).name, side_has_hero(about), about == own}, result_experience);
}

bool BattleScreen::side_has_hero(int s) const {
    const int hero = side(s).hero;
    return game ? game->valid_hero(hero) : hero >= 0;
}

bool BattleScreen::player_won() const {
    return (outcome == OutcomeAttackerWon && !player_defends()) || (outcome == OutcomeDefenderWon && player_defends());
}

}  // namespace vorn1
