#pragma once
// Saving a running game to a file and loading one back.
#include <cstdint>
#include <string>
#include <vector>

#include "adventure/player_elimination.h"
#include "adventure/puzzle_map_state.h"
#include "persist/save_file.h"
#include "world/game_setup.h"
#include "world/game_state.h"
#include "world/map.h"
#include "world/new_game_config.h"

namespace vorn1 {

constexpr uint32_t kStandardSaveVersion = 7;
constexpr uint32_t kCampaignSaveVersion = 8;
// Real saves are a few hundred kilobytes; anything beyond this is refused unread.
constexpr uint64_t kMaxSaveFileBytes = 16ull * 1024 * 1024;

// What a load hands back. Only ok == true may be used; nothing is applied before that.
struct LoadResult {
    bool ok = false;
    std::string error;
    GameState state;
    GameMap map;
    NewGameConfig config;
    int32_t day = 1, week = 1, month = 1;
    int32_t current_player = 0;
    bool puzzle_present = false;
    std::vector<uint8_t> puzzle_bytes;   // the puzzle section, presence byte 1 first
    bool campaign_completed = false;
    SavedEliminationState elimination;
    // The base map was sought and not found: the saved tiles alone make the map, and the player is told.
    bool base_map_missing = false;
    // Without a base map: whether the goal stays, is now every rival beaten, or can no longer be met.
    MaplessGoal mapless_goal = MaplessGoal::Stays;
};

// The whole image of a save, as the writers put it on disk.
std::vector<uint8_t> build_save_image(const GameState& state, const GameMap& map, const NewGameConfig& cfg, int day,
                                      int week, int month, const PuzzleMapState* puzzle, int current_player,
                                      const SavedEliminationState* elim);
std::vector<uint8_t> build_campaign_save_image(const GameState& state, const GameMap& map, const NewGameConfig& cfg,
                                               int day, int week, int month, const PuzzleMapState* puzzle,
                                               bool scenario_completed, const SavedEliminationState* elim);

// Both write through "<path>.tmp" and a rename: false (with one error line) leaves the old file;
// `outcome` (when given) tells what became of the file, and why it was not written.
bool save_game(const std::string& path, const GameState& state, const GameMap& map, const NewGameConfig& cfg, int day,
               int week, int month, const PuzzleMapState* puzzle, int current_player,
               const SavedEliminationState* elim, SaveOutcome* outcome = nullptr);
bool save_campaign_game(const std::string& path, const GameState& state, const GameMap& map,
                        const NewGameConfig& cfg, int day, int week, int month, const PuzzleMapState* puzzle,
                        bool scenario_completed, const SavedEliminationState* elim, SaveOutcome* outcome = nullptr);

// maps_dir: folder of the scenario maps (may be empty); demo_map: the archive's "DEMO.MAP" image, the base
// map of a save that names no map file. Never throws for a bad file.
LoadResult load_game(const std::string& path, const std::string& maps_dir,
                     const std::vector<uint8_t>* demo_map = nullptr);
LoadResult load_campaign_game(const std::string& path);
// The same on an image already in memory; without base_map the saved tiles alone make the map
// (no map file is read).
LoadResult load_game_image(const std::vector<uint8_t>& bytes, const std::string& maps_dir, bool base_map = true,
                           const std::vector<uint8_t>* demo_map = nullptr);
LoadResult load_campaign_game_image(const std::vector<uint8_t>& bytes, bool base_map = true);

// Hands the loaded puzzle to the live one; false (target untouched) when the save had none.
bool restore_puzzle_state(const LoadResult& result, PuzzleMapState& target);

// Everything the end-of-day autosave needs from the frame loop, gathered by it just before the
// day turns (visit records exported, elimination snapshot taken, hero trailing fields refreshed).
struct AutosaveRequest {
    const GameState* state = nullptr;
    const GameMap* map = nullptr;
    const NewGameConfig* config = nullptr;
    int day = 1, week = 1, month = 1;
    int current_player = 0;
    const PuzzleMapState* puzzle = nullptr;
    const SavedEliminationState* elimination = nullptr;
};
// Writes "autosave" into the folder of the game's kind.
SaveOutcome write_autosave(const AutosaveRequest& req);

}  // namespace vorn1
