#pragma once
// One computer player's turn on the adventure map, one action at a time: planning, walking, claiming and
// fighting. Moves the human on screen can see and battles against any human seat go back to the caller.
#include <cstdint>
#include <vector>

#include "ai/ai_map_model.h"
#include "world/game_state.h"
#include "world/map.h"
#include "world/route.h"

namespace vorn1 {

enum AIStepKind : uint8_t { AIS_IDLE = 0, AIS_MOVE = 1, AIS_OBJECT_TAKEN = 3, AIS_AUTO_BATTLE = 4, AIS_HUMAN_BATTLE = 5 };

struct AIStepResult {
    AIStepKind kind = AIS_IDLE;
    int32_t hero = -1;
    int32_t from_x = 0, from_y = 0, to_x = 0, to_y = 0;
    uint8_t dir = 255;
    uint8_t figure = 1;
    uint8_t colour = 0;
    uint8_t to_water = 0;
    uint8_t to_ground = 0;
    int32_t attacker = -1;
    int32_t defender_hero = -1;
    int32_t castle = -1;
    int32_t target_x = -1, target_y = -1;
};

struct AIPuzzleInfo {
    uint8_t exact = 0, known = 0;
    int32_t site_x = -1, site_y = -1, guess_x = -1, guess_y = -1;
};

struct AIPursuitResult {
    uint8_t reached = 0;
    int32_t hero = -1;
    uint8_t moved = 0;
};

constexpr int kAIStepsPerPass = 8192;

class AIExecutor {
public:
    GameState* state = nullptr;
    GameMap* map = nullptr;
    std::vector<int>* mp_left = nullptr;
    std::vector<int>* mp_max = nullptr;
    int32_t player = -1;
    int32_t human_player = 0;  // the human whose view is on screen: its fog decides which moves are animated
    bool active = false;
    bool view_enemy_moves = true;
    bool allow_stack_split = true;
    bool enable_trade = false;
    AIContext context;
    int32_t pending_hero = -1;
    AIMapObject target;
    bool has_target = false;
    std::vector<RouteStep> route;
    int32_t route_index = 0;
    bool move_in_flight = false;
    bool waiting_for_battle = false;
    std::vector<int32_t> dimdoor_uses;
    AIPuzzleInfo puzzle;
    AIPursuitResult pursuit;
    int32_t heroes_to_move = 0;

    void begin_turn(GameState& state, GameMap& map, std::vector<int>& mp_left, std::vector<int>& mp_max, int player,
                    int human_player);
    AIStepResult step();
    void on_move_finished(int hero);
    void abandon_pending_move(int hero);
    void resume_after_human_battle(bool won);
    // The handed-back battle settled without the battle screen, as the executor settles its other battles,
    // then resumed; true when the computer's hero won. Nothing happens unless a battle is awaited.
    bool settle_human_battle();
    // True when the hero lost a forced fight with a monster beside its new tile.
    bool resolve_forced_zoc_after_landing(int hero);

private:
    void drop_target();
    void stop_hero(int hero);
    bool plan_target();
    void try_dimension_door(int hero);
    AIStepResult arrive();
    bool settle_battle(int hero, const AIMapObject& t);
};

// Moves a hero as far along the route to (tx, ty) as its points allow; the points spent, 0 when it stayed.
int relocate_hero_along_route(GameState& state, GameMap& map, int hero, std::vector<int>& mp_left, int tx, int ty);
AIPursuitResult ai_pursue_ultimate_artifact(GameState& state, GameMap& map, const AIPuzzleInfo& info,
                                            std::vector<int>& mp_left, int player);
// A monster stack joins the hero's army and leaves the map; false when no slot takes it.
bool ai_join_stack(GameState& state, GameMap& map, int hero, int stack);
// The winner of a town walks in through the gate, as a human's hero stands in the town it took: a hero
// left outside leaves the town to the next passer-by, and only a hero inside is kept home to defend it.
void ai_enter_taken_town(GameState& state, GameMap& map, int hero, int town);
// Places the hero on a tile with its marks, and explores around it for its owner.
void ai_place_hero(GameState& state, GameMap& map, int hero, int x, int y, bool write_boat_mark);

}  // namespace vorn1
