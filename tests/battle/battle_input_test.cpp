#include <gtest/gtest.h>

#include <SDL.h>

#include "battle/battle_resources.h"
#include "battle/battle_rules_fixture.h"
#include "battle/battle_screen.h"
#include "world/game_state.h"
#include "world/map.h"

using namespace vorn1;
using vorn1::test::put;
using vorn1::test::queue_all;
using vorn1::test::run_phase;

namespace {

// A battle opened without any art, driven by pushed mouse and key events.
class BattleInput : public ::testing::Test {
protected:
    void SetUp() override {
        surface = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_RGBA8888);
        renderer = SDL_CreateSoftwareRenderer(surface);
        ASSERT_NE(renderer, nullptr);
        b.init(&res, nullptr, renderer, nullptr, nullptr);
        map.width = 72;
        map.height = 72;
        map.tiles.assign(72 * 72, MapTile{});
    }
    void TearDown() override {
        b.shutdown();
        SDL_DestroyRenderer(renderer);
        SDL_FreeSurface(surface);
    }
    int add_hero(int owner, std::initializer_list<std::pair<int, int>> army) {
        HeroState h;
        h.live = 1;
        h.owner = owner;
        h.x = 5 + static_cast<int>(game.heroes.size());
        h.y = 5;
        h.name = "Hero" + std::to_string(game.heroes.size());
        int i = 0;
        for (auto [id, count] : army) {
            h.army.ids[i] = static_cast<uint8_t>(id);
            h.army.counts[i++] = static_cast<uint16_t>(count);
        }
        game.heroes.push_back(h);
        return static_cast<int>(game.heroes.size()) - 1;
    }
    void open_monster_battle() {
        int h = add_hero(0, {{1, 10}, {3, 5}});
        MonsterStackState m;
        m.x = 6;
        m.y = 5;
        m.creature = 6;
        m.count = 10;
        game.monsters.push_back(m);
        b.open(h, 6, 5, map, game, 77, true);
        ASSERT_TRUE(b.active);
    }
    void mouse(Uint32 type, int x, int y, Uint8 button = SDL_BUTTON_LEFT) {
        SDL_Event e{};
        e.type = type;
        e.button.button = button;
        e.button.x = x;
        e.button.y = y;
        b.handle_event(e);
    }
    void click(int x, int y, Uint8 button = SDL_BUTTON_LEFT) {
        mouse(SDL_MOUSEBUTTONDOWN, x, y, button);
        mouse(SDL_MOUSEBUTTONUP, x, y, button);
    }
    // A point inside a hex, leaning (dx, dy) from its foot-line centre.
    void click_hex(int row, int col, int dx = 0, int dy = -40) {
        int x = 0, y = 0;
        BattleScreen::hex_to_screen(row, col, x, y);
        click(x + 39 + dx, y + 79 + dy);
    }
    void key(SDL_Keycode k) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.keysym.sym = k;
        b.handle_event(e);
    }
    void finish_action() {
        for (int i = 0; i < 2000 && b.phase != ActionPhase::Idle; ++i) b.tick_combat(10.0f);
    }

    SDL_Surface* surface = nullptr;
    SDL_Renderer* renderer = nullptr;
    BattleResources res;
    BattleScreen b;
    GameMap map;
    GameState game;
};

