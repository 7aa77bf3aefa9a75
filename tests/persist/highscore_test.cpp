#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "lang/runtime_strings.h"
#include "persist/highscore.h"
#include "persist/persist_test_util.h"
#include "world/game_state.h"

using namespace vorn1;
using vorn1::test::read_bytes;
using vorn1::test::ScratchDataDir;
using vorn1::test::write_bytes;

namespace {

constexpr HighScoreTable kStd = HighScoreTable::Standard;
constexpr HighScoreTable kCamp = HighScoreTable::Campaign;

ScenarioResult result_of(int days, int pct) {
    ScenarioResult r;
    r.days = days;
    r.difficulty_percent = pct;
    return r;
}

// One 87-byte record written out by hand from the file layout.
std::vector<uint8_t> record(const std::string& name16, const std::string& label14, uint16_t score) {
    std::vector<uint8_t> rec(87, 0);
    std::memcpy(rec.data(), name16.data(), name16.size());
    std::memcpy(rec.data() + 17, label14.data(), label14.size());
    rec[32] = score & 0xFF;
    rec[33] = score >> 8;
    return rec;
}

std::string padded(const std::string& s, std::size_t n) { return s + std::string(n - s.size(), ' '); }

std::vector<uint8_t> file_of(const std::vector<std::vector<uint8_t>>& records) {
    std::vector<uint8_t> out;
    for (const auto& r : records) out.insert(out.end(), r.begin(), r.end());
    return out;
}

}  // namespace

TEST(ScoreRules, PointsCurveMeetsAtItsBorders) {
    const std::vector<std::pair<int, int>> cases = {
        {-5, 200}, {0, 200}, {1, 199}, {60, 140}, {61, 139}, {120, 110}, {121, 109},
        {360, 50}, {361, 49}, {592, 21}, {593, 20}, {100000, 20}};
    for (auto [days, points] : cases) EXPECT_EQ(scenario_points(days), points) << days;
    // Each piece falls monotonically: no day scores more than the day before.
    for (int d = 1; d < 700; ++d) EXPECT_LE(scenario_points(d), scenario_points(d - 1)) << d;
}

TEST(ScoreRules, StandardScoreScalesInDoublePrecisionAndNeverFallsToZero) {
    // 91 days give 124.5 -> 124 points; 124 at 100 % stays 124.
    EXPECT_EQ(compute_standard_score(result_of(91, 100)), 124);
    // 140 days give 105 points; at 115 % that is 120.75 -> 120.
    EXPECT_EQ(compute_standard_score(result_of(140, 115)), 120);
    // 100 x 1.15 is just below 115 in double precision: a rounding or float rule would say 115.
    ASSERT_EQ(scenario_points(160), 100);
    EXPECT_EQ(compute_standard_score(result_of(160, 115)), 114);
    EXPECT_EQ(compute_standard_score(result_of(61, 130)), 180);
    // A rating of 0 or below leaves the base; huge ratings clamp.
    EXPECT_EQ(compute_standard_score(result_of(61, 0)), 139);
    EXPECT_EQ(compute_standard_score(result_of(61, -40)), 139);
    EXPECT_EQ(compute_standard_score(result_of(0, 2147483647)), 65535);
    EXPECT_EQ(compute_standard_score(result_of(600, 1)), 1);  // 20 x 0.01 = 0.2 -> at least 1
    EXPECT_EQ(compute_campaign_score(-3), 0);
    EXPECT_EQ(compute_campaign_score(700), 700);
    EXPECT_EQ(compute_campaign_score(70000), 65535);
}

TEST(ScoreRules, RankLaddersPickTheFirstRowPassingTheTest) {
    EXPECT_STREQ(standard_rank_title(65535), "Dragon");
    EXPECT_STREQ(standard_rank_title(189), "Dragon");
    EXPECT_EQ(standard_rank_creature_id(189), 23);
    EXPECT_STREQ(standard_rank_title(188), "Phoenix");
    EXPECT_EQ(standard_rank_creature_id(188), 17);
    for (unsigned short s = 7; s <= 13; ++s) EXPECT_EQ(standard_rank_creature_id(s), 6) << s;
    for (unsigned short s = 0; s <= 6; ++s) EXPECT_STREQ(standard_rank_title(s), "Peasant") << s;

    EXPECT_STREQ(campaign_rank_title(300), "Dragon");
    EXPECT_STREQ(campaign_rank_title(-10), "Dragon");
    EXPECT_STREQ(campaign_rank_title(301), "Phoenix");
    EXPECT_STREQ(campaign_rank_title(3400), "Goblin");
    EXPECT_STREQ(campaign_rank_title(3401), "Peasant");
    EXPECT_EQ(campaign_rank_creature_id(2147483647), 0);

    // The ladders name the same creatures in the same order, standard steps of 7.
    for (std::size_t i = 0; i < k_standard_ladder.size(); ++i) {
        EXPECT_STREQ(k_standard_ladder[i].title, k_campaign_ladder[i].title);
        EXPECT_EQ(k_standard_ladder[i].creature_id, k_campaign_ladder[i].creature_id);
        EXPECT_EQ(k_standard_ladder[i].threshold, 189 - 7 * static_cast<int>(i));
        if (i > 0) {
            EXPECT_GT(k_campaign_ladder[i].threshold, k_campaign_ladder[i - 1].threshold);
        }
    }
}

