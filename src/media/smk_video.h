#pragma once
// Smacker film decoder: the whole file in memory, one decoded frame at a time (palette indices,
// RGBA and the frame's track 0 sound).
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vorn1 {

// 6-bit palette components to 8 bits, and the block run lengths of a type value.
extern const std::array<uint8_t, 64> k_palmap;
extern const std::array<int, 64> k_sizetable;

struct SmkFrame {
    std::vector<uint8_t> index;  // width x height palette indices, row-major
    std::vector<uint8_t> rgba;   // width x height x 4: R, G, B, 255
    int32_t frame_index = -1;    // -1: no frame (end of stream or not valid)
    std::vector<uint8_t> audio;  // track 0 PCM of this frame
};

class SmkVideo {
public:
    // Least significant bit of each byte first; reading past the end yields 0 bits and sets overrun.
    struct BitReader {
        const uint8_t* data = nullptr;
        size_t size = 0;
        size_t byte_pos = 0;
        int bit_pos = 0;
        bool overrun = false;

        BitReader() = default;
        BitReader(const uint8_t* d, size_t n) : data(d), size(n) {}
        uint32_t get_bit();
        // n bits, the first read as bit 0; n < 1 gives 0; at most 32.
        uint32_t get_bits(int n);
        bool at_end() const { return byte_pos >= size; }
    };

    // Byte-valued code tree.
    struct Huff8 {
        struct Node {
            int32_t child0 = -1;
            int32_t child1 = -1;
            int32_t value = -1;
            bool leaf = false;
        };
        std::vector<Node> nodes;
        int32_t root = -1;
        bool error = false;

        bool build(BitReader& br);
        bool build_audio(BitReader& br);
        int32_t build_rec(BitReader& br, int depth = 0);
        int32_t decode(BitReader& br) const;
        void make_single_leaf(int32_t value);
    };

    // 16-bit code tree as a flat prefix array with three recent-value (escape) leaves.
    struct Huff16 {
        static constexpr int32_t kCapacity = 262144;
        std::vector<int32_t> nodes;
        int32_t recent[3] = {-1, -1, -1};
        Huff8 low;
        Huff8 high;
        uint32_t escape[3] = {0, 0, 0};
        int32_t next_free = 0;
        bool error = false;

        bool build(BitReader& br);
        int32_t build_rec(BitReader& br, int depth = 0);
        int32_t decode(BitReader& br);
        void reset_recent();
    };

    bool load_file(const std::string& path);
    bool load_memory(std::vector<uint8_t> bytes);
    bool parse_header();
    void rewind();
    const SmkFrame& decode_next();
    // The next piece of the film's sound alone, for a pass that gathers it before the film plays:
    // the picture, the palette and the frame's indexed and RGBA pixels are left as they were. A
    // frame's chunk comes in pieces of `piece` bytes (one more where a 16-bit sample ends past it),
    // so no call unpacks more than that; the frame number advances once its chunk is done (rewind
    // before playing).
    const SmkFrame& decode_next_sound(uint64_t piece = UINT64_MAX);

    // Frame pieces, used by decode_next; public so they can be driven on their own.
    void decode_palette(const uint8_t* chunk, size_t length);
    void decode_video(const uint8_t* data, size_t length, std::vector<uint8_t>& image);
    void decode_audio(const uint8_t* chunk, size_t length, std::vector<uint8_t>& out);
    void expand_rgba(SmkFrame& frame) const;

    std::vector<uint8_t> file;
    bool valid = false;
    std::string error;
    bool version4 = false;
    uint32_t width = 0, height = 0, frame_count = 0;
    int32_t record_count = 0;
    double frame_period_us = 0.0;
    bool ring_frame = false, interlaced = false, doubled = false;
    uint32_t tree_block_size = 0, mmap_size = 0, mclr_size = 0, full_size = 0, type_size = 0;
    uint32_t audio_rate[7] = {};
    bool audio_decodable = false, audio_16bit = false, audio_stereo = false;
    uint32_t audio_sample_rate = 0;
    std::vector<uint32_t> frame_sizes;
    std::vector<uint8_t> frame_types;
    uint64_t data_offset = 0;
    Huff16 mmap_tree, mclr_tree, full_tree, type_tree;
    int32_t current_frame = 0;
    uint64_t next_pos = 0;
    // The most bytes one sound chunk may unpack: a player lowers it to what the film can still play,
    // as a damaged chunk can claim 64 MiB from a few bytes.
    uint64_t audio_room = UINT64_MAX;
    std::array<uint8_t, 768> palette{};
    std::vector<uint8_t> image;
    SmkFrame out;

private:
    // A track 0 chunk being unpacked: its bits, trees and the channels' last values, so that it can
    // be taken in pieces.
    struct SoundRun {
        BitReader br;
        Huff8 trees[4];
        bool active = false;
        bool stereo = false;
        bool sixteen = false;
        bool free = false;  // every tree a single leaf: each channel moves by a fixed step
        uint32_t limit = 0;  // bytes
        uint32_t end = 0;    // sample positions
        uint32_t next = 0;
        uint64_t room = 0;   // bytes the chunk's bits can encode at most
        int32_t val[2] = {0, 0};
    };
    SoundRun sound_run;

    const SmkFrame& next_frame(bool pictures, uint64_t piece);
    bool start_audio(const uint8_t* chunk, size_t length, SoundRun& run);
    void continue_audio(SoundRun& run, uint64_t piece, std::vector<uint8_t>& outb);
    void reset_all_recent();
    bool fail(const char* text);
};

}  // namespace vorn1