TEST_F(BattleInput, ClicksWalkStrikeAndShoot) {
    open_monster_battle();
    for (int i = 0; i < 10; ++i) *b.unit_by_index(i) = BattleUnit{};
    BattleUnit& archers = put(b, 0, 1, 10, 0, 1);
    BattleUnit& swords = put(b, 1, 3, 5, 2, 1);
    BattleUnit& goblins = put(b, 5, 6, 40, 2, 5);
    BattleUnit& far_goblins = put(b, 6, 6, 40, 0, 7);
    queue_all(b, 1);

    // Beyond the swordsmen's range of 2: refused with the notice, nothing starts.
    click_hex(4, 6);
    EXPECT_EQ(b.phase, ActionPhase::Idle);
    EXPECT_EQ(b.message, "BATTLE_CANNOT_MOVE");
    // An empty hex in reach: a walk there.
    click_hex(2, 3, 0, -40);
    ASSERT_EQ(b.phase, ActionPhase::Moving);
    EXPECT_EQ(b.move_path.back(), (HexStep{2, 3}));
    finish_action();
    EXPECT_EQ(swords.col, 3);

    // The goblins' hex with the pointer leaning left: the blow comes from (2,4), on the left.
    queue_all(b, 1);
    click_hex(2, 5, -30, -10);
    EXPECT_EQ(b.phase, ActionPhase::Moving);
    EXPECT_EQ(b.move_path.back(), (HexStep{2, 4}));
    finish_action();
    EXPECT_EQ(swords.col, 4);
    EXPECT_LT(goblins.count, 40);
    EXPECT_GT(goblins.count, 0);

    // Archers shoot the far goblins by a click on their hex (no art: the hex stands in for the picture).
    queue_all(b, 0);
    const int shots = archers.shots;
    const int before = far_goblins.count;
    click_hex(0, 7);
    EXPECT_NE(b.phase, ActionPhase::Idle);
    EXPECT_NE(b.phase, ActionPhase::Moving);
    finish_action();
    EXPECT_EQ(archers.shots, shots - 1);
    EXPECT_LT(far_goblins.count, before);
    EXPECT_GT(far_goblins.count, 0);
    EXPECT_EQ(archers.col, 1);

    // A flyer is held to its range too: Sprites (range 6) cannot land seven hexes away.
    BattleUnit& sprites = put(b, 2, 12, 5, 4, 1);
    queue_all(b, 2);
    b.message.clear();
    click_hex(0, 6);
    EXPECT_EQ(b.phase, ActionPhase::Idle);
    EXPECT_EQ(b.message, "BATTLE_CANNOT_MOVE");
    click_hex(4, 4);
    EXPECT_EQ(b.phase, ActionPhase::Moving);
    finish_action();
    EXPECT_EQ(sprites.col, 4);

    // A computer stack's turn takes no clicks; presses on the text bar never reach the field.
    queue_all(b, 5);
    click_hex(2, 6);
    EXPECT_EQ(b.phase, ActionPhase::Idle);
    EXPECT_EQ(goblins.col, 5);

    // An empty hex between two enemies: the blow goes to the one the pointer leans toward.
    for (int i = 0; i < 10; ++i) *b.unit_by_index(i) = BattleUnit{};
    BattleUnit& striker = put(b, 1, 3, 5, 2, 1);
    BattleUnit& beside = put(b, 5, 6, 40, 2, 4);
    BattleUnit& above = put(b, 6, 6, 40, 1, 3);
    queue_all(b, 1);
    click_hex(2, 3, 10, -40);  // up and a little right: toward (1,3) before (2,4)
    finish_action();
    EXPECT_EQ(striker.col, 3);
    EXPECT_LT(above.count, 40);
    EXPECT_EQ(beside.count, 40);
}

