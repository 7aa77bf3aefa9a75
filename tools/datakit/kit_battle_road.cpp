#include "datakit/kit_battle_road.h"

#include "adventure/adventure_spells.h"
#include "datakit/kit_maps.h"

namespace vorn1::kit {

GameMap make_battle_map() {
    MapBuilder b(36, 36, G_GRASS, "Battle Field");
    b.map.description = "A hero, a band of peasants next to him, and a castle to take.";
    b.town(4, 4, 0, 0, true, "Redwall");
    b.hero(kBattleMapHeroX, kBattleMapHeroY, 0, 0);
    // The map's music starts on the first tiles of a ground band only; the grass around is further in.
    b.at(kBattleMapHeroX, kBattleMapHeroY).ground = kBattleMapHeroGround;
    b.monster(kBattleMapMonsterX, kBattleMapMonsterY, 0, 5, false);
    b.graveyard(kBattleMapGraveX, kBattleMapGraveY, 0);
    b.town(kBattleMapCastleX, kBattleMapCastleY, 1, 1, true, "Bluehold");
    b.town(30, 30, 1, 1, true, "Farkeep");
    b.hero(31, 31, 9, 1);
    return b.map;
}

GameMap make_spell_map() {
    MapBuilder b(36, 36, G_GRASS, "Spell Field");
    b.map.description = "A hero, a spellbook, two shrines and ogres to try the spells on.";
    b.town(4, 4, 0, 0, true, "Redwall");
    b.hero(kBattleMapHeroX, kBattleMapHeroY, 18, 0);  // heroes from 18 on start with a spellbook
    b.shrine(kBattleMapHeroX, kBattleMapHeroY - 1, SPELL_VIEW_ALL);
    b.shrine(kBattleMapHeroX, kBattleMapHeroY + 1, 26);  // Meteor Shower
    b.monster(kSpellMapMonsterX, kBattleMapHeroY, 9, 10);
    b.town(30, 30, 1, 1, true, "Farkeep");
    b.hero(31, 31, 9, 1);
    return b.map;
}

GameMap make_siege_map() {
    MapBuilder b(36, 36, G_GRASS, "Siege at Dawn");
    b.map.description = "A warlock's band waits at the gate of a knight's castle.";
    // The player's hero stands in the castle (on its entrance); the second town keeps the player in the
    // game whatever the siege brings. The siege is the band's whatever the battle's draws: the weakest
    // knight against the strongest warlock band (tests/mainloop/kit_sieges_test.cpp).
    b.town(kSiegeMapCastleX, kSiegeMapCastleY, 0, 0, true, "Redwall");
    b.town(4, 30, 0, 0, false, "Redmoor");
    b.hero(kSiegeMapCastleX, kSiegeMapCastleY, kWeakestKnight[0], 0);
    b.hero(kSiegeMapCastleX + 2, kSiegeMapCastleY + 2, kStrongestWarlock[0], 1);
    b.town(30, 30, 3, 1, true, "Bluehold");
    return b.map;
}

namespace {

// The two humans' castles, each with its human's hero inside (the weakest knights: a random one could
// hold a castle against a band), and the first computer's, each in a corner.
void hot_seat_castles(MapBuilder& b) {
    b.town(kHotSeatCastleX[0], kHotSeatCastleY[0], 0, 0, true, "Westwatch");
    b.town(kHotSeatCastleX[1], kHotSeatCastleY[1], 0, 1, true, "Eastwatch");
    for (int seat = 0; seat < 2; ++seat)
        b.hero(kHotSeatCastleX[seat], kHotSeatCastleY[seat], kWeakestKnight[seat], seat);
    b.town(27, 28, 3, 2, true, "Gloomhold");
}

}  // namespace

GameMap make_hot_seat_siege_map(int gate_seat) {
    const int gate = gate_seat == 1 ? 1 : 0;
    MapBuilder b(36, 36, G_GRASS, gate == 0 ? "Shared Siege I" : "Shared Siege II");
    b.map.description = gate == 0 ? "Hot seat: a computer's warlock band waits at the first player's castle gate."
                                  : "Hot seat: a computer's warlock band waits at the second player's castle gate.";
    hot_seat_castles(b);
    b.town(8, 28, 2, 3, true, "Sandmere");
    b.hero(kHotSeatCastleX[gate] + 2, kHotSeatCastleY[gate] + 2, kStrongestWarlock[0], 2);
    return b.map;
}

GameMap make_hot_seat_rout_map() {
    MapBuilder b(36, 36, G_GRASS, "Twin Sieges");
    b.map.description = "Hot seat: a computer's warlock bands wait at both players' castle gates.";
    hot_seat_castles(b);
    // The stronger band at the stronger knight's gate.
    b.hero(kHotSeatCastleX[0] + 2, kHotSeatCastleY[0] + 2, kStrongestWarlock[1], 2);
    b.hero(kHotSeatCastleX[1] + 2, kHotSeatCastleY[1] + 2, kStrongestWarlock[0], 2);
    return b.map;
}

const StringMap& battle_road_english_strings() {
    static const StringMap texts{
        {"GAME_JOIN_TITLE", "Followers"},
        {"GAME_JOIN_OFFER", "A group of {0} with a desire for greater glory wish to join you. Do you accept?"},
        {"GAME_JOIN_INSULTED", "The creatures are insulted by your refusal and attack!"},
        {"GAME_CAPTURED_ARTIFACT", "You have captured an enemy artifact: {0}."},
        {"GAME_ARTIFACT_VANISH_SELF", "Your {0} was lost with your hero."},
        {"GAME_ARTIFACT_VANISH_ENEMY", "The enemy's {0} vanished: your hero had no room to carry it."},
        {"BATTLE_VICTORY", "A glorious victory!"},
        {"BATTLE_FOR_VALOR2", "For valor in combat, {0}"},
        {"BATTLE_RECEIVES_EXP2", "receives {0} experience."},
        {"BATTLE_COWARDLY_FLEES", "The cowardly {0} flees"},
        {"BATTLE_HERO_FALLBACK", "Your hero flees"},
        {"BATTLE_ENEMY_HERO_FLEES", "The enemy hero flees"},
        {"BATTLE_FROM_BATTLE", "from the battle."},
        {"BATTLE_SURRENDERS_TO", "{0} surrenders to the enemy,"},
        {"BATTLE_YOUR_HERO", "Your hero surrenders to the enemy,"},
        {"BATTLE_ENEMY_HERO_SURRENDERS", "The enemy hero surrenders,"},
        {"BATTLE_ENEMY_DEPARTS", "and departs in shame."},
        {"BATTLE_COST_SURRENDER", "The cost of surrender is {0} gold."},
        {"BATTLE_YOUR_FORCES_BITTER", "Your forces suffer a bitter defeat,"},
        {"BATTLE_DEFEAT_AND", "and {0} abandons"},
        {"BATTLE_YOUR_HERO_LC", "and your hero abandons"},
        {"BATTLE_ABANDONS", "your cause."},
        {"BATTLE_FORCES_DEFEATED", "Your forces suffer a bitter defeat."},
        {"BATTLE_CASUALTIES", "Battlefield Casualties"},
        {"BATTLE_ATTACKER", "Attacker"},
        {"BATTLE_DEFENDER", "Defender"},
        {"BATTLE_NONE", "None"},
        {"BATTLE_DONE", "Done"},
        {"BATTLE_VICTORY_SHORT", "Victory!"},
        {"BATTLE_DEFEAT", "Defeat!"},
    };
    return texts;
}

}  // namespace vorn1::kit
