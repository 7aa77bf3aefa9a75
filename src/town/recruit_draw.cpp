#include <algorithm>
#include <string>

#include "assets/resources.h"
#include "assets/text_render.h"
#include "events/event.h"
#include "lang/runtime_strings.h"
#include "town/dialog_art.h"
#include "town/recruit.h"

namespace vorn1 {

namespace {

constexpr SDL_Color kWhite{255, 255, 255, 255};
constexpr SDL_Color kTitle{255, 216, 0, 255};
constexpr SDL_Color kGrey{200, 200, 200, 255};
constexpr int kGoldIcon = 6;
constexpr int kRareOffset = 22;

// Frame of a button set, else a fill with a centred label.
void draw_button(SDL_Renderer* r, const IcnTextures& set, int frame, const SDL_Rect& rect, SDL_Color fallback,
                 const char* label, TTF_Font* font) {
    if (blit_frame(r, set, frame, rect.x, rect.y)) return;
    fill_rect(r, rect, fallback);
    text::centered_xy(r, font, label, rect.x, rect.y, rect.w, rect.h, kWhite);
}

// The creature's picture fitted into the box; the bottom of what was drawn, or -1 without one.
int draw_creature(SDL_Renderer* r, const Resources& res, uint8_t creature, int x, int y, int box_w, int box_h) {
    SDL_Texture* tex = res.monsters.at(creature);
    if (!tex) return -1;
    const SDL_Point s = texture_size(tex);
    const SDL_Point f = fit_keep_aspect(s.x, s.y, box_w, box_h);
    blit_into(r, tex, SDL_Rect{x, y, f.x, f.y});
    return y + f.y;
}

// Gold alone on the centre line, or gold left and the rare resource right of it.
void draw_cost_row(SDL_Renderer* r, const Resources& res, TTF_Font* font, uint8_t creature, const CreatureCost& cost,
                   int centre_x, int top_y) {
    const int rare = creature_rare_icon(creature);
    if (rare < 0) {
        RecruitSystem::draw_resource_cost(r, res, font, kGoldIcon, cost.gold, centre_x, top_y);
        return;
    }
    RecruitSystem::draw_resource_cost(r, res, font, kGoldIcon, cost.gold, centre_x - kRareOffset, top_y);
    RecruitSystem::draw_resource_cost(r, res, font, rare, creature_rare_amount(creature, cost), centre_x + kRareOffset,
                                      top_y);
}

std::string title_text(uint8_t creature) {
    return strings().format("RECRUIT_TITLE", {recruit_creature_name(creature)});
}

}  // namespace

void RecruitSystem::draw_resource_cost(SDL_Renderer* r, const Resources& res, TTF_Font* font, int icon, int amount,
                                       int centre_x, int top_y) {
    SDL_Texture* tex = res.resource.at(icon);
    int text_y = top_y;
    if (tex) {
        const SDL_Point s = texture_size(tex);
        blit_into(r, tex, SDL_Rect{centre_x - s.x / 2, top_y, s.x, s.y});
        text_y = top_y + s.y + 2;
    }
    text::centered_cx(r, font, std::to_string(amount), centre_x, text_y, kWhite);
}

void RecruitSystem::draw(SDL_Renderer* r, const Resources& res, const RecruitResources& rres,
                         const EventSystem& events, TTF_Font* main_font, TTF_Font* small_font) const {
    if (!r) return;
    if (no_room_open) {
        draw_no_room(r, res, events, main_font);
        return;
    }
    if (!open) return;
    if (tooltip) draw_tooltip(r, res, rres, main_font, small_font);
    else draw_full_dialog(r, res, rres, main_font, small_font);
}

void RecruitSystem::draw_full_dialog(SDL_Renderer* r, const Resources& res, const RecruitResources& rres,
                                     TTF_Font* main_font, TTF_Font* small_font) const {
    blit_into(r, rres.dialog_bg, dialog_rect);
    if (creature >= CREATURE_COUNT) return;

    text::centered_cx(r, main_font, title_text(creature), 320, 115, kTitle);
    const int bottom = draw_creature(r, res, creature, 208, 131, 150, 130);
    text::at(r, small_font, strings().format("RECRUIT_AVAILABLE", {std::to_string(available)}), 208,
             bottom >= 0 ? bottom + 8 : 219, kGrey);

    if (res.townwind.count() >= 4) {
        blit_frame_into(r, res.townwind, 3, SDL_Rect{292, 134, 132, 68});
        draw_cost_row(r, res, small_font, creature, unit_cost, 358, 156);
    }

    text::at(r, small_font, strings().get("CASTLE_NUMBER_TO_BUY"), 176, 227, kWhite);
    if (!blit_frame_into(r, res.townwind, 4, count_rect)) fill_rect(r, count_rect, SDL_Color{80, 50, 120, 200});
    text::centered_box(r, main_font, std::to_string(count), count_rect.x, count_rect.y + (count_rect.h - 14) / 2,
                       count_rect.w, kWhite);
    blit_frame_into(r, res.townwind, up_pressed ? 6 : 5, up_rect);
    blit_frame_into(r, res.townwind, down_pressed ? 8 : 7, down_rect);
    blit_frame_into(r, res.townwind, max_pressed ? 10 : 9, max_rect);

    text::centered_cx(r, main_font, strings().get("CASTLE_TOTAL_RESOURCE_COST"), 320, 259, kWhite);
    const CreatureCost total = creature_cost_for_count(creature, count);
    if (creature_rare_icon(creature) >= 0) {
        draw_resource_cost(r, res, small_font, kGoldIcon, total.gold, 292, 277);
        draw_resource_cost(r, res, small_font, creature_rare_icon(creature), creature_rare_amount(creature, total),
                           348, 277);
    } else {
        draw_resource_cost(r, res, small_font, kGoldIcon, total.gold, 320, 277);
    }

    draw_button(r, res.system_btn, ok_pressed ? 10 : 9, ok_rect, SDL_Color{80, 120, 40, 200}, "OK", small_font);
    draw_button(r, res.system_btn, cancel_pressed ? 12 : 11, cancel_rect, SDL_Color{120, 40, 40, 200}, "CANCEL",
                small_font);
}

void RecruitSystem::draw_tooltip(SDL_Renderer* r, const Resources& res, const RecruitResources& rres,
                                 TTF_Font* main_font, TTF_Font* small_font) const {
    blit_into(r, rres.panel_bg, dialog_rect);
    if (creature >= CREATURE_COUNT) return;
    text::centered_cx(r, main_font, title_text(creature), 320, 167, kTitle);
    const int bottom = draw_creature(r, res, creature, 200, 187, 130, 110);
    if (bottom >= 0)
        text::at(r, small_font, strings().format("RECRUIT_AVAILABLE", {std::to_string(available)}), 200, bottom + 18,
                 kGrey);
    if (res.townwind.count() >= 4) {
        blit_frame_into(r, res.townwind, 3, SDL_Rect{316, 187, 132, 68});
        draw_cost_row(r, res, small_font, creature, unit_cost, 382, 209);
    }
}

void RecruitSystem::draw_no_room(SDL_Renderer* r, const Resources& res, const EventSystem& events,
                                 TTF_Font* main_font) const {
    const SDL_Rect f = no_room_rect;
    events.draw_buybuild_border(r, f.x, f.y, f.w, f.h);
    // The two lines sit a line apart at least, so they never overlap in a tall font.
    const int skip = main_font ? std::max(10, TTF_FontLineSkip(main_font)) : 10;
    text::centered_cx(r, main_font, "There is no room in the", f.x + 160, f.y + 48, kWhite);
    text::centered_cx(r, main_font, "garrison for this army.", f.x + 160, f.y + 48 + skip, kWhite);
    draw_button(r, res.system_btn, no_room_ok_pressed ? 10 : 9, no_room_ok_rect, SDL_Color{80, 120, 40, 200}, "OK",
                main_font);
}

}  // namespace vorn1
