// A game set up from a kit map image, walked site by site: the visit is decided by try_trigger,
// its dialog answered, and the outcome applied by apply_event_result, as the adventure loop does.
#include <gtest/gtest.h>

#include "assets/agg.h"
#include "datakit/kit_demo.h"
#include "datakit/kit_events.h"
#include "datakit/kit_maps.h"
#include "events/event.h"
#include "events/event_actions.h"
#include "lang/runtime_strings.h"
#include "world/recruit_rules.h"
#include "world/game_setup.h"
#include "world/tile_rules.h"

namespace vorn1 {
namespace {

struct Road {
    GameMap map;
    GameState state;
    EventSystem ev;
    std::vector<int> mp_left, mp_max;
    std::vector<EventResult> results;
    int hero = -1;

    explicit Road(const std::vector<uint8_t>& image, const std::string& name = "ROAD.MAP") {
        map = load_map_bytes(image, name);
        NewGameConfig cfg;
        cfg.opponents = {OPP_AVERAGE, OPP_NONE, OPP_NONE};
        init_game_state(state, map, cfg, 2024);
        ev.load(nullptr, nullptr, nullptr, nullptr, false);
        mp_left.assign(state.heroes.size(), 0);
        mp_max.assign(state.heroes.size(), 0);
        for (int i = 0; i < (int)state.heroes.size() && hero < 0; ++i)
            if (state.heroes[i].live && state.heroes[i].owner == 0) hero = i;
    }
    HeroState& h() { return state.heroes[hero]; }
    PlayerResources& treasury() { return state.resources[0]; }
    const MapTile& tile(std::pair<int, int> at) const { return *map.tile(at.first, at.second); }

