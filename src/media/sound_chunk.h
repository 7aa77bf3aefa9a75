#pragma once
// Raw PCM sounds (archive entries and loose files) turned into mixer chunks.
#include <cstdint>
#include <string>
#include <vector>

struct Mix_Chunk;

namespace vorn1 {

class AggArchive;

// The stored sound formats, all at 22050 samples per second. Any other value counts as 0.
enum VornAudioFmt : int {
    VORN_FMT_82M = 0,  // mono, signed 8-bit
    VORN_FMT_82S = 1,  // stereo, signed 8-bit
    VORN_FMT_62S = 2,  // stereo, signed 16-bit little-endian
};

// Largest raw sound accepted: bigger files or entries are treated as not loadable, so a damaged
// size can neither exhaust memory nor overflow the 32-bit sizes of the WAVE header.
inline constexpr uint64_t kMaxRawSoundBytes = 256ull << 20;

// Writes the 44-byte RIFF/WAVE header and the samples of `raw` into `wav` (8-bit samples turned
// from signed into unsigned). Returns false, leaving `wav` empty, for an empty or oversized buffer.
bool build_vorn1_wav(const std::vector<uint8_t>& raw, VornAudioFmt fmt, std::vector<uint8_t>& wav);

// The chunk read from the WAVE image that build_vorn1_wav writes into `wav`, which the caller keeps
// beside the chunk; null (and `wav` empty) on any failure, also when audio is not open.
Mix_Chunk* load_vorn1_chunk(const std::vector<uint8_t>& raw, VornAudioFmt fmt, std::vector<uint8_t>& wav);

// The best loose sound file for a stem: .62S, then .82S, then .82M; the name as given, then
// lower-cased; in dir + "../SOUND/", dir + "SOUND/", then dir. The format follows the extension.
// `found_name`, when given, receives the file name that loaded.
Mix_Chunk* load_best_sound_from_disk(const std::string& dir, const std::string& stem, std::vector<uint8_t>& wav,
                                     std::string* found_name);

// Reads a whole loose sound file; empty when it cannot be opened, is empty or is too large.
std::vector<uint8_t> read_sound_file(const std::string& path);

// An archive entry as a format-0 chunk: the name as given, else lower-cased. `found` (when given)
// tells whether either entry existed, so callers can tell a missing sound from a broken one.
Mix_Chunk* load_archive_chunk(const AggArchive* archive, const std::string& name, std::vector<uint8_t>& wav,
                              bool* found = nullptr);

// Frees a chunk (when not null), nulls the pointer and releases the bytes that backed it.
void free_sound(Mix_Chunk*& chunk, std::vector<uint8_t>& wav);

}  // namespace vorn1
