// The town road through the loop: a hero walks into its own town, the town screen opens, a dwelling
// is built, its creatures are recruited and moved to the hero, and the hero leaves.
#include "frontend/control_panel.h"
#include "loop_fixture.h"
#include "mainloop/town_screens.h"
#include "mainloop/visit_results.h"
#include "town/build_screen.h"
#include "town/castle_screen.h"
#include "town/recruit.h"
#include "world/recruit_rules.h"
#include "town/troop_move.h"
#include "adventure/adv_geometry.h"
#include "events/event_actions.h"
#include "town/heroscrn_tooltip.h"
#include "town/swapwin.h"
#include "world/hero_pool.h"
#include "world/buildings.h"

namespace vorn1::test {
namespace {

class TownRoadTest : public LoopTest {
protected:
    int hero = -1;
    int town = -1;
    void SetUp() override {
        LoopTest::SetUp();
        make_game();
        town = add_town(6, 5, 0);
        CastleState& c = state().castles[(size_t)town];
        c.is_castle = 1;
        c.faction = FACTION_KNIGHT;
        c.buildings = BLD_CASTLE;
        c.available = {10, 0, 0, 0, 0, 0};
        hero = add_hero(4, 5, 0);
        sync_owned_lists(loop(), state());
        select_hero(g(), hero);
        state().resources[0] = PlayerResources{};
        state().resources[0].gold = 10000;
    }
    TownScreenView& ts() { return loop().screens.town; }
    static SDL_Point mid(const SDL_Rect& r) { return SDL_Point{r.x + r.w / 2, r.y + r.h / 2}; }
    void click(SDL_Point p) {
        push_click(p.x, p.y);
        frames(1);
    }
    void push_button(Uint32 type, Uint8 button, SDL_Point p) {
        SDL_Event e{};
        e.type = type;
        e.button.button = button;
        e.button.x = p.x;
        e.button.y = p.y;
        SDL_PushEvent(&e);
        frames(1);
    }
    void walk_to(int x, int y) {
        click_tile(x, y);
        frames(1);
        click_tile(x, y);
        for (int i = 0; i < 400 && !ts().open; ++i) frames(1);
    }
    int hero_count_of(uint8_t creature) const {
        const Army& a = m.game->state.heroes[(size_t)hero].army;
        int n = 0;
        for (int i = 0; i < ARMY_SLOTS; ++i)
            if (a.ids[i] == creature) n += a.counts[i];
        return n;
    }
};

TEST_F(TownRoadTest, WalkInBuildRecruitMoveToTheHeroAndLeave) {
    walk_to(6, 5);
    ASSERT_TRUE(ts().open);
    EXPECT_EQ(ts().castle, town);
    EXPECT_EQ(castle_visiting_hero(state(), town), hero);

    // The castle picture opens the build screen; the archery range's cell asks to build it.
    click({CAST_X[0] + 20, 40});
    ASSERT_TRUE(ts().build_open);
    const SDL_Point cell = build_cell_origin(2);
    click({cell.x + 60, cell.y + 30});
    ASSERT_TRUE(g().events.dialog_open);
    accept_dialogs();
    const CastleState& c = state().castles[(size_t)town];
    EXPECT_TRUE(c.buildings & BLD_DWELLING1);
    EXPECT_FALSE(ts().build_open);
    EXPECT_EQ(state().resources[0].gold, 9000);
    const int archers = c.available[1];
    ASSERT_GT(archers, 0);

    // A second build the same day is refused: the cell opens no dialog.
    click({CAST_X[0] + 20, 40});
    const SDL_Point well = build_cell_origin(5);
    click({well.x + 60, well.y + 30});
    EXPECT_FALSE(g().events.dialog_open);
    push_key(SDLK_ESCAPE);
    frames(1);
    EXPECT_FALSE(ts().build_open);
    EXPECT_TRUE(ts().open);

    // The new dwelling sells its archers into the garrison.
    click(mid(dwelling_sprite_rect(FACTION_KNIGHT, 1)));
    RecruitSystem& rs = loop().recruit;
    ASSERT_TRUE(rs.open);
    EXPECT_EQ(rs.dwelling, 1);
    click(mid(rs.max_rect));
    const int bought = rs.count;
    ASSERT_EQ(bought, archers);
    click(mid(rs.ok_rect));
    EXPECT_FALSE(rs.open);
    EXPECT_EQ(state().resources[0].gold, 9000 - bought * creature_recruit_cost(1).gold);
    EXPECT_EQ(c.available[1], 0);
    EXPECT_EQ(c.garrison.ids[0], 1);
    EXPECT_EQ(c.garrison.counts[0], bought);

    // Garrison stack onto the hero's archers: they merge.
    const int before = hero_count_of(1);
    click(mid(castle_screen_slot_rect(SLOT_GARRISON, 0)));
    click(mid(castle_screen_slot_rect(SLOT_HERO, 0)));
    EXPECT_EQ(hero_count_of(1), before + bought);
    EXPECT_EQ(c.garrison.counts[0], 0);

    // Exit: press and release on the button.
    click(mid(kCastleExitRect));
    EXPECT_FALSE(ts().open);
}

TEST_F(TownRoadTest, TownListKeyAndMapClickOpenTheTown) {
    // The key of the first town.
    push_key(SDLK_t);
    frames(1);
    ASSERT_TRUE(ts().open);
    push_key(SDLK_ESCAPE);
    frames(1);
    EXPECT_FALSE(ts().open);
    // A click on the town's tile plans the selected hero's walk there; with no hero selected it opens.
    click_tile(6, 5);
    frames(1);
    EXPECT_FALSE(ts().open);
    loop().selected_hero = -1;
    click_tile(6, 5);
    frames(1);
    EXPECT_TRUE(ts().open);
    // A town of another player never opens.
    close_town_screen(m);
    const int other = add_town(9, 9, 1);
    open_town_screen(m, other);
    EXPECT_FALSE(ts().open);
}

}  // namespace
}  // namespace vorn1::test

