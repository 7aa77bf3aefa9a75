#include <gtest/gtest.h>

#include <SDL.h>

#include "battle/battle_resources.h"
#include "battle/battle_screen.h"
#include "battle/headless_battle.h"
#include "battle/morale_luck.h"
#include "world/game_state.h"
#include "world/map.h"

using namespace vorn1;

namespace {

// Opens need a renderer and the battle resources, not any art: a software renderer on a surface.
class BattleOpen : public ::testing::Test {
protected:
    void SetUp() override {
        surface = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_RGBA8888);
        ASSERT_NE(surface, nullptr);
        renderer = SDL_CreateSoftwareRenderer(surface);
        ASSERT_NE(renderer, nullptr);
        battle.init(&res, nullptr, renderer, nullptr, nullptr);
        map.width = 72;
        map.height = 72;
        map.tiles.assign(72 * 72, MapTile{});
        battle.scenery_hook = [this](BattleScreen&, const GameMap&, int x, int y, unsigned seed, bool,
                                     const std::string& bkg) {
            scenery_calls.push_back({x, y, static_cast<int>(seed)});
            last_background = bkg;
        };
        battle.music_hook = [this](BattleScreen&, unsigned) { ++music_calls; };
    }
    void TearDown() override {
        battle.shutdown();
        SDL_DestroyRenderer(renderer);
        SDL_FreeSurface(surface);
    }

    int add_hero(int x, int y, uint8_t crest, std::initializer_list<std::pair<int, int>> army, int owner = 0) {
        HeroState h;
        h.live = 1;
        h.x = x;
        h.y = y;
        h.crest = crest;
        h.owner = owner;
        h.portrait = 7;
        h.name = "Hero" + std::to_string(game.heroes.size());
        int i = 0;
        for (auto [id, count] : army) {
            h.army.ids[i] = static_cast<uint8_t>(id);
            h.army.counts[i] = static_cast<uint16_t>(count);
            ++i;
        }
        game.heroes.push_back(h);
        return static_cast<int>(game.heroes.size()) - 1;
    }

    void add_monster(int x, int y, uint8_t id, int count) {
        MonsterStackState m;
        m.x = x;
        m.y = y;
        m.creature = id;
        m.count = count;
        game.monsters.push_back(m);
    }

    std::array<int32_t, 5> defender_counts() const {
        std::array<int32_t, 5> c{};
        for (int i = 0; i < 5; ++i) c[i] = battle.defenders[i].count;
        return c;
    }

    SDL_Surface* surface = nullptr;
    SDL_Renderer* renderer = nullptr;
    BattleResources res;
    BattleScreen battle;
    GameMap map;
    GameState game;
    std::vector<std::array<int, 3>> scenery_calls;
    std::string last_background;
    int music_calls = 0;
};

}  // namespace

TEST_F(BattleOpen, NeedsServices) {
    BattleScreen bare;
    int h = add_hero(3, 3, 0, {{0, 10}});
    add_monster(4, 3, 8, 12);
    bare.open(h, 4, 3, map, game, 5, true);
    EXPECT_EQ(bare.active, 0);
    EXPECT_EQ(bare.attacker_side.hero, -1);
    EXPECT_EQ(bare.attackers[0].creature, 255);
}

