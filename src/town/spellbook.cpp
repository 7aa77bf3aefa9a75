#include "town/spellbook.h"

#include <algorithm>
#include <utility>

#include "assets/dialog_utils.h"
#include "lang/runtime_strings.h"
#include "world/spell_table.h"
#include "world/game_state.h"

namespace vorn1 {

const uint8_t IS_COMBAT[29] = {1, 1, 1, 1, 1, 0, 0, 1, 1, 1, 1, 1, 0, 1, 0, 1, 1, 0, 1, 1, 1, 1, 0, 0, 1, 0, 1, 0, 0};

bool spell_matches_filter(int spell, int filter) {
    if (spell < 0 || spell >= 29) return false;
    if (filter == SF_ADVENTURE) return IS_COMBAT[spell] == 0;
    if (filter == SF_COMBAT) return IS_COMBAT[spell] == 1;
    return true;
}

std::string sb_tr(const char* key, const char* fallback) {
    const std::string& t = strings().get(key);
    return t == key ? std::string(fallback) : t;
}

namespace {

struct Box {
    int x0, y0, x1, y1;  // inclusive
    bool has(int x, int y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
};
constexpr Box kNext{448, 131, 471, 158};
constexpr Box kPrev{157, 131, 180, 158};
constexpr Box kAdventure{359, 259, 389, 319};
constexpr Box kCombat{331, 269, 358, 326};
constexpr Box kClose{389, 274, 418, 336};

bool in_rect(const SDL_Rect& r, int x, int y) { return x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h; }

void reset_detail(SpellbookState& s) {
    s.detail_open = false;
    s.detail_has_ok = false;
    s.spell = -1;
    s.detail_ok_rect = SDL_Rect{};
    s.detail_ok_pressed = false;
}

bool on_adventure_mark(const SpellbookState& s, int x, int y) {
    return s.context != SB_BATTLE && kAdventure.has(x, y) && !kClose.has(x, y);
}
bool on_combat_mark(const SpellbookState& s, int x, int y) { return s.context != SB_ADVENTURE && kCombat.has(x, y); }

bool is_left(const SDL_Event& e, Uint32 type) { return e.type == type && e.button.button == SDL_BUTTON_LEFT; }

void set_filter(SpellbookState& s, const HeroState& hero, int filter) {
    s.filter = filter;
    s.page = 0;
    rebuild_spell_list(s, hero);
}

}  // namespace

void rebuild_spell_list(SpellbookState& s, const HeroState& hero) {
    s.spells.clear();
    for (int id = 0; id < 29; ++id) {
        const uint8_t n = hero.spell_charges[(size_t)id];
        if (n == 0) continue;
        if ((s.filter == SF_ADVENTURE || s.filter == SF_COMBAT) && !spell_matches_filter(id, s.filter)) continue;
        s.spells.push_back(SpellbookEntry{id, n});
    }
    auto level = [](int id) {
        const SpellInfo* i = spell_info(id);
        return i ? i->level : 99;
    };
    std::stable_sort(s.spells.begin(), s.spells.end(), [&](const SpellbookEntry& a, const SpellbookEntry& b) {
        const int la = level(a.spell), lb = level(b.spell);
        return la != lb ? la < lb : a.spell < b.spell;
    });
}

void open_spellbook(SpellbookState& s, const HeroState& hero, int context) {
    s.open = true;
    s.context = context;
    s.page = 0;
    s.next_pressed = s.prev_pressed = false;
    reset_detail(s);
    s.no_spells = false;
    s.no_spells_ok_pressed = false;
    s.hint = sb_tr("HERO_VIEW_SPELLS", "View Spells");
    s.filter = context == SB_BATTLE ? SF_COMBAT : context == SB_ADVENTURE ? SF_ADVENTURE : SF_ALL;
    rebuild_spell_list(s, hero);
    s.no_spells = s.spells.empty();
}

void close_spellbook(SpellbookState& s) {
    s.open = false;
    reset_detail(s);
    s.no_spells = false;
    s.spells.clear();
}

int spellbook_pages(const SpellbookState& s) { return std::max(1, ((int)s.spells.size() + 3) / 4); }

int sb_spell_cell_hit(int x, int y, const SpellbookState& s) {
    const int n = (int)s.spells.size();
    const int base = 4 * s.page;
    const bool left = x >= 174 && x <= 293, right = x >= 325 && x <= 444;
    if (y >= 114 && y <= 193) {
        if (x < 174) return -1;
        if (right || left) {
            const int i = base + (right ? 1 : 0);
            if (i < n) return i;
        } else {
            return -1;
        }
    }
    if (y >= 177 && y <= 256 && (left || right)) {
        const int i = base + (right ? 3 : 2);
        return i < n ? i : -1;
    }
    return -1;
}

int handle_spellbook_event(const SDL_Event& e, SpellbookState& s, HeroState& hero) {
    if (!s.open) return SB_NOTHING;
    const bool esc = e.type == SDL_KEYDOWN && e.key.keysym.sym == SDLK_ESCAPE;
    if (s.no_spells) {
        if (is_left(e, SDL_MOUSEBUTTONDOWN) && in_rect(s.no_spells_ok_rect, e.button.x, e.button.y)) {
            s.no_spells_ok_pressed = true;
        } else if (is_left(e, SDL_MOUSEBUTTONUP)) {
            const bool was = s.no_spells_ok_pressed;
            s.no_spells_ok_pressed = false;
            if (was && in_rect(s.no_spells_ok_rect, e.button.x, e.button.y)) {
                close_spellbook(s);
                return SB_CLOSED;
            }
        } else if (esc) {
            close_spellbook(s);
            return SB_CLOSED;
        }
        return SB_NOTHING;
    }
    if (s.detail_open) {  // no key closes the description box
        if (!s.detail_has_ok) {
            if (e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_RIGHT) reset_detail(s);
        } else if (is_left(e, SDL_MOUSEBUTTONDOWN) && in_rect(s.detail_ok_rect, e.button.x, e.button.y)) {
            s.detail_ok_pressed = true;
        } else if (is_left(e, SDL_MOUSEBUTTONUP)) {
            const bool was = s.detail_ok_pressed;
            s.detail_ok_pressed = false;
            if (was && in_rect(s.detail_ok_rect, e.button.x, e.button.y)) reset_detail(s);
        }
        return SB_NOTHING;
    }
    if (e.type == SDL_MOUSEMOTION) {
        const int x = e.motion.x, y = e.motion.y;
        s.hint = sb_tr("HERO_VIEW_SPELLS", "View Spells");
        if (kNext.has(x, y)) s.hint = sb_tr("SPELLBOOK_INFO_NEXT", "View next page");
        else if (kPrev.has(x, y)) s.hint = sb_tr("SPELLBOOK_INFO_PREV", "View previous page");
        else if (kClose.has(x, y)) s.hint = sb_tr("SPELLBOOK_INFO_EXIT", "Close Spellbook");
        else if (on_adventure_mark(s, x, y)) s.hint = sb_tr("SPELLBOOK_INFO_ADV", "View adventure spells");
        else if (on_combat_mark(s, x, y)) s.hint = sb_tr("SPELLBOOK_INFO_CMB", "View combat spells");
        return SB_NOTHING;
    }
    if (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_RIGHT) {
        const int i = sb_spell_cell_hit(e.button.x, e.button.y, s);
        if (i >= 0) {
            s.detail_open = true;
            s.detail_has_ok = false;
            s.spell = s.spells[(size_t)i].spell;
        }
        return SB_NOTHING;
    }
    if (is_left(e, SDL_MOUSEBUTTONDOWN)) {
        const int x = e.button.x, y = e.button.y;
        if (kNext.has(x, y)) {
            s.next_pressed = true;
            return SB_NOTHING;
        }
        if (kPrev.has(x, y)) {
            s.prev_pressed = true;
            return SB_NOTHING;
        }
        const int i = sb_spell_cell_hit(x, y, s);
        if (i < 0) return SB_NOTHING;
        const int spell = s.spells[(size_t)i].spell;
        if (s.context == SB_BATTLE || s.context == SB_ADVENTURE) {
            close_spellbook(s);
            s.spell = spell;
            return SB_PICKED;
        }
        s.detail_open = true;
        s.detail_has_ok = true;
        s.detail_ok_pressed = false;
        s.spell = spell;
        return SB_NOTHING;
    }
    if (is_left(e, SDL_MOUSEBUTTONUP)) {
        const int x = e.button.x, y = e.button.y;
        if (s.next_pressed) {
            s.next_pressed = false;
            if (kNext.has(x, y) && s.page + 1 < ((int)s.spells.size() + 3) / 4) ++s.page;
        } else if (s.prev_pressed) {
            s.prev_pressed = false;
            if (kPrev.has(x, y) && s.page >= 1) --s.page;
        } else if (kClose.has(x, y)) {
            close_spellbook(s);
            return SB_CLOSED;
        } else if (on_adventure_mark(s, x, y)) {
            set_filter(s, hero, SF_ADVENTURE);
        } else if (on_combat_mark(s, x, y)) {
            set_filter(s, hero, SF_COMBAT);
        }
        return SB_NOTHING;
    }
    if (esc) {
        close_spellbook(s);
        return SB_CLOSED;
    }
    return SB_NOTHING;
}

void open_spellbook_for(SpellbookModal& m, const HeroState& hero, int hero_index, int context,
                        std::function<void(int spell)> on_pick) {
    m.hero = hero_index;
    m.swallow_release = false;
    m.on_pick = std::move(on_pick);
    open_spellbook(m.book, hero, context);
}

bool spellbook_modal_active(const SpellbookModal& m) { return m.book.open || m.swallow_release; }

int handle_spellbook_modal(const SDL_Event& e, SpellbookModal& m, HeroState& hero) {
    if (!m.book.open) {
        if (is_left(e, SDL_MOUSEBUTTONUP)) m.swallow_release = false;
        return SB_NOTHING;
    }
    const int r = handle_spellbook_event(e, m.book, hero);
    if (r == SB_PICKED) m.swallow_release = true;
    if (r == SB_PICKED && m.on_pick) {
        // The callback may reopen the book or replace itself: call a copy.
        const std::function<void(int)> pick = m.on_pick;
        pick(m.book.spell);
    }
    return r;
}

}  // namespace vorn1