namespace vorn1::test {
namespace {

class HeroScreensTest : public TownRoadTest {
protected:
    HeroScreenView& hs() { return loop().screens.hero; }
    SwapWinState& swap() { return loop().screens.swap; }
    void click_hero_row(int row) {
        const SDL_Rect r = locator_row_rect(false, row);
        click({r.x + r.w / 2, r.y + r.h / 2});
    }
};

TEST_F(HeroScreensTest, HeroScreenFromTheListWithPanelsArtifactDialogAndDismissal) {
    HeroState& h = state().heroes[(size_t)hero];
    h.artifacts[0] = 13;  // +1 attack
    h.artifacts[1] = 8;   // a medal
    h.crest = 0;          // a knight
    click_hero_row(0);
    ASSERT_TRUE(hs().open);
    EXPECT_EQ(hs().hero, hero);

    // Right button on the morale row: its panel lists the knight bonus and the medal, then closes.
    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_RIGHT;
    e.button.x = 520;
    e.button.y = 110;
    SDL_PushEvent(&e);
    frames(1);
    ASSERT_TRUE(hs().tip.open);
    EXPECT_EQ(hs().tip.zone, HS_MORALE);
    const auto& lines = hs().tip.lines;
    EXPECT_NE(std::find(lines.begin(), lines.end(), "  MOD_KNIGHT_BONUS"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "  MOD_MEDAL_VALOR"), lines.end());
    e.type = SDL_MOUSEBUTTONUP;
    SDL_PushEvent(&e);
    frames(1);
    EXPECT_FALSE(hs().tip.open);

    // A left click on the mace opens its dialog; OK closes it and the screen stays.
    click({60, 320});
    ASSERT_TRUE(hs().artifact.open);
    EXPECT_EQ(hs().artifact.artifact, 13);
    click({hs().artifact.ok_rect.x + 5, hs().artifact.ok_rect.y + 5});
    EXPECT_FALSE(hs().artifact.open);
    EXPECT_TRUE(hs().open);

    // The magic book opens the spellbook over the screen; the combat bookmark keeps the combat
    // spell only, and Esc closes the book alone.
    h.artifacts[2] = kMagicBook;
    h.has_spellbook = 1;
    h.spell_charges[16] = 2;
    h.spell_charges[5] = 1;
    click({240, 340});
    ASSERT_TRUE(hs().book.open);
    EXPECT_EQ(hs().book.context, SB_VIEW);
    EXPECT_EQ(hs().book.spells.size(), 2u);
    click({340, 300});
    ASSERT_EQ(hs().book.spells.size(), 1u);
    EXPECT_EQ(hs().book.spells[0].spell, 16);
    push_key(SDLK_ESCAPE);
    frames(1);
    EXPECT_FALSE(hs().book.open);
    ASSERT_TRUE(hs().open);
    push_key(SDLK_ESCAPE);
    frames(1);
    EXPECT_FALSE(hs().open);

    // Dismissal asks first; a yes takes the hero off the map and closes the screen.
    click_hero_row(0);
    ASSERT_TRUE(hs().open);
    click({10, 330});
    ASSERT_TRUE(g().events.dialog_open);
    accept_dialogs();
    EXPECT_FALSE(hs().open);
    EXPECT_FALSE(state().heroes[(size_t)hero].live);
    EXPECT_EQ(loop().selected_hero, -1);
}

TEST_F(HeroScreensTest, TwoHeroesMeetAndSwapAStackAndAnArtifact) {
    HeroState& a = state().heroes[(size_t)hero];
    a.army.ids[1] = 0;
    a.army.counts[1] = 10;
    a.artifacts[0] = 13;
    recalc_hero_artifact_stats(a);
    const int other = add_hero(6, 6, 0);
    state().heroes[(size_t)other].army.ids[0] = 6;
    state().heroes[(size_t)other].army.counts[0] = 3;
    state().heroes[(size_t)other].artifacts[0] = kMagicBook;
    state().heroes[(size_t)other].has_spellbook = 1;
    sync_owned_lists(loop(), state());

    click_tile(6, 6);
    frames(1);
    click_tile(6, 6);
    for (int i = 0; i < 400 && !swap().open; ++i) frames(1);
    ASSERT_TRUE(swap().open);
    EXPECT_EQ(swap().hero_a, hero);
    EXPECT_EQ(swap().hero_b, other);
    EXPECT_EQ(state().heroes[(size_t)hero].x, 5);  // the walk stopped beside the other hero
    EXPECT_EQ(loop().route_dest_x, -1) << "no route is left to the hero met";
    EXPECT_TRUE(loop().active_markers.empty());

    auto centre = [](SDL_Rect r) { return SDL_Point{r.x + 16, r.y + 16}; };
    // The peasants go to the other hero's empty second slot.
    click(centre(swap_army_cell(0, 1)));
    click(centre(swap_army_cell(1, 1)));
    const HeroState& b = state().heroes[(size_t)other];
    EXPECT_EQ(b.army.ids[1], 0);
    EXPECT_EQ(b.army.counts[1], 10);
    EXPECT_EQ(state().heroes[(size_t)hero].army.counts[1], 0);

    // The mace changes hands and with it the attack bonus.
    click(centre(swap_artifact_cell(0, 0)));
    click(centre(swap_artifact_cell(1, 3)));
    EXPECT_EQ(b.artifacts[3], 13);
    EXPECT_EQ(state().heroes[(size_t)hero].artifacts[0], EMPTY_ID);
    EXPECT_EQ(b.artifact_bonus[0], 1);
    EXPECT_EQ(state().heroes[(size_t)hero].artifact_bonus[0], 0);

    // The book stays: the notice opens, Return closes only the notice.
    click(centre(swap_artifact_cell(1, 0)));
    EXPECT_TRUE(swap().notice_open);
    push_key(SDLK_RETURN);
    frames(1);
    EXPECT_FALSE(swap().notice_open);
    EXPECT_TRUE(swap().open);
    EXPECT_EQ(b.artifacts[0], kMagicBook);

    // A portrait opens that hero's screen; then the exit button closes the window.
    click({350, 70});
    EXPECT_TRUE(loop().screens.hero.open);
    EXPECT_EQ(loop().screens.hero.hero, other);
    push_key(SDLK_ESCAPE);
    frames(1);
    click({kSwapExitRect.x + 10, kSwapExitRect.y + 10});
    EXPECT_FALSE(swap().open);

    // Dismissing one of the two from its hero screen ends the meeting as well.
    open_meeting(m, hero, other);
    click({350, 70});
    click({10, 330});
    accept_dialogs();
    EXPECT_FALSE(state().heroes[(size_t)other].live);
    EXPECT_FALSE(swap().open);
}

TEST_F(HeroScreensTest, MeetingMergeAtTheCapKeepsTheRestInTheSource) {
    const int other = add_hero(5, 6, 0);
    HeroState& a = state().heroes[(size_t)hero];
    a.army.ids[1] = 0;
    a.army.counts[1] = 60000;
    state().heroes[(size_t)other].army.ids[0] = 0;
    state().heroes[(size_t)other].army.counts[0] = 10000;
    open_meeting(m, hero, other);
    ASSERT_TRUE(swap().open);
    click({swap_army_cell(0, 1).x + 16, 180});
    click({swap_army_cell(1, 0).x + 16, 180});
    EXPECT_EQ(state().heroes[(size_t)other].army.counts[0], 65535);
    EXPECT_EQ(a.army.counts[1], 60000 + 10000 - 65535);
}

// The "Split stacks" option as the control panel leaves it: off, a shift-click split into an empty slot of
// the same army is refused on the town screen and in the meeting window; another army or the same
// creature still opens the count dialog; on, the empty slot opens it too.
TEST_F(HeroScreensTest, SplitStacksOptionRulesASplitIntoAnEmptySlotOfTheSameArmy) {
    m.control_panel = [](MainState& mm) {
        mm.settings.stack_split = !mm.settings.stack_split;
        return ControlPanelResult::Closed;
    };
    push_key(SDLK_g);
    frames(1);
    ASSERT_FALSE(m.settings.stack_split);
    Army& garrison = state().castles[(size_t)town].garrison;
    garrison.ids = {7, EMPTY_ID, 7, EMPTY_ID, EMPTY_ID};
    garrison.counts = {10, 0, 3, 0, 0};
    state().heroes[(size_t)hero].x = 6;  // visiting
    TroopMoveSystem& troops = loop().screens.troops;
    SDL_SetModState(KMOD_LSHIFT);
    const auto split_opens = [&](TroopMoveSystem& t, SDL_Point from, SDL_Point to) {
        click(from);
        click(to);
        const bool opened = t.split.open;
        if (opened) push_key(SDLK_ESCAPE);  // closes the dialog alone
        frames(1);
        return opened;
    };
    const auto slot = [](SlotContext c, int i) { return mid(castle_screen_slot_rect(c, i)); };
    open_town_screen(m, town);
    ASSERT_TRUE(ts().open);
    EXPECT_FALSE(split_opens(troops, slot(SLOT_GARRISON, 0), slot(SLOT_GARRISON, 1)));
    EXPECT_FALSE(troops.selected.valid());
    EXPECT_EQ(garrison.ids[1], EMPTY_ID);
    EXPECT_EQ(garrison.counts[0], 10);
    EXPECT_TRUE(split_opens(troops, slot(SLOT_GARRISON, 0), slot(SLOT_GARRISON, 2))) << "the same creature";
    EXPECT_TRUE(split_opens(troops, slot(SLOT_GARRISON, 0), slot(SLOT_HERO, 1))) << "the hero's army";

    const int other = add_hero(7, 5, 0);
    const auto cell = [](int side, int i) { return mid(swap_army_cell(side, i)); };
    close_town_screen(m);
    open_meeting(m, hero, other);
    EXPECT_FALSE(split_opens(swap().troops, cell(0, 0), cell(0, 1)));
    EXPECT_TRUE(split_opens(swap().troops, cell(0, 0), cell(1, 1)));
    push_key(SDLK_ESCAPE);
    frames(1);

    push_key(SDLK_g);
    frames(1);
    open_town_screen(m, town);
    EXPECT_TRUE(split_opens(troops, slot(SLOT_GARRISON, 0), slot(SLOT_GARRISON, 1)));
    SDL_SetModState(KMOD_NONE);
}

// A quick second press on a stack opens its creature view; with Shift held it is a split's second
// click on the same slot, which only drops the selection.
TEST_F(TownRoadTest, AQuickSecondPressViewsTheStackUnlessShiftIsHeld) {
    Army& garrison = state().castles[(size_t)town].garrison;
    garrison.ids[0] = 7;
    garrison.counts[0] = 10;
    open_town_screen(m, town);
    const SDL_Point stack = mid(castle_screen_slot_rect(SLOT_GARRISON, 0));
    const TownScreensState& s = loop().screens;
    const auto press_twice = [&] {
        push_click(stack.x, stack.y);
        push_click(stack.x, stack.y);
        frames(1);
    };
    press_twice();
    ASSERT_TRUE(s.army_view.view.open);
    push_key(SDLK_ESCAPE);  // not the view's key: the town screen beneath takes it and leaves
    frames(1);
    ASSERT_FALSE(s.army_view.view.open);
    ASSERT_FALSE(ts().open);
    open_town_screen(m, town);

    SDL_SetModState(KMOD_LSHIFT);
    press_twice();
    SDL_SetModState(KMOD_NONE);
    EXPECT_FALSE(s.army_view.view.open);
    EXPECT_FALSE(s.troops.selected.valid());
    EXPECT_TRUE(ts().open);
}

}  // namespace
}  // namespace vorn1::test

