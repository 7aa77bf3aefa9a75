#include "datakit/kit_catalogue.h"

#include "datakit/kit_adventure.h"
#include "datakit/kit_battle.h"
#include "datakit/kit_battle_road.h"
#include "datakit/kit_dialogs7.h"
#include "datakit/kit_events.h"
#include "datakit/kit_frontend.h"
#include "datakit/kit_game_end.h"
#include "datakit/kit_heroscreens.h"
#include "datakit/kit_loop.h"
#include "datakit/kit_scores.h"
#include "datakit/kit_town.h"

namespace vorn1::kit {

void add_game_english_strings() {
    add_english_strings(town_english_strings());
    add_english_strings(battle_english_strings());
    add_english_strings(events_english_strings());
    add_english_strings(adventure_english_strings());
    add_english_strings(loop_english_strings());
    add_english_strings(dialogs7_english_strings());
    add_english_strings(heroscreens_english_strings());
    add_english_strings(frontend_english_strings());
    add_english_strings(spirit_campaign_english_strings());
    add_english_strings(scores_english_strings());
    add_english_strings(battle_road_english_strings());
    add_english_strings(game_end_english_strings());
}

}  // namespace vorn1::kit
