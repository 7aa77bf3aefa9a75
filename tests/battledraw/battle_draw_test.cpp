#include <gtest/gtest.h>

#include <SDL.h>

#include <cstring>
#include <functional>

#include "assets/agg.h"
#include "assets/image.h"
#include "datakit/kit_formats.h"
#include "assets/render_utils.h"
#include "battle/battle_combat.h"
#include "battle/battle_draw.h"
#include "battle/battle_resources.h"
#include "battle/battle_screen.h"
#include "lang/runtime_strings.h"
#include "world/spell_table.h"

using namespace vorn1;

namespace {

BattleUnit stack_at(uint8_t id, uint8_t side, int row, int col, int count = 5) {
    BattleUnit u;
    u.creature = id;
    u.side = side;
    u.row = row;
    u.col = col;
    u.count = count;
    return u;
}

SDL_Texture* solid(SDL_Renderer* r, int w, int h, uint8_t red, uint8_t green, uint8_t blue) {
    Image img(w, h);
    for (size_t p = 0; p < img.pixels.size(); p += 4)
        img.pixels[p] = red, img.pixels[p + 1] = green, img.pixels[p + 2] = blue, img.pixels[p + 3] = 255;
    return img_to_tex(r, img, true);
}

// A battle screen on a software renderer with one red creature (id 3) and a green one (id 5).
struct DrawFixture : testing::Test {
    SDL_Surface* surface = nullptr;
    SDL_Renderer* renderer = nullptr;
    BattleResources res;
    BattleScreen b;

    void SetUp() override {
        surface = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_RGBA8888);
        renderer = SDL_CreateSoftwareRenderer(surface);
        ASSERT_NE(renderer, nullptr);
        res.renderer = renderer;
        b.init(&res, nullptr, renderer, nullptr, nullptr);
        for (int id : {3, 5}) {
            CreatureSprites& c = res.creatures[id];
            c.loaded = true;
            c.anims[STD].push_back(BattleSprite{solid(renderer, 10, 20, id == 3 ? 255 : 0, id == 3 ? 0 : 255, 0), 10,
                                                20, -2, -20});
            c.anims[STD].push_back(BattleSprite{solid(renderer, 10, 20, 0, 0, 255), 10, 20, -2, -20});
            c.outline_mask = BattleSprite{solid(renderer, 10, 20, 255, 255, 255), 10, 20, -2, -20};
        }
        b.active = 1;
        b.tick_source = [] { return 0u; };
    }
    void TearDown() override {
        b.shutdown();
        res.shutdown();
        SDL_DestroyRenderer(renderer);
        SDL_FreeSurface(surface);
    }
    std::array<int, 4> pixel(int x, int y) {
        uint32_t v = 0;
        SDL_Rect r{x, y, 1, 1};
        SDL_RenderReadPixels(renderer, &r, SDL_PIXELFORMAT_ABGR8888, &v, 4);
        return {int(v & 255), int((v >> 8) & 255), int((v >> 16) & 255), int(v >> 24)};
    }
    static void anchor(int row, int col, int& x, int& y) {
        BattleScreen::hex_to_screen(row, col, x, y);
        x += 39;
        y += 79;
    }
};

// A digest of the rule state drawing must not touch.
uint64_t state_hash(const BattleScreen& b) {
    uint64_t h = 1469598103934665603ull;
    auto mix = [&](const void* p, size_t n) {
        const auto* c = static_cast<const uint8_t*>(p);
        for (size_t i = 0; i < n; ++i) h = (h ^ c[i]) * 1099511628211ull;
    };
    for (const auto* side : {&b.attackers, &b.defenders})
        for (const BattleUnit& u : *side) {
            mix(&u.creature, 1), mix(&u.count, 4), mix(&u.row, 4), mix(&u.col, 4), mix(&u.alive, 1);
        }
    mix(&b.rng, 4), mix(&b.phase, 1), mix(&b.current, 4), mix(&b.phase_time, 4), mix(&b.wince_frame, 4);
    mix(b.message.data(), b.message.size());
    return h;
}

}  // namespace

