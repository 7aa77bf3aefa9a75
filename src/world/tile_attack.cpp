#include "world/tile_attack.h"

#include <algorithm>

namespace vorn1 {

TileAttack attack_on_tile(const GameState& s, int attacker_owner, int x, int y) {
    TileAttack a;
    int town = s.castle_at(x, y);
    if (town >= 0 && s.castles[(size_t)town].owner == attacker_owner) town = -1;
    for (int i = 0; i < (int)s.heroes.size() && a.hero < 0; ++i) {
        const HeroState& h = s.heroes[(size_t)i];
        if (h.live && h.x == x && h.y == y && h.owner != attacker_owner) a.hero = i;
    }
    const int guard = s.garrison_at(x, y);
    if (town >= 0 && s.castles[(size_t)town].is_castle) {
        a.form = AttackForm::Siege;
    } else if (a.hero >= 0) {
        a.form = AttackForm::Hero;
        return a;
    } else if (town >= 0 || guard >= 0) {
        a.form = AttackForm::Garrison;
    } else {
        return a;
    }
    a.town = town;
    a.guard = guard;
    return a;
}

GarrisonStacks attack_garrison(const GameState& s, const TileAttack& a) {
    GarrisonStacks g;
    if (a.form != AttackForm::Siege && a.form != AttackForm::Garrison) return g;
    if (a.guard >= 0 && a.guard < (int)s.garrisons.size()) {
        g.ids = s.garrisons[(size_t)a.guard].ids;
        g.counts = s.garrisons[(size_t)a.guard].counts;
    } else if (a.town >= 0 && a.town < (int)s.castles.size()) {
        for (int i = 0; i < ARMY_SLOTS; ++i) {
            g.ids[(size_t)i] = s.castles[(size_t)a.town].garrison.ids[(size_t)i];
            g.counts[(size_t)i] = s.castles[(size_t)a.town].garrison.counts[(size_t)i];
        }
    }
    for (int32_t& n : g.counts) n = std::max(0, n);
    return g;
}

}  // namespace vorn1
