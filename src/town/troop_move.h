#pragma once
// Army slots on the town screen, the hero screen and the hero-meeting window: hit tests, selection,
// swapping, merging and splitting stacks through a small count dialog.
#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdint>
#include <functional>

#include "world/game_state.h"

namespace vorn1 {

struct Resources;
class EventSystem;

// Whose army: 0 the town's garrison, 1 the hero (hero screen, visiting hero, the meeting window's
// first hero), 2 the meeting window's second hero.
enum SlotContext : uint8_t { SLOT_GARRISON = 0, SLOT_HERO = 1, SLOT_HERO_B = 2 };

struct SlotAddr {
    SlotContext context = SLOT_GARRISON;
    int32_t index = -1;  // 0..4; anything else is no slot

    bool valid() const { return index >= 0 && index < ARMY_SLOTS; }
    bool operator==(const SlotAddr&) const = default;
};

struct SplitDialogState {
    bool open = false;
    SlotAddr from;
    SlotAddr to;
    int32_t castle = -1;  // town for context 0 (meeting window: the second hero)
    int32_t hero = -1;    // hero for context 1 (meeting window: the first hero)
    uint8_t creature = EMPTY_ID;
    int32_t source_count = 0;
    int32_t max_count = 0;
    int32_t chosen = 0;
    bool ok_pressed = false, cancel_pressed = false, up_pressed = false, down_pressed = false;
    SDL_Rect dialog_rect{}, ok_rect{}, cancel_rect{}, up_rect{}, down_rect{}, count_rect{};
    std::function<void(int)> on_done;
};

// Counts are 16-bit.
constexpr int kMaxArmyCount = 65535;

// English creature names of the split dialog by id ("Creature" from 28 on).
const char* tm_creature_name(uint8_t creature);
// "Garrison", "Hero's Army", "Hero B's Army" by context.
const char* tm_army_label(SlotContext context);

SDL_Rect castle_screen_slot_rect(SlotContext context, int index);
SDL_Rect hero_screen_slot_rect(int index);
// Inclusive column and row spans; the hero row only with a visiting hero (index 0 or more).
SlotAddr castle_screen_slot_hit(int x, int y, int visiting_hero);
SlotAddr hero_screen_slot_hit(int x, int y);

class TroopMoveSystem {
public:
    SlotAddr selected;  // index -1: nothing selected
    SplitDialogState split;
    bool allow_split_into_empty = true;

    // Context 0: garrison of town `castle`; other contexts: army of hero `hero`.
    static bool resolve_arrays(SlotContext context, GameState& game, int castle, int hero, uint8_t*& ids,
                               uint16_t*& counts);
    static int count_filled_slots(const uint8_t* ids, const uint16_t* counts);

    // A left press on a slot of the town or hero screen; `split` turns it into a split request.
    void handle_slot_click(const SlotAddr& addr, GameState& game, int castle, int hero, bool split);
    void apply_swap_or_merge(const SlotAddr& from, const SlotAddr& to, GameState& game, int castle, int hero);
    void open_split_dialog(const SlotAddr& from, const SlotAddr& to, GameState& game, int castle, int hero);
    void compute_layout();
    // 0 when the split dialog is closed (not consumed), else 1.
    int handle_sdl_event(const SDL_Event& e, GameState& game);
    // No selection, split dialog closed and reset; the split option keeps its value.
    void clear();

    void draw(SDL_Renderer* r, const Resources& res, const EventSystem& events, TTF_Font* font) const;
    void draw_selection(SDL_Renderer* r, const Resources& res, bool town_screen) const;

    // Meeting window: context 1 is hero_a, context 2 hero_b.
    void handle_slot_click_swap(const SlotAddr& addr, GameState& game, int hero_a, int hero_b, bool split);
    // Draws nothing: the meeting window marks its selection itself.
    void draw_selection_swap(SDL_Renderer* r, const Resources& res, int, int) const;

private:
    bool split_max_count(const uint8_t* ids, const uint16_t* counts, SlotContext context, int index,
                         int32_t& max_count) const;
    void fill_split(const SlotAddr& from, const SlotAddr& to, int castle, int hero, uint8_t creature, int count,
                    int max_count);
    friend int handle_sdl_event_swap(TroopMoveSystem& system, const SDL_Event& e, GameState& game);
    int handle_split_input(const SDL_Event& e, GameState& game, bool swap_variant);
};

// Moves `amount` creatures (at most the whole stack) into an empty slot or a stack of the same
// creature; any other target changes nothing.
void apply_troop_split(const SlotAddr& from, const SlotAddr& to, int amount, GameState& game, int castle, int hero);
// The meeting window's split: context 2 is hero_b, any other context hero_a.
void apply_troop_split_swap(const SlotAddr& from, const SlotAddr& to, int amount, GameState& game, int hero_a,
                            int hero_b);
// The split dialog's input in the meeting window; 0 when it is closed.
int handle_sdl_event_swap(TroopMoveSystem& system, const SDL_Event& e, GameState& game);

}  // namespace vorn1
