#include "persist/savegame.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>
#include <tuple>
#include <utility>

#include "lang/runtime_strings.h"
#include "persist/save_dialogs.h"
#include "persist/save_paths.h"
#include "world/game_setup.h"
#include "world/new_day.h"
#include "persist_test_util.h"
#include "datakit/kit_maps.h"
#include "datakit/kit_saves.h"
#include "world/victory.h"

namespace fs = std::filesystem;

namespace vorn1 {
namespace {

const char* kCorrupt = "Save file is corrupt (unexpected end of data).";
const char* kCampCorrupt = "Campaign save is corrupt (unexpected end of data).";
// A file read whole whose values the game cannot play.
const char* kOutOfRange = "Save file is corrupt (a value is out of range).";

LoadResult load_bytes(const std::vector<uint8_t>& b, bool campaign = false) {
    return campaign ? load_campaign_game_image(b, false) : load_game_image(b, "", false);
}

std::vector<uint8_t> resave(const LoadResult& r, bool campaign) {
    PuzzleMapState puzzle;
    const bool has_puzzle = restore_puzzle_state(r, puzzle);
    const bool has_elim = r.elimination.players[1].days_left != -1 || r.elimination.players[3].eliminated;
    if (campaign)
        return build_campaign_save_image(r.state, r.map, r.config, r.day, r.week, r.month,
                                         has_puzzle ? &puzzle : nullptr, r.campaign_completed,
                                         has_elim ? &r.elimination : nullptr);
    return build_save_image(r.state, r.map, r.config, r.day, r.week, r.month, has_puzzle ? &puzzle : nullptr,
                            r.current_player, has_elim ? &r.elimination : nullptr);
}

TEST(SaveGame, FixtureLoadsWithEveryFieldInPlaceAndSavesBackIdentical) {
    test::ScratchDataDir dir;
    const std::vector<uint8_t> image = kit::make_fixture({}).bytes;
    const std::string path = dir.root() + "/fixture.sav";
    test::write_bytes(path, image);

    const LoadResult r = load_game(path, "");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.error, "");
    const NewGameConfig& c = r.config;
    EXPECT_EQ(c.mode, MODE_STANDARD);
    EXPECT_EQ(c.map_name, "Fixture Map");
    EXPECT_EQ(c.map_stem, "FIXTURE");
    EXPECT_EQ(c.difficulty, DIFF_EXPERT);
    EXPECT_EQ(c.opponents[0], OPP_DUMB);
    EXPECT_EQ(c.opponents[2], OPP_GENIUS);
    EXPECT_EQ(c.color, COLOR_GREEN);
    EXPECT_EQ(c.king_of_the_hill, 1);
    EXPECT_EQ(c.difficulty_rating, 135);
    EXPECT_EQ(c.description, "A map for tests.");
    EXPECT_EQ(c.map_size, 2);
    EXPECT_EQ(c.map_difficulty, 1);
    EXPECT_EQ(c.campaign_maps.size(), 0u);

    const GameState& s = r.state;
    EXPECT_EQ(r.day, 3);
    EXPECT_EQ(r.week, 2);
    EXPECT_EQ(r.month, 1);
    EXPECT_EQ(s.day, 3);
    EXPECT_EQ(s.week, 2);
    EXPECT_EQ(r.current_player, 1);
    EXPECT_EQ(s.num_players, 2);
    EXPECT_EQ(s.player_color[1], 1);
    EXPECT_EQ(s.player_in_play[2], 0xFF);
    EXPECT_EQ(s.player_is_human[0], 1);
    EXPECT_EQ(s.resources[2].gold, 2000);
    EXPECT_EQ(s.resources[3].sulfur, 3006);
    EXPECT_EQ(s.fog[0].explored[0], 1);
    EXPECT_EQ(s.fog[0].explored[1], 0);
    EXPECT_EQ(s.fog[0].explored[15], 1);
    EXPECT_EQ(s.fog[1].explored[72 * 72 - 1], 1);
    EXPECT_EQ(s.fog[1].explored[72 * 72 - 9], 0);

    ASSERT_EQ(s.castles.size(), 1u);
    EXPECT_EQ(s.castles[0].name, "Ankh");
    EXPECT_EQ(s.castles[0].field5, 77);
    EXPECT_EQ(s.castles[0].buildings, 0x180);
    EXPECT_EQ(s.castles[0].garrison.counts[1], 701);
    EXPECT_EQ(s.castles[0].available[5], 25);
    EXPECT_EQ(s.castles[0].guild_spells[2], 3);
    EXPECT_EQ(s.castles[0].guild_spells[3], 255);
    ASSERT_EQ(s.mines.size(), 1u);
    EXPECT_EQ(s.mines[0].kind, 6);
    EXPECT_EQ(s.dragon_city.owner, -1);
    EXPECT_EQ(s.lighthouse.y, 41);
    EXPECT_EQ(s.chests.at(0).value, 1500);
    EXPECT_EQ(s.map_artifacts.at(0).artifact, 44);
    EXPECT_EQ(s.map_artifacts.at(0).guard_kind, 0);
    EXPECT_EQ(s.resource_piles.at(0).amount, 7);
    EXPECT_EQ(s.mills.at(0).flag, 1);
    EXPECT_EQ(s.campfires.at(0).kind, 5);
    ASSERT_EQ(s.monsters.size(), 2u);
    EXPECT_EQ(s.monsters[1].removed, 1);
    EXPECT_EQ(s.monsters[0].count, 25);
    EXPECT_EQ(s.monsters[0].offered, 0);
    ASSERT_EQ(s.garrisons.size(), 1u);
    EXPECT_EQ(s.garrisons[0].ids[3], 4);   // the fourth squad keeps its creature
    EXPECT_EQ(s.garrisons[0].counts[2], 13);
    EXPECT_EQ(s.garrisons[0].counts[3], 0);  // but not its count
    EXPECT_EQ(s.shrines.at(0).spell, 17);
    EXPECT_EQ(s.huts.at(0).available, 6);

    ASSERT_EQ(s.heroes.size(), 1u);
    const HeroState& h = s.heroes[0];
    EXPECT_EQ(h.name, "Zed");
    EXPECT_EQ(h.portrait, 5);
    EXPECT_EQ(h.army.ids[1], 4);
    EXPECT_EQ(h.army.counts[1], 301);
    EXPECT_EQ(h.artifacts[0], 37);
    EXPECT_EQ(h.experience, 1234u);
    EXPECT_EQ(h.knowledge, 5);
    EXPECT_EQ(h.spell_charges[4], 2);
    EXPECT_EQ(h.crest, 0x21);
    EXPECT_EQ(h.luck, -1);
    EXPECT_EQ(h.level, 2);
    EXPECT_EQ(h.artifact_bonus[3], 2);
    EXPECT_EQ(h.visit_flags, 5);
    EXPECT_EQ(h.on_boat, 1);
    EXPECT_EQ(h.boat_index, 0);
    EXPECT_EQ(h.saved_mp, 900);
    ASSERT_EQ(s.boats.size(), 1u);
    EXPECT_EQ(s.boats[0].facing, 4);

