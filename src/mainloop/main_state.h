#pragma once
// Everything the entry function owns: the run's objects (window, renderer, asset cache, fonts, options)
// and the running game's records and the loop's own state. The rules of the loop take this record and
// work without a window or renderer (both may be null), so tests drive them headless.
#include <SDL.h>

#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "adventure/adventure_spells.h"
#include "adventure/adventure_types.h"
#include "adventure/apanel_state.h"
#include "adventure/kingdomscrn.h"
#include "adventure/player_elimination.h"
#include "adventure/puzzle_map_state.h"
#include "adventure/quikinfo.h"
#include "adventure/world_map.h"
#include "ai/ai_executor.h"
#include "battle/battle_resources.h"
#include "battle/battle_screen.h"
#include "events/event.h"
#include "mainloop/battle_handoff.h"
#include "mainloop/options.h"
#include "mainloop/town_screens_state.h"
#include "mainloop/window_scale.h"
#include "persist/save_file.h"
#include "town/levelup.h"
#include "town/recruit.h"
#include "town/trading_post.h"
#include "world/game_state.h"
#include "world/map.h"
#include "world/new_game_config.h"
#include "world/route.h"

namespace vorn1 {

struct Resources;
class AggArchive;
struct AdventureResources;
struct NewDayResources;
struct AutosaveRequest;
enum class ControlPanelResult : int32_t;

// One queued fade-out of a map tile: the tile's picture as it was drawn, where, and its sound.
struct TileFadeout {
    SDL_Texture* picture = nullptr;
    SDL_Rect rect{0, 0, 0, 0};
    std::string sound;
    float elapsed_ms = 0.0f;
};
constexpr float kTileFadeoutMs = 400.0f;

// What the screen showed of a human seat's turn: drawn in place of a computer seat's own while the
// computer plays, so a human never sees a computer's explored area, heroes or towns.
struct SeatView {
    int player = -1;  // -1: no human turn yet
    int view_x = 0, view_y = 0;
    int selected_hero = -1;
    std::vector<int> hero_order, town_order;
    LocatorPanelState locator;
    std::vector<RouteMarker> markers;
};

// The selection, lists, routes, walk and screen flags of one game.
struct LoopState {
    // Selection and lists (current player only).
    std::vector<int> hero_order;
    std::vector<int> town_order;
    int selected_hero = -1;
    int current_player = 0;
    std::vector<int> player_order;
    bool day_over = false;
    LocatorPanelState locator;

    // Routes and the walk.
    int route_dest_x = -1, route_dest_y = -1;
    std::vector<RouteStep> active_route;
    std::vector<RouteMarker> active_markers;
    std::vector<RouteStep> walk_steps;
    int walk_step_index = -1;
    int walk_target_x = -1, walk_target_y = -1;
    std::vector<HeroRoute> hero_routes;
    std::vector<int> hero_move_points;
    std::vector<int> hero_day_points;
    std::vector<HeroMoveState> moves;
    int walk_footsteps = 0;  // footsteps played in the current step

    // View.
    int view_x = 0, view_y = 0;
    SummaryView summary_view;
    SeatView human_view;  // the last human seat's, kept when a computer seat's turn starts
    int anim_tick = 0;
    float anim_ms = 0.0f;
    int pressed_button = -1;  // adventure button held down

    // Screens.
    bool announcement_open = false;
    KingdomOverviewState kingdom;
    WorldMapState world_map;
    QuickInfoState quick_info;
    DimDoorState dim_door;
    IdentifyHeroState identify;
    SpellbookModal spellbook;  // the adventure map's, to pick a spell to cast
    RecruitSystem recruit;  // a map dwelling's dialog
    TradingPostSystem trading_post;
    LevelUpSystem levelups;  // a human's heroes' level-ups, shown one dialog at a time
    bool battle_open = false;
    std::vector<TileFadeout> fadeouts;
    AdventurePanelState apanel;
    TownScreensState screens;  // town screen, hero screen, meeting window

    // Hand-offs to the battle side (-1 when empty).
    int pending_monster_hero = -1, pending_monster_x = -1, pending_monster_y = -1;
    BattleHandoff battle;

