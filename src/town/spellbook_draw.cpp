#include <cstdio>

#include "adventure/render_ui.h"
#include "assets/dialog_utils.h"
#include "assets/resources.h"
#include "assets/text_render.h"
#include "events/event_types.h"
#include "lang/runtime_strings.h"
#include "town/dialog_art.h"
#include "world/spell_table.h"
#include "town/spellbook.h"

namespace vorn1 {

namespace {

constexpr SDL_Color kWhite{255, 255, 255, 255};
constexpr SDL_Color kGold{255, 220, 100, 255};
constexpr SDL_Rect kLeftPage{146, 119, 163, 192};
constexpr SDL_Rect kRightPage{309, 119, 163, 192};
constexpr SDL_Rect kPrevCorner{157, 131, 24, 28};
constexpr SDL_Rect kNextCorner{448, 131, 24, 28};
constexpr SDL_Rect kAdventureMark{359, 259, 31, 61};
constexpr SDL_Rect kCombatMark{331, 269, 28, 58};
constexpr SDL_Rect kCloseMark{389, 274, 30, 63};
constexpr int kIconRelY[2] = {12, 75};
constexpr int kLabelRelY[2] = {58, 122};
constexpr int kColumnCx[2] = {234, 385};

// A frame of the book stretched into its place, or the fallback fill (none when `fallback` is null).
void draw_book_part(SDL_Renderer* r, const Resources& res, int frame, const SDL_Rect& dst, const SDL_Color* fallback,
                    bool mirrored = false) {
    if (SDL_Texture* t = res.book.at(frame)) {
        SDL_RenderCopyEx(r, t, nullptr, &dst, 0.0, nullptr, mirrored ? SDL_FLIP_HORIZONTAL : SDL_FLIP_NONE);
        return;
    }
    if (fallback) fill_rect(r, dst, *fallback);
}

}  // namespace

void sb_blit_fit_centred(SDL_Renderer* r, SDL_Texture* tex, int cx, int cy, int max_h) {
    const SDL_Point s = texture_size(tex);
    if (!tex || s.x <= 0 || s.y <= 0) return;
    const SDL_Point f = fit_keep_aspect(s.x, s.y, 44, max_h);
    blit_into(r, tex, SDL_Rect{cx - f.x / 2, cy - f.y / 2, f.x, f.y});
}

void draw_spell_tooltip(SDL_Renderer* r, const Resources& res, TTF_Font* font, TTF_Font* small_font, int spell,
                        bool has_ok, bool ok_pressed, SDL_Rect& ok_rect) {
    const SpellInfo* info = spell_info(spell);
    if (!r || !info) return;
    draw_buybuild_border(r, res, 177, 87, 4);
    int icon_cy = font ? 196 : 192, caption = font ? 222 : 218;
    if (font) {
        const int fh = TTF_FontHeight(font);
        text::centered_cx(r, font, spell_name(spell), 320, 154 - fh, kGold);
        char key[24];
        std::snprintf(key, sizeof key, "SPELLDESC_%02d", spell);
        const auto lines = text::wrap_pixels(font, strings().get(key), 262);
        int y = 170;
        for (const std::string& l : lines) {
            text::centered_cx(r, font, l, 320, y, SDL_Color{200, 200, 200, 255});
            y += fh + 2;
        }
        if (!lines.empty()) {
            icon_cy = y + 4 + 22;
            caption = y + 52;
        }
    }
    sb_blit_fit_centred(r, res.spells.at(info->icon), 320, icon_cy, 44);
    if (small_font) text::centered_cx(r, small_font, spell_name(spell), 320, caption, kGold);
    if (has_ok) ok_rect = draw_system_button(r, res, EVENT_BUTTON_OK, 320, 314, ok_pressed, font);
}

void draw_spellbook(SDL_Renderer* r, const Resources& res, SpellbookState& s, TTF_Font* font, TTF_Font* small_font) {
    if (!r || !s.open) return;
    if (s.no_spells) {
        draw_buybuild_border(r, res, 177, 132, 2);
        if (font)
            text::centered_cx(r, font, sb_tr("SPELLBOOK_NO_SPELLS", "No spells to cast."), 320,
                              238 - TTF_FontHeight(font) / 2, kWhite);
        s.no_spells_ok_rect = draw_system_button(r, res, EVENT_BUTTON_OK, 320, 269, s.no_spells_ok_pressed, font);
        return;
    }
    const SDL_Color page{180, 140, 90, 255};
    draw_book_part(r, res, 0, kLeftPage, &page, true);
    draw_book_part(r, res, 0, kRightPage, &page);
    for (int cell = 0; cell < 4; ++cell) {
        const int i = 4 * s.page + cell;
        if (i < 0 || i >= (int)s.spells.size()) continue;
        const SpellbookEntry& entry = s.spells[(size_t)i];
        const int col = cell % 2, row = cell / 2;
        const SpellInfo* info = spell_info(entry.spell);
        SDL_Texture* icon = info ? res.spells.at(info->icon) : nullptr;
        if (icon) sb_blit_fit_centred(r, icon, kColumnCx[col], 142 + kIconRelY[row], 46);
        else fill_rect(r, SDL_Rect{col ? 363 : 212, row ? 194 : 131, 44, 46}, SDL_Color{80, 60, 30, 255});
        if (small_font) {
            char label[96];
            std::snprintf(label, sizeof label, "%s(%d)", spell_name(entry.spell).c_str(), (int)entry.count);
            text::centered_cx(r, small_font, label, kColumnCx[col], 119 + kLabelRelY[row], SDL_Color{30, 15, 5, 255});
        }
    }
    if (s.next_pressed && s.page + 1 < ((int)s.spells.size() + 3) / 4) draw_book_part(r, res, 2, kNextCorner, nullptr);
    if (s.prev_pressed && s.page > 0) draw_book_part(r, res, 1, kPrevCorner, nullptr);
    const SDL_Color adventure{80, 40, 140, 255}, combat{140, 80, 20, 255};
    if (s.context != SB_BATTLE) draw_book_part(r, res, 3, kAdventureMark, &adventure);
    if (s.context != SB_ADVENTURE) draw_book_part(r, res, 4, kCombatMark, &combat);
    draw_book_part(r, res, 5, kCloseMark, nullptr);
    if (font && !s.hint.empty()) {
        // On the adventure map the bottom line is the map's own: the hint goes to the status panel.
        if (s.context == SB_ADVENTURE) draw_info_panel_text(r, font, s.hint);
        else text::centered_cx(r, font, s.hint, 320, 470 - TTF_FontHeight(font) / 2, kWhite);
    }
    if (s.detail_open && s.spell >= 0)
        draw_spell_tooltip(r, res, font, small_font, s.spell, s.detail_has_ok, s.detail_ok_pressed, s.detail_ok_rect);
}

}  // namespace vorn1
