#pragma once
// The spellbook: the spells a hero knows, four to a double page, with their casts left. The hero
// screen opens it to read, the adventure map and the battle to pick a spell; the caller owns the
// record, routes input to handle_spellbook_event while it is open and draws it over its screen.
#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vorn1 {

struct HeroState;
struct Resources;

enum SpellbookContext : int32_t { SB_VIEW = 0, SB_BATTLE = 1, SB_ADVENTURE = 2 };
enum SpellFilter : int32_t { SF_ALL = 0, SF_ADVENTURE = 1, SF_COMBAT = 2 };

extern const uint8_t IS_COMBAT[29];
// Filter 1 takes adventure spells, 2 combat spells, anything else every spell.
bool spell_matches_filter(int spell, int filter);

struct SpellbookEntry {
    int32_t spell = -1;
    uint8_t count = 0;  // casts left
};

struct SpellbookState {
    bool open = false;
    int32_t context = SB_VIEW;
    int32_t filter = SF_ALL;
    std::vector<SpellbookEntry> spells;  // sorted by level, then id
    int32_t page = 0;
    bool next_pressed = false;
    bool prev_pressed = false;
    bool detail_open = false;
    bool detail_has_ok = false;
    int32_t spell = -1;  // of the description box; after a pick, the picked spell
    SDL_Rect detail_ok_rect{};
    bool detail_ok_pressed = false;
    // Owned, so a reload of the string table never leaves it dangling.
    std::string hint;
    bool no_spells = false;
    bool no_spells_ok_pressed = false;
    SDL_Rect no_spells_ok_rect{};
};

enum SpellbookResult : int { SB_NOTHING = 0, SB_CLOSED = 1, SB_PICKED = 2 };

void open_spellbook(SpellbookState& s, const HeroState& hero, int context);
void close_spellbook(SpellbookState& s);
void rebuild_spell_list(SpellbookState& s, const HeroState& hero);
// Number of double pages (at least 1).
int spellbook_pages(const SpellbookState& s);
// The entry index under a screen point, -1 none.
int sb_spell_cell_hit(int x, int y, const SpellbookState& s);
// 0 nothing for the caller, 1 closed without a pick (spell -1), 2 picked: closed, `spell` holds it.
int handle_spellbook_event(const SDL_Event& e, SpellbookState& s, HeroState& hero);

// The text of a key, or the fallback when the string table lacks it.
std::string sb_tr(const char* key, const char* fallback);

void draw_spellbook(SDL_Renderer* r, const Resources& res, SpellbookState& s, TTF_Font* font, TTF_Font* small_font);
// A spell's description box: name, description, icon, caption, and the OK button when asked for
// (its rectangle written to ok_rect).
void draw_spell_tooltip(SDL_Renderer* r, const Resources& res, TTF_Font* font, TTF_Font* small_font, int spell,
                        bool has_ok, bool ok_pressed, SDL_Rect& ok_rect);
// A texture scaled down to at most 44 wide and then max_h high, centred on (cx, cy).
void sb_blit_fit_centred(SDL_Renderer* r, SDL_Texture* tex, int cx, int cy, int max_h);

// A book a screen opens for a hero and gets the picked spell back from: the screen routes its
// events to handle_spellbook_modal while spellbook_modal_active, and draws the book last.
struct SpellbookModal {
    SpellbookState book;
    int hero = -1;
    std::function<void(int spell)> on_pick;  // not called when the book closes without a pick
    // A pick happens on the press; its release is taken too, so it never clicks the screen below.
    bool swallow_release = false;
};
bool spellbook_modal_active(const SpellbookModal& m);
// Opens the book of `hero` in context 1 (battle: combat spells) or 2 (adventure spells).
void open_spellbook_for(SpellbookModal& m, const HeroState& hero, int hero_index, int context,
                        std::function<void(int spell)> on_pick);
// Returns the book's result code; calls on_pick after the book closed with a pick.
// Consumes every event while active.
int handle_spellbook_modal(const SDL_Event& e, SpellbookModal& m, HeroState& hero);

}  // namespace vorn1
