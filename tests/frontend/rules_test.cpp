// Rules of the front end that need no renderer: catalogue keys and lookups, difficulty ratings,
// what a confirmed set-up writes, campaign sequences and the step to the next scenario.
#include <gtest/gtest.h>

#include <algorithm>

#include "datakit/kit_battle_road.h"
#include "datakit/kit_game_end.h"
#include "datakit/kit_goal_starts.h"
#include "datakit/kit_goals.h"
#include "datakit/kit_maps.h"
#include "frontend/campaign_data.h"
#include "frontend/campaign_screens.h"
#include "frontend/localized_texts.h"
#include "frontend/setup_rules.h"
#include "lang/runtime_strings.h"

namespace vorn1 {
namespace {

class RulesTest : public ::testing::Test {
protected:
    void SetUp() override {
        strings().load_from_text("{}", "{}");
        g_last_standard_map_stem.clear();
        g_last_multiplayer_map_stem.clear();
    }
    void TearDown() override { SetUp(); }
};

MapFileInfo map(const std::string& stem, int players = 1, uint8_t size = 0, uint8_t diff = 0) {
    MapFileInfo m;
    m.stem = stem;
    m.path = "maps/" + stem + ".MAP";
    m.name = "Name of " + stem;
    m.description = "About " + stem;
    m.players = players;
    m.size = size;
    m.difficulty = diff;
    return m;
}

TEST_F(RulesTest, CatalogueKeysFromEnglish) {
    EXPECT_EQ(catalog_key_from_english("NEWGAME", "Gateway"), "NEWGAME_GATEWAY");
    EXPECT_EQ(catalog_key_from_english("NEWGAME", "The Archipelago"), "NEWGAME_THE_ARCHIPELAGO");
    EXPECT_EQ(catalog_key_from_english("NEWGAME", "Free-for-All"), "NEWGAME_FREE_FOR_ALL");
    EXPECT_EQ(catalog_key_from_english("NEWGAME", "free for all"), "NEWGAME_FREE_FOR_ALL");
    EXPECT_EQ(catalog_key_from_english("NEWGAME", "King-of-the-Hill"), "NEWGAME_KING_OF_THE_HILL");
    // Cut at 36 bytes before the underscores are stripped.
    EXPECT_EQ(catalog_key_from_english("NEWGAME", "You have established a foothold in the new land."),
              "NEWGAME_YOU_HAVE_ESTABLISHED_A_FOOTHOLD_IN_T");
    EXPECT_EQ(catalog_key_from_english("NEWGAME", k_campaign_victory_text[0]),
              "NEWGAME_GATEWAY_HAS_FALLEN_THE_OTHER_LORDS_H");
    EXPECT_EQ(catalog_key_from_english("NEWGAME", ""), "NEWGAME_");
    EXPECT_EQ(catalog_key_from_english("NEWGAME", "--!!--"), "NEWGAME_");
    EXPECT_EQ(catalog_key_from_english("NEWGAME", "  Caf\xc3\xa9 9 "), "NEWGAME_CAF_9");
    // A 37th byte that is a letter is cut, leaving a trailing run that is stripped.
    EXPECT_EQ(catalog_key_from_english("P", std::string(35, 'a') + " b"), "P_" + std::string(35, 'A'));
}

TEST_F(RulesTest, LookupsFallBackToEnglishAndTryTownNames) {
    EXPECT_EQ(localized_scenario_title("Gateway"), "Gateway");
    EXPECT_EQ(localized_map_name("kns", "Kings"), "Kings");
    strings().load_from_text(R"({"CAMP1_CITYNAME":"Torweg","CAMP6_CITYNAME":"Burg B",
        "NEWGAME_THE_ARCHIPELAGO":"Die Inseln","MAPNAME_kns":"Koenige","MAPDESC_kns":"Beschreibung",
        "SPIRIT_S1_TITLE":"Gruene Lande"})",
                             "{}");
    EXPECT_EQ(localized_scenario_title("Gateway"), "Torweg");
    EXPECT_EQ(localized_scenario_title("Castle Brudek"), "Burg B");
    EXPECT_EQ(localized_scenario_title("The Archipelago"), "Die Inseln");
    EXPECT_EQ(localized_scenario_title("Castle Oskarn"), "Castle Oskarn");
    EXPECT_EQ(localized_map_name("kns", "Kings"), "Koenige");
    EXPECT_EQ(localized_map_name("KNS", "Kings"), "Kings");  // the stem's case is kept
    EXPECT_EQ(localized_map_desc("kns", "About"), "Beschreibung");
    EXPECT_EQ(spirit_tr("SPIRIT_S1_TITLE", "The Green Lands"), "Gruene Lande");
    EXPECT_EQ(spirit_tr("SPIRIT_S2_TITLE", "The Frozen Dead"), "The Frozen Dead");
    strings().load_from_text(R"({"NEWGAME_GATEWAY":"Portal","CAMP1_CITYNAME":"Torweg"})", "{}");
    EXPECT_EQ(localized_scenario_title("Gateway"), "Portal");
    // A catalogue that stores a key as its own text is missing that text.
    strings().load_from_text(R"({"CAMP6_CITYNAME":"CAMP6_CITYNAME","MAPNAME_kns":"MAPNAME_kns"})", "{}");
    EXPECT_EQ(localized_scenario_title("Castle Brudek"), "Castle Brudek");
    EXPECT_EQ(localized_map_name("kns", "Kings"), "Kings");
}

