#include "town/magegld_screen.h"

#include <algorithm>
#include <cstdio>

#include "assets/dialog_utils.h"
#include "assets/resources.h"
#include "assets/text_render.h"
#include "lang/runtime_strings.h"
#include "town/castle_screen_resources.h"
#include "town/dialog_art.h"
#include "town/heroscrn.h"
#include "world/spell_table.h"
#include "town/spellbook.h"
#include "town/well_screen.h"
#include "world/game_state.h"

namespace vorn1 {

const std::array<GuildPiece, 8> FDEF = {{
    {0, 0, 0, 87, 56},
    {1, 15, -42, 58, 43},
    {2, 17, -19, 54, 20},
    {3, 15, -59, 58, 43},
    {4, 17, -36, 54, 20},
    {5, 15, -76, 58, 42},
    {6, 17, -53, 54, 19},
    {7, 15, -93, 58, 42},
}};
const std::array<std::array<int, 2>, 4> LEVEL_FRAMES = {{{1, 2}, {3, 4}, {5, 6}, {7, 7}}};
const std::array<int, 3> MG_ROW_Y = {10, 88, 156};
const std::array<int, 3> MG_COL_CX = {240, 400, 560};

namespace {

constexpr SDL_Rect kBuyRect{200, 324, 98, 25};
constexpr SDL_Rect kCancelRect{342, 324, 98, 25};
constexpr SDL_Color kWhite{255, 255, 255, 255};

bool in(const SDL_Rect& r, int x, int y) { return x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h; }

// Screen row from the top (0 top, 1 middle, 2 bottom) and column of a slot.
int slot_row(int slot) { return 2 - slot / 3; }
SDL_Rect slot_rect(int slot) {
    return SDL_Rect{MG_COL_CX[(size_t)(slot % 3)] - 70, MG_ROW_Y[(size_t)slot_row(slot)], 140, 77};
}

bool can_buy(const HeroState* hero, const PlayerResources* treasury) {
    return hero && treasury && treasury->gold >= kSpellbookPrice && hero_free_artifact_slot(*hero) >= 0;
}

}  // namespace

int mage_guild_slot_level(int slot) {
    static const int kLevel[9] = {1, 1, 1, 2, 2, 3, 3, 4, 4};
    return slot >= 0 && slot < 9 ? kLevel[slot] : 5;
}

bool mage_guild_hit(int x, int y, const CastleState& town) {
    if (!(town.buildings & (BLD_GUILD1 | BLD_GUILD2 | BLD_GUILD3 | BLD_GUILD4))) return false;
    return x >= 315 && x < 367 && y >= 56 && y < 153;
}

int mage_guild_spell_at(int x, int y, const CastleState& town, int level) {
    // Rows from the top; the middle row wins where it overlaps the bottom one.
    for (int row : {0, 1, 2})
        for (int col = 0; col < 3; ++col) {
            const int slot = (2 - row) * 3 + col;
            if (mage_guild_slot_level(slot) > level || !in(slot_rect(slot), x, y)) continue;
            const uint8_t spell = town.guild_spells[(size_t)slot];
            return spell <= 28 ? spell : -1;
        }
    return -1;
}

int hero_free_artifact_slot(const HeroState& hero) { return hero.free_artifact_slot(); }

void teach_mage_guild_spells(HeroState& hero, const CastleState& town) {
    const int level = mage_guild_level(town);
    if (!hero.has_spellbook || level == 0) return;
    const uint8_t n = (uint8_t)std::min(hero.knowledge + hero.artifact_bonus[3], 127);
    for (int slot = 0; slot < 9; ++slot) {
        const uint8_t spell = town.guild_spells[(size_t)slot];
        if (mage_guild_slot_level(slot) > level || spell > 28) continue;
        hero.spell_charges[spell] = std::max(hero.spell_charges[spell], n);
    }
}

void open_mage_guild_screen(MageGuildState& s, HeroState& hero, const CastleState& town) {
    s = MageGuildState{};
    teach_mage_guild_spells(hero, town);
    s.open = true;
}

void open_buy_spellbook_dialog(MageGuildState& s) {
    s = MageGuildState{};
    s.open = true;
    s.buy_prompt = true;
    s.buy_rect = kBuyRect;
    s.cancel_rect = kCancelRect;
}

void close_mage_guild_screen(MageGuildState& s) { s = MageGuildState{}; }

int handle_mage_guild_event(const SDL_Event& e, MageGuildState& s, const CastleState& town) {
    if (!s.open || s.buy_prompt) return 0;
    const int level = mage_guild_level(town);
    if (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_RIGHT) {
        s.hovered_spell = mage_guild_spell_at(e.button.x, e.button.y, town, level);
        return 1;
    }
    if (e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_RIGHT) {
        s.hovered_spell = -1;
        return 1;
    }
    if (e.type == SDL_MOUSEMOTION) {
        if (s.hovered_spell >= 0)
            s.hovered_spell = (e.motion.state & SDL_BUTTON_RMASK) ? mage_guild_spell_at(e.motion.x, e.motion.y, town, level)
                                                                  : -1;
        return 0;
    }
    if (!sub_screen_exit_event(e, s.exit_pressed)) return 0;
    close_mage_guild_screen(s);
    return 1;
}

int handle_buy_spellbook_event(const SDL_Event& e, MageGuildState& s, HeroState& hero, PlayerResources& treasury,
                               const CastleState& town) {
    if (!s.open || !s.buy_prompt) return 0;
    const bool possible = can_buy(&hero, &treasury);
    const auto buy = [&] {
        treasury.gold -= kSpellbookPrice;
        hero.artifacts[(size_t)hero_free_artifact_slot(hero)] = 37;
        hero.has_spellbook = 1;
        s.buy_prompt = false;
        teach_mage_guild_spells(hero, town);
        return 1;
    };
    // Only the Buy button buys; Escape declines as Cancel does.
    if (e.type == SDL_KEYDOWN && e.key.keysym.sym == SDLK_ESCAPE) {
        close_mage_guild_screen(s);
        return 2;
    }
    if (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_LEFT) {
        if (possible && in(s.buy_rect, e.button.x, e.button.y)) s.buy_pressed = true;
        else if (in(s.cancel_rect, e.button.x, e.button.y)) s.cancel_pressed = true;
        return 0;
    }
    if (e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_LEFT) {
        if (s.buy_pressed) {
            s.buy_pressed = false;
            if (!possible || !in(s.buy_rect, e.button.x, e.button.y)) return 0;
            return buy();
        }
        if (s.cancel_pressed) {
            s.cancel_pressed = false;
            if (in(s.cancel_rect, e.button.x, e.button.y)) {
                close_mage_guild_screen(s);
                return 2;
            }
        }
        return 0;
    }
    return 0;
}

void draw_mage_guild_screen(SDL_Renderer* r, const CastleScreenResources& cres, const Resources& res,
                            const GameState& game, int castle, int hero, const MageGuildState& s, TTF_Font* font,
                            TTF_Font* small_font) {
    if (!r || !s.open || s.buy_prompt || castle < 0 || (size_t)castle >= game.castles.size()) return;
    const CastleState& town = game.castles[(size_t)castle];
    const int level = mage_guild_level(town);
    if (!blit_into(r, cres.build_background, SDL_Rect{0, 0, 640, 262}))
        fill_rect(r, SDL_Rect{0, 0, 640, 262}, SDL_Color{60, 60, 60, 255});
    auto piece = [&](int p) {
        const GuildPiece& g = FDEF[(size_t)p];
        if ((size_t)g.frame < cres.mage_guild_frames.size())
            blit_into(r, cres.mage_guild_frames[(size_t)g.frame], SDL_Rect{47 + g.dx, 136 + g.dy, g.w, g.h});
    };
    piece(0);
    for (int l = 1; l <= level && l <= 4; ++l)
        for (int p = LEVEL_FRAMES[(size_t)l - 1][0]; p <= LEVEL_FRAMES[(size_t)l - 1][1]; ++p) piece(p);
    for (int slot = 0; slot < 9; ++slot) {
        const SDL_Rect box = slot_rect(slot);
        const int cx = box.x + 70;
        if (mage_guild_slot_level(slot) > level) {
            SDL_Texture* closed = res.townwind.at(1);
            if (closed) {
                const SDL_Point sz = texture_size(closed);
                blit_into(r, closed, SDL_Rect{cx - sz.x / 2, box.y + (77 - sz.y) / 2, sz.x, sz.y});
            } else {
                fill_rect(r, box, SDL_Color{40, 30, 20, 200});
            }
            continue;
        }
        if (!blit_frame_into(r, res.townwind, 0, box)) fill_rect(r, box, SDL_Color{160, 120, 60, 255});
        const uint8_t spell = town.guild_spells[(size_t)slot];
        const SpellInfo* info = spell <= 28 ? spell_info(spell) : nullptr;
        if (!info) continue;
        if (SDL_Texture* icon = res.spells.at(info->icon)) {
            SDL_Point sz = texture_size(icon);
            if (sz.y > 51) sz = SDL_Point{sz.x * 51 / sz.y, 51};
            if (sz.x > 136) sz = SDL_Point{136, sz.y * 136 / sz.x};
            blit_into(r, icon, SDL_Rect{cx - sz.x / 2, box.y + 4 + (51 - sz.y) / 2, sz.x, sz.y});
        }
        text::centered_xy(r, small_font, spell_name(spell), cx - 70, box.y + 48, 140, 26, SDL_Color{30, 15, 5, 255});
    }
    draw_town_status_bar(r, res);
    const std::string status = hero >= 0 ? sb_tr("MAGEGUILD_SPELLS_ADDED", "The above spells have been added to your book.")
                                         : sb_tr("MAGEGUILD_SPELLS_AVAILABLE", "The above spells are available here.");
    text::centered_xy(r, font, status, 6, 241, 538, 19, kWhite);
    blit_frame_into(r, res.legend, s.exit_pressed ? 1 : 0, kSubScreenExit);
    if (font && s.hovered_spell >= 0 && s.hovered_spell <= 28) {
        SDL_Rect unused{};
        draw_spell_tooltip(r, res, font, small_font, s.hovered_spell, false, false, unused);
    }
}

void draw_buy_spellbook_dialog(SDL_Renderer* r, const CastleScreenResources&, const Resources& res,
                               const GameState& game, int hero, const MageGuildState& s, TTF_Font* font,
                               TTF_Font* small_font) {
    if (!r || !s.open || !s.buy_prompt) return;
    fill_rect(r, SDL_Rect{0, 0, 640, 480}, SDL_Color{0, 0, 0, 140});
    draw_buybuild_border(r, res, 177, 108, 3);
    const HeroState* h = game.valid_hero(hero) ? &game.heroes[(size_t)hero] : nullptr;
    const bool pay = h && h->owner >= 0 && h->owner < 4 && game.resources[(size_t)h->owner].gold >= kSpellbookPrice;
    const bool room = h && hero_free_artifact_slot(*h) >= 0;
    if (font) {
        text::centered_xy(r, font, strings().get("MAGEGUILD_BUY_SPELLBOOK"), 187, 163, 266, 18, SDL_Color{255, 220, 100, 255});
        if (SDL_Texture* book = res.artifact.at(37)) {
            const SDL_Point sz = texture_size(book);
            const SDL_Point f = fit_keep_aspect(sz.x, sz.y, 64, 64);
            blit_into(r, book, SDL_Rect{320 - f.x / 2, 243 - f.y, f.x, f.y});
        }
        text::centered_xy(r, font, strings().get("MAGEGUILD_RESOURCE_COST"), 240, 248, 160, 25, SDL_Color{230, 230, 230, 255});
        int price_y = 274;
        if (SDL_Texture* gold = res.resource.at(6)) {
            const SDL_Point sz = texture_size(gold);
            const int w = sz.y > 0 ? sz.x * 20 / sz.y : sz.x;
            blit_into(r, gold, SDL_Rect{320 - w / 2, 272, w, 20});
            price_y = 294;
        }
        text::centered_cx(r, small_font, std::to_string(kSpellbookPrice), 320, price_y, SDL_Color{255, 255, 180, 255});
        const char* warning = !pay ? "MAGEGUILD_NOT_ENOUGH_GOLD" : !room ? "MAGEGUILD_NO_ARTIFACT_SLOT" : nullptr;
        if (warning) text::centered_xy(r, font, strings().get(warning), 187, 308, 266, 14, SDL_Color{220, 80, 80, 255});
    }
    blit_frame_into(r, res.system_btn, s.buy_pressed || !(pay && room) ? 10 : 9, s.buy_rect);
    blit_frame_into(r, res.system_btn, s.cancel_pressed ? 12 : 11, s.cancel_rect);
}

}  // namespace vorn1
