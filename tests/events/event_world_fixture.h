#pragma once
#include "events/event.h"
#include "events/event_actions.h"
#include "world/game_state.h"
#include "world/map.h"

namespace vorn1::test {

// A 12 x 12 grass map with one hero of player 0 at (1, 1).
struct EventWorld {
    GameMap map;
    GameState state;
    EventSystem ev;
    std::vector<int> mp_left, mp_max;
    std::vector<EventResult> results;

    EventWorld() {
        map.width = map.height = 12;
        map.tiles.assign(144, MapTile{});
        for (auto& t : map.tiles) t.ground = 30;
        state.map_width = state.map_height = 12;
        state.player_color = {0, 1, COLOR_NONE, COLOR_NONE};
        HeroState h;
        h.live = 1;
        h.x = h.y = 1;
        h.owner = 0;
        h.army.ids[0] = 1;
        h.army.counts[0] = 10;
        state.heroes.push_back(h);
        mp_left.assign(1, 0);
        mp_max.assign(1, 0);
        ev.load(nullptr, nullptr, nullptr, nullptr, false);
    }
    MapTile& tile(int x, int y) { return *map.tile(x, y); }
    HeroState& hero() { return state.heroes[0]; }
    // Places an event object of `type` at (x, y) with a drawn sprite.
    void place(int x, int y, uint8_t type, uint8_t detail = 0) {
        MapTile& t = tile(x, y);
        t.object_type = type;
        t.object_detail = detail;
        t.layer1_set = 40;
        t.layer1_frame = 3;
    }
    bool visit(int x, int y, int hero = 0) {
        return ev.try_trigger(map, state, hero, x, y, {0, 0, 640, 480},
                              [this](EventResult r) { results.push_back(r); });
    }
    // Closes the open dialog with a button and returns the result handed on.
    EventResult answer(uint8_t button) {
        ev.close_dialog(button);
        return results.empty() ? EventResult{} : results.back();
    }
    bool apply(const EventResult& r, int* levelup_calls = nullptr) {
        bool full = false;
        apply_event_result(r, map, state, mp_left, mp_max, ev,
                           [levelup_calls](int) { if (levelup_calls) ++*levelup_calls; }, full);
        return full;
    }
};

}  // namespace vorn1::test