    // The first tile holding an object of `type`; (-1, -1) when the map has none.
    std::pair<int, int> find(uint8_t type) const {
        for (int y = 0; y < map.height; ++y)
            for (int x = 0; x < map.width; ++x)
                if (map.tile(x, y)->object_type == type) return {x, y};
        return {-1, -1};
    }
    // Walks the hero onto a neighbour of the site and visits it.
    bool visit(std::pair<int, int> at) {
        clear_hero_from_map(map, h());
        h().x = at.first > 0 ? at.first - 1 : at.first + 1;
        h().y = at.second;
        place_hero_on_map(map, h());
        const size_t before = results.size();
        const bool hit = ev.try_trigger(map, state, hero, at.first, at.second, {0, 0, 480, 480},
                                        [this](EventResult r) { results.push_back(r); });
        if (hit && !ev.dialog_open && results.size() == before) ADD_FAILURE() << "trigger without dialog or result";
        return hit;
    }
    // Answers the open dialog (when there is one) and applies the result; returns that result.
    EventResult settle(uint8_t button = EVENT_BUTTON_OK) {
        if (ev.dialog_open) ev.close_dialog(button);
        EXPECT_FALSE(results.empty());
        if (results.empty()) return EventResult{};
        apply(results.back());
        return results.back();
    }
    void apply(const EventResult& r) {
        bool full = false;
        apply_event_result(r, map, state, mp_left, mp_max, ev, [](int) {}, full);
    }
    bool cleared(std::pair<int, int> at) const { return tile(at).object_type == 0 && tile(at).layer1_frame == 255; }
};

Road medium_road() { return Road(kit::write_map_bytes(kit::make_scenario_map(1, 2, 21, "Road"))); }

TEST(Road, DemoMapTravelsInsideTheDemoArchive) {
    const AggArchive agg = AggArchive::from_bytes(kit::demo_archive_bytes());
    ASSERT_TRUE(agg.has("DEMO.MAP"));
    Road r(agg.get("DEMO.MAP"));
    EXPECT_EQ(r.map.name, kit::make_demo_map().name);
    ASSERT_GE(r.hero, 0);
    ASSERT_FALSE(r.state.chests.empty());
    const auto chest = std::make_pair(r.state.chests[0].x, r.state.chests[0].y);
    EXPECT_EQ(r.tile(chest).object_type, OBJ_CHEST);
    const int32_t gold = r.treasury().gold;
    ASSERT_TRUE(r.visit(chest));
    r.settle(EVENT_BUTTON_ACCEPT);
    EXPECT_EQ(r.treasury().gold, gold + r.state.chests[0].value);
    EXPECT_TRUE(r.cleared(chest));
}

TEST(Road, PickupsGiveOnceAndClearTheirTile) {
    Road r = medium_road();
    ASSERT_GE(r.hero, 0);

    const TreasureChestState chest = r.state.chests.at(0);
    const auto at_chest = std::make_pair(chest.x, chest.y);
    ASSERT_EQ(r.tile(at_chest).object_type, OBJ_CHEST);
    const int32_t gold = r.treasury().gold;
    ASSERT_TRUE(r.visit(at_chest));
    const EventResult taken = r.settle(EVENT_BUTTON_ACCEPT);
    EXPECT_EQ(r.treasury().gold, gold + chest.value);
    EXPECT_TRUE(r.cleared(at_chest));
    EXPECT_FALSE(r.visit(at_chest));
    r.apply(taken);  // a stale result changes nothing
    EXPECT_EQ(r.treasury().gold, gold + chest.value);

    const ResourcePileState pile = r.state.resource_piles.at(0);
    const auto at_pile = std::make_pair(pile.x, pile.y);
    ASSERT_EQ(r.tile(at_pile).object_type, OBJ_RESOURCE);
    const PlayerResources before = r.treasury();
    ASSERT_TRUE(r.visit(at_pile));
    r.settle();
    const int res = resource_index_of_kind(pile.kind);
    EXPECT_EQ(r.treasury()[res], before[res] + pile.amount);
    EXPECT_TRUE(r.cleared(at_pile));
    EXPECT_FALSE(r.visit(at_pile));

    const CampfireState fire = r.state.campfires.at(0);
    const auto at_fire = std::make_pair(fire.x, fire.y);
    ASSERT_EQ(r.tile(at_fire).object_type, OBJ_CAMPFIRE);
    const int32_t gold2 = r.treasury().gold;
    ASSERT_TRUE(r.visit(at_fire));
    r.settle();
    EXPECT_GE(r.treasury().gold, gold2 + fire.gold);
    EXPECT_TRUE(r.cleared(at_fire));
    EXPECT_FALSE(r.visit(at_fire));
}

TEST(Road, ArtifactsFreePaidAndGuarded) {
    Road r = medium_road();
    int kinds_seen[3] = {};
    for (const ArtifactState a : r.state.map_artifacts) {
        const auto at = std::make_pair((int)a.x, (int)a.y);
        if (r.tile(at).object_type == 0) continue;  // taken as a duplicate position
        ++kinds_seen[a.guard_kind];
        const int32_t gold = r.treasury().gold;
        ASSERT_TRUE(r.visit(at));
        if (a.guard_kind == 1) {
            ASSERT_EQ(r.tile(at).object_type, OBJ_ARTIFACT_AMBUSH);
            const EventResult res = r.settle();
            ASSERT_EQ(res.site_battle, 1);
            EXPECT_EQ(res.site_kind, GUARDED_ARTIFACT);
            EXPECT_FALSE(r.h().has_artifact(a.artifact));  // not before the guards are beaten
            EXPECT_TRUE(grant_guarded_site_reward(r.state, r.map, r.hero, at.first, at.second, res.site_kind,
                                                  res.site_level, res.artifact));
        } else {
            // A paid artifact asks for its price instead of starting a fight.
            ASSERT_EQ(r.tile(at).object_type, OBJ_ARTIFACT);
            const EventResult res = r.settle(EVENT_BUTTON_ACCEPT);
            EXPECT_EQ(res.site_battle, 0);
            EXPECT_EQ(r.treasury().gold, gold - (a.guard_kind == 2 ? kPaidArtifactGold : 0));
        }
        EXPECT_TRUE(r.h().has_artifact(a.artifact));
        EXPECT_TRUE(r.cleared(at));
        EXPECT_FALSE(r.visit(at));
    }
    EXPECT_GT(kinds_seen[0], 0);
    EXPECT_GT(kinds_seen[1], 0);
    EXPECT_GT(kinds_seen[2], 0);
}

TEST(Road, OwnedSitesChangeOwnerOnce) {
    Road r = medium_road();
    const uint8_t flags = r.h().visit_flags;

    const MineState mine = r.state.mines.at(0);
    const auto at_mine = std::make_pair(mine.x, mine.y);
    ASSERT_EQ(r.tile(at_mine).object_type, OBJ_MINE);
    ASSERT_TRUE(r.visit(at_mine));
    r.settle();
    EXPECT_EQ(r.state.mines[0].owner, 0);
    EXPECT_EQ(r.tile(at_mine).object_type, OBJ_MINE);  // a mine stays on the map
    ASSERT_TRUE(r.visit(at_mine));
    EXPECT_EQ(r.settle().choice, SITE_NONE);

    // The lighthouse is a claim, not a luck site sharing its number.
    const auto at_light = std::make_pair(r.state.lighthouse.x, r.state.lighthouse.y);
    ASSERT_EQ(r.tile(at_light).object_type, OBJ_LIGHTHOUSE);
    ASSERT_TRUE(r.visit(at_light));
    r.settle();
    EXPECT_EQ(r.state.lighthouse.owner, 0);
    EXPECT_EQ(r.h().visit_flags, flags);

    const auto at_city = std::make_pair(r.state.dragon_city.x, r.state.dragon_city.y);
    ASSERT_EQ(r.tile(at_city).object_type, OBJ_DRAGON_CITY);
    ASSERT_TRUE(r.visit(at_city));
    EXPECT_EQ(r.settle(EVENT_BUTTON_DECLINE).site_battle, 0);
    ASSERT_TRUE(r.visit(at_city));
    const EventResult fight = r.settle(EVENT_BUTTON_ACCEPT);
    ASSERT_EQ(fight.site_battle, 1);
    EXPECT_EQ(fight.site_kind, GUARDED_DRAGON_CITY);
    EXPECT_TRUE(grant_guarded_site_reward(r.state, r.map, r.hero, at_city.first, at_city.second, fight.site_kind,
                                          fight.site_level, fight.artifact));
    EXPECT_EQ(r.state.dragon_city.owner, 0);
    ASSERT_TRUE(r.visit(at_city));
    EXPECT_EQ(r.settle(EVENT_BUTTON_ACCEPT).site_battle, 0);  // ours now: no second fight
}

TEST(Road, DwellingShrineAndMillKeepTheirOwnMeaning) {
    Road r = medium_road();
    const uint8_t flags = r.h().visit_flags;

    const MapCreatureHutState hut = r.state.huts.at(0);
    const auto at_hut = std::make_pair(hut.x, hut.y);
    ASSERT_EQ(r.tile(at_hut).object_type, OBJ_DWELLING);
    ASSERT_TRUE(r.visit(at_hut));
    const EventResult offer = r.settle();
    ASSERT_EQ(offer.open_recruit, 1);
    EXPECT_EQ(offer.recruit_creature, hut.creature);
    EXPECT_EQ(offer.recruit_available, hut.available);
    EXPECT_EQ(r.h().visit_flags, flags);  // no luck from a dwelling

    r.treasury() = PlayerResources{99999, 99, 99, 99, 99, 99, 99};
    RecruitResult rr;
    rr.creature = hut.creature;
    rr.count = 2;
    rr.cost = creature_cost_for_count(hut.creature, 2);
    rr.site_x = hut.x;
    rr.site_y = hut.y;
    rr.hero = r.hero;
    int64_t had = 0;
    for (int i = 0; i < ARMY_SLOTS; ++i)
        if (r.h().army.ids[i] == hut.creature) had += r.h().army.counts[i];
    bool no_room = true;
    apply_map_recruit_result(rr, r.map, r.state, r.mp_left, r.mp_max, r.ev, no_room);
    ASSERT_FALSE(no_room);
    int64_t has = 0;
    for (int i = 0; i < ARMY_SLOTS; ++i)
        if (r.h().army.ids[i] == hut.creature) has += r.h().army.counts[i];
    EXPECT_EQ(has, had + 2);
    EXPECT_EQ(r.state.huts[0].available, hut.available - 2);
    EXPECT_LT(r.treasury().gold, 99999);

    const ShrineState shrine = r.state.shrines.at(0);
    const auto at_shrine = std::make_pair(shrine.x, shrine.y);
    ASSERT_EQ(r.tile(at_shrine).object_type, OBJ_SHRINE);
    r.h().has_spellbook = 1;
    const uint8_t charges = r.h().spell_charges[shrine.spell];
    ASSERT_TRUE(r.visit(at_shrine));
    r.settle();
    EXPECT_EQ(r.h().spell_charges[shrine.spell], charges + 1);
    EXPECT_EQ(r.h().visit_flags, flags);

    const MillState mill = r.state.mills.at(0);
    const auto at_mill = std::make_pair(mill.x, mill.y);
    ASSERT_EQ(r.tile(at_mill).object_type, OBJ_MILL);
    const int32_t gold = r.treasury().gold;
    ASSERT_TRUE(r.visit(at_mill));
    r.settle();
    EXPECT_EQ(r.treasury().gold, gold + mill.amount);
    ASSERT_TRUE(r.visit(at_mill));
    r.settle();
    EXPECT_EQ(r.treasury().gold, gold + mill.amount);  // emptied until the turnover
    EXPECT_EQ(r.h().visit_flags, flags);
}

TEST(Road, SitesWithoutRecords) {
    Road r = medium_road();

    // Graveyard and shipwreck: a fight on accepting, a reward once, then nothing.
    for (uint8_t type : {OBJ_GRAVEYARD, OBJ_SHIPWRECK}) {
        const auto at = r.find(type);
        ASSERT_GE(at.first, 0) << int(type);
        ASSERT_TRUE(r.visit(at));
        EXPECT_EQ(r.settle(EVENT_BUTTON_DECLINE).site_battle, 0);
        ASSERT_TRUE(r.visit(at));
        const EventResult fight = r.settle(EVENT_BUTTON_ACCEPT);
        ASSERT_EQ(fight.site_battle, 1);
        const int level = type == OBJ_GRAVEYARD ? r.tile(at).object_detail : 0;
        EXPECT_EQ(fight.site_kind, type == OBJ_GRAVEYARD ? GUARDED_GRAVEYARD : GUARDED_SHIPWRECK);
        if (type == OBJ_GRAVEYARD) {
            EXPECT_EQ(fight.site_level, level);
        }
        const int32_t gold = r.treasury().gold;
        EXPECT_TRUE(grant_guarded_site_reward(r.state, r.map, r.hero, at.first, at.second, fight.site_kind,
                                              fight.site_level, fight.artifact));
        // The graveyard pays by its level; the shipwreck's guards guard no gold.
        EXPECT_EQ(r.treasury().gold, gold + (type == OBJ_GRAVEYARD ? GY_GOLD[level] : 0));
        EXPECT_TRUE(r.h().visit_flags & (type == OBJ_GRAVEYARD ? VISIT_MORALE_MINUS_A : VISIT_MORALE_MINUS_B));
        EXPECT_FALSE(r.visit(at));
        EXPECT_FALSE(grant_guarded_site_reward(r.state, r.map, r.hero, at.first, at.second, fight.site_kind,
                                               fight.site_level, fight.artifact));
    }

    // Luck and morale sites: the hero's one-shot flag, once.
    for (uint8_t type : {OBJ_FAERIE_RING, OBJ_FOUNTAIN, OBJ_ANGEL_STATUE, OBJ_OASIS}) {
        const auto at = r.find(type);
        ASSERT_GE(at.first, 0) << int(type);
        const uint8_t bit = bonus_bit_of_type(type);
        ASSERT_NE(bit, 0);
        EXPECT_FALSE(r.h().visit_flags & bit);
        ASSERT_TRUE(r.visit(at));
        EXPECT_EQ(r.settle().choice, SITE_BONUS);
        EXPECT_TRUE(r.h().visit_flags & bit);
        ASSERT_TRUE(r.visit(at));
        EXPECT_EQ(r.settle().choice, SITE_NONE);
    }

    const auto obelisk = r.find(OBJ_OBELISK);
    ASSERT_GE(obelisk.first, 0);
    ASSERT_TRUE(r.visit(obelisk));
    EXPECT_EQ(r.settle().visit_flag, 1);
    EXPECT_TRUE(r.ev.visits.sites.count((uint32_t)obelisk.first | (uint32_t)obelisk.second << 16));
    EXPECT_GE(visit_count(r.ev.visits, obelisk.first, obelisk.second, r.hero), 1);

    // Portal and an open trading post answer at once, without a dialog.
    const auto portal = r.find(OBJ_PORTAL);
    ASSERT_GE(portal.first, 0);
    ASSERT_TRUE(r.visit(portal));
    EXPECT_FALSE(r.ev.dialog_open);
    EXPECT_EQ(r.results.back().teleport, 1);
    const auto post = r.find(OBJ_TRADING_POST);
    ASSERT_GE(post.first, 0);
    r.ev.trade_enabled = true;
    ASSERT_TRUE(r.visit(post));
    EXPECT_FALSE(r.ev.dialog_open);
    EXPECT_EQ(r.results.back().open_trading_post, 1);
    EXPECT_GE(r.results.back().count, 1);

    const auto den = r.find(OBJ_THIEVES_DEN);
    ASSERT_GE(den.first, 0);
    ASSERT_TRUE(r.visit(den));
    EXPECT_EQ(r.settle().open_thieves_guild, 1);
}

// Every dialog a site of the map opens reads its texts from the catalogue: no key is left
// standing in a title or a text.
TEST(Road, EveryVisitDialogHasItsTexts) {
    strings().load_from_text("", kit::catalogue_json(kit::events_english_strings()));
    Road r = medium_road();
    r.treasury().gold = 0;  // the paid artifact's refusal text too
    int dialogs = 0;
    for (int y = 0; y < r.map.height; ++y)
        for (int x = 0; x < r.map.width; ++x) {
            const MapTile& t = *r.map.tile(x, y);
            if (t.object_type < OBJ_EVENT_FIRST || t.is_monster() || t.is_town_entrance()) continue;
            if (!r.visit({x, y}) || !r.ev.dialog_open) continue;
            const EventDef& d = r.ev.current_dialog()->def;
            EXPECT_EQ(d.title.find("EVENT_"), std::string::npos) << int(t.object_type) << ": " << d.title;
            EXPECT_EQ(d.text.find("EVENT_"), std::string::npos) << int(t.object_type) << ": " << d.text;
            EXPECT_FALSE(d.text.empty()) << int(t.object_type);
            ++dialogs;
            r.ev.close_dialog(d.buttons.back());
        }
    EXPECT_GE(dialogs, 10);
    strings().load_from_text("", "");
}

}  // namespace
}  // namespace vorn1
