// Digging for the ultimate artifact, Identify Hero in quick information, the new-day panel's
// players and the adventure groups of the asset cache.
#include "adv_fixture.h"

#include <memory>

#include "adventure/adv_geometry.h"
#include "adventure/adventure_spells.h"
#include "adventure/puzzle_map.h"
#include "adventure/puzzle_map_state.h"
#include "adventure/quikinfo.h"
#include "assets/resources.h"
#include "world/creature_table.h"
#include "datakit/kit_lang.h"
#include "datakit/kit_maps.h"
#include "events/event_actions.h"
#include "lang/runtime_strings.h"
#include "world/town_names.h"
#include "world/tile_rules.h"

namespace vorn1 {
namespace {

using namespace advtest;

struct DigWorld {
    GameMap map;
    GameState state;
    PuzzleMapState puzzle;
    DigWorld() {
        kit::MapBuilder b(20, 20, kit::G_GRASS, "Dig");
        b.fill(14, 0, 19, 19, kit::G_WATER);
        b.hero(5, 5, 0, 0);
        b.hero(9, 9, 9, 1);
        map = b.map;
        state = kit::adventure_state_for_map(map, true);
        puzzle.dig_x = 5;
        puzzle.dig_y = 5;
        puzzle.ultimate_artifact = 2;
    }
    void move(int hero, int x, int y) {
        HeroState& h = state.heroes[(size_t)hero];
        clear_hero_from_map(map, h);
        h.x = x, h.y = y;
        place_hero_on_map(map, h);
    }
    int full() const { return compute_hero_max_mp(state, map, 0); }
};

TEST(Dig, RefusedWithoutTheWholeDayOrClearLandAndNothingIsSpent) {
    DigWorld w;
    int mp = w.full() - 1;
    EXPECT_EQ(dig_for_artifact(w.puzzle, w.state, w.map, 0, mp), DigResult::NoPoints);
    EXPECT_EQ(mp, w.full() - 1);

    mp = w.full();
    w.map.tile(5, 5)->object_type = OBJ_CHEST;
    EXPECT_EQ(dig_for_artifact(w.puzzle, w.state, w.map, 0, mp), DigResult::NotHere);
    w.map.tile(5, 5)->object_type = 0;
    w.state.heroes[0].on_boat = 1;
    EXPECT_EQ(dig_for_artifact(w.puzzle, w.state, w.map, 0, mp), DigResult::NotHere);
    w.state.heroes[0].on_boat = 0;
    EXPECT_EQ(mp, w.full());

    for (uint8_t& a : w.state.heroes[0].artifacts) a = 20;
    EXPECT_EQ(dig_for_artifact(w.puzzle, w.state, w.map, 0, mp), DigResult::NoRoom);
    EXPECT_EQ(mp, w.full()) << "a full bag digs nothing up and spends nothing";
    EXPECT_FALSE(w.puzzle.artifact_awarded);

    EXPECT_EQ(dig_for_artifact(w.puzzle, w.state, w.map, 7, mp), DigResult::NoHero);
    EXPECT_EQ(dig_for_artifact(w.puzzle, w.state, w.map, -1, mp), DigResult::NoHero);
    w.state.heroes[1].owner = -1;
    EXPECT_EQ(dig_for_artifact(w.puzzle, w.state, w.map, 1, mp), DigResult::NoHero);
}

TEST(Dig, TheSiteGivesTheArtifactOnceAndEveryDigUsesTheDay) {
    DigWorld w;
    w.move(0, 6, 5);
    int mp = w.full();
    EXPECT_EQ(dig_for_artifact(w.puzzle, w.state, w.map, 0, mp), DigResult::Nothing);
    EXPECT_EQ(mp, 0);
    EXPECT_FALSE(w.state.heroes[0].has_artifact(2));

    w.move(0, 5, 5);
    mp = w.full() + 3;  // a day's allowance with the computer players' extra points
    EXPECT_EQ(dig_for_artifact(w.puzzle, w.state, w.map, 0, mp), DigResult::Found);
    EXPECT_EQ(mp, 0);
    EXPECT_TRUE(w.state.heroes[0].has_artifact(2));
    EXPECT_TRUE(w.puzzle.artifact_awarded);

    // The other hero digs the same hole the next day: it is empty now.
    w.move(0, 4, 4);
    w.move(1, 5, 5);
    mp = compute_hero_max_mp(w.state, w.map, 1);
    EXPECT_EQ(dig_for_artifact(w.puzzle, w.state, w.map, 1, mp), DigResult::Nothing);
    EXPECT_FALSE(w.state.heroes[1].has_artifact(2));
    EXPECT_EQ(w.state.heroes[0].artifact_count(2), 1);
}

TEST(Dig, MessagesNameTheArtifactFound) {
    strings().load_from_text("", kit::catalogue_json(kit::adventure_english_strings()));
    const std::string found = dig_result_message(DigResult::Found, 2);
    ASSERT_TRUE(artifact_display_name(2).has_value());
    EXPECT_NE(found.find(*artifact_display_name(2)), std::string::npos) << found;
    EXPECT_EQ(dig_result_message(DigResult::Nothing, 2), "Nothing here. Where could it be?");
    EXPECT_NE(dig_result_message(DigResult::NoPoints, 2), dig_result_message(DigResult::NotHere, 2));
    EXPECT_TRUE(dig_result_message(DigResult::NoHero, 2).empty());
    strings().load_from_text("", "");
}

TEST(IdentifyHero, EnemyHeroesShowInFullOnlyWhileItHolds) {
    strings().load_from_text("", kit::catalogue_json(kit::adventure_english_strings()));
    DigWorld w;
    HeroState& enemy = w.state.heroes[1];
    enemy.level = 4;
    enemy.attack = 2, enemy.defense = 3, enemy.power = 1, enemy.knowledge = 5;
    enemy.army = Army{};
    enemy.army.ids[0] = 3, enemy.army.counts[0] = 12;
    enemy.army.ids[3] = 5, enemy.army.counts[3] = 60;
    const std::string n3 = creature_name_nom(3), n5 = creature_name_nom(5);
    const std::vector<std::string> full{localized_hero_name(enemy.name), "Green", "Level 4", "Att 2 Def 3 Pow 1 Kno 5",
                                        "12 " + n3, "60 " + n5};
    const std::vector<std::string> rough{localized_hero_name(enemy.name), "Green", "A pack of " + n3,
                                         "A horde of " + n5};
    EXPECT_EQ(quick_info_lines(w.state, w.map, 1, 9, 9), full) << "the owner sees its own hero";
    EXPECT_EQ(quick_info_lines(w.state, w.map, 0, 9, 9), rough);

    IdentifyHeroState id;
    EXPECT_FALSE(apply_identify_hero(id, w.state, 0)) << "no spell book";
    w.state.heroes[0].has_spellbook = 1;
    EXPECT_FALSE(apply_identify_hero(id, w.state, 0)) << "no cast left";
    w.state.heroes[0].spell_charges[SPELL_IDENTIFY_HERO] = 1;
    ASSERT_TRUE(apply_identify_hero(id, w.state, 0));
    EXPECT_EQ(w.state.heroes[0].spell_charges[SPELL_IDENTIFY_HERO], 0);
    EXPECT_TRUE(identify_hero_active(id, 0));
    EXPECT_FALSE(identify_hero_active(id, 1));
    EXPECT_FALSE(identify_hero_active(id, 7));
    EXPECT_EQ(quick_info_lines(w.state, w.map, 0, 9, 9, identify_hero_active(id, 0)), full);
    end_identify_hero(id, 0);
    EXPECT_FALSE(identify_hero_active(id, 0));
    EXPECT_EQ(quick_info_lines(w.state, w.map, 0, 9, 9, identify_hero_active(id, 0)), rough);

    // The panel grows for the longer list but stays inside the view.
    EXPECT_EQ(quick_info_rect(100, 100, 200).h, 200);
    EXPECT_EQ(quick_info_rect(100, 100, 10).h, kQuickInfoH);
    const SDL_Rect tall = quick_info_rect(100, 470, 5000);
    EXPECT_EQ(tall.h, kMapViewRect.h);
    EXPECT_EQ(tall.y, 0);
    strings().load_from_text("", "");
}

TEST(AdventureCasts, EachSpellGoesItsWayAndARefusalChangesNothing) {
    strings().load_from_text("", kit::catalogue_json(kit::adventure_english_strings()));
    kit::MapBuilder b(24, 24, kit::G_GRASS, "Casts");
    b.fill(14, 0, 23, 23, kit::G_WATER);
    b.town(4, 4, 0, 0, true, "Alpha");
    b.hero(8, 8, 0, 0);
    b.hero(9, 9, 9, 1);
    b.boat(16, 8);
    GameMap map = b.map;
    GameState st = kit::adventure_state_for_map(map, true);
    HeroState& h = st.heroes[0];
    h.has_spellbook = 1;
    for (int s : {SPELL_VIEW_MINES, SPELL_DIMENSION_DOOR, SPELL_TOWN_GATE, SPELL_SUMMON_BOAT, SPELL_IDENTIFY_HERO})
        h.spell_charges[(size_t)s] = 1;
    IdentifyHeroState id;

    AdventureCast c = cast_adventure_spell(st, map, id, 0, SPELL_VIEW_MINES, 40);
    EXPECT_EQ(c.kind, AdventureCast::ShowWorldMap);
    EXPECT_EQ(c.reveal, REVEAL_MINES);
    EXPECT_EQ(h.spell_charges[SPELL_VIEW_MINES], 0) << "a view spell takes its cast";
    c = cast_adventure_spell(st, map, id, 0, SPELL_VIEW_MINES, 40);
    EXPECT_EQ(c.kind, AdventureCast::Refused);
    EXPECT_EQ(c.refusal, CastRefusal::NoCharges);

    EXPECT_EQ(cast_adventure_spell(st, map, id, 0, SPELL_DIMENSION_DOOR, 11).refusal, CastRefusal::NoPoints);
    EXPECT_EQ(cast_adventure_spell(st, map, id, 0, SPELL_DIMENSION_DOOR, 12).kind, AdventureCast::ChooseLanding);
    EXPECT_EQ(h.spell_charges[SPELL_DIMENSION_DOOR], 1) << "taken only on landing";

    const BoatState boat_before = st.boats[0];
    c = cast_adventure_spell(st, map, id, 0, SPELL_SUMMON_BOAT, 40);
    EXPECT_EQ(c.refusal, CastRefusal::NoTarget) << "no water beside the hero";
    EXPECT_EQ(h.spell_charges[SPELL_SUMMON_BOAT], 1);
    EXPECT_EQ(st.boats[0].x, boat_before.x);

    EXPECT_EQ(cast_adventure_spell(st, map, id, 0, 16, 40).refusal, CastRefusal::NotAdventure);
    EXPECT_EQ(cast_adventure_spell(st, map, id, 0, SPELL_IDENTIFY_HERO, 40).kind, AdventureCast::HeroesIdentified);
    EXPECT_TRUE(identify_hero_active(id, 0));

    h.on_boat = 1;
    EXPECT_EQ(cast_adventure_spell(st, map, id, 0, SPELL_TOWN_GATE, 40).refusal, CastRefusal::OnBoat);
    EXPECT_EQ(cast_adventure_spell(st, map, id, 0, SPELL_SUMMON_BOAT, 40).refusal, CastRefusal::OnBoat);
    h.on_boat = 0;
    c = cast_adventure_spell(st, map, id, 0, SPELL_TOWN_GATE, 40);
    EXPECT_EQ(c.kind, AdventureCast::Moved);
    EXPECT_EQ(c.x, 4);
    EXPECT_EQ(c.y, 4);
    EXPECT_EQ(h.spell_charges[SPELL_TOWN_GATE], 0);
    EXPECT_FALSE(map.tile(8, 8)->occupied());

    EXPECT_EQ(cast_refusal_message(CastRefusal::OnBoat), "That spell cannot be cast at sea.");
    EXPECT_NE(cast_refusal_message(CastRefusal::NoPoints), cast_refusal_message(CastRefusal::NoTarget));
    EXPECT_TRUE(cast_refusal_message(CastRefusal::None).empty());
    strings().load_from_text("", "");
}

class NewDayPanelTest : public Canvas {};

TEST_F(NewDayPanelTest, OnlyPlayersStillInTheGameAreShown) {
    GameState st;
    st.player_color = {COLOR_RED, COLOR_GREEN, COLOR_BLUE, COLOR_NONE};
    NewDayState nd;
    int jingles = 0;
    begin_new_day_animation(nd, nullptr, st, false, [&] { ++jingles; }, {false, true, false, false});
    EXPECT_EQ(jingles, 0) << "audio off";
    EXPECT_TRUE(nd.active);
    EXPECT_EQ(new_day_players_shown(nd, st), 0b0101u) << "green is out, the fourth seat not in play";

    draw_new_day_panel(r_, nullptr, nd, st, nullptr, nullptr);
    auto rgb = [](int colour) {
        const SDL_Color c = player_rgb(colour);
        return (uint32_t)(c.r << 16 | c.g << 8 | c.b);
    };
    const int x = kInfoPanelRect.x + 6, y = kInfoPanelRect.y + 6;
    EXPECT_EQ(pixel(x, y), rgb(COLOR_RED));
    EXPECT_EQ(pixel(x, y + 11), rgb(COLOR_BLUE));
    EXPECT_EQ(pixel(x, y + 22), 0x283870u) << "no third mark";

    // A new day later on, with every seat back in play and audio on.
    begin_new_day_animation(nd, nullptr, st, true, [&] { ++jingles; });
    EXPECT_EQ(jingles, 1);
    EXPECT_EQ(new_day_players_shown(nd, st), 0b0111u);
}

TEST_F(NewDayPanelTest, AssetCacheHoldsTheAdventureGroups) {
    ::testing::internal::CaptureStderr();
    {
        Resources res(r_, std::make_unique<AggArchive>(
                              AggArchive::from_bytes(kit::write_agg(kit::adventure_archive_files()))));
        EXPECT_EQ(load_adventure_groups(res), 0);
        ASSERT_TRUE(res.adventure && res.new_day);
        EXPECT_NE(res.adventure->border, nullptr);
        EXPECT_GT(res.adventure->heroes[0].size(), 0);
        EXPECT_FALSE(res.adventure->ground.empty());
        EXPECT_EQ(res.new_day->sun.size(), 8);
        // Loading again replaces the groups.
        EXPECT_EQ(load_adventure_groups(res), 0);
        EXPECT_EQ(res.new_day->sun.size(), 8);
    }
    {
        std::vector<kit::AggFile> files;
        for (const kit::AggFile& f : kit::adventure_archive_files())
            if (f.name != kNewDayEntry && f.name != std::string(adv_entry::ROUTE)) files.push_back(f);
        Resources res(r_, std::make_unique<AggArchive>(AggArchive::from_bytes(kit::write_agg(files))));
        EXPECT_EQ(load_adventure_groups(res), 2);
        EXPECT_EQ(res.adventure->route.size(), 0);
        EXPECT_EQ(res.new_day->sun.size(), 0);
    }
    {
        Resources res(r_, nullptr);
        EXPECT_EQ(load_adventure_groups(res), 0);
        ASSERT_TRUE(res.adventure && res.new_day);
        EXPECT_EQ(res.adventure->border, nullptr);
    }
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("  WARNING: NEWDAY.ICN missing"), std::string::npos);
}

}  // namespace
}  // namespace vorn1
