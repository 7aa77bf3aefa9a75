#pragma once
// The creature-buying dialog of a town dwelling or a map dwelling, its right-click information
// panel and the garrison-full notice. The dialog never changes the game: it hands a RecruitResult
// to its opener's callback.
#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdint>
#include <functional>

#include "assets/palette.h"
#include "world/recruit_rules.h"

namespace vorn1 {

struct Resources;
class AggArchive;
class EventSystem;

// The two background pictures; null when missing.
struct RecruitResources {
    static constexpr const char* kDialogEntry = "RECRUIT.BMP";
    static constexpr const char* kPanelEntry = "RECRUIT2.BMP";

    RecruitResources() = default;
    ~RecruitResources() { unload(); }
    RecruitResources(const RecruitResources&) = delete;
    RecruitResources& operator=(const RecruitResources&) = delete;

    // A missing entry writes "  WARNING: <NAME> missing" to the error stream and stays null;
    // a loaded one writes "  <NAME>: loaded" to the output stream. Loading again frees first.
    void load(SDL_Renderer* renderer, const AggArchive& archive, const Palette& palette);
    void unload();

    SDL_Texture* dialog_bg = nullptr;
    SDL_Texture* panel_bg = nullptr;
};

using RecruitCallback = std::function<void(RecruitResult)>;

class RecruitSystem {
public:
    static constexpr SDL_Rect kDialogRect{152, 85, 336, 310};
    static constexpr SDL_Rect kPanelRect{152, 149, 336, 181};

    // The fields up to `count` are what the purchase bound reads.
    bool open = false;
    bool tooltip = false;
    int32_t castle = -1;
    int32_t dwelling = -1;
    uint8_t creature = EMPTY_ID;
    int32_t available = 0;
    CreatureCost unit_cost;
    int32_t count = 0;
    bool ok_pressed = false, cancel_pressed = false, up_pressed = false, down_pressed = false, max_pressed = false;
    SDL_Rect dialog_rect{}, ok_rect{}, cancel_rect{}, up_rect{}, down_rect{}, max_rect{}, count_rect{};
    RecruitCallback on_result;
    bool no_room_open = false;
    bool no_room_ok_pressed = false;
    SDL_Rect no_room_rect{};
    SDL_Rect no_room_ok_rect{};
    int32_t site_x = -1, site_y = -1, hero = -1;

    // A town dwelling (left click). An invalid town leaves the dialog open with nothing to buy.
    void open_dialog(int castle, int dwelling, const GameState& game, RecruitCallback cb);
    // A map dwelling visited by `hero`; paid from that hero's owner.
    void open_map_recruit(uint8_t creature, int available, int site_x, int site_y, int hero, RecruitCallback cb);
    // The information panel of a town dwelling (right click); no callback, no buttons.
    void open_tooltip(int castle, int dwelling, const GameState& game);
    // The garrison-full notice; the other fields keep their values.
    void open_no_room();
    // Resets every field, drops the callback and hides the notice.
    void close();
    void compute_layout();

    // How many creatures the open dialog may buy (available count and the paying treasury).
    int max_affordable(const GameState& game) const;
    // The result the dialog would hand over for its current count.
    RecruitResult build_result() const;

    // 0 when nothing shows (not consumed), else 1 for every event.
    int handle_sdl_event(const SDL_Event& e, const GameState& game);

    void draw(SDL_Renderer* r, const Resources& res, const RecruitResources& rres, const EventSystem& events,
              TTF_Font* main_font, TTF_Font* small_font) const;
    void draw_full_dialog(SDL_Renderer* r, const Resources& res, const RecruitResources& rres, TTF_Font* main_font,
                          TTF_Font* small_font) const;
    void draw_tooltip(SDL_Renderer* r, const Resources& res, const RecruitResources& rres, TTF_Font* main_font,
                      TTF_Font* small_font) const;
    void draw_no_room(SDL_Renderer* r, const Resources& res, const EventSystem& events, TTF_Font* main_font) const;
    // RESOURCE.ICN frame `icon` centred on centre_x at top_y, the amount centred 2 pixels below it.
    static void draw_resource_cost(SDL_Renderer* r, const Resources& res, TTF_Font* font, int icon, int amount,
                                   int centre_x, int top_y);

private:
    void accept();
    void fill_from_town(int castle, int dwelling, const GameState& game);
};

// The callback of a town purchase: applies it and opens the garrison-full notice when there
// was no room. The system and the game must outlive the open dialog.
RecruitCallback town_recruit_callback(RecruitSystem& sys, GameState& game);

// RESOURCE.ICN frame of the one rare resource a creature also costs; -1 when none.
int creature_rare_icon(uint8_t creature);
// The rare amount of a cost in the order of creature_rare_icon (0 when none).
int creature_rare_amount(uint8_t creature, const CreatureCost& cost);
// The English-key title name of a creature: the text of "CREATURE_<KEY>_ACC"; "" above 27.
std::string recruit_creature_name(uint8_t creature);

// The click rectangle of a dwelling slot 0..5 on the town picture (town_picture_hit decides which of
// overlapping buildings takes a click); all zero otherwise. Unknown factions use the knight's row.
SDL_Rect dwelling_sprite_rect(uint8_t faction, int slot);

}  // namespace vorn1