TEST_F(BattleInput, KeysAndTextBarButtons) {
    open_monster_battle();
    for (int i = 0; i < 10; ++i) *b.unit_by_index(i) = BattleUnit{};
    put(b, 0, 1, 10, 0, 1);
    put(b, 1, 3, 5, 2, 1);
    put(b, 5, 6, 10, 2, 5);
    queue_all(b, 0);

    // Skip: the archers' turn ends and the text names the next stack.
    click(600, 470);
    EXPECT_EQ(b.textbar_right_pressed, 0);  // the release disarms
    EXPECT_EQ(b.current, 1);
    EXPECT_EQ(b.message, "BATTLE_STACK_TURN");
    // A computer stack's turn cannot be skipped by the player.
    queue_all(b, 5);
    click(600, 470);
    EXPECT_EQ(b.current, 2);

    // Automatic combat: engaged once for the human attacker, then only a notice; the field is off.
    queue_all(b, 1);
    mouse(SDL_MOUSEBUTTONDOWN, 10, 470);
    EXPECT_EQ(b.textbar_left_pressed, 1);
    EXPECT_EQ(b.auto_attacker, 1);
    EXPECT_EQ(b.auto_engaged, 1);
    EXPECT_EQ(b.message, "BATTLE_AUTO_ENGAGED");
    mouse(SDL_MOUSEBUTTONUP, 10, 470);
    click(10, 470);
    EXPECT_EQ(b.message, "BATTLE_AUTO_ALREADY");
    click_hex(2, 2);
    EXPECT_EQ(b.phase, ActionPhase::Idle);
    b.auto_engaged = b.auto_attacker = 0;

    // Escape while the computer's stack acts asks nobody; on the player's stack it asks first: n, Escape
    // and the decline button keep the battle going as it was, y retreats the hero.
    queue_all(b, 5);
    key(SDLK_ESCAPE);
    EXPECT_EQ(b.overlay, BattleOverlay::None);
    queue_all(b, 1);
    for (int no = 0; no < 3; ++no) {
        key(SDLK_ESCAPE);
        ASSERT_EQ(b.overlay, BattleOverlay::RetreatConfirm);
        key(SDLK_a);
        click(10, 10);
        EXPECT_EQ(b.overlay, BattleOverlay::RetreatConfirm) << "only an answer closes the question";
        if (no == 2) click(b.retreat_decline_rect.x + 3, b.retreat_decline_rect.y + 3);
        else key(no == 0 ? SDLK_n : SDLK_ESCAPE);
        EXPECT_EQ(b.overlay, BattleOverlay::None);
        EXPECT_EQ(b.outcome, OutcomeNone);
        EXPECT_EQ(b.active, 1);
        EXPECT_EQ(b.active_unit(), &b.attackers[1]);
        EXPECT_EQ(b.attackers[0].count, 10);
    }
    key(SDLK_ESCAPE);
    key(SDLK_y);
    EXPECT_EQ(b.overlay, BattleOverlay::Result);
    EXPECT_EQ(b.outcome, OutcomeRetreat);
    EXPECT_EQ(b.retreating_side, 0);

    // F12 in a developer's build: the one human side wins at once; with two human sides nothing
    // happens. In a player's build it does nothing.
    b.overlay = BattleOverlay::None;
    b.outcome = OutcomeNone;
    b.control.human = {0, 1};
    b.developer_keys = false;
    key(SDLK_F12);
    EXPECT_EQ(b.outcome, OutcomeNone);
    b.developer_keys = true;
    b.control.human = {1, 1};
    key(SDLK_F12);
    EXPECT_EQ(b.outcome, OutcomeNone);
    b.control.human = {0, 1};
    key(SDLK_F12);
    EXPECT_EQ(b.outcome, OutcomeDefenderWon);
    EXPECT_EQ(b.attacker_won, 0);
    EXPECT_EQ(b.overlay, BattleOverlay::Result);
    b.overlay = BattleOverlay::None;
    b.outcome = OutcomeNone;
    b.control.human = {1, 0};
    key(SDLK_F12);
    EXPECT_EQ(b.outcome, OutcomeAttackerWon);
    EXPECT_EQ(b.attacker_won, 1);
    // The result overlay takes every event through its seam.
    int seen = 0;
    b.result_input_hook = [&](BattleScreen&, const SDL_Event&) { ++seen; };
    click(320, 240);
    key(SDLK_ESCAPE);
    EXPECT_EQ(seen, 3);
}