TEST(ScoreRules, RankTitlesTranslateThroughTheCreatureKeys) {
    strings().load_from_text(R"({"CREATURE_DRAGON_SG":"Drache","CREATURE_PEASANT_SG":"Bauer"})", "{}");
    EXPECT_EQ(rank_name_loc("Dragon"), "Drache");
    EXPECT_EQ(rank_name_loc(standard_rank_title(3)), "Bauer");
    EXPECT_EQ(rank_name_loc("dragon"), "dragon");  // case-sensitive: no row matches
    EXPECT_EQ(rank_name_loc("Lich"), "Lich");
    EXPECT_EQ(rank_name_loc(nullptr), "");
    // A title whose key has no text falls back to the key itself.
    EXPECT_EQ(rank_name_loc("Genie"), "CREATURE_GENIE_SG");
    strings().load_from_text("{}", "{}");
}

TEST(ScoreRules, ScenarioResultReadsDateTownsHeroesAndArtifacts) {
    GameState s;
    s.player_color = {COLOR_RED, COLOR_GREEN, COLOR_NONE, COLOR_NONE};
    EXPECT_EQ(make_scenario_result(s, 0, DIFF_HARD, 130).days, 1);
    s.month = 2;
    EXPECT_EQ(make_scenario_result(s, 0, DIFF_HARD, 130).days, 29);
    s.day = 3, s.week = 4, s.month = 1;
    EXPECT_EQ(make_scenario_result(s, 0, DIFF_HARD, 130).days, 24);
    s.month = 2147483647;  // a damaged date does not overflow
    EXPECT_EQ(make_scenario_result(s, 0, DIFF_HARD, 130).days, 2147483647);
    s.month = 1;

    auto castle = [](int owner, bool live) {
        CastleState c;
        c.live = live;
        c.owner = owner;
        return c;
    };
    s.castles = {castle(0, true), castle(0, true), castle(0, false), castle(-1, true), castle(2, true)};
    HeroState mine;
    mine.live = 1;
    mine.owner = 0;
    s.heroes = {mine};
    ScenarioResult r = make_scenario_result(s, -1, DIFF_EXPERT, 150);  // a negative seat is seat 0
    EXPECT_EQ(r.castles_owned, 2);
    EXPECT_TRUE(r.all_opponents_defeated);  // seat 2 holds a town but is not in play
    EXPECT_FALSE(r.holds_ultimate_artifact);
    EXPECT_EQ(r.difficulty, DIFF_EXPERT);
    EXPECT_EQ(r.difficulty_percent, 150);

    s.heroes[0].artifacts[13] = 3;  // the last slot counts too
    EXPECT_TRUE(make_scenario_result(s, 0, DIFF_EASY, 0).holds_ultimate_artifact);
    s.heroes[0].artifacts[13] = 4;
    EXPECT_FALSE(make_scenario_result(s, 0, DIFF_EASY, 0).holds_ultimate_artifact);

    HeroState rival;
    rival.live = 1;
    rival.owner = 1;
    rival.artifacts[0] = 0;  // a rival's ultimate artifact is not the winner's
    s.heroes.push_back(rival);
    r = make_scenario_result(s, 0, DIFF_EASY, 0);
    EXPECT_FALSE(r.all_opponents_defeated);
    EXPECT_FALSE(r.holds_ultimate_artifact);
    s.heroes[1].live = 0;
    s.castles.push_back(castle(1, true));
    EXPECT_FALSE(make_scenario_result(s, 0, DIFF_EASY, 0).all_opponents_defeated);

    // The name offered: the first live, named hero of seat 0.
    EXPECT_EQ(high_score_default_name(s), "Player");  // seat 0's only hero has no name
    s.heroes[1].name = "Rival";
    HeroState fallen = mine, named = mine;
    fallen.live = 0;
    fallen.name = "Fallen";
    named.name = "Ariel";
    s.heroes.push_back(fallen);
    s.heroes.push_back(named);
    EXPECT_EQ(high_score_default_name(s), "Ariel");
}