TEST(BattleDrawList, DepthOrderOfStacksObstaclesAndTents) {
    BattleScreen b;
    b.attackers[0] = stack_at(3, 0, 2, 1);
    b.defenders[0] = stack_at(5, 1, 2, 7);
    b.attackers[1] = stack_at(3, 0, 1, 1);
    b.field_objects.push_back(BattleScreen::FieldObject{{0, 0, 1, 1}, 2, 4, 0, 0});
    std::vector<DrawEntry> list = build_draw_list(b);
    // Stacks (10), one obstacle, only the attacker's tent without a defending hero.
    ASSERT_EQ(list.size(), 12u);
    int tents = 0;
    for (const DrawEntry& e : list) tents += e.kind == 2;
    EXPECT_EQ(tents, 1);
    auto pos = [&](auto pred) {
        for (size_t i = 0; i < list.size(); ++i)
            if (pred(list[i])) return static_cast<int>(i);
        return -1;
    };
    const int tent = pos([](const DrawEntry& e) { return e.kind == 2; });
    const int row1 = pos([&](const DrawEntry& e) { return e.unit == &b.attackers[1]; });
    const int att = pos([&](const DrawEntry& e) { return e.unit == &b.attackers[0]; });
    const int def = pos([&](const DrawEntry& e) { return e.unit == &b.defenders[0]; });
    const int obj = pos([](const DrawEntry& e) { return e.kind == 1; });
    EXPECT_LT(row1, tent);  // row 1 under the attacker's tent
    EXPECT_LT(tent, def);   // row 2 over it
    EXPECT_LT(def, att);    // side 1 first within a row
    EXPECT_LT(att, obj);    // obstacles after the stacks of their row

    // The striking stack goes over everything; a defending hero adds the second tent at row 3.
    b.phase = ActionPhase::MeleeStrike;
    b.striker = 1;
    b.defender_side.hero = 4;
    list = build_draw_list(b);
    EXPECT_EQ(list.back().unit, &b.attackers[1]);
    EXPECT_EQ(list.size(), 13u);
}

TEST_F(DrawFixture, StacksFaceTheirSideAndDrawingChangesNothing) {
    b.attackers[0] = stack_at(3, 0, 1, 2);
    b.defenders[0] = stack_at(5, 1, 3, 6);
    const uint64_t before = state_hash(b);
    b.draw();
    EXPECT_EQ(state_hash(b), before);
    int x = 0, y = 0;
    anchor(1, 2, x, y);
    EXPECT_EQ(pixel(x + 5, y - 15), (std::array<int, 4>{255, 0, 0, 255}));  // frame spans x-2..x+8
    EXPECT_EQ(pixel(x - 5, y - 15), (std::array<int, 4>{20, 20, 60, 255}));  // bare field
    anchor(3, 6, x, y);
    EXPECT_EQ(pixel(x - 5, y - 15), (std::array<int, 4>{0, 255, 0, 255}));  // mirrored: x-8..x+2
    EXPECT_EQ(pixel(x + 5, y - 15), (std::array<int, 4>{20, 20, 60, 255}));
    // Count badge without art: purple box at (sprite x + w/2 - 10, anchor y - 13).
    const std::array<int, 4> badge = pixel(x - 8 + 5 - 10 + 1, y - 13 + 1);
    EXPECT_GT(badge[2], badge[1]);
    EXPECT_GT(badge[0], 20);
}

TEST_F(DrawFixture, DeadStacksShowOnlyWhileTheirWincePlays) {
    b.attackers[0] = stack_at(3, 0, 2, 2);
    b.defenders[0] = stack_at(5, 1, 2, 4, 0);
    b.defenders[0].alive = 0;
    b.phase = ActionPhase::TargetWince;
    b.struck = 5;
    b.wince_frame = 3;
    EXPECT_TRUE(unit_drawn(b, b.defenders[0]));
    int x = 0, y = 0;
    anchor(2, 4, x, y);
    b.draw();
    EXPECT_EQ(pixel(x - 5, y - 5), (std::array<int, 4>{0, 0, 255, 255}));  // the wince frame
    // No count badge for a count of 0: the pixel above the frame is bare field.
    EXPECT_EQ(pixel(x - 3, y - 12), (std::array<int, 4>{0, 0, 255, 255}));
    b.wince_frame = 4;
    EXPECT_FALSE(unit_drawn(b, b.defenders[0]));
    b.draw();
    EXPECT_EQ(pixel(x - 5, y - 5), (std::array<int, 4>{20, 20, 60, 255}));
    b.phase = ActionPhase::Idle;
    EXPECT_FALSE(unit_drawn(b, b.defenders[0]));
    EXPECT_TRUE(unit_drawn(b, b.attackers[0]));
}