TEST_F(RulesTest, DifficultyRatingSumsItsTerms) {
    using O = OpponentDifficulty;
    EXPECT_EQ(compute_difficulty_rating(DIFF_NORMAL, {O::OPP_AVERAGE, O::OPP_AVERAGE, O::OPP_NONE}, true, 1, 2), 75);
    EXPECT_EQ(compute_difficulty_rating(DIFF_EASY, {O::OPP_DUMB, O::OPP_NONE, O::OPP_NONE}, false, 0, 0), 5);
    EXPECT_EQ(compute_difficulty_rating(DIFF_EXPERT, {O::OPP_GENIUS, O::OPP_GENIUS, O::OPP_GENIUS}, true, 2, 3), 170);
    EXPECT_EQ(compute_difficulty_rating(DIFF_EASY, {O::OPP_NONE, O::OPP_NONE, O::OPP_NONE}, false, 0, 0), -10);
    // King of the Hill needs two or three active opponents; out-of-range values count for nothing.
    EXPECT_EQ(compute_difficulty_rating(DIFF_NORMAL, {O::OPP_DUMB, O::OPP_NONE, O::OPP_NONE}, true, 0, 0), 15);
    EXPECT_EQ(compute_difficulty_rating(DIFF_NORMAL, {O::OPP_DUMB, O::OPP_DUMB, O::OPP_NONE}, true, 0, 0), 35);
    EXPECT_EQ(compute_difficulty_rating(DIFF_NORMAL, {O(7), O::OPP_DUMB, O::OPP_NONE}, true, 3, 4), 15);
    EXPECT_EQ(compute_difficulty_rating(GameDifficulty(-1), {O::OPP_DUMB, O::OPP_NONE, O::OPP_NONE}, false, 0, 0), 15);
}

TEST_F(RulesTest, OpponentLevelsCycleAndLabel) {
    int level = OPP_AVERAGE;
    for (int i = 0; i < 5; ++i) level = next_opponent_level(level);
    EXPECT_EQ(level, OPP_AVERAGE);
    EXPECT_EQ(next_opponent_level(OPP_GENIUS), OPP_NONE);
    EXPECT_EQ(next_opponent_level(9), OPP_AVERAGE);
    strings().load_from_text(R"({"SCEN_OPP_AVERAGE":"Mittel","NEWGAME_OPP_NONE":"Keiner"})", "{}");
    EXPECT_EQ(opp_label(OPP_NONE), "Keiner");
    EXPECT_EQ(opp_label(OpponentDifficulty(12)), "Mittel");
    EXPECT_EQ(opp_label(OPP_SMART), "SCEN_OPP_SMART");
}

