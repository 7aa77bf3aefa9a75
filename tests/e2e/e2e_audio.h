// The program's sound as SDL's disk audio driver writes it: the device's output, sample after sample,
// in a file that a test reads back while the program runs.
#pragma once

#include <cstdint>
#include <vector>

#include "e2e_support.h"

namespace vorn1::e2e {

// The device the game opens: 22050 Hz, signed 16-bit samples, stereo (left, right interleaved).
constexpr int kAudioRate = 22050;
constexpr int kAudioChannels = 2;
constexpr int kAudioFrameBytes = 2 * kAudioChannels;

// Bytes of `seconds` of sound, whole frames.
uintmax_t audio_bytes(double seconds);

// Makes the folder's program play into a file beside it (set before the program starts).
struct DiskAudio {
    fs::path file;
    explicit DiskAudio(GameFolder& folder);
    // Bytes written so far: where the sound played from now on begins.
    uintmax_t written() const;
    // The samples from `offset` (down to a whole frame), at most `bytes` of them; fewer at the end of the file.
    std::vector<int16_t> read(uintmax_t offset, uintmax_t bytes) const;
    // What the program plays from now: `skip` seconds of sound are passed over (what was already on its way to
    // the device), then `seconds` of it are waited for and returned. StepFailed when they are not written
    // within `patience` seconds.
    std::vector<int16_t> listen(double skip, double seconds, double patience = kPatience) const;
};

// The share (0..1) of samples louder than `threshold`; 0 without samples.
double sounding_share(const std::vector<int16_t>& samples, int threshold = 64);
// The share (0..1) of the left channel's energy that a steady tone of `hz` carries; 0 for silence.
double tone_share(const std::vector<int16_t>& samples, double hz);

}  // namespace vorn1::e2e
