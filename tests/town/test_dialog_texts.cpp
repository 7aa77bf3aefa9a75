#include <gtest/gtest.h>

#include "datakit/kit_battle.h"
#include "datakit/kit_dialogs7.h"
#include "datakit/kit_heroscreens.h"
#include "datakit/kit_lang.h"
#include "events/event_types.h"
#include "lang/runtime_strings.h"
#include "town/army_view.h"
#include "town/heroscrn.h"
#include "town/levelup.h"
#include "town/recruit.h"

namespace vorn1 {
namespace {

// With the kit's catalogue every text the dialogs build is filled in: no key shows through and
// no placeholder stays unfilled.
TEST(DialogTexts, KitCatalogueFillsEveryDialogText) {
    kit::StringMap all = kit::english_strings();  // creature names
    for (const auto& [k, v] : kit::battle_english_strings()) all[k] = v;  // morale and luck words
    for (const auto& [k, v] : kit::dialogs7_english_strings()) all[k] = v;
    strings().load_from_text("", kit::catalogue_json(all));
    std::vector<std::string> texts = army_view_stat_lines(1, 12, 1, 1, 2, -1);
    LevelUpEvent ev;
    ev.name = "Varn";
    ev.levels_gained = 2;
    ev.gains = {1, 1, 1, 1};
    const EventDef def = levelup_event_def(ev);
    texts.push_back(def.title);
    texts.push_back(def.text);
    texts.push_back(strings().format("RECRUIT_TITLE", {recruit_creature_name(3)}));
    texts.push_back(strings().format("RECRUIT_AVAILABLE", {"4"}));
    texts.push_back(strings().format("LEVELUP_NEXT_LEVEL", {"1000"}));
    texts.push_back(strings().format("STRUCT_PRODUCES", {"Hut", "Goblins"}));
    texts.push_back(strings().format("BUILD_CANNOT_AFFORD", {"Well"}));
    for (const char* key : {"CASTLE_NUMBER_TO_BUY", "CASTLE_TOTAL_RESOURCE_COST", "TROOP_DISMISS_ARMY", "TRADE_POST_TITLE",
                            "TRADE_THIEF_FLAVOR", "TRADE_YOUR_RESOURCES", "TRADE_FOR", "TRADE_MAX", "TRADE_BTN",
                            "UI_EXIT", "HEROPOOL_RECRUIT_HERO", "CLASS_WARLOCK", "LEVELUP_MAX", "CASTLE_TITLE",
                            "RECRUIT_HERO", "CASTLE_OPTIONS", "CASTLE_REQUIRES", "STRUCTDESC_MAGE",
                            "RECRUIT_HAVE_8_HEROES", "CASTLE_BUILD_IMPROVEMENT", "CASTLE_IMPROVES_TOWN"})
        texts.push_back(strings().get(key));
    for (const std::string& t : texts) {
        EXPECT_EQ(t.find('{'), std::string::npos) << t;
        EXPECT_EQ(t.find("_"), std::string::npos) << t;
    }
    EXPECT_EQ(def.title, "Varn has gained 2 levels.");
    strings().load_from_text("", "");
}

// The dismiss button's question is its bar text asked, ending in one question mark whatever the catalogue.
TEST(DialogTexts, TheDismissQuestionAsks) {
    kit::StringMap all = kit::english_strings();
    for (const auto& [k, v] : kit::heroscreens_english_strings()) all[k] = v;
    strings().load_from_text("", kit::catalogue_json(all));
    HeroState h{};
    h.name = "Varn";
    const std::string bar = hero_screen_infobar_text(HS_DISMISS, h, false);
    EXPECT_EQ(hero_dismiss_question(h), bar + "?");
    EXPECT_EQ(bar.find('?'), std::string::npos) << "the bar states, it does not ask";
    all["HERO_DISMISS_NAME_CLASS"] = "Dismiss {0}?";
    strings().load_from_text("", kit::catalogue_json(all));
    EXPECT_EQ(hero_dismiss_question(h), "Dismiss Varn?");
    all["HERO_DISMISS_NAME_CLASS"] = "Dismiss {0}.";
    strings().load_from_text("", kit::catalogue_json(all));
    EXPECT_EQ(hero_dismiss_question(h), "Dismiss Varn?") << "the stop becomes the question mark";
    strings().load_from_text("", "");
}

}  // namespace
}  // namespace vorn1
