#pragma once
// Spells a hero casts on the adventure map: the view spells (shown on the world map), Dimension Door
// with its landing rule and targeting, Town Gate and Summon Boat. Rules work without a renderer.
#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vorn1 {

struct GameState;
struct GameMap;
struct AdventureResources;

enum AdventureSpell : int {
    SPELL_VIEW_MINES = 5,
    SPELL_VIEW_RESOURCES = 6,
    SPELL_SUMMON_BOAT = 12,
    SPELL_VIEW_ARTIFACTS = 14,
    SPELL_IDENTIFY_HERO = 17,
    SPELL_VIEW_HEROES = 22,
    SPELL_VIEW_TOWNS = 23,
    SPELL_DIMENSION_DOOR = 25,
    SPELL_TOWN_GATE = 27,
    SPELL_VIEW_ALL = 28,
};
constexpr int kAdventureSpellIds[10] = {5, 6, 12, 14, 17, 22, 23, 25, 27, 28};
constexpr int kDimDoorRange = 7;
constexpr int kDimDoorPoints = 12;

// What the world map shows through the fog after a view spell (bits).
enum ViewReveal : uint8_t {
    REVEAL_MINES = 0x01,
    REVEAL_RESOURCES = 0x02,
    REVEAL_ARTIFACTS = 0x04,
    REVEAL_HEROES = 0x08,
    REVEAL_TOWNS = 0x10,
    REVEAL_ALL = 0x20,  // the whole map, terrain included
};
// The reveal bits of a view spell; 0 for any other spell.
uint8_t view_spell_reveal(int spell);

// The landing rule itself, is_dimdoor_passable, is declared in world/tile_rules.h.

// The adventure spells the hero can cast now (spell book, at least one cast left), in id order.
std::vector<int> castable_adventure_spells(const GameState& state, int hero);

// Why a cast is refused (0 = allowed).
enum class CastRefusal : int { None = 0, NoHero, NoBook, NoCharges, NotAdventure, OnBoat, NoPoints, NoTarget };
// Whether the hero may start the spell (Dimension Door also needs 12 points; Dimension Door, Town Gate
// and Summon Boat are cast from land only).
CastRefusal can_cast_adventure_spell(const GameState& state, const GameMap& map, int hero, int spell, int mp_left);
// Why a cast was refused, in the current language; empty for None and NoHero.
std::string cast_refusal_message(CastRefusal r);

// Takes one cast of the spell (never below 0).
void spend_spell_charge(GameState& state, int hero, int spell);

// The Dimension Door target is in reach: not the hero's own tile, within 7 tiles (Chebyshev),
// explored by the hero's owner and passable.
bool dimdoor_target_ok(const GameState& state, const GameMap& map, int hero, int x, int y);
// Jumps: old tile marks cleared, hero placed (frame 18), 12 points and one cast spent, land revealed
// around the landing (radius 5). False, and nothing changed, when the target is not ok.
bool apply_dim_door(GameState& state, GameMap& map, int hero, int x, int y, int& mp_left);

// Town Gate: the hero's nearest own town (by Chebyshev distance, first in the list on ties) whose
// entrance is free; -1 when none. Casting moves the hero onto that entrance.
int town_gate_target(const GameState& state, const GameMap& map, int hero);
bool apply_town_gate(GameState& state, GameMap& map, int hero);

// Summon Boat: the nearest active empty boat is moved to a free water tile beside the hero on land.
// False when there is no boat or no free water tile beside the hero.
bool apply_summon_boat(GameState& state, GameMap& map, int hero);

// Identify Hero: until the caster's turn ends, quick information shows the heroes of other players
// in full (skills and exact army), as it shows the player's own.
struct IdentifyHeroState {
    uint8_t players = 0;  // bit p: player p sees other players' heroes in full
};
// Spends one cast and marks the caster's owner; false, and nothing changed, for a hero that is not a
// live hero of a seat or cannot cast it.
bool apply_identify_hero(IdentifyHeroState& s, GameState& state, int hero);
bool identify_hero_active(const IdentifyHeroState& s, int player);
// At the end of the player's turn.
void end_identify_hero(IdentifyHeroState& s, int player);

// What casting a spell picked from the spell book came to, for the caller to carry on.
struct AdventureCast {
    enum Kind { Refused, ShowWorldMap, ChooseLanding, Moved, BoatSummoned, HeroesIdentified } kind = Refused;
    CastRefusal refusal = CastRefusal::None;
    uint8_t reveal = 0;  // ShowWorldMap: the ViewReveal bits
    int x = -1, y = -1;  // Moved: the hero's new tile
};
// Casts an adventure spell: a view spell takes its cast and asks for the world map, Dimension Door
// asks for a landing (its cast and points are taken on landing, apply_dim_door), Town Gate and Summon
// Boat act at once, Identify Hero marks the owner. A refused cast changes nothing.
AdventureCast cast_adventure_spell(GameState& state, GameMap& map, IdentifyHeroState& identify, int hero, int spell,
                                   int mp_left);

// ---- Dimension Door targeting on the adventure map
struct DimDoorState {
    bool open = false;
    int hero = -1;
};
void open_dim_door(DimDoorState& s, int hero);
void close_dim_door(DimDoorState& s);

struct DimDoorAction {
    enum Kind { None, Cancel, Land } kind = None;
    int x = -1, y = -1;
};
// Left click on a tile in reach: Land there; right click or Esc: Cancel (the panel closes either way).
DimDoorAction handle_dim_door_event(const SDL_Event& e, DimDoorState& s, const GameState& state, const GameMap& map,
                                    int view_x, int view_y);

}  // namespace vorn1
