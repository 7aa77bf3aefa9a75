// Smacker films: load, then decode every frame (picture, palette, sound).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/smk_video.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vorn1::SmkVideo v;
    if (!v.load_memory(std::vector<uint8_t>(data, data + size))) return 0;
    // A chunk may unpack to 64 MiB from a few bytes; the players cap a film's sound, so does this,
    // low enough that one input stays well inside the smoke run's per-input time limit on a busy
    // machine (every chunk is still decoded whole).
    size_t sound = 0;
    for (int pass = 0; pass < 2; ++pass) {
        while (sound < (size_t{8} << 20)) {
            const vorn1::SmkFrame& f = v.decode_next();
            if (f.frame_index < 0) break;
            sound += f.audio.size();
        }
        v.rewind();
    }
    return 0;
}