    EXPECT_EQ(s.pool.entries[6].name, "Pool6");
    EXPECT_EQ(s.pool.entries[6].status, POOL_RETURNED);
    EXPECT_EQ(s.pool.entries[6].kept_artifacts[1], 40);
    EXPECT_EQ(s.pool.entries[6].kept_level, 4);
    EXPECT_EQ(s.pool.entries[35].start_army.counts[0], 3500);
    EXPECT_EQ(s.pool.free_entries, (std::vector<int32_t>{0, 1, 7}));
    EXPECT_EQ(s.offers[1][1], 3);
    EXPECT_EQ(s.offers[2][0], -1);
    EXPECT_EQ(s.victory.kind, 2);
    EXPECT_EQ(s.victory.won, 1);
    EXPECT_EQ(s.day_over, 1);
    EXPECT_EQ(s.ai_vars[2].gold_income, static_cast<int32_t>(0x2000 + 12));
    EXPECT_EQ(s.ai_arrays[2][3], 23);
    EXPECT_EQ(s.visited_sites.size(), 2u);
    EXPECT_EQ(s.visit_counts, (std::vector<int32_t>{2}));

    ASSERT_EQ(r.map.width, 72);
    ASSERT_EQ(r.map.tiles.size(), 72u * 72u);
    EXPECT_EQ(r.map.name, "Fixture Map");
    EXPECT_EQ(r.map.tiles[1].byte_at(3), (7 + 3) & 0xFF);
    EXPECT_EQ(r.map.tiles[0].hero_on_boat, 1);
    EXPECT_EQ(r.map.tiles[26 * 72 + 25].boat, 1);  // rebuilt from the boat
    EXPECT_EQ(r.map.tiles[0].boat, 0);

    ASSERT_TRUE(r.puzzle_present);
    PuzzleMapState live;
    live.open = true;
    ASSERT_TRUE(restore_puzzle_state(r, live));
    EXPECT_FALSE(live.open);
    EXPECT_EQ(live.ultimate_artifact, 2);
    EXPECT_EQ(live.dig_y, 41);
    EXPECT_EQ(live.pieces[0], 47);
    EXPECT_EQ(live.visited_obelisks.at(550), 1);
    EXPECT_EQ(r.elimination.players[1].days_left, 4);
    EXPECT_EQ(r.elimination.players[3].eliminated, 1);
    EXPECT_EQ(r.elimination.players[0].days_left, -1);