TEST_F(BattleOpen, MonsterSplitsIntoFiveStacks) {
    int h = add_hero(3, 3, 0, {{0, 10}, {23, 2}});
    add_monster(4, 3, 8, 12);  // Wolves, two-hex
    battle.open(h, 4, 3, map, game, 77, false);
    EXPECT_EQ(battle.active, 1);
    EXPECT_EQ(battle.rng, 77u);
    EXPECT_EQ(battle.monster_id, 8);
    EXPECT_EQ(battle.monster_count, 12);
    EXPECT_EQ(defender_counts(), (std::array<int32_t, 5>{3, 3, 2, 2, 2}));
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(battle.defenders[i].row, i);
        EXPECT_EQ(battle.defenders[i].col, 6);
        EXPECT_EQ(battle.defenders[i].top_hp, 20);
        EXPECT_EQ(battle.defenders[i].side, 1);
    }
    EXPECT_EQ(battle.attackers[0].col, 1);
    EXPECT_EQ(battle.attackers[1].col, 2);  // Dragon attacker
    EXPECT_EQ(battle.attackers[1].top_hp, 200);
    EXPECT_EQ(battle.attackers[2].creature, 255);
    EXPECT_EQ(battle.attacker_start_counts, (std::array<int32_t, 5>{10, 2, 0, 0, 0}));
    EXPECT_EQ(battle.defender_start_counts, (std::array<int32_t, 5>{3, 3, 2, 2, 2}));
    EXPECT_EQ(battle.bonus_experience, 0);
    EXPECT_EQ(battle.current, 0);
    EXPECT_FALSE(battle.queue.empty());
    EXPECT_EQ(battle.message, "BATTLE_BEGINS");
    // The field is built at the hero's tile; the music starts.
    ASSERT_EQ(scenery_calls.size(), 1u);
    EXPECT_EQ(scenery_calls[0][0], 3);
    EXPECT_EQ(scenery_calls[0][1], 3);
    EXPECT_EQ(music_calls, 1);
    // Missing hero art: the fixed tent rectangle.
    EXPECT_EQ(battle.attacker_tent_rect.y, 157);
    EXPECT_EQ(battle.attacker_tent_rect.w, 76);
}

TEST_F(BattleOpen, SmallAndMissingMonsters) {
    int h = add_hero(3, 3, 0, {{0, 10}});
    add_monster(10, 10, 0, 3);
    battle.open(h, 10, 10, map, game, 1, true);
    EXPECT_EQ(defender_counts(), (std::array<int32_t, 5>{1, 1, 1, 0, 0}));
    EXPECT_EQ(battle.defenders[3].creature, 255);
    EXPECT_EQ(music_calls, 0);
    battle.close();

    add_monster(11, 10, 0, 5);
    battle.open(h, 11, 10, map, game, 1, true);
    EXPECT_EQ(defender_counts(), (std::array<int32_t, 5>{1, 1, 1, 1, 1}));
    battle.close();

    // No record: the tile tells the creature (layer sprite set 12) and the count (detail byte, 5 when 0).
    map.tile(20, 20)->layer1_set = 12;
    map.tile(20, 20)->layer1_frame = 6;
    battle.open(h, 20, 20, map, game, 1, true);
    EXPECT_EQ(battle.monster_id, 6);
    EXPECT_EQ(battle.monster_count, 5);
    battle.close();
    map.tile(21, 20)->object_detail = 13;
    battle.open(h, 21, 20, map, game, 1, true);
    EXPECT_EQ(battle.monster_id, 13);
    EXPECT_EQ(battle.monster_count, 13);
    battle.close();

    // Off the map and no record: no defenders at all.
    battle.open(h, -1, -1, map, game, 1, true);
    EXPECT_EQ(battle.monster_id, 255);
    EXPECT_EQ(defender_counts(), (std::array<int32_t, 5>{0, 0, 0, 0, 0}));

    // A record with count 0 falls back on the tile byte.
    battle.close();
    add_monster(30, 30, 9, 0);
    battle.open(h, 30, 30, map, game, 1, true);
    EXPECT_EQ(battle.monster_id, 9);
    EXPECT_EQ(battle.monster_count, 5);
}

TEST_F(BattleOpen, ZeroSeedUsesTicksWithBitZero) {
    int h = add_hero(3, 3, 0, {{0, 10}});
    battle.tick_source = [] { return 1000u; };
    battle.open(h, -1, -1, map, game, 0, true);
    EXPECT_EQ(battle.rng, 1001u);
    battle.close();
    battle.tick_source = [] { return 0u; };
    battle.open(h, -1, -1, map, game, 0, true);
    EXPECT_EQ(battle.rng, 1u);  // never a zero state
}

