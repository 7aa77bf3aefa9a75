// Drawing of the result overlay: backdrop, victory or retreat animation, texts, casualty rows and buttons.
#include <algorithm>
#include <string>

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
    auto line = [&](TTF_Font* f, const std::string& s, SDL_Color c) {
        if (f) text::centered_box(renderer, f, s, 160, y, 320, c);
    };

    if (battle_res->winlose_picture.tex) {
        SDL_Rect dst{160, 1, 320, 458};
        SDL_RenderCopy(renderer, battle_res->winlose_picture.tex, nullptr, &dst);
    }

    auto draw_strip = [&] {
        const BattleSprite& strip = battle_res->losecmbt_picture;
        if (!strip.tex || strip.w < 1) return;
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
    };

    const bool victory = rs.preview || ((outcome == OutcomeAttackerWon || outcome == OutcomeDefenderWon) && player_won());
    const std::string& own_name = player_defends() ? defender_side.name : attacker_side.name;
    if (victory) {
        if (const BattleSprite* f = sprite_at(battle_res->win_sprites, 0)) copy_sprite(renderer, f, 208 + f->ox, 39 + f->oy);
        if (const BattleSprite* f = sprite_at(battle_res->win_sprites, 1 + rs.victory_frame))
            copy_sprite(renderer, f, 208 + f->ox, 39 + f->oy);
        line(font, strings().get("BATTLE_VICTORY"), kGold);
        y += 22;
        const std::string& name = rs.preview ? rs.preview_title : own_name;
        if (!name.empty()) {
            line(font, strings().format("BATTLE_FOR_VALOR2", {name}), kWhite);
            y += 16;
        }
        line(font, strings().format("BATTLE_RECEIVES_EXP2", {std::to_string(result_experience)}), kWhite);
        y += 22;
    } else if (outcome == OutcomeRetreat) {
        draw_strip();
        line(font,
             attacker_side.name.empty() ? strings().get("BATTLE_HERO_FALLBACK")
                                        : strings().format("BATTLE_COWARDLY_FLEES", {attacker_side.name}),
             kWhite);
        y += 16;
        line(font, strings().get("BATTLE_FROM_BATTLE"), kWhite);
        y += 28;
    } else if (outcome == OutcomeSurrender) {
        draw_strip();
        const std::string& who = surrendered_side == 1 ? defender_side.name : attacker_side.name;
        line(font, who.empty() ? strings().get("BATTLE_YOUR_HERO") : strings().format("BATTLE_SURRENDERS_TO", {who}),
             kWhite);
        y += 16;
        line(font, strings().get("BATTLE_ENEMY_DEPARTS"), kWhite);
        y += 22;
        line(small, strings().format("BATTLE_COST_SURRENDER", {std::to_string(surrender_gold_paid)}), kGrey);
        y += 22;
    } else {
        draw_strip();
        line(font, strings().get("BATTLE_YOUR_FORCES_BITTER"), kWhite);
        y += 16;
        line(font,
             own_name.empty() ? strings().get("BATTLE_YOUR_HERO_LC") : strings().format("BATTLE_DEFEAT_AND", {own_name}),
             kWhite);
        y += 16;
        line(font, strings().get("BATTLE_ABANDONS"), kWhite);
        y += 22;
    }

    auto casualty_row = [&](int first) {
        const auto pairs = casualty_pairs(&casualty_ids[first], &casualties[first]);
        if (pairs.empty()) {
            line(small, strings().get("BATTLE_NONE"), kWhite);
            y += 20;
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
    line(font, strings().get("BATTLE_CASUALTIES"), kGold);
    y += 20;
    line(small, strings().get("BATTLE_ATTACKER"), kWhite);
    y += 16;
    casualty_row(0);
    line(small, strings().get("BATTLE_DEFENDER"), kWhite);
    y += 16;
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
