#include "media/smk_video.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <numeric>

namespace vorn1 {

const std::array<uint8_t, 64> k_palmap = {
    0x00, 0x04, 0x08, 0x0C, 0x10, 0x14, 0x18, 0x1C, 0x20, 0x24, 0x28, 0x2C, 0x30, 0x34, 0x38, 0x3C,
    0x41, 0x45, 0x49, 0x4D, 0x51, 0x55, 0x59, 0x5D, 0x61, 0x65, 0x69, 0x6D, 0x71, 0x75, 0x79, 0x7D,
    0x82, 0x86, 0x8A, 0x8E, 0x92, 0x96, 0x9A, 0x9E, 0xA2, 0xA6, 0xAA, 0xAE, 0xB2, 0xB6, 0xBA, 0xBE,
    0xC3, 0xC7, 0xCB, 0xCF, 0xD3, 0xD7, 0xDB, 0xDF, 0xE3, 0xE7, 0xEB, 0xEF, 0xF3, 0xF7, 0xFB, 0xFF,
};

const std::array<int, 64> k_sizetable = {
    1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16,  17,  18,  19,  20,   21,   22,
    23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38,  39,  40,  41,  42,   43,   44,
    45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 128, 256, 512, 1024, 2048,
};

namespace {

constexpr size_t kHeaderSize = 104;
// Paths of this many bits or more are never decoded, so deeper trees are damaged data; the limit
// also bounds the recursion of the tree builds.
constexpr int kMaxCodeBits = 64;
constexpr uint32_t kMaxAudioChunk = 67108864;
constexpr uint32_t kInnerBit = 0x80000000u;

// `count` sample positions from `first` on, of a chunk whose trees are all single leaves: each
// channel moves by its own fixed step, little-endian bytes out. Such a sequence repeats within a
// period of at most 256 (8-bit) or 65536 (16-bit) steps a channel: one period is written sample by
// sample and the rest copied from it. `val` ends at each channel's last value.
template <typename T>
void fill_steps(T (&val)[2], const T (&step)[2], bool stereo, uint32_t first, uint32_t count, uint8_t* out) {
    constexpr uint32_t kBytes = sizeof(T);
    constexpr uint32_t kRange = uint32_t{1} << (8 * sizeof(T));
    const int channels = stereo ? 2 : 1;
    uint32_t period = 1;
    for (int c = 0; c < channels; ++c) period = std::max(period, kRange / std::gcd<uint32_t>(step[c], kRange));
    period *= static_cast<uint32_t>(channels);
    const uint32_t by_hand = std::min(count, period);
    T v[2] = {val[0], val[1]};
    uint8_t* p = out;
    for (uint32_t k = 0; k < by_hand; ++k) {
        const uint32_t c = stereo ? ((first + k) & 1u) : 0;
        v[c] = static_cast<T>(v[c] + step[c]);
        for (uint32_t b = 0; b < kBytes; ++b) *p++ = static_cast<uint8_t>(v[c] >> (8 * b));
    }
    const size_t total = size_t{count} * kBytes;
    for (size_t done = size_t{by_hand} * kBytes; done < total;) {
        const size_t n = std::min(done, total - done);
        std::memcpy(out + done, out, n);
        done += n;
    }
    for (int c = 0; c < channels; ++c) {
        const uint64_t moves = !stereo ? count : ((first & 1u) == static_cast<uint32_t>(c) ? (count + 1) / 2 : count / 2);
        val[c] = static_cast<T>(val[c] + moves * step[c]);
    }
}

uint32_t rd32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

// ---- bit reader

uint32_t SmkVideo::BitReader::get_bit() {
    if (byte_pos >= size) {
        overrun = true;
        return 0;
    }
    const uint32_t b = (data[byte_pos] >> bit_pos) & 1u;
    if (++bit_pos == 8) {
        bit_pos = 0;
        ++byte_pos;
    }
    return b;
}

uint32_t SmkVideo::BitReader::get_bits(int n) {
    if (n < 1) return 0;
    n = std::min(n, 32);
    uint32_t v = 0;
    for (int i = 0; i < n; ++i) {
        if (byte_pos >= size) {
            overrun = true;
            return v;
        }
        v |= get_bit() << i;
    }
    return v;
}

// ---- byte trees

void SmkVideo::Huff8::make_single_leaf(int32_t value) {
    nodes.assign(1, Node{-1, -1, value, true});
    root = 0;
    error = false;
}

int32_t SmkVideo::Huff8::build_rec(BitReader& br, int depth) {
    if (br.overrun || error || depth >= kMaxCodeBits) {
        error = true;
        return -1;
    }
    const int32_t index = static_cast<int32_t>(nodes.size());
    nodes.push_back(Node{});
    if (br.get_bit()) {
        const int32_t c0 = build_rec(br, depth + 1);
        nodes[static_cast<size_t>(index)].child0 = c0;
        const int32_t c1 = build_rec(br, depth + 1);
        nodes[static_cast<size_t>(index)].child1 = c1;
    } else {
        Node& n = nodes[static_cast<size_t>(index)];
        n.leaf = true;
        n.value = static_cast<int32_t>(br.get_bits(8));
    }
    return index;
}

bool SmkVideo::Huff8::build(BitReader& br) {
    nodes.clear();
    root = -1;
    error = false;
    if (br.get_bit()) {
        root = build_rec(br, 0);
        br.get_bit();
        return !error && root >= 0;
    }
    make_single_leaf(0);
    return true;
}

bool SmkVideo::Huff8::build_audio(BitReader& br) {
    nodes.clear();
    root = -1;
    error = false;
    root = build_rec(br, 0);
    br.get_bit();
    if (root < 0 || error) make_single_leaf(0);
    return true;
}

int32_t SmkVideo::Huff8::decode(BitReader& br) const {
    if (root < 0) return -1;
    int32_t n = root;
    int steps = 0;
    while (!nodes[static_cast<size_t>(n)].leaf) {
        if (steps >= kMaxCodeBits - 1) return -1;
        const Node& node = nodes[static_cast<size_t>(n)];
        n = br.get_bit() ? node.child1 : node.child0;
        if (n < 0) return -1;
        ++steps;
    }
    return nodes[static_cast<size_t>(n)].value;
}

// ---- 16-bit trees

int32_t SmkVideo::Huff16::build_rec(BitReader& br, int depth) {
    const int32_t i = next_free;
    if (br.overrun || error || depth >= kMaxCodeBits || i >= kCapacity) {
        error = true;
        return -1;
    }
    if (br.get_bit()) {
        next_free = i + 1;
        const int32_t a = build_rec(br, depth + 1);
        if (a < 0) return -1;
        nodes[static_cast<size_t>(i)] = static_cast<int32_t>(static_cast<uint32_t>(a) | kInnerBit);
        const int32_t b = build_rec(br, depth + 1);
        if (b < 0) return -1;
        return a + b + 1;
    }
    const int32_t lo = low.decode(br);
    const int32_t hi = high.decode(br);
    if (lo < 0 || hi < 0) {
        error = true;
        return -1;
    }
    int32_t value = hi * 256 + lo;
    for (int k = 0; k < 3; ++k) {
        if (static_cast<uint32_t>(value) == escape[k]) {
            recent[k] = i;
            value = 0;
            break;
        }
    }
    nodes[static_cast<size_t>(i)] = value;
    next_free = i + 1;
    return 1;
}

bool SmkVideo::Huff16::build(BitReader& br) {
    nodes.clear();
    recent[0] = recent[1] = recent[2] = -1;
    error = false;
    escape[0] = escape[1] = escape[2] = 0;
    next_free = 0;
    if (!br.get_bit()) {
        nodes.assign(1, 0);
        recent[0] = recent[1] = recent[2] = 0;
        return true;
    }
    if (!low.build(br)) error = true;
    if (!high.build(br)) error = true;
    for (uint32_t& e : escape) e = br.get_bits(16);
    nodes.assign(static_cast<size_t>(kCapacity), 0);
    if (build_rec(br, 0) < 0 || error) {
        nodes.clear();
        nodes.shrink_to_fit();
        return false;
    }
    br.get_bit();
    nodes.resize(static_cast<size_t>(std::max(next_free, 1)));
    nodes.shrink_to_fit();
    for (int32_t& r : recent) {
        if (r < 0) {
            r = static_cast<int32_t>(nodes.size());
            nodes.push_back(0);
        }
    }
    return true;
}

int32_t SmkVideo::Huff16::decode(BitReader& br) {
    if (nodes.empty()) return -1;
    const size_t n = nodes.size();
    size_t pos = 0;
    int steps = 0;
    while (nodes[pos] < 0) {
        if (steps >= kMaxCodeBits) return -1;
        const size_t step = br.get_bit() ? (static_cast<uint32_t>(nodes[pos]) & ~kInnerBit) + size_t{1} : 1;
        pos += step;
        if (pos >= n) return -1;
        ++steps;
    }
    const int32_t v = nodes[pos];
    if (recent[0] >= 0 && v != nodes[static_cast<size_t>(recent[0])]) {
        nodes[static_cast<size_t>(recent[2])] = nodes[static_cast<size_t>(recent[1])];
        nodes[static_cast<size_t>(recent[1])] = nodes[static_cast<size_t>(recent[0])];
        nodes[static_cast<size_t>(recent[0])] = v;
    }
    return v;
}

void SmkVideo::Huff16::reset_recent() {
    for (int32_t r : recent)
        if (r >= 0 && static_cast<size_t>(r) < nodes.size()) nodes[static_cast<size_t>(r)] = 0;
}

// ---- container

bool SmkVideo::fail(const char* text) {
    error = text;
    return false;
}

void SmkVideo::reset_all_recent() {
    mmap_tree.reset_recent();
    mclr_tree.reset_recent();
    full_tree.reset_recent();
    type_tree.reset_recent();
}

bool SmkVideo::load_file(const std::string& path) {
    valid = false;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return fail(("cannot open file: " + path).c_str());
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return fail(("cannot open file: " + path).c_str());
    long size = -1;
    if (std::fseek(f, 0, SEEK_END) == 0) size = std::ftell(f);
    if (size <= 0) {
        std::fclose(f);
        return fail("empty file");
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    const bool ok = std::fseek(f, 0, SEEK_SET) == 0 && std::fread(bytes.data(), 1, bytes.size(), f) == bytes.size();
    std::fclose(f);
    if (!ok) return fail("short read");
    return load_memory(std::move(bytes));
}

bool SmkVideo::load_memory(std::vector<uint8_t> bytes) {
    sound_run.active = false;
    file = std::move(bytes);
    error.clear();
    valid = false;
    if (!parse_header()) return false;
    palette.fill(0);
    image.assign(static_cast<size_t>(width) * height, 0);
    current_frame = 0;
    next_pos = data_offset;
    reset_all_recent();
    valid = true;
    return true;
}

bool SmkVideo::parse_header() {
    const uint8_t* p = file.data();
    if (file.size() < kHeaderSize) return fail("file too small for SMK header");
    if (std::memcmp(p, "SMK2", 4) != 0 && std::memcmp(p, "SMK4", 4) != 0) return fail("bad signature (not SMK2/SMK4)");
    version4 = p[3] == '4';
    width = rd32(p + 4);
    height = rd32(p + 8);
    frame_count = rd32(p + 12);
    const int64_t rate = static_cast<int32_t>(rd32(p + 16));
    const uint32_t flags = rd32(p + 20);
    tree_block_size = rd32(p + 52);
    mmap_size = rd32(p + 56);
    mclr_size = rd32(p + 60);
    full_size = rd32(p + 64);
    type_size = rd32(p + 68);
    for (int k = 0; k < 7; ++k) audio_rate[k] = rd32(p + 72 + 4 * k);
    const uint32_t a0 = audio_rate[0];
    audio_decodable = (a0 & 0x80000000u) && (a0 & 0x40000000u);
    audio_16bit = (a0 & 0x20000000u) != 0;
    audio_stereo = (a0 & 0x10000000u) != 0;
    audio_sample_rate = a0 & 0xFFFFFFu;

    if (rate > 0) frame_period_us = static_cast<double>(rate) * 1000.0;
    else if (rate < 0) frame_period_us = static_cast<double>(-rate) * 10.0;
    else frame_period_us = 100000.0;
    ring_frame = (flags & 1u) != 0;
    interlaced = (flags & 2u) != 0;
    doubled = (flags & 4u) != 0;

    if (width < 1 || width > 8192 || height < 1 || height > 8192 || frame_count < 1 || frame_count > 100000)
        return fail("implausible header dimensions/frame count");
    record_count = static_cast<int32_t>(frame_count + (ring_frame ? 1 : 0));
    const uint64_t r = static_cast<uint64_t>(record_count);
    if (file.size() < kHeaderSize + 4 * r) return fail("truncated frame sizes");
    frame_sizes.resize(r);
    for (uint64_t i = 0; i < r; ++i) frame_sizes[i] = rd32(p + kHeaderSize + 4 * i) & ~3u;
    if (file.size() < kHeaderSize + 5 * r) return fail("truncated frame types");
    frame_types.assign(p + kHeaderSize + 4 * r, p + kHeaderSize + 5 * r);
    const uint64_t trees_at = kHeaderSize + 5 * r;
    if (file.size() < trees_at + tree_block_size) return fail("truncated Huffman trees");

    BitReader br(p + trees_at, tree_block_size);
    if (!mmap_tree.build(br)) return fail("MMap tree build failed");
    if (!mclr_tree.build(br)) return fail("MClr tree build failed");
    if (!full_tree.build(br)) return fail("Full tree build failed");
    if (!type_tree.build(br)) return fail("Type tree build failed");
    data_offset = trees_at + tree_block_size;
    return true;
}

void SmkVideo::rewind() {
    sound_run.active = false;
    current_frame = 0;
    next_pos = data_offset;
    palette.fill(0);
    image.assign(static_cast<size_t>(width) * height, 0);
    reset_all_recent();
}

const SmkFrame& SmkVideo::decode_next() {
    sound_run.active = false;
    return next_frame(true, UINT64_MAX);
}

const SmkFrame& SmkVideo::decode_next_sound(uint64_t piece) {
    if (!sound_run.active) return next_frame(false, piece);
    out.audio.clear();
    continue_audio(sound_run, piece, out.audio);
    out.frame_index = current_frame;
    if (!sound_run.active) {
        next_pos += frame_sizes[static_cast<size_t>(current_frame)];
        ++current_frame;
    }
    return out;
}

const SmkFrame& SmkVideo::next_frame(bool pictures, uint64_t piece) {
    if (!valid || current_frame < 0 || static_cast<uint32_t>(current_frame) >= frame_count) {
        out.frame_index = -1;
        return out;
    }
    const uint32_t size = frame_sizes[static_cast<size_t>(current_frame)];
    const uint8_t type = frame_types[static_cast<size_t>(current_frame)];
    out.audio.clear();
    const size_t pixels = static_cast<size_t>(width) * height;
    if (pictures && image.size() != pixels) image.assign(pixels, 0);

    const uint64_t end = next_pos + size;
    if (size != 0 && end <= file.size()) {
        uint64_t pos = next_pos;
        bool walk_ok = true;
        if (type & 1u) {
            const uint64_t len = static_cast<uint64_t>(file[pos]) * 4;
            if (len >= 1 && len <= end - pos) {
                if (pictures) decode_palette(file.data() + pos, static_cast<size_t>(len));
                pos += len;
            }
        }
        for (int k = 0; k < 7 && walk_ok; ++k) {
            if (!(type & (2u << k))) continue;
            const uint64_t left = end - pos;
            if (left < 4) {
                walk_ok = false;
                break;
            }
            const uint32_t len = rd32(file.data() + pos);
            if (len < 4 || len > left) {
                walk_ok = false;
                break;
            }
            if (k == 0 && audio_decodable) {
                if (start_audio(file.data() + pos + 4, len - 4, sound_run)) continue_audio(sound_run, piece, out.audio);
                // The rest of the chunk comes with the next calls; nothing after it is read without pictures.
                if (sound_run.active) {
                    out.frame_index = current_frame;
                    return out;
                }
            }
            pos += len;
        }
        if (pictures && walk_ok && pos < end) decode_video(file.data() + pos, static_cast<size_t>(end - pos), image);
    }
    if (pictures) {
        out.index = image;
        expand_rgba(out);
    }
    out.frame_index = current_frame;
    ++current_frame;
    next_pos += size;
    return out;
}

// ---- palette, picture, RGBA

void SmkVideo::decode_palette(const uint8_t* chunk, size_t length) {
    std::array<uint8_t, 768> pal{};
    size_t i = 0;
    size_t pos = 1;
    while (pos < length && i < 256) {
        const uint8_t b = chunk[pos];
        if (b & 0x80) {
            pos += 1;
            const size_t n = (b & 0x7Fu) + 1u;
            for (size_t k = 0; k < n && i < 256; ++k, ++i) std::memcpy(&pal[3 * i], &palette[3 * i], 3);
        } else if (b & 0x40) {
            if (pos + 2 > length) break;
            const size_t s = chunk[pos + 1];
            pos += 2;
            const size_t n = (b & 0x3Fu) + 1u;
            for (size_t k = 0; k < n && i < 256; ++k, ++i)
                if (s + k <= 255) std::memcpy(&pal[3 * i], &palette[3 * (s + k)], 3);
        } else {
            if (pos + 3 > length) break;
            pal[3 * i] = k_palmap[b & 63u];
            pal[3 * i + 1] = k_palmap[chunk[pos + 1] & 63u];
            pal[3 * i + 2] = k_palmap[chunk[pos + 2] & 63u];
            pos += 3;
            ++i;
        }
    }
    palette = pal;
}

void SmkVideo::decode_video(const uint8_t* data, size_t length, std::vector<uint8_t>& img) {
    reset_all_recent();
    const uint32_t w = width, h = height;
    if (img.size() != static_cast<size_t>(w) * h) return;
    const uint32_t bw = (w + 3) / 4, bh = (h + 3) / 4;
    const uint64_t total = static_cast<uint64_t>(bw) * bh;
    if (total == 0) return;
    const uint64_t max_types = total * 4 + 1024;
    BitReader br(data, length);
    uint8_t* pix = img.data();

    // A block's 16 pixels in row order; writes outside the picture are dropped.
    uint8_t blk[16];
    auto store = [&](uint64_t n) {
        const uint32_t x = static_cast<uint32_t>(n % bw) * 4, y = static_cast<uint32_t>(n / bw) * 4;
        if (x + 4 <= w && y + 4 <= h) {
            for (int r = 0; r < 4; ++r) std::memcpy(pix + static_cast<size_t>(y + r) * w + x, blk + 4 * r, 4);
            return;
        }
        for (uint32_t r = 0; r < 4 && y + r < h; ++r)
            for (uint32_t c = 0; c < 4 && x + c < w; ++c) pix[static_cast<size_t>(y + r) * w + x + c] = blk[4 * r + c];
    };
    auto load = [&](uint64_t n) {
        const uint32_t x = static_cast<uint32_t>(n % bw) * 4, y = static_cast<uint32_t>(n / bw) * 4;
        for (uint32_t r = 0; r < 4; ++r)
            for (uint32_t c = 0; c < 4; ++c)
                blk[4 * r + c] = (x + c < w && y + r < h) ? pix[static_cast<size_t>(y + r) * w + x + c] : 0;
    };
    auto put16 = [&](int row, int col, int32_t v) {
        blk[4 * row + col] = static_cast<uint8_t>(v & 0xFF);
        blk[4 * row + col + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
    };

    uint64_t n = 0;
    uint64_t types = 0;
    while (n < total && !br.overrun && types < max_types) {
        const int32_t t = type_tree.decode(br);
        ++types;
        if (t < 0) return;
        const int kind = t & 3;
        const int run = k_sizetable[static_cast<size_t>((t >> 2) & 63)];
        const uint8_t colour = static_cast<uint8_t>((t >> 8) & 0xFF);
        for (int k = 0; k < run && n < total; ++k, ++n) {
            switch (kind) {
            case 0: {
                const int32_t c = mclr_tree.decode(br);
                if (c < 0) return;
                const int32_t m = mmap_tree.decode(br);
                if (m < 0) return;
                const uint8_t hi = static_cast<uint8_t>((c >> 8) & 0xFF), lo = static_cast<uint8_t>(c & 0xFF);
                for (int b = 0; b < 16; ++b) blk[b] = ((m >> b) & 1) ? hi : lo;
                store(n);
                break;
            }
            case 1: {
                int mode = 0;  // 0 full, 1 double, 2 half
                if (version4) {
                    if (br.get_bit()) mode = 1;
                    else if (br.get_bit()) mode = 2;
                }
                load(n);
                bool ok = true;
                if (mode == 0) {
                    for (int r = 0; r < 4 && ok; ++r) {
                        const int32_t p = full_tree.decode(br);
                        if (p < 0) { ok = false; break; }
                        put16(r, 2, p);
                        const int32_t q = full_tree.decode(br);
                        if (q < 0) { ok = false; break; }
                        put16(r, 0, q);
                    }
                } else if (mode == 1) {
                    for (int r = 0; r < 2 && ok; ++r) {
                        const int32_t p = full_tree.decode(br);
                        if (p < 0) { ok = false; break; }
                        const uint8_t lo = static_cast<uint8_t>(p & 0xFF), hi = static_cast<uint8_t>((p >> 8) & 0xFF);
                        for (int rr = 2 * r; rr < 2 * r + 2; ++rr) {
                            blk[4 * rr] = blk[4 * rr + 1] = lo;
                            blk[4 * rr + 2] = blk[4 * rr + 3] = hi;
                        }
                    }
                } else {
                    for (int r = 0; r < 2 && ok; ++r) {
                        const int32_t p = full_tree.decode(br);
                        if (p < 0) { ok = false; break; }
                        const int32_t q = full_tree.decode(br);
                        if (q < 0) { ok = false; break; }
                        for (int rr = 2 * r; rr < 2 * r + 2; ++rr) {
                            put16(rr, 0, q);
                            put16(rr, 2, p);
                        }
                    }
                }
                store(n);
                if (!ok) return;
                break;
            }
            case 2:
                break;
            default:
                std::memset(blk, colour, sizeof blk);
                store(n);
                break;
            }
        }
    }
}

void SmkVideo::expand_rgba(SmkFrame& frame) const {
    const size_t n = static_cast<size_t>(width) * height;
    frame.rgba.resize(n * 4);
    const uint8_t* src = frame.index.data();
    uint8_t* dst = frame.rgba.data();
    const size_t have = std::min(n, frame.index.size());
    for (size_t i = 0; i < have; ++i) {
        const uint8_t* c = &palette[3 * static_cast<size_t>(src[i])];
        dst[4 * i] = c[0];
        dst[4 * i + 1] = c[1];
        dst[4 * i + 2] = c[2];
        dst[4 * i + 3] = 255;
    }
}

// ---- sound

void SmkVideo::decode_audio(const uint8_t* chunk, size_t length, std::vector<uint8_t>& outb) {
    outb.clear();
    SoundRun run;
    if (start_audio(chunk, length, run)) continue_audio(run, UINT64_MAX, outb);
}

bool SmkVideo::start_audio(const uint8_t* chunk, size_t length, SoundRun& run) {
    run.active = false;
    if (length <= 4) return false;
    const uint32_t unpacked = rd32(chunk);
    run.br = BitReader(chunk + 4, length - 4);
    BitReader& br = run.br;
    if (!br.get_bit()) return false;
    run.stereo = br.get_bit() != 0;
    run.sixteen = br.get_bit() != 0;
    if (unpacked == 0 || unpacked > kMaxAudioChunk) return false;
    // What is unpacked is always the start of what the chunk declares.
    run.limit = static_cast<uint32_t>(std::min<uint64_t>(unpacked, audio_room));
    if (run.limit == 0) return false;
    const int tree_count = 1 << ((run.stereo ? 1 : 0) + (run.sixteen ? 1 : 0));
    for (int k = 0; k < tree_count; ++k) {
        br.get_bit();
        run.trees[k].build_audio(br);
    }
    const uint32_t channels = run.stereo ? 2 : 1;
    // A tree of more than one leaf spends a bit on every sample of its channel at least, so the
    // bits left bound what the chunk can encode; single-leaf trees cost none and only the limit holds.
    bool costly = false;
    for (int k = 0; k < tree_count; ++k)
        costly = costly || !run.trees[k].nodes[static_cast<size_t>(run.trees[k].root)].leaf;
    run.free = !costly;
    run.room = run.limit;
    if (costly) {
        const uint64_t bits_left = br.at_end() ? 0 : (br.size - br.byte_pos) * 8 - static_cast<uint64_t>(br.bit_pos);
        run.room = std::min<uint64_t>(run.room, (bits_left + 2) * channels * (run.sixteen ? 2 : 1));
    }
    if (!run.sixteen) {
        for (int c = static_cast<int>(channels) - 1; c >= 0; --c) run.val[c] = static_cast<int32_t>(br.get_bits(8));
        run.end = run.limit;
    } else {
        for (int c = static_cast<int>(channels) - 1; c >= 0; --c) {
            const uint32_t hi = br.get_bits(8);
            const uint32_t lo = br.get_bits(8);
            run.val[c] = static_cast<int16_t>(static_cast<uint16_t>((hi << 8) | lo));
        }
        // The first values are written as far as the limit goes; a limit that cuts a later sample
        // keeps its low byte, as the whole chunk would have it.
        run.end = std::max(channels, std::min(unpacked / 2, (run.limit + 1) / 2));
    }
    run.next = 0;
    run.active = true;
    return true;
}

void SmkVideo::continue_audio(SoundRun& run, uint64_t piece, std::vector<uint8_t>& outb) {
    if (!run.active) return;
    // Locals the loops keep in registers: the bytes they write could otherwise alias the run.
    BitReader br = run.br;
    const bool stereo = run.stereo;
    const Huff8* trees = run.trees;
    const uint32_t channels = run.stereo ? 2 : 1;
    const uint32_t width = run.sixteen ? 2 : 1;
    const uint32_t until =
        static_cast<uint32_t>(std::min<uint64_t>(run.end, run.next + std::max<uint64_t>(piece / width, 1)));
    outb.reserve(outb.size() + static_cast<size_t>(std::min<uint64_t>(run.room, uint64_t{until - run.next} * width)));
    uint32_t i = run.next;
    bool failed = false;
    // A single-leaf tree reads no bits, so its step never changes and only a reader already run
    // dry ends the chunk (at its first coded sample).
    const auto leaf = [&run](int k) { return run.trees[k].nodes[static_cast<size_t>(run.trees[k].root)].value; };
    if (!run.sixteen) {
        uint8_t val[2] = {static_cast<uint8_t>(run.val[0]), static_cast<uint8_t>(run.val[1])};
        for (; i < until && i < channels; ++i) outb.push_back(val[i]);
        if (run.free) {
            const uint8_t d[2] = {static_cast<uint8_t>(leaf(0)), static_cast<uint8_t>(run.stereo ? leaf(1) : 0)};
            failed = br.overrun && i < until;
            const uint32_t stop = failed ? i : until;
            const size_t base = outb.size();
            outb.resize(base + (stop - i));
            fill_steps(val, d, run.stereo, i, stop - i, outb.data() + base);
            i = stop;
        } else {
            for (; i < until; ++i) {
                const int c = stereo ? static_cast<int>(i & 1u) : 0;
                const int32_t d = trees[c].decode(br);
                if (d < 0 || br.overrun) {
                    failed = true;
                    break;
                }
                val[c] = static_cast<uint8_t>(val[c] + static_cast<uint8_t>(d));
                outb.push_back(val[c]);
            }
        }
        run.val[0] = val[0];
        run.val[1] = val[1];
    } else {
        int16_t val[2] = {static_cast<int16_t>(run.val[0]), static_cast<int16_t>(run.val[1])};
        for (; i < until && i < channels; ++i) {
            const uint16_t u = static_cast<uint16_t>(val[i]);
            if (2 * i < run.limit) outb.push_back(static_cast<uint8_t>(u & 0xFF));
            if (2 * i + 1 < run.limit) outb.push_back(static_cast<uint8_t>(u >> 8));
        }
        if (run.free) {
            const uint16_t d[2] = {static_cast<uint16_t>((leaf(1) << 8) | leaf(0)),
                                   static_cast<uint16_t>(run.stereo ? (leaf(3) << 8) | leaf(2) : 0)};
            failed = br.overrun && i < until;
            const uint32_t stop = failed ? i : until;
            const size_t base = outb.size();
            outb.resize(base + 2 * size_t{stop - i});
            uint16_t u[2] = {static_cast<uint16_t>(val[0]), static_cast<uint16_t>(val[1])};
            fill_steps(u, d, run.stereo, i, stop - i, outb.data() + base);
            val[0] = static_cast<int16_t>(u[0]);
            val[1] = static_cast<int16_t>(u[1]);
            if (stop > i && 2 * (stop - 1) + 1 >= run.limit) outb.pop_back();
            i = stop;
        } else {
            const uint32_t limit = run.limit;
            for (; i < until; ++i) {
                const int c = stereo ? static_cast<int>(i & 1u) : 0;
                const int32_t lo = trees[2 * c].decode(br);
                if (lo < 0 || br.overrun) {
                    failed = true;
                    break;
                }
                const int32_t hi = trees[2 * c + 1].decode(br);
                if (hi < 0 || br.overrun) {
                    failed = true;
                    break;
                }
                const uint16_t diff = static_cast<uint16_t>((hi << 8) | lo);
                val[c] = static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint16_t>(val[c]) + diff));
                const uint16_t u = static_cast<uint16_t>(val[c]);
                outb.push_back(static_cast<uint8_t>(u & 0xFF));
                if (2 * i + 1 < limit) outb.push_back(static_cast<uint8_t>(u >> 8));
            }
        }
        run.val[0] = val[0];
        run.val[1] = val[1];
    }
    run.br = br;
    run.next = i;
    if (failed || i >= run.end) run.active = false;
}

}  // namespace vorn1
