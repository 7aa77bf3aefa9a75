// Drawing of the result overlay: backdrop, victory or retreat animation, texts, casualty rows and buttons.
#include <algorithm>
#include <string>
#include <vector>

#include "assets/resources.h"
#include "assets/text_render.h"
#include "battle/battle_screen.h"
#include "lang/runtime_strings.h"

namespace vorn1 {

namespace {

constexpr SDL_Color kGold{255, 215, 0, 255};
constexpr SDL_Color kWhite{255, 255, 255, 255};
constexpr SDL_Color kGrey{190, 190, 190, 255};

const BattleSprite* sprite_at(const std::vector<BattleSprite>& list, int i) {
    if (i < 0 || i >= static_cast<int>(list.size()) || !list[i].tex) return nullptr;
    return &list[i];
}

void copy_sprite(SDL_Renderer* r, const BattleSprite* f, int x, int y) {
    if (!f) return;
    SDL_Rect dst{x, y, f->w, f->h};
    SDL_RenderCopy(r, f->tex, nullptr, &dst);
}

void copy_icn(SDL_Renderer* r, const IcnTextures& set, int frame, int x, int y) {
    SDL_Texture* t = set.at(frame);
    if (!t) return;
    const SDL_Point s = set.size(frame);
    SDL_Rect dst{x, y, s.x, s.y};
    SDL_RenderCopy(r, t, nullptr, &dst);
}

}  // namespace

void BattleScreen::draw_result_screen() {
    if (!battle_res || !renderer) return;
    const BattleResultState& rs = result_screen;
    TTF_Font* small = font_small ? font_small : font;
    int y = 179;
    // A sentence over the catalogue's lines, each line followed by its step down, kept in the column.
    auto sentence = [&](TTF_Font* f, const std::vector<std::string>& lines, const std::vector<int>& steps,
                        SDL_Color c) {
        const FittedLines fit = fit_column_lines(lines, kResultTextW, f, small);
        size_t i = 0;
        for (const int step : steps) {
            if (fit.font && i < fit.lines.size())
                text::centered_box(renderer, fit.font, fit.lines[i], kResultTextX, y, kResultTextW, c);
            ++i;
            y += step;
        }
    };

    if (battle_res->winlose_picture.tex) {
        SDL_Rect dst{160, 1, 320, 458};
        SDL_RenderCopy(renderer, battle_res->winlose_picture.tex, nullptr, &dst);
    }

    auto draw_strip = [&] {
        const BattleSprite& strip = battle_res->losecmbt_picture;
        if (!strip.tex || strip.w < 1) return;
        SDL_RenderSetClipRect(renderer, &kResultStripClip);
        const int h = std::min(strip.h, 176);
        const int sx = static_cast<int>(rs.strip_x) % strip.w;
        const int first = std::min(strip.w - sx, 274);
        SDL_Rect src{sx, 0, first, h}, dst{208, 39, first, h};
        SDL_RenderCopy(renderer, strip.tex, &src, &dst);
        if (first < 274) {
            SDL_Rect src2{0, 0, std::min(274 - first, strip.w), h}, dst2{208 + first, 39, src2.w, h};
            SDL_RenderCopy(renderer, strip.tex, &src2, &dst2);
        }
        if (const BattleSprite* w = sprite_at(battle_res->lose_walk_sprites, rs.walk_frame))
            copy_sprite(renderer, w, (274 - w->w) / 2 + 158 + w->ox, (176 - w->h) / 2 + 67 + w->oy);
        SDL_RenderSetClipRect(renderer, nullptr);
    };

    const ResultKind kind = result_kind();
    const bool victory = kind == ResultKind::Victory;
    if (victory) {
        if (const BattleSprite* f = sprite_at(battle_res->win_sprites, 0)) copy_sprite(renderer, f, 208 + f->ox, 39 + f->oy);
        if (const BattleSprite* f = sprite_at(battle_res->win_sprites, 1 + rs.victory_frame))
            copy_sprite(renderer, f, 208 + f->ox, 39 + f->oy);
        sentence(font, {strings().get("BATTLE_VICTORY")}, {22}, kGold);
    } else {
        draw_strip();
    }
    // The sentence's lines 16 apart, then a wider step to what follows.
    const std::vector<std::string> lines = result_sentence();
    std::vector<int> steps(lines.size(), 16);
    if (!steps.empty()) steps.back() = kind == ResultKind::Retreat ? 28 : 22;
    sentence(font, lines, steps, kWhite);
    if (kind == ResultKind::Surrender)
        sentence(small, {strings().format("BATTLE_COST_SURRENDER", {std::to_string(surrender_gold_paid)})}, {22}, kGrey);

    auto casualty_row = [&](int first) {
        const auto pairs = casualty_pairs(&casualty_ids[first], &casualties[first]);
        if (pairs.empty()) {
            sentence(small, {strings().get("BATTLE_NONE")}, {20}, kWhite);
            return;
        }
        const IcnTextures* mons = res ? &res->mons32 : nullptr;
        auto size_of = [&](uint8_t id) {
            const SDL_Point s = mons && mons->at(id) ? mons->size(id) : SDL_Point{32, 32};
            return s;
        };
        int total = 6 * (static_cast<int>(pairs.size()) - 1), row_h = 0;
        for (const auto& p : pairs) {
            total += size_of(p.first).x;
            row_h = std::max(row_h, size_of(p.first).y);
        }
        int x = (320 - total) / 2 + 160;
        for (const auto& p : pairs) {
            const SDL_Point s = size_of(p.first);
            if (mons) copy_icn(renderer, *mons, p.first, x, y + row_h - s.y);
            if (small) text::centered_box(renderer, small, std::to_string(p.second), x, y + row_h + 2, s.x, kWhite);
            x += s.x + 6;
        }
        y += row_h + 30;
    };
    sentence(font, {strings().get("BATTLE_CASUALTIES")}, {20}, kGold);
    sentence(small, {strings().get("BATTLE_ATTACKER")}, {16}, kWhite);
    casualty_row(0);
    sentence(small, {strings().get("BATTLE_DEFENDER")}, {16}, kWhite);
    casualty_row(5);

    if (rs.preview) {
        auto button = [&](int frame, const SDL_Rect& r) {
            if (res && res->system_btn.at(frame)) copy_icn(renderer, res->system_btn, frame, r.x, r.y);
            else {
                SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
                SDL_SetRenderDrawColor(renderer, 120, 100, 0, 255);
                SDL_RenderFillRect(renderer, &r);
            }
        };
        button(rs.accept_pressed ? 6 : 5, rs.accept_rect);
        button(rs.decline_pressed ? 8 : 7, rs.decline_rect);
        return;
    }
    const std::vector<BattleSprite>& set = victory ? battle_res->win_sprites : battle_res->lose_sprites;
    const int frame = victory ? (rs.done_pressed ? 8 : 7) : (rs.done_pressed ? 1 : 0);
    if (const BattleSprite* f = sprite_at(set, frame)) {
        copy_sprite(renderer, f, rs.done_rect.x + f->ox, rs.done_rect.y + f->oy);
    } else {
        SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
        SDL_SetRenderDrawColor(renderer, 120, 100, 0, 255);
        SDL_RenderFillRect(renderer, &rs.done_rect);
        if (small) text::centered_xy(renderer, small, strings().get("BATTLE_DONE"), rs.done_rect.x, rs.done_rect.y,
                                     rs.done_rect.w, rs.done_rect.h, kWhite);
    }
}

}  // namespace vorn1