TEST_F(BattleOpen, SideFromHero) {
    int h = add_hero(3, 3, 0x30, {{0, 10}, {1, 5}});  // knight, colour 3, one faction
    HeroState& hero = game.heroes[h];
    hero.attack = 120;
    hero.artifact_bonus = {20, 3, 0, 1};
    hero.defense = 4;
    hero.knowledge = 2;
    hero.visit_flags = 0x04 | 0x01;
    hero.luck = 1;
    hero.artifacts[0] = 31;
    battle.open(h, -1, -1, map, game, 1, true);
    EXPECT_EQ(battle.attacker_side.hero, h);
    EXPECT_EQ(battle.attacker_side.hero_class, 0);
    EXPECT_EQ(battle.attacker_side.hero_colour, 3);
    EXPECT_EQ(battle.attacker_side.portrait, 7);
    EXPECT_EQ(battle.attacker_side.attack, 127);
    EXPECT_EQ(battle.attacker_side.defense, 7);
    EXPECT_EQ(battle.attacker_side.knowledge, 3);
    EXPECT_EQ(battle.attacker_side.morale, 3);  // 1 knight + 1 mix + 2 flag, clamped
    EXPECT_EQ(battle.attacker_side.luck, 3);
    EXPECT_EQ(battle.attacker_side.name, "Hero0");

    // The same sums feed the headless battle.
    HeadlessSideInput in = headless_side_from_hero(hero, true);
    EXPECT_EQ(in.attack, 127);
    EXPECT_EQ(in.defense, 7);
    EXPECT_EQ(in.morale, 3);
    EXPECT_EQ(in.luck, 3);
    EXPECT_EQ(in.defending, 1);
    EXPECT_EQ(in.counts[0], 10);
    EXPECT_EQ(in.counts[2], 0);

    g_zizezo_bad_luck = true;
    hero.artifacts[1] = 12;
    EXPECT_EQ(hero_battle_luck(hero), 0);   // 1 + 1 + 1 - 3
    EXPECT_EQ(hero_battle_morale(hero), 3);
    g_zizezo_bad_luck = false;
    EXPECT_EQ(hero_battle_luck(hero), 3);
    EXPECT_EQ(hero_battle_morale(hero), 2);
}

TEST_F(BattleOpen, NeutralTownPacksStacks) {
    int h = add_hero(3, 3, 1, {{6, 10}});
    battle.open_neutral_town(h, 9, 9, {255, 4, 255, 23, 0}, {5, 7, 0, 1, 0}, map, game, 4, true, "gravyard.bkg");
    EXPECT_EQ(battle.active, 1);
    EXPECT_EQ(defender_counts(), (std::array<int32_t, 5>{7, 1, 0, 0, 0}));
    EXPECT_EQ(battle.defenders[0].creature, 4);
    EXPECT_EQ(battle.defenders[0].col, 6);
    EXPECT_EQ(battle.defenders[1].row, 1);
    EXPECT_EQ(battle.defenders[1].col, 6);
    EXPECT_EQ(battle.bonus_experience, 500);
    EXPECT_EQ(battle.garrison_slot, (std::array<int32_t, 5>{-1, -1, -1, -1, -1}));
    // Built first at the hero's tile, then again at the given tile with the picture.
    ASSERT_EQ(scenery_calls.size(), 2u);
    EXPECT_EQ(scenery_calls[1][0], 9);
    EXPECT_EQ(last_background, "gravyard.bkg");
    EXPECT_TRUE(army_is_empty({255, 3, 255, 255, 255}, {4, 0, 0, 0, 0}));
    EXPECT_FALSE(army_is_empty({255, 3, 255, 255, 255}, {4, 1, 0, 0, 0}));
}

