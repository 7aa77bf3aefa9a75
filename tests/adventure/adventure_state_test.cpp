#include <gtest/gtest.h>

#include <algorithm>

#include "adventure/apanel_state.h"
#include "adventure/player_elimination.h"
#include "adventure/puzzle_map_state.h"

namespace vorn1 {
namespace {

TEST(PuzzleMap, NewGameValues) {
    PuzzleMapState p;
    p.open = true;
    p.visited_count[2] = 4;
    p.visited_obelisks[5] = 1;
    reset_puzzle_map(p);
    EXPECT_FALSE(p.open);
    EXPECT_FALSE(p.active);
    EXPECT_EQ(p.obelisk_count, 0);
    EXPECT_EQ(p.ultimate_artifact, 1);
    EXPECT_EQ(p.dig_x, -1);
    EXPECT_EQ(p.dig_y, -1);
    EXPECT_EQ(p.layout, (std::array<int32_t, 5>{0, 0, 7, 7, 43}));
    EXPECT_EQ(p.hover_piece, -1);
    EXPECT_EQ(p.last_piece, -1);
    EXPECT_TRUE(std::all_of(p.pieces.begin(), p.pieces.end(), [](int v) { return v == 0; }));
    EXPECT_TRUE(p.visited_obelisks.empty());
    EXPECT_EQ(p.visited_count, (std::array<int32_t, 4>{}));
}

TEST(PuzzleMap, ObeliskVisitsUncoverPiecesOncePerPlayer) {
    PuzzleMapState p;
    setup_puzzle_pieces(p, 4, 1234);
    std::array<int32_t, kPuzzlePieces> sorted = p.pieces;
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < kPuzzlePieces; ++i) ASSERT_EQ(sorted[i], i);  // a permutation

    EXPECT_TRUE(on_obelisk_visited(p, 1, 10, 20));
    EXPECT_EQ(p.visited_obelisks[obelisk_key(10, 20)], 0x02);
    EXPECT_EQ(puzzle_pieces_revealed(p, 1), 12);
    EXPECT_FALSE(on_obelisk_visited(p, 1, 10, 20));  // repeat
    EXPECT_EQ(p.visited_count[1], 1);
    EXPECT_TRUE(on_obelisk_visited(p, 3, 10, 20));  // another player
    EXPECT_EQ(p.visited_obelisks[obelisk_key(10, 20)], 0x0A);
    EXPECT_FALSE(on_obelisk_visited(p, 4, 1, 1));
    EXPECT_FALSE(on_obelisk_visited(p, -1, 1, 1));