TEST_F(DrawFixture, ActiveStackGlowCyclesFourTones) {
    b.attackers[0] = stack_at(3, 0, 2, 2, 1);
    b.queue.push_back(TurnEntry{});
    b.queue[0].side = 0;
    b.queue[0].slot = 0;
    b.current = 0;
    int x = 0, y = 0;
    anchor(2, 2, x, y);
    std::array<int, 4> seen[4];
    for (int step = 0; step < 4; ++step) {
        b.battle_clock = 250.0f * step + 10.0f;
        b.draw();
        seen[step] = pixel(x + 9, y - 18);  // just right of the frame: the outline only
    }
    EXPECT_GT(seen[0][0], 20);
    for (int s = 1; s < 4; ++s) EXPECT_NE(seen[s], seen[s - 1]) << s;
    b.battle_clock = 1010.0f;  // one second later, the first tone again
    b.draw();
    EXPECT_EQ(pixel(x + 9, y - 18), seen[0]);
    b.phase = ActionPhase::Shot;  // no glow outside the idle phase
    b.draw();
    EXPECT_EQ(pixel(x + 9, y - 18), (std::array<int, 4>{20, 20, 60, 255}));
}

TEST_F(DrawFixture, HitEffectsLoadOnceAndFallBackToColouredSquares) {
    b.ensure_damage_icns_loaded();  // no archive: nothing loaded, and not retried
    EXPECT_TRUE(b.damage_icns.kinds[0].empty());
    EXPECT_TRUE(b.damage_icns.loaded);

    AggArchive ar = AggArchive::from_bytes(kit::write_agg({{"PHYSICAL.ICN", kit::labelled_icn("PHYSICAL", 6, 30, 30)}}));
    res.archive = &ar;
    b.ensure_damage_icns_loaded();
    EXPECT_TRUE(b.damage_icns.kinds[0].empty());
    b.damage_icns.release();
    b.ensure_damage_icns_loaded();
    EXPECT_EQ(b.damage_icns.kinds[0].size(), 6u);
    ASSERT_EQ(b.damage_icns.kinds[2].size(), 10u);  // REDFIRE missing: squares 20, 28, ... 92
    EXPECT_EQ(b.damage_icns.kinds[2][9].w, 92);
    EXPECT_EQ(b.damage_icns.kinds[2][9].ox, -46);
    EXPECT_EQ(b.damage_icns.kinds[2][9].oy, -92);

    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    b.draw_damage_anim(100, 100, 2, 0);  // 20 x 20 centred above the point
    const std::array<int, 4> in = pixel(100, 90);
    EXPECT_NEAR(in[0], 220 * 180 / 255, 2);
    EXPECT_NEAR(in[1], 80 * 180 / 255, 2);
    EXPECT_EQ(pixel(100, 101), (std::array<int, 4>{0, 0, 0, 255}));
    b.draw_damage_anim(300, 300, 2, 10);  // past the list
    b.draw_damage_anim(300, 300, 5, 0);   // no such kind
    b.draw_damage_anim(300, 300, 2, -1);
    EXPECT_EQ(pixel(300, 290), (std::array<int, 4>{0, 0, 0, 255}));
}

TEST_F(DrawFixture, TextBarButtonsAndCursor) {
    b.draw();
    // No text-bar art: olive buttons at both ends, nothing between them.
    EXPECT_EQ(pixel(10, 470), (std::array<int, 4>{120, 100, 0, 255}));
    EXPECT_EQ(pixel(600, 470), (std::array<int, 4>{120, 100, 0, 255}));

    // With art: the pressed left button is frame 2; the bar is frame 0 and its mirror.
    res.textbar_sprites.push_back(BattleSprite{solid(renderer, 272, 20, 10, 10, 10), 272, 20, 0, 0});
    res.textbar_sprites.push_back(BattleSprite{solid(renderer, 48, 20, 1, 0, 0), 48, 20, 0, 0});
    res.textbar_sprites.push_back(BattleSprite{solid(renderer, 48, 20, 2, 0, 0), 48, 20, 0, 0});
    res.textbar_sprites.push_back(BattleSprite{solid(renderer, 48, 20, 3, 0, 0), 48, 20, 0, 0});
    res.textbar_sprites.push_back(BattleSprite{solid(renderer, 48, 20, 4, 0, 0), 48, 20, 0, 0});
    b.textbar_left_pressed = 1;
    b.draw();
    EXPECT_EQ(pixel(10, 470)[0], 2);
    EXPECT_EQ(pixel(600, 470)[0], 3);
    EXPECT_EQ(pixel(100, 470)[0], 10);
    EXPECT_EQ(pixel(500, 470)[0], 10);

    // The cursor's offsets are its hot spot; a shape past the set draws nothing.
    res.cursor_sprites.assign(7, BattleSprite{});
    res.cursor_sprites[6] = BattleSprite{solid(renderer, 8, 8, 250, 250, 250), 8, 8, 3, 3};
    b.mouse_x = 200;
    b.mouse_y = 200;
    b.overlay = BattleOverlay::SurrenderConfirm;
    b.draw();
    EXPECT_EQ(pixel(197, 197)[0], 250);
    EXPECT_NE(pixel(196, 196)[0], 250);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    b.draw_combat_cursor(7);
    b.draw_combat_cursor(-1);
    EXPECT_EQ(pixel(200, 200), (std::array<int, 4>{0, 0, 0, 255}));
}

