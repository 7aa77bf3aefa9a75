#include "ai/ai_claim.h"

#include <algorithm>

#include "ai/ai_battle.h"
#include "ai/ai_town_visits.h"
#include "ai/ai_turn_vars.h"
#include "events/event_actions.h"

namespace vorn1 {

namespace {

template <class V>
bool in_range(const V& v, int i) { return i >= 0 && i < static_cast<int>(v.size()); }

}  // namespace

bool claim_object(GameState& s, GameMap& map, int player, const AIMapObject& o, int hero, std::vector<int>* mp_max,
                  bool* ambushed) {
    if (ambushed) *ambushed = false;
    if (!is_player_index(player)) return false;
    auto refresh = [&] {
        if (mp_max) refresh_hero_max_mp(s, map, *mp_max, hero);
    };
    switch (o.type) {
        case AIO_REINFORCE_CASTLE: {
            if (!in_range(s.castles, o.index) || !s.valid_hero(hero)) return false;
            HeroState& h = s.heroes[(size_t)hero];
            if (!move_garrison_stacks_to_hero(s.castles[(size_t)o.index], h, -1)) return false;
            ai_log(s, player, "hero %d - reinforced from garrison @ (%d,%d)", hero, o.x, o.y);
            refresh();
            return true;
        }
        case AIO_MINE: return in_range(s.mines, o.index) && claim_mine(s, o.index, player);
        case AIO_DRAGON_CITY: return claim_dragon_city(s, player);
        case AIO_LIGHTHOUSE: return claim_lighthouse(s, player);
        case AIO_CHEST: return take_chest(s, map, o.index, player);
        case AIO_ARTIFACT: {
            if (!in_range(s.map_artifacts, o.index) || !s.valid_hero(hero)) return false;
            const ArtifactState& a = s.map_artifacts[(size_t)o.index];
            HeroState& h = s.heroes[(size_t)hero];
            // A hero with no free slot neither fights the ambush nor pays: nothing changes.
            if (a.taken || a.artifact == EMPTY_ID || h.free_artifact_slot() < 0) return false;
            if (a.guard_kind == 2 && s.resources[(size_t)player].gold < kPaidArtifactGold) return false;
            if (a.guard_kind == 1) {
                if (ambushed) *ambushed = true;
                const double v = FightValueOfStack(h.army, &h, true);
                if (v <= kAmbushValue) {
                    dismiss_hero(s, map, hero, -1);
                    return false;
                }
                scale_hero_army(h, std::clamp(1.0 - kAmbushValue / v, 0.05, 1.0));
            }
            if (take_map_artifact(s, map, o.index, hero) != ArtifactTake::Taken) return false;
            refresh();
            return true;
        }
        case AIO_RESOURCE: return take_resource_pile(s, map, o.index, player);
        case AIO_CAMPFIRE: return take_campfire(s, map, o.index, player);
        default: return false;
    }
}

}  // namespace vorn1