TEST_F(RulesTest, StandardStartFillsTheConfigOrRefusesWithoutARival) {
    const std::vector<MapFileInfo> maps{map("BEM20234", 4, 1, 2), map("AES31000", 1, 0, 0)};
    StandardSetup s = initial_standard_setup(maps, 1234);
    EXPECT_EQ(s.map_index, 1);
    EXPECT_LE(s.faction, 3);
    EXPECT_EQ(s.opponents, (std::array<int32_t, 3>{2, 2, 2}));
    g_last_standard_map_stem = "BEM20234";
    EXPECT_EQ(initial_standard_setup(maps, 1234).map_index, 0);
    g_last_standard_map_stem = "GONE";
    EXPECT_EQ(initial_standard_setup(maps, 1234).map_index, 1);

    // Not the three slots but the map's seats in play with the levels chosen: a goal that asks for a
    // rival is refused without one.
    const auto standard = [](std::array<OpponentDifficulty, 3> levels) {
        NewGameConfig k;
        k.opponents = levels;
        return k;
    };
    const OpponentDifficulty N = OPP_NONE, A = OPP_AVERAGE;
    const GameMap battle = kit::make_battle_map(), last_stand = kit::make_quick_win_map();
    const GameMap three = kit::make_scenario_map(1, 3, 12, "Three Crowns"), held = kit::make_held_target_map();
    GameMap hunt;
    for (const auto& [file, m] : kit::kit_goal_maps())
        if (file == kit::kHuntedLordGoalFile) hunt = m;
    GameMap one_seat = battle, first_empty = battle;
    std::erase_if(one_seat.objects, [](const MapObject& o) { return o.owner == 1; });
    std::erase_if(first_empty.objects, [](const MapObject& o) { return o.owner == 0; });
    NewGameConfig hot_seat;
    hot_seat.mode = MODE_HOTSEAT;
    hot_seat.multiplayer = 1;
    for (int p = 0; p < 2; ++p) {
        hot_seat.seats[(size_t)p].color = (uint8_t)p;
        hot_seat.seats[(size_t)p].kind = SEAT_HUMAN;
    }
    // Battle Field gives the third seat nothing: a computer there stays out of play.
    hot_seat.seats[2].color = 2;
    hot_seat.seats[2].kind = SEAT_COMPUTER;
    NewGameConfig three_humans = hot_seat;
    three_humans.seats[2].kind = SEAT_HUMAN;
    const struct {
        const char* what;
        const GameMap* map;
        NewGameConfig config;
        bool refused;
        const char* alert = kNoOpponentText;
    } rows[] = {
        {"two seats, the rival's slot none", &battle, standard({N, A, A}), true},
        {"three seats, both rivals' slots none", &three, standard({N, N, A}), true},
        {"the hunted lord's seat none", &hunt, standard({N, A, A}), true},
        {"a one-seat defeat-all map", &one_seat, standard({A, A, A}), true},
        {"all three none, though a capture goal needs no rival", &last_stand, standard({N, N, N}), true},
        {"a capture goal, one rival", &last_stand, standard({A, N, N}), false},
        {"a defeat-all map, exactly one rival", &battle, standard({A, N, N}), false},
        {"Border Keep's Westmark held, its one rival none", &held, standard({N, A, A}), true},
        {"Border Keep with its rival", &held, standard({A, N, N}), false},
        {"unread map, no opponent", nullptr, standard({N, N, N}), true},
        {"the first seat holds nothing", &first_empty, standard({A, A, A}), true},
        {"hot seat, the first seat holds nothing", &first_empty, hot_seat, true},
        {"hot seat, both seats hold something", &battle, hot_seat, false},
        {"hot seat, a third human on two-seat Border Keep", &held, three_humans, true, kHumanLeftOutText},
    };
    for (const auto& row : rows)
        EXPECT_STREQ(start_refusal(row.config, row.map), row.refused ? row.alert : nullptr) << row.what;

    NewGameConfig c;
    s.opponents = {OPP_SMART, OPP_NONE, OPP_DUMB};
    s.difficulty = DIFF_HARD;
    s.color = 1;
    s.king_of_the_hill = true;
    s.map_index = 0;
    apply_standard_start(s, maps, c);
    EXPECT_EQ(c.mode, MODE_STANDARD);
    EXPECT_EQ(c.map_stem, "BEM20234");
    EXPECT_EQ(c.map_path, "maps/BEM20234.MAP");
    EXPECT_EQ(c.description, "About BEM20234");
    EXPECT_EQ(c.map_size, 1);
    EXPECT_EQ(c.map_difficulty, 2);
    EXPECT_EQ(c.difficulty_rating, 10 + 25 + 15 + 5 + 10 + 20);
    EXPECT_EQ(c.color, 1);
    EXPECT_EQ(c.king_of_the_hill, 1);

    // With no valid map the map fields keep their contents and the map adds nothing.
    NewGameConfig d;
    d.map_name = "old";
    s.map_index = 5;
    apply_standard_start(s, maps, d);
    EXPECT_EQ(d.map_name, "old");
    EXPECT_EQ(d.difficulty_rating, 10 + 25 + 15 + 5);
}