namespace vorn1::test {
namespace {

class TownBuildingsTest : public TownRoadTest {
protected:
    void enter_town() {
        walk_to(6, 5);
        ASSERT_TRUE(ts().open);
    }
};

TEST_F(TownBuildingsTest, GuildSellsTheBookTeachesItsSpellsAndLeaves) {
    CastleState& c = state().castles[(size_t)town];
    c.buildings |= BLD_GUILD1 | BLD_GUILD2;
    c.guild_spells = {0, 1, 2, 7, 8, 15, 16, 24, 25};
    HeroState& h = state().heroes[(size_t)hero];
    h.knowledge = 2;
    h.spell_charges[0] = 5;  // more than the guild gives: kept
    state().resources[0].gold = 600;
    enter_town();
    click({330, 100});
    MageGuildState& mg = ts().mage;
    ASSERT_TRUE(mg.open);
    ASSERT_TRUE(mg.buy_prompt);
    click({mg.buy_rect.x + 10, mg.buy_rect.y + 10});
    EXPECT_FALSE(mg.buy_prompt);
    EXPECT_TRUE(mg.open);
    EXPECT_EQ(state().resources[0].gold, 100);
    EXPECT_TRUE(h.has_spellbook);
    EXPECT_EQ(h.artifacts[0], 37);
    EXPECT_EQ(h.spell_charges[0], 5);
    for (int spell : {1, 2, 7, 8}) EXPECT_EQ(h.spell_charges[(size_t)spell], 2) << spell;
    for (int spell : {15, 16, 24, 25}) EXPECT_EQ(h.spell_charges[(size_t)spell], 0) << spell;  // level 3 and 4 slots
    click({560, 245});
    EXPECT_FALSE(mg.open);
    click(mid(kCastleExitRect));
    EXPECT_FALSE(ts().open);
}

TEST_F(TownBuildingsTest, HiredHeroStandsAtTheTownAndIsSelected) {
    init_hero_pool(state().pool);
    state().offers[0] = {4, 9};
    state().resources[0].gold = 3000;
    open_town_screen(m, town);  // no hero inside
    ASSERT_TRUE(ts().open);
    click({CAST_X[0] + 20, 40});
    const SDL_Point cell = build_cell_origin(11);
    click({cell.x + 60, cell.y + 30});
    ASSERT_TRUE(ts().recruit_hero.open);
    click({200, 280});
    const int hired = (int)state().heroes.size() - 1;
    ASSERT_GT(hired, hero);
    const HeroState& h = state().heroes[(size_t)hired];
    EXPECT_EQ(h.x, 6);
    EXPECT_EQ(h.y, 5);
    EXPECT_EQ(state().resources[0].gold, 500);
    EXPECT_EQ(loop().selected_hero, hired);
    EXPECT_EQ(loop().hero_order.back(), hired);
    EXPECT_EQ(loop().locator.selected_hero_row, (int)loop().hero_order.size() - 1);
    EXPECT_GT(loop().hero_move_points[(size_t)hired], 0);
    EXPECT_FALSE(ts().build_open);
    EXPECT_EQ(castle_visiting_hero(state(), town), hired);
}

// A press on an offered portrait shows that pool hero as hiring would bring it: a right press while
// held, a left press until the next press. Nothing is bought and the hire dialog stays.
TEST_F(TownBuildingsTest, AnOfferedPortraitShowsThatPoolHero) {
    init_hero_pool(state().pool);
    state().offers[0] = {4, 9};
    const size_t heroes = state().heroes.size();
    open_town_screen(m, town);
    click({CAST_X[0] + 20, 40});
    const SDL_Point cell = build_cell_origin(11);
    click({cell.x + 60, cell.y + 30});
    const RecruitHeroSystem& rh = ts().recruit_hero;
    ASSERT_TRUE(rh.open);
    const SDL_Point first = mid(rh.portrait_rect(0));
    push_button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, first);
    ASSERT_TRUE(ts().pool_hero.open);
    EXPECT_EQ(ts().pool_hero.hero.name, state().pool.entries[4].name);
    EXPECT_EQ(ts().pool_hero.hero.portrait, 4);
    push_button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, first);
    EXPECT_FALSE(ts().pool_hero.open);

