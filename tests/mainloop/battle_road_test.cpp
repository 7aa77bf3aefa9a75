// Fights started from the map, played on the battle screen frame by frame, and their outcome back
// on the map.
#include <filesystem>
#include <set>
#include <string>

#include "ai/ai_battle.h"
#include "battle/battle_combat.h"
#include "datakit/kit_battle_road.h"
#include "datakit/kit_demo.h"
#include "datakit/kit_dialogs7.h"
#include "lang/runtime_strings.h"
#include "loop_fixture.h"
#include "events/event_actions.h"
#include "mainloop/battle_launch.h"
#include "mainloop/visit_results.h"
#include "world/ambient_grid.h"
#include "world/levels.h"

namespace vorn1::test {
namespace {

class BattleRoadTest : public LoopTest {
protected:
    SDL_Surface* surface = nullptr;
    SDL_Renderer* renderer = nullptr;

    void SetUp() override {
        LoopTest::SetUp();
        surface = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_RGBA8888);
        renderer = SDL_CreateSoftwareRenderer(surface);
        strings().load_from_text("", kit::catalogue_json(kit::battle_road_english_strings()));
        m.settings.ab_resolver = false;
        m.now_ms = 4242;
    }
    void TearDown() override {
        LoopTest::TearDown();
        if (renderer) SDL_DestroyRenderer(renderer);
        if (surface) SDL_FreeSurface(surface);
    }