    // Written back through the save path, the file is byte for byte the fixture.
    PuzzleMapState puzzle;
    ASSERT_TRUE(restore_puzzle_state(r, puzzle));
    const std::string out = compose_save_path("again");
    ASSERT_TRUE(save_game(out, r.state, r.map, r.config, r.day, r.week, r.month, &puzzle, r.current_player,
                          &r.elimination));
    const std::vector<uint8_t> back = test::read_bytes(out);
    ASSERT_EQ(back.size(), image.size());
    EXPECT_TRUE(back == image) << "first difference at "
                               << (std::mismatch(back.begin(), back.end(), image.begin()).first - back.begin());
    EXPECT_FALSE(fs::exists(out + ".tmp"));
}

TEST(SaveGame, EmptySavesHaveTheTableSizesAndRoundTrip) {
    kit::FixtureOptions o;
    o.empty = true;
    const std::vector<uint8_t> std_image = kit::make_fixture(o).bytes;
    EXPECT_EQ(std_image.size(), 79620u);
    const LoadResult r = load_bytes(std_image);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_TRUE(r.state.heroes.empty());
    EXPECT_FALSE(r.puzzle_present);
    EXPECT_EQ(r.elimination.players[2].days_left, -1);
    EXPECT_EQ(resave(r, false), std_image);

    // A default-constructed game with an empty puzzle and an elimination section.
    GameState s;
    GameMap m = GameMap{};
    m.tiles.assign(72 * 72, MapTile{});
    PuzzleMapState p;
    SavedEliminationState e;
    EXPECT_EQ(build_save_image(s, m, NewGameConfig{}, 1, 1, 1, &p, 0, &e).size(), 79895u);

    o.campaign = true;
    const std::vector<uint8_t> camp_image = kit::make_fixture(o).bytes;
    EXPECT_EQ(camp_image.size(), 79635u);
    const LoadResult rc = load_bytes(camp_image, true);
    ASSERT_TRUE(rc.ok) << rc.error;
    EXPECT_EQ(rc.config.mode, MODE_CAMPAIGN);
    EXPECT_EQ(resave(rc, true), camp_image);

    // The goal's progress, a last byte once the target town or the Dragon City has left its start holder:
    // each bit alone round-trips; the saves above, without it, have nothing changed hands.
    EXPECT_EQ(rc.state.victory.target_left_start + rc.state.victory.dragon_left_start, 0);
    for (int bits : {1, 2}) {
        o = kit::FixtureOptions{};
        o.goal_progress = bits;
        const std::vector<uint8_t> moved = kit::make_fixture(o).bytes;
        const LoadResult rm = load_bytes(moved);
        ASSERT_TRUE(rm.ok) << rm.error;
        EXPECT_EQ(rm.state.victory.target_left_start, bits == 1);
        EXPECT_EQ(rm.state.victory.dragon_left_start, bits == 2);
        EXPECT_EQ(resave(rm, false), moved);
    }
    // A save from before the mark: the same last byte with header bytes 6-7 at 0, 0.
    o.progress_mark = false;
    const LoadResult older = load_bytes(kit::make_fixture(o).bytes);
    ASSERT_TRUE(older.ok) << older.error;
    EXPECT_EQ(older.state.victory.dragon_left_start, 1);
}

TEST(SaveGame, CampaignMapListIsBounded) {
    kit::FixtureOptions o;
    o.campaign = true;
    o.campaign_maps = 64;
    const LoadResult ok = load_bytes(kit::make_fixture(o).bytes, true);
    ASSERT_TRUE(ok.ok) << ok.error;
    EXPECT_EQ(ok.config.campaign_maps.size(), 64u);
    o.campaign_maps = 65;  // more names than any campaign has: a damaged file
    EXPECT_EQ(load_bytes(kit::make_fixture(o).bytes, true).error, kCampCorrupt);
}

TEST(SaveGame, CampaignSavesCarryTheirBlock) {
    kit::FixtureOptions o;
    o.campaign = true;
    const std::vector<uint8_t> image = kit::make_fixture(o).bytes;
    const LoadResult r = load_bytes(image, true);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_TRUE(r.campaign_completed);
    EXPECT_EQ(r.config.mode, MODE_CAMPAIGN);
    EXPECT_EQ(r.config.campaign_id, CAMPAIGN_SPIRIT_WORLD);
    EXPECT_EQ(r.config.campaign_lord, 2);
    EXPECT_EQ(r.config.lord_number, 3);
    EXPECT_EQ(r.config.lord_faction, 4);
    EXPECT_EQ(r.config.scenario_index, 5);
    EXPECT_EQ(r.config.campaign_map_path, "maps/CAMP6.CMP");
    ASSERT_EQ(r.config.campaign_maps.size(), 8u);
    EXPECT_EQ(r.config.campaign_maps[7], "maps/CAMP8.CMP");
    EXPECT_EQ(r.current_player, 0);
    EXPECT_EQ(resave(r, true), image);

    o.mode_byte = 0;  // the campaign block makes it a campaign whatever the configuration says
    EXPECT_EQ(load_bytes(kit::make_fixture(o).bytes, true).config.mode, MODE_CAMPAIGN);

    EXPECT_EQ(load_bytes(image, false).error, "This is a campaign save; load it from the Campaign menu.");
    EXPECT_EQ(load_bytes(kit::make_fixture({}).bytes, true).error,
              "This is a standard save; load it from the Standard menu.");
}

TEST(SaveGame, HeadersAreCheckedInOrder) {
    std::vector<uint8_t> image = kit::make_fixture({}).bytes;
    EXPECT_EQ(load_bytes({}).error, "Save file is too small / truncated.");
    EXPECT_EQ(load_bytes(std::vector<uint8_t>(image.begin(), image.begin() + 11)).error,
              "Save file is too small / truncated.");
    EXPECT_EQ(load_bytes(std::vector<uint8_t>(image.begin(), image.begin() + 11), true).error,
              "Campaign save is too small / truncated.");

    std::vector<uint8_t> xy = image;
    xy[6] = 'x';
    xy[7] = 'y';
    EXPECT_TRUE(load_bytes(xy).ok);

    std::vector<uint8_t> foreign = image;
    foreign[0] = 'Q';
    EXPECT_EQ(load_bytes(foreign).error, "Not a Veldar save file.");
    EXPECT_EQ(load_bytes(foreign, true).error, "Not a Veldar campaign save file.");

    kit::FixtureOptions v8;
    v8.version = 8;
    EXPECT_EQ(load_bytes(kit::make_fixture(v8).bytes).error, "Save file version 8 is not supported (expected 7).");
    kit::FixtureOptions c9;
    c9.campaign = true;
    c9.version = 0xFFFFFFFF;
    EXPECT_EQ(load_bytes(kit::make_fixture(c9).bytes, true).error,
              "Campaign save version 4294967295 is not supported (expected 8).");

    test::ScratchDataDir dir;
    EXPECT_EQ(load_game(dir.root() + "/missing.sav", "").error, "Cannot open save file.");
    EXPECT_EQ(load_campaign_game(dir.root()).error, "Cannot open campaign save file.");
    // Larger than any save (sparse: nothing is written).
    const std::string big = dir.root() + "/big.sav";
    test::write_bytes(big, image);
    fs::resize_file(big, kMaxSaveFileBytes + 1);
    EXPECT_EQ(load_game(big, "").error, "Save file is corrupt (larger than any save).");
    EXPECT_EQ(load_campaign_game(big).error, "Campaign save is corrupt (larger than any save).");
}

TEST(SaveGame, EveryCutEndsInTheCorruptText) {
    // A save ending in the goal-progress byte too: cut by that byte alone, it is no older save without one.
    for (auto [campaign, progress] : {std::pair{false, 0}, {true, 0}, {false, 3}, {true, 1}}) {
        kit::FixtureOptions o;
        o.campaign = campaign;
        o.goal_progress = progress;
        const kit::FixtureLayout f = kit::make_fixture(o);
        std::vector<std::size_t> cuts = f.boundaries;
        for (std::size_t c = 12; c < f.bytes.size(); c += 997) cuts.push_back(c);
        cuts.push_back(f.bytes.size() - 1);
        std::mt19937 rng(campaign ? 8u : 7u);
        for (int i = 0; i < 40; ++i) cuts.push_back(12 + rng() % (f.bytes.size() - 12));
        for (std::size_t cut : cuts) {
            const LoadResult r = load_bytes(std::vector<uint8_t>(f.bytes.begin(), f.bytes.begin() + cut), campaign);
            EXPECT_FALSE(r.ok) << cut;
            EXPECT_EQ(r.error, campaign ? kCampCorrupt : kCorrupt) << "cut at " << cut;
        }
    }
    // {campaign, progress, bytes added after the end, progress read}: only the writer's own byte is progress.
    for (const auto& [campaign, progress, tail, bits] :
         {std::tuple{false, 0, std::vector<uint8_t>{'\r', '\n'}, 0}, {true, 0, {'\r', '\n'}, 0},
          {false, 3, {'\r', '\n'}, 3}, {true, 1, {'\r', '\n'}, 1}, {false, 0, {'\n'}, 0}, {true, 0, {5}, 0},
          {false, 0, {2}, 2}, {true, 0, {3}, 3}}) {
        kit::FixtureOptions o;
        o.campaign = campaign;
        o.goal_progress = progress;
        std::vector<uint8_t> b = kit::make_fixture(o).bytes;
        b.insert(b.end(), tail.begin(), tail.end());
        const LoadResult r = load_bytes(b, campaign);
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(r.state.victory.target_left_start + 2 * r.state.victory.dragon_left_start, bits)
            << campaign << progress << +tail[0];
    }
}

// Offset of the towns count inside a fixture: the bytes up to it are fixed by the tables.
std::size_t towns_count_offset(const std::vector<uint8_t>& b) {
    std::size_t at = 12;
    auto skip_str = [&] { at += 2 + (b[at] | (b[at + 1] << 8)); };
    at += 1;
    skip_str();
    skip_str();
    skip_str();
    at += 6 + 4;
    skip_str();
    at += 2;  // end of the configuration block
    skip_str();
    skip_str();
    return at + 12 + 12 + 112 + 4 * 648 + 4;
}

TEST(SaveGame, HostileCountsAndIndicesAreRefusedQuickly) {
    const std::vector<uint8_t> image = kit::make_fixture({}).bytes;
    const std::size_t towns = towns_count_offset(image);
    ASSERT_EQ(image[towns], 1);  // the fixture's single town

    std::vector<uint8_t> b = image;
    for (int i = 0; i < 4; ++i) b[towns + i] = 0xFF;
    EXPECT_EQ(load_bytes(b).error, kCorrupt);

    // Tiles of 65535 x 65535, and of 73 x 72 (more than any grid of the game holds).
    const kit::FixtureLayout f = kit::make_fixture({});
    const std::size_t tiles = f.boundaries[2];
    for (uint32_t dim : {65535u, 73u}) {
        b = image;
        for (int i = 0; i < 4; ++i) b[tiles + i] = static_cast<uint8_t>(dim >> (8 * i));
        EXPECT_EQ(load_bytes(b).error, kCorrupt) << dim;
    }

    // A current player outside 0..3 would index the seats.
    kit::FixtureOptions o;
    o.empty = true;
    b = kit::make_fixture(o).bytes;
    const std::size_t cp = kit::make_fixture(o).boundaries[2] - (4 + 4 + 48 + 288 + 4);
    ASSERT_EQ(b[cp], 0);
    b[cp] = 4;
    EXPECT_EQ(load_bytes(b).error, kOutOfRange);
    b[cp] = 3;
    EXPECT_TRUE(load_bytes(b).ok);
}

TEST(SaveGame, LoadedIndicesAreCheckedAgainstTheRecords) {
    const LoadResult good = load_bytes(kit::make_fixture({}).bytes);
    ASSERT_TRUE(good.ok);
    auto reload = [&](auto change) {
        LoadResult r = good;
        change(r);
        PuzzleMapState p;
        restore_puzzle_state(r, p);
        return load_bytes(build_save_image(r.state, r.map, r.config, r.day, r.week, r.month, &p, r.current_player,
                                           &r.elimination));
    };
    EXPECT_TRUE(reload([](LoadResult&) {}).ok);
    EXPECT_FALSE(reload([](LoadResult& r) { r.state.heroes[0].owner = 4; }).ok);
    EXPECT_FALSE(reload([](LoadResult& r) { r.state.heroes[0].x = 72; }).ok);
    EXPECT_FALSE(reload([](LoadResult& r) { r.state.heroes[0].boat_index = 1; }).ok);
    EXPECT_TRUE(reload([](LoadResult& r) {
                    r.state.heroes[0].live = 0;  // a hero off the map may keep stale values
                    r.state.heroes[0].x = -1;
                }).ok);
    EXPECT_FALSE(reload([](LoadResult& r) { r.state.boats[0].hero = 1; }).ok);
    EXPECT_FALSE(reload([](LoadResult& r) { r.state.castles[0].y = -1; }).ok);
    EXPECT_FALSE(reload([](LoadResult& r) { r.state.human_castle_slot = 1; }).ok);  // one town only
    EXPECT_FALSE(reload([](LoadResult& r) { r.state.human_castle_slot = -2; }).ok);
    EXPECT_TRUE(reload([](LoadResult& r) { r.state.human_castle_slot = -1; }).ok);
    EXPECT_FALSE(reload([](LoadResult& r) { r.state.pool.free_entries.push_back(36); }).ok);
    EXPECT_FALSE(reload([](LoadResult& r) { r.state.offers[3][1] = -2; }).ok);
    EXPECT_FALSE(reload([](LoadResult& r) { r.week = 5; }).ok);
    // The last month whose following month's days still count in 32 bits, and the one after it.
    EXPECT_TRUE(reload([](LoadResult& r) { r.month = CALENDAR_MAX_MONTH; }).ok);
    for (int32_t month : {CALENDAR_MAX_MONTH + 1, INT32_MAX, 0})
        EXPECT_EQ(reload([month](LoadResult& r) { r.month = month; }).error, kOutOfRange) << month;
    EXPECT_FALSE(reload([](LoadResult& r) { r.state.heroes[0].army.ids[4] = 28; }).ok);
    EXPECT_FALSE(reload([](LoadResult& r) { r.state.pool.entries[35].kept_army.ids[0] = 200; }).ok);
    EXPECT_FALSE(reload([](LoadResult& r) { r.state.monsters[1].creature = 254; }).ok);
    EXPECT_FALSE(reload([](LoadResult& r) { r.state.shrines[0].spell = 29; }).ok);
    EXPECT_TRUE(reload([](LoadResult& r) { r.state.castles[0].garrison.ids[4] = 27; }).ok);
    EXPECT_FALSE(reload([](LoadResult& r) { r.state.map_width = 70; }).ok);
    // Read whole, so refused for its values, not as cut.
    EXPECT_EQ(reload([](LoadResult& r) { r.state.num_players = -1; }).error, kOutOfRange);
    for (uint8_t colour : {4, 7, 251, 255})
        EXPECT_EQ(reload([colour](LoadResult& r) { r.state.player_color[1] = colour; }).error, kOutOfRange) << +colour;
    kit::FixtureOptions camp;
    camp.campaign = true;
    LoadResult c = load_bytes(kit::make_fixture(camp).bytes, true);
    ASSERT_TRUE(c.ok) << c.error;
    c.state.player_color[0] = 7;
    EXPECT_EQ(load_bytes(resave(c, true), true).error, "Campaign save is corrupt (a value is out of range).");
    c = load_bytes(kit::make_fixture(camp).bytes, true);
    c.month = CALENDAR_MAX_MONTH + 1;
    EXPECT_EQ(load_bytes(resave(c, true), true).error, "Campaign save is corrupt (a value is out of range).");
    EXPECT_FALSE(reload([](LoadResult& r) { r.state.player_color[0] = COLOR_NONE; }).ok);  // a seat in play
    EXPECT_FALSE(reload([](LoadResult& r) { r.state.player_color[3] = 4; }).ok);          // nor an unused one
    EXPECT_TRUE(reload([](LoadResult& r) { r.state.player_color[3] = COLOR_YELLOW; }).ok);
    EXPECT_FALSE(reload([](LoadResult& r) { r.current_player = 4; }).ok);
}

TEST(SaveGame, TheSavedStemCannotLeaveTheMapsFolder) {
    test::ScratchDataDir dir;
    for (const char* stem : {"../../etc/passwd", "..\\..\\secret"}) {
        kit::FixtureOptions o;
        o.map_stem = stem;
        const std::string path = dir.root() + "/s.sav";
        test::write_bytes(path, kit::make_fixture(o).bytes);
        testing::internal::CaptureStderr();
        const LoadResult r = load_game(path, dir.root() + "/maps");
        const std::string err = testing::internal::GetCapturedStderr();
        ASSERT_TRUE(r.ok) << r.error;
        const std::string last = std::string(stem).substr(std::string(stem).find_last_of("/\\") + 1);
        EXPECT_NE(err.find("load_game: base map load failed (" + dir.root() + "/maps/" + last + ".MAP): "),
                  std::string::npos)
            << err;
        EXPECT_NE(err.find("load_game: base map unavailable; using saved tiles only\n"), std::string::npos);
    }
}

TEST(SaveGame, SavingReplacesTheFileAndSurvivesAStaleTemporary) {
    test::ScratchDataDir dir;
    const LoadResult r = load_bytes(kit::make_fixture({}).bytes);
    ASSERT_TRUE(r.ok);
    const std::string path = compose_save_path("slot");
    test::write_bytes(path + ".tmp", {1, 2, 3});
    testing::internal::CaptureStdout();
    ASSERT_TRUE(save_game(path, r.state, r.map, r.config, 5, 1, 2, nullptr, 0, nullptr));
    const std::string out = testing::internal::GetCapturedStdout();
    const std::vector<uint8_t> first = test::read_bytes(path);
    EXPECT_EQ(out, "save_game: writing " + std::to_string(first.size()) + " bytes to " + path +
                       "\nsave_game: saved OK -> " + path + "\n");
    ASSERT_TRUE(save_game(path, r.state, r.map, r.config, 6, 1, 2, nullptr, 0, nullptr));
    const LoadResult again = load_game(path, "");
    ASSERT_TRUE(again.ok) << again.error;
    EXPECT_EQ(again.day, 6);
    EXPECT_FALSE(again.puzzle_present);
    EXPECT_FALSE(fs::exists(path + ".tmp"));
    EXPECT_EQ(list_save_files().size(), 1u);

    ASSERT_TRUE(save_campaign_game(compose_campaign_save_path("c"), r.state, r.map, r.config, 1, 1, 1, nullptr,
                                   true, nullptr));
    const LoadResult camp = load_campaign_game(compose_campaign_save_path("c"));
    ASSERT_TRUE(camp.ok) << camp.error;
    EXPECT_TRUE(camp.campaign_completed);
    EXPECT_EQ(camp.current_player, 0);
}

TEST(SaveGame, AFailedWriteLeavesTheOldFile) {
    test::ScratchDataDir dir;
    const LoadResult r = load_bytes(kit::make_fixture({}).bytes);
    ASSERT_TRUE(r.ok);
    const std::string path = compose_save_path("keep");
    ASSERT_TRUE(save_game(path, r.state, r.map, r.config, 1, 1, 1, nullptr, 0, nullptr));
    const std::vector<uint8_t> old = test::read_bytes(path);

    // The temporary file cannot be opened: the notice names it, not the untouched old save.
    fs::create_directory(path + ".tmp");
    testing::internal::CaptureStderr();
    SaveOutcome out;
    EXPECT_FALSE(save_game(path, r.state, r.map, r.config, 2, 1, 1, nullptr, 0, nullptr, &out));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "save_game: cannot open temp file for writing: " + path + ".tmp\n");
    EXPECT_EQ(test::read_bytes(path), old);
    strings().load_from_text(R"({"GAME_SAVE_FAILED":"Not saved."})", "{}");
    EXPECT_EQ(save_outcome_text(out),
              "Not saved.\nsaved_games/keep.sav.tmp: " + std::make_error_code(std::errc::is_a_directory).message());
    fs::remove(path + ".tmp");