TEST_F(DrawFixture, SiegeWallsJointsAndCatapultBase) {
    b.siege = 1;
    b.castle = 1;
    auto& set = res.castle_sprites[1];
    for (int i = 0; i < 11; ++i) set.push_back(BattleSprite{solid(renderer, 6, 6, uint8_t(100 + i), 0, 0), 6, 6, 0, 0});
    b.wall_hp = {2, 1, 0, 2, 1};
    b.draw_castle_walls();
    auto section_at = [&](int r) {
        int x = 0, y = 0;
        BattleScreen::hex_to_screen(r, 5, x, y);
        return pixel(x + 67 - 6 + 1, y + 79 + 1)[0];
    };
    auto joint_at = [&](int r) {
        int x = 0, y = 0;
        BattleScreen::hex_to_screen(r, 5, x, y);
        return r % 2 == 0 ? pixel(x + 39 + 1, y + 79 + 1)[0] : pixel(x + 67 - 6 + 1, y + 79 + 1)[0];
    };
    EXPECT_EQ(section_at(0), 110);  // intact
    EXPECT_EQ(joint_at(0), 109);
    EXPECT_EQ(section_at(2), 0);    // gone: no section, no joint
    EXPECT_EQ(joint_at(2), 0);
    EXPECT_EQ(section_at(4), 108);  // damaged; row 4 has no joint
    int x4 = 0, y4 = 0;
    BattleScreen::hex_to_screen(4, 5, x4, y4);
    EXPECT_EQ(pixel(x4 + 39 + 1, y4 + 79 + 1)[0], 0);
    // Row 1 is damaged; its joint is drawn over the section at the same place.
    EXPECT_EQ(joint_at(1), 109);

    // Catapult: base 16 only on throw frame 7.
    for (int i = 0; i < 17; ++i)
        res.catapult_sprites.push_back(BattleSprite{solid(renderer, i >= 15 ? 20 : 4, 4, uint8_t(i), 50, 0),
                                                    i >= 15 ? 20 : 4, 4, 0, 0});
    b.catapult_pos = {100, 400};
    b.phase = ActionPhase::CatapultThrow;
    b.catapult_frame = 7;
    b.draw_catapult();
    EXPECT_EQ(pixel(110, 401)[0], 16);
    EXPECT_EQ(pixel(101, 401)[0], 7);
    b.catapult_frame = 30;  // clamped to the last throw frame
    b.draw_catapult();
    EXPECT_EQ(pixel(110, 401)[0], 15);
    EXPECT_EQ(pixel(101, 401)[0], 14);

    // A town kind outside 0..3 draws nothing.
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    b.castle = 4;
    b.draw_castle_walls();
    b.draw_castle_floor();
    b.draw_keep();
    EXPECT_EQ(section_at(0), 0);
}

