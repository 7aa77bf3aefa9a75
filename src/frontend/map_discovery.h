#pragma once
// The scenario maps lying in the maps folder, with the few header facts the set-up screens show.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vorn1 {

struct MapFileInfo {
    std::string path;  // as passed to the reader
    std::string stem;  // file name without folder and last extension
    std::string name;  // English title from the header
    std::string description;
    uint8_t size = 0;        // 0 small, 1 medium, 2 and above large
    uint8_t difficulty = 0;  // 0 easy, 1 normal, 2 tough, 3 and above impossible
    int32_t players = 1;
    bool single_player = true;
    bool multiplayer = false;
};

// Stems of the maps looked for when the folder scan finds none, in order.
extern const std::array<const char*, 21> known_maps;

// Every regular file (links followed) of the folder whose upper-cased extension is ".MAP" and whose
// header is a map's (map_header_plausible), one level deep, sorted by name. A missing or unlistable
// folder gives an empty list.
std::vector<MapFileInfo> discover_maps(const std::string& folder);

// Whether the first `got` bytes of a file can be a map's header: the whole header is there, the
// width and height are at most 72 tiles, and the title is present and holds no control bytes. Junk
// that happens to end in ".MAP" fails it and stays out of the list.
bool map_header_plausible(const uint8_t* head, uint64_t got);

// The text of row `index` of a map list: the map's localised name, and beside it the file's name
// when another map of the list carries the same name, so that the two can be told apart.
std::string map_list_label(const std::vector<MapFileInfo>& maps, int index);

// The header facts of one map file; never fails (an unreadable file keeps the defaults).
MapFileInfo read_map_info(const std::string& path);

// The same over bytes already read (at most the header's 1354 are looked at; fewer count as
// zero-filled). `opened` false keeps the player facts at their defaults.
MapFileInfo map_info_from_bytes(const std::string& path, const uint8_t* data, uint64_t size, bool opened = true);

// The file name without folder ("/" or "\") and without its last extension.
std::string map_stem_of(const std::string& path);

// Player facts from the stem's last four digits (the letters before are not read).
void apply_stem_players(const std::string& stem, MapFileInfo& info);

// The built-in list under the archive folder (ending in its separator): each stem's
// folder + "maps/" + stem + ".MAP", kept only when its header gives a name.
std::vector<MapFileInfo> known_map_infos(const std::string& folder);

}  // namespace vorn1
