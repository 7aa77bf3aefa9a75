#include "adventure/puzzle_map_state.h"

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

#include "events/event_actions.h"
#include "world/game_state.h"
#include "world/map.h"
#include "world/tile_rules.h"

namespace vorn1 {

int32_t obelisk_key(int x, int y) {
    return static_cast<int32_t>(static_cast<int64_t>(x) + static_cast<int64_t>(y) * 100);
}

void reset_puzzle_map(PuzzleMapState& p) {
    p = PuzzleMapState{};
}

void setup_puzzle_pieces(PuzzleMapState& p, int obelisk_count, uint32_t seed) {
    p.obelisk_count = std::max(0, obelisk_count);
    std::iota(p.pieces.begin(), p.pieces.end(), 0);
    std::mt19937 mt(seed);
    // Fisher-Yates with our own index draw so the order does not depend on the library's
    // shuffle implementation.
    for (int i = kPuzzlePieces - 1; i > 0; --i) {
        const int j = static_cast<int>(mt() % static_cast<uint32_t>(i + 1));
        std::swap(p.pieces[i], p.pieces[j]);
    }
    p.active = true;
}

void setup_puzzle_map(PuzzleMapState& p, const GameMap& map, uint32_t seed) {
    reset_puzzle_map(p);
    int obelisks = 0;
    std::vector<int> sites;
    if (map.has_tiles()) {
        for (int y = 0; y < map.height; ++y)
            for (int x = 0; x < map.width; ++x) {
                const MapTile& t = *map.tile(x, y);
                if (t.object_type == kObeliskType) ++obelisks;
                if (t.object_type == 0 && t.is_clear_landing_tile()) sites.push_back(y * map.width + x);
            }
    }
    setup_puzzle_pieces(p, obelisks, seed);
    std::mt19937 mt(seed ^ 0x9E3779B9u);
    p.ultimate_artifact = static_cast<uint8_t>(mt() % 4);
    if (!sites.empty()) {
        const int s = sites[mt() % sites.size()];
        p.dig_x = s % map.width;
        p.dig_y = s / map.width;
    }
}

int puzzle_pieces_revealed(const PuzzleMapState& p, int player) {
    if (player < 0 || player > 3) return 0;
    const int64_t seen = std::max<int32_t>(0, p.visited_count[player]);
    if (p.obelisk_count <= 0) return seen > 0 ? kPuzzlePieces : 0;
    const int64_t n = seen * kPuzzlePieces / p.obelisk_count;
    return static_cast<int>(std::min<int64_t>(n, kPuzzlePieces));
}

bool puzzle_piece_revealed(const PuzzleMapState& p, int player, int piece) {
    if (piece < 0 || piece >= kPuzzlePieces) return false;
    return p.pieces[piece] < puzzle_pieces_revealed(p, player);
}

bool on_obelisk_visited(PuzzleMapState& p, int player, int x, int y) {
    if (player < 0 || player > 3) return false;
    uint8_t& mask = p.visited_obelisks[obelisk_key(x, y)];
    const uint8_t bit = static_cast<uint8_t>(1u << player);
    if (mask & bit) return false;
    mask |= bit;
    const int before = puzzle_pieces_revealed(p, player);
    if (p.visited_count[player] < INT32_MAX) ++p.visited_count[player];
    return puzzle_pieces_revealed(p, player) > before;
}

DigResult dig_for_artifact(PuzzleMapState& p, GameState& state, const GameMap& map, int hero, int& mp_left) {
    if (!state.valid_hero(hero)) return DigResult::NoHero;
    HeroState& h = state.heroes[(size_t)hero];
    if (!h.live || !is_player_index(h.owner)) return DigResult::NoHero;
    const MapTile* t = map.tile(h.x, h.y);
    if (!t || h.on_boat || !t->is_land() || t->object_type != 0) return DigResult::NotHere;
    if (mp_left < compute_hero_max_mp(state, map, hero)) return DigResult::NoPoints;
    const bool site = !p.artifact_awarded && h.x == p.dig_x && h.y == p.dig_y;
    if (site && h.free_artifact_slot() < 0) return DigResult::NoRoom;
    mp_left = 0;
    if (!site) return DigResult::Nothing;
    give_artifact(h, p.ultimate_artifact);
    p.artifact_awarded = true;
    return DigResult::Found;
}

}  // namespace vorn1
