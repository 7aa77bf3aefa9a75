#include "persist/save_sections.h"

#include <gtest/gtest.h>

#include "datakit/kit_saves.h"

namespace vorn1 {
namespace {

TEST(SaveSections, TilesOverlayKeepsTheBaseMapsLastByte) {
    GameMap base;
    base.tiles.assign(72 * 72, MapTile{});
    for (MapTile& t : base.tiles) {
        t.ground = 30;
        t.boat = 9;
    }
    kit::Le w;
    w.u32(72);
    w.u32(72);
    for (int c = 0; c < 72 * 72; ++c)
        for (int k = 0; k < 14; ++k) w.u8(k == 12 || k == 13 ? 7 : static_cast<unsigned>(c + k));
    ByteReader r(w.b);
    r_tiles_overlay(r, base);
    ASSERT_FALSE(r.fail);
    EXPECT_EQ(base.tiles[5].ground, 5);
    EXPECT_EQ(base.tiles[5].byte_at(11), 16);
    EXPECT_EQ(base.tiles[5].hero_on_boat, 1);  // stored as 7, read as a flag
    EXPECT_EQ(base.tiles[5].flag13, 1);
    EXPECT_EQ(base.tiles[5].boat, 9);

    // Saved cells over a map of another size: zeroed cells of the saved size, then the file.
    GameMap other;
    other.width = 10;
    other.height = 10;
    other.tiles.assign(100, MapTile{});
    other.tiles[0].boat = 4;
    ByteReader r2(w.b);
    r_tiles_overlay(r2, other);
    EXPECT_EQ(other.width, 72);
    ASSERT_EQ(other.tiles.size(), 72u * 72u);
    EXPECT_EQ(other.tiles[0].boat, 0);
    EXPECT_EQ(other.tiles[71].ground, 71);

    // Data ending inside a cell: the rest of the cells are zero and the reader has failed.
    std::vector<uint8_t> cut(w.b.begin(), w.b.begin() + 8 + 14 * 3 + 5);
    GameMap m3;
    ByteReader r3(cut);
    r_tiles_overlay(r3, m3);
    EXPECT_TRUE(r3.fail);
}

TEST(SaveSections, WritingAMapAlwaysGivesWidthTimesHeightCells) {
    GameMap m;  // 72 x 72 with no tile list
    ByteWriter w;
    w_tiles(w, m);
    EXPECT_EQ(w.size(), 8u + 72u * 72u * 14u);
}

TEST(SaveSections, FogPlanesArePackedLowBitFirst) {
    GameState s;
    s.fog[0].explored[0] = 1;
    s.fog[1].explored[7] = 5;  // any nonzero value is explored
    s.fog[3].explored[72 * 72 - 1] = 1;
    ByteWriter w;
    w_game_state(w, s, 1, 1, 1, 0);
    const std::size_t fog = 2 + 2 + 12 + 12 + 112;
    EXPECT_EQ(w.bytes[fog], 0x01);
    EXPECT_EQ(w.bytes[fog + 648], 0x80);
    EXPECT_EQ(w.bytes[fog + 3 * 648 + 647], 0x80);
    EXPECT_EQ(w.size(), 7001u);

    GameState back;
    int d = 0, wk = 0, mo = 0, cp = -1;
    ByteReader r(w.bytes);
    r_game_state(r, back, d, wk, mo, 7, cp);
    EXPECT_FALSE(r.fail);
    EXPECT_EQ(back.fog[1].explored[7], 1);
    EXPECT_EQ(back.fog[1].explored[6], 0);
    EXPECT_EQ(back.fog[3].explored[72 * 72 - 1], 1);
}

TEST(SaveSections, VisitCountsArePairedUpToTheShorterList) {
    GameState s;
    s.visited_sites = {1, 2, 3, 4, 5};
    s.visit_count_keys = {10, 20, 30, 40, 50};
    s.visit_counts = {7, 8, 9};
    s.day = 5;  // the caller's calendar wins
    ByteWriter w;
    w_game_state(w, s, 2, 3, 4, 1);
    EXPECT_EQ(w.size(), 7001u + 5 * 4 + 3 * 8);
    GameState back;
    int d = 0, wk = 0, mo = 0, cp = -1;
    ByteReader r(w.bytes);
    r_game_state(r, back, d, wk, mo, 8, cp);
    EXPECT_FALSE(r.fail);
    EXPECT_EQ(back.visited_sites.size(), 5u);
    EXPECT_EQ(back.visit_count_keys, (std::vector<uint32_t>{10, 20, 30}));
    EXPECT_EQ(back.visit_counts, (std::vector<int32_t>{7, 8, 9}));
    EXPECT_EQ(d, 2);
    EXPECT_EQ(back.day, 2);
    EXPECT_EQ(back.month, 4);
    EXPECT_EQ(cp, 1);
}

TEST(SaveSections, RecordsTakeTheirFixedSizes) {
    GameState s;
    s.mines.resize(1);
    s.chests.resize(1);
    s.map_artifacts.resize(1);
    s.resource_piles.resize(1);
    s.mills.resize(1);
    s.campfires.resize(1);
    s.monsters.resize(1);
    s.garrisons.resize(1);
    s.shrines.resize(1);
    s.huts.resize(1);
    s.boats.resize(1);
    s.castles.resize(1);
    s.castles[0].name = "Ab";
    s.heroes.resize(1);
    s.heroes[0].name = "Abc";
    s.pool.entries[0].name = "Abcd";
    ByteWriter w;
    w_game_state(w, s, 1, 1, 1, 0);
    EXPECT_EQ(w.size(), 7001u + 14 + 13 + 10 + 14 + 14 + 19 + 14 + 26 + 9 + 15 + 21 + (72 + 2) + (111 + 3) + 4);

    // Fields the format drops come back as their defaults.
    s.monsters[0].offered = 1;
    s.monsters[0].willing = 1;
    s.map_artifacts[0].guard_kind = 2;
    s.garrisons[0].counts = {1, 2, 3, 4, 5};
    ByteWriter w2;
    w_game_state(w2, s, 1, 1, 1, 0);
    GameState back;
    int d, wk, mo, cp;
    ByteReader r(w2.bytes);
    r_game_state(r, back, d, wk, mo, 7, cp);
    ASSERT_FALSE(r.fail);
    EXPECT_EQ(back.monsters[0].offered, 0);
    EXPECT_EQ(back.map_artifacts[0].guard_kind, 0);
    EXPECT_EQ(back.garrisons[0].counts[2], 3);
    EXPECT_EQ(back.garrisons[0].counts[3], 0);
    EXPECT_EQ(back.castles[0].name, "Ab");
    EXPECT_EQ(back.pool.entries[0].name, "Abcd");
}

TEST(SaveSections, AbsentPuzzleAndEliminationSections) {
    ByteWriter w;
    w_puzzle(w, nullptr);
    w_elim(w, nullptr);
    EXPECT_EQ(w.bytes, (std::vector<uint8_t>{0, 0}));
    ByteReader r(w.bytes);
    PuzzleMapState p;
    p.obelisk_count = 3;
    EXPECT_FALSE(r_puzzle(r, p));
    EXPECT_EQ(p.obelisk_count, 3);
    SavedEliminationState e;
    e.players[2].eliminated = 1;
    r_elim(r, e);
    EXPECT_FALSE(r.fail);
    for (const PlayerEliminationRecord& rec : e.players) {
        EXPECT_EQ(rec.eliminated, 0);
        EXPECT_EQ(rec.days_left, -1);
        EXPECT_EQ(rec.countdown_notice, 0);
        EXPECT_EQ(rec.notice_pending, 0);
    }

    PuzzleMapState full;
    full.visited_obelisks[3] = 1;
    full.visited_obelisks[707] = 6;
    ByteWriter pw;
    w_puzzle(pw, &full);
    EXPECT_EQ(pw.size(), 1u + 247u + 2 * 5);
    SavedEliminationState es;
    es.players[1] = {1, 3, 1, 1};
    ByteWriter ew;
    w_elim(ew, &es);
    EXPECT_EQ(ew.size(), kElimSectionBytes);
    SavedEliminationState eback;
    ByteReader er(ew.bytes);
    r_elim(er, eback);
    EXPECT_EQ(eback.players[1].days_left, 3);
    EXPECT_EQ(eback.players[1].notice_pending, 1);

    // A visited-obelisk count the data cannot hold is refused without allocating.
    pw.bytes.resize(pw.size() - 10);
    for (int i = 0; i < 4; ++i) pw.bytes[pw.size() - 4 + i] = 0xFF;
    PuzzleMapState bad;
    ByteReader br(pw.bytes);
    EXPECT_TRUE(r_puzzle(br, bad));
    EXPECT_TRUE(br.fail);
    EXPECT_TRUE(bad.visited_obelisks.empty());
}

}  // namespace
}  // namespace vorn1