    int shown = 0;
    for (int i = 0; i < kPuzzlePieces; ++i) shown += puzzle_piece_revealed(p, 1, i);
    EXPECT_EQ(shown, 12);
    for (int k = 1; k < 4; ++k) on_obelisk_visited(p, 1, k, 0);
    EXPECT_EQ(puzzle_pieces_revealed(p, 1), kPuzzlePieces);
    EXPECT_FALSE(on_obelisk_visited(p, 1, 50, 50));  // a fifth obelisk uncovers nothing more
    EXPECT_EQ(puzzle_pieces_revealed(p, 0), 0);
}

TEST(PuzzleMap, SameSeedSameOrder) {
    PuzzleMapState a, b, c;
    setup_puzzle_pieces(a, 3, 77);
    setup_puzzle_pieces(b, 3, 77);
    setup_puzzle_pieces(c, 3, 78);
    EXPECT_EQ(a.pieces, b.pieces);
    EXPECT_NE(a.pieces, c.pieces);
}

TEST(Elimination, CountdownEndsInEliminationAndWarnsEachDay) {
    PlayerEliminationState e;
    e.players[1].days_left = 3;
    e.players[1].countdown_notice = 1;  // a human player's countdown
    e.players[2].days_left = 2;          // a computer player's: counted down without warnings
    EXPECT_FALSE(process_turn_start_elimination_warning(e, 2));
    EXPECT_EQ(take_elimination_warning(e, 2), -1);
    EXPECT_TRUE(process_turn_start_elimination_warning(e, 2));
    EXPECT_TRUE(is_player_eliminated(e, 2));
    EXPECT_FALSE(process_turn_start_elimination_warning(e, 1));
    EXPECT_EQ(take_elimination_warning(e, 1), 2);
    EXPECT_EQ(take_elimination_warning(e, 1), -1);  // taken
    EXPECT_FALSE(process_turn_start_elimination_warning(e, 1));
    EXPECT_EQ(e.players[1].days_left, 1);
    EXPECT_TRUE(process_turn_start_elimination_warning(e, 1));
    EXPECT_TRUE(is_player_eliminated(e, 1));
    EXPECT_EQ(e.players[1].days_left, -1);
    EXPECT_EQ(take_elimination_warning(e, 1), -1);
    EXPECT_EQ(e.players[1].countdown_notice, 0);
    // No countdown, out of range: nothing.
    EXPECT_FALSE(process_turn_start_elimination_warning(e, 0));
    EXPECT_EQ(e.players[0].notice_pending, 0);
    EXPECT_FALSE(process_turn_start_elimination_warning(e, 7));
    EXPECT_FALSE(is_player_eliminated(e, -1));
}

TEST(Elimination, SnapshotRoundTripAndBadValues) {
    PlayerEliminationState e;
    e.players[0] = {0, 5, 1, 1};
    e.players[3] = {1, -1, 0, 1};  // out, not yet told
    SavedEliminationState s = snapshot_elimination_state(e);
    PlayerEliminationState back;
    restore_elimination_state(s, back);
    for (int p = 0; p < 4; ++p) {
        EXPECT_EQ(back.players[p].eliminated, e.players[p].eliminated);
        EXPECT_EQ(back.players[p].days_left, e.players[p].days_left);
        EXPECT_EQ(back.players[p].countdown_notice, e.players[p].countdown_notice);
        EXPECT_EQ(back.players[p].notice_pending, e.players[p].notice_pending);
    }
    EXPECT_EQ(take_elimination_announcement(back), 3) << "a loaded game still tells it";
    s.players[2].days_left = -50;
    s.players[1].days_left = 1 << 30;
    s.players[0].eliminated = 9;
    back.warning_queued[1] = 1;  // a warning queued before the load is not carried over
    restore_elimination_state(s, back);
    EXPECT_EQ(take_elimination_warning(back, 1), -1);
    EXPECT_EQ(back.players[2].days_left, -1);
    EXPECT_EQ(back.players[1].days_left, kNoTownCountdownDays);
    EXPECT_EQ(back.players[0].eliminated, 1);
}

TEST(AdventurePanel, ButtonsActOnReleaseOverThePressedButton) {
    AdventurePanelState s;
    EXPECT_EQ(handle_adventure_panel_mouse(s, true, 253, 175), -1);  // closed: ignored
    EXPECT_EQ(s.pressed, -1);
    open_adventure_panel(s);
    // The v hotkey's synthetic release point lands on the world-view button.
    EXPECT_EQ(adventure_panel_button_at(46 + 207, 33 + 142), 0);
    EXPECT_EQ(adventure_panel_button_at(207 + 46 + 96, 142 + 33), -1);  // right edge exclusive
    EXPECT_EQ(adventure_panel_button_at(207 + 112, 142 + 196 + 24), 4);
    EXPECT_EQ(handle_adventure_panel_mouse(s, true, 253, 175), -1);
    EXPECT_EQ(s.pressed, 0);
    EXPECT_EQ(handle_adventure_panel_mouse(s, false, 253, 175), 0);
    // Press on one button, release on another: nothing.
    handle_adventure_panel_mouse(s, true, 207 + 179, 142 + 33);
    EXPECT_EQ(handle_adventure_panel_mouse(s, false, 207 + 46, 142 + 114), -1);
    EXPECT_EQ(s.pressed, -1);
    // A pressed mark set by the hotkey step fires on its synthetic release.
    s.pressed = static_cast<int>(AdventurePanelButton::Dig);
    EXPECT_EQ(handle_adventure_panel_mouse(s, false, 207 + 179, 142 + 114), 3);
}

}  // namespace
}  // namespace vorn1

#include "world/game_state.h"
#include "world/map.h"

