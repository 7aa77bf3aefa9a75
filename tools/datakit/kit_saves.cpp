#include "datakit/kit_saves.h"

#include "datakit/datakit.h"

namespace vorn1::kit {

namespace {

void config_block(Le& w, const FixtureOptions& o) {
    const bool e = o.empty;
    w.u8(o.mode_byte >= 0 ? o.mode_byte : (o.campaign ? 1 : 0));
    w.str(o.map_path);
    w.str(e ? "" : "Fixture Map");
    w.str(e ? "" : o.map_stem);
    w.u8(e ? 0 : 3);      // game difficulty
    w.u8(e ? 0 : 1);      // opponents 1-3
    w.u8(e ? 0 : 3);
    w.u8(e ? 0 : 4);
    w.u8(e ? 0 : 1);      // player colour
    w.u8(e ? 0 : 1);      // king of the hill
    w.u32(e ? 0 : 135);   // difficulty rating
    w.str(e ? "" : "A map for tests.");
    w.u8(e ? 0 : 2);      // map size
    w.u8(e ? 0 : 1);      // map difficulty
}

void campaign_block(Le& w, const FixtureOptions& o) {
    const bool e = o.empty;
    w.u8(e ? 0 : 1);  // campaign id
    w.u8(e ? 0 : 2);  // lord
    w.u8(e ? 0 : 3);  // lord number
    w.u8(e ? 0 : 4);  // lord faction byte
    w.u32(e ? 0 : 5); // scenario index
    w.str(e ? "" : "maps/CAMP6.CMP");
    const int n = e ? 0 : (o.campaign_maps >= 0 ? o.campaign_maps : 8);
    w.u32(static_cast<uint32_t>(n));
    for (int i = 0; i < n; ++i) w.str("maps/CAMP" + std::to_string(i + 1) + ".CMP");
}

void army(Le& w, int seed) {
    for (int i = 0; i < 5; ++i) w.u8(i < 2 ? static_cast<unsigned>((seed + i) % 28) : 255);
    for (int i = 0; i < 5; ++i) w.u16(i < 2 ? static_cast<unsigned>(100 * seed + i) : 0);
}

void game_state(Le& w, const FixtureOptions& o) {
    const bool e = o.empty;
    w.str(e ? "" : "Fixture Map");
    w.str(e ? "" : "maps/FIXTURE.MAP");
    w.i32(o.map_w);
    w.i32(o.map_h);
    w.i32(e ? 0 : 2);
    for (unsigned v : {0u, 1u, 255u, 255u}) w.u8(e ? 0 : v);  // in play
    for (unsigned v : {0u, 1u, 255u, 255u}) w.u8(e ? 0 : v);  // colours
    for (unsigned v : {1u, 0u, 0u, 0u}) w.u8(e ? 0 : v);      // human
    for (int p = 0; p < 4; ++p)
        for (int r = 0; r < 7; ++r) w.i32(e ? 0 : 1000 * p + r);
    for (int p = 0; p < 4; ++p)
        for (int k = 0; k < 648; ++k) {
            // player 0: tiles 0 and 15 explored; player 1: all of the last byte
            unsigned v = 0;
            if (!e && p == 0 && k == 0) v = 0x01;
            if (!e && p == 0 && k == 1) v = 0x80;
            if (!e && p == 1 && k == 647) v = 0xFF;
            w.u8(v);
        }
    w.i32(e ? -1 : 0);  // human castle slot

    // towns: one castle "Ankh"
    w.u32(e ? 0 : 1);
    if (!e) {
        w.u8(1); w.i32(10); w.i32(12); w.u8(1); w.u8(2); w.i32(0); w.i32(77); w.u8(1);
        w.str("Ankh");
        w.u16(0x80 | 0x100);
        army(w, 7);
        for (int i = 0; i < 6; ++i) w.i32(20 + i);
        for (int i = 0; i < 9; ++i) w.u8(i < 3 ? i + 1 : 255);
    }
    w.u32(e ? 0 : 1);  // mines
    if (!e) { w.u8(1); w.i32(3); w.i32(4); w.u8(6); w.i32(1); }
    w.u8(e ? 0 : 1); w.i32(e ? 0 : 30); w.i32(e ? 0 : 31); w.i32(e ? 0 : -1);  // dragon city
    w.u8(0); w.i32(e ? 0 : 40); w.i32(e ? 0 : 41); w.i32(e ? 0 : 1);           // lighthouse
    w.u32(e ? 0 : 1);  // chests
    if (!e) { w.i32(5); w.i32(6); w.i32(1500); w.u8(0); }
    w.u32(e ? 0 : 1);  // artifacts on the map
    if (!e) { w.i32(7); w.i32(8); w.u8(44); w.u8(1); }
    w.u32(e ? 0 : 1);  // resource piles
    if (!e) { w.i32(9); w.i32(10); w.u8(3); w.i32(7); w.u8(0); }
    w.u32(e ? 0 : 1);  // mills
    if (!e) { w.u8(1); w.i32(11); w.i32(12); w.i32(2); w.u8(1); }
    w.u32(e ? 0 : 1);  // campfires
    if (!e) { w.u8(1); w.i32(13); w.i32(14); w.i32(500); w.i32(4); w.u8(5); w.u8(0); }
    w.u32(e ? 0 : 2);  // monsters
    if (!e) {
        w.i32(15); w.i32(16); w.u8(12); w.i32(25); w.u8(0);
        w.i32(17); w.i32(18); w.u8(3); w.i32(9); w.u8(1);
    }
    w.u32(e ? 0 : 1);  // neutral garrisons
    if (!e) {
        w.u8(1); w.i32(19); w.i32(20);
        for (unsigned id : {1u, 2u, 3u, 4u, 255u}) w.u8(id);
        for (int c : {11, 12, 13}) w.i32(c);
    }
    w.u32(e ? 0 : 1);  // shrines
    if (!e) { w.i32(21); w.i32(22); w.u8(17); }
    w.u32(e ? 0 : 1);  // creature dwellings
    if (!e) { w.u8(1); w.i32(23); w.i32(24); w.u8(8); w.u8(1); w.i32(6); }

    w.u32(e ? 0 : 1);  // heroes: "Zed" on a boat
    if (!e) {
        w.u8(1); w.i32(25); w.i32(26); w.i32(0); w.u8(5);
        army(w, 3);
        for (int i = 0; i < 14; ++i) w.u8(i == 0 ? 37 : 255);
        w.i32(1234);
        for (unsigned v : {2u, 3u, 4u, 5u}) w.u8(v);
        w.u8(1);
        for (int i = 0; i < 29; ++i) w.u8(i == 4 ? 2 : 0);
        w.str("Zed");
        w.u8(0x21); w.u8(3); w.u8(1); w.u8(0xFF); w.u8(2);
        for (unsigned v : {1u, 0u, 0u, 2u}) w.u8(v);
        w.u8(0x05); w.u8(1); w.i32(0); w.u8(1);
        w.i32(27); w.i32(28); w.i32(900);
    }
    w.u32(e ? 0 : 1);  // boats
    if (!e) { w.u8(1); w.i32(25); w.i32(26); w.i32(0); w.i32(4); w.i32(0); }

    for (int i = 0; i < 36; ++i) {  // hero pool
        if (e) {
            w.u8(0xFF); w.str("");
            for (int k = 0; k < 5; ++k) w.u8(0);
            for (int k = 0; k < 5; ++k) w.u8(0);
            for (int k = 0; k < 5; ++k) w.u16(0);
            w.i32(0); w.u8(0); w.u8(0); w.i32(0); w.i32(0);
            for (int k = 0; k < 5; ++k) w.u8(0);
            for (int k = 0; k < 5; ++k) w.u16(0);
            for (int k = 0; k < 14; ++k) w.u8(0);
            w.i32(0); w.u8(0);
            for (int k = 0; k < 29; ++k) w.u8(0);
            for (int k = 0; k < 5; ++k) w.u8(0);
            continue;
        }
        w.u8(static_cast<unsigned>(i % 4));
        w.str("Pool" + std::to_string(i));
        w.u8(static_cast<unsigned>(i % 4));
        for (int k = 0; k < 4; ++k) w.u8(static_cast<unsigned>(k + 1));
        army(w, i);
        w.i32(i * 10);
        w.u8(i % 2);
        w.u8(i == 5 ? 2 : (i == 6 ? 1 : 0));
        w.i32(i == 6 ? 1 : -1);
        w.i32(i == 6 ? 3 : 0);
        army(w, i + 1);
        for (int k = 0; k < 14; ++k) w.u8(k == 1 && i == 6 ? 40 : 255);
        w.i32(i == 6 ? 5000 : 0);
        w.u8(i == 6);
        for (int k = 0; k < 29; ++k) w.u8(i == 6 && k == 1 ? 1 : 0);
        for (int k = 0; k < 4; ++k) w.u8(i == 6 ? static_cast<unsigned>(k + 2) : 0);
        w.u8(i == 6 ? 4 : 0);
    }
    w.u32(e ? 0 : 3);  // free pool entries
    if (!e) for (int v : {0, 1, 7}) w.i32(v);
    for (int p = 0; p < 4; ++p) {
        w.i32(e ? -1 : (p < 2 ? 2 * p : -1));
        w.i32(e ? -1 : (p < 2 ? 2 * p + 1 : -1));
    }
    w.u8(e ? 0 : 2);    // victory kind
    w.i32(e ? 0 : 33);
    w.i32(e ? 0 : 34);
    w.u8(e ? 0 : 1);    // latch
    w.i32(e ? 1 : 3);   // day, week, month
    w.i32(e ? 1 : 2);
    w.i32(1);
    w.u8(e ? 0 : 1);    // day over
    w.i32(o.campaign || e ? 0 : 1);  // current player
    for (int p = 0; p < 4; ++p)
        for (int k = 0; k < 18; ++k) w.u32(e ? 0 : static_cast<uint32_t>(0x1000 * p + k));
    for (int a = 0; a < 3; ++a)
        for (int p = 0; p < 4; ++p) w.i32(e ? 0 : 10 * a + p);
    w.u32(e ? 0 : 2);  // visited sites
    if (!e) { w.u32(5u | (6u << 16)); w.u32(9u | (10u << 16)); }
    w.u32(e ? 0 : 1);  // visit counts
    if (!e) { w.u32(5u | (6u << 10)); w.u32(2); }
}

void tiles(Le& w, const FixtureOptions& o) {
    w.u32(static_cast<uint32_t>(o.map_w));
    w.u32(static_cast<uint32_t>(o.map_h));
    const int n = o.map_w * o.map_h;
    for (int t = 0; t < n; ++t) {
        for (int k = 0; k < 12; ++k) w.u8(o.empty ? 0 : static_cast<unsigned>((t * 7 + k) & 0xFF));
        w.u8(!o.empty && t == 0 ? 1 : 0);  // byte 12
        w.u8(0);                           // byte 13
    }
}

void puzzle(Le& w, const FixtureOptions& o) {
    if (o.empty || !o.puzzle) {
        w.u8(0);
        return;
    }
    w.u8(1);
    w.u8(1);
    w.i32(1);
    w.u8(2);
    w.i32(40);
    w.i32(41);
    w.u8(0);
    for (int v : {0, 0, 7, 7, 43}) w.i32(v);
    for (int k = 0; k < 48; ++k) w.i32(47 - k);
    for (int v : {1, 0, 0, 0}) w.i32(v);
    w.u32(1);
    w.i32(50 + 5 * 100);
    w.u8(1);
}

void elimination(Le& w, const FixtureOptions& o) {
    if (o.empty || !o.elimination) {
        w.u8(0);
        return;
    }
    w.u8(1);
    for (int p = 0; p < 4; ++p) {
        w.u8(p == 3);
        w.i32(p == 1 ? 4 : -1);
        w.u8(p == 1);
        w.u8(0);
    }
}

}  // namespace

FixtureLayout make_fixture(const FixtureOptions& o) {
    FixtureLayout out;
    Le w;
    for (char c : std::string(o.campaign ? "ZQCAMP" : "ZQSAVE")) w.u8(static_cast<uint8_t>(c));
    w.u8(o.goal_progress > 0 && o.progress_mark ? 1 : 0);
    w.u8(0);
    w.u32(o.version ? o.version : (o.campaign ? 8 : 7));
    if (o.campaign) w.u8(o.empty ? 0 : 1);
    out.boundaries.push_back(w.b.size());
    config_block(w, o);
    out.boundaries.push_back(w.b.size());
    if (o.campaign) {
        campaign_block(w, o);
        out.boundaries.push_back(w.b.size());
    }
    game_state(w, o);
    out.boundaries.push_back(w.b.size());
    tiles(w, o);
    out.boundaries.push_back(w.b.size());
    puzzle(w, o);
    out.boundaries.push_back(w.b.size());
    elimination(w, o);
    if (o.goal_progress > 0) w.u8(static_cast<uint8_t>(o.goal_progress));
    out.bytes = std::move(w.b);
    return out;
}

void write_save_fuzz_seeds(const std::string& out_dir) {
    FixtureOptions o;
    write_seed(out_dir, "save", "standard.sav", make_fixture(o).bytes);
    const FixtureLayout f = make_fixture(o);
    write_seed(out_dir, "save", "standard_cut.sav", Bytes(f.bytes.begin(), f.bytes.begin() + f.boundaries[2] + 100));
    o.puzzle = false;
    o.elimination = false;
    o.map_w = 36;
    o.map_h = 36;
    write_seed(out_dir, "save", "small_bare.sav", make_fixture(o).bytes);
    o.goal_progress = 3;
    write_seed(out_dir, "save", "small_progress.sav", make_fixture(o).bytes);
    FixtureOptions e;
    e.empty = true;
    write_seed(out_dir, "save", "empty.sav", make_fixture(e).bytes);
    FixtureOptions c;
    c.campaign = true;
    write_seed(out_dir, "save", "campaign.sav", make_fixture(c).bytes);
    c.empty = true;
    write_seed(out_dir, "save", "campaign_empty.sav", make_fixture(c).bytes);
}

}  // namespace vorn1::kit