    // The hand-built game with a battle screen that can open (it needs a renderer; the map is not drawn).
    void make_battle_game() {
        make_game();
        g().battle.init(&g().battle_res, nullptr, renderer, nullptr, nullptr);
    }
    void set_army(int hero, std::initializer_list<std::pair<uint8_t, uint16_t>> stacks) {
        Army& a = state().heroes[hero].army;
        a.clear();
        int i = 0;
        for (const auto& [id, n] : stacks) {
            a.ids[i] = id;
            a.counts[i++] = n;
        }
    }
    void add_monster(int x, int y, uint8_t creature, int count) {
        state().monsters.push_back(MonsterStackState{x, y, creature, count, 0, 0, 0});
        MapTile* t = map().tile(x, y);
        t->object_type = OBJ_MONSTER;
        t->layer1_set = SET_MONSTER;
        t->layer1_frame = creature;
        rebuild_monster_guard_map(map());
    }
    void walk_to(int x, int y) {
        click_tile(x, y);
        frames(1);
        click_tile(x, y);
    }
    // The first player's turn starts and its selected hero walks into (x, y).
    void walk_in_turn(int x, int y) {
        start_player_turn(m, 0);
        accept_dialogs();
        walk_to(x, y);
        frames(30);
    }
    // The kit's battle art, so that stacks have pictures to click.
    void load_kit_battle_art() {
        static const std::vector<uint8_t> bytes = kit::demo_archive_bytes();
        archive = std::make_unique<AggArchive>(AggArchive::from_bytes(bytes));
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        g().battle_res.load(*archive, kit::demo_palette(), renderer, "");
        testing::internal::GetCapturedStdout();
        testing::internal::GetCapturedStderr();
    }
    // The middle of a stack's picture on the field.
    SDL_Point middle(const BattleUnit& u) {
        const SDL_Rect r = g().battle.unit_sprite_rect(u, u.side == 1);
        return {r.x + r.w / 2, r.y + r.h / 2};
    }
    // Runs frames until the result overlay shows (the human side fights automatically).
    bool fight_to_result(int max_frames = 40000) {
        frames(1);
        if (!loop().battle_open) return false;
        for (int i = 0; i < max_frames && g().battle.overlay != BattleOverlay::Result; ++i) {
            // The automatic-combat button takes a press while the field waits for an order.
            if (!g().battle.auto_attacker && g().battle.phase == ActionPhase::Idle) push_click(20, 470);
            frames(1);
        }
        return g().battle.overlay == BattleOverlay::Result;
    }
    // Closes the result screen once its input delay has passed.
    void close_result() {
        frames(30);
        push_key(SDLK_RETURN);
        frames(2);
    }
};

TEST_F(BattleRoadTest, AMonsterBeatenAutomaticallyLeavesTheMapAndTheArmyAsTheBattleLeftIt) {
    make_battle_game();
    const int h = add_hero(5, 5, 0);
    set_army(h, {{3, 30}, {1, 10}});
    add_monster(7, 5, 0, 12);
    start_player_turn(m, 0);
    accept_dialogs();
    walk_to(7, 5);
    frames(30);
    EXPECT_EQ(state().heroes[h].x, 6) << "the walk stops beside the monster";
    ASSERT_TRUE(fight_to_result()) << "no result";
    const BattleScreen& b = g().battle;
    EXPECT_EQ(b.outcome, OutcomeAttackerWon);
    std::array<int32_t, 2> left{};
    for (int i = 0; i < 2; ++i) left[i] = b.attacker_start_counts[i] - b.casualties[i];
    EXPECT_EQ(b.casualties[5] + b.casualties[6] + b.casualties[7] + b.casualties[8] + b.casualties[9], 12);
    EXPECT_EQ(b.result_experience, 12 * creature_hp(0)) << "a monster adds no bonus";
    EXPECT_EQ(state().heroes[h].experience, (uint32_t)b.result_experience);

    push_key(SDLK_RETURN);  // too early: the result waits 400 ms
    frames(1);
    EXPECT_TRUE(loop().battle_open);
    close_result();
    EXPECT_FALSE(loop().battle_open);
    EXPECT_EQ(state().monsters[0].removed, 1);
    EXPECT_EQ(map().tile(7, 5)->object_type, 0) << "the monster is gone from the map";
    EXPECT_EQ(state().monster_at(7, 5), -1);
    EXPECT_FALSE(map().guard_map[(size_t)6 * map().height + 5] & 0x80);
    const Army& a = state().heroes[h].army;
    for (int i = 0; i < 2; ++i) {
        if (left[i] > 0) EXPECT_EQ(a.counts[i], left[i]);
        else EXPECT_EQ(a.ids[i], EMPTY_ID);
    }
    EXPECT_TRUE(state().heroes[h].live);

    // The map plays on: the hero walks onto the monster's old tile.
    walk_to(7, 5);
    frames(40);
    EXPECT_EQ(state().heroes[h].x, 7);
}

// The map's music halted for a battle, and by the title screen of l, comes back as it was when the map
// returns: the hero stands off the first tiles of its ground band (30), where a fresh choice by the ground
// would leave the map silent.
TEST_F(BattleRoadTest, TheMapsMusicComesBackAfterABattleAndAfterALoadThatFails) {
    make_battle_game();
    set_army(add_hero(5, 5, 0), {{3, 30}, {1, 10}});
    add_monster(7, 5, 0, 12);
    m.audio_on = true;
    int resumed = 0;
    m.sounds.terrain_resume = [&] { ++resumed; };
    m.sounds.terrain_restart = [](int) {};
    walk_in_turn(7, 5);
    ASSERT_TRUE(fight_to_result());
    EXPECT_EQ(resumed, 0) << "nothing on the map's channel during the battle";
    close_result();
    ASSERT_FALSE(loop().battle_open);
    EXPECT_EQ(resumed, 1);

    const std::string missing = (std::filesystem::temp_directory_path() / "vorn1_no_such_save.sav").string();
    m.confirm = [](MainState&, const char*) { return true; };
    m.front_end = [&](MainState&) {
        NewGameConfig chosen;
        chosen.save_path = missing;
        return chosen;
    };
    push_key(SDLK_l);
    frames(1);
    ASSERT_TRUE(g().events.dialog_open) << "the failed load is told over the running game";
    EXPECT_EQ(resumed, 2);
}

// A hero one battle short of a level wins it: back on the map its level-up dialog names it and its raised
// skill and closes with its OK; a level-up queued while it shows opens next. A computer's hero levels up
// without a dialog.
TEST_F(BattleRoadTest, ALevelGainedInBattleIsAnnouncedAndQueuedLevelUpsFollowInTurn) {
    kit::StringMap texts = kit::battle_road_english_strings();
    for (const auto& [k, v] : kit::dialogs7_english_strings()) texts[k] = v;
    strings().load_from_text("", kit::catalogue_json(texts));
    make_battle_game();
    const int h = add_hero(5, 5, 0);
    const int second = add_hero(2, 2, 0);
    const int computer = add_hero(15, 15, 1);
    set_army(h, {{3, 30}, {1, 10}});
    state().heroes[h].experience = LEVEL_XP[1] - 10;
    state().heroes[second].experience = LEVEL_XP[2];  // two levels at once
    state().heroes[computer].experience = LEVEL_XP[1];
    add_monster(7, 5, 0, 12);
    walk_in_turn(7, 5);
    ASSERT_TRUE(fight_to_result());
    ASSERT_EQ(g().battle.outcome, OutcomeAttackerWon);
    EXPECT_FALSE(g().events.dialog_open) << "nothing opens over the battle";
    const HeroState before = state().heroes[h];
    close_result();
    ASSERT_FALSE(loop().battle_open);

    const HeroState& hero = state().heroes[h];
    EXPECT_EQ(hero.level, 2);
    const int raised[4] = {hero.attack - before.attack, hero.defense - before.defense, hero.power - before.power,
                           hero.knowledge - before.knowledge};
    std::string body;
    for (int i = 0; i < 4; ++i)
        if (raised[i] > 0) body = strings().get(kStatKey[(size_t)i]) + " +" + std::to_string(raised[i]);
    const EventSystem::Dialog* d = g().events.current_dialog();
    ASSERT_NE(d, nullptr) << "the level-up dialog opens after the battle";
    EXPECT_EQ(d->kind, EventSystem::DialogKind::LevelUp);
    EXPECT_EQ(d->def.title, hero.name + " has gained a level.");
    EXPECT_EQ(d->def.text, body);
    EXPECT_FALSE(body.empty());

    // Queued while the first shows: another of the player's heroes, and a computer's that queues nothing.
    run_levelups(m, second);
    run_levelups(m, computer);
    EXPECT_EQ(state().heroes[second].level, 3);
    EXPECT_EQ(state().heroes[computer].level, 2);
    ASSERT_EQ(loop().levelups.queue.size(), 2u);
    frames(3);
    ASSERT_TRUE(g().events.dialog_open);
    EXPECT_EQ(g().events.current_dialog()->def.title, hero.name + " has gained a level.") << "still the first";

    const SDL_Rect ok = g().events.current_dialog()->layout.buttons.at(0);
    push_click(ok.x + ok.w / 2, ok.y + ok.h / 2);
    frames(2);
    d = g().events.current_dialog();
    ASSERT_NE(d, nullptr) << "the queued level-up follows";
    EXPECT_EQ(d->def.title, state().heroes[second].name + " has gained 2 levels.");
    push_key(SDLK_RETURN);
    frames(2);
    EXPECT_FALSE(g().events.dialog_open);
    EXPECT_TRUE(loop().levelups.queue.empty());
}

TEST_F(BattleRoadTest, ALostBattleTakesTheHeroOffTheMapAndOutOfTheLists) {
    make_battle_game();
    const int h = add_hero(5, 5, 0);
    const int other = add_hero(2, 2, 0);
    set_army(h, {{3, 24}});  // strong enough to fell a dragon, not to win
    add_monster(7, 5, 23, 3);
    start_player_turn(m, 0);
    accept_dialogs();
    select_hero(g(), h);
    walk_to(7, 5);
    frames(30);
    ASSERT_TRUE(fight_to_result());
    EXPECT_EQ(g().battle.outcome, OutcomeDefenderWon);
    int32_t left = 0;
    for (const BattleUnit& u : g().battle.defenders)
        if (is_living(u)) left += u.count;
    ASSERT_LT(left, 3) << "a dragon fell";
    close_result();
    EXPECT_FALSE(state().heroes[h].live);
    EXPECT_EQ(std::count(loop().hero_order.begin(), loop().hero_order.end(), h), 0);
    EXPECT_EQ(loop().selected_hero, other) << "the player's other hero is selected";
    EXPECT_EQ(map().tile(6, 5)->hero_figure, 0);
    EXPECT_EQ(state().monsters[0].removed, 0);
    EXPECT_EQ(state().monsters[0].count, left) << "the dragons keep their survivors";
    EXPECT_TRUE(map().tile(7, 5)->is_monster());
}

// A rival's castle is held by its garrison, a neutral one by its guard record: the siege is fought against
// whichever holds it, and won, the castle is the attacker's.
TEST_F(BattleRoadTest, ASiegeWonGivesTheCastleToTheAttacker) {
    for (const bool neutral : {false, true}) {
        SCOPED_TRACE(neutral ? "a neutral castle's guard" : "a rival's garrison");
        make_battle_game();
        const int h = add_hero(5, 5, 0);
        set_army(h, {{23, 5}, {22, 10}});
        const int town = add_town(8, 5, neutral ? -1 : 1);
        state().castles[town].is_castle = 1;
        state().castles[town].faction = 2;
        if (neutral) {
            NeutralTownGarrison gr;
            gr.live = 1;
            gr.x = 8;
            gr.y = 5;
            gr.ids[2] = 6;
            gr.counts[2] = 4;
            state().garrisons.push_back(gr);
        } else {
            state().castles[town].garrison.ids[2] = 6;
            state().castles[town].garrison.counts[2] = 4;
        }
        start_player_turn(m, 0);
        accept_dialogs();
        walk_to(8, 5);
        frames(60);
        ASSERT_TRUE(loop().battle_open) << "the siege opens at the gate";
        EXPECT_EQ(g().battle.siege, 1);
        EXPECT_EQ(g().battle.castle, 1) << "faction 2 fights on the kind-1 field";
        ASSERT_TRUE(fight_to_result());
        EXPECT_EQ(g().battle.outcome, OutcomeAttackerWon);
        EXPECT_EQ(g().battle.result_experience, 4 * creature_hp(6) + 500);
        close_result();
        EXPECT_EQ(state().castles[town].owner, 0);
        EXPECT_TRUE(state().castles[town].garrison.empty());
        EXPECT_TRUE(state().garrisons.empty() || !state().garrisons[0].live) << "the guard is beaten";
        EXPECT_EQ(std::count(loop().town_order.begin(), loop().town_order.end(), town), 1);
        EXPECT_TRUE(state().heroes[h].live);
        EXPECT_NE(map().tile(8, 5)->hero_figure, 0);
    }
}

TEST_F(BattleRoadTest, AnEmptyTownIsTakenWithoutAFight) {
    make_battle_game();
    const int h = add_hero(5, 5, 0);
    const int town = add_town(7, 5, 1);
    state().castles[town].garrison.ids[0] = 6;  // a slot with a creature but nobody in it
    start_player_turn(m, 0);
    accept_dialogs();
    walk_to(7, 5);
    frames(40);
    EXPECT_FALSE(loop().battle_open);
    EXPECT_EQ(state().castles[town].owner, 0);
    EXPECT_TRUE(state().heroes[h].live);
}

TEST_F(BattleRoadTest, QuickCombatPreviewAcceptsAndDeclines) {
    make_battle_game();
    m.settings.ab_resolver = true;
    const int h = add_hero(5, 5, 0);
    set_army(h, {{3, 40}});
    add_monster(7, 5, 0, 12);
    add_monster(5, 8, 0, 12);
    start_player_turn(m, 0);
    accept_dialogs();

    walk_to(7, 5);
    frames(30);
    ASSERT_TRUE(loop().battle_open);
    const BattleScreen& b = g().battle;
    ASSERT_EQ(b.result_screen.preview, 1) << "the headless result is shown first";
    EXPECT_EQ(loop().battle.quick.kind, QUICK_MONSTER);
    EXPECT_EQ(loop().battle.quick.bonus, 0) << "a monster adds no bonus";
    const int shown = b.result_experience;
    const HeadlessResult r = loop().battle.quick.result;
    EXPECT_EQ(shown, r.experience);
    push_key(SDLK_y);
    frames(30);
    push_key(SDLK_y);
    frames(2);
    EXPECT_FALSE(loop().battle_open);
    EXPECT_EQ(state().monsters[0].removed, 1);
    EXPECT_EQ(map().tile(7, 5)->object_type, 0);
    EXPECT_EQ(state().heroes[h].experience, (uint32_t)shown);
    EXPECT_EQ(state().heroes[h].army.counts[0], r.attacker_survivors[0]);
    EXPECT_EQ(loop().route_dest_x, -1) << "no route is left to the beaten monster's tile";
    EXPECT_TRUE(loop().active_markers.empty());

    // Declined: the same kind of fight opens on the battle screen, with the battle's sound.
    walk_to(6, 8);
    frames(40);
    walk_to(5, 8);
    frames(30);
    ASSERT_TRUE(loop().battle_open);
    ASSERT_EQ(b.result_screen.preview, 1);
    frames(30);
    std::vector<std::string> played;
    m.play_sound = [&](const std::string& name) { played.push_back(name); };
    m.audio_on = true;
    push_key(SDLK_n);
    frames(2);
    ASSERT_TRUE(loop().battle_open) << "the battle is fought after all";
    EXPECT_EQ(std::count(played.begin(), played.end(), "PREBATTL.82M"), 1);
    EXPECT_EQ(b.result_screen.preview, 0);
    EXPECT_EQ(b.overlay, BattleOverlay::None);
    EXPECT_EQ(loop().battle.kind, BattleKind::Monster);
    EXPECT_EQ(state().monsters[1].removed, 0);
}

// F11 steps the window scale over the quick-combat result, the battle field and the battle result, and
// each stays up; a held F11 steps nothing and is no key of theirs.
TEST_F(BattleRoadTest, F11StepsTheWindowScaleOnEveryBattleScreen) {
    make_battle_game();
    m.settings.ab_resolver = true;
    set_army(add_hero(5, 5, 0), {{3, 40}});
    add_monster(7, 5, 0, 12);
    walk_in_turn(7, 5);
    const BattleScreen& b = g().battle;
    ASSERT_TRUE(loop().battle_open);
    ASSERT_EQ(b.result_screen.preview, 1);
    frames(30);  // past the result's input delay: a key would reach it now
    auto f11_steps_to = [&](int scale) {
        push_key(SDLK_F11);
        push_key(SDLK_F11, true);
        frames(2);
        EXPECT_EQ(m.scale_index, scale);
        EXPECT_TRUE(loop().battle_open);
    };
    f11_steps_to(1);
    EXPECT_EQ(b.overlay, BattleOverlay::Result);
    push_key(SDLK_n);
    frames(2);
    ASSERT_EQ(b.overlay, BattleOverlay::None);
    f11_steps_to(2);
    EXPECT_EQ(b.overlay, BattleOverlay::None);
    ASSERT_TRUE(fight_to_result());
    frames(30);
    f11_steps_to(0);
    EXPECT_EQ(b.overlay, BattleOverlay::Result);
    close_result();
    EXPECT_FALSE(loop().battle_open);
}

// A monster or a hero met on the way (it stood in the fog when the plan was made) stops the walk; the
// plan that goes on beyond it stays, and the walk goes on once the way is free. A plan that ended on the
// met tile is used up.
TEST_F(BattleRoadTest, AWalkThatMeetsAMonsterOrHeroOnTheWayKeepsThePlanBeyondIt) {
    make_battle_game();
    const int h = add_hero(5, 5, 0, 2000);
    set_army(h, {{3, 40}});
    start_player_turn(m, 0);
    accept_dialogs();
    click_tile(11, 5);
    frames(1);
    ASSERT_EQ(loop().route_dest_x, 11);
    ASSERT_GE(loop().active_route.size(), 6u);
    const RouteStep met = loop().active_route[1];
    add_monster(met.x, met.y, 0, 3);
    click_tile(11, 5);
    frames(30);
    ASSERT_TRUE(fight_to_result());
    close_result();
    ASSERT_FALSE(loop().battle_open);
    ASSERT_EQ(state().monsters[0].removed, 1);
    EXPECT_EQ(loop().route_dest_x, 11) << "the plan beyond the beaten monster stays";
    EXPECT_EQ(loop().hero_routes[h].dest_x, 11);
    EXPECT_FALSE(loop().active_markers.empty());

    // An own hero steps into the way: the meeting window, and the plan still stays.
    const RouteStep next = loop().active_route[1];
    const int friend_hero = add_hero(next.x, next.y, 0);
    click_tile(11, 5);
    frames(30);
    ASSERT_TRUE(loop().screens.swap.open);
    EXPECT_EQ(loop().route_dest_x, 11);
    push_key(SDLK_ESCAPE);
    frames(1);
    ASSERT_FALSE(loop().screens.swap.open);
    // Walked to that hero itself, the plan ends with the meeting.
    const HeroState& f = state().heroes[(size_t)friend_hero];
    click_tile(f.x, f.y);
    frames(1);
    ASSERT_EQ(loop().route_dest_x, f.x);
    click_tile(f.x, f.y);
    frames(30);
    ASSERT_TRUE(loop().screens.swap.open);
    EXPECT_EQ(loop().route_dest_x, -1);
    EXPECT_EQ(state().heroes[(size_t)h].dest_x, -1);
}

// One battle pays one experience by either road: the killed hit points, and 500 more against a hero
// (none against a wandering monster), whether its quick-combat result is accepted or it is fought by hand;
// a beaten hero leaves the map by either road.
TEST_F(BattleRoadTest, ThePreviewPaysWhatTheBattleScreenPays) {
    for (const bool hero_fight : {false, true}) {
        std::array<uint32_t, 2> paid{};
        for (const bool preview : {true, false}) {
            SCOPED_TRACE(std::string(hero_fight ? "a hero" : "a monster") + (preview ? ", the preview" : ", by hand"));
            make_battle_game();
            m.settings.ab_resolver = preview;
            const int h = add_hero(5, 5, 0);
            set_army(h, {{3, 40}});
            const int foe = hero_fight ? add_hero(7, 5, 1) : -1;
            if (hero_fight) set_army(foe, {{0, 5}});
            else add_monster(7, 5, 0, 5);
            start_player_turn(m, 0);
            accept_dialogs();
            walk_to(7, 5);
            frames(30);
            ASSERT_TRUE(loop().battle_open);
            if (preview) {
                ASSERT_EQ(g().battle.result_screen.preview, 1);
                const int shown = g().battle.result_experience;
                frames(30);
                push_key(SDLK_y);
                frames(2);
                EXPECT_EQ(state().heroes[h].experience, (uint32_t)shown) << "accepting pays what was shown";
            } else {
                ASSERT_TRUE(fight_to_result());
                close_result();
            }
            EXPECT_FALSE(loop().battle_open);
            if (hero_fight) {
                EXPECT_FALSE(state().heroes[foe].live) << "the beaten hero leaves the game";
                EXPECT_EQ(map().tile(7, 5)->hero_figure, 0) << "and his tile";
            }
            paid[preview] = state().heroes[h].experience;
        }
        EXPECT_EQ(paid[0], paid[1]);
        EXPECT_EQ(paid[1], 5u * creature_hp(0) + (hero_fight ? 500u : 0u));
    }
}

TEST_F(BattleRoadTest, AWillingStackJoinsAndADeclinedOneFightsAfterTheInsult) {
    EXPECT_EQ(split_monster_count(12), (std::array<int32_t, 5>{3, 3, 2, 2, 2}));
    EXPECT_EQ(split_monster_count(3), (std::array<int32_t, 5>{1, 1, 1, 0, 0}));

    make_battle_game();
    const int h = add_hero(5, 5, 0);
    set_army(h, {{0, 65500}});
    add_monster(7, 5, 0, 40);
    add_monster(5, 7, 0, 40);
    state().monsters[0].willing = state().monsters[1].willing = 1;
    const int other = add_hero(9, 6, 0);
    start_player_turn(m, 0);
    accept_dialogs();
    // The second hero's plan leads to the stack too.
    select_hero(g(), other);
    plan_hero_route(m, other, 7, 5);
    ASSERT_EQ(state().heroes[other].dest_x, 7);
    select_hero(g(), h);
    walk_to(7, 5);
    frames(30);
    ASSERT_TRUE(g().events.dialog_open) << "the offer";
    push_key(SDLK_RETURN);  // accept
    frames(1);
    EXPECT_EQ(state().heroes[h].army.counts[0], 65535) << "merged, capped";
    EXPECT_EQ(state().monsters[0].removed, 1);
    EXPECT_FALSE(loop().battle_open);
    EXPECT_EQ(loop().route_dest_x, -1);
    EXPECT_EQ(state().heroes[other].dest_x, -1) << "no plan leads to the stack that joined";
    EXPECT_EQ(loop().hero_routes[other].dest_x, -1);

    walk_to(5, 6);
    frames(40);
    walk_to(5, 7);
    frames(30);
    ASSERT_TRUE(g().events.dialog_open);
    push_key(SDLK_ESCAPE);  // decline: the insult notice
    frames(1);
    ASSERT_TRUE(g().events.dialog_open);
    EXPECT_FALSE(loop().battle_open);
    EXPECT_EQ(state().monsters[1].offered, 1);
    push_key(SDLK_RETURN);
    frames(2);
    EXPECT_TRUE(loop().battle_open) << "the fight follows the notice";
}

TEST_F(BattleRoadTest, AForeignHeroBeatenOnTheMapLeavesItsArtifactsToTheWinner) {
    make_battle_game();
    const int a = add_hero(5, 5, 0);
    const int b = add_hero(7, 5, 1);
    set_army(a, {{23, 6}});
    set_army(b, {{0, 3}});
    state().heroes[a].artifacts.fill(20);
    state().heroes[a].artifacts[13] = EMPTY_ID;  // room for one
    state().heroes[b].artifacts[0] = 8;
    state().heroes[b].artifacts[1] = 31;
    state().heroes[a].visit_flags = VISIT_LUCK_A;
    start_player_turn(m, 0);
    accept_dialogs();
    walk_to(7, 5);
    frames(30);
    ASSERT_TRUE(loop().battle_open);
    EXPECT_EQ(g().battle.defender_side.hero, b);
    ASSERT_TRUE(fight_to_result());
    EXPECT_EQ(g().battle.outcome, OutcomeAttackerWon);
    close_result();
    EXPECT_FALSE(state().heroes[b].live);
    EXPECT_EQ(map().tile(7, 5)->hero_figure, 0);
    EXPECT_EQ(state().heroes[a].artifacts[13], 8) << "the first artifact fits";
    EXPECT_EQ(state().heroes[a].visit_flags, 0) << "one-shot bonuses are spent";
    ASSERT_TRUE(g().events.dialog_open) << "the captured artifact is announced";
    EXPECT_EQ(g().events.current_dialog()->def.text,
              "You have captured an enemy artifact: " + artifact_display_name(8).value_or("") + ".");
    // The notice's frame is as tall as its text and picture: its OK button is where that frame has it.
    const SDL_Rect ok = g().events.current_dialog()->layout.buttons[0];
    push_click(ok.x + ok.w / 2, ok.y + ok.h / 2);
    frames(1);
    ASSERT_TRUE(g().events.dialog_open) << "then the one that found no room";
    EXPECT_NE(g().events.current_dialog()->def.text.find("vanished"), std::string::npos);
    push_key(SDLK_RETURN);
    frames(2);
    EXPECT_FALSE(g().events.dialog_open);
}

TEST_F(BattleRoadTest, GraveyardGuardsAreFoughtAndPortalsCarryTheHero) {
    make_battle_game();
    const int h = add_hero(5, 5, 0);
    set_army(h, {{23, 10}});
    map().tile(7, 5)->object_type = OBJ_GRAVEYARD;
    map().tile(7, 5)->object_detail = 2;
    map().tile(5, 7)->object_type = OBJ_PORTAL;
    map().tile(15, 15)->object_type = OBJ_PORTAL;
    build_ambient_grid(map());
    start_player_turn(m, 0);
    accept_dialogs();
    const int gold = state().resources[0].gold;
    walk_to(7, 5);
    frames(30);
    ASSERT_TRUE(g().events.dialog_open) << "the graveyard asks first";
    push_key(SDLK_RETURN);
    frames(1);
    ASSERT_TRUE(loop().battle_open);
    EXPECT_EQ(g().battle.control.human[0], 1);
    EXPECT_EQ(g().battle.control.human[1], 0) << "the guards are nobody's to command";
    for (int i = 5; i < 10; ++i) {
        EXPECT_EQ(g().battle.unit_by_index(i)->creature, 26);
        EXPECT_EQ(g().battle.unit_by_index(i)->count, 5) << "level 2 guards";
    }
    ASSERT_TRUE(fight_to_result());
    close_result();
    accept_dialogs();  // the guards were worth a level
    EXPECT_EQ(state().resources[0].gold, gold + 5000);
    EXPECT_EQ(map().tile(7, 5)->object_type, 0) << "nothing more to take";
    EXPECT_EQ(map().ambient[5 * MAP_MAX_DIM + 7], AMB_NONE) << "and silent";

    // The jump reveals a diamond around the exit, a warlock's wider than the others'. The exit's far side lies
    // beyond the map's edge, where no walk looks.
    FogOfWar& fog = state().fog[0];
    const auto fog_beyond_the_map = [&] {
        for (int y = 0; y < FOG_DIM; ++y)
            for (int x = 0; x < FOG_DIM; ++x)
                if (x >= 20 || y >= 20) fog.set_explored(x, y, false);
    };
    walk_to(6, 6);
    frames(40);
    fog_beyond_the_map();
    walk_to(5, 7);
    frames(40);
    EXPECT_EQ(state().heroes[h].x, 15);
    EXPECT_EQ(state().heroes[h].y, 15);
    EXPECT_NE(map().tile(15, 15)->hero_figure, 0);
    EXPECT_EQ(map().tile(5, 7)->hero_figure, 0);
    EXPECT_EQ(loop().route_dest_x, -1);
    EXPECT_TRUE(fog.is_explored(20, 17));
    EXPECT_TRUE(fog.is_explored(15, 20));
    EXPECT_FALSE(fog.is_explored(20, 18)) << "beyond the diamond";
    EXPECT_FALSE(fog.is_explored(21, 15)) << "beyond the reach";
    // Back through the portal: its only other exit is taken, so the hero stays.
    const int blocker = add_hero(5, 7, 0);
    walk_to(14, 15);
    frames(40);
    walk_to(15, 15);
    frames(40);
    EXPECT_EQ(state().heroes[h].x, 15);
    // Freed, the exit takes the hero back; a warlock then jumps again.
    clear_hero_from_map(map(), state().heroes[blocker]);
    state().heroes[blocker].x = state().heroes[blocker].y = 0;
    walk_to(14, 15);
    frames(40);
    walk_to(15, 15);
    frames(40);
    ASSERT_EQ(state().heroes[h].x, 5);
    state().heroes[h].crest = static_cast<uint8_t>((state().heroes[h].crest & 0xF0) | CLASS_WARLOCK);
    walk_to(5, 6);
    frames(40);
    fog_beyond_the_map();
    walk_to(5, 7);
    frames(40);
    ASSERT_EQ(state().heroes[h].x, 15);
    EXPECT_TRUE(fog.is_explored(21, 18));
    EXPECT_FALSE(fog.is_explored(21, 19)) << "beyond the diamond";
    EXPECT_FALSE(fog.is_explored(22, 15)) << "beyond the reach";
}

TEST_F(BattleRoadTest, ThePlayerWinsByClickingShootMoveAndStrike) {
    make_battle_game();
    const int h = add_hero(5, 5, 0);
    set_army(h, {{1, 12}, {3, 6}});  // archers shoot, swordsmen walk and strike
    add_monster(7, 5, 0, 3);
    walk_in_turn(7, 5);
    ASSERT_TRUE(loop().battle_open);
    BattleScreen& b = g().battle;
    auto click_hex = [&](int row, int col) {
        const SDL_Rect r = BattleScreen::hex_rect(row, col);
        push_click(r.x + r.w / 2, r.y + r.h / 2);
        frames(1);
    };
    std::set<ActionPhase> seen;
    for (int i = 0; i < 20000 && b.overlay != BattleOverlay::Result; ++i) {
        seen.insert(b.phase);
        const BattleUnit* u = b.active_unit();
        if (b.phase != ActionPhase::Idle || b.busy || !u || u->side != 0) {
            frames(1);
            continue;
        }
        const BattleUnit* target = nullptr;
        for (int k = 5; k < 10 && !target; ++k)
            if (is_living(*b.unit_by_index(k))) target = b.unit_by_index(k);
        ASSERT_NE(target, nullptr);
        click_hex(target->row, target->col);
        if (b.phase == ActionPhase::Idle && b.active_unit() == u)
            click_hex(u->row, std::min(u->col + battle_move_range(*u), target->col - 1));  // out of reach: walk
        if (b.phase == ActionPhase::Idle && b.active_unit() == u) push_click(610, 470);  // skip
        frames(1);
    }
    ASSERT_EQ(b.overlay, BattleOverlay::Result);
    EXPECT_EQ(b.outcome, OutcomeAttackerWon);
    EXPECT_TRUE(seen.count(ActionPhase::ShotFlight)) << "no shot";
    EXPECT_TRUE(seen.count(ActionPhase::Moving)) << "no walk";
    EXPECT_TRUE(seen.count(ActionPhase::MeleeStrike)) << "no blow";
    EXPECT_EQ(b.auto_attacker, 0) << "fought by hand";
    const int exp = b.result_experience;
    push_click(300, 430);  // Done, too early
    frames(1);
    EXPECT_TRUE(loop().battle_open);
    frames(30);
    push_click(300, 430);
    frames(2);
    EXPECT_FALSE(loop().battle_open);
    EXPECT_EQ(map().tile(7, 5)->object_type, 0);
    EXPECT_EQ(state().heroes[h].experience, (uint32_t)exp);
    EXPECT_EQ(exp, 3 * creature_hp(0));
}

// The player's hero opens its book from the hero options dialog, picks Lightning Bolt and clicks an
// enemy stack: the stack loses creatures and the charge is spent; the book stays shut until the next round.
TEST_F(BattleRoadTest, ThePlayerCastsFromTheBookOnceARound) {
    make_battle_game();
    const int h = add_hero(5, 5, 0);
    HeroState& hero = state().heroes[h];
    hero.has_spellbook = 1;
    hero.power = 2;
    hero.spell_charges[kSpellLightning] = 2;
    add_monster(7, 5, 9, 10);  // ogres, two to a stack
    walk_in_turn(7, 5);
    ASSERT_TRUE(loop().battle_open);
    BattleScreen& b = g().battle;
    auto players_turn = [&] {
        const BattleUnit* u = b.active_unit();
        return b.phase == ActionPhase::Idle && !b.busy && u && u->side == 0;
    };
    for (int i = 0; i < 2000 && !players_turn(); ++i) frames(1);
    ASSERT_TRUE(players_turn());
    auto open_book = [&] {
        push_click(b.attacker_tent_rect.x + b.attacker_tent_rect.w / 2, b.attacker_tent_rect.y + b.attacker_tent_rect.h / 2);
        frames(1);
        push_click(b.option_button_rects[0].x + 5, b.option_button_rects[0].y + 5);
        frames(1);
    };
    open_book();
    ASSERT_EQ(b.overlay, BattleOverlay::Spellbook);
    push_click(234, 154);  // the first spell of the left page
    frames(1);
    ASSERT_EQ(b.spell_aiming, 1);
    BattleUnit& foe = b.defenders[2];
    ASSERT_EQ(foe.count, 2);
    const SDL_Rect r = BattleScreen::hex_rect(foe.row, foe.col);
    push_click(r.x + r.w / 2, r.y + r.h / 2);
    frames(1);
    EXPECT_EQ(foe.count, 1);
    EXPECT_EQ(foe.top_hp, 80 - 50);
    EXPECT_EQ(hero.spell_charges[kSpellLightning], 1);
    for (int i = 0; i < 100 && b.phase != ActionPhase::Idle; ++i) frames(1);
    ASSERT_TRUE(players_turn()) << "the spell left the stack its turn";
    open_book();
    EXPECT_EQ(b.overlay, BattleOverlay::HeroOptions) << "a second cast in the round";
    EXPECT_EQ(b.spell_aiming, 0);
    EXPECT_EQ(hero.spell_charges[kSpellLightning], 1);
}

// A computer seat's hero walks to the human's hero; the battle screen opens for the human, and after it the
// computer turn resumes and ends.
TEST_F(BattleRoadTest, AComputerHeroAttacksTheHumansHeroOnTheBattleScreenAndItsTurnThenEnds) {
    make_battle_game();
    const int human = add_hero(5, 5, 0);
    const int computer = add_hero(9, 5, 1);
    set_army(human, {{0, 2}});
    set_army(computer, {{23, 8}});
    // A hero too strong to attack: the human plays on after the loss, so the computer's turn goes on.
    const int spare = add_hero(0, 11, 0);
    set_army(spare, {{23, 500}});
    // The human sees the walk, so each step is shown for its full time.
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x) {
            state().fog[0].set_explored(x, y);
            state().fog[1].set_explored(x, y);
        }
    start_player_turn(m, 0);
    accept_dialogs();
    loop().hero_move_points[human] = loop().hero_move_points[spare] = 0;
    request_end_turn(m);
    ASSERT_TRUE(loop().computer_turn_pending);
    int walk_frames = 0;
    for (; walk_frames < 3000 && !loop().battle_open; ++walk_frames) frames(1);
    ASSERT_TRUE(loop().battle_open);
    EXPECT_GE(walk_frames * 16, 3 * m.speed.step_ms) << "three steps, each shown for its time";
    EXPECT_TRUE(loop().ai.waiting_for_battle);
    EXPECT_EQ(g().battle.attacker_side.hero, computer);
    EXPECT_EQ(g().battle.defender_side.hero, human);
    EXPECT_LE(std::abs(state().heroes[computer].x - 5), 1) << "the computer hero walked up to the human's";
    // The human's side fights automatically until the result shows.
    for (int i = 0; i < 40000 && g().battle.overlay != BattleOverlay::Result; ++i) {
        if (!g().battle.auto_defender && g().battle.phase == ActionPhase::Idle) push_click(20, 470);
        frames(1);
    }
    ASSERT_EQ(g().battle.overlay, BattleOverlay::Result);
    frames(30);
    push_key(SDLK_RETURN);
    for (int i = 0; i < 3000 && !loop().day_over; ++i) {
        if (g().events.dialog_open) push_key(SDLK_RETURN);
        frames(1);
    }
    EXPECT_FALSE(loop().ai.waiting_for_battle);
    EXPECT_FALSE(state().heroes[human].live);
    EXPECT_TRUE(state().heroes[computer].live);
    EXPECT_TRUE(loop().day_over);
}

