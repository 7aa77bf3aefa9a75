#include "mainloop/town_capture.h"

#include "mainloop/hero_move.h"
#include "mainloop/victory_check.h"

namespace vorn1 {

namespace {

bool guard_holds_creature(const NeutralTownGarrison& gr) {
    for (int i = 0; i < ARMY_SLOTS; ++i)
        if (gr.ids[(size_t)i] != EMPTY_ID && gr.counts[(size_t)i] > 0) return true;
    return false;
}

}  // namespace

bool take_town_without_fight(MainState& m, int hero, int x, int y) {
    if (!m.game) return false;
    GameSession& g = game_of(m);
    GameState& s = g.state;
    if (!s.valid_hero(hero) || s.heroes[(size_t)hero].owner < 0) return false;
    const int owner = s.heroes[(size_t)hero].owner;
    for (const HeroState& h : s.heroes)
        if (h.live && h.x == x && h.y == y && h.owner != owner) return false;
    const int town = s.castle_at(x, y);
    if (town < 0) return false;
    CastleState& c = s.castles[(size_t)town];
    for (uint8_t id : c.garrison.ids)
        if (id != EMPTY_ID) return false;
    for (const NeutralTownGarrison& gr : s.garrisons)
        if (gr.live && gr.x == x && gr.y == y && guard_holds_creature(gr)) return false;

    c.owner = owner;
    c.live = 1;
    c.garrison.clear();
    for (NeutralTownGarrison& gr : s.garrisons)
        if (gr.live && gr.x == x && gr.y == y) {
            gr = NeutralTownGarrison{};
            break;
        }
    sync_owned_lists(g.loop, s);
    run_victory_check(m);
    check_post_battle_eliminations(s, g.map, g.elimination, g.loop.current_player);
    return true;
}

}  // namespace vorn1
