#include "frontend/map_discovery.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "frontend/localized_texts.h"
#include "world/map.h"

namespace vorn1 {

const std::array<const char*, 21> known_maps{
    "AES31000", "BEM20234", "CNM51234", "DNL31234", "ENS11234", "FEL60234", "GHM41000",
    "HNM11234", "INM61234", "JEM70234", "KNS21234", "LNS41234", "MIS71200", "NHL51000",
    "ONL71234", "PNM31234", "QNL11234", "RNL41234", "SEL21234", "THS51000", "UHS61200"};

std::string map_stem_of(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.resize(dot);
    return name;
}

void apply_stem_players(const std::string& stem, MapFileInfo& info) {
    info.single_player = true;
    info.players = 1;
    info.multiplayer = false;
    if (stem.size() <= 3) return;
    const std::string digits = stem.substr(stem.size() - 4);
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) return;
    info.single_player = digits[0] != '0';
    int most = 1;
    for (char c : digits) most = std::max(most, c - '0');
    info.players = most;
    info.multiplayer = most > 1;
}

MapFileInfo map_info_from_bytes(const std::string& path, const uint8_t* data, uint64_t size, bool opened) {
    MapFileInfo info;
    info.path = path;
    info.stem = map_stem_of(path);
    if (!opened) return info;
    std::array<uint8_t, MAP_HEADER_SIZE> head{};
    if (data) std::copy_n(data, std::min<uint64_t>(size, head.size()), head.begin());
    MapHeaderInfo hdr;
    if (read_map_header(head.data(), head.size(), hdr)) {
        info.difficulty = hdr.difficulty;
        info.size = hdr.size_class;
        info.name = hdr.name;
        info.description = hdr.description;
    }
    apply_stem_players(info.stem, info);
    return info;
}

bool map_header_plausible(const uint8_t* head, uint64_t got) {
    if (!head || got < (uint64_t)MAP_HEADER_SIZE) return false;
    const auto dimension_ok = [](uint8_t d) { return d <= MAP_MAX_DIM; };  // 0 stands for 72
    if (!dimension_ok(head[MAP_OFS_WIDTH]) || !dimension_ok(head[MAP_OFS_HEIGHT])) return false;
    if (head[MAP_OFS_NAME] == 0) return false;
    for (int i = 0; i < 15 && head[MAP_OFS_NAME + i] != 0; ++i) {
        const uint8_t c = head[MAP_OFS_NAME + i];
        // Only control bytes: in the code pages of the classic maps every byte from 0x80 up is a letter.
        if (c < 0x20 || c == 0x7F) return false;
    }
    return true;
}

std::string map_list_label(const std::vector<MapFileInfo>& maps, int index) {
    if (index < 0 || index >= (int)maps.size()) return std::string();
    const MapFileInfo& m = maps[(size_t)index];
    const std::string name = localized_map_name(m.stem, m.name);
    for (int i = 0; i < (int)maps.size(); ++i) {
        if (i == index || localized_map_name(maps[(size_t)i].stem, maps[(size_t)i].name) != name) continue;
        const std::size_t slash = m.path.find_last_of("/\\");
        return name + " (" + (slash == std::string::npos ? m.path : m.path.substr(slash + 1)) + ")";
    }
    return name;
}

namespace {

// The first header's worth of a file's bytes; the count read, or -1 when the file does not open.
long read_map_head(const std::string& path, std::array<uint8_t, MAP_HEADER_SIZE>& head) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!f) return -1;
    return (long)std::fread(head.data(), 1, head.size(), f.get());
}

}  // namespace

MapFileInfo read_map_info(const std::string& path) {
    std::array<uint8_t, MAP_HEADER_SIZE> head{};
    const long got = read_map_head(path, head);
    if (got < 0) return map_info_from_bytes(path, nullptr, 0, false);
    return map_info_from_bytes(path, head.data(), (uint64_t)got);
}

std::vector<MapFileInfo> discover_maps(const std::string& folder) {
    namespace fs = std::filesystem;
    std::vector<MapFileInfo> out;
    std::error_code ec;
    if (!fs::exists(folder, ec)) return out;
    fs::directory_iterator it(folder, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::error_code st;
        if (!it->is_regular_file(st)) continue;  // follows links
        std::string ext = it->path().extension().string();
        for (char& c : ext) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
        if (ext != ".MAP") continue;
        const std::string path = it->path().string();
        std::array<uint8_t, MAP_HEADER_SIZE> head{};
        const long got = read_map_head(path, head);
        if (got < 0 || !map_header_plausible(head.data(), (uint64_t)got)) continue;
        out.push_back(map_info_from_bytes(path, head.data(), (uint64_t)got));
    }
    std::sort(out.begin(), out.end(), [](const MapFileInfo& a, const MapFileInfo& b) { return a.name < b.name; });
    return out;
}

std::vector<MapFileInfo> known_map_infos(const std::string& folder) {
    std::vector<MapFileInfo> out;
    for (const char* stem : known_maps) {
        MapFileInfo info = read_map_info(folder + "maps/" + stem + ".MAP");
        if (!info.name.empty()) out.push_back(std::move(info));
    }
    return out;
}

}  // namespace vorn1
