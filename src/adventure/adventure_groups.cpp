#include "adventure/adventure_resources.h"
#include "adventure/new_day_panel.h"
#include "assets/resources.h"

namespace vorn1 {

int load_adventure_groups(Resources& res) {
    // Old textures go before new ones are made, so a reload never holds both.
    res.adventure.reset();
    res.new_day.reset();
    res.adventure = make_owned<AdventureResources>();
    res.new_day = make_owned<NewDayResources>();
    if (!res.archive) return 0;
    int problems = res.adventure->load(res.renderer, *res.archive, res.palette);
    if (!res.new_day->load(res.renderer, *res.archive, res.palette)) ++problems;
    return problems;
}

}  // namespace vorn1