    click(mid(rh.portrait_rect(1)));
    ASSERT_TRUE(ts().pool_hero.open) << "a left click shows the hero past its release";
    EXPECT_EQ(ts().pool_hero.hero.name, state().pool.entries[9].name);
    click({320, 240});
    EXPECT_FALSE(ts().pool_hero.open);
    EXPECT_TRUE(rh.open);
    // Or by a notice key, keypad Enter too.
    click(mid(rh.portrait_rect(1)));
    ASSERT_TRUE(ts().pool_hero.open);
    push_key(SDLK_KP_ENTER);
    frames(1);
    EXPECT_FALSE(ts().pool_hero.open);
    EXPECT_TRUE(rh.open);
    EXPECT_EQ(state().resources[0].gold, 10000);
    EXPECT_EQ(state().heroes.size(), heroes);
}

TEST_F(TownBuildingsTest, ShipyardPutsABoatOnTheWater) {
    CastleState& c = state().castles[(size_t)town];
    c.buildings |= BLD_SHIPYARD;
    map().tile(6, 6)->ground = 5;  // water below the entrance
    state().resources[0].gold = 1500;
    state().resources[0].wood = 12;
    enter_town();
    click({40, 200});
    ShipyardDialogState& sy = ts().shipyard;
    ASSERT_TRUE(sy.open);
    EXPECT_TRUE(sy.can_build);
    click({sy.ok_rect.x + 5, sy.ok_rect.y + 5});
    EXPECT_FALSE(sy.open);
    const int boat = state().boat_at(6, 6);
    ASSERT_GE(boat, 0);
    EXPECT_TRUE(map().tile(6, 6)->boat);
    EXPECT_EQ(state().resources[0].gold, 500);
    EXPECT_EQ(state().resources[0].wood, 2);
    // The harbour is taken now: the offer is refused without a charge.
    click({40, 200});
    EXPECT_FALSE(sy.can_build);
    click({sy.ok_rect.x + 5, sy.ok_rect.y + 5});
    EXPECT_TRUE(sy.open);
    EXPECT_EQ(state().resources[0].gold, 500);
}

