// The map's own screens and the adventure spells: rules, input and pixels.
#include "adv_fixture.h"

#include "adventure/adv_geometry.h"
#include "adventure/adventure_spells.h"
#include "adventure/apanel.h"
#include "adventure/elimination_messages.h"
#include "adventure/kingdomscrn.h"
#include "adventure/player_elimination.h"
#include "adventure/puzzle_map.h"
#include "adventure/puzzle_map_state.h"
#include "adventure/quikinfo.h"
#include "adventure/world_map.h"
#include "datakit/kit_maps.h"
#include "lang/runtime_strings.h"
#include "datakit/kit_lang.h"
#include "world/new_day.h"
#include "world/tile_rules.h"

namespace vorn1 {
namespace {

using namespace advtest;

SDL_Event mouse(Uint32 type, int x, int y, Uint8 button = SDL_BUTTON_LEFT) {
    SDL_Event e{};
    e.type = type;
    e.button.button = button;
    e.button.x = x;
    e.button.y = y;
    return e;
}
SDL_Event key(SDL_Keycode k) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = k;
    return e;
}

// A small land with a lake, one hero of seat 0 with a spell book, a town of each seat and pickups.
struct World {
    GameMap map;
    GameState state;
    World() {
        kit::MapBuilder b(24, 24, kit::G_GRASS, "Spells");
        b.fill(14, 0, 23, 23, kit::G_WATER);
        b.town(4, 4, 0, 0, true, "Alpha");
        b.town(10, 12, 1, 0, false, "Beta");
        b.town(4, 18, 2, 1, false, "Gamma");
        b.hero(8, 8, 0, 0);
        b.hero(9, 9, 9, 1);
        b.chest(6, 8);
        b.monster(7, 10, 3, 12);
        b.mine(2, 10, MINE_GOLD, 0);
        b.boat(16, 8);
        map = b.map;
        state = kit::adventure_state_for_map(map, true);
        HeroState& h = state.heroes[0];
        h.has_spellbook = 1;
        h.spell_charges[SPELL_DIMENSION_DOOR] = 2;
        h.spell_charges[SPELL_VIEW_MINES] = 1;
        h.spell_charges[SPELL_TOWN_GATE] = 1;
        h.spell_charges[SPELL_SUMMON_BOAT] = 1;
    }
};

TEST(AdventureSpells, CastableListAndRefusals) {
    World w;
    EXPECT_EQ(castable_adventure_spells(w.state, 0),
              (std::vector<int>{SPELL_VIEW_MINES, SPELL_SUMMON_BOAT, SPELL_DIMENSION_DOOR, SPELL_TOWN_GATE}));
    EXPECT_TRUE(castable_adventure_spells(w.state, 1).empty()) << "no spell book";
    EXPECT_EQ(can_cast_adventure_spell(w.state, w.map, 0, SPELL_DIMENSION_DOOR, 12), CastRefusal::None);
    EXPECT_EQ(can_cast_adventure_spell(w.state, w.map, 0, SPELL_DIMENSION_DOOR, 11), CastRefusal::NoPoints);
    EXPECT_EQ(can_cast_adventure_spell(w.state, w.map, 0, SPELL_VIEW_ALL, 40), CastRefusal::NoCharges);
    EXPECT_EQ(can_cast_adventure_spell(w.state, w.map, 0, 16, 40), CastRefusal::NotAdventure) << "a battle spell";
    EXPECT_EQ(can_cast_adventure_spell(w.state, w.map, 7, SPELL_VIEW_MINES, 40), CastRefusal::NoHero);
    w.state.heroes[0].on_boat = 1;
    EXPECT_EQ(can_cast_adventure_spell(w.state, w.map, 0, SPELL_DIMENSION_DOOR, 40), CastRefusal::OnBoat);
    EXPECT_EQ(view_spell_reveal(SPELL_VIEW_MINES), REVEAL_MINES);
    EXPECT_EQ(view_spell_reveal(SPELL_DIMENSION_DOOR), 0);
    EXPECT_TRUE(view_spell_reveal(SPELL_VIEW_ALL) & REVEAL_TOWNS);
}

TEST(AdventureSpells, DimensionDoorRangeFogLandingAndCost) {
    World w;
    int mp = 20;
    EXPECT_FALSE(dimdoor_target_ok(w.state, w.map, 0, 8, 8)) << "own tile";
    EXPECT_FALSE(dimdoor_target_ok(w.state, w.map, 0, 6, 8)) << "a chest";
    EXPECT_FALSE(dimdoor_target_ok(w.state, w.map, 0, 7, 10)) << "monsters";
    EXPECT_FALSE(dimdoor_target_ok(w.state, w.map, 0, 9, 9)) << "a hero";
    EXPECT_FALSE(dimdoor_target_ok(w.state, w.map, 0, 15, 8)) << "water";
    EXPECT_FALSE(dimdoor_target_ok(w.state, w.map, 0, 0, 0)) << "eight tiles away";
    EXPECT_TRUE(dimdoor_target_ok(w.state, w.map, 0, 1, 1)) << "seven tiles away diagonally";
    w.state.fog[0].set_explored(1, 1, false);
    EXPECT_FALSE(dimdoor_target_ok(w.state, w.map, 0, 1, 1)) << "unexplored";
    w.state.fog[0] = FogOfWar{};
    w.state.fog[0].set_explored(12, 8);
    ASSERT_TRUE(apply_dim_door(w.state, w.map, 0, 12, 8, mp));
    EXPECT_EQ(mp, 8);
    EXPECT_EQ(w.state.heroes[0].spell_charges[SPELL_DIMENSION_DOOR], 1);
    EXPECT_FALSE(w.map.tile(8, 8)->occupied());
    EXPECT_TRUE(w.map.tile(12, 8)->occupied());
    EXPECT_EQ(w.map.tile(12, 8)->hero_frame, 18);
    EXPECT_TRUE(w.state.fog[0].is_explored(16, 8)) << "land revealed around the landing";
    EXPECT_FALSE(apply_dim_door(w.state, w.map, 0, 6, 8, mp));
    EXPECT_EQ(w.state.heroes[0].x, 12) << "a refused jump changes nothing";
    mp = 5;
    ASSERT_TRUE(apply_dim_door(w.state, w.map, 0, 11, 8, mp));
    EXPECT_EQ(mp, 0) << "points never go below zero";
}

TEST(AdventureSpells, DimensionDoorTargetingInput) {
    World w;
    DimDoorState s;
    open_dim_door(s, 0);
    int vx, vy;
    centre_view_on_tile(w.map, 8, 8, vx, vy);
    const SDL_Point chest = tile_screen_pos(6, 8, vx, vy), free_tile = tile_screen_pos(8, 6, vx, vy);
    EXPECT_EQ(handle_dim_door_event(mouse(SDL_MOUSEBUTTONDOWN, chest.x + 5, chest.y + 5), s, w.state, w.map, vx, vy).kind,
              DimDoorAction::None);
    EXPECT_TRUE(s.open);
    const DimDoorAction a =
        handle_dim_door_event(mouse(SDL_MOUSEBUTTONDOWN, free_tile.x + 5, free_tile.y + 5), s, w.state, w.map, vx, vy);
    EXPECT_EQ(a.kind, DimDoorAction::Land);
    EXPECT_EQ(a.x, 8);
    EXPECT_EQ(a.y, 6);
    EXPECT_FALSE(s.open);
    open_dim_door(s, 0);
    EXPECT_EQ(handle_dim_door_event(key(SDLK_ESCAPE), s, w.state, w.map, vx, vy).kind, DimDoorAction::Cancel);
    EXPECT_FALSE(s.open);
}

TEST(AdventureSpells, TownGateAndSummonBoat) {
    World w;
    EXPECT_EQ(town_gate_target(w.state, w.map, 0), 0) << "Alpha and Beta both 4 tiles away: the first wins";
    w.map.tile(4, 4)->hero_figure = 1;  // somebody stands in Alpha's gate
    EXPECT_EQ(town_gate_target(w.state, w.map, 0), 1);
    ASSERT_TRUE(apply_town_gate(w.state, w.map, 0));
    EXPECT_EQ(w.state.heroes[0].x, 10);
    EXPECT_EQ(w.state.heroes[0].y, 12);
    EXPECT_EQ(w.state.heroes[0].spell_charges[SPELL_TOWN_GATE], 0);
    EXPECT_EQ(town_gate_target(w.state, w.map, 1), 2) << "seat 1's own town, Gamma";
    w.state.castles[2].owner = 0;
    EXPECT_EQ(town_gate_target(w.state, w.map, 1), -1) << "no town of its own";
    // Summon Boat: the hero walks to the shore first.
    clear_hero_from_map(w.map, w.state.heroes[0]);
    w.state.heroes[0].x = 13;
    w.state.heroes[0].y = 3;
    place_hero_on_map(w.map, w.state.heroes[0]);
    ASSERT_TRUE(apply_summon_boat(w.state, w.map, 0));
    const BoatState& b = w.state.boats[0];
    EXPECT_EQ(std::max(std::abs(b.x - 13), std::abs(b.y - 3)), 1);
    EXPECT_TRUE(w.map.tile(b.x, b.y)->is_water());
    EXPECT_EQ(w.map.tile(b.x, b.y)->boat, 1);
    EXPECT_EQ(w.map.tile(16, 8)->boat, 0);
    w.state.heroes[0].x = 2;  // inland: no water beside it
    w.state.heroes[0].spell_charges[SPELL_SUMMON_BOAT] = 1;
    EXPECT_FALSE(apply_summon_boat(w.state, w.map, 0));
}

TEST(AdventurePanelInput, ReleaseOverThePressedButtonFiresAndExitCloses) {
    AdventurePanelState s;
    open_adventure_panel(s);
    const auto& puzzle = draw_adventure_panel::BUTTONS[1];
    const int px = kAdventurePanelX + puzzle.x + 5, py = kAdventurePanelY + puzzle.y + 5;
    EXPECT_EQ(handle_adventure_panel_event(mouse(SDL_MOUSEBUTTONDOWN, px, py), s), -1);
    EXPECT_EQ(s.pressed, 1);
    EXPECT_EQ(handle_adventure_panel_event(mouse(SDL_MOUSEBUTTONUP, px + 200, py), s), -1) << "released outside";
    handle_adventure_panel_event(mouse(SDL_MOUSEBUTTONDOWN, px, py), s);
    EXPECT_EQ(handle_adventure_panel_event(mouse(SDL_MOUSEBUTTONUP, px, py), s), 1);
    EXPECT_TRUE(s.open);
    const auto& exit = draw_adventure_panel::BUTTONS[4];
    handle_adventure_panel_event(mouse(SDL_MOUSEBUTTONDOWN, kAdventurePanelX + exit.x + 1, kAdventurePanelY + exit.y + 1), s);
    EXPECT_EQ(handle_adventure_panel_event(mouse(SDL_MOUSEBUTTONUP, kAdventurePanelX + exit.x + 1, kAdventurePanelY + exit.y + 1), s), 4);
    EXPECT_FALSE(s.open);
    open_adventure_panel(s);
    handle_adventure_panel_event(key(SDLK_ESCAPE), s);
    EXPECT_FALSE(s.open);
}

TEST(QuickInfo, LinesNameWhatStandsOnTheTile) {
    strings().load_from_text("", kit::catalogue_json(kit::adventure_english_strings()));
    World w;
    EXPECT_EQ(quick_info_lines(w.state, w.map, 0, 4, 4), (std::vector<std::string>{"Alpha", "Castle", "Red"}));
    EXPECT_EQ(quick_info_lines(w.state, w.map, 0, 2, 10), (std::vector<std::string>{"Gold mine", "Red"}));
    EXPECT_EQ(quick_info_lines(w.state, w.map, 0, 6, 8), (std::vector<std::string>{"Treasure chest"}));
    const auto monsters = quick_info_lines(w.state, w.map, 0, 7, 10);
    ASSERT_EQ(monsters.size(), 2u);
    EXPECT_EQ(monsters[0], "A pack of");
    EXPECT_EQ(quick_info_lines(w.state, w.map, 0, 20, 20), (std::vector<std::string>{"Water"}));
    EXPECT_EQ(quick_info_lines(w.state, w.map, 0, 16, 8), (std::vector<std::string>{"Boat"}));
    EXPECT_EQ(quick_info_lines(w.state, w.map, 1, 9, 9)[1], "Green");
    w.state.fog[1].set_explored(4, 4, false);
    EXPECT_EQ(quick_info_lines(w.state, w.map, 1, 4, 4), (std::vector<std::string>{"Uncharted territory"}));
    EXPECT_TRUE(quick_info_lines(w.state, w.map, 0, 99, 4).empty());
    EXPECT_EQ(monster_count_band(4), 0);
    EXPECT_EQ(monster_count_band(5), 1);
    EXPECT_EQ(monster_count_band(49), 3);
    EXPECT_EQ(monster_count_band(50), 4);
    strings().load_from_text("", "");
}

TEST(QuickInfo, OpensOnTheMapOnlyAndClosesOnRightRelease) {
    World w;
    QuickInfoState s;
    EXPECT_FALSE(open_quick_info(s, w.map, 0, 0, 500, 100)) << "the side panel";
    int vx, vy;
    centre_view_on_tile(w.map, 8, 8, vx, vy);
    ASSERT_TRUE(open_quick_info(s, w.map, vx, vy, 250, 250));
    EXPECT_EQ(s.tile_x, 8);
    EXPECT_TRUE(handle_quick_info_event(mouse(SDL_MOUSEBUTTONUP, 250, 250, SDL_BUTTON_LEFT), s));
    EXPECT_TRUE(s.open);
    handle_quick_info_event(mouse(SDL_MOUSEBUTTONUP, 250, 250, SDL_BUTTON_RIGHT), s);
    EXPECT_FALSE(s.open);
    const SDL_Rect r = quick_info_rect(470, 2);
    EXPECT_LE(r.x + r.w, kMapViewRect.w);
    EXPECT_GE(r.y, 0);
}

TEST(Kingdom, SummaryCountsThePlayersHoldings) {
    World w;
    const KingdomSummary k = kingdom_summary(w.state, 0);
    EXPECT_EQ(k.towns, (std::vector<int>{0, 1}));
    EXPECT_EQ(k.castles, 1);
    EXPECT_EQ(k.heroes, (std::vector<int>{0}));
    EXPECT_EQ(k.mines[MINE_GOLD], 1);
    EXPECT_EQ(k.income.gold, daily_income(w.state, 0).gold);
    EXPECT_GT(k.income.gold, 0);
    EXPECT_TRUE(kingdom_summary(w.state, -1).towns.empty());
}

TEST(Kingdom, ExitOnReleaseOverThePressedButtonAndEsc) {
    KingdomOverviewState s;
    open_kingdom_overview_screen(s);
    const int x = kKingdomExitRect.x + 3, y = kKingdomExitRect.y + 3;
    handle_kingdom_overview_event(mouse(SDL_MOUSEBUTTONDOWN, x, y), s, 0);
    handle_kingdom_overview_event(mouse(SDL_MOUSEBUTTONUP, 10, 10), s, 0);
    EXPECT_TRUE(s.open) << "released elsewhere";
    handle_kingdom_overview_event(mouse(SDL_MOUSEBUTTONUP, x, y), s, 0);
    EXPECT_TRUE(s.open) << "released without a press";
    handle_kingdom_overview_event(mouse(SDL_MOUSEBUTTONDOWN, x, y), s, 0);
    EXPECT_TRUE(handle_kingdom_overview_event(mouse(SDL_MOUSEBUTTONUP, x, y), s, 0));
    EXPECT_FALSE(s.open);
    open_kingdom_overview_screen(s);
    SDL_Event wheel{};
    wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.y = -5;
    handle_kingdom_overview_event(wheel, s, 11);
    EXPECT_EQ(s.page, 3);
    handle_kingdom_overview_event(key(SDLK_ESCAPE), s, 11);
    EXPECT_FALSE(s.open);
}

TEST(Elimination, MessagesByCountdown) {
    strings().load_from_text("", kit::catalogue_json(kit::adventure_english_strings()));
    World w;
    EXPECT_EQ(elimination_message(w.state, 1), "Green has been eliminated.");
    EXPECT_EQ(elimination_warning_message(-1), "");
    EXPECT_NE(elimination_warning_message(3).find("3 days"), std::string::npos);
    EXPECT_NE(elimination_warning_message(1).find("last day"), std::string::npos);
    strings().load_from_text("", "");
}

class ScreenDraw : public Canvas {
protected:
    void SetUp() override {
        Canvas::SetUp();
        std::vector<kit::AggFile> f = solid_archive_files();
        f.push_back({adv_entry::PUZZLE, solid_icn(48, 60, 80, 0, 0, 60)});
        load(f);
    }
    World w;
};

TEST_F(ScreenDraw, PuzzleShowsUncoveredPiecesOnlyAndTheDigSite) {
    PuzzleMapState p;
    reset_puzzle_map(p);
    setup_puzzle_pieces(p, 2, 7);
    p.dig_x = 5;
    p.dig_y = 6;
    ASSERT_TRUE(on_obelisk_visited(p, 0, 1, 1));
    draw_puzzle_map(r_, res_, w.state, w.map, p, 0);
    int shown = 0;
    for (int i = 0; i < kPuzzlePieces; ++i) {
        const SDL_Rect rc = puzzle_piece_rect(i);
        const bool covered = pixel(rc.x + 30, rc.y + 40) == rgb_of(60 + i);
        EXPECT_EQ(covered, !puzzle_piece_revealed(p, 0, i)) << i;
        shown += !covered;
    }
    EXPECT_EQ(shown, puzzle_pieces_revealed(p, 0));
    EXPECT_GT(shown, 0);
    EXPECT_LT(shown, kPuzzlePieces);
    // Every piece open: the land and the dig site's red cross in the middle of the view.
    ASSERT_TRUE(on_obelisk_visited(p, 0, 2, 2));
    draw_puzzle_map(r_, res_, w.state, w.map, p, 0);
    const SDL_Point v = puzzle_view(w.map, p);
    const SDL_Point t = tile_screen_pos(5, 6, v.x, v.y);
    EXPECT_NEAR(t.x + 16, 239, 1);
    EXPECT_EQ(pixel(t.x + 16, t.y + 16), 0xE01818u);
    EXPECT_EQ(pixel(t.x + 2, t.y + 28), rgb_of(ground_index(kit::G_GRASS)));
    EXPECT_EQ(puzzle_piece_rect(7).x + puzzle_piece_rect(7).w, 479);
}

TEST_F(ScreenDraw, WorldMapShowsFogAndWhatAViewSpellReveals) {
    w.state.fog[0] = FogOfWar{};
    w.state.fog[0].reveal_radius(4, 4, 2);
    WorldMapState s;
    open_world_map(s, 0, 0);
    const int k = world_map_scale(w.map);
    EXPECT_EQ(k, 19);
    const SDL_Point o = world_map_origin(w.map);
    auto at = [&](int x, int y) { return pixel(o.x + x * k + k / 2, o.y + y * k + k / 2); };
    draw_world_map(r_, res_, w.state, w.map, s);
    const SDL_Color red = player_rgb(COLOR_RED);
    const uint32_t red_rgb = (uint32_t)(red.r << 16 | red.g << 8 | red.b);
    EXPECT_EQ(at(4, 4), red_rgb) << "own castle, explored";
    EXPECT_EQ(at(2, 10), 0u) << "the mine lies in the fog";
    EXPECT_EQ(at(20, 20), 0u);
    open_world_map(s, 0, view_spell_reveal(SPELL_VIEW_MINES));
    draw_world_map(r_, res_, w.state, w.map, s);
    EXPECT_EQ(at(2, 10), red_rgb) << "View Mines shows it through the fog";
    EXPECT_EQ(at(20, 20), 0u) << "but not the land";
    open_world_map(s, 0, view_spell_reveal(SPELL_VIEW_ALL));
    draw_world_map(r_, res_, w.state, w.map, s);
    EXPECT_EQ(at(20, 20), rgb_of(ground_index(kit::G_WATER)));
    EXPECT_TRUE(handle_world_map_event(mouse(SDL_MOUSEBUTTONUP, 5, 5), s));
    EXPECT_FALSE(s.open);
}

TEST_F(ScreenDraw, PanelAndOverviewDrawWithoutTouchingTheState) {
    const uint64_t before = state_hash(w.state, w.map);
    AdventurePanelState ap;
    open_adventure_panel(ap);
    ap.pressed = 2;
    draw_adventure_options_panel(r_, res_, ap);
    const auto& b = draw_adventure_panel::BUTTONS[2];
    EXPECT_EQ(pixel(kAdventurePanelX + b.x + 3, kAdventurePanelY + b.y + 3), 0x605038u) << "fallback down colour";
    KingdomOverviewState ks;
    open_kingdom_overview_screen(ks);
    draw_kingdom_overview(r_, res_, w.state, ks, 0, nullptr, nullptr);
    QuickInfoState qs;
    int vx, vy;
    centre_view_on_tile(w.map, 8, 8, vx, vy);
    open_quick_info(qs, w.map, vx, vy, 250, 250);
    draw_quick_info(r_, res_, w.state, w.map, qs, 0, nullptr);
    EXPECT_EQ(state_hash(w.state, w.map), before);
}

}  // namespace
}  // namespace vorn1