TEST_F(DrawFixture, HeroTentsFiguresBannersAndEmblems) {
    // Tent frames: 0..3 figures by class, 4..7 banners, 8..11 emblems; each frame its own red value.
    for (int i = 0; i < 12; ++i) {
        const int w = i < 4 ? 40 : (i < 8 ? 30 : 10), h = i < 4 ? 80 : (i < 8 ? 60 : 10);
        res.tent_sprites.push_back(BattleSprite{solid(renderer, w, h, static_cast<uint8_t>(100 + i), 0, 0), w, h, 0, 0});
    }
    b.attacker_side.hero = 0;
    b.attacker_side.hero_class = 2;
    b.attacker_side.hero_colour = 3;
    b.defender_side.hero = 1;
    b.defender_side.hero_class = 9;  // no such class: figure 0, emblem 8
    BattleScreen::HeroTentGeom g;
    ASSERT_TRUE(b.resolve_hero_tent_geom(0, g));
    EXPECT_EQ(g.rect.x, 0);
    EXPECT_EQ(g.rect.y, 257 - 80);
    EXPECT_EQ(g.banner_x, 40 + 4 - 30);
    EXPECT_EQ(g.banner_y, 260 - 60);
    ASSERT_TRUE(b.resolve_hero_tent_geom(1, g));
    EXPECT_EQ(g.rect.x, 600);
    EXPECT_EQ(g.rect.y, 417 - 80);
    EXPECT_EQ(g.banner_x, 636 - 40);
    b.draw();
    EXPECT_EQ(pixel(2, 257 - 2)[0], 102);        // the sorceress's figure
    EXPECT_EQ(pixel(638, 417 - 2)[0], 100);      // the defender's falls back to figure 0
    EXPECT_EQ(pixel(16, 200 + 2)[0], 107);       // banner of colour 3 ...
    EXPECT_EQ(pixel(14 + 10, 200 + 25 - 27 + 2)[0], 110);  // ... with the class emblem 27 px above its middle
    EXPECT_EQ(pixel(596 + 2, 420 - 60 + 2)[0], 104);        // plain banner for colour 0

    // A battle against monsters has no defender tent.
    b.defender_side.hero = -1;
    EXPECT_FALSE(b.resolve_hero_tent_geom(1, g));
}

TEST_F(DrawFixture, HeroOptionsButtonsShowWhatIsAvailable) {
    b.attacker_side.hero = 0;
    b.defender_side.hero = 1;
    b.overlay = BattleOverlay::HeroOptions;
    b.draw();
    // No dialog art: stand-in buttons, stored for the input.
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(b.option_button_rects[i].x, 210 + 59 * i);
        EXPECT_EQ(pixel(212 + 59 * i, 279), (std::array<int, 4>{60, 40, 90, 255}));
    }
    // Frames 7..14 in the art: pressed looks for what cannot be used.
    b.viewgen_art.release();
    b.viewgen_art.loaded = true;
    for (int i = 0; i < 15; ++i)
        b.viewgen_art.frames.push_back(BattleSprite{solid(renderer, 8, 8, static_cast<uint8_t>(i), 0, 0), 8, 8, 0, 0});
    auto shown = [&] {
        b.draw();
        std::array<int, 4> f{};
        for (int i = 0; i < 4; ++i) f[i] = pixel(212 + 59 * i, 279)[0];
        return f;
    };
    b.control.human = {1, 0};
    b.options_side = 0;
    b.view_only = 0;
    EXPECT_EQ(shown(), (std::array<int, 4>{8, 9, 11, 13}));  // no battle spells yet
    b.defender_side.hero = -1;
    EXPECT_EQ(shown(), (std::array<int, 4>{8, 9, 12, 13}));  // surrender needs a hero on both sides
    b.defender_side.hero = 1;
    b.siege = 1;
    b.options_side = 1;
    b.control.human = {0, 1};
    EXPECT_EQ(shown(), (std::array<int, 4>{8, 10, 11, 13}));  // a siege's defender cannot retreat
    b.view_only = 1;
    b.option_button_pressed[3] = 1;
    EXPECT_EQ(shown(), (std::array<int, 4>{8, 10, 12, 14}));  // only leaving works, here pressed
}

TEST_F(DrawFixture, CreaturePanelAndSurrenderStandIns) {
    BattleUnit archers = stack_at(1, 0, 0, 1, 12);
    archers.shots = 7;
    EXPECT_EQ(battle_stack_stat_lines(archers, 0, 0, 0, 0).size(), 8u);
    EXPECT_EQ(battle_stack_stat_lines(stack_at(3, 0, 0, 1), 0, 0, 0, 0).size(), 7u);
    strings().load_from_text("", R"J({"BATTLE_STAT_SHOTS":"Shots left: {0}","BATTLE_STAT_HP":"{0} of {1} ({2})"})J");
    const auto lines = battle_stack_stat_lines(archers, 2, 1, 0, 0);
    EXPECT_EQ(lines[2], "Shots left: 7");
    strings().load_from_text("", "");

    b.attackers[0] = archers;
    b.inspected_unit = 0;
    b.overlay = BattleOverlay::CreatureView;
    b.draw();
    EXPECT_EQ(pixel(119, 200), (std::array<int, 4>{100, 100, 150, 255}));  // the panel's outline
    EXPECT_EQ(b.view_close_rect.x, 119 + 402 - 108);
    EXPECT_EQ(b.view_close_rect.y, 115 + 229 - 47);
    EXPECT_EQ(pixel(b.view_close_rect.x + 1, b.view_close_rect.y + 1), (std::array<int, 4>{60, 60, 100, 255}));

    b.overlay = BattleOverlay::SurrenderConfirm;
    b.draw();
    EXPECT_EQ(pixel(153, 282), (std::array<int, 4>{180, 140, 40, 255}));
    EXPECT_EQ(pixel(357, 282), (std::array<int, 4>{180, 140, 40, 255}));
    EXPECT_EQ(pixel(77, 200), (std::array<int, 4>{200, 170, 60, 255}));
}