TEST_F(BattleOpen, HeroAgainstHero) {
    game.player_is_human = {1, 0, 0, 0};
    int a = add_hero(3, 3, 1, {{6, 10}});
    int d = add_hero(5, 5, 0x22, {{23, 2}, {255, 0}, {1, 9}}, 1);
    map.tile(5, 5)->object_detail = 1;  // must not turn into a monster
    BattleScreen::BattleControl ctl = BattleScreen::control_from_heroes(game, a, d);
    EXPECT_EQ(ctl.human[0], 1);
    EXPECT_EQ(ctl.human[1], 0);
    battle.open_hero_vs_hero(a, 99, map, game, 3, true, ctl);
    EXPECT_EQ(battle.active, 0);  // invalid defender: no battle
    battle.open_hero_vs_hero(a, d, map, game, 3, true, ctl);
    EXPECT_EQ(battle.active, 1);
    EXPECT_EQ(battle.defender_side.hero, d);
    EXPECT_EQ(battle.defender_side.hero_class, 2);
    EXPECT_EQ(battle.monster_id, 255);
    EXPECT_EQ(battle.defenders[0].creature, 23);
    EXPECT_EQ(battle.defenders[0].col, 6);
    EXPECT_EQ(battle.defenders[2].col, 7);
    EXPECT_EQ(battle.defenders[1].creature, 255);
    EXPECT_EQ(battle.bonus_experience, 500);
    EXPECT_EQ(battle.defender_tent_rect.x, 564);
    EXPECT_EQ(battle.defender_tent_rect.y, 317);
    EXPECT_EQ(battle.control.human[1], 0);

    // Survivors go back into the defending hero's army, ids unchanged.
    battle.defenders[0].count = 1;
    battle.defenders[2].count = 0;
    apply_hero_vs_hero_result(battle, game);
    EXPECT_EQ(game.heroes[d].army.ids[0], 23);
    EXPECT_EQ(game.heroes[d].army.counts[0], 1);
    EXPECT_EQ(game.heroes[d].army.ids[2], 255);
    EXPECT_EQ(game.heroes[d].army.counts[2], 0);

    EXPECT_EQ(BattleScreen::control_from_heroes(game, -1, 40).human, (std::array<uint8_t, 2>{0, 0}));
    game.heroes[a].owner = -1;
    EXPECT_EQ(BattleScreen::control_from_heroes(game, a, d).human[0], 0);
}

TEST_F(BattleOpen, WriteBackAtAnyEnd) {
    int a = add_hero(3, 3, 1, {{6, 10}, {8, 3}});
    int d = add_hero(5, 5, 1, {{0, 100}, {255, 0}, {1, 5}}, 1);
    battle.open_hero_vs_hero(a, d, map, game, 3, true, BattleScreen::BattleControl{});
    // A retreat after losses: both armies take them.
    battle.attackers[0].count = 4;
    battle.attackers[1].alive = 0;
    battle.defenders[0].count = 70000;  // grown beyond the 16-bit count
    battle.defenders[2].count = 0;
    battle.outcome = OutcomeRetreat;
    battle.write_back_armies();
    EXPECT_EQ(game.heroes[a].army.counts[0], 4);
    EXPECT_EQ(game.heroes[a].army.ids[1], 255);
    EXPECT_EQ(game.heroes[a].army.counts[1], 0);
    EXPECT_EQ(game.heroes[d].army.counts[0], 65535);
    EXPECT_EQ(game.heroes[d].army.ids[1], 255);  // empty in battle: untouched
    EXPECT_EQ(game.heroes[d].army.ids[2], 255);
}

TEST_F(BattleOpen, SurrenderPriceAndGold) {
    int a = add_hero(3, 3, 1, {{0, 3}});
    int d = add_hero(5, 5, 1, {{23, 1}}, 2);
    game.resources[2].gold = 4321;
    battle.open_hero_vs_hero(a, d, map, game, 3, true, BattleScreen::BattleControl{});
    EXPECT_EQ(battle.compute_surrender_cost(false), 30);
    EXPECT_EQ(battle.compute_surrender_cost(true), 1500);
    EXPECT_EQ(battle.side_player_gold(true), 4321);
    EXPECT_EQ(battle.side_player_gold(false), game.resources[0].gold);
    battle.attackers[0].count = 0;
    EXPECT_EQ(battle.compute_surrender_cost(false), 0);
    game.heroes[d].owner = 7;
    EXPECT_EQ(battle.side_player_gold(true), 0);
}

