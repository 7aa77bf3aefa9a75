#include "town/trading_post.h"

#include <algorithm>

#include "world/game_state.h"

namespace vorn1 {

const std::array<TradeRes, kTradeResCount> TP_DISPLAY_ORDER = {TR_WOOD,    TR_ORE,  TR_MERCURY, TR_SULFUR,
                                                               TR_CRYSTAL, TR_GEMS, TR_GOLD};

namespace {

constexpr std::array<SDL_Rect, TP_RECT_COUNT> kLayout = {{
    {152, 85, 336, 310},
    {195, 165, 32, 27}, {245, 165, 32, 27}, {195, 206, 32, 27}, {245, 206, 32, 27},
    {195, 247, 32, 27}, {245, 247, 32, 27}, {220, 288, 32, 27},
    {363, 165, 32, 27}, {413, 165, 32, 27}, {363, 206, 32, 27}, {413, 206, 32, 27},
    {363, 247, 32, 27}, {413, 247, 32, 27}, {388, 288, 32, 27},
    {188, 357, 98, 25},
    {384, 357, 80, 25},
    {222, 331, 26, 9},
    {222, 341, 26, 9},
    {328, 328, 60, 25},
    {252, 331, 68, 19},
}};

bool in(const SDL_Rect& r, int x, int y) {
    const SDL_Point p{x, y};
    return SDL_PointInRect(&p, &r);
}

}  // namespace

TradeRes tp_res_at(int slot) {
    return slot >= 0 && slot < kTradeResCount ? TP_DISPLAY_ORDER[static_cast<size_t>(slot)] : TR_GOLD;
}

int rsrc32_frame(int icon_id) { return icon_id >= 0 && icon_id <= 6 ? 61 + icon_id : 61; }

TradePostTextLayout trade_post_text_layout(int title_h, int intro_skip, int intro_lines, int heading_h) {
    const SDL_Rect& frame = kLayout[TP_FRAME];
    // The selection frames reach 3 pixels above the first row of slots.
    const int headings_bottom = kLayout[TP_GIVE0].y - 4;
    const int intro_h = std::max(0, intro_lines) * intro_skip;
    const int above_intro = std::max(29, 15 + title_h);
    TradePostTextLayout l;
    l.frame_top = std::min(frame.y, headings_bottom - heading_h - 2 - intro_h - above_intro);
    l.title_y = l.frame_top + 15;
    l.intro_y = l.frame_top + above_intro;
    l.headings_y = std::min(headings_bottom - heading_h, std::max(l.frame_top + 66, l.intro_y + intro_h + 2));
    return l;
}

void TradingPostSystem::open_dialog(int who, int market_count, GameState* game) {
    close();
    open = true;
    player = who;
    markets = std::max(market_count, 1);
    give = get = -1;
    state = game;
    compute_layout();
}

void TradingPostSystem::close() { *this = TradingPostSystem{}; }

void TradingPostSystem::compute_layout() { rects = kLayout; }

TradeRatio TradingPostSystem::current_ratio() const {
    if (give < 0 || get < 0) return {};
    const TradeRes g = tp_res_at(give), r = tp_res_at(get);
    if (g == r) return {};
    return trade_rate(markets, g, r);
}

int TradingPostSystem::owned_give() const {
    if (!state || give < 0 || !is_player_index(player)) return 0;
    return tp_player_amount(*state, player, tp_res_at(give));
}

void TradingPostSystem::execute_trade() {
    if (!state || give < 0 || get < 0 || amount <= 0) return;
    apply_trade(*state, player, markets, tp_res_at(give), tp_res_at(get), amount);
    amount = 0;
}

bool TradingPostSystem::handle_sdl_event(const SDL_Event& e) {
    if (!open) return false;
    if (e.type == SDL_KEYDOWN) {
        const SDL_Keycode k = e.key.keysym.sym;
        if (k == SDLK_ESCAPE) close();
        else if (k == SDLK_RETURN) execute_trade();
        return true;
    }
    if (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_LEFT) {
        const int x = e.button.x, y = e.button.y;
        for (int i = 0; i < kTradeResCount; ++i) {
            if (in(rects[static_cast<size_t>(TP_GIVE0 + i)], x, y)) {
                give = i;
                if (get == i) get = -1;
                amount = 0;
                return true;
            }
        }
        for (int i = 0; i < kTradeResCount; ++i) {
            if (in(rects[static_cast<size_t>(TP_GET0 + i)], x, y)) {
                get = i;
                if (give == i) give = -1;
                amount = 0;
                return true;
            }
        }
        if (in(rects[TP_UP], x, y)) up_pressed = true;
        else if (in(rects[TP_DOWN], x, y)) down_pressed = true;
        else if (in(rects[TP_MAX], x, y)) max_pressed = true;
        else if (in(rects[TP_TRADE], x, y)) trade_pressed = true;
        else if (in(rects[TP_EXIT], x, y)) exit_pressed = true;
        return true;
    }
    if (e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_LEFT) {
        const int x = e.button.x, y = e.button.y;
        const TradeRatio ratio = current_ratio();
        const int step = ratio.give >= 1 ? ratio.give : 1;
        const int max = trade_max_give(ratio, owned_give());
        if (up_pressed) {
            up_pressed = false;
            if (in(rects[TP_UP], x, y)) amount = static_cast<int>(std::min<long long>(max, 0LL + amount + step));
        } else if (down_pressed) {
            down_pressed = false;
            if (in(rects[TP_DOWN], x, y)) amount = std::max(0, amount - step);
        } else if (max_pressed) {
            max_pressed = false;
            if (in(rects[TP_MAX], x, y)) amount = max;
        } else if (trade_pressed) {
            trade_pressed = false;
            if (in(rects[TP_TRADE], x, y)) execute_trade();
        } else if (exit_pressed) {
            exit_pressed = false;
            if (in(rects[TP_EXIT], x, y)) close();
        }
        return true;
    }
    return true;
}

std::string TradingPostSystem::amount_text() const {
    const TradeRatio ratio = current_ratio();
    if (give >= 0 && get >= 0 && give != get && ratio.give >= 1)
        return std::to_string(amount) + " -> " + std::to_string(trade_get_amount(ratio, amount));
    return std::to_string(amount);
}

std::string TradingPostSystem::ratio_label(int slot) const {
    if (give < 0) return "";
    const TradeRes g = tp_res_at(give), r = tp_res_at(slot);
    if (g == r) return "";
    const TradeRatio ratio = trade_rate(markets, g, r);
    if (ratio.give == 1) return std::to_string(ratio.get);
    return "1/" + std::to_string(ratio.give);
}

}  // namespace vorn1