TEST_F(RulesTest, HotseatRatingAndSeats) {
    const std::vector<MapFileInfo> maps{map("AES31000", 1), map("MIS71200", 2, 2, 1), map("KNS21234", 4),
                                        map("BEM20234", 4)};
    HotseatSetup s = initial_hotseat_setup(2, maps);
    ASSERT_EQ(s.maps.size(), 3u);  // one-player map filtered out
    EXPECT_EQ(s.maps[s.map_index].stem, "KNS21234");
    s.map_index = 0;  // MIS71200: size 2, difficulty 1
    s.difficulty = DIFF_NORMAL;
    s.human_difficulty[0] = DIFF_HARD;
    s.computer_level = {OPP_AVERAGE, OPP_AVERAGE, OPP_DUMB};
    s.king_of_the_hill = true;
    EXPECT_EQ(hotseat_rating(s), 0 + 30 + 20 + 15 + 20 + 10 + 5);

    s.color = 1;
    NewGameConfig c;
    ASSERT_TRUE(apply_hotseat_start(s, c));
    EXPECT_EQ(c.mode, MODE_HOTSEAT);
    EXPECT_EQ(c.multiplayer, 1);
    EXPECT_EQ(c.player_count, 2);
    EXPECT_EQ(c.difficulty_rating, 100);
    EXPECT_EQ(c.map_stem, "MIS71200");
    const uint8_t colours[4] = {1, 0, 2, 3};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(c.seats[i].color, colours[i]) << i;
    EXPECT_EQ(c.seats[0].kind, SEAT_HUMAN);
    EXPECT_EQ(c.seats[0].name, "Green");
    EXPECT_EQ(c.seats[1].kind, SEAT_HUMAN);
    EXPECT_EQ(c.seats[1].difficulty, DIFF_HARD);
    EXPECT_EQ(c.seats[2].kind, SEAT_COMPUTER);
    EXPECT_EQ(c.seats[3].ai_level, OPP_DUMB);
    EXPECT_EQ(c.seats[3].name, "Yellow");
    EXPECT_EQ(c.opponents[0], OPP_NONE);
    EXPECT_EQ(c.opponents[2], OPP_DUMB);

    // Three or four players: King of the Hill adds nothing; four players have no computer slot.
    HotseatSetup four = initial_hotseat_setup(4, maps);
    four.king_of_the_hill = true;
    four.map_index = 0;
    EXPECT_EQ(hotseat_rating(four), -10 + 3 * 10);
    NewGameConfig f;
    four.color = 2;
    ASSERT_TRUE(apply_hotseat_start(four, f));
    EXPECT_EQ(f.seats[3].kind, SEAT_HUMAN);
    EXPECT_EQ(f.seats[3].color, 3);
    EXPECT_EQ(f.opponents, (std::array<OpponentDifficulty, 3>{OPP_NONE, OPP_NONE, OPP_NONE}));

    // A computer slot switched to none takes no seat.
    HotseatSetup off = initial_hotseat_setup(3, maps);
    off.computer_level[2] = OPP_NONE;
    NewGameConfig o;
    ASSERT_TRUE(apply_hotseat_start(off, o));
    EXPECT_EQ(o.seats[3].kind, SEAT_NONE);
    EXPECT_EQ(o.seats[3].color, 255);
    EXPECT_EQ(o.seats[2].kind, SEAT_HUMAN);
}

