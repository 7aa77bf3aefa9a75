#pragma once
// The mage guild of a town: its nine spell slots by level, the teaching of a visiting hero, the
// guild screen over the town, and the spellbook purchase offered to a visitor without one.
#include <SDL.h>
#include <SDL_ttf.h>

#include <array>
#include <cstdint>

namespace vorn1 {

struct CastleScreenResources;
struct Resources;
struct GameState;
struct HeroState;
struct CastleState;
struct PlayerResources;
class EventSystem;

struct MageGuildState {
    bool open = false;
    bool exit_pressed = false;
    bool buy_prompt = false;
    bool buy_pressed = false;
    bool cancel_pressed = false;
    int32_t hovered_spell = -1;
    SDL_Rect buy_rect{};
    SDL_Rect cancel_rect{};
};

struct GuildPiece {
    int frame, dx, dy, w, h;
};
extern const std::array<GuildPiece, 8> FDEF;
extern const std::array<std::array<int, 2>, 4> LEVEL_FRAMES;  // first and last piece of levels 1..4
extern const std::array<int, 3> MG_ROW_Y;
extern const std::array<int, 3> MG_COL_CX;
constexpr int kSpellbookPrice = 500;

// The guild level (1..4) that opens slot 0..8.
int mage_guild_slot_level(int slot);
bool mage_guild_hit(int x, int y, const CastleState& town);
int mage_guild_spell_at(int x, int y, const CastleState& town, int level);
int hero_free_artifact_slot(const HeroState& hero);
// Raises each opened guild spell's casts to the hero's knowledge (with its bonus, at most 127).
void teach_mage_guild_spells(HeroState& hero, const CastleState& town);

void open_mage_guild_screen(MageGuildState& s, HeroState& hero, const CastleState& town);
void open_buy_spellbook_dialog(MageGuildState& s);
void close_mage_guild_screen(MageGuildState& s);
int handle_mage_guild_event(const SDL_Event& e, MageGuildState& s, const CastleState& town);
// 0 nothing done, 1 bought, 2 prompt and guild closed.
int handle_buy_spellbook_event(const SDL_Event& e, MageGuildState& s, HeroState& hero, PlayerResources& treasury,
                               const CastleState& town);

void draw_mage_guild_screen(SDL_Renderer* r, const CastleScreenResources& cres, const Resources& res,
                            const GameState& game, int castle, int hero, const MageGuildState& s, TTF_Font* font,
                            TTF_Font* small_font);
void draw_buy_spellbook_dialog(SDL_Renderer* r, const CastleScreenResources& cres, const Resources& res,
                               const GameState& game, int hero, const MageGuildState& s, TTF_Font* font,
                               TTF_Font* small_font);

}  // namespace vorn1