// The computer's hero attacks the player's. Defending, the player opens an own stack's panel with a
// left click on its middle, and shoots and strikes the attacker's stacks by clicking theirs.
TEST_F(BattleRoadTest, ThePlayerDefendingShootsAndStrikesByClickingTheEnemysMiddles) {
    make_battle_game();
    load_kit_battle_art();
    const int human = add_hero(5, 5, 0);
    const int computer = add_hero(9, 5, 1);
    set_army(human, {{1, 20}, {3, 10}});
    set_army(computer, {{9, 10}, {9, 10}, {9, 10}, {9, 10}, {9, 10}});  // slow ogres: the archers shoot first
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x) state().fog[1].set_explored(x, y);
    start_player_turn(m, 0);
    accept_dialogs();
    loop().hero_move_points[human] = 0;
    request_end_turn(m);
    for (int i = 0; i < 3000 && !loop().battle_open; ++i) frames(1);
    ASSERT_TRUE(loop().battle_open);
    BattleScreen& b = g().battle;
    ASSERT_EQ(b.defender_side.hero, human);

    bool panel = false, shot = false, blow = false;
    for (int i = 0; i < 20000 && b.overlay != BattleOverlay::Result && !(panel && shot && blow); ++i) {
        const BattleUnit* u = b.active_unit();
        if (u && u->side == 1 && b.phase == ActionPhase::MeleeStrike) blow = true;
        if (u && u->side == 1 && b.phase == ActionPhase::ShotFlight) shot = true;
        if (b.phase != ActionPhase::Idle || b.busy || !u || u->side != 1) {
            frames(1);
            continue;
        }
        const SDL_Point own = middle(*u);
        if (!panel) {
            EXPECT_EQ(b.cursor_for_position(own.x, own.y), CursorInfo);
            push_click(own.x, own.y);
            frames(1);
            ASSERT_EQ(b.overlay, BattleOverlay::CreatureView) << "an own stack's middle opens its panel";
            EXPECT_EQ(b.unit_by_index(b.inspected_unit), u);
            push_click(b.view_close_rect.x + 5, b.view_close_rect.y + 5);
            frames(1);
            ASSERT_EQ(b.overlay, BattleOverlay::None);
            panel = true;
        }
        const BattleUnit* target = nullptr;
        for (const BattleUnit& v : b.attackers)
            if (is_living(v) && (!target || std::abs(v.row - u->row) < std::abs(target->row - u->row))) target = &v;
        ASSERT_NE(target, nullptr);
        const SDL_Point foe = middle(*target);
        EXPECT_NE(b.cursor_for_position(foe.x, foe.y), CursorInfo);
        push_click(foe.x, foe.y);
        frames(1);
        EXPECT_EQ(b.overlay, BattleOverlay::None) << "an enemy's middle is a target, not a panel";
        if (b.phase == ActionPhase::Idle && b.active_unit() == u) push_click(610, 470);  // nothing to do: skip
        frames(1);
    }
    EXPECT_TRUE(panel);
    EXPECT_TRUE(shot) << "the archers never shot";
    EXPECT_TRUE(blow) << "the swordsmen never struck";
    EXPECT_EQ(b.auto_defender, 0) << "fought by hand";
}