TEST_F(RulesTest, HotseatMapChoiceAndNoMaps) {
    const std::vector<MapFileInfo> maps{map("AES31000", 1), map("MIS71200", 2), map("KNS21234", 4)};
    g_last_multiplayer_map_stem = "AES31000";  // not among the filtered maps
    EXPECT_EQ(initial_hotseat_setup(2, maps).map_index, 1);
    g_last_multiplayer_map_stem = "MIS71200";
    EXPECT_EQ(initial_hotseat_setup(2, maps).map_index, 0);
    const HotseatSetup none = initial_hotseat_setup(3, {map("AES31000", 1)});
    EXPECT_EQ(none.map_index, -1);
    NewGameConfig c;
    EXPECT_FALSE(apply_hotseat_start(none, c));
    EXPECT_EQ(c.mode, MODE_STANDARD);
    EXPECT_TRUE(initial_hotseat_setup(1, maps).maps.empty());
    EXPECT_EQ(seat_color_order(3), (std::array<uint8_t, 4>{3, 0, 1, 2}));
    EXPECT_EQ(seat_color_order(0), (std::array<uint8_t, 4>{0, 1, 2, 3}));
}

TEST_F(RulesTest, CampaignSequencesAndLookups) {
    const std::vector<std::string> lord3 = build_campaign_sequence("data/", 3);
    ASSERT_EQ(lord3.size(), 8u);
    EXPECT_EQ(lord3.front(), "data/maps/CAMP1.CMP");
    EXPECT_EQ(lord3.back(), "data/maps/CAMP9.CMP");
    EXPECT_EQ(std::count(lord3.begin(), lord3.end(), "data/maps/CAMP8.CMP"), 0);
    for (int lord = 0; lord < 3; ++lord) {
        const auto seq = build_campaign_sequence("", lord);
        const std::string skipped = "maps/CAMP" + std::to_string(lord + 5) + ".CMP";
        EXPECT_EQ(std::count(seq.begin(), seq.end(), skipped), 0) << lord;
    }
    EXPECT_EQ(build_campaign_sequence("", 17), build_campaign_sequence("", 0));
    EXPECT_EQ(build_spirit_sequence("b/")[2], "b/maps/CMPP3.CMP");

    EXPECT_EQ(spirit_index_from_path("x/maps/CMPP3.CMP"), 2);
    EXPECT_EQ(spirit_index_from_path("x/maps/cmpp3.cmp"), -1);
    EXPECT_EQ(get_campaign_scenario_info(9, CAMPAIGN_ORIGINAL).title, "Gateway");
    EXPECT_EQ(get_campaign_scenario_info(8, CAMPAIGN_ORIGINAL).title, "King-of-the-Hill");
    EXPECT_EQ(get_campaign_scenario_info(-1, CAMPAIGN_SPIRIT_WORLD).title, "The Green Lands");
    EXPECT_EQ(get_campaign_scenario_info(3, CAMPAIGN_SPIRIT_WORLD).title, "The Spirit World");

    EXPECT_EQ(campaign_number_from_path("d/maps/CAMP5.CMP", 1), 5);
    EXPECT_EQ(campaign_number_from_path("CAMP1/CAMP12x", 1), 12);
    EXPECT_EQ(campaign_number_from_path("d/maps/CAMPX.CMP", 7), 7);
    EXPECT_EQ(campaign_number_from_path("d/maps/CAMP", 7), 7);
    EXPECT_EQ(campaign_number_from_path("none", 3), 3);
    EXPECT_EQ(campaign_number_from_path("CAMP99999999999", 4), 4);
    EXPECT_EQ(campaign_congrats_row(0), 0);
    EXPECT_EQ(campaign_congrats_row(-4), 0);
    EXPECT_EQ(campaign_congrats_row(12), 8);
    EXPECT_EQ(spirit_congrats_row(7), 3);
    EXPECT_EQ(campaign_row_of_number(0), 0);  // picture and texts of scenario 1
}