namespace vorn1 {
namespace {

GameMap small_map() {
    GameMap m;
    m.width = m.height = 6;
    m.tiles.assign(36, MapTile{});
    for (auto& t : m.tiles) t.ground = 30;
    return m;
}

TEST(PuzzleMap, SetupFromTheMap) {
    GameMap m = small_map();
    m.tile(1, 1)->object_type = kObeliskType;
    m.tile(4, 2)->object_type = kObeliskType;
    for (auto& t : m.tiles) t.blocking = 0x80;  // everything blocked but one tile
    m.tile(3, 5)->blocking = 0;
    PuzzleMapState p;
    setup_puzzle_map(p, m, 5);
    EXPECT_TRUE(p.active);
    EXPECT_EQ(p.obelisk_count, 2);
    EXPECT_LE(p.ultimate_artifact, 3);
    EXPECT_EQ(p.dig_x, 3);
    EXPECT_EQ(p.dig_y, 5);
    m.tile(3, 5)->blocking = 0x80;
    setup_puzzle_map(p, m, 5);
    EXPECT_EQ(p.dig_x, -1);
    GameMap broken;  // no tiles at all
    setup_puzzle_map(p, broken, 1);
    EXPECT_EQ(p.obelisk_count, 0);
}

TEST(Elimination, AfterBattleChecksEverySeat) {
    GameMap m = small_map();
    GameState s;
    s.player_color = {0, 1, 2, COLOR_NONE};
    CastleState town;
    town.live = 1;
    town.owner = 0;
    s.castles.push_back(town);
    HeroState h;
    h.live = 1;
    h.owner = 1;
    s.heroes.push_back(h);
    s.player_is_human = {1, 1, 0, 0};
    PlayerEliminationState e;
    // Seat 2 has nothing; seat 1 only a hero; seat 0 a town; seat 3 is not in play.
    EXPECT_EQ(check_post_battle_eliminations(s, m, e, 1), 1u << 2);
    EXPECT_TRUE(is_player_eliminated(e, 2));
    EXPECT_FALSE(is_player_eliminated(e, 3));
    EXPECT_EQ(e.players[1].days_left, kNoTownCountdownDays);
    EXPECT_EQ(e.players[1].countdown_notice, 1);
    EXPECT_EQ(e.players[1].notice_pending, 0);
    EXPECT_EQ(take_elimination_warning(e, 1), kNoTownCountdownDays);  // its own turn: told now
    EXPECT_EQ(e.players[0].days_left, -1);
    EXPECT_EQ(take_elimination_announcement(e), -1) << "a computer seat out is nobody's announcement";

    // Started in another seat's turn: the notice waits for the seat's own turn start.
    PlayerEliminationState later;
    EXPECT_EQ(check_post_battle_eliminations(s, m, later, 0), 1u << 2);
    EXPECT_EQ(later.players[1].notice_pending, 1);
    EXPECT_EQ(take_elimination_warning(later, 1), -1);
    EXPECT_FALSE(process_turn_start_elimination_warning(later, 1));
    EXPECT_EQ(later.players[1].notice_pending, 0);
    EXPECT_EQ(take_elimination_warning(later, 1), kNoTownCountdownDays - 1);

    // A computer seat's countdown runs without notices.
    s.player_is_human[1] = 0;
    PlayerEliminationState ai;
    check_post_battle_eliminations(s, m, ai, 1);
    EXPECT_EQ(ai.players[1].days_left, kNoTownCountdownDays);
    EXPECT_EQ(ai.players[1].countdown_notice, 0);
    EXPECT_EQ(take_elimination_warning(ai, 1), -1);
    s.player_is_human[1] = 1;
    // A running countdown is not restarted; taking a town stops it.
    e.players[1].days_left = 3;
    EXPECT_EQ(check_post_battle_eliminations(s, m, e, 0), 0u);
    EXPECT_EQ(e.players[1].days_left, 3);
    s.castles[0].owner = 1;
    EXPECT_EQ(check_post_battle_eliminations(s, m, e, 0), 1u << 0);  // seat 0 lost its only town
    EXPECT_EQ(e.players[1].days_left, -1);
    // A human out while another human plays on is to be told, once; the last human's loss is not.
    EXPECT_EQ(take_elimination_announcement(e), 0);
    EXPECT_EQ(take_elimination_announcement(e), -1);
    s.castles[0].live = 0;
    s.heroes[0].live = 0;
    EXPECT_EQ(check_post_battle_eliminations(s, m, e, 0), 1u << 1);
    EXPECT_FALSE(take_elimination_announcement(e, 1));
    // Eliminated seats stay eliminated.
    EXPECT_EQ(check_post_battle_eliminations(s, m, e, 0), 0u);
}

}  // namespace
}  // namespace vorn1