    // The disk fills up part way (a file size limit in a child process, whose signal the save
    // itself must keep from ending the program).
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        rlimit lim{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &lim);
        const bool saved = save_game(path, r.state, r.map, r.config, 3, 1, 1, nullptr, 0, nullptr, &out);
        const bool told = out.reason == std::make_error_code(std::errc::file_too_large).message() &&
                          out.reason_file == path + ".tmp";
        _exit(saved ? 1 : told ? 0 : 2);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the save reported success on a full disk; 2: not the write's reason "
                                         "on the temporary file";
    EXPECT_EQ(test::read_bytes(path), old);
    EXPECT_FALSE(fs::exists(path + ".tmp")) << "the partial file stays behind";

    // A later save of the same name still works.
    EXPECT_TRUE(save_game(path, r.state, r.map, r.config, 4, 1, 1, nullptr, 0, nullptr));
    EXPECT_EQ(load_game(path, "").day, 4);

    // A plain file where the folder should be blocks saving before anything is written.
    test::ScratchDataDir blocked;
    test::write_bytes(saved_games_dir(), {0});
    testing::internal::CaptureStderr();
    EXPECT_FALSE(save_game(blocked.root() + "/x.sav", r.state, r.map, r.config, 1, 1, 1, nullptr, 0, nullptr));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "save_game: cannot create saved_games dir\n");
    EXPECT_FALSE(fs::exists(blocked.root() + "/x.sav"));
}