// A computer hero besieges the human's castle on the battle screen, the garrison and the hero inside
// defending; the town changes owner only when the computer wins, and its turn ends either way.
TEST_F(BattleRoadTest, AComputerHeroBesiegesTheHumansCastleOnTheBattleScreen) {
    for (const bool human_wins : {false, true}) {
        SCOPED_TRACE(human_wins ? "the human wins" : "the computer wins");
        make_battle_game();
        const int computer = add_hero(10, 5, 1, 4);  // one step: it ends its day where the battle leaves it
        set_army(computer, {{23, 8}});
        // The human's other town is out of the computer's reach.
        const int far = add_town(18, 18, 0);
        state().castles[far].garrison.ids[0] = 23;
        state().castles[far].garrison.counts[0] = 60;
        const int town = add_town(8, 5, 0);
        CastleState& c = state().castles[town];
        c.is_castle = 1;
        c.faction = 2;
        c.garrison.ids = {6, 1, 2, EMPTY_ID, EMPTY_ID};
        c.garrison.counts = {10, 20, 10, 0, 0};
        const int inside = add_hero(8, 5, 0);
        set_army(inside, {{0, 3}});
        start_player_turn(m, 0);
        accept_dialogs();
        loop().hero_move_points[inside] = 0;
        request_end_turn(m);
        for (int i = 0; i < 3000 && !loop().battle_open; ++i) frames(1);
        ASSERT_TRUE(loop().battle_open);
        BattleScreen& b = g().battle;
        EXPECT_EQ(loop().battle.kind, BattleKind::Siege);
        EXPECT_EQ(b.siege, 1);
        EXPECT_EQ(b.attacker_side.hero, computer);
        EXPECT_EQ(b.defender_side.hero, inside);
        EXPECT_TRUE(b.player_defends()) << "the human's side is the defender";
        EXPECT_EQ(b.control.human[0], 0);
        // The human's win: the dragons are worn down to one creature with one hit point left.
        if (human_wins)
            for (BattleUnit& u : b.attackers)
                if (is_living(u)) u.count = u.top_hp = 1;
        for (int i = 0; i < 40000 && b.overlay != BattleOverlay::Result; ++i) {
            if (!b.auto_defender && b.phase == ActionPhase::Idle) push_click(20, 470);
            frames(1);
        }
        ASSERT_EQ(b.overlay, BattleOverlay::Result);
        EXPECT_EQ(b.outcome, human_wins ? OutcomeDefenderWon : OutcomeAttackerWon);
        EXPECT_EQ(b.player_won(), human_wins);
        EXPECT_EQ(b.message, human_wins ? "Victory!" : "Defeat!") << "the bar agrees with the defender's dialog";
        const int32_t dragons_left = b.attacker_start_counts[0] - b.casualties[0];
        std::array<int32_t, 3> garrison_left{};
        for (int i = 0; i < 5; ++i)
            if (is_living(b.defenders[i]) && b.garrison_slot[i] >= 0 && b.garrison_slot[i] < 3)
                garrison_left[(size_t)b.garrison_slot[i]] = b.defenders[i].count;
        frames(30);
        push_key(SDLK_RETURN);
        for (int i = 0; i < 3000 && !loop().day_over; ++i) {
            if (g().events.dialog_open) push_key(SDLK_RETURN);
            frames(1);
        }
        EXPECT_TRUE(loop().day_over) << "the computer turn ended";
        EXPECT_FALSE(loop().ai.waiting_for_battle);
        EXPECT_EQ(c.owner, human_wins ? 0 : 1);
        EXPECT_EQ(state().heroes[inside].live, human_wins ? 1 : 0);
        EXPECT_EQ(state().heroes[computer].live, human_wins ? 0 : 1);
        EXPECT_EQ(state().hero_at(8, 5), human_wins ? inside : computer) << "the winner stands in the town";
        // The human's side panel, shown through the computer's turn, follows what is left.
        const SeatView& panel = loop().human_view;
        EXPECT_EQ(std::count(panel.hero_order.begin(), panel.hero_order.end(), inside), human_wins ? 1 : 0);
        EXPECT_EQ(std::count(panel.town_order.begin(), panel.town_order.end(), town), human_wins ? 1 : 0);
        EXPECT_EQ(panel.selected_hero == inside, human_wins && panel.selected_hero >= 0);
        if (human_wins) {
            for (int i = 0; i < 3; ++i) EXPECT_EQ(c.garrison.counts[i], garrison_left[i]) << "slot " << i;
        } else {
            EXPECT_TRUE(c.garrison.empty());
            EXPECT_EQ(state().heroes[computer].army.counts[0], dragons_left);
        }
    }
}

