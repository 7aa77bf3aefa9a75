#pragma once
// The town screen: the town picture with its buildings, the garrison and visiting hero rows, the
// owner's treasury, the exit button and the status bar; and the hit tests of the town picture.
#include <SDL.h>
#include <SDL_ttf.h>

#include <array>
#include <cstdint>

namespace vorn1 {

struct CastleScreenResources;
struct Resources;
struct GameState;
struct CastleState;

struct MageGuildRecord {
    int frame, x, y, w, h;
};
extern const std::array<MageGuildRecord, 8> MAGE_GLD_DATA;
// Per faction: the drawing order of dwellings 0..5 and each one's top-left corner.
extern const std::array<std::array<int, 6>, 4> DWELLING_ORDER;
extern const std::array<std::array<int, 6>, 4> DWELLING_X;
extern const std::array<std::array<int, 6>, 4> DWELLING_Y;
// Size of a creature picture in an army slot, by creature id.
extern const std::array<int, 28> CS_MONSTER_W;
extern const std::array<int, 28> CS_MONSTER_H;
extern const std::array<int, 4> CAST_X, CAST_Y, CAST_W, CAST_H;
extern const std::array<int, 4> TENT_X, TENT_Y, TENT_W, TENT_H;

// The exit button: a press and release inside closes the town screen.
constexpr SDL_Rect kCastleExitRect{553, 430, 80, 25};

// Mage guild level 0..4 from the building bits (4 over 3 over 2 over 1).
int castle_mage_guild_level(uint16_t buildings);
// The MAGE_GLD_DATA records drawn for a level, in drawing order.
std::array<int, 8> mage_guild_records(int level, int& count);
// The frame shown for an animation step of a list of n pictures; -1 when it does not animate.
int castle_anim_frame(int n, int anim_step);
// The first live hero of the town's owner standing on its tile; -1 when none.
int castle_visiting_hero(const GameState& game, int castle);
// Index into Resources::colour_crests of an owner's colour byte (0 -> 2, 1 -> 1, 3 -> 3, else 0).
int castle_colour_crest_index(int colour);

void draw_castle_screen(SDL_Renderer* r, const CastleScreenResources& cres, const Resources& res,
                        const GameState& game, int castle, bool exit_pressed, TTF_Font* font, TTF_Font* small_font,
                        int anim_step);
void draw_army_row(SDL_Renderer* r, const CastleScreenResources& cres, const Resources& res, TTF_Font* font, int x,
                   int y, const uint8_t* ids, const uint16_t* counts);

// A width or height below 1 selects the table's size.
bool castle_sprite_hit(int x, int y, uint8_t faction, int w, int h);
bool tent_sprite_hit(int x, int y, uint8_t faction);
bool dock_sprite_hit(int x, int y, const CastleScreenResources& cres);

// A building of the town picture; `dwelling` is the slot 0..5 of a dwelling, -1 otherwise.
enum TownSpotKind : int8_t {
    TOWN_SPOT_NONE = -1,
    TOWN_SPOT_CASTLE,
    TOWN_SPOT_TENT,
    TOWN_SPOT_MAGE_GUILD,
    TOWN_SPOT_DWELLING,
    TOWN_SPOT_THIEVES_GUILD,
    TOWN_SPOT_TAVERN,
    TOWN_SPOT_WELL,
    TOWN_SPOT_DOCK,
};
struct TownSpot {
    TownSpotKind kind = TOWN_SPOT_NONE;
    int dwelling = -1;
};
constexpr int kTownPictureH = 256;
constexpr int kMaxTownLayers = 12;
// The town's buildings in the order the town picture draws them, back to front; `count` are used.
std::array<TownSpot, kMaxTownLayers> town_picture_layers(uint8_t faction, uint16_t buildings, bool is_castle,
                                                         int& count);
// The building a click at (x, y) means. Where hit rectangles overlap, the one drawn in front wins, so a
// click on a picture opens that building. `cres` gives the castle's and the dock's sizes (null: the
// tables' and the fallback dock's).
TownSpot town_picture_hit(int x, int y, const CastleState& town, const CastleScreenResources* cres);

}  // namespace vorn1
