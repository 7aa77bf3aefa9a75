#include <algorithm>
#include <string>

#include "assets/resources.h"
#include "assets/text_render.h"
#include "lang/runtime_strings.h"
#include "town/dialog_art.h"
#include "town/recruit.h"
#include "town/trading_post.h"
#include "world/game_state.h"

namespace vorn1 {

namespace {

constexpr SDL_Color kWhite{255, 255, 255, 255};
constexpr SDL_Color kSelect{220, 30, 30, 255};

// Larger pictures shrink to fit; centred horizontally with the bottom on the slot's bottom edge.
void draw_fitted(SDL_Renderer* r, SDL_Texture* tex, const SDL_Rect& slot) {
    const SDL_Point s = texture_size(tex);
    if (!tex || s.x <= 0 || s.y <= 0) return;
    int w = s.x, h = s.y;
    if (w > slot.w || h > slot.h) {
        const double k = std::min(static_cast<double>(slot.w) / w, static_cast<double>(slot.h) / h);
        w = static_cast<int>(w * k + 0.5);
        h = static_cast<int>(h * k + 0.5);
    }
    blit_into(r, tex, SDL_Rect{slot.x + (slot.w - w) / 2, slot.y + slot.h - h, w, h});
}

void selection_frame(SDL_Renderer* r, const SDL_Rect& s) {
    outline_rect(r, SDL_Rect{s.x - 2, s.y - 2, s.w + 4, s.h + 4}, kSelect);
    outline_rect(r, SDL_Rect{s.x - 3, s.y - 3, s.w + 6, s.h + 6}, kSelect);
}

}  // namespace

void TradingPostSystem::draw(SDL_Renderer* r, const Resources& res, const RecruitResources& rres, TTF_Font* font,
                             TTF_Font* small_font) const {
    if (!r || !open) return;
    const StringTable& t = strings();
    const std::string intro = t.get("TRADE_THIEF_FLAVOR");
    const TradePostTextLayout l =
        trade_post_text_layout(font ? TTF_FontHeight(font) : 0, small_font ? TTF_FontLineSkip(small_font) : 0,
                               static_cast<int>(text::wrap_pixels(small_font, intro, 296).size()),
                               small_font ? TTF_FontHeight(small_font) : 0);
    SDL_Rect f = rects[TP_FRAME];
    f.h += f.y - l.frame_top;
    f.y = l.frame_top;
    blit_into(r, rres.dialog_bg, f);
    text::centered_cx(r, font, t.get("TRADE_POST_TITLE"), f.x + 168, l.title_y, SDL_Color{255, 216, 0, 255});
    text::wrapped_centered_cx(r, small_font, intro, f.x + 168, l.intro_y, 296, SDL_Color{230, 230, 210, 255});
    text::centered_cx(r, small_font, t.get("TRADE_YOUR_RESOURCES"), f.x + 84, l.headings_y,
                      SDL_Color{200, 200, 255, 255});
    text::centered_cx(r, small_font, t.get("TRADE_FOR"), f.x + 252, l.headings_y, SDL_Color{200, 200, 255, 255});

    const bool valid_owner = state && is_player_index(player);
    for (int i = 0; i < kTradeResCount; ++i) {
        const TradeRes res_i = tp_res_at(i);
        SDL_Texture* pic = res.rsrc32.at(rsrc32_frame(tp_res_icon_id(res_i)));
        const SDL_Rect& gs = rects[static_cast<size_t>(TP_GIVE0 + i)];
        const SDL_Rect& rs = rects[static_cast<size_t>(TP_GET0 + i)];
        draw_fitted(r, pic, gs);
        const int owned = valid_owner ? tp_player_amount(*state, player, res_i) : 0;
        text::centered_cx(r, small_font, std::to_string(owned), gs.x + gs.w / 2, gs.y + gs.h, kWhite);
        draw_fitted(r, pic, rs);
        const std::string label = ratio_label(i);
        if (!label.empty())
            text::centered_cx(r, small_font, label, rs.x + rs.w / 2, rs.y + rs.h, SDL_Color{255, 230, 120, 255});
    }
    if (give >= 0) selection_frame(r, rects[static_cast<size_t>(TP_GIVE0 + give)]);
    if (get >= 0) selection_frame(r, rects[static_cast<size_t>(TP_GET0 + get)]);

    const SDL_Rect& box = rects[TP_AMOUNT];
    blit_frame_into(r, res.townwind, 4, box);
    // Large amounts drop the blanks around the arrow to stay inside the box.
    std::string shown = amount_text();
    if (text::measure(small_font, shown).x > box.w - 4)
        shown.erase(std::remove(shown.begin(), shown.end(), ' '), shown.end());
    text::centered_cx(r, small_font, shown, box.x + box.w / 2, box.y + (box.h - 14) / 2, kWhite);

    const bool all_arrows = blit_frame_into(r, res.townwind, up_pressed ? 6 : 5, rects[TP_UP]) &&
                            blit_frame_into(r, res.townwind, down_pressed ? 8 : 7, rects[TP_DOWN]) &&
                            blit_frame_into(r, res.townwind, max_pressed ? 10 : 9, rects[TP_MAX]);
    if (!all_arrows) {
        const SDL_Rect& m = rects[TP_MAX];
        text::centered_cx(r, font, t.get("TRADE_MAX"), m.x + m.w / 2, m.y + 6, SDL_Color{255, 255, 100, 255});
    }
    const SDL_Rect& tb = rects[TP_TRADE];
    if (!blit_frame_into(r, res.system_btn, trade_pressed ? 6 : 5, tb))
        text::centered_cx(r, font, t.get("TRADE_BTN"), tb.x + tb.w / 2, tb.y + 6, kWhite);
    const SDL_Rect& eb = rects[TP_EXIT];
    if (!blit_frame_into(r, res.legend, exit_pressed ? 1 : 0, eb))
        text::centered_cx(r, font, t.get("UI_EXIT"), eb.x + eb.w / 2, eb.y + 6, kWhite);
}

}  // namespace vorn1