// What an attack on a foe's hero standing in a town fights is one rule: in a castle the siege, the garrison
// beside the hero; in a town without walls the hero alone, in the field. The computer predicts the side the
// battle screen opens, whether it attacks the human's hero or the human walks into its own; and the human's
// win in a town without walls leaves the town and its garrison as the computer's own settlement does.
TEST_F(BattleRoadTest, AnAttackOnAHeroInATownOpensTheBattleTheComputerPredicts) {
    using Stacks = std::multiset<std::pair<int, int32_t>>;
    for (const bool walls : {true, false})
        for (const bool computer_attacks : {true, false}) {
            SCOPED_TRACE(std::string(walls ? "a castle" : "a town without walls") +
                         (computer_attacks ? ", the computer attacks" : ", the human walks in"));
            make_battle_game();
            const int attacker_owner = computer_attacks ? 1 : 0;
            const int defender_owner = 1 - attacker_owner;
            const int attacker = computer_attacks ? add_hero(10, 5, 1, 4) : add_hero(5, 5, 0);
            set_army(attacker, {{23, computer_attacks ? 8 : 20}});
            if (computer_attacks) {
                // The human's other town is out of the computer's reach.
                const int far = add_town(18, 18, 0);
                state().castles[far].garrison.ids[0] = 23;
                state().castles[far].garrison.counts[0] = 60;
            } else {
                add_hero(15, 15, 0);  // the player plays on
            }
            const int town = add_town(8, 5, defender_owner);
            CastleState& c = state().castles[town];
            c.is_castle = walls ? 1 : 0;
            c.garrison.ids = {6, 1, EMPTY_ID, EMPTY_ID, EMPTY_ID};
            c.garrison.counts = {10, 20, 0, 0, 0};
            const int inside = add_hero(8, 5, defender_owner);
            set_army(inside, {{0, 3}});
            const AIBattleSide side =
                ai_battle_side(state(), attacker_owner, AIMapObject{8, 5, AIO_ATTACK_HERO, inside, true});
            const GameState before = state();
            start_player_turn(m, 0);
            accept_dialogs();
            if (computer_attacks) {
                loop().hero_move_points[inside] = 0;
                request_end_turn(m);
                for (int i = 0; i < 3000 && !loop().battle_open; ++i) frames(1);
            } else {
                select_hero(g(), attacker);
                walk_to(8, 5);
                for (int i = 0; i < 300 && !loop().battle_open; ++i) frames(1);
            }
            ASSERT_TRUE(loop().battle_open);
            const BattleScreen& b = g().battle;
            EXPECT_EQ(loop().battle.kind, walls ? BattleKind::Siege : BattleKind::Hero);
            EXPECT_EQ(b.attacker_side.hero, attacker);
            EXPECT_EQ(b.defender_side.hero, side.hero);
            EXPECT_EQ(side.hero, inside);
            EXPECT_EQ(side.castle, walls);
            EXPECT_EQ(b.siege != 0, side.castle);
            Stacks predicted, opened;
            for (const Army* a : {&side.army, &side.garrison})
                for (int i = 0; i < ARMY_SLOTS; ++i)
                    if (!a->slot_empty(i)) predicted.insert({a->ids[i], a->counts[i]});
            for (const BattleUnit& u : b.defenders)
                if (is_living(u)) opened.insert({u.creature, u.count});
            EXPECT_EQ(opened, predicted);
            EXPECT_EQ(opened.size(), walls ? 3u : 1u) << "the garrison fights only behind walls";
            if (walls || computer_attacks) continue;
            // Won in the field, the foe's hero is gone; its town keeps its owner and garrison, on the map as in
            // the computer's settlement of the same attack.
            GameState settled = before;
            GameMap settled_map = map();
            ASSERT_TRUE(resolve_ai_battle(settled, settled_map, 0, attacker, {8, 5, AIO_ATTACK_HERO, inside, true}));
            ASSERT_TRUE(fight_to_result());
            ASSERT_EQ(g().battle.outcome, OutcomeAttackerWon);
            close_result();
            for (const GameState* s : {&state(), &settled}) {
                EXPECT_FALSE(s->heroes[(size_t)inside].live);
                EXPECT_EQ(s->castles[(size_t)town].owner, 1);
                EXPECT_EQ(s->castles[(size_t)town].garrison.ids, before.castles[(size_t)town].garrison.ids);
                EXPECT_EQ(s->castles[(size_t)town].garrison.counts, before.castles[(size_t)town].garrison.counts);
                EXPECT_NE(s->heroes[(size_t)attacker].x, 8) << "the winner stays outside";
            }
        }
}