TEST_F(DrawFixture, LuckEffectCentresOnItsStack) {
    b.attackers[0] = stack_at(3, 0, 2, 1);
    b.effect_unit = 0;
    b.effect_frame = 5;  // past the set's end: its last frame
    res.good_luck_sprites.push_back(BattleSprite{solid(renderer, 8, 8, 1, 2, 3), 8, 8, 40, 40});
    res.good_luck_sprites.push_back(BattleSprite{solid(renderer, 8, 8, 7, 7, 7), 8, 8, 40, 40});
    b.phase = ActionPhase::GoodLuck;
    b.draw();
    // Anchor x 27 + 39; the standing frame (10 wide, offsets -2, -20) puts the centre at (69, 281).
    EXPECT_EQ(pixel(69, 281)[0], 7);
    EXPECT_EQ(pixel(65, 277)[0], 7);
    EXPECT_NE(pixel(64, 276)[0], 7);
    b.phase = ActionPhase::Idle;
    b.draw();
    EXPECT_NE(pixel(69, 281)[0], 7);
}

TEST_F(DrawFixture, StandInsForMissingFiguresAndCreatureArt) {
    b.attacker_side.hero = 0;
    b.attackers[1] = stack_at(7, 0, 3, 1);  // no sprite set loaded for creature 7
    b.defenders[1] = stack_at(9, 1, 3, 7);
    b.draw();
    EXPECT_EQ(pixel(5, 160), (std::array<int, 4>{110, 80, 40, 255}));  // the attacker's figure box
    EXPECT_NE(pixel(600, 320), (std::array<int, 4>{110, 80, 40, 255}));  // no defending hero, no box
    int x = 0, y = 0;
    anchor(3, 1, x, y);
    EXPECT_EQ(pixel(x - 15, y - 30), (std::array<int, 4>{70, 110, 190, 255}));
    anchor(3, 7, x, y);
    EXPECT_EQ(pixel(x + 15, y - 30), (std::array<int, 4>{190, 80, 60, 255}));
}

TEST_F(DrawFixture, TheMissileShowsItsDirectionsFrame) {
    b.attackers[0] = stack_at(3, 0, 2, 1);
    for (int d = 0; d < 5; ++d)
        res.creatures[3].projectiles.push_back(BattleSprite{solid(renderer, 4, 4, uint8_t(60 + d), 0, 0), 4, 4, 0, 0});
    b.phase = ActionPhase::ShotFlight;
    b.shooter = 0;
    b.shot_frame = 4;  // where the draw before the flight ended
    b.missile_x = 300.0f;
    b.missile_y = 30.0f;
    for (int dir : {2, 0, 9}) {
        b.missile_dir = dir;
        b.draw();
        EXPECT_EQ(pixel(301, 31)[0], 60 + std::min(dir, 4)) << dir;
    }
}

