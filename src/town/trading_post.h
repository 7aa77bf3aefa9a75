#pragma once
// The trading post: the current player gives one resource for another at the market rates.
#include <SDL.h>
#include <SDL_ttf.h>

#include <array>
#include <cstdint>
#include <string>

#include "world/trade_rates.h"

namespace vorn1 {

struct GameState;
struct Resources;
struct RecruitResources;

// Slot i shows TradeRes i: wood, ore, mercury, sulfur, crystal, gems, gold.
extern const std::array<TradeRes, kTradeResCount> TP_DISPLAY_ORDER;
// The resource of a slot; gold for an index outside 0..6.
TradeRes tp_res_at(int slot);
// RSRC32.ICN frame of a picture id: 61 + id for 0..6, else 61.
int rsrc32_frame(int icon_id);

// Indices into TradingPostSystem::rects.
enum TpRect : int {
    TP_FRAME = 0,
    TP_GIVE0 = 1,    // give slots 1..7
    TP_GET0 = 8,     // receive slots 8..14
    TP_TRADE = 15,
    TP_EXIT = 16,
    TP_UP = 17,
    TP_DOWN = 18,
    TP_MAX = 19,
    TP_AMOUNT = 20,
    TP_RECT_COUNT = 21,
};

// Where the dialog's texts stand (tops of the title, the intro's first line and the column headings)
// and the top of its frame, for the fonts' heights, the intro's line skip and number of lines. The
// headings end above the slots' selection frames, the intro above the headings and the title above
// the intro; when the usual frame leaves too little room the frame reaches higher.
struct TradePostTextLayout {
    int frame_top = 0, title_y = 0, intro_y = 0, headings_y = 0;
};
TradePostTextLayout trade_post_text_layout(int title_h, int intro_skip, int intro_lines, int heading_h);

class TradingPostSystem {
public:
    bool open = false;
    int32_t player = -1;
    int32_t markets = 1;
    int32_t give = -1;  // slot 0..6 of the resource given; -1 none
    int32_t get = -1;   // slot 0..6 of the resource received; -1 none
    int32_t amount = 0;
    bool trade_pressed = false, exit_pressed = false, up_pressed = false, down_pressed = false, max_pressed = false;
    std::array<SDL_Rect, TP_RECT_COUNT> rects{};
    GameState* state = nullptr;  // borrowed while open

    // Opens for the player (markets below 1 count as 1), discarding any earlier selection.
    void open_dialog(int player, int markets, GameState* game);
    void close();
    void compute_layout();
    // True while open: every event is consumed.
    bool handle_sdl_event(const SDL_Event& e);
    void draw(SDL_Renderer* r, const Resources& res, const RecruitResources& rres, TTF_Font* font,
              TTF_Font* small_font) const;

    // {0, 0} without both selections or for the same resource twice.
    TradeRatio current_ratio() const;
    int owned_give() const;
    void execute_trade();

    // The amount box's text: "amount -> received" for a valid pair, else the amount alone.
    std::string amount_text() const;
    // The rate shown under receive slot i, "" when none ("%d" for 1:n, "1/%d" for n:1).
    std::string ratio_label(int slot) const;
};

}  // namespace vorn1
