#include <string>

#include "assets/resources.h"
#include "assets/text_render.h"
#include "events/event.h"
#include "town/dialog_art.h"
#include "town/troop_move.h"

namespace vorn1 {

void TroopMoveSystem::draw(SDL_Renderer* r, const Resources& res, const EventSystem& events, TTF_Font* font) const {
    if (!r || !split.open) return;
    const SDL_Rect& d = split.dialog_rect;
    events.draw_buybuild_border(r, d.x, d.y, d.w, d.h);
    constexpr SDL_Color kWhite{255, 255, 255, 255};
    text::centered_cx(r, font, std::string("Move how many ") + tm_creature_name(split.creature), 320, 210,
                      SDL_Color{255, 216, 0, 255});
    text::centered_cx(r, font, std::string("troops from ") + tm_army_label(split.from.context) + " to", 320, 224,
                      kWhite);
    text::centered_cx(r, font, std::string(tm_army_label(split.to.context)) + "?", 320, 238, kWhite);

    if (!blit_frame_into(r, res.townwind, 4, split.count_rect)) fill_rect(r, split.count_rect, {60, 40, 100, 255});
    const SDL_Rect& c = split.count_rect;
    text::centered_box(r, font, std::to_string(split.chosen), c.x, c.y + (c.h - 14) / 2, c.w, kWhite);
    blit_frame_into(r, res.townwind, split.up_pressed ? 6 : 5, split.up_rect);
    blit_frame_into(r, res.townwind, split.down_pressed ? 8 : 7, split.down_rect);
    blit_frame(r, res.system_btn, split.ok_pressed ? 10 : 9, split.ok_rect.x, split.ok_rect.y);
    blit_frame(r, res.system_btn, split.cancel_pressed ? 12 : 11, split.cancel_rect.x, split.cancel_rect.y);
}

void TroopMoveSystem::draw_selection(SDL_Renderer* r, const Resources& res, bool town_screen) const {
    if (!r || !selected.valid()) return;
    const SDL_Rect rect =
        town_screen ? castle_screen_slot_rect(selected.context, selected.index) : hero_screen_slot_rect(selected.index);
    if (res.strip.count() >= 2 && blit_frame_into(r, res.strip, 1, rect)) return;
    constexpr SDL_Color kRed{220, 30, 30, 255};
    outline_rect(r, rect, kRed);
    outline_rect(r, SDL_Rect{rect.x + 1, rect.y + 1, rect.w - 2, rect.h - 2}, kRed);
}

}  // namespace vorn1
