// Smacker films as the players take them: a pass over the sound alone in pieces, then every frame
// (picture, palette, sound).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/smk_video.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vorn1::SmkVideo v;
    if (!v.load_memory(std::vector<uint8_t>(data, data + size))) return 0;
    // A chunk may claim 64 MiB from a few bytes; like the players, each pass unpacks no more sound
    // than its budget, here small enough that every input takes milliseconds.
    constexpr uint64_t kBudget = uint64_t{256} << 10;
    for (int pass = 0; pass < 2; ++pass) {
        uint64_t sound = 0;
        for (;;) {
            v.audio_room = kBudget - sound;
            const vorn1::SmkFrame& f = pass == 0 ? v.decode_next_sound(4096) : v.decode_next();
            if (f.frame_index < 0) break;
            sound += f.audio.size();
        }
        v.rewind();
    }
    return 0;
}
