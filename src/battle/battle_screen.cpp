// Construction, binding and closing of the battle record, and its small queries.
#include "battle/battle_screen.h"

#include <SDL_mixer.h>

#include "world/recruit_rules.h"

namespace vorn1 {

BattleScreen::BattleScreen() = default;

BattleScreen::~BattleScreen() { shutdown(); }

void BattleScreen::init(BattleResources* battle_res_in, Resources* res_in, SDL_Renderer* renderer_in,
                        TTF_Font* font_in, TTF_Font* font_small_in) {
    battle_res = battle_res_in;
    res = res_in;
    renderer = renderer_in;
    font = font_in;
    font_small = font_small_in;
    // The result's music: the winning track when the player won, the other one otherwise.
    if (!result_hook)
        result_hook = [](BattleScreen& b, bool won) {
            if (b.battle_res) b.battle_res->play_result_music(won, battle_effect_volume(b.music_level));
        };
}

BattleUnit* BattleScreen::unit_by_index(int index) {
    if (index < 0 || index >= 10) return nullptr;
    return index < 5 ? &attackers[index] : &defenders[index - 5];
}

const BattleUnit* BattleScreen::unit_by_index(int index) const {
    return const_cast<BattleScreen*>(this)->unit_by_index(index);
}

int BattleScreen::unit_index(const BattleUnit* u) const {
    for (int i = 0; i < 10; ++i)
        if (unit_by_index(i) == u) return i;
    return -1;
}

BattleUnit* BattleScreen::active_unit() {
    if (current < 0 || current >= static_cast<int>(queue.size())) return nullptr;
    const TurnEntry& e = queue[current];
    if (e.slot < 0 || e.slot >= 5) return nullptr;
    return e.side == 0 ? &attackers[e.slot] : &defenders[e.slot];
}

const BattleUnit* BattleScreen::active_unit() const { return const_cast<BattleScreen*>(this)->active_unit(); }

int64_t BattleScreen::compute_surrender_cost(bool defender_side_flag) const {
    const std::array<BattleUnit, 5>& stacks = defender_side_flag ? defenders : attackers;
    int64_t sum = 0;
    for (const BattleUnit& u : stacks)
        if (is_living(u)) sum += static_cast<int64_t>(creature_recruit_cost(u.creature).gold) * u.count;
    return sum / 2;
}

void BattleScreen::push_message(const std::string& text) { message = text; }

uint32_t BattleScreen::seed_or_ticks(unsigned seed) const {
    if (seed != 0) return seed;
    uint32_t t = tick_source ? tick_source() : SDL_GetTicks();
    return t | 1u;
}

void BattleScreen::reset_siege_defaults() {
    siege = 0;
    castle = 0;
    walls_down = 0;
    wall_hp = {2, 2, 2, 2, 2};
    keep_alive = 1;
    keep_fired = 0;
    catapult_shots_done = 0;
    catapult_pending = 0;
    catapult_timer = 0.0f;
    catapult_target = -1;
    keep_target = -1;
}

void BattleScreen::clear_battle_working_state() {
    overlay = BattleOverlay::None;
    phase = ActionPhase::Idle;
    phase_time = 0.0f;
    busy = 0;
    no_actor = 0;
    siege_action_running = 0;
    auto_engaged = 0;
    auto_attacker = 0;
    auto_defender = 0;
    retreating_side = 0;
    inspected_unit = -1;
    view_frame = 0;
    spell_id = -1;
    clear_action_records();
    battle_clock = 0.0f;
    effect_unit = -1;
    effect_timer = 0.0f;
    spell_cast_this_round = 0;
    casting_side = 0;
    spell_aiming = 0;
    spells = BattleSpellState{};
    options_side = 0;
    view_only = 0;
    option_button_pressed = {};
    surrender_accept_pressed = surrender_decline_pressed = 0;
    view_close_pressed = 0;
    textbar_left_pressed = textbar_right_pressed = 0;
}

void BattleScreen::release_scene() {
    if (background) {
        SDL_DestroyTexture(background);
        background = nullptr;
    }
    for (BattleSprite& f : scene_frames)
        if (f.tex) SDL_DestroyTexture(f.tex);
    scene_frames.clear();
    field_objects.clear();
    scene_blocked = {};
    sky.reset();
}

void BattleScreen::close() {
    if (!active) return;
    if (Mix_QuerySpec(nullptr, nullptr, nullptr) != 0 && Mix_Playing(1)) Mix_HaltChannel(1);
    release_scene();
    release_spell_art();
    clear_battle_working_state();
    active = 0;
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(SDL_ENABLE);
    reset_siege_defaults();
    // The result record stays readable for the loop; only the preview's picture mode ends.
    result_screen.preview = 0;
}

void BattleScreen::shutdown() {
    close();
    release_dialog_art();
    if (result_screen.preview_portrait) SDL_DestroyTexture(result_screen.preview_portrait);
    result_screen.preview_portrait = nullptr;
    release_scene();
    damage_icns.release();
    release_spell_art();
}

}  // namespace vorn1