TEST_F(BattleInput, HeroOptionsSurrenderAndRetreat) {
    int att = add_hero(0, {{0, 3}});
    int def = add_hero(1, {{6, 4}});
    game.heroes[def].portrait = 9;
    b.open_hero_vs_hero(att, def, map, game, 5, true, BattleScreen::BattleControl{{1, 0}});
    ASSERT_TRUE(b.active);
    game.resources[0].gold = 10;
    const SDL_Rect tent = b.attacker_tent_rect;

    // The player's tent: the options; surrender costs half the recruit price of 3 Peasants.
    click(tent.x + 5, tent.y + 5);
    ASSERT_EQ(b.overlay, BattleOverlay::HeroOptions);
    EXPECT_EQ(b.view_only, 0);
    click(b.option_button_rects[2].x + 5, b.option_button_rects[2].y + 5);
    EXPECT_EQ(b.message, "Not enough gold (30 needed)");
    EXPECT_EQ(b.overlay, BattleOverlay::HeroOptions);
    // A hero without a book: the spell button does nothing; the leave button closes wherever it is released once armed.
    click(b.option_button_rects[0].x + 5, b.option_button_rects[0].y + 5);
    EXPECT_EQ(b.overlay, BattleOverlay::HeroOptions);
    mouse(SDL_MOUSEBUTTONDOWN, b.option_button_rects[3].x + 5, b.option_button_rects[3].y + 5);
    mouse(SDL_MOUSEBUTTONUP, 5, 5);
    EXPECT_EQ(b.overlay, BattleOverlay::None);

    // With the gold: the confirmation shows the enemy; Decline returns, Accept surrenders.
    game.resources[0].gold = 30;
    click(tent.x + 5, tent.y + 5);
    click(b.option_button_rects[2].x + 5, b.option_button_rects[2].y + 5);
    ASSERT_EQ(b.overlay, BattleOverlay::SurrenderConfirm);
    EXPECT_EQ(b.surrender_cost, 30);
    EXPECT_EQ(b.surrender_enemy_name, "Hero1");
    EXPECT_EQ(b.surrender_enemy_portrait, 9);
    // A press on Accept released on Decline does neither.
    mouse(SDL_MOUSEBUTTONDOWN, 160, 290);
    mouse(SDL_MOUSEBUTTONUP, 400, 290);
    EXPECT_EQ(b.overlay, BattleOverlay::SurrenderConfirm);
    mouse(SDL_MOUSEBUTTONUP, 400, 290);  // a release without its press stays inert
    EXPECT_EQ(b.overlay, BattleOverlay::SurrenderConfirm);
    click(400, 290);
    EXPECT_EQ(b.overlay, BattleOverlay::None);
    EXPECT_EQ(b.outcome, OutcomeNone);
    // Escape declines; only a release on Accept pays.
    for (bool escape : {true, false}) {
        click(tent.x + 5, tent.y + 5);
        click(b.option_button_rects[2].x + 5, b.option_button_rects[2].y + 5);
        ASSERT_EQ(b.overlay, BattleOverlay::SurrenderConfirm);
        if (escape) {
            key(SDLK_ESCAPE);
            EXPECT_EQ(b.overlay, BattleOverlay::None);
        } else {
            click(160, 290);
        }
    }
    EXPECT_EQ(b.overlay, BattleOverlay::Result);
    EXPECT_EQ(b.outcome, OutcomeSurrender);
    EXPECT_EQ(b.surrender_gold_paid, 30);
    EXPECT_EQ(b.surrendered_side, 0);
    b.close();
    EXPECT_EQ(b.surrender_gold_paid, 30);  // read by the after-battle step once the screen is closed
    b.open_hero_vs_hero(att, def, map, game, 5, true, BattleScreen::BattleControl{{1, 0}});
    EXPECT_EQ(b.surrendered_side, -1);  // the next battle starts without the old surrender
    EXPECT_EQ(b.surrender_gold_paid, 0);

    // The computer's hero: shown only; a right press gives the information, its release closes it.
    b.overlay = BattleOverlay::None;
    b.outcome = OutcomeNone;
    const SDL_Rect dtent = b.defender_tent_rect;
    click(dtent.x + 5, dtent.y + 5);
    EXPECT_EQ(b.overlay, BattleOverlay::HeroOptions);
    EXPECT_EQ(b.view_only, 1);
    click(b.option_button_rects[1].x + 5, b.option_button_rects[1].y + 5);  // retreat: not the player's
    EXPECT_EQ(b.outcome, OutcomeNone);
    click(b.option_button_rects[3].x + 5, b.option_button_rects[3].y + 5);
    EXPECT_EQ(b.overlay, BattleOverlay::None);
    mouse(SDL_MOUSEBUTTONDOWN, dtent.x + 5, dtent.y + 5, SDL_BUTTON_RIGHT);
    EXPECT_EQ(b.overlay, BattleOverlay::HeroInfo);
    mouse(SDL_MOUSEBUTTONUP, dtent.x + 5, dtent.y + 5, SDL_BUTTON_RIGHT);
    EXPECT_EQ(b.overlay, BattleOverlay::None);

    // A siege's defender may not retreat, by the dialog or by Escape.
    b.siege = 1;
    b.control.human = {0, 1};
    click(dtent.x + 5, dtent.y + 5);
    ASSERT_EQ(b.view_only, 0);
    click(b.option_button_rects[1].x + 5, b.option_button_rects[1].y + 5);
    EXPECT_EQ(b.outcome, OutcomeNone);
    key(SDLK_ESCAPE);
    EXPECT_EQ(b.overlay, BattleOverlay::None);
    queue_all(b, 5);
    key(SDLK_ESCAPE);
    EXPECT_EQ(b.overlay, BattleOverlay::None) << "nothing to ask";
    EXPECT_EQ(b.outcome, OutcomeNone);

    // The defender's tent opens for the game's first hero too.
    b.close();
    b.open_hero_vs_hero(def, att, map, game, 5, true, BattleScreen::BattleControl{{0, 1}});
    click(b.defender_tent_rect.x + 5, b.defender_tent_rect.y + 5);
    EXPECT_EQ(b.overlay, BattleOverlay::HeroOptions);
    EXPECT_EQ(b.view_only, 0);
}

