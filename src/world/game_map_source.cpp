#include "world/game_map_source.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>

#include "assets/agg.h"

namespace vorn1 {

namespace {

GameMap try_load(const char* what, const std::function<GameMap()>& load, bool& ok, std::string* why = nullptr) {
    ok = false;
    try {
        GameMap m = load();
        ok = m.has_tiles();
        if (!ok) {
            std::fprintf(stderr, "%s: no tiles\n", what);
            if (why) *why = "no tiles";
        }
        return m;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", what, e.what());
        if (why) *why = e.what();
    }
    return GameMap{};
}

// "name.MAP: reason" for the player; the folder is left out, the reason's own copy of it too.
std::string map_failure(const std::string& path, std::string reason) {
    const std::size_t at = reason.find(path);
    if (at != std::string::npos) reason.replace(at, path.size(), std::filesystem::path(path).filename().string());
    return std::filesystem::path(path).filename().string() + ": " + reason;
}

}  // namespace

GameMap load_game_map(const NewGameConfig& cfg, const AggArchive* archive, MapSource* source, std::string* failure) {
    bool ok = false;
    auto done = [&](MapSource s, GameMap&& m) {
        if (source) *source = s;
        return std::move(m);
    };
    std::string why;
    if (cfg.mode == MODE_CAMPAIGN && !cfg.campaign_map_path.empty()) {
        GameMap m = try_load("Campaign map", [&] { return load_cmp(cfg.campaign_map_path); }, ok, &why);
        if (ok) return done(MapSource::CampaignMap, std::move(m));
        if (failure && failure->empty()) *failure = map_failure(cfg.campaign_map_path, why);
    }
    if (!cfg.map_path.empty()) {
        GameMap m = try_load("Map", [&] { return load_map(cfg.map_path); }, ok, &why);
        if (ok) return done(MapSource::ChosenMap, std::move(m));
        if (failure && failure->empty()) *failure = map_failure(cfg.map_path, why);
    }
    if (archive && archive->has("DEMO.MAP")) {
        GameMap m = try_load("DEMO.MAP", [&] { return load_map_bytes(archive->get("DEMO.MAP"), "DEMO.MAP"); }, ok);
        if (ok) return done(MapSource::DemoMap, std::move(m));
    }
    return done(MapSource::Empty, make_empty_map());
}

}  // namespace vorn1