// A town held by its guard (neutral) or by its garrison (a rival's, no walls) is fought when a hero
// walks in. Beaten off, the defenders keep their survivors in the slots they came from; slots that
// took no part keep what they held.
TEST_F(BattleRoadTest, ATownsGuardOrGarrisonFightsTheHeroWhoWalksInAndKeepsItsSurvivors) {
    for (const bool guarded : {true, false}) {
        SCOPED_TRACE(guarded ? "a neutral town's guard" : "a rival's garrison");
        make_battle_game();
        const int h = add_hero(5, 5, 0);
        add_hero(15, 15, 0);  // the player plays on
        set_army(h, {{3, 3}});
        const int town = add_town(7, 5, guarded ? -1 : 1);  // the first town: index 0
        const std::array<uint8_t, 5> ids{9, EMPTY_ID, 6, 7, EMPTY_ID};
        const std::array<int32_t, 5> counts{4, 0, 30, 0, 0};  // orcs with nobody in them
        if (guarded) {
            NeutralTownGarrison gr;
            gr.live = 1;
            gr.x = 7;
            gr.y = 5;
            gr.ids = ids;
            gr.counts = counts;
            state().garrisons.push_back(gr);
        } else {
            state().castles[town].garrison.ids = ids;
            for (int i = 0; i < 5; ++i) state().castles[town].garrison.counts[i] = (uint16_t)counts[i];
        }
        start_player_turn(m, 0);
        accept_dialogs();
        select_hero(g(), h);
        walk_to(7, 5);
        frames(30);
        ASSERT_TRUE(loop().battle_open);
        BattleScreen& b = g().battle;
        EXPECT_EQ(loop().battle.kind, BattleKind::Town);
        EXPECT_EQ(loop().battle.guard, guarded ? 0 : -1);
        EXPECT_EQ(b.defenders[0].creature, 9);
        EXPECT_EQ(b.defenders[0].count, 4);
        EXPECT_EQ(b.defenders[1].creature, 6);
        EXPECT_EQ(b.defenders[1].count, 30);
        EXPECT_FALSE(is_living(b.defenders[2]));
        ASSERT_TRUE(fight_to_result());
        ASSERT_EQ(b.outcome, OutcomeDefenderWon);
        const int32_t ogres = b.defenders[0].count, goblins = b.defenders[1].count;
        ASSERT_GT(ogres, 0) << "the first slot's stack lives, so a mix-up would show in the empty slot";
        EXPECT_LT(goblins + ogres, 34) << "the defenders lost someone";
        close_result();
        EXPECT_FALSE(state().heroes[h].live);
        const auto slot = [&](int i) {
            return guarded ? std::pair<int, int32_t>{state().garrisons[0].ids[i], state().garrisons[0].counts[i]}
                           : std::pair<int, int32_t>{state().castles[town].garrison.ids[i],
                                                     state().castles[town].garrison.counts[i]};
        };
        EXPECT_EQ(slot(0), (std::pair<int, int32_t>{9, ogres}));
        EXPECT_EQ(slot(1), (std::pair<int, int32_t>{EMPTY_ID, 0}));
        EXPECT_EQ(slot(2), (std::pair<int, int32_t>{goblins > 0 ? 6 : EMPTY_ID, goblins}));
        EXPECT_EQ(slot(3), (std::pair<int, int32_t>{7, 0}));
        EXPECT_EQ(state().castles[town].owner, guarded ? -1 : 1);
    }
}

