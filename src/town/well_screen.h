#pragma once
// The well screen: each of the town's six dwellings with its creature, how many wait to be recruited
// and how many the dwelling adds each week.
#include <SDL.h>
#include <SDL_ttf.h>

#include <array>
#include <cstdint>

namespace vorn1 {

struct CastleScreenResources;
struct Resources;
struct GameState;
struct CastleState;

struct WellScreenState {
    bool open = false;
    bool exit_pressed = false;
};

extern const std::array<uint16_t, 6> DWELLING_BIT;
extern const std::array<std::array<int, 6>, 4> FACTION_BLD_FRAME;
extern const std::array<std::array<int, 6>, 4> FACTION_CREATURE_ID;
extern const std::array<std::array<const char*, 6>, 4> FACTION_DWELLING_NAME;
extern const std::array<int, 3> WS_ROW_Y;

bool well_sprite_hit(int x, int y, const CastleState& town);
void open_well_screen(WellScreenState& s);
void close_well_screen(WellScreenState& s);
// 1 when the screen closed.
int handle_well_event(const SDL_Event& e, WellScreenState& s);
// The growth line's number: the dwelling's weekly growth plus the well's 2.
int well_shown_growth(uint8_t faction, int dwelling);
void draw_well_screen(SDL_Renderer* r, const CastleScreenResources& cres, const Resources& res, const GameState& game,
                      int castle, const WellScreenState& s, TTF_Font* font);

// Shared by the town's sub-screens: the stone status bar with its text, and the exit button.
void draw_town_status_bar(SDL_Renderer* r, const Resources& res);
constexpr SDL_Rect kSubScreenExit{554, 237, 80, 25};
// Exit-button input of a sub-screen (inclusive x 554..633, y 237..261): true when it should close.
bool sub_screen_exit_event(const SDL_Event& e, bool& exit_pressed);

}  // namespace vorn1