TEST_F(BattleOpen, SiegeWithGarrisonOnly) {
    int a = add_hero(3, 3, 1, {{0, 10}, {4, 2}});
    game.heroes[a].artifacts[2] = 17;
    game.heroes[a].artifacts[9] = 17;
    battle.open_castle_battle(a, 8, 8, 2, false, -1, {255, 23, 3, 255, 6}, {0, 2, 30, 0, 8}, map, game, 6,
                              BattleScreen::BattleControl{});
    EXPECT_EQ(battle.active, 1);
    EXPECT_EQ(battle.siege, 1);
    EXPECT_EQ(battle.castle, 2);
    EXPECT_EQ(battle.catapult_shots, 2);  // two Ballistas still give two shots
    EXPECT_EQ(battle.catapult_pos, (std::array<int32_t, 2>{22, 381}));
    // Packed stacks 0..2 stand at (0,7) (2,7) (1,6); the two-hex Dragon in column 6.
    EXPECT_EQ(battle.defenders[0].creature, 23);
    EXPECT_EQ(battle.defenders[0].row, 0);
    EXPECT_EQ(battle.defenders[0].col, 6);
    EXPECT_EQ(battle.defenders[1].row, 2);
    EXPECT_EQ(battle.defenders[1].col, 7);
    EXPECT_EQ(battle.defenders[2].row, 1);
    EXPECT_EQ(battle.defenders[2].col, 6);
    EXPECT_EQ(battle.garrison_slot, (std::array<int32_t, 5>{1, 2, 4, -1, -1}));
    EXPECT_EQ(battle.message, "BATTLE_SIEGE_BEGINS");
    // The first turn goes to the catapult.
    EXPECT_EQ(battle.phase, ActionPhase::CatapultThrow);
    EXPECT_EQ(battle.current, -1);
    battle.close();
    EXPECT_EQ(battle.siege, 0);
}

TEST_F(BattleOpen, SiegeWithDefendingHero) {
    int a = add_hero(3, 3, 1, {{0, 10}});
    int d = add_hero(8, 8, 3, {{1, 5}, {255, 0}, {2, 4}, {255, 0}, {255, 0}}, 1);
    battle.open_castle_battle(a, 8, 8, 1, true, d, {9, 255, 10, 11, 5}, {2, 0, 70000, 1, 3}, map, game, 6,
                              BattleScreen::BattleControl{});
    EXPECT_EQ(battle.catapult_shots, 1);
    EXPECT_EQ(battle.defender_side.hero, d);
    // Garrison stacks fill the hero's empty slots 1, 3, 4 in garrison order; the fourth is left out.
    EXPECT_EQ(battle.defenders[1].creature, 9);
    EXPECT_EQ(battle.defenders[3].creature, 10);
    EXPECT_EQ(battle.defenders[3].count, 65535);
    EXPECT_EQ(battle.defenders[4].creature, 11);
    EXPECT_EQ(battle.garrison_slot, (std::array<int32_t, 5>{-1, 0, -1, 2, 3}));
    EXPECT_EQ(battle.defender_start_counts, (std::array<int32_t, 5>{5, 2, 4, 65535, 1}));
    EXPECT_EQ(battle.defenders[4].row, 3);
    EXPECT_EQ(battle.defenders[4].col, 6);
    EXPECT_EQ(battle.defender_tent_rect.y, 281);

    // Garrison stacks are never written into the hero's army.
    battle.defenders[1].count = 1;
    battle.defenders[0].count = 2;
    battle.write_back_armies();
    apply_hero_vs_hero_result(battle, game);
    EXPECT_EQ(game.heroes[d].army.ids[1], 255);
    EXPECT_EQ(game.heroes[d].army.counts[1], 0);
    EXPECT_EQ(game.heroes[d].army.counts[0], 2);

    // A full hero army leaves the garrison out entirely.
    battle.close();
    int full = add_hero(9, 9, 3, {{1, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 1}}, 1);
    battle.open_castle_battle(a, 9, 9, 1, true, full, {9, 9, 9, 9, 9}, {2, 2, 2, 2, 2}, map, game, 6,
                              BattleScreen::BattleControl{});
    for (int i = 0; i < 5; ++i) EXPECT_EQ(battle.defenders[i].creature, 1);
    EXPECT_EQ(battle.garrison_slot, (std::array<int32_t, 5>{-1, -1, -1, -1, -1}));
}

