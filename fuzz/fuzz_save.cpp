// Fuzzes the save loaders on in-memory images (no map file is read).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "persist/savegame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    const vorn1::LoadResult s = vorn1::load_game_image(bytes, "", false);
    const vorn1::LoadResult c = vorn1::load_campaign_game_image(bytes, false);
    if (s.ok) {
        // A loaded game writes back and loads again.
        vorn1::PuzzleMapState p;
        const bool has_puzzle = vorn1::restore_puzzle_state(s, p);
        const auto again = vorn1::load_game_image(
            vorn1::build_save_image(s.state, s.map, s.config, s.day, s.week, s.month, has_puzzle ? &p : nullptr,
                                    s.current_player, &s.elimination),
            "", false);
        if (!again.ok) __builtin_trap();
    }
    (void)c;
    return 0;
}
