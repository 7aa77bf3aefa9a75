#pragma once
// The town's hire-a-hero dialog: the two pool heroes offered to the town's owner, each with a
// Recruit button, and Cancel; a read-only variant shows the offer without buttons.
#include <SDL.h>
#include <SDL_ttf.h>

#include <array>
#include <cstdint>
#include <functional>

namespace vorn1 {

struct GameState;
struct GameMap;
struct Resources;

// Where the price goes in the band between the Recruit and the Cancel buttons (moved down by dy): the
// gold picture with the number centred under it when both fit the band's height, else the number
// beside the picture, a picture taller than the band scaled down to it. `text` is the number's
// top-left corner; an empty picture size leaves the number alone at the band's top.
struct RecruitPricePlace {
    SDL_Rect icon{};
    SDL_Point text{};
};
RecruitPricePlace recruit_price_place(SDL_Point icon, SDL_Point text, int dy);

class RecruitHeroSystem {
public:
    bool open = false;
    int32_t castle = -1;
    int32_t recruit_pressed = -1;  // 0 or 1 while that Recruit button is held
    bool cancel_pressed = false;
    bool tooltip = false;          // read-only view, drawn 48 pixels lower
    std::array<int32_t, 2> offered{-1, -1};
    int32_t portrait_clicked = -1;  // set by a press on an offered portrait, for the caller

    void open_dialog(int castle, const GameState& game);
    void open_tooltip(int castle, const GameState& game);
    void populate_slots(int castle, const GameState& game);
    void close() { *this = RecruitHeroSystem{}; }

    SDL_Rect recruit_btn_rect(int i) const;
    SDL_Rect cancel_btn_rect() const;
    SDL_Rect portrait_rect(int i) const;

    // Nonzero when consumed.
    int handle_sdl_event(const SDL_Event& e, GameState& game, GameMap& map, const std::function<void(int)>& on_hired);
    // Whether the town's owner may hire now: 2500 gold, at most 7 live heroes, no hero in the town.
    static bool can_hire(const GameState& game, int castle);

    void draw(SDL_Renderer* r, const Resources& res, const GameState& game, TTF_Font* main_font,
              TTF_Font* small_font) const;
    void draw_hero_slot(SDL_Renderer* r, const Resources& res, const GameState& game, TTF_Font* main_font,
                        TTF_Font* small_font, int pool_index, int dx, int dy, bool pressed) const;

private:
    void hire(int i, GameState& game, GameMap& map, const std::function<void(int)>& on_hired);
    int dy() const { return tooltip ? 48 : 0; }
};

}  // namespace vorn1