TEST(HighScoreFiles, PathJoinsTheFolderOnce) {
    EXPECT_EQ(high_score_path("/data/game", kStd), "/data/game/STANDARD.HS");
    EXPECT_EQ(high_score_path("/data/game/", kCamp), "/data/game/CAMPAIGN.HS");
    EXPECT_EQ(high_score_path("C:\\game\\", kStd), "C:\\game\\STANDARD.HS");
    EXPECT_EQ(high_score_path("", kCamp), "CAMPAIGN.HS");
}

TEST(HighScoreFiles, ImageFollowsTheRecordLayout) {
    const std::vector<uint8_t> img = high_score_image(default_standard_high_scores(), kStd);
    ASSERT_EQ(img.size(), 870u);
    const std::vector<uint8_t> first = record(padded("Lord Zevoraz", 16), padded("The Jester", 14), 130);
    EXPECT_EQ(std::vector<uint8_t>(img.begin(), img.begin() + 87), first);
    const std::vector<uint8_t> last = record(padded("Rovod", 16), padded("The Claw", 14), 10);
    EXPECT_EQ(std::vector<uint8_t>(img.begin() + 783, img.end()), last);

    // Three rows: sorted, then seven empty records of spaces and zero scores; names and labels cut.
    const std::vector<uint8_t> three = high_score_image(
        {{"B", "short", 5}, {"A twenty-byte name!!", "a fifteen label", 900}, {"C ", "x", 5}}, kStd);
    std::vector<std::vector<uint8_t>> want = {record("A twenty-byte na", "a fifteen labe", 900),
                                              record(padded("B", 16), padded("short", 14), 5),
                                              record(padded("C ", 16), padded("x", 14), 5)};
    for (int i = 0; i < 7; ++i) want.push_back(record(std::string(16, ' '), std::string(14, ' '), 0));
    EXPECT_EQ(three, file_of(want));

    // Eleven rows keep the first ten in table order (campaign: fewest days first).
    std::vector<HighScoreEntry> eleven = default_campaign_high_scores();
    eleven.push_back({"Fast", "Lord Brudek", 100});
    const std::vector<HighScoreEntry> back = parse_high_score_image(high_score_image(eleven, kCamp).data(), 870, kCamp);
    ASSERT_EQ(back.size(), 10u);
    EXPECT_EQ(back[0].name, "Fast");
    EXPECT_EQ(back[9].name, "Diduvo");
}

TEST(HighScoreFiles, ReaderBoundsFieldsAndSizes) {
    // A name of three letters and thirteen spaces; a name running through the separator byte.
    std::vector<std::vector<uint8_t>> recs;
    recs.push_back(record("abc" + std::string(13, ' '), padded("Map", 14), 50));
    std::vector<uint8_t> full = record("ABCDEFGHIJKLMNOP", "LABELLABELLABE", 40);
    full[16] = 'Q';
    full[31] = 'Z';
    recs.push_back(full);
    for (int i = 0; i < 8; ++i) recs.push_back(record("   ", "", 1));
    std::vector<uint8_t> bytes = file_of(recs);

    std::vector<HighScoreEntry> rows = parse_high_score_image(bytes.data(), bytes.size(), kStd);
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(rows[0], (HighScoreEntry{"abc", "Map", 50}));
    EXPECT_EQ(rows[1], (HighScoreEntry{"ABCDEFGHIJKLMNOPQ", "LABELLABELLABEZ", 40}));
    EXPECT_EQ(rows[2], (HighScoreEntry{"", "", 1}));

    // One byte short: the defaults; longer: the first 870 bytes.
    EXPECT_EQ(parse_high_score_image(bytes.data(), 869, kCamp), default_campaign_high_scores());
    EXPECT_EQ(parse_high_score_image(nullptr, 0, kStd), default_standard_high_scores());

    ScratchDataDir dir;
    const std::string path = high_score_path(dir.root(), kStd);
    bytes.resize(871, 0xFF);
    write_bytes(path, bytes);
    EXPECT_EQ(load_high_scores(path, kStd), rows);
    bytes.resize(869);
    write_bytes(path, bytes);
    EXPECT_EQ(load_high_scores(path, kStd), default_standard_high_scores());
    EXPECT_EQ(load_high_scores(dir.root() + "/none.HS", kCamp)[0], (HighScoreEntry{"Ziduzud", "Lord Varkhelm", 500}));
    EXPECT_EQ(load_high_scores(dir.root(), kStd), default_standard_high_scores());  // a folder is no file

    // A stored table that is out of order comes back sorted, ties in file order.
    std::vector<uint8_t> unsorted = file_of({record("a", "", 5), record("b", "", 9), record("c", "", 5),
                                             record("d", "", 7), record("e", "", 5), record("f", "", 1),
                                             record("g", "", 2), record("h", "", 3), record("i", "", 4),
                                             record("j", "", 6)});
    rows = parse_high_score_image(unsorted.data(), unsorted.size(), kStd);
    std::string order;
    for (const auto& r : rows) order += r.name;
    EXPECT_EQ(order, "bdjaceihgf");
}