TEST_F(BattleOpen, CloseReleasesTheFieldAndShowsNoBattle) {
    int h = add_hero(3, 3, 0, {{0, 10}});
    battle.scenery_hook = [this](BattleScreen& b, const GameMap&, int, int, unsigned, bool, const std::string&) {
        b.background = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGBA8888, SDL_TEXTUREACCESS_STATIC, 8, 8);
        b.scene_frames.push_back(BattleSprite{
            SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGBA8888, SDL_TEXTUREACCESS_STATIC, 4, 4), 4, 4, 0, 0});
        b.field_objects.push_back(BattleScreen::FieldObject{{10, 10, 4, 4}, 2, 4, 0, 0});
        b.scene_blocked[2][4] = 1;
    };
    // The neutral-town form builds the field twice: the first one is released, not stacked up.
    battle.open_neutral_town(h, 4, 4, {0, 255, 255, 255, 255}, {3, 0, 0, 0, 0}, map, game, 8, true, nullptr);
    ASSERT_NE(battle.background, nullptr);
    EXPECT_EQ(battle.scene_frames.size(), 1u);
    EXPECT_EQ(battle.field_objects.size(), 1u);
    EXPECT_TRUE(battle.hex_is_hard_blocked(2, 4));
    battle.close();
    EXPECT_EQ(battle.active, 0);
    EXPECT_EQ(battle.background, nullptr);
    EXPECT_TRUE(battle.scene_frames.empty());
    EXPECT_TRUE(battle.field_objects.empty());
    EXPECT_FALSE(battle.hex_is_hard_blocked(2, 4));
    battle.close();  // twice is harmless
}

TEST_F(BattleOpen, HeroFiguresStandOnTheirFootLines) {
    SDL_Texture* tex = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGBA8888, SDL_TEXTUREACCESS_STATIC, 4, 4);
    ASSERT_NE(tex, nullptr);
    res.tent_sprites.resize(4);
    res.tent_sprites[0] = BattleSprite{tex, 70, 110, 0, 0};
    res.tent_sprites[2] = BattleSprite{tex, 60, 90, 0, 0};
    int a = add_hero(3, 3, 0x12, {{0, 10}});  // class 2
    int d = add_hero(5, 5, 0x17, {{1, 5}}, 1);  // class 7: drawn with the class 0 figure
    battle.open_hero_vs_hero(a, d, map, game, 3, true, BattleScreen::BattleControl{});
    EXPECT_EQ(battle.attacker_tent_rect.x, 0);
    EXPECT_EQ(battle.attacker_tent_rect.y, 257 - 90);
    EXPECT_EQ(battle.attacker_tent_rect.w, 60);
    EXPECT_EQ(battle.attacker_tent_rect.h, 90);
    EXPECT_EQ(battle.defender_tent_rect.x, 640 - 70);
    EXPECT_EQ(battle.defender_tent_rect.y, 417 - 110);
    EXPECT_EQ(battle.defender_tent_rect.h, 110);
    EXPECT_TRUE(battle.point_in_tent(0, 257 - 90));
    EXPECT_FALSE(battle.point_in_tent(60, 200));  // half-open on the right
    battle.close();

    // In a siege the defending hero stands on the catapult's line.
    battle.open_castle_battle(a, 5, 5, 0, true, d, {255, 255, 255, 255, 255}, {0, 0, 0, 0, 0}, map, game, 3,
                              BattleScreen::BattleControl{});
    EXPECT_EQ(battle.defender_tent_rect.x, 640 - 70);
    EXPECT_EQ(battle.defender_tent_rect.y, 381 - 110);
    battle.close();
    res.tent_sprites.clear();
    SDL_DestroyTexture(tex);
}
