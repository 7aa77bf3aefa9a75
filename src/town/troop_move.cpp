#include "town/troop_move.h"

#include <algorithm>
#include <utility>

namespace vorn1 {

namespace {

constexpr const char* TM_CREATURE_NAME[CREATURE_COUNT] = {
    "Peasant", "Archer",  "Pikeman", "Swordsman", "Cavalry",  "Paladin",  "Goblin",  "Orc",     "Wolf",  "Ogre",
    "Troll",   "Cyclops", "Sprite",  "Dwarf",     "Elf",      "Druid",    "Unicorn", "Phoenix", "Centaur",
    "Gargoyle", "Griffin", "Minotaur", "Hydra",   "Dragon",   "Rogue",    "Nomad",   "Ghost",   "Genie"};

// Inclusive column spans shared by the town rows and the hero screen row (offset).
int column_at(int x, int left) {
    for (int i = 0; i < ARMY_SLOTS; ++i) {
        const int x0 = left + 88 * i;
        if (x >= x0 && x <= x0 + 81) return i;
    }
    return -1;
}

bool in(const SDL_Rect& r, int x, int y) {
    const SDL_Point p{x, y};
    return SDL_PointInRect(&p, &r);
}

bool filled(const uint8_t* ids, const uint16_t* counts, int i) { return ids[i] != EMPTY_ID && counts[i] != 0; }

void empty_slot(uint8_t* ids, uint16_t* counts, int i) {
    ids[i] = EMPTY_ID;
    counts[i] = 0;
}

// Army of a hero index; false when it is not in the list.
bool hero_army(GameState& game, int hero, uint8_t*& ids, uint16_t*& counts) {
    if (!game.valid_hero(hero)) return false;
    Army& a = game.heroes[static_cast<size_t>(hero)].army;
    ids = a.ids.data();
    counts = a.counts.data();
    return true;
}

// Moves as much of the source stack onto a stack of the same creature as the 16-bit count holds;
// what does not fit stays in the source.
void merge_into(uint8_t* sids, uint16_t* scounts, int si, uint16_t* tcounts, int ti) {
    const int room = kMaxArmyCount - tcounts[ti];
    const int moved = std::min<int>(scounts[si], room);
    if (moved <= 0) return;
    tcounts[ti] = static_cast<uint16_t>(tcounts[ti] + moved);
    scounts[si] = static_cast<uint16_t>(scounts[si] - moved);
    if (scounts[si] == 0) sids[si] = EMPTY_ID;
}

// A hero's last creatures never leave its army whole: a hero must lead at least one stack.
bool strips_last_stack(bool source_is_hero, bool same_army, const uint8_t* sids, const uint16_t* scounts) {
    return source_is_hero && !same_army && TroopMoveSystem::count_filled_slots(sids, scounts) <= 1;
}

// Swap, merge or move between two resolved slots, with the hero's-last-stack guard.
void swap_merge_move(uint8_t* sids, uint16_t* scounts, int si, uint8_t* tids, uint16_t* tcounts, int ti,
                     bool source_is_hero, bool same_army) {
    if (!filled(sids, scounts, si)) return;
    if (same_army && si == ti) return;
    const bool target_filled = filled(tids, tcounts, ti);
    if (target_filled && tids[ti] == sids[si]) {
        // A merge may only empty a hero's last stack into its own army.
        if (strips_last_stack(source_is_hero, same_army, sids, scounts) && tcounts[ti] + scounts[si] <= kMaxArmyCount)
            return;
        merge_into(sids, scounts, si, tcounts, ti);
        return;
    }
    if (!target_filled && strips_last_stack(source_is_hero, same_army, sids, scounts)) return;
    std::swap(sids[si], tids[ti]);
    std::swap(scounts[si], tcounts[ti]);
    if (!filled(sids, scounts, si)) empty_slot(sids, scounts, si);
}

void split_between(uint8_t* sids, uint16_t* scounts, int si, uint8_t* tids, uint16_t* tcounts, int ti, int amount) {
    if (amount <= 0 || !filled(sids, scounts, si)) return;
    if (sids == tids && si == ti) return;
    const bool target_filled = filled(tids, tcounts, ti);
    if (target_filled && tids[ti] != sids[si]) return;
    int n = std::min<int>(scounts[si], amount);
    if (target_filled) n = std::min(n, kMaxArmyCount - tcounts[ti]);
    if (n <= 0) return;
    const uint8_t id = sids[si];
    if (n == scounts[si]) empty_slot(sids, scounts, si);
    else scounts[si] = static_cast<uint16_t>(scounts[si] - n);
    if (target_filled) {
        tcounts[ti] = static_cast<uint16_t>(tcounts[ti] + n);
    } else {
        tids[ti] = id;
        tcounts[ti] = static_cast<uint16_t>(n);
    }
}

}  // namespace

const char* tm_creature_name(uint8_t creature) {
    return creature < CREATURE_COUNT ? TM_CREATURE_NAME[creature] : "Creature";
}

const char* tm_army_label(SlotContext context) {
    switch (context) {
        case SLOT_GARRISON: return "Garrison";
        case SLOT_HERO: return "Hero's Army";
        default: return "Hero B's Army";
    }
}

SDL_Rect castle_screen_slot_rect(SlotContext context, int index) {
    if (index < 0 || index >= ARMY_SLOTS) return SDL_Rect{};
    return SDL_Rect{111 + 88 * index, context == SLOT_GARRISON ? 262 : 361, 82, 93};
}

SDL_Rect hero_screen_slot_rect(int index) {
    if (index < 0 || index >= ARMY_SLOTS) return SDL_Rect{};
    return SDL_Rect{156 + 88 * index, 200, 82, 93};
}

SlotAddr castle_screen_slot_hit(int x, int y, int visiting_hero) {
    const int col = column_at(x, 111);
    if (col >= 0 && y >= 262 && y <= 354) return {SLOT_GARRISON, col};
    if (col >= 0 && visiting_hero >= 0 && y >= 361 && y <= 453) return {SLOT_HERO, col};
    return {SLOT_GARRISON, -1};
}

SlotAddr hero_screen_slot_hit(int x, int y) {
    const int col = column_at(x, 156);
    if (col >= 0 && y >= 200 && y <= 292) return {SLOT_HERO, col};
    return {SLOT_GARRISON, -1};
}

bool TroopMoveSystem::resolve_arrays(SlotContext context, GameState& game, int castle, int hero, uint8_t*& ids,
                                     uint16_t*& counts) {
    if (context == SLOT_GARRISON) {
        if (castle < 0 || static_cast<size_t>(castle) >= game.castles.size()) return false;
        Army& a = game.castles[static_cast<size_t>(castle)].garrison;
        ids = a.ids.data();
        counts = a.counts.data();
        return true;
    }
    return hero_army(game, hero, ids, counts);
}

int TroopMoveSystem::count_filled_slots(const uint8_t* ids, const uint16_t* counts) {
    int n = 0;
    for (int i = 0; i < ARMY_SLOTS; ++i) n += filled(ids, counts, i) ? 1 : 0;
    return n;
}

void TroopMoveSystem::handle_slot_click(const SlotAddr& addr, GameState& game, int castle, int hero, bool split_key) {
    if (!addr.valid() || split.open) return;
    if (!selected.valid()) {
        uint8_t* ids = nullptr;
        uint16_t* counts = nullptr;
        if (resolve_arrays(addr.context, game, castle, hero, ids, counts) && filled(ids, counts, addr.index))
            selected = addr;
        return;
    }
    if (selected == addr) {
        selected = SlotAddr{};
        return;
    }
    if (split_key) {
        open_split_dialog(selected, addr, game, castle, hero);
        return;
    }
    apply_swap_or_merge(selected, addr, game, castle, hero);
    selected = SlotAddr{};
}

void TroopMoveSystem::apply_swap_or_merge(const SlotAddr& from, const SlotAddr& to, GameState& game, int castle,
                                          int hero) {
    if (!from.valid() || !to.valid()) return;
    uint8_t *sids = nullptr, *tids = nullptr;
    uint16_t *scounts = nullptr, *tcounts = nullptr;
    if (!resolve_arrays(from.context, game, castle, hero, sids, scounts)) return;
    if (!resolve_arrays(to.context, game, castle, hero, tids, tcounts)) return;
    swap_merge_move(sids, scounts, from.index, tids, tcounts, to.index, from.context != SLOT_GARRISON, sids == tids);
}

bool TroopMoveSystem::split_max_count(const uint8_t* ids, const uint16_t* counts, SlotContext context, int index,
                                      int32_t& max_count) const {
    max_count = counts[index];
    if (context != SLOT_GARRISON && count_filled_slots(ids, counts) < 2) {
        if (counts[index] <= 1) return false;  // the hero keeps its one creature
        max_count = counts[index] - 1;
    }
    return true;
}

void TroopMoveSystem::fill_split(const SlotAddr& from, const SlotAddr& to, int castle, int hero, uint8_t creature,
                                 int count, int max_count) {
    split = SplitDialogState{};
    split.open = true;
    split.from = from;
    split.to = to;
    split.castle = castle;
    split.hero = hero;
    split.creature = creature;
    split.source_count = count;
    split.max_count = max_count;
    split.chosen = 0;
    compute_layout();
    split.on_done = [](int) {};
}

void TroopMoveSystem::open_split_dialog(const SlotAddr& from, const SlotAddr& to, GameState& game, int castle,
                                        int hero) {
    if (!from.valid() || !to.valid()) return;
    uint8_t* ids = nullptr;
    uint16_t* counts = nullptr;
    if (!resolve_arrays(from.context, game, castle, hero, ids, counts) || !filled(ids, counts, from.index)) return;
    if (!allow_split_into_empty && from.context == to.context) {
        uint8_t* tids = nullptr;
        uint16_t* tcounts = nullptr;
        if (resolve_arrays(to.context, game, castle, hero, tids, tcounts) && !filled(tids, tcounts, to.index)) {
            selected = SlotAddr{};
            return;
        }
    }
    int32_t max_count = 0;
    if (!split_max_count(ids, counts, from.context, from.index, max_count)) return;
    fill_split(from, to, castle, hero, ids[from.index], counts[from.index], max_count);
}

void TroopMoveSystem::compute_layout() {
    split.dialog_rect = {177, 132, 286, 215};
    split.ok_rect = {205, 308, 89, 30};
    split.cancel_rect = {346, 308, 89, 30};
    split.up_rect = {347, 264, 20, 10};
    split.down_rect = {347, 278, 20, 10};
    split.count_rect = {274, 267, 68, 19};
}

void TroopMoveSystem::clear() {
    selected = SlotAddr{};
    split = SplitDialogState{};
}

int TroopMoveSystem::handle_split_input(const SDL_Event& e, GameState& game, bool swap_variant) {
    if (!split.open) return 0;
    auto apply = [&] {
        const SlotAddr from = split.from, to = split.to;
        const int castle = split.castle, hero = split.hero, amount = split.chosen;
        split = SplitDialogState{};
        selected = SlotAddr{};
        if (swap_variant) apply_troop_split_swap(from, to, amount, game, hero, castle);
        else apply_troop_split(from, to, amount, game, castle, hero);
    };
    auto cancel = [&] {
        split = SplitDialogState{};
        selected = SlotAddr{};
    };
    if (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_LEFT) {
        const int x = e.button.x, y = e.button.y;
        if (in(split.up_rect, x, y)) split.up_pressed = true;
        else if (in(split.down_rect, x, y)) split.down_pressed = true;
        else if (in(split.ok_rect, x, y)) split.ok_pressed = true;
        else if (in(split.cancel_rect, x, y)) split.cancel_pressed = true;
    } else if (e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_LEFT) {
        const int x = e.button.x, y = e.button.y;
        const bool up = split.up_pressed, down = split.down_pressed, ok = split.ok_pressed,
                   cancel_btn = split.cancel_pressed;
        split.up_pressed = split.down_pressed = split.ok_pressed = split.cancel_pressed = false;
        if (up) {
            if (in(split.up_rect, x, y)) split.chosen = std::min(split.chosen + 1, split.max_count);
        } else if (down) {
            if (in(split.down_rect, x, y)) split.chosen = std::max(split.chosen - 1, 0);
        } else if (ok) {
            if (in(split.ok_rect, x, y) && split.chosen >= 1) apply();
        } else if (cancel_btn) {
            if (in(split.cancel_rect, x, y)) cancel();
        }
    } else if (e.type == SDL_KEYDOWN) {
        const SDL_Keycode k = e.key.keysym.sym;
        if (k == SDLK_ESCAPE) cancel();
        else if ((k == SDLK_RETURN || k == SDLK_KP_ENTER) && split.chosen >= 1) apply();
    }
    return 1;
}

int TroopMoveSystem::handle_sdl_event(const SDL_Event& e, GameState& game) {
    return handle_split_input(e, game, false);
}

void apply_troop_split(const SlotAddr& from, const SlotAddr& to, int amount, GameState& game, int castle, int hero) {
    if (amount <= 0 || !from.valid() || !to.valid()) return;
    uint8_t *sids = nullptr, *tids = nullptr;
    uint16_t *scounts = nullptr, *tcounts = nullptr;
    if (!TroopMoveSystem::resolve_arrays(from.context, game, castle, hero, sids, scounts)) return;
    if (!TroopMoveSystem::resolve_arrays(to.context, game, castle, hero, tids, tcounts)) return;
    split_between(sids, scounts, from.index, tids, tcounts, to.index, amount);
}

void apply_troop_split_swap(const SlotAddr& from, const SlotAddr& to, int amount, GameState& game, int hero_a,
                            int hero_b) {
    if (amount <= 0 || !from.valid() || !to.valid()) return;
    uint8_t *sids = nullptr, *tids = nullptr;
    uint16_t *scounts = nullptr, *tcounts = nullptr;
    if (!hero_army(game, from.context == SLOT_HERO_B ? hero_b : hero_a, sids, scounts)) return;
    if (!hero_army(game, to.context == SLOT_HERO_B ? hero_b : hero_a, tids, tcounts)) return;
    split_between(sids, scounts, from.index, tids, tcounts, to.index, amount);
}

void TroopMoveSystem::handle_slot_click_swap(const SlotAddr& addr, GameState& game, int hero_a, int hero_b,
                                             bool split_key) {
    if (!addr.valid() || split.open) return;
    auto army_of = [&](const SlotAddr& a, uint8_t*& ids, uint16_t*& counts) {
        return hero_army(game, a.context == SLOT_HERO_B ? hero_b : hero_a, ids, counts);
    };
    if (!selected.valid()) {
        uint8_t* ids = nullptr;
        uint16_t* counts = nullptr;
        if (army_of(addr, ids, counts) && filled(ids, counts, addr.index)) selected = addr;
        return;
    }
    if (selected == addr) {
        selected = SlotAddr{};
        return;
    }
    uint8_t *sids = nullptr, *tids = nullptr;
    uint16_t *scounts = nullptr, *tcounts = nullptr;
    const bool source_ok = army_of(selected, sids, scounts);
    const bool target_ok = army_of(addr, tids, tcounts);
    if (split_key) {
        if (!source_ok || !filled(sids, scounts, selected.index)) return;
        if (!allow_split_into_empty && target_ok && sids == tids && !filled(tids, tcounts, addr.index)) {
            selected = SlotAddr{};
            return;
        }
        int32_t max_count = 0;
        if (!split_max_count(sids, scounts, selected.context, selected.index, max_count)) return;
        fill_split(selected, addr, hero_b, hero_a, sids[selected.index], scounts[selected.index], max_count);
        return;
    }
    if (source_ok && target_ok) swap_merge_move(sids, scounts, selected.index, tids, tcounts, addr.index, true, sids == tids);
    selected = SlotAddr{};
}

int handle_sdl_event_swap(TroopMoveSystem& system, const SDL_Event& e, GameState& game) {
    const SplitDialogState& s = system.split;
    if (!s.open) return 0;
    const bool swap_variant = s.from.context == SLOT_HERO_B || s.to.context == SLOT_HERO_B ||
                              (s.from.context == SLOT_HERO && s.to.context == SLOT_HERO && s.castle >= 0 &&
                               s.castle != s.hero);
    return system.handle_split_input(e, game, swap_variant);
}

void TroopMoveSystem::draw_selection_swap(SDL_Renderer*, const Resources&, int, int) const {}

}  // namespace vorn1
