#include "mainloop/game_files.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "assets/agg.h"
#include "frontend/frontend_driver.h"
#include "frontend/options_dialogs.h"
#include "lang/runtime_strings.h"
#include "mainloop/battle_launch.h"
#include "mainloop/frame_loop.h"
#include "mainloop/hero_move.h"
#include "mainloop/transitions.h"
#include "mainloop/turns.h"
#include "mainloop/victory_check.h"
#include "persist/save_dialogs.h"
#include "persist/save_paths.h"
#include "persist/savegame.h"

namespace vorn1 {

namespace fs = std::filesystem;

void confirm_then(MainState& m, const char* key, std::function<void(MainState&)> action) {
    if (!m.game) return;
    if (m.confirm) {
        if (m.confirm(m, key)) m.queued_action = std::move(action);
        return;
    }
    EventDef def;
    def.text = strings().get(key) + "\n" + strings().get("CP_CONFIRM_LOST");
    def.buttons = {EVENT_BUTTON_ACCEPT, EVENT_BUTTON_DECLINE};
    def.mode = 1;
    game_of(m).events.open_announcement(def, kFullScreenArea, [&m, action = std::move(action)](EventResult r) {
        // Not run here: the dialog's own event system may be part of what the action replaces.
        if (r.button == EVENT_BUTTON_ACCEPT) m.queued_action = action;
    });
}

bool confirm_over_map(MainState& m, const char* key) {
    if (!m.renderer || !m.res) return false;
    redraw_adventure_screen(m);  // the picture under the question is the map as it stands
    return confirm_over_snapshot(m.renderer, *m.res, m.fonts.def, key);
}

bool run_queued_game_action(MainState& m) {
    if (!m.queued_action) return false;
    const std::function<void(MainState&)> action = std::move(m.queued_action);
    m.queued_action = nullptr;
    action(m);
    return true;
}

SavedEliminationState refresh_before_save(GameSession& g) {
    store_selected_destination(g);
    store_hero_move_points(g);
    // The selected hero is marked, so that a loaded game selects it again.
    for (size_t i = 0; i < g.state.heroes.size(); ++i) g.state.heroes[i].selected_at_save = (int)i == g.loop.selected_hero;
    g.events.export_visits(g.state.visited_sites, g.state.visit_count_keys, g.state.visit_counts);
    return snapshot_elimination_state(g.elimination);
}

SaveOutcome save_running_game(MainState& m, const std::string& stem, bool completed) {
    GameSession& g = game_of(m);
    const SavedEliminationState elim = refresh_before_save(g);
    const LoopState& l = g.loop;
    SaveOutcome out;
    if (g.campaign)
        save_campaign_game(compose_campaign_save_path(stem), g.state, g.map, g.config, l.day, l.week, l.month,
                           &g.puzzle, completed, &elim, &out);
    else
        save_game(compose_save_path(stem), g.state, g.map, g.config, l.day, l.week, l.month, &g.puzzle,
                  l.current_player, &elim, &out);
    return out;
}

void save_game_now(MainState& m) {
    if (!m.game) return;
    stop_hero_movement(m);
    const std::string stem = m.choose_save_name ? m.choose_save_name(m) : default_save_stem();
    if (stem.empty()) return;  // the player cancelled
    report_save_result(m, save_running_game(m, stem));
}

void report_save_result(MainState& m, const SaveOutcome& outcome, bool autosave) {
    const std::string text = save_outcome_text(outcome, autosave);
    if (m.report_saved) {
        m.report_saved(m, outcome.ok, text);
        return;
    }
    if (!m.game) return;
    show_notice(game_of(m), text);
}

std::string newest_save_path() {
    std::string best;
    fs::file_time_type best_time{};
    for (const SaveFileInfo& f : list_save_files()) {
        std::error_code ec;
        const fs::file_time_type t = fs::last_write_time(f.path, ec);
        if (ec) continue;
        if (best.empty() || t > best_time) {
            best = f.path;
            best_time = t;
        }
    }
    return best;
}

void load_chosen_game(MainState& m) {
    NewGameConfig chosen;
    if (m.front_end) {
        // The running game stays until the chosen one is set up: a save that does not load loses nothing.
        chosen = m.front_end(m);
        if (chosen.quit) {
            m.quit = true;
            return;
        }
    } else {
        chosen.save_path = newest_save_path();
        if (chosen.save_path.empty()) return;
    }
    const std::string failure = start_chosen_game(m, chosen);
    if (failure.empty()) {
        m.campaign_days = 0;
        return;
    }
    if (!m.game) return;
    // The title screen halted every sound: the running game goes on with its own.
    resume_map_sounds(m);
    show_notice(game_of(m), failure);
}

namespace {

// The notice after a load whose base map is missing: the goal stays, is now every rival beaten, or can no
// longer be met.
std::string missing_map_text(MaplessGoal goal) {
    switch (goal) {
    case MaplessGoal::EveryRival:
        return strings().get_or("GAME_MAP_MISSING_GOAL",
                                "The map of this saved game is missing. Your goal is now to defeat every rival.");
    case MaplessGoal::Lost:
        return strings().get_or("GAME_MAP_MISSING_NO_GOAL",
                                "The map of this saved game is missing, and with it your goal: this game can no "
                                "longer be won.");
    case MaplessGoal::Stays: break;
    }
    return strings().get_or("GAME_MAP_MISSING",
                            "The map of this saved game is missing. The game goes on with the saved land; your goal "
                            "stays as it was.");
}

}  // namespace

void setup_loaded_game(MainState& m, LoadResult&& loaded) {
    end_game(m);
    m.game = std::make_unique<GameSession>();
    GameSession& g = *m.game;
    g.config = loaded.config;
    g.map = std::move(loaded.map);
    g.state = std::move(loaded.state);
    rebuild_monster_guard_map(g.map);
    g.campaign = g.config.mode == MODE_CAMPAIGN;
    g.hot_seat = g.config.mode == MODE_HOTSEAT;
    restore_elimination_state(loaded.elimination, g.elimination);
    if (!restore_puzzle_state(loaded, g.puzzle)) setup_puzzle_map(g.puzzle, g.map, m.now_ms | 1u);
    g.state.day = loaded.day;
    g.state.week = loaded.week;
    g.state.month = loaded.month;

    begin_session(m, true);
    // The visit records first: a turnover the load goes on with reads them.
    g.events.import_visits(g.state.visited_sites, g.state.visit_count_keys, g.state.visit_counts);
    std::fprintf(stdout, "Loaded save: %s (day %d)\n", g.map.name.c_str(), (int)g.state.day);
    resume_loaded_game(m, loaded.current_player);
    if (g.campaign && loaded.campaign_completed) {
        g.resumed_completed = true;
        g.game_won = 2;
        std::fprintf(stdout, "Resumed campaign autosave: completed scenario %d (day %d)\n",
                     (int)g.config.scenario_index + 1, (int)g.state.day);
    } else if (loaded.base_map_missing) {
        g.base_map_missing = true;
        // The scenario information shows the goal as it now stands, in this and any later save.
        if (loaded.mapless_goal != MaplessGoal::Stays) g.config.description = missing_map_text(loaded.mapless_goal);
        // Told once; it queues behind whatever the opening turn tells first.
        show_notice(g, missing_map_text(loaded.mapless_goal));
    } else if (!goal_decided(g) && !goal_still_open(g.state, goal_context(g))) {
        // An older save of a game nobody in play can win any more (one set up before such a start was
        // refused) would otherwise play on for ever without a word.
        show_notice(g, strings().get_or("GAME_NO_GOAL_LEFT",
                                        "No player in this game can still meet its goal: this game can no longer be "
                                        "won."));
    }
}

NewGameConfig scenario_info_config(const GameSession& g) {
    NewGameConfig shown = g.config;
    if (g.base_map_missing) shown.map_stem.clear();
    return shown;
}

void start_new_game(MainState& m) {
    if (m.front_end) {
        end_game(m);
        return;
    }
    const NewGameConfig cfg = m.game ? game_of(m).config : NewGameConfig{};
    std::string why;
    if (setup_game(m, cfg, m.archive, m.now_ms | 1u, &why) || !m.game) return;
    show_notice(game_of(m), failure_with_reason(map_load_failed_text(), why));
}

std::string map_load_failed_text() {
    // Catalogues of the classic data have no text of their own for it.
    return strings().get_or("GAME_MAP_LOAD_FAILED", "The map could not be loaded.");
}

std::string failure_with_reason(const std::string& text, const std::string& reason) {
    return reason.empty() ? text : text + "\n" + reason;
}

std::string start_chosen_game(MainState& m, const NewGameConfig& config) {
    if (config.mode == MODE_CAMPAIGN && config.save_path.empty() && config.campaign_map_path.empty())
        return map_load_failed_text();
    if (config.save_path.empty()) {
        std::string why;
        return setup_game(m, config, m.archive, m.now_ms | 1u, &why) ? std::string()
                                                                    : failure_with_reason(map_load_failed_text(), why);
    }
    const std::string maps_dir = front_end_folder() + "maps";
    std::vector<uint8_t> demo_map;
    if (m.archive && m.archive->has("DEMO.MAP")) demo_map = m.archive->get("DEMO.MAP");
    LoadResult loaded = config.mode == MODE_CAMPAIGN
                            ? load_campaign_game(config.save_path)
                            : load_game(config.save_path, maps_dir, demo_map.empty() ? nullptr : &demo_map);
    if (!loaded.ok) {
        std::fprintf(stderr, "Load failed: %s\n", loaded.error.c_str());
        // Which file, and the loader's reason (cut short, a campaign save in the standard list, ...).
        return failure_with_reason(strings().get("GAME_LOAD_FAILED"),
                                   fs::path(config.save_path).filename().string() + ": " + loaded.error);
    }
    setup_loaded_game(m, std::move(loaded));
    return std::string();
}

}  // namespace vorn1