TEST_F(BattleInput, CreaturePanelsOnStacks) {
    open_monster_battle();
    // A synthetic standing frame gives the stacks a picture to click.
    for (uint8_t id : {1, 3, 6}) {
        res.creatures[id].loaded = true;
        res.creatures[id].anims[STD] = {BattleSprite{nullptr, 40, 60, -20, -60}};
    }
    const BattleUnit& archers = b.attackers[0];
    SDL_Rect r = b.unit_sprite_center_rect(archers, false);
    click(r.x + 2, r.y + 2);
    EXPECT_EQ(b.overlay, BattleOverlay::CreatureView);
    EXPECT_EQ(b.inspected_unit, 0);
    click(10, 10);  // outside the exit button: stays
    EXPECT_EQ(b.overlay, BattleOverlay::CreatureView);
    click(b.view_close_rect.x + 3, b.view_close_rect.y + 3);
    EXPECT_EQ(b.overlay, BattleOverlay::None);
    EXPECT_EQ(b.inspected_unit, -1);

    const BattleUnit& goblins = b.defenders[2];
    r = b.unit_sprite_rect(goblins, true);
    mouse(SDL_MOUSEBUTTONDOWN, r.x + r.w / 2, r.y + r.h / 2, SDL_BUTTON_RIGHT);
    EXPECT_EQ(b.overlay, BattleOverlay::CreatureInfo);
    EXPECT_EQ(b.inspected_unit, 7);
    mouse(SDL_MOUSEBUTTONUP, r.x + r.w / 2, r.y + r.h / 2, SDL_BUTTON_RIGHT);
    EXPECT_EQ(b.overlay, BattleOverlay::None);
}

// The battle's dialogs take only the keys their own rules name: the creature panels close by the
// mouse alone, and the surrender question pays only on a release over Accept. A key they leave is
// spent on them: no retreat is asked while one is up.
TEST_F(BattleInput, DialogsKeepKeysTheyDoNotTake) {
    const int att = add_hero(0, {{0, 3}});
    const int def = add_hero(1, {{6, 4}});
    b.open_hero_vs_hero(att, def, map, game, 5, true, BattleScreen::BattleControl{{1, 0}});
    game.resources[0].gold = 1000;
    queue_all(b, 0);
    const struct {
        BattleOverlay dialog;
        SDL_Keycode key;
    } rows[] = {
        {BattleOverlay::SurrenderConfirm, SDLK_RETURN}, {BattleOverlay::SurrenderConfirm, SDLK_y},
        {BattleOverlay::CreatureView, SDLK_RETURN},     {BattleOverlay::CreatureView, SDLK_ESCAPE},
        {BattleOverlay::CreatureInfo, SDLK_ESCAPE},     {BattleOverlay::HeroInfo, SDLK_RETURN},
    };
    for (const auto& row : rows) {
        if (row.dialog == BattleOverlay::SurrenderConfirm) b.open_surrender_confirm(false);
        b.overlay = row.dialog;
        b.inspected_unit = 0;
        key(row.key);
        EXPECT_EQ(b.overlay, row.dialog) << static_cast<int>(row.dialog) << ", " << SDL_GetKeyName(row.key);
        EXPECT_EQ(b.outcome, OutcomeNone);
    }
}

TEST_F(BattleInput, PointerStaysWithoutCombatCursorArt) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    open_monster_battle();
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);  // no combat cursor to draw: the system one stays
    b.close();
    res.cursor_sprites.push_back(BattleSprite{});
    b.open(0, 6, 5, map, game, 77, true);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    b.close();
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    res.cursor_sprites.clear();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

}  // namespace