TEST(SaveGame, PuzzleAndEliminationSectionsMayBeAbsent) {
    const LoadResult r = load_bytes(kit::make_fixture({}).bytes);
    ASSERT_TRUE(r.ok);
    const LoadResult bare =
        load_bytes(build_save_image(r.state, r.map, r.config, 1, 1, 1, nullptr, 0, nullptr));
    ASSERT_TRUE(bare.ok);
    EXPECT_FALSE(bare.puzzle_present);
    PuzzleMapState live;
    live.obelisk_count = 9;
    EXPECT_FALSE(restore_puzzle_state(bare, live));
    EXPECT_EQ(live.obelisk_count, 9);
    for (const PlayerEliminationRecord& e : bare.elimination.players) {
        EXPECT_EQ(e.eliminated, 0);
        EXPECT_EQ(e.days_left, -1);
    }
}

}  // namespace
}  // namespace vorn1

namespace vorn1 {
namespace {

TEST(SaveGame, WhatTheFormatDropsIsRebuiltFromTheBaseMap) {
    test::ScratchDataDir dir;
    const std::string maps = dir.root() + "/maps";
    fs::create_directories(maps);
    kit::MapBuilder b(72, 72, kit::G_GRASS, "Fixture Map");
    b.monster(15, 16, 12, 25, true);
    b.monster(17, 18, 3, 9, false);
    b.artifact(7, 8, 44, 2);
    b.boat(60, 60);  // where the boat was when the game started
    ASSERT_TRUE(kit::write_map_file(maps + "/FIXTURE.MAP", b.map));
    ASSERT_EQ(b.map.tiles[60 * 72 + 60].boat, 1);

    const std::string path = dir.root() + "/s.sav";
    test::write_bytes(path, kit::make_fixture({}).bytes);
    testing::internal::CaptureStderr();
    const LoadResult r = load_game(path, maps);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_FALSE(r.map.objects.empty());
    EXPECT_EQ(r.state.monsters[0].willing, 1);
    EXPECT_EQ(r.state.monsters[1].willing, 0);
    EXPECT_EQ(r.state.map_artifacts[0].guard_kind, 2);
    EXPECT_EQ(r.map.tiles[60 * 72 + 60].boat, 0);   // the boat has moved on
    EXPECT_EQ(r.map.tiles[26 * 72 + 25].boat, 1);   // to where the hero sails it
    EXPECT_EQ(r.map.tiles[1].ground, 7);            // the saved tiles lie over the base map

    // Without a maps folder the configured path is tried next.
    kit::FixtureOptions o;
    o.map_path = maps + "/FIXTURE.MAP";
    test::write_bytes(path, kit::make_fixture(o).bytes);
    testing::internal::CaptureStderr();
    const LoadResult by_path = load_game(path, "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ASSERT_TRUE(by_path.ok);
    EXPECT_EQ(by_path.state.monsters[0].willing, 1);

    // A campaign save reads its .CMP path.
    ASSERT_TRUE(kit::write_map_file(maps + "/CAMP6.CMP", b.map));
    kit::FixtureOptions c;
    c.campaign = true;
    const LoadResult camp = load_campaign_game_image(kit::make_fixture(c).bytes);
    ASSERT_TRUE(camp.ok);
    EXPECT_TRUE(camp.map.objects.empty());  // "maps/CAMP6.CMP" is relative to elsewhere
}

}  // namespace
}  // namespace vorn1

namespace vorn1 {
namespace {

// A freshly set-up four-player game survives a save and a load with what the format drops rebuilt.
TEST(SaveGame, ASetUpGamePlaysOnAfterALoad) {
    test::ScratchDataDir dir;
    const std::string maps = dir.root() + "/maps";
    fs::create_directories(maps);
    GameMap map = kit::make_scenario_map(2, 4, 77, "Four Kings");
    ASSERT_TRUE(kit::write_map_file(maps + "/FOURK.MAP", map));
    GameMap base = load_map(maps + "/FOURK.MAP");

    NewGameConfig cfg;
    cfg.map_path = maps + "/FOURK.MAP";
    cfg.map_stem = "FOURK";
    cfg.map_name = base.name;
    cfg.opponents = {OPP_DUMB, OPP_SMART, OPP_GENIUS};
    GameState state;
    init_game_state(state, base, cfg, 1234);
    ASSERT_GE(state.monsters.size(), 1u);

    const std::string path = compose_save_path("four");
    ASSERT_TRUE(save_game(path, state, base, cfg, 1, 1, 1, nullptr, 0, nullptr));
    testing::internal::CaptureStderr();
    const LoadResult r = load_game(path, maps);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ASSERT_TRUE(r.ok) << r.error;

    EXPECT_EQ(r.state.player_ai_level, state.player_ai_level);
    for (std::size_t i = 0; i < state.monsters.size(); ++i) EXPECT_EQ(r.state.monsters[i].willing, state.monsters[i].willing);
    for (std::size_t i = 0; i < state.map_artifacts.size(); ++i)
        EXPECT_EQ(r.state.map_artifacts[i].guard_kind, state.map_artifacts[i].guard_kind);
    EXPECT_EQ(r.state.victory.target_name, state.victory.target_name);
    EXPECT_EQ(r.state.victory.sites, state.victory.sites);
    ASSERT_EQ(r.map.tiles.size(), base.tiles.size());
    for (std::size_t i = 0; i < base.tiles.size(); ++i)
        ASSERT_EQ(std::memcmp(&r.map.tiles[i], &base.tiles[i], sizeof(MapTile)), 0) << "tile " << i;
    EXPECT_EQ(r.map.guard_map, base.guard_map);
    EXPECT_EQ(build_save_image(r.state, r.map, r.config, r.day, r.week, r.month, nullptr, r.current_player, nullptr),
              test::read_bytes(path));

    // Hot seat, two humans and two computers of other levels than the default, configured as the hot-seat
    // set-up page does: a load keeps each computer's level.
    NewGameConfig hot = cfg;
    hot.mode = MODE_HOTSEAT;
    hot.multiplayer = 1;
    hot.opponents = {OPP_NONE, OPP_GENIUS, OPP_DUMB};
    for (int p = 0; p < 4; ++p) {
        hot.seats[(size_t)p].color = (uint8_t)p;
        hot.seats[(size_t)p].kind = p < 2 ? SEAT_HUMAN : SEAT_COMPUTER;
        if (p >= 2) hot.seats[(size_t)p].ai_level = hot.opponents[(size_t)p - 1];
    }
    init_game_state(state, base, hot, 1234);
    ASSERT_EQ(state.player_ai_level, (std::array<uint8_t, 4>{AI_NONE, AI_NONE, AI_GENIUS, AI_DUMB}));
    ASSERT_TRUE(save_game(path, state, base, hot, 1, 1, 1, nullptr, 0, nullptr));
    const LoadResult shared = load_game(path, maps);
    ASSERT_TRUE(shared.ok) << shared.error;
    EXPECT_EQ(shared.state.player_ai_level, state.player_ai_level);
}

}  // namespace
}  // namespace vorn1

namespace vorn1 {
namespace {

// The hunted lord is the hero the map placed on the target, whoever stands there when the game is saved:
// another hero on his starting tile is not the goal, and a lord who walked off still is.
TEST(SaveGame, ALoadedGameHuntsTheLordTheMapPlaced) {
    test::ScratchDataDir dir;
    const std::string maps = dir.root() + "/maps";
    fs::create_directories(maps);
    kit::MapBuilder b(36, 36, kit::G_GRASS, "The Hunt");
    b.town(4, 4, FACTION_KNIGHT, 0, true, "Oakhold");
    b.hero(10, 10, 35, 0);
    b.town(30, 30, FACTION_WARLOCK, 1, true, "Duskmoor");
    b.hero(31, 31, 27, 1);
    b.hero(12, 10, 0, 1);
    b.victory(VICTORY_KILL_HERO, 12, 10);
    ASSERT_TRUE(kit::write_map_file(maps + "/HUNT.MAP", b.map));
    GameMap base = load_map(maps + "/HUNT.MAP");
    NewGameConfig cfg;
    cfg.map_path = maps + "/HUNT.MAP";
    cfg.map_stem = "HUNT";
    GameState start;
    init_game_state(start, base, cfg, 99);
    const int own = start.hero_at(10, 10), lord = start.hero_at(12, 10);
    ASSERT_GE(own, 0);
    ASSERT_GE(lord, 0);
    const std::string lord_name = start.heroes[(size_t)lord].name;
    ASSERT_EQ(start.victory.target_name, lord_name);

    const auto saved_and_loaded = [&](const GameState& s) {
        const std::string path = compose_save_path("hunt");
        EXPECT_TRUE(save_game(path, s, base, cfg, 1, 1, 1, nullptr, 0, nullptr));
        testing::internal::CaptureStderr();
        LoadResult r = load_game(path, maps);
        testing::internal::GetCapturedStderr();
        EXPECT_TRUE(r.ok) << r.error;
        return r;
    };
    for (bool own_on_the_tile : {true, false}) {
        SCOPED_TRACE(own_on_the_tile ? "the player's hero on the lord's tile" : "the lord walked off");
        GameState s = start;
        s.heroes[(size_t)lord].x = 20;
        s.heroes[(size_t)lord].y = 20;
        if (own_on_the_tile) s.heroes[(size_t)own].x = 12;
        LoadResult r = saved_and_loaded(s);
        EXPECT_EQ(r.state.victory.target_name, lord_name);
        EXPECT_FALSE(victory_condition_met(r.state, 0)) << "the lord stands";
        note_hero_beaten(r.state, lord, 0);
        r.state.heroes[(size_t)lord].live = 0;
        EXPECT_TRUE(victory_condition_met(r.state, 0)) << "the lord alone is the goal; the rival's other hero is not";
    }

    // Seat 1 beaten: its castle taken, its heroes gone.
    const auto rival_beaten = [](GameState t) {
        t.castles[(size_t)t.castle_at(30, 30)].owner = 0;
        for (HeroState& h : t.heroes)
            if (h.owner == 1) h.live = 0;
        return t;
    };
    // The rival's castle as a goal: held from the start, it is nobody's win after a load. Without the base
    // map (the player is told) the goal is every rival beaten: taking the castle alone wins nothing.
    GameState s = start;
    s.victory.kind = VICTORY_CAPTURE_TOWN;
    s.victory.target_x = s.victory.target_y = 30;
    {
        // A game on the archive's demo map names no map file: the archive's map is its base.
        const std::vector<uint8_t> demo = test::read_bytes(maps + "/HUNT.MAP");
        NewGameConfig on_demo = cfg;
        on_demo.map_path.clear();
        on_demo.map_stem.clear();
        const LoadResult r = load_game_image(build_save_image(s, base, on_demo, 1, 1, 1, nullptr, 0, nullptr), maps,
                                             true, &demo);
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_FALSE(r.base_map_missing);
        EXPECT_EQ(r.mapless_goal, MaplessGoal::Stays);
        EXPECT_EQ(r.state.victory.start_target_owner, 1);
    }
    for (bool with_base_map : {true, false}) {
        SCOPED_TRACE(with_base_map ? "with its base map" : "without its base map");
        if (!with_base_map) fs::remove(maps + "/HUNT.MAP");
        const LoadResult r = saved_and_loaded(s);
        EXPECT_EQ(r.map.objects.empty(), !with_base_map);
        EXPECT_EQ(r.base_map_missing, !with_base_map);
        EXPECT_EQ(r.mapless_goal == MaplessGoal::EveryRival, !with_base_map);
        EXPECT_EQ(victorious_player(r.state), -1);
        GameState taken = r.state;
        taken.castles[(size_t)taken.castle_at(30, 30)].owner = 0;
        EXPECT_EQ(victorious_player(taken), with_base_map ? 0 : -1) << "taking it";
        EXPECT_EQ(victorious_player(rival_beaten(r.state)), 0);
    }

    // Each goal from an image loaded with no map: the goals that need the map's records are every rival
    // beaten, and stay so when saved again; seats 0 and 1, in play, are the rivals from the start.
    const std::pair<uint8_t, uint8_t> goals[] = {
        {VICTORY_CAPTURE_TOWN, VICTORY_DEFEAT_ALL}, {VICTORY_DRAGON_CITY, VICTORY_DEFEAT_ALL},
        {VICTORY_KILL_HERO, VICTORY_DEFEAT_ALL},    {VICTORY_VISIT_SITES, VICTORY_DEFEAT_ALL},
        {VICTORY_GATHER_GOLD, VICTORY_GATHER_GOLD}, {VICTORY_DEFEAT_ALL, VICTORY_DEFEAT_ALL},
    };
    for (const auto& [saved, loaded] : goals) {
        SCOPED_TRACE(testing::Message() << "goal " << (int)saved);
        s = start;
        s.victory.kind = saved;
        s.victory.target_x = s.victory.target_y = 30;
        const LoadResult r = load_game_image(build_save_image(s, base, cfg, 1, 1, 1, nullptr, 0, nullptr), "", false);
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(r.state.victory.kind, loaded);
        EXPECT_EQ(r.mapless_goal == MaplessGoal::EveryRival, saved != loaded);
        EXPECT_FALSE(r.base_map_missing) << "no map was sought";
        EXPECT_EQ(r.state.victory.start_holders, 0x03);
        EXPECT_EQ(victorious_player(r.state), -1);
        if (saved == loaded) continue;
        EXPECT_EQ(victorious_player(rival_beaten(r.state)), 0);
        const LoadResult again =
            load_game_image(build_save_image(r.state, r.map, cfg, 1, 1, 1, nullptr, 0, nullptr), "", false);
        EXPECT_EQ(again.mapless_goal, MaplessGoal::Stays) << "saved as every rival beaten";
    }
}

TEST(SaveGame, AutosaveGoesToTheFolderOfTheGamesKind) {
    test::ScratchDataDir dir;
    const LoadResult r = load_bytes(kit::make_fixture({}).bytes);
    ASSERT_TRUE(r.ok);
    AutosaveRequest req;
    EXPECT_FALSE(write_autosave(req).ok);  // nothing to save
    req.state = &r.state;
    req.map = &r.map;
    req.config = &r.config;
    req.day = 7;
    req.current_player = 1;
    req.elimination = &r.elimination;
    ASSERT_TRUE(write_autosave(req).ok);
    const LoadResult back = load_game(saved_games_dir() + "/autosave.sav", "");
    ASSERT_TRUE(back.ok) << back.error;
    EXPECT_EQ(back.day, 7);
    EXPECT_EQ(back.current_player, 1);
    EXPECT_EQ(back.elimination.players[1].days_left, 4);

    NewGameConfig camp = r.config;
    camp.mode = MODE_CAMPAIGN;
    req.config = &camp;
    ASSERT_TRUE(write_autosave(req).ok);
    const LoadResult cb = load_campaign_game(saved_camps_dir() + "/autosave.sav");
    ASSERT_TRUE(cb.ok) << cb.error;
    EXPECT_FALSE(cb.campaign_completed);
    EXPECT_EQ(cb.current_player, 0);
    EXPECT_EQ(list_campaign_save_files().size(), 1u);

    // A file where the folder should be (a write that fails even for root): the file and the reason come back.
    fs::remove_all(saved_camps_dir());
    test::write_bytes(saved_camps_dir(), {1});
    testing::internal::CaptureStderr();
    const SaveOutcome blocked = write_autosave(req);
    testing::internal::GetCapturedStderr();
    EXPECT_FALSE(blocked.ok);
    EXPECT_EQ(blocked.path, saved_camps_dir() + "/autosave.sav");
    EXPECT_EQ(blocked.reason, std::make_error_code(std::errc::not_a_directory).message());
}

// A folder that cannot be made is what every writer's notice names, never a save that is not there.
TEST(SaveGame, AFolderThatCannotBeMadeIsNamed) {
    test::ScratchDataDir dir;
    const LoadResult r = load_bytes(kit::make_fixture({}).bytes);
    ASSERT_TRUE(r.ok);
    strings().load_from_text(R"({"GAME_SAVE_FAILED":"Not saved."})", "{}");
    const std::string not_a_dir = std::make_error_code(std::errc::not_a_directory).message();
    testing::internal::CaptureStderr();
    // A file where each folder goes: the player's save, the autosave and a campaign save.
    test::write_bytes(saved_games_dir(), {1});
    test::write_bytes(saved_camps_dir(), {1});
    SaveOutcome out;
    EXPECT_FALSE(save_game(compose_save_path("old"), r.state, r.map, r.config, 1, 1, 1, nullptr, 0, nullptr, &out));
    EXPECT_EQ(out.reason_file, saved_games_dir());
    EXPECT_EQ(save_outcome_text(out), "Not saved.\nsaved_games: " + not_a_dir);
    AutosaveRequest req{&r.state, &r.map, &r.config};
    EXPECT_EQ(save_outcome_text(write_autosave(req), true),
              "The autosave could not be written.\nsaved_games: " + not_a_dir);
    EXPECT_FALSE(save_campaign_game(compose_campaign_save_path("c"), r.state, r.map, r.config, 1, 1, 1, nullptr, true,
                                    nullptr, &out));
    EXPECT_EQ(save_outcome_text(out), "Not saved.\nsaved_camps: " + not_a_dir);
    // A parent that cannot hold the folder: the folder is named from the archive's side.
    set_save_archive_path(saved_games_dir() + "/VELDAR.AGG");
    EXPECT_FALSE(save_game(compose_save_path("old"), r.state, r.map, r.config, 1, 1, 1, nullptr, 0, nullptr, &out));
    EXPECT_EQ(save_outcome_text(out), "Not saved.\nsaved_games: " + out.reason);
    EXPECT_FALSE(out.reason.empty());
    testing::internal::GetCapturedStderr();
}

TEST(SaveGame, ATargetThatCannotBeReplacedIsReported) {
    test::ScratchDataDir dir;
    const LoadResult r = load_bytes(kit::make_fixture({}).bytes);
    ASSERT_TRUE(r.ok);
    const std::string path = compose_campaign_save_path("taken");
    fs::create_directories(path + "/inside");  // a folder in the way: neither rename nor copy can replace it
    testing::internal::CaptureStderr();
    SaveOutcome out;
    EXPECT_FALSE(save_campaign_game(path, r.state, r.map, r.config, 1, 1, 1, nullptr, false, nullptr, &out));
    const std::string err = testing::internal::GetCapturedStderr();
    ASSERT_FALSE(out.reason.empty());
    EXPECT_NE(err.find(out.reason), std::string::npos) << "the reason told is the one logged";
    strings().load_from_text(R"({"GAME_SAVE_FAILED":"Not saved."})", "{}");
    EXPECT_EQ(save_outcome_text(out), "Not saved.\nsaved_camps/taken.sav: " + out.reason) << "the rename's target";
    EXPECT_EQ(err.rfind("save_campaign_game: could not finalise " + path + " (", 0), 0u) << err;
    EXPECT_TRUE(fs::is_directory(path + "/inside"));
    EXPECT_FALSE(fs::exists(path + ".tmp"));
}

}  // namespace
}  // namespace vorn1

namespace vorn1 {
namespace {

// Neighbouring fields of one width, swapped alike in writer and reader, would still save back
// identically: each must be found in its own member.
TEST(SaveGame, NeighbouringFieldsLandInTheirOwnMembers) {
    const LoadResult r = load_bytes(kit::make_fixture({}).bytes);
    ASSERT_TRUE(r.ok) << r.error;
    const GameState& s = r.state;
    EXPECT_EQ(r.config.map_path, "");
    EXPECT_EQ(r.config.opponents[1], OPP_SMART);
    EXPECT_EQ(s.map_name, "Fixture Map");
    EXPECT_EQ(s.map_path, "maps/FIXTURE.MAP");
    EXPECT_EQ(s.player_color[0], 0);
    EXPECT_EQ(s.player_in_play[1], 1);
    EXPECT_EQ(s.resources[1].wood, 1001);
    EXPECT_EQ(s.resources[1].ore, 1002);
    EXPECT_EQ(s.resources[1].crystal, 1003);
    EXPECT_EQ(s.resources[1].mercury, 1004);
    EXPECT_EQ(s.resources[1].gems, 1005);
    EXPECT_EQ(s.human_castle_slot, 0);

    const CastleState& c = s.castles.at(0);
    EXPECT_EQ(c.x, 10);
    EXPECT_EQ(c.y, 12);
    EXPECT_EQ(c.is_castle, 1);
    EXPECT_EQ(c.faction, 2);
    EXPECT_EQ(c.owner, 0);
    EXPECT_EQ(c.built_today, 1);
    EXPECT_EQ(c.garrison.ids[0], 7);
    EXPECT_EQ(c.garrison.ids[2], 255);
    EXPECT_EQ(c.garrison.counts[0], 700);
    EXPECT_EQ(c.available[0], 20);
    EXPECT_EQ(c.guild_spells[0], 1);
    EXPECT_EQ(s.mines.at(0).x, 3);
    EXPECT_EQ(s.mines.at(0).y, 4);
    EXPECT_EQ(s.mines.at(0).owner, 1);
    EXPECT_EQ(s.dragon_city.active, 1);
    EXPECT_EQ(s.dragon_city.x, 30);
    EXPECT_EQ(s.dragon_city.y, 31);
    EXPECT_EQ(s.lighthouse.active, 0);
    EXPECT_EQ(s.lighthouse.x, 40);
    EXPECT_EQ(s.lighthouse.owner, 1);
    EXPECT_EQ(s.chests.at(0).x, 5);
    EXPECT_EQ(s.chests.at(0).y, 6);
    EXPECT_EQ(s.map_artifacts.at(0).taken, 1);
    EXPECT_EQ(s.resource_piles.at(0).kind, 3);
    EXPECT_EQ(s.resource_piles.at(0).y, 10);
    EXPECT_EQ(s.mills.at(0).x, 11);
    EXPECT_EQ(s.mills.at(0).amount, 2);
    EXPECT_EQ(s.campfires.at(0).gold, 500);
    EXPECT_EQ(s.campfires.at(0).amount, 4);
    EXPECT_EQ(s.campfires.at(0).taken, 0);
    EXPECT_EQ(s.monsters.at(0).creature, 12);
    EXPECT_EQ(s.monsters.at(1).x, 17);
    EXPECT_EQ(s.garrisons.at(0).ids[0], 1);
    EXPECT_EQ(s.garrisons.at(0).counts[0], 11);
    EXPECT_EQ(s.shrines.at(0).y, 22);
    EXPECT_EQ(s.huts.at(0).creature, 8);
    EXPECT_EQ(s.huts.at(0).flag, 1);

    const HeroState& h = s.heroes.at(0);
    EXPECT_EQ(h.x, 25);
    EXPECT_EQ(h.y, 26);
    EXPECT_EQ(h.owner, 0);
    EXPECT_EQ(h.army.ids[0], 3);
    EXPECT_EQ(h.army.counts[0], 300);
    EXPECT_EQ(h.artifacts[1], 255);
    EXPECT_EQ(h.attack, 2);
    EXPECT_EQ(h.defense, 3);
    EXPECT_EQ(h.power, 4);
    EXPECT_EQ(h.has_spellbook, 1);
    EXPECT_EQ(h.figure, 3);
    EXPECT_EQ(h.morale, 1);
    EXPECT_EQ(h.artifact_bonus[0], 1);
    EXPECT_EQ(h.selected_at_save, 1);
    EXPECT_EQ(h.dest_x, 27);
    EXPECT_EQ(h.dest_y, 28);
    const BoatState& b = s.boats.at(0);
    EXPECT_EQ(b.x, 25);
    EXPECT_EQ(b.y, 26);
    EXPECT_EQ(b.hero, 0);
    EXPECT_EQ(b.owner, 0);

    const HeroPoolEntry& e = s.pool.entries[6];
    EXPECT_EQ(e.faction, 2);
    EXPECT_EQ(e.kind, 2);
    EXPECT_EQ(e.start_skills, (std::array<uint8_t, 4>{1, 2, 3, 4}));
    EXPECT_EQ(e.start_army.counts[1], 601);
    EXPECT_EQ(e.start_experience, 60);
    EXPECT_EQ(e.start_spellbook, 0);
    EXPECT_EQ(e.last_owner, 1);
    EXPECT_EQ(e.week_returned, 3);
    EXPECT_EQ(e.kept_army.counts[0], 700);
    EXPECT_EQ(e.kept_experience, 5000);
    EXPECT_EQ(e.kept_spellbook, 1);
    EXPECT_EQ(e.kept_charges[1], 1);
    EXPECT_EQ(e.kept_skills, (std::array<uint8_t, 4>{2, 3, 4, 5}));
    EXPECT_EQ(s.pool.entries[5].status, POOL_IN_PLAY);
    EXPECT_EQ(s.pool.entries[7].start_spellbook, 1);
    EXPECT_EQ(s.offers[0], (std::array<int32_t, 2>{0, 1}));
    EXPECT_EQ(s.victory.target_x, 33);
    EXPECT_EQ(s.victory.target_y, 34);

    // The computer players' block: 18 raw 32-bit values per seat in declaration order.
    const AIPlayerVars& ai = s.ai_vars[1];
    EXPECT_EQ(std::bit_cast<uint32_t>(ai.weights[0]), 0x1000u);
    EXPECT_EQ(std::bit_cast<uint32_t>(ai.savings), 0x1004u);
    EXPECT_EQ(std::bit_cast<uint32_t>(ai.battle_bias), 0x1005u);
    EXPECT_EQ(ai.income[0], 0x1006);
    EXPECT_EQ(ai.reserved[1], 0x100E);
    EXPECT_EQ(std::bit_cast<uint32_t>(ai.wealth_ratio), 0x100Fu);
    EXPECT_EQ(std::bit_cast<uint32_t>(ai.player_share), 0x1011u);
    EXPECT_EQ(s.ai_arrays[0][1], 1);
    EXPECT_EQ(s.ai_arrays[1][0], 10);
    EXPECT_EQ(s.visited_sites[1], 9u | (10u << 16));
    EXPECT_EQ(s.visit_count_keys, (std::vector<uint32_t>{5u | (6u << 10)}));

    PuzzleMapState p;
    ASSERT_TRUE(restore_puzzle_state(r, p));
    EXPECT_TRUE(p.active);
    EXPECT_EQ(p.obelisk_count, 1);
    EXPECT_EQ(p.dig_x, 40);
    EXPECT_FALSE(p.artifact_awarded);
    EXPECT_EQ(p.layout, (std::array<int32_t, 5>{0, 0, 7, 7, 43}));
    EXPECT_EQ(p.pieces[47], 0);
    EXPECT_EQ(p.visited_count, (std::array<int32_t, 4>{1, 0, 0, 0}));
    EXPECT_EQ(r.elimination.players[1].countdown_notice, 1);
    EXPECT_EQ(r.elimination.players[1].notice_pending, 0);
}

// A save naming a pipe as its map must not stall the load waiting for a writer.
TEST(SaveGame, ABaseMapThatIsNoRegularFileIsSkipped) {
    test::ScratchDataDir dir;
    const std::string fifo = dir.root() + "/pipe.MAP";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    kit::FixtureOptions o;
    o.map_path = fifo;
    const std::string path = dir.root() + "/s.sav";
    test::write_bytes(path, kit::make_fixture(o).bytes);

    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        alarm(20);  // a stalled open ends the child instead of the test run
        testing::internal::CaptureStderr();
        const LoadResult r = load_game(path, "");
        const std::string err = testing::internal::GetCapturedStderr();
        const bool line = err == "load_game: base map load failed (" + fifo +
                                     "): not a regular file\nload_game: base map unavailable; using saved tiles only\n";
        _exit(r.ok && line ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "the load stalled on the pipe";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace vorn1
