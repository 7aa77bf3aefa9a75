#pragma once
// The thieves' guild: the players ranked in eight categories, as many revealed as the town's owner
// has guilds (all of them in the full view that a map site opens), with the trading post's signpost.
#include <SDL.h>
#include <SDL_ttf.h>

#include <array>
#include <cstdint>
#include <vector>

namespace vorn1 {

struct CastleScreenResources;
struct Resources;
struct GameState;
struct CastleState;
struct PuzzleMapState;
struct Image;

struct ThievesGuildState {
    bool open = false;
    bool full_view = false;
    bool exit_pressed = false;
};

// Per player 0..3 the eight category values; -1 for a player with neither a live town nor a live hero.
struct RankingData {
    std::array<std::array<int64_t, 8>, 4> value{};
};

struct CreaturePair {
    uint8_t first, second;
};
extern const std::array<CreaturePair, 28> CREATURE_STATS;
extern const std::array<int, 8> TG_ROW_Y;
extern const std::array<int, 4> TG_COL_CX;
extern const std::array<int, 4> TG_COL_LABEL_X;

bool thieves_guild_sprite_hit(int x, int y, const CastleState& town);
void open_thieves_guild_screen(ThievesGuildState& s);
void close_thieves_guild_screen(ThievesGuildState& s);
bool trading_post_signpost_visible(const GameState& game, int castle, bool trade_enabled);
SDL_Rect trading_post_signpost_rect(bool big);
// The large signpost, 72 x 36, a picture of the program's own on a near-black ground to be keyed out.
const Image& trading_post_signpost_image();

int64_t player_army_strength(const GameState& game, int player);
RankingData compute_ranking(const GameState& game, const PuzzleMapState* puzzle);
// Rows shown for a guild count: 3 with one guild, 5 with two, 7 with three, all 8 with four.
int thieves_guild_rows_shown(int guilds);
// The places of one row: each place holds the players that share its value, best first (at most four).
std::vector<std::vector<int>> rank_for_row(const RankingData& data, int row);
// Horizontal offsets of n flags sharing a place.
std::vector<int> flag_offsets(int n);

// 0 while closed, else 1 (every event is taken).
int handle_thieves_guild_event(const SDL_Event& e, ThievesGuildState& s, const GameState* game, int castle,
                               bool trade_enabled, bool* open_trading_post, bool big);
void draw_thieves_guild_screen(SDL_Renderer* r, const CastleScreenResources& cres, const Resources& res,
                               const GameState& game, int castle, const ThievesGuildState& s, TTF_Font* font,
                               const PuzzleMapState* puzzle, SDL_Texture* signpost_small, bool trade_enabled,
                               SDL_Texture* signpost_big);

}  // namespace vorn1
