#pragma once
// Writers of the film formats the game plays: Smacker files (real code trees built from the
// frames' statistics, palettes, track 0 sound) and MP4 files through the FFmpeg encoders.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "datakit/datakit.h"

namespace vorn1::kit {

// One film frame: palette indices (width x height), an optional new palette of 6-bit
// components, and the frame's sound in the track's PCM format (8-bit unsigned or 16-bit signed
// little-endian, interleaved).
struct SmkFrameIn {
    std::vector<uint8_t> pixels;
    std::optional<std::array<uint8_t, 768>> palette6;
    std::vector<uint8_t> audio;
};

struct SmkFilm {
    char version = '2';  // '2' or '4'
    uint32_t width = 0;
    uint32_t height = 0;
    int32_t frame_rate = 100;  // > 0 milliseconds a frame, < 0 tens of microseconds, 0 the default
    uint32_t flags = 0;        // bit 0 ring frame (the last frame in `frames` is the ring record), 1 interlaced, 2 doubled
    uint32_t audio_rate = 0;   // 0: no track 0
    bool audio_16bit = false;
    bool audio_stereo = false;
    bool use_escapes = true;   // code repeated values through the trees' recent-value leaves
    bool full_blocks_only = false;  // every changed block as a full block (exercises the Full tree)
    uint32_t audio_claim = 0;  // not 0: every sound chunk declares this many unpacked bytes (a damaged film)
    std::vector<SmkFrameIn> frames;
};

// The whole file. Throws std::invalid_argument for frames of the wrong size.
Bytes write_smk(const SmkFilm& film);

// One track 0 audio chunk body as decode_audio takes it (u32 unpacked size, then the bits).
Bytes encode_smk_audio(const std::vector<uint8_t>& pcm, bool sixteen, bool stereo);

// A 6-bit palette of the kit's standard colours (index 0 black).
std::array<uint8_t, 768> smk_standard_palette6();

// A short film with a title drawn large over moving colour bands and a tone, as the demo data
// and the tests use: `seconds` long at 10 frames a second, 8-bit mono sound at 22050 Hz when
// `sound` is set.
SmkFilm demo_smk_film(const std::string& title, uint32_t width, uint32_t height, double seconds, bool sound,
                      char version = '2');

// A damaged film that lies about its length and its sound: 32 x 16 in one colour (6-bit 40, 20,
// 50), 8 frames of 2000 s each (the header claims 16,000 s) and a track at `rate` whose every chunk
// holds 512 samples of one value, so its trees cost no bits, and declares 64 MiB unpacked. 8-bit
// mono, or 16-bit stereo.
SmkFilm long_claimed_sound_film(bool sixteen_stereo, uint32_t rate = 22050);

// The films the game plays, written into ANIM_DIR (and "hintro.mp4" when an MP4 encoder is
// available). Returns false when a file could not be written.
bool write_demo_videos(const std::string& anim_dir);

// ---- MP4 through the FFmpeg libraries
enum class Mp4Sound { Aac, Flac, Vorbis };
struct Mp4Spec {
    int width = 320;
    int height = 240;
    int fps = 10;
    int frames = 20;            // 0: no video stream
    int audio_rate = 0;         // 0: no audio stream
    double audio_seconds = 0;   // length of the tone
    int audio_channels = 1;     // in the encoder's usual layout for that count (6: 5.1); AAC
                                // takes 16, Vorbis any count (9 to 15: a layout of no name)
    Mp4Sound audio_codec = Mp4Sound::Aac;
    int audio_packet = 0;       // sample frames a packet, for codecs that take any; 0: the encoder's own
};
// Writes a film of moving colour bars (frame f's top-left pixel is a colour that steps with f) and
// a 440 Hz tone in the first channel alone (the front left of a layout of more), so that a reader
// can tell whether the channels arrive where they belong. The container follows the file
// extension (".mp4", ".m4a", ".m4v"). Returns false with the reason in `why` when no encoder or
// muxer is available.
bool write_mp4(const std::string& path, const Mp4Spec& spec, std::string* why = nullptr);

// Seeds of the Smacker fuzz target: OUT/smk/*.
void write_smk_seeds(const std::string& out_dir);

}  // namespace vorn1::kit