TEST_F(TownBuildingsTest, TheBuildCastleQuestionAnswersNAndY) {
    CastleState& c = state().castles[(size_t)town];
    c.is_castle = 0;
    state().resources[0] += castle_upgrade_cost();
    open_town_screen(m, town);
    for (SDL_Keycode k : {SDLK_n, SDLK_ESCAPE, SDLK_y}) {
        ts().castle_dialog = BuildCastleDialogState{};
        ts().castle_dialog.open = true;
        ts().castle_dialog.can_build = true;
        push_key(k);
        frames(1);
        EXPECT_FALSE(ts().castle_dialog.open);
        EXPECT_EQ(c.is_castle != 0, k == SDLK_y) << k;
    }
}

TEST_F(TownBuildingsTest, WellTavernAndThievesGuildOpenAndClose) {
    CastleState& c = state().castles[(size_t)town];
    c.buildings |= BLD_WELL | BLD_TAVERN | BLD_THIEVES_GUILD;
    open_town_screen(m, town);
    click({200, 230});
    EXPECT_TRUE(ts().well.open);
    push_key(SDLK_ESCAPE);
    frames(1);
    EXPECT_FALSE(ts().well.open);
    click({280, 150});
    TavernScreenState& tv = loop().screens.tavern;
    ASSERT_TRUE(tv.open);
    push_key(SDLK_ESCAPE);  // only OK closes the tavern; Escape does not reach the town either
    frames(1);
    EXPECT_TRUE(tv.open);
    EXPECT_TRUE(ts().open);
    click({tv.ok_rect.x + 5, tv.ok_rect.y + 5});
    EXPECT_FALSE(tv.open);
    click({150, 100});
    EXPECT_TRUE(ts().thieves.open);
    click({560, 245});
    EXPECT_FALSE(ts().thieves.open);
    EXPECT_TRUE(ts().open);

    // A thieves' den on the map shows the full view over the map.
    close_town_screen(m);
    EventResult r;
    r.hero = hero;
    r.open_thieves_guild = 1;
    on_visit_result(m, r);
    EXPECT_TRUE(loop().screens.thieves_full.open);
    EXPECT_TRUE(loop().screens.thieves_full.full_view);
    push_key(SDLK_ESCAPE);
    frames(1);
    EXPECT_FALSE(loop().screens.thieves_full.open);
}

}  // namespace
}  // namespace vorn1::test