TEST_F(DrawFixture, SpellCastsSplashesAndHitsDrawWhereTheyLandAndLeaveNothing) {
    const std::array<int, 4> field{20, 20, 60, 255};
    auto sprite = [&](uint8_t red, int w, int h, int ox, int oy) {
        return BattleSprite{solid(renderer, w, h, red, 0, 0), w, h, ox, oy};
    };
    b.attackers[0] = stack_at(3, 0, 2, 1);
    b.defenders[0] = stack_at(5, 1, 2, 6);
    b.defenders[1] = stack_at(4, 1, 0, 6);  // a two-hex stack (no art: its stand-in box)
    int unchanged = 0, draws = 0;
    auto draw = [&] {
        const uint64_t before = state_hash(b);
        b.draw();
        unchanged += state_hash(b) == before;
        ++draws;
    };

    // The effect over the target: the last frame once the cast frame runs past the set; a two-hex
    // defender's anchor is 64 px right of a one-hex creature's.
    res.magic_sprites[5].push_back(sprite(101, 6, 6, 0, -90));
    res.magic_sprites[5].push_back(sprite(102, 6, 6, 0, -90));
    b.phase = ActionPhase::SpellCast;
    b.spells.cast_kind = 5;
    b.spells.cast_frame = 7;
    b.spells.cast_target = 5;
    draw();
    int x = 0, y = 0;
    anchor(2, 6, x, y);
    EXPECT_EQ(pixel(x + 1, y - 89)[0], 102);
    b.spells.cast_target = 6;
    draw();
    anchor(0, 6, x, y);
    EXPECT_EQ(pixel(x + 64 + 1, y - 89)[0], 102);
    EXPECT_NE(pixel(x + 1, y - 89)[0], 102);

    // Fireball: the splash and its mirror about the hex centre.
    b.splash_icns[0].loaded = b.splash_icns[1].loaded = b.splash_icns[2].loaded = true;
    b.splash_icns[0].frames.push_back(sprite(111, 10, 10, 5, -30));
    b.spells.cast_kind = -2;
    b.spell_id = kSpellFireball;
    b.spells.area_row = 3;
    b.spells.area_col = 4;
    draw();
    anchor(3, 4, x, y);
    EXPECT_EQ(pixel(x + 10, y - 25)[0], 111);
    EXPECT_EQ(pixel(x - 10, y - 25)[0], 111);
    EXPECT_NE(pixel(x, y - 25)[0], 111);
    // Meteor Shower on row 0: a splash on each of its five hexes inside the field, none above it.
    b.splash_icns[1].frames.push_back(sprite(112, 4, 4, -2, -40));
    b.spell_id = kSpellMeteor;
    b.spells.area_row = 0;
    draw();
    int on_field = 0;
    for (const auto& hex : spell_area_hexes(0, 4)) {
        if (hex[0] < 0) continue;
        anchor(hex[0], hex[1], x, y);
        on_field += pixel(x, y - 39)[0] == 112;
    }
    EXPECT_EQ(on_field, 5);

    // Spell hits: electric hits from their own set; a killed stack stays for three frames.
    b.spell_dmg_icns[0].loaded = b.spell_dmg_icns[1].loaded = true;
    b.spell_dmg_icns[0].frames.push_back(sprite(121, 6, 6, -3, -60));
    b.defenders[0].alive = 0;
    b.defenders[0].count = 0;
    anchor(2, 6, x, y);
    b.spells.hits.push_back(SpellDmgTarget{x, y, 9, 1, DMG_ELECTRIC, -1});
    b.phase = ActionPhase::SpellDamageAnim;
    b.spells.hit_frame = 3;
    draw();
    EXPECT_EQ(pixel(x, y - 58)[0], 121);
    EXPECT_EQ(pixel(x - 5, y - 15), (std::array<int, 4>{0, 255, 0, 255}));  // still shown
    b.spells.hit_frame = 4;
    draw();
    EXPECT_EQ(pixel(x - 5, y - 15), field);

    // Once the phase is over nothing of the spell is left.
    b.phase = ActionPhase::Idle;
    b.spells.hits.clear();
    draw();
    EXPECT_EQ(pixel(x, y - 58), field);
    anchor(3, 4, x, y);
    EXPECT_EQ(pixel(x + 10, y - 25), field);
    EXPECT_EQ(unchanged, draws);
}