// Every lord's campaign ends on the ninth scenario's congratulations and the spirit world on its fourth;
// a scenario on the way shows its own, by its number (lord 0, who skips the fifth, plays the sixth in
// fifth place).
TEST_F(RulesTest, EachCampaignEndsOnItsLastScenariosCongratulations) {
    for (int lord = 0; lord < 4; ++lord) {
        NewGameConfig c = original_campaign_config("d/", lord);
        c.scenario_index = static_cast<int>(c.campaign_maps.size()) - 1;
        c.campaign_map_path = c.campaign_maps.back();
        ASSERT_FALSE(next_campaign_step(c).has_next);
        EXPECT_EQ(campaign_won_text(c), k_campaign_victory_text[8]) << "lord " << lord;
        c.scenario_index = 4;
        c.campaign_map_path = c.campaign_maps[4];
        EXPECT_EQ(campaign_won_text(c), k_campaign_victory_text[lord == 0 ? 5 : 4]) << "lord " << lord;
    }
    NewGameConfig spirit = spirit_campaign_config("d/", 2);
    spirit.scenario_index = 3;
    spirit.campaign_map_path = spirit.campaign_maps[3];
    ASSERT_FALSE(next_campaign_step(spirit).has_next);
    EXPECT_EQ(campaign_won_text(spirit), k_spirit_data[3].victory);
    spirit.campaign_map_path = spirit.campaign_maps[1];
    EXPECT_EQ(campaign_won_text(spirit), k_spirit_data[1].victory) << "the row of the map, not of the index";
}

TEST_F(RulesTest, CampaignConfigsAndTheNextScenario) {
    const NewGameConfig lord2 = original_campaign_config("d/", 2);
    EXPECT_EQ(lord2.mode, MODE_CAMPAIGN);
    EXPECT_EQ(lord2.campaign_lord, 2);
    EXPECT_EQ(lord2.lord_number, 2);
    EXPECT_EQ(lord2.lord_faction, 3);
    EXPECT_EQ(lord2.color, 3);
    EXPECT_EQ(lord2.campaign_maps.size(), 8u);
    EXPECT_EQ(lord2.campaign_map_path, "d/maps/CAMP1.CMP");
    for (int r = 0; r < 4; ++r) {
        const NewGameConfig sp = spirit_campaign_config("d/", r);
        EXPECT_EQ(sp.campaign_id, CAMPAIGN_SPIRIT_WORLD);
        EXPECT_EQ(sp.lord_faction, kFactionColor[r]);
        EXPECT_EQ(sp.color, kFactionColor[r]);
        EXPECT_EQ(sp.campaign_maps.size(), 4u);
    }
    EXPECT_EQ(draw_spirit_lord(99), draw_spirit_lord(99));

    // Lord 0 skips CAMP5: winning CAMP4 (index 3) announces scenario 6.
    NewGameConfig c = original_campaign_config("d/", 0);
    c.scenario_index = 3;
    c.campaign_map_path = c.campaign_maps[3];
    const CampaignStep step = next_campaign_step(c);
    EXPECT_EQ(step.won_row, 3);
    EXPECT_STREQ(k_campaign_victory_text[step.won_row], k_campaign_victory_text[3]);
    EXPECT_EQ(std::string(k_campaign_victory_text[3]).rfind("With your victory", 0), 0u);
    ASSERT_TRUE(step.has_next);
    EXPECT_EQ(step.announce, 6);
    EXPECT_STREQ(k_scenario_data[step.announce - 1].title, "Castle Brudek");
    const NewGameConfig next = advance_campaign(c, step);
    EXPECT_EQ(next.scenario_index, 4);
    EXPECT_EQ(next.campaign_map_path, "d/maps/CAMP6.CMP");
    EXPECT_FALSE(next.quit);
    EXPECT_EQ(next.lord_faction, c.lord_faction);

    // The last spirit scenario ends the campaign.
    NewGameConfig sp = spirit_campaign_config("d/", 1);
    sp.scenario_index = 3;
    sp.campaign_map_path = sp.campaign_maps[3];
    const CampaignStep last = next_campaign_step(sp);
    EXPECT_FALSE(last.has_next);
    EXPECT_EQ(last.won_row, 3);
    const NewGameConfig done = advance_campaign(sp, last);
    EXPECT_TRUE(done.quit);
    EXPECT_TRUE(done.campaign_maps.empty());

    // Paths without numbers fall back to the index.
    NewGameConfig odd;
    odd.campaign_maps = {"a.cmp", "b.cmp"};
    odd.campaign_map_path = "a.cmp";
    const CampaignStep o = next_campaign_step(odd);
    EXPECT_EQ(o.won_row, 0);
    EXPECT_EQ(o.announce, 2);
}

}  // namespace
}  // namespace vorn1