// With quick combat on, the preview for a town's guard shows the guard; with nobody to fight there is no
// preview. Accepted, the town is taken and the hero keeps the survivors the preview showed (a fallen stack
// leaves its slot empty); declined, the battle screen opens against the same guard.
TEST_F(BattleRoadTest, TheQuickCombatPreviewOfATownsGuardShowsTheGuard) {
    for (const bool accept : {true, false}) {
        SCOPED_TRACE(accept ? "accepted" : "declined");
        make_battle_game();
        m.settings.ab_resolver = true;
        const int h = add_hero(5, 5, 0);
        set_army(h, {{23, 10}, {0, 1}});
        // Nothing to preview: no town, no such guard record, a guard record beaten before.
        EXPECT_FALSE(preview_town_battle(m, h, 7, 5, -1));
        EXPECT_FALSE(preview_town_battle(m, h, 7, 5, 0));
        add_town(7, 5, -1);
        NeutralTownGarrison gr;
        gr.x = 7;
        gr.y = 5;
        gr.ids = {EMPTY_ID, 6, EMPTY_ID, 9, EMPTY_ID};
        gr.counts = {0, 12, 0, 2, 0};
        state().garrisons.push_back(gr);
        EXPECT_FALSE(preview_town_battle(m, h, 7, 5, 0));
        EXPECT_FALSE(loop().battle_open);
        state().garrisons[0].live = gr.live = 1;
        walk_in_turn(7, 5);
        ASSERT_TRUE(loop().battle_open);
        BattleScreen& b = g().battle;
        ASSERT_EQ(b.result_screen.preview, 1);
        EXPECT_EQ(loop().battle.quick.kind, QUICK_TOWN);
        EXPECT_EQ(loop().battle.quick.opponent, 0);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(b.casualty_ids[5 + i], gr.counts[i] > 0 ? gr.ids[i] : EMPTY_ID) << "slot " << i;
            EXPECT_EQ(b.casualties[5 + i], gr.counts[i]) << "the dragons beat every one";
        }
        const std::array<int32_t, 5> survivors = loop().battle.quick.result.attacker_survivors;
        frames(30);
        push_key(accept ? SDLK_y : SDLK_n);
        frames(2);
        if (accept) {
            EXPECT_FALSE(loop().battle_open);
            EXPECT_EQ(state().castles[0].owner, 0);
            EXPECT_FALSE(state().garrisons[0].live);
            const Army& army = state().heroes[h].army;
            const std::array<uint8_t, 2> led{23, 0};
            for (int i = 0; i < 2; ++i) {
                EXPECT_EQ(army.ids[i], survivors[i] > 0 ? led[i] : EMPTY_ID) << "slot " << i;
                EXPECT_EQ(army.counts[i], survivors[i]) << "slot " << i;
            }
            continue;
        }
        ASSERT_TRUE(loop().battle_open);
        EXPECT_EQ(b.result_screen.preview, 0);
        EXPECT_EQ(loop().battle.kind, BattleKind::Town);
        EXPECT_EQ(loop().battle.guard, 0);
        EXPECT_EQ(b.defenders[0].creature, 6);
        EXPECT_EQ(b.defenders[0].count, 12);
        EXPECT_EQ(b.defenders[1].creature, 9);
        EXPECT_EQ(b.defenders[1].count, 2);
        // Won on the battle screen, the town is taken as the accepted preview takes it.
        ASSERT_TRUE(fight_to_result());
        close_result();
        EXPECT_EQ(state().castles[0].owner, 0);
        EXPECT_FALSE(state().garrisons[0].live);
        EXPECT_EQ(state().garrisons[0].counts, (std::array<int32_t, 5>{})) << "the beaten guard keeps nobody";
    }
}

