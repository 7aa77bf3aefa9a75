#include <gtest/gtest.h>

#include "world/tile_attack.h"

using namespace vorn1;

namespace {

int add_hero(GameState& s, int owner, int x, int y) {
    HeroState h;
    h.live = 1;
    h.owner = owner;
    h.x = x;
    h.y = y;
    s.heroes.push_back(h);
    return (int)s.heroes.size() - 1;
}

int add_town(GameState& s, int owner, int x, int y, bool castle, uint8_t id, int32_t count) {
    CastleState c;
    c.live = 1;
    c.owner = owner;
    c.x = x;
    c.y = y;
    c.is_castle = castle ? 1 : 0;
    c.garrison.ids[1] = id;
    c.garrison.counts[1] = count;
    s.castles.push_back(c);
    return (int)s.castles.size() - 1;
}

}  // namespace

// Red (0) attacks: what it fights on each kind of tile, and the stacks of the garrison that fights.
TEST(TileAttack, EachTileFightsItsOwnBattle) {
    GameState s;
    const int town = add_town(s, 2, 5, 5, false, 7, 5);    // Blue's town without walls, index 0
    const int castle = add_town(s, 2, 9, 9, true, 8, 12);  // Blue's castle
    const int own = add_town(s, 0, 3, 3, false, 6, 4);     // Red's own town
    const int field = add_hero(s, 2, 1, 1);
    add_hero(s, 0, 2, 2);  // Red's own hero: nobody to fight
    const int keeper = add_hero(s, 2, 9, 9);
    const int visitor = add_hero(s, 1, 3, 3);

    TileAttack a = attack_on_tile(s, 0, 1, 1);
    EXPECT_EQ(a.form, AttackForm::Hero);
    EXPECT_EQ(a.hero, field);
    EXPECT_EQ(attack_garrison(s, a).ids[1], EMPTY_ID);
    EXPECT_EQ(attack_on_tile(s, 0, 2, 2).form, AttackForm::None);
    EXPECT_EQ(attack_on_tile(s, 0, 4, 4).form, AttackForm::None);

    // A castle is a siege of its garrison with the hero inside.
    a = attack_on_tile(s, 0, 9, 9);
    EXPECT_EQ(a.form, AttackForm::Siege);
    EXPECT_EQ(a.town, castle);
    EXPECT_EQ(a.hero, keeper);
    EXPECT_EQ(attack_garrison(s, a).ids[1], 8);
    EXPECT_EQ(attack_garrison(s, a).counts[1], 12);

    // An empty town without walls: its garrison alone.
    a = attack_on_tile(s, 0, 5, 5);
    EXPECT_EQ(a.form, AttackForm::Garrison);
    EXPECT_EQ(a.town, town);
    EXPECT_EQ(a.guard, -1);
    EXPECT_EQ(attack_garrison(s, a).ids[1], 7);
    EXPECT_EQ(attack_garrison(s, a).counts[1], 5);

    // A foe's hero in a town without walls, or in the attacker's own town, is met alone in the field.
    const int guest = add_hero(s, 2, 5, 5);
    a = attack_on_tile(s, 0, 5, 5);
    EXPECT_EQ(a.form, AttackForm::Hero);
    EXPECT_EQ(a.hero, guest);
    EXPECT_EQ(a.town, -1);
    a = attack_on_tile(s, 0, 3, 3);
    EXPECT_EQ(a.form, AttackForm::Hero);
    EXPECT_EQ(a.hero, visitor);
    EXPECT_EQ(attack_on_tile(s, 1, 3, 3).town, own);  // for another player it is a town to take

    // A guard record holds the tile in place of the town's garrison, with or without a town.
    NeutralTownGarrison guard;
    guard.live = 1;
    guard.x = 9;
    guard.y = 9;
    guard.ids[0] = 3;
    guard.counts[0] = 20;
    s.garrisons.push_back(guard);
    guard.x = 7;
    guard.y = 7;
    s.garrisons.push_back(guard);
    a = attack_on_tile(s, 0, 9, 9);
    EXPECT_EQ(a.guard, 0);
    EXPECT_EQ(attack_garrison(s, a).ids[0], 3);
    EXPECT_EQ(attack_garrison(s, a).ids[1], EMPTY_ID);
    a = attack_on_tile(s, 0, 7, 7);
    EXPECT_EQ(a.form, AttackForm::Garrison);
    EXPECT_EQ(a.town, -1);
    EXPECT_EQ(a.guard, 1);
    EXPECT_EQ(attack_garrison(s, a).counts[0], 20);

    // The edges, on a map without towns: nothing is read for a tile without a town; a guard's negative count
    // is nobody, not some 65,000 creatures; then the attacker's own castle as the first town is no battle.
    GameState e;
    guard.x = 4;
    guard.y = 4;
    guard.counts[0] = -1;
    e.garrisons.push_back(guard);
    add_hero(e, 2, 1, 1);
    a = attack_on_tile(e, 0, 4, 4);
    EXPECT_EQ(a.form, AttackForm::Garrison);
    EXPECT_EQ(a.town, -1);
    EXPECT_EQ(a.guard, 0);
    EXPECT_EQ(attack_garrison(e, a).ids[0], 3);
    EXPECT_EQ(attack_garrison(e, a).counts[0], 0);
    a.guard = 1;  // a record no longer in the list: no stacks, and no town read in its place
    EXPECT_EQ(attack_garrison(e, a).ids[0], EMPTY_ID);
    EXPECT_EQ(attack_on_tile(e, 0, 1, 1).form, AttackForm::Hero);
    EXPECT_EQ(attack_on_tile(e, 0, 2, 2).form, AttackForm::None);
    add_town(e, 0, 6, 6, true, 7, 5);
    e.castles[0].garrison.ids[0] = 4;
    e.castles[0].garrison.counts[0] = 9;
    EXPECT_EQ(attack_on_tile(e, 0, 6, 6).form, AttackForm::None);
    a = attack_on_tile(e, 1, 6, 6);  // for another player, the first town is a castle to besiege
    EXPECT_EQ(a.form, AttackForm::Siege);
    EXPECT_EQ(a.town, 0);
    EXPECT_EQ(attack_garrison(e, a).ids[0], 4);
    EXPECT_EQ(attack_garrison(e, a).counts[0], 9);
    const int raider = add_hero(e, 2, 6, 6);
    a = attack_on_tile(e, 0, 6, 6);
    EXPECT_EQ(a.form, AttackForm::Hero);
    EXPECT_EQ(a.hero, raider);
    EXPECT_EQ(a.town, -1);
}
