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

}  // namespace vorn1