TEST(HighScoreFiles, SaveRoundTripsAndKeepsTheOldFileWhenTheWriteFails) {
    ScratchDataDir dir;
    const std::string path = high_score_path(dir.root(), kStd);
    std::vector<HighScoreEntry> rows = default_standard_high_scores();
    rows[4].name = "Trailing ";
    ASSERT_TRUE(save_high_scores(path, rows, kStd));
    EXPECT_EQ(read_bytes(path).size(), 870u);
    std::vector<HighScoreEntry> back = load_high_scores(path, kStd);
    EXPECT_EQ(back[4].name, "Trailing");
    back[4].name = "Trailing ";
    EXPECT_EQ(back, rows);
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));

    // The temporary file cannot be made: false, and the table on disk is untouched.
    const std::vector<uint8_t> before = read_bytes(path);
    std::filesystem::create_directory(path + ".tmp");
    EXPECT_FALSE(save_high_scores(path, {{"X", "Y", 999}}, kStd));
    EXPECT_EQ(read_bytes(path), before);
    // Nor into a folder that does not exist.
    EXPECT_FALSE(save_high_scores(dir.root() + "/missing/STANDARD.HS", rows, kStd));
}

TEST(HighScoreTables, InsertionLandsBehindTiesAndReportsItsPlace) {
    std::vector<HighScoreEntry> rows = default_standard_high_scores();
    EXPECT_EQ(insert_high_score(rows, {"New", "Map", 130}, kStd), 1);
    EXPECT_EQ(rows.size(), 11u);
    EXPECT_EQ(rows[0].name, "Lord Zevoraz");
    rows = default_standard_high_scores();
    EXPECT_EQ(insert_high_score(rows, {"Low", "Map", 10}, kStd), -1);
    EXPECT_EQ(rows[10].name, "Low");
    rows = default_standard_high_scores();
    EXPECT_EQ(insert_high_score(rows, {"Ann", "Map", 131}, kStd), 0);
    rows = default_campaign_high_scores();
    EXPECT_EQ(insert_high_score(rows, {"Cam", "Lord Oskarn", 500}, kCamp), 1);
    // An identical row already present: the new copy is the later one.
    rows = default_standard_high_scores();
    EXPECT_EQ(insert_high_score(rows, rows[2], kStd), 3);
}

TEST(HighScoreTables, QualificationIsStrictlyBetterThanTheStoredTenth) {
    ScratchDataDir dir;
    EXPECT_FALSE(score_qualifies_for_table(dir.root(), kStd, 10));
    EXPECT_TRUE(score_qualifies_for_table(dir.root(), kStd, 11));
    EXPECT_FALSE(score_qualifies_for_table(dir.root(), kCamp, 4400));
    EXPECT_TRUE(score_qualifies_for_table(dir.root(), kCamp, 4399));

    // It reads the stored file, not the defaults.
    std::vector<HighScoreEntry> rows = default_standard_high_scores();
    for (auto& r : rows) r.score = static_cast<uint16_t>(r.score + 100);
    ASSERT_TRUE(save_high_scores(high_score_path(dir.root(), kStd), rows, kStd));
    EXPECT_FALSE(score_qualifies_for_table(dir.root(), kStd, 110));
    EXPECT_TRUE(score_qualifies_for_table(dir.root() + "/", kStd, 111));
}

// A window closed on a won campaign's closing films or congratulations keeps the result under the
// default name, as one closed on the name entry does; days that do not make the ten add nothing.
TEST(HighScoreTables, AWonCampaignIsKeptUnderTheDefaultNameOnAClosedWindow) {
    ScratchDataDir dir;
    const std::string path = high_score_path(dir.root(), kCamp);
    EXPECT_EQ(keep_campaign_result(dir.root(), 650, "Sir Brand", "Lord Brudek"), 1);
    std::vector<HighScoreEntry> rows = load_high_scores(path, kCamp);
    EXPECT_EQ(rows[1], (HighScoreEntry{"Sir Brand", "Lord Brudek", 650}));
    EXPECT_EQ(rows[9].name, "Diduvo") << "the last of the ten gave way";

    const std::vector<uint8_t> before = read_bytes(path);
    EXPECT_EQ(keep_campaign_result(dir.root(), 3200, "Sir Late", "Lord Oskarn"), -1);
    EXPECT_EQ(read_bytes(path), before);
    // A table that cannot be written keeps no place.
    EXPECT_EQ(keep_campaign_result(dir.root() + "/missing", 10, "Sir Brand", "Lord Brudek"), -1);
}