// The quick-combat preview's sentence speaks of the attacking hero by name, whatever it fights.
TEST_F(BattleRoadTest, TheQuickCombatPreviewNamesTheAttackingHero) {
    for (const int kind : {QUICK_MONSTER, QUICK_HERO, QUICK_TOWN}) {
        SCOPED_TRACE(kind);
        make_battle_game();
        m.settings.ab_resolver = true;
        const int h = add_hero(5, 5, 0);
        state().heroes[h].name = "Sir Ardent";
        set_army(h, {{23, 10}});
        bool shown = false;
        if (kind == QUICK_MONSTER) {
            add_monster(6, 5, 0, 3);
            shown = preview_monster_battle(m, h, 6, 5, 0);
        } else if (kind == QUICK_HERO) {
            shown = preview_hero_battle(m, h, add_hero(6, 5, 1));
        } else {
            Army& garrison = state().castles[(size_t)add_town(6, 5, -1)].garrison;
            garrison.ids[0] = 0;
            garrison.counts[0] = 4;
            shown = preview_town_battle(m, h, 6, 5, -1);
        }
        ASSERT_TRUE(shown);
        const BattleScreen& b = g().battle;
        EXPECT_EQ(b.result_sentence(),
                  (std::vector<std::string>{"For valor in combat, Sir Ardent",
                                            "receives " + std::to_string(b.result_experience) + " experience."}));
    }
}

// An attack on a human player's town is fought on the battle screen, never settled by the quick-combat
// preview; a computer's town is offered the preview.
TEST_F(BattleRoadTest, AHumansTownIsNeverSettledByThePreview) {
    for (const bool human_owner : {true, false}) {
        SCOPED_TRACE(human_owner ? "a human's town" : "a computer's town");
        make_battle_game();
        m.settings.ab_resolver = true;
        state().player_is_human[1] = human_owner ? 1 : 0;
        const int h = add_hero(6, 5, 0);
        set_army(h, {{23, 10}});
        CastleState& c = state().castles[(size_t)add_town(7, 5, 1)];
        c.garrison.ids[0] = 6;
        c.garrison.counts[0] = 4;
        start_player_turn(m, 0);
        accept_dialogs();
        launch_town_battle(m, h, 7, 5);
        ASSERT_TRUE(loop().battle_open);
        EXPECT_EQ(g().battle.result_screen.preview, human_owner ? 0 : 1);
        if (human_owner) {
            EXPECT_EQ(loop().battle.kind, BattleKind::Town);
            EXPECT_EQ(loop().battle.guard, -1);
            EXPECT_EQ(g().battle.control.human[1], 1) << "the owner commands its garrison";
        }
    }
}

// A siege is fought on its town's field: the second and third factions' fields stand the other way round in
// the field art, and a faction out of range falls back to the first. The hand-off keeps the siege's tile.
TEST_F(BattleRoadTest, ASiegeIsFoughtOnItsTownsField) {
    const std::array<std::pair<int, int>, 5> field_of{{{0, 0}, {1, 2}, {2, 1}, {3, 3}, {9, 0}}};
    for (const auto& [faction, field] : field_of) {
        SCOPED_TRACE("faction " + std::to_string(faction));
        make_battle_game();
        const int h = add_hero(7, 5, 0);
        CastleState& c = state().castles[(size_t)add_town(8, 5, 1)];
        c.is_castle = 1;
        c.faction = faction;
        c.garrison.ids[0] = 6;
        c.garrison.counts[0] = 4;
        launch_town_battle(m, h, 8, 5);
        ASSERT_TRUE(loop().battle_open);
        EXPECT_EQ(loop().battle.kind, BattleKind::Siege);
        EXPECT_EQ(g().battle.castle, field);
        EXPECT_EQ(loop().battle.siege_x, 8);
        EXPECT_EQ(loop().battle.siege_y, 5);
    }
}

// Two heroes meet. Beaten, a hero's artifacts go to the winner, also to a winner who defended; a hero
// who retreats or surrenders keeps its own, and the surrender's price leaves the loser's treasury for
// the winner's.
TEST_F(BattleRoadTest, ABeatenHeroLosesItsArtifactsAndASurrenderPaysTheWinner) {
    for (const BattleOutcome road : {OutcomeDefenderWon, OutcomeRetreat, OutcomeSurrender}) {
        SCOPED_TRACE((int)road);
        make_battle_game();
        const int a = add_hero(5, 5, 0);
        const int d = add_hero(7, 5, 1);
        add_hero(15, 15, 0);  // the player plays on
        set_army(a, {{0, 2}, {3, 4}});
        set_army(d, {{23, 3}});
        state().heroes[a].artifacts.fill(EMPTY_ID);
        state().heroes[a].artifacts[0] = 8;
        state().heroes[d].artifacts.fill(EMPTY_ID);
        state().resources[0].gold = 5000;
        state().resources[1].gold = 1000;
        start_player_turn(m, 0);
        accept_dialogs();
        select_hero(g(), a);
        walk_to(7, 5);
        frames(30);
        ASSERT_TRUE(loop().battle_open);
        BattleScreen& b = g().battle;
        int64_t price = 0;
        if (road == OutcomeDefenderWon) {
            ASSERT_TRUE(fight_to_result());
        } else {
            for (int i = 0; i < 2000; ++i) {
                const BattleUnit* u = b.active_unit();
                if (b.phase == ActionPhase::Idle && !b.busy && u && u->side == 0) break;
                frames(1);
            }
            if (road == OutcomeRetreat) {
                // Escape asks; n keeps the battle going with the hero and its army on the field.
                const int32_t army_before = b.attackers[0].count + b.attackers[1].count;
                push_key(SDLK_ESCAPE);
                frames(1);
                ASSERT_EQ(b.overlay, BattleOverlay::RetreatConfirm);
                push_key(SDLK_n);
                frames(20);
                EXPECT_TRUE(loop().battle_open);
                EXPECT_EQ(b.overlay, BattleOverlay::None);
                EXPECT_EQ(b.outcome, OutcomeNone);
                EXPECT_TRUE(state().heroes[a].live);
                EXPECT_EQ(b.attackers[0].count + b.attackers[1].count, army_before);
                EXPECT_EQ(b.active_unit()->side, 0) << "still the player's turn";
                push_key(SDLK_ESCAPE);
                frames(1);
                push_key(SDLK_y);
                frames(1);
            } else {
                b.open_surrender_confirm(false);
                price = b.surrender_cost;
                b.surrender_confirm_accept();
            }
        }
        ASSERT_EQ(b.overlay, BattleOverlay::Result);
        ASSERT_EQ(b.outcome, road);
        close_result();
        const bool taken = road == OutcomeDefenderWon;
        ASSERT_EQ(g().events.dialog_open, taken) << "the human is told of the artifact it lost";
        if (taken) {
            EXPECT_EQ(g().events.current_dialog()->def.text,
                      "Your " + artifact_display_name(8).value_or("") + " was lost with your hero.");
        }
        accept_dialogs();
        EXPECT_FALSE(state().heroes[a].live);
        EXPECT_EQ(state().heroes[a].artifacts[0], taken ? EMPTY_ID : 8);
        EXPECT_EQ(state().heroes[d].artifacts[0], taken ? 8 : EMPTY_ID);
        if (road == OutcomeSurrender) {
            EXPECT_GT(price, 0);
        }
        EXPECT_EQ(state().resources[0].gold, 5000 - price);
        EXPECT_EQ(state().resources[1].gold, 1000 + price);
    }
}

}  // namespace
}  // namespace vorn1::test
