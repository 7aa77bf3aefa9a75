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
    EXPECT_FALSE(process_turn_start_elimination_warning(e, 1));
    EXPECT_EQ(take_elimination_warning(e, 1), 2);
    EXPECT_EQ(take_elimination_warning(e, 1), -1);  // taken
    EXPECT_FALSE(process_turn_start_elimination_warning(e, 1));
    EXPECT_EQ(e.players[1].days_left, 1);
    EXPECT_TRUE(process_turn_start_elimination_warning(e, 1));
    EXPECT_TRUE(is_player_eliminated(e, 1));
    EXPECT_EQ(e.players[1].days_left, -1);
    EXPECT_EQ(take_elimination_warning(e, 1), -1);
    // No countdown, out of range: nothing.
    EXPECT_FALSE(process_turn_start_elimination_warning(e, 0));
    EXPECT_EQ(e.players[0].notice_pending, 0);
    EXPECT_FALSE(process_turn_start_elimination_warning(e, 7));
    EXPECT_FALSE(is_player_eliminated(e, -1));
}

TEST(Elimination, SnapshotRoundTripAndBadValues) {
    PlayerEliminationState e;
    e.players[0] = {0, 5, 1, 1};
    e.players[3] = {1, -1, 0, 0};
    SavedEliminationState s = snapshot_elimination_state(e);
    PlayerEliminationState back;
    restore_elimination_state(s, back);
    for (int p = 0; p < 4; ++p) {
        EXPECT_EQ(back.players[p].eliminated, e.players[p].eliminated);
        EXPECT_EQ(back.players[p].days_left, e.players[p].days_left);
        EXPECT_EQ(back.players[p].countdown_notice, e.players[p].countdown_notice);
        EXPECT_EQ(back.players[p].notice_pending, e.players[p].notice_pending);
    }
    s.players[2].days_left = -50;
    s.players[1].days_left = 1 << 30;
    s.players[0].eliminated = 9;
    restore_elimination_state(s, back);
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