    // Calendar copies, kept equal to the game state's after each turnover.
    int day = 1, week = 1, month = 1;
    // A computer seat's turn runs: its executor is stepped each frame until its turn is over.
    bool computer_turn_pending = false;
    AIExecutor ai;
    // A human's turn opened without a hero, so without music: the first hero selected starts it.
    bool music_waits_for_hero = false;
    // The week or month announcement waits until the new-day pause ends.
    bool week_announcement_pending = false;
    WeekEvent last_week_event;
};

// The running game: the records `main` owns until the game ends.
struct GameSession {
    GameMap map;
    GameState state;
    NewGameConfig config;
    EventSystem events;
    BattleScreen battle;
    SpellbookModal battle_book;  // the battle hero's, lent to the battle screen
    BattleResources battle_res;
    PlayerEliminationState elimination;
    PuzzleMapState puzzle;
    NewDayState new_day;
    LoopState loop;
    bool campaign = false;
    bool hot_seat = false;
    int hot_seat_winner = -1;
    int game_won = 0;  // 1 a standard game won, 2 a campaign scenario won
    bool game_lost = false;
    // A loaded save of a campaign scenario already won: it goes on with the campaign's next step.
    bool resumed_completed = false;
    // Loaded without its base map: the configuration's description, not the map's, states the goal.
    bool base_map_missing = false;
};

// The adventure map's sounds as the loop asks for them; each may be empty (no audio, or no player).
struct LoopSounds {
    // A footstep of the walking hero on ground `ground` (at most two per step).
    std::function<void(uint8_t ground, bool in_boat)> footstep;
    // Every frame the map shows: the terrain music for the ground under the selected hero (the loop
    // points the resources' ambient engine at its tile itself).
    std::function<void(uint8_t ground)> terrain;
    // A human turn starts: the terrain music halted, then for ground >= 0 its band's track from the top.
    std::function<void(int ground)> terrain_restart;
    // Back on the map after a halt (a battle, the title screen of l): the track it played, if any.
    std::function<void()> terrain_resume;
    // The new-day pause: its music (the ambient loops wait), then back to the map's sounds.
    std::function<void()> new_day_start;
    std::function<void()> new_day_end;
    // The dig sound (map effects channel).
    std::function<void()> dig;
};

struct MainState {
    // Per run.
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    Resources* res = nullptr;                 // owned by the entry function
    const AggArchive* archive = nullptr;      // the data archive (the cache's); null in some tests
    const AdventureResources* adv = nullptr;  // owned by the entry function
    const NewDayResources* new_day_res = nullptr;
    FontSet fonts;
    int scale_index = 0;
    bool audio_on = false;
    std::string base_dir;                     // the executable's folder, with its trailing separator
    ControlPanelSettings settings;
    MoveSpeedDefaults speed;
    bool quit = false;
    uint32_t now_ms = 0;                      // the caller's tick count; seeds come from it

    std::unique_ptr<GameSession> game;
    int campaign_days = 0;                    // days of the campaign's scenarios won so far

    // Seams to parts that are not always there. Each may be empty.
    // Writes the end-of-day save in place of the save files (tests).
    std::function<SaveOutcome(const AutosaveRequest&)> autosave;
    // Plays a map sound effect by name (channel 0).
    std::function<void(const std::string&)> play_sound;
    LoopSounds sounds;
    // The 4000 ms dissolve that opens the puzzle map; tests replace it (the real one blocks).
    std::function<void(MainState&)> puzzle_reveal;
    // The 500 ms dissolve of the map view from one 479 x 480 picture to another, when the map comes
    // back; tests replace it (the real one blocks). The pictures stay the caller's.
    std::function<void(SDL_Texture* from, SDL_Texture* to)> map_dissolve;
    // Screens of other parts reached by hotkeys: scenario information (i; true when the player confirmed
    // a restart of the scenario) and the control panel (g; its answer, which the loop carries out).
    // Empty: the key does nothing. The options are applied again after the control panel returns.
    std::function<bool(MainState&)> scenario_info;
    std::function<ControlPanelResult(MainState&)> control_panel;
    // Asks the question of a string key, with the note that the running game is lost; true for yes.
    // Default: the map's own yes/no dialog.
    std::function<bool(MainState&, const char* question_key)> confirm;
    // The name to save under after s (empty: cancelled). Default: the date-stamped name.
    std::function<std::string(MainState&)> choose_save_name;
    // Tells the player `text`: the game was saved, or which file was not and why. Default: an
    // announcement on the map.
    std::function<void(MainState&, bool ok, const std::string& text)> report_saved;
    // The local time that dates the won campaign scenario's save (tests fix it). Empty: the clock.
    std::function<std::tm()> local_time;
    // A confirmed request that replaces the running game (new game, load); run after the frame's input.
    std::function<void(MainState&)> queued_action;
    // The title screen: the player's choice (quit flag: the program ends). Empty: n only restarts
    // the running game's map and l loads the newest save.
    std::function<NewGameConfig(MainState&)> front_end;
};

// The game objects of `m` (the game must be set up).
inline GameSession& game_of(MainState& m) { return *m.game; }

// Map-view rectangle and the whole screen.
constexpr SDL_Rect kMapViewArea{0, 0, 479, 480};
constexpr SDL_Rect kFullScreenArea{0, 0, 640, 480};

}  // namespace vorn1