TEST_F(DrawFixture, StatusGlowsBadgesAndTheAimingCursor) {
    b.spell_icons.loaded = true;
    for (int i = 0; i < 30; ++i)
        b.spell_icons.frames.push_back(BattleSprite{solid(renderer, 8, 16, uint8_t(150 + i), 0, 0), 8, 16, 0, 0});
    b.attackers[0] = stack_at(3, 0, 2, 2);
    b.attackers[0].spell_status = kSpellBless;
    b.attackers[0].status_rounds = 2;
    b.defenders[0] = stack_at(5, 1, 2, 6);
    b.defenders[0].spell_status = kSpellBlind;
    b.defenders[0].status_rounds = 1;
    b.battle_clock = 600.0f;  // step 2 of the glow
    b.draw();
    int x = 0, y = 0;
    anchor(2, 2, x, y);
    auto over = [](int src, int dst, int a) { return (src * a + dst * (255 - a)) / 255; };
    const std::array<int, 4> blue = pixel(x + 9, y - 18);  // the outer ring only: half of step 2's alpha
    EXPECT_NEAR(blue[0], over(120, 20, 110), 2);
    EXPECT_NEAR(blue[1], over(190, 20, 110), 2);
    EXPECT_NEAR(blue[2], over(255, 60, 110), 2);
    // Badge: frame 8 beside the count badge (sprite x + w/2 - 10 + 21), centred on its 11 px height.
    const int bx = x - 2 + 5 - 10, by = y - 13;
    EXPECT_EQ(pixel(bx + 21 + 1, by + (11 - 16) / 2 + 1)[0], 158);
    anchor(2, 6, x, y);
    const std::array<int, 4> red = pixel(x - 9, y - 18);
    EXPECT_GT(red[0], red[2]);
    EXPECT_EQ(pixel(x - 8 + 5 - 10 - 8 - 1, by + 1)[0], 157);  // mirrored: left of the count badge
    // Dispelled: neither glow nor badge.
    b.attackers[0].spell_status = 255;
    b.draw();
    anchor(2, 2, x, y);
    EXPECT_EQ(pixel(x + 9, y - 18), (std::array<int, 4>{20, 20, 60, 255}));
    EXPECT_NE(pixel(bx + 21 + 1, by - 1)[0], 158);

    // Aiming Fireball: the hovered hex and its neighbours light up and the spell's icon (frame 18
    // stretched to 16 x 32) follows the pointer.
    b.spell_aiming = 1;
    b.spells.aim_spell = kSpellFireball;
    b.spells.hover_row = 1;
    b.spells.hover_col = 4;
    b.mouse_x = 300;
    b.mouse_y = 30;
    b.draw();
    const SDL_Rect lit = BattleScreen::hex_rect(2, 4);
    const std::array<int, 4> tint = pixel(lit.x + 39, lit.y + 5);
    EXPECT_GT(tint[0], 20);
    EXPECT_EQ(pixel(300, 30)[0], 150 + SPELL_TABLE[kSpellFireball].icon);
    EXPECT_EQ(pixel(291, 30), (std::array<int, 4>{20, 20, 60, 255}));  // 16 px wide from 292
    // A status spell over the Dragon-free enemy shows its icon; over empty ground frame 29.
    b.spells.aim_spell = kSpellSlow;
    anchor(2, 6, x, y);
    b.mouse_x = x - 4;
    b.mouse_y = y - 10;
    b.draw();
    EXPECT_EQ(pixel(b.mouse_x, b.mouse_y)[0], 150 + SPELL_TABLE[kSpellSlow].icon);
    b.mouse_x = 300;
    b.draw();
    EXPECT_EQ(pixel(300, b.mouse_y)[0], 179);
}

TEST_F(DrawFixture, StormAndArmageddonDarkenTheFieldAndTheRainFadesIn) {
    auto over = [](int src, int dst, int a) { return (src * a + dst * (255 - a)) / 255; };
    b.phase = ActionPhase::MassSpellOverlay;
    b.spell_id = kSpellStorm;
    b.spells.overlay_level = 10;
    b.draw();  // no rain art: only the dimming, alpha 180
    EXPECT_NEAR(pixel(300, 200)[0], over(10, 20, 180), 1);
    EXPECT_NEAR(pixel(300, 200)[2], over(10, 60, 180), 1);
    EXPECT_EQ(pixel(10, 470), (std::array<int, 4>{120, 100, 0, 255}));  // the text bar is not dimmed

    b.splash_icns[2].frames.push_back(BattleSprite{solid(renderer, 8, 8, 250, 250, 250), 8, 8, 0, 0});
    b.draw();  // rain at alpha 255
    EXPECT_EQ(pixel(300, 200), (std::array<int, 4>{250, 250, 250, 255}));
    EXPECT_EQ(pixel(636, 455), (std::array<int, 4>{250, 250, 250, 255}));
    b.phase = ActionPhase::MassSpellFlash;
    b.spells.overlay_level = 1;  // dimming 18, rain 57
    b.draw();
    EXPECT_NEAR(pixel(300, 200)[0], over(250, over(10, 20, 18), 57), 2);
    uint8_t alpha = 0;
    SDL_GetTextureAlphaMod(b.splash_icns[2].frames[0].tex, &alpha);
    EXPECT_EQ(alpha, 255);

    b.spells.armageddon = 1;
    b.spells.overlay_level = 10;
    b.draw();  // red, no rain
    EXPECT_NEAR(pixel(300, 200)[0], over(120, 20, 180), 1);
    EXPECT_NEAR(pixel(300, 200)[2], over(0, 60, 180), 1);
    b.phase = ActionPhase::Idle;
    b.draw();
    EXPECT_EQ(pixel(300, 200), (std::array<int, 4>{20, 20, 60, 255}));
}
