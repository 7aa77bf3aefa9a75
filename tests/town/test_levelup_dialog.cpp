#include <gtest/gtest.h>

#include "events/event.h"
#include "lang/runtime_strings.h"
#include "town/dialog_fixture.h"
#include "town/levelup.h"
#include "town/town_fixture.h"
#include "world/levels.h"

namespace vorn1 {
namespace {

struct Catalogue {
    Catalogue() {
        strings().load_from_text("", R"({"LEVELUP_GAINED_ONE":"{0} gained a level","LEVELUP_GAINED_MANY":"{0} gained {1} levels",
            "LEVELUP_STAT":"{0} +{1}","HERO_ATTACK_SKILL":"Attack","HERO_DEFENSE_SKILL":"Defense",
            "HERO_SPELL_POWER":"Power","HERO_KNOWLEDGE":"Knowledge","LEVELUP_LEVEL":"Level {0}",
            "LEVELUP_CURRENT_XP":"XP {0}","LEVELUP_NEXT_LEVEL":"Next {0}","LEVELUP_MAX":"Top level"})");
    }
    ~Catalogue() { strings().load_from_text("", ""); }
};

LevelUpEvent record(int hero, int levels, std::array<int32_t, 4> gains, uint8_t portrait = 7) {
    LevelUpEvent e;
    e.hero = hero;
    e.levels_gained = levels;
    e.new_level = levels + 1;
    e.gains = gains;
    e.name = "Varn";
    e.portrait = portrait;
    return e;
}

TEST(LevelUpDef, TitleBodyModeSoundAndPortrait) {
    Catalogue cat;
    EventDef one = levelup_event_def(record(0, 1, {0, 0, 0, 2}));
    EXPECT_EQ(one.title, "Varn gained a level");
    EXPECT_EQ(one.text, "Knowledge +2");
    EXPECT_EQ(one.mode, 3);
    EXPECT_EQ(one.type, 255);

    EventDef many = levelup_event_def(record(3, 3, {1, 2, 0, 1}));
    EXPECT_EQ(many.title, "Varn gained 3 levels");
    EXPECT_EQ(many.text, "Attack +1\nDefense +2\nKnowledge +1");
    EXPECT_EQ(many.mode, 5);
    EXPECT_EQ(many.sound, "VELDAR18.82M");
    EXPECT_TRUE(many.sound2.empty());
    ASSERT_EQ(many.icons.size(), 1u);
    EXPECT_EQ(many.icons[0].icn, "PORT0007.ICN");
    EXPECT_EQ(many.icons[0].frame, 0);
    ASSERT_EQ(many.buttons.size(), 1u);
    EXPECT_EQ(many.buttons[0], EVENT_BUTTON_OK);

    EventDef none = levelup_event_def(record(0, 1, {0, -1, 0, 0}));
    EXPECT_EQ(none.text, "");
    EXPECT_EQ(none.mode, 3);
}

using LevelUpQueue = DialogCanvas;

TEST_F(LevelUpQueue, RecordsShowOneAtATimeInOrder) {
    Catalogue cat;
    Resources& res = load({"QV.PAL", "TOWNWIND.ICN"});
    EventSystem ev;
    LevelUpSystem ups;
    ups.queue.push_back(record(4, 1, {1, 0, 0, 0}));
    ups.queue.push_back(record(5, 2, {0, 1, 1, 0}));

    // Another dialog open: nothing happens.
    EventDef other;
    other.text = "busy";
    ev.open_announcement(other, {0, 0, 640, 480}, nullptr);
    ups.try_open_next(ev, res, {0, 0, 479, 480});
    EXPECT_EQ(ups.queue.size(), 2u);
    EXPECT_EQ(ev.queued_dialogs(), 0u);
    ev.close_dialog(EVENT_BUTTON_OK);

    ups.try_open_next(ev, res, {0, 0, 479, 480});
    ups.try_open_next(ev, res, {0, 0, 479, 480});  // every frame: still the one dialog
    ASSERT_NE(ev.current_dialog(), nullptr);
    EXPECT_EQ(ev.queued_dialogs(), 0u);
    EXPECT_EQ(ev.current_dialog()->result.hero, 4);
    EXPECT_EQ(ev.current_dialog()->result.x, -1);
    EXPECT_EQ(ev.current_dialog()->picture, res.townwind.at(18));
    EXPECT_NE(ev.current_dialog()->picture, nullptr);
    ASSERT_NE(ev.find_def(255), nullptr);
    EXPECT_EQ(ev.find_def(255)->title, "Varn gained a level");
    EXPECT_EQ(ups.queue.size(), 2u) << "the front stays while shown";

    ev.close_dialog(EVENT_BUTTON_OK);
    EXPECT_EQ(ups.queue.size(), 1u);
    ups.try_open_next(ev, res, {0, 0, 479, 480});
    ASSERT_NE(ev.current_dialog(), nullptr);
    EXPECT_EQ(ev.current_dialog()->result.hero, 5);
    EXPECT_EQ(ev.current_dialog()->def.mode, 4);
    ev.close_dialog(EVENT_BUTTON_OK);
    EXPECT_TRUE(ups.queue.empty());
    ups.try_open_next(ev, res, {0, 0, 479, 480});
    EXPECT_EQ(ev.current_dialog(), nullptr);
}

TEST_F(LevelUpQueue, LevelRuleFeedsTheQueue) {
    Catalogue cat;
    Resources& res = load({});
    GameState g = make_game(1);
    const int h = add_hero(g, 0);
    g.heroes[h].name = "Varn";
    g.heroes[h].portrait = 3;
    g.heroes[h].experience = LEVEL_XP[0] + 1;
    LevelUpSystem ups;
    ASSERT_TRUE(check_and_apply_levelups(g.heroes[h], h, ups.queue));
    ASSERT_EQ(ups.queue.size(), 1u);
    EventSystem ev;
    ups.try_open_next(ev, res, {0, 0, 479, 480});
    ASSERT_NE(ev.current_dialog(), nullptr);
    EXPECT_EQ(ev.current_dialog()->picture, nullptr) << "no TOWNWIND frame 18";
    EXPECT_EQ(ev.current_dialog()->def.icons[0].icn, "PORT0003.ICN");
}

TEST_F(LevelUpQueue, ExperienceBoxNeverReadsPastTheLevelTable) {
    Catalogue cat;
    Resources& res = load({});
    GameState g = make_game(1);
    const int h = add_hero(g, 0);
    LevelUpSystem ups;
    const SDL_Rect area{0, 0, 479, 480};
    const int bx = (479 - 286) / 2, by = (480 - 170) / 2;

    // Without BUYBUILD.ICN no frame is drawn, so the text alone shows on black.
    g.heroes[h].level = 2;
    clear();
    ups.draw_exp_info_box(r, res, g, h, area, font);
    const int normal = differing({bx, by + 77, 286, 45}, {0, 0, 0, 255});
    EXPECT_GT(normal, 100);
    g.heroes[h].level = 75;
    clear();
    ups.draw_exp_info_box(r, res, g, h, area, font);
    EXPECT_GT(differing({bx, by + 77, 286, 45}, {0, 0, 0, 255}), 100);
    g.heroes[h].level = 255;
    ups.draw_exp_info_box(r, res, g, h, area, font);

    clear();
    ups.draw_exp_info_box(r, res, g, 7, area, font);
    EXPECT_EQ(differing({0, 0, 640, 480}, {0, 0, 0, 255}), 0) << "unknown hero: nothing";
}

}  // namespace
}  // namespace vorn1
