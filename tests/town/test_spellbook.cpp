// The spellbook: its list, pages, halves, picks and notice, and its fallback drawing.
#include <gtest/gtest.h>

#include <vector>

#include "adventure/adv_geometry.h"
#include "dialog_fixture.h"
#include "town/spellbook.h"
#include "world/game_state.h"

namespace vorn1 {
namespace {

HeroState hero_knowing(std::initializer_list<std::pair<int, int>> spells) {
    HeroState h{};
    h.has_spellbook = 1;
    for (auto [id, n] : spells) h.spell_charges[(size_t)id] = (uint8_t)n;
    return h;
}

std::vector<int> ids(const SpellbookState& s) {
    std::vector<int> out;
    for (const SpellbookEntry& e : s.spells) out.push_back(e.spell);
    return out;
}

// A left click as the book sees it: press, then release at the same point.
int click(SpellbookState& s, HeroState& h, int x, int y) {
    const int r = handle_spellbook_event(mouse_down(x, y), s, h);
    return r ? r : handle_spellbook_event(mouse_up(x, y), s, h);
}

TEST(Spellbook, ListsHalvesPagesAndPicks) {
    HeroState h = hero_knowing({{16, 2}, {4, 1}, {7, 3}, {0, 1}, {20, 1}, {5, 4}, {9, 0}});
    SpellbookState s;

    // Battle: combat spells by level then id, a spent spell left out, the adventure mark inert.
    open_spellbook(s, h, SB_BATTLE);
    EXPECT_EQ(ids(s), (std::vector<int>{0, 4, 7, 16, 20}));
    EXPECT_EQ(s.spells[2].count, 3);
    EXPECT_FALSE(s.no_spells);
    EXPECT_EQ(click(s, h, 370, 300), SB_NOTHING);
    EXPECT_EQ(s.filter, SF_COMBAT);
    // The second double page; a corner pressed and released elsewhere turns nothing.
    EXPECT_EQ(click(s, h, 460, 140), SB_NOTHING);
    EXPECT_EQ(s.page, 1);
    EXPECT_EQ(click(s, h, 460, 140), SB_NOTHING);
    EXPECT_EQ(s.page, 1) << "no third page";
    handle_spellbook_event(mouse_down(170, 140), s, h);
    handle_spellbook_event(mouse_up(300, 300), s, h);
    EXPECT_EQ(s.page, 1);
    // Right column of the overlap band with no top-right entry on this page: nothing.
    EXPECT_EQ(sb_spell_cell_hit(400, 185, s), -1);
    EXPECT_EQ(sb_spell_cell_hit(234, 185, s), 4);
    // The right button shows the description; Esc waits until it is released.
    handle_spellbook_event(mouse_down(234, 154, SDL_BUTTON_RIGHT), s, h);
    ASSERT_TRUE(s.detail_open);
    EXPECT_EQ(s.spell, 20);
    EXPECT_EQ(handle_spellbook_event(key_down(SDLK_ESCAPE), s, h), SB_NOTHING);
    handle_spellbook_event(mouse_up(234, 154, SDL_BUTTON_RIGHT), s, h);
    EXPECT_FALSE(s.detail_open);
    EXPECT_EQ(click(s, h, 170, 140), SB_NOTHING);
    EXPECT_EQ(s.page, 0);
    // A pick on the press: the book closes holding the spell.
    EXPECT_EQ(handle_spellbook_event(mouse_down(385, 185), s, h), SB_PICKED);
    EXPECT_FALSE(s.open);
    EXPECT_EQ(s.spell, 4) << "in the overlap band the top cell wins";
    open_spellbook(s, h, SB_BATTLE);
    EXPECT_EQ(handle_spellbook_event(key_down(SDLK_ESCAPE), s, h), SB_CLOSED);
    EXPECT_EQ(s.spell, -1);

    // Only adventure spells known: the battle book is the notice; from the hero screen the combat
    // mark shows an empty half instead, and a click reads a spell rather than picking it.
    HeroState wizard = hero_knowing({{5, 1}, {28, 2}});
    // The notice closes with Escape; other keys leave it.
    open_spellbook(s, wizard, SB_BATTLE);
    EXPECT_TRUE(s.no_spells);
    EXPECT_EQ(handle_spellbook_event(key_down(SDLK_y), s, wizard), SB_NOTHING);
    EXPECT_EQ(handle_spellbook_event(key_down(SDLK_ESCAPE), s, wizard), SB_CLOSED);
    open_spellbook(s, wizard, SB_VIEW);
    EXPECT_EQ(click(s, wizard, 340, 300), SB_NOTHING);
    EXPECT_TRUE(s.spells.empty());
    EXPECT_FALSE(s.no_spells);
    EXPECT_EQ(click(s, wizard, 370, 300), SB_NOTHING);
    EXPECT_EQ(ids(s), (std::vector<int>{5, 28}));
    EXPECT_EQ(click(s, wizard, 385, 154), SB_NOTHING);
    EXPECT_TRUE(s.open);
    EXPECT_TRUE(s.detail_has_ok);
    EXPECT_EQ(s.spell, 28);

    // Hints follow the pointer; where the adventure and close marks touch, close wins.
    open_spellbook(s, h, SB_ADVENTURE);
    handle_spellbook_event(mouse_motion(389, 300), s, h);
    EXPECT_EQ(s.hint, sb_tr("SPELLBOOK_INFO_EXIT", "Close Spellbook"));
    handle_spellbook_event(mouse_motion(340, 300), s, h);
    EXPECT_EQ(s.hint, sb_tr("HERO_VIEW_SPELLS", "View Spells")) << "no combat mark on the adventure map";
}

class SpellbookDraw : public DialogCanvas {};

TEST_F(SpellbookDraw, FallbackArtShowsTheCellsAndOnlyTheContextsBookmarks) {
    Resources& none = load({});
    HeroState h = hero_knowing({{5, 1}, {6, 1}, {12, 1}, {16, 1}});
    SpellbookState s;
    const SDL_Color page{180, 140, 90, 255}, icon{80, 60, 30, 255};
    open_spellbook(s, h, SB_ADVENTURE);
    draw_spellbook(r, none, s, font, small);
    EXPECT_TRUE(is(160, 300, page));
    EXPECT_TRUE(is(215, 135, icon));
    EXPECT_TRUE(is(366, 135, icon));
    EXPECT_TRUE(is(215, 200, icon));
    EXPECT_TRUE(is(366, 200, page)) << "three adventure spells: no fourth cell";
    EXPECT_TRUE(is(370, 300, {80, 40, 140, 255}));
    EXPECT_TRUE(is(335, 300, page)) << "no combat mark on the adventure map";

    clear();
    open_spellbook(s, h, SB_BATTLE);
    draw_spellbook(r, none, s, font, small);
    EXPECT_TRUE(is(215, 135, icon));
    EXPECT_TRUE(is(366, 135, page));
    EXPECT_TRUE(is(335, 300, {140, 80, 20, 255}));
    EXPECT_TRUE(is(370, 300, page)) << "no adventure mark in battle";
}

// The hint line: on the adventure map in the status panel below the buttons, off the map's bottom edge;
// over the hero screen and the battle at the bottom of the screen.
TEST_F(SpellbookDraw, TheAdventureHintStandsInTheStatusPanel) {
    Resources& none = load({});
    HeroState h = hero_knowing({{5, 1}});
    SpellbookState s;
    const SDL_Color black{0, 0, 0, 255}, panel{56, 48, 40, 255};
    const SDL_Rect map_bottom{0, 456, kMapViewRect.w, 24}, screen_bottom{0, 456, 640, 24};
    open_spellbook(s, h, SB_ADVENTURE);
    draw_spellbook(r, none, s, font, small);
    EXPECT_EQ(differing(map_bottom, black), 0) << "nothing over the map's bottom edge";
    EXPECT_TRUE(is(kInfoPanelRect.x + 1, kInfoPanelRect.y + 1, panel));
    EXPECT_GT(differing(kInfoPanelRect, panel), 0) << "the hint in the panel";

    clear();
    open_spellbook(s, h, SB_VIEW);
    draw_spellbook(r, none, s, font, small);
    EXPECT_GT(differing(screen_bottom, black), 0);
    EXPECT_EQ(differing(kInfoPanelRect, black), 0);
}

}  // namespace
}  // namespace vorn1
