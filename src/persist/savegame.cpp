#include "persist/savegame.h"

#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "persist/load_fixups.h"
#include "persist/save_file.h"
#include "persist/save_paths.h"
#include "persist/save_sections.h"

namespace fs = std::filesystem;

namespace vorn1 {

namespace {

constexpr char kStandardMagic[] = "ZQSAVE";
constexpr char kCampaignMagic[] = "ZQCAMP";

struct LoadTexts {
    const char* op;
    const char* cannot_open;
    const char* too_small;
    const char* other_kind;   // the file is a save of the other kind
    const char* not_ours;
    const char* version_lead;
    const char* corrupt;
    const char* out_of_range;  // read whole, but a value cannot be played
    const char* too_large;
};

constexpr LoadTexts kStandardTexts{
    "load_game",
    "Cannot open save file.",
    "Save file is too small / truncated.",
    "This is a campaign save; load it from the Campaign menu.",
    "Not a Veldar save file.",
    "Save file version ",
    "Save file is corrupt (unexpected end of data).",
    "Save file is corrupt (a value is out of range).",
    "Save file is corrupt (larger than any save).",
};

constexpr LoadTexts kCampaignTexts{
    "load_campaign_game",
    "Cannot open campaign save file.",
    "Campaign save is too small / truncated.",
    "This is a standard save; load it from the Standard menu.",
    "Not a Veldar campaign save file.",
    "Campaign save version ",
    "Campaign save is corrupt (unexpected end of data).",
    "Campaign save is corrupt (a value is out of range).",
    "Campaign save is corrupt (larger than any save).",
};

// Bytes 6-7 of the header, which loaders before the mark never examined, are 1, 0 in a save that ends
// in the goal-progress byte: a save cut just before that byte is then told from a save without one.
constexpr uint8_t kGoalProgressMark = 1;

void w_magic(ByteWriter& w, const char* magic, bool goal_progress) {
    w.raw(reinterpret_cast<const uint8_t*>(magic), 6);
    w.u8(goal_progress ? kGoalProgressMark : 0);
    w.u8(0);
}

bool has_goal_progress_mark(const std::vector<uint8_t>& b) { return b[6] == kGoalProgressMark && b[7] == 0; }

bool has_magic(const std::vector<uint8_t>& b, const char* magic) { return std::memcmp(b.data(), magic, 6) == 0; }

// Only the last path component of the saved stem is used, so a save cannot point outside the
// maps folder.
std::string safe_map_stem(const std::string& stem) {
    const auto cut = stem.find_last_of("/\\");
    std::string s = cut == std::string::npos ? stem : stem.substr(cut + 1);
    if (s.empty() || s == "." || s == ".." || s.find('\0') != std::string::npos) return {};
    return s;
}

template <class Loader>
bool try_base_map(const char* op, const char* what, const std::string& path, Loader load, GameMap& out) {
    // The path comes from the save: a pipe or a device there must not stall or feed the loader.
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (!ec && fs::exists(st) && !fs::is_regular_file(st)) {
        std::cerr << op << ": " << what << " load failed (" << path << "): not a regular file\n";
        return false;
    }
    try {
        out = load(path);
        return true;
    } catch (const std::exception& e) {
        std::cerr << op << ": " << what << " load failed (" << path << "): " << e.what() << "\n";
        return false;
    }
}

GameMap saved_size_map(const GameState& s) {
    GameMap m;
    m.width = s.map_width;
    m.height = s.map_height;
    return m;
}

// Reads the image into `res`; the base map is found before the tiles are laid over it.
void parse_image(const std::vector<uint8_t>& bytes, bool campaign, const std::string& maps_dir, bool base_map,
                 LoadResult& res, const std::vector<uint8_t>* demo_map = nullptr) {
    const LoadTexts& t = campaign ? kCampaignTexts : kStandardTexts;
    if (bytes.size() < kSaveHeaderBytes) {
        res.error = t.too_small;
        return;
    }
    const char* own = campaign ? kCampaignMagic : kStandardMagic;
    const char* other = campaign ? kStandardMagic : kCampaignMagic;
    if (has_magic(bytes, other)) {
        res.error = t.other_kind;
        return;
    }
    if (!has_magic(bytes, own)) {
        res.error = t.not_ours;
        return;
    }
    ByteReader r(bytes);
    r.pos = 8;
    const uint32_t version = r.u32();
    const uint32_t expected = campaign ? kCampaignSaveVersion : kStandardSaveVersion;
    if (version != expected) {
        res.error = std::string(t.version_lead) + std::to_string(version) + " is not supported (expected " +
                    std::to_string(expected) + ").";
        return;
    }
    if (campaign) res.campaign_completed = r.u8() != 0;
    r_ng_cfg(r, res.config);
    if (campaign) r_campaign(r, res.config);
    int cp = 0;
    r_game_state(r, res.state, res.day, res.week, res.month, version, cp);
    res.current_player = cp;

    bool have_map = false;
    if (base_map && !r.fail) {
        if (campaign) {
            if (!res.config.campaign_map_path.empty())
                have_map = try_base_map(t.op, "base CMP", res.config.campaign_map_path, load_cmp, res.map);
        } else {
            const std::string stem = safe_map_stem(res.config.map_stem);
            if (!maps_dir.empty() && !stem.empty())
                have_map = try_base_map(t.op, "base map", (fs::path(maps_dir) / (stem + ".MAP")).string(), load_map,
                                        res.map);
            if (!have_map && !res.config.map_path.empty())
                have_map = try_base_map(t.op, "base map", res.config.map_path, load_map, res.map);
            // A game on the archive's demo map names no map file.
            if (!have_map && res.config.map_path.empty() && demo_map) {
                try {
                    res.map = load_map_bytes(*demo_map);
                    have_map = true;
                } catch (const std::exception& e) {
                    std::cerr << t.op << ": base map load failed (DEMO.MAP): " << e.what() << "\n";
                }
            }
        }
    }
    if (!have_map) {
        res.base_map_missing = base_map && !r.fail;
        if (res.base_map_missing)
            std::cerr << t.op << (campaign ? ": base CMP unavailable; using saved tiles only\n"
                                           : ": base map unavailable; using saved tiles only\n");
        res.map = saved_size_map(res.state);
    }
    r_tiles_overlay(r, res.map);
    res.map.name = res.state.map_name;

    PuzzleMapState scratch;
    if (r_puzzle(r, scratch)) {
        ByteWriter pw;
        w_puzzle(pw, &scratch);
        res.puzzle_bytes = std::move(pw.bytes);
        res.puzzle_present = true;
    }
    r_elim(r, res.elimination);
    r_goal_progress(r, res.state.victory, has_goal_progress_mark(bytes));

    if (r.fail) {
        res.error = t.corrupt;
        return;
    }
    if (!loaded_game_consistent(res.state, res.map, res.current_player)) {
        res.error = t.out_of_range;
        return;
    }
    // The goal is judged as the game will judge it: with the seats the saved records put out.
    PlayerEliminationState elim;
    restore_elimination_state(res.elimination, elim);
    GoalContext ctx = goal_context_of(elim, scratch);
    if (!res.puzzle_present) ctx.artifact_buried = true;  // the game sets up a new dig site
    res.mapless_goal = restore_unsaved_state(res.state, res.map, res.config, have_map, ctx);
    res.ok = true;
}

LoadResult load_file(const std::string& path, bool campaign, const std::string& maps_dir,
                     const std::vector<uint8_t>* demo_map = nullptr) {
    const LoadTexts& t = campaign ? kCampaignTexts : kStandardTexts;
    LoadResult res;
    std::vector<uint8_t> bytes;
    switch (read_file_bounded(path, kMaxSaveFileBytes, bytes)) {
        case ReadFileStatus::cannot_open: res.error = t.cannot_open; return res;
        case ReadFileStatus::too_large: res.error = t.too_large; return res;
        case ReadFileStatus::ok: break;
    }
    parse_image(bytes, campaign, maps_dir, true, res, demo_map);
    return res;
}

}  // namespace

std::vector<uint8_t> build_save_image(const GameState& state, const GameMap& map, const NewGameConfig& cfg, int day,
                                      int week, int month, const PuzzleMapState* puzzle, int current_player,
                                      const SavedEliminationState* elim) {
    ByteWriter w;
    w_magic(w, kStandardMagic, goal_progress_written(state.victory));
    w.u32(kStandardSaveVersion);
    w_ng_cfg(w, cfg);
    w_game_state(w, state, day, week, month, current_player);
    w_tiles(w, map);
    w_puzzle(w, puzzle);
    w_elim(w, elim);
    w_goal_progress(w, state.victory);
    return std::move(w.bytes);
}

std::vector<uint8_t> build_campaign_save_image(const GameState& state, const GameMap& map, const NewGameConfig& cfg,
                                               int day, int week, int month, const PuzzleMapState* puzzle,
                                               bool scenario_completed, const SavedEliminationState* elim) {
    ByteWriter w;
    w_magic(w, kCampaignMagic, goal_progress_written(state.victory));
    w.u32(kCampaignSaveVersion);
    w.flag(scenario_completed);
    w_ng_cfg(w, cfg);
    w_campaign(w, cfg);
    w_game_state(w, state, day, week, month, 0);
    w_tiles(w, map);
    w_puzzle(w, puzzle);
    w_elim(w, elim);
    w_goal_progress(w, state.victory);
    return std::move(w.bytes);
}

namespace {

// The folder of the save's kind, made when missing. When it cannot be (a file stands in its place,
// its parent refuses it) the reason is about the folder: the save itself was never there.
bool ready_save_folder(const std::string& path, bool campaign, SaveOutcome* outcome) {
    if (outcome) *outcome = SaveOutcome{false, path, {}, {}};
    std::string reason;
    if (campaign ? ensure_saved_camps_dir(&reason) : ensure_saved_games_dir(&reason)) return true;
    if (outcome) {
        outcome->reason = reason;
        outcome->reason_file = campaign ? saved_camps_dir() : saved_games_dir();
    }
    return false;
}

}  // namespace

bool save_game(const std::string& path, const GameState& state, const GameMap& map, const NewGameConfig& cfg, int day,
               int week, int month, const PuzzleMapState* puzzle, int current_player,
               const SavedEliminationState* elim, SaveOutcome* outcome) {
    if (!ready_save_folder(path, false, outcome)) {
        std::cerr << "save_game: cannot create saved_games dir\n";
        return false;
    }
    const std::vector<uint8_t> image =
        build_save_image(state, map, cfg, day, week, month, puzzle, current_player, elim);
    return write_file_atomic(path, image, {"save_game", "cannot open temp file for writing: "}, outcome);
}

bool save_campaign_game(const std::string& path, const GameState& state, const GameMap& map,
                        const NewGameConfig& cfg, int day, int week, int month, const PuzzleMapState* puzzle,
                        bool scenario_completed, const SavedEliminationState* elim, SaveOutcome* outcome) {
    if (!ready_save_folder(path, true, outcome)) {
        std::cerr << "save_campaign_game: cannot create saved_camps dir\n";
        return false;
    }
    const std::vector<uint8_t> image =
        build_campaign_save_image(state, map, cfg, day, week, month, puzzle, scenario_completed, elim);
    return write_file_atomic(path, image, {"save_campaign_game", "cannot open temp file: "}, outcome);
}

LoadResult load_game(const std::string& path, const std::string& maps_dir, const std::vector<uint8_t>* demo_map) {
    return load_file(path, false, maps_dir, demo_map);
}

LoadResult load_campaign_game(const std::string& path) { return load_file(path, true, std::string()); }

LoadResult load_game_image(const std::vector<uint8_t>& bytes, const std::string& maps_dir, bool base_map,
                           const std::vector<uint8_t>* demo_map) {
    LoadResult res;
    parse_image(bytes, false, maps_dir, base_map, res, demo_map);
    return res;
}

LoadResult load_campaign_game_image(const std::vector<uint8_t>& bytes, bool base_map) {
    LoadResult res;
    parse_image(bytes, true, std::string(), base_map, res);
    return res;
}

bool restore_puzzle_state(const LoadResult& result, PuzzleMapState& target) {
    if (!result.puzzle_present || result.puzzle_bytes.empty() || result.puzzle_bytes[0] == 0) return false;
    ByteReader r(result.puzzle_bytes);
    return r_puzzle(r, target);
}

SaveOutcome write_autosave(const AutosaveRequest& req) {
    SaveOutcome out;
    if (!req.state || !req.map || !req.config) return out;
    if (req.config->mode == MODE_CAMPAIGN)
        save_campaign_game(compose_campaign_save_path("autosave"), *req.state, *req.map, *req.config, req.day,
                           req.week, req.month, req.puzzle, false, req.elimination, &out);
    else
        save_game(compose_save_path("autosave"), *req.state, *req.map, *req.config, req.day, req.week, req.month,
                  req.puzzle, req.current_player, req.elimination, &out);
    return out;
}

}  // namespace vorn1
