#include "assets/png_decode.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace vorn1 {

namespace {

constexpr uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
constexpr uint64_t kMaxFileBytes = 256ull * 1024 * 1024;

[[noreturn]] void fail(const std::string& what) { throw std::runtime_error("decode_png: " + what); }

uint32_t be32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 | p[3];
}

struct Header {
    uint32_t width = 0, height = 0;
    int depth = 0, colour = 0, channels = 0;
};

int channels_of(int colour_type, int depth) {
    auto depth_in = [&](std::initializer_list<int> ok) {
        for (int d : ok)
            if (d == depth) return true;
        return false;
    };
    switch (colour_type) {
        case 0: return depth_in({1, 2, 4, 8, 16}) ? 1 : 0;
        case 2: return depth_in({8, 16}) ? 3 : 0;
        case 3: return depth_in({1, 2, 4, 8}) ? 1 : 0;
        case 4: return depth_in({8, 16}) ? 2 : 0;
        case 6: return depth_in({8, 16}) ? 4 : 0;
        default: return 0;
    }
}

// Inflates exactly `expected` bytes; more or fewer is an error.
std::vector<uint8_t> inflate_exact(const std::vector<uint8_t>& in, uint64_t expected) {
    std::vector<uint8_t> out(expected);
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK) fail("zlib init failed");
    zs.next_in = const_cast<Bytef*>(in.data());
    zs.avail_in = static_cast<uInt>(in.size());
    zs.next_out = out.data();
    zs.avail_out = static_cast<uInt>(out.size());
    int rc = inflate(&zs, Z_FINISH);
    uint8_t extra = 0;
    if (rc != Z_STREAM_END && rc != Z_DATA_ERROR && rc != Z_MEM_ERROR && rc != Z_NEED_DICT && zs.avail_out == 0) {
        // The buffer is full: the stream must end without producing another byte.
        zs.next_out = &extra;
        zs.avail_out = 1;
        rc = inflate(&zs, Z_FINISH);
        if (zs.avail_out == 0) {
            inflateEnd(&zs);
            fail("too much image data");
        }
    }
    const uint64_t produced = zs.total_out;
    inflateEnd(&zs);
    if (rc == Z_DATA_ERROR || rc == Z_NEED_DICT || rc == Z_MEM_ERROR || rc == Z_STREAM_ERROR) fail("corrupt image data");
    if (produced < expected) fail("image data truncated");
    return out;
}

uint8_t paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = p > a ? p - a : a - p, pb = p > b ? p - b : b - p, pc = p > c ? p - c : c - p;
    if (pa <= pb && pa <= pc) return static_cast<uint8_t>(a);
    return static_cast<uint8_t>(pb <= pc ? b : c);
}

void unfilter(std::vector<uint8_t>& data, uint64_t rows, uint64_t row_bytes, uint64_t bpp) {
    const uint64_t stride = row_bytes + 1;
    for (uint64_t y = 0; y < rows; ++y) {
        uint8_t* row = data.data() + y * stride + 1;
        const uint8_t* prev = y > 0 ? data.data() + (y - 1) * stride + 1 : nullptr;
        const uint8_t filter = row[-1];
        for (uint64_t i = 0; i < row_bytes; ++i) {
            const int a = i >= bpp ? row[i - bpp] : 0;
            const int b = prev ? prev[i] : 0;
            const int c = (prev && i >= bpp) ? prev[i - bpp] : 0;
            switch (filter) {
                case 0: break;
                case 1: row[i] = static_cast<uint8_t>(row[i] + a); break;
                case 2: row[i] = static_cast<uint8_t>(row[i] + b); break;
                case 3: row[i] = static_cast<uint8_t>(row[i] + ((a + b) >> 1)); break;
                case 4: row[i] = static_cast<uint8_t>(row[i] + paeth(a, b, c)); break;
                default: fail("bad filter type " + std::to_string(filter));
            }
        }
    }
}

}  // namespace

Image decode_png(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < 8 || std::memcmp(bytes.data(), kSignature, 8) != 0) fail("bad PNG signature");
    Header hd;
    bool have_header = false, have_end = false;
    std::vector<uint8_t> idat;
    uint8_t plte[256][4] = {};
    int plte_count = 0;
    bool key_set = false;
    uint16_t key[3] = {0, 0, 0};

    uint64_t pos = 8;
    const uint64_t size = bytes.size();
    while (!have_end) {
        if (pos + 12 > size) {
            if (idat.empty()) fail("truncated chunk");
            break;  // the end marker is lost, but the image data is complete enough to try
        }
        const uint64_t len = be32(&bytes[pos]);
        const std::string type(reinterpret_cast<const char*>(&bytes[pos + 4]), 4);
        if (pos + 12 + len > size) fail("truncated chunk " + type);
        const uint8_t* d = &bytes[pos + 8];
        if (!have_header && type != "IHDR") fail("first chunk is not IHDR");
        if (type == "IHDR") {
            if (have_header) fail("second IHDR");
            if (len != 13) fail("bad IHDR length");
            hd.width = be32(d);
            hd.height = be32(d + 4);
            hd.depth = d[8];
            hd.colour = d[9];
            if (d[10] != 0 || d[11] != 0) fail("unknown compression or filter method");
            if (d[12] != 0) fail("interlaced images are not supported");
            hd.channels = channels_of(hd.colour, hd.depth);
            if (hd.channels == 0)
                fail("unsupported colour type " + std::to_string(hd.colour) + " depth " + std::to_string(hd.depth));
            if (hd.width == 0 || hd.height == 0) fail("zero size");
            if (static_cast<uint64_t>(hd.width) * hd.height > static_cast<uint64_t>(kMaxImagePixels)) fail("image too large");
            have_header = true;
        } else if (type == "PLTE") {
            if (len % 3 != 0 || len > 768) fail("bad palette length");
            plte_count = static_cast<int>(len / 3);
            for (int i = 0; i < plte_count; ++i) {
                plte[i][0] = d[3 * i], plte[i][1] = d[3 * i + 1], plte[i][2] = d[3 * i + 2];
                plte[i][3] = 255;
            }
        } else if (type == "tRNS") {
            if (hd.colour == 3) {
                for (uint64_t i = 0; i < len && i < 256; ++i) plte[i][3] = d[i];
            } else if (hd.colour == 0 && len >= 2) {
                key[0] = static_cast<uint16_t>(d[0] << 8 | d[1]);
                key_set = true;
            } else if (hd.colour == 2 && len >= 6) {
                for (int k = 0; k < 3; ++k) key[k] = static_cast<uint16_t>(d[2 * k] << 8 | d[2 * k + 1]);
                key_set = true;
            }
        } else if (type == "IDAT") {
            idat.insert(idat.end(), d, d + len);
        } else if (type == "IEND") {
            have_end = true;
        }
        pos += 12 + len;
    }
    if (idat.empty()) fail("no image data");
    if (hd.colour == 3 && plte_count == 0) fail("palette image without palette");

    const uint64_t w = hd.width, h = hd.height;
    const uint64_t row_bits = w * hd.channels * hd.depth;
    const uint64_t row_bytes = (row_bits + 7) / 8;
    const uint64_t bpp = std::max<uint64_t>(1, static_cast<uint64_t>(hd.channels) * hd.depth / 8);
    const uint64_t expected = h * (row_bytes + 1);
    // Deflate expands at most about 1032:1; a claim beyond that cannot be met by the data given.
    if (expected > idat.size() * 1040 + 1024) fail("image data too short for its size");
    std::vector<uint8_t> raw = inflate_exact(idat, expected);
    idat.clear();
    idat.shrink_to_fit();
    unfilter(raw, h, row_bytes, bpp);

    Image img(static_cast<int32_t>(w), static_cast<int32_t>(h));
    const int depth = hd.depth;
    const uint32_t max_sample = (1u << std::min(depth, 16)) - 1;
    for (uint64_t y = 0; y < h; ++y) {
        const uint8_t* row = raw.data() + y * (row_bytes + 1) + 1;
        // Sample k of the row as its full-depth value.
        auto sample = [&](uint64_t k) -> uint32_t {
            if (depth == 8) return row[k];
            if (depth == 16) return static_cast<uint32_t>(row[2 * k]) << 8 | row[2 * k + 1];
            const uint64_t bit = k * depth;
            return (row[bit / 8] >> (8 - depth - bit % 8)) & max_sample;
        };
        auto to8 = [&](uint32_t v) -> uint8_t {
            if (depth == 16) return static_cast<uint8_t>(v >> 8);
            return static_cast<uint8_t>(v * 255 / max_sample);
        };
        for (uint64_t x = 0; x < w; ++x) {
            uint8_t* px = img.at(static_cast<int32_t>(x), static_cast<int32_t>(y));
            const uint64_t s = x * hd.channels;
            switch (hd.colour) {
                case 0: {
                    const uint32_t v = sample(s);
                    px[0] = px[1] = px[2] = to8(v);
                    px[3] = (key_set && v == key[0]) ? 0 : 255;
                    break;
                }
                case 2: {
                    const uint32_t r = sample(s), g = sample(s + 1), b = sample(s + 2);
                    px[0] = to8(r), px[1] = to8(g), px[2] = to8(b);
                    px[3] = (key_set && r == key[0] && g == key[1] && b == key[2]) ? 0 : 255;
                    break;
                }
                case 3: {
                    const uint32_t i = sample(s);
                    if (static_cast<int>(i) >= plte_count) fail("palette index out of range");
                    std::memcpy(px, plte[i], 4);
                    break;
                }
                case 4: {
                    px[0] = px[1] = px[2] = to8(sample(s));
                    px[3] = to8(sample(s + 1));
                    break;
                }
                default:
                    for (int k = 0; k < 4; ++k) px[k] = to8(sample(s + k));
            }
        }
    }
    return img;
}

Image load_png_file(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) throw std::runtime_error("decode_png: cannot open " + path);
    std::vector<uint8_t> bytes;
    uint8_t buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
        bytes.insert(bytes.end(), buf, buf + n);
        if (bytes.size() > kMaxFileBytes) {
            std::fclose(f);
            throw std::runtime_error("decode_png: file too large: " + path);
        }
    }
    std::fclose(f);
    return decode_png(bytes);
}

namespace {

void put_be32(std::vector<uint8_t>& out, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(v >> s));
}

void put_chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    put_be32(out, static_cast<uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put_be32(out, static_cast<uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

}  // namespace

std::vector<uint8_t> encode_png(const Image& img) {
    if (img.empty() || img.pixels.size() != static_cast<std::size_t>(img.width) * img.height * 4)
        throw std::runtime_error("encode_png: empty or inconsistent image");
    std::vector<uint8_t> out(kSignature, kSignature + 8);
    std::vector<uint8_t> ihdr;
    put_be32(ihdr, static_cast<uint32_t>(img.width));
    put_be32(ihdr, static_cast<uint32_t>(img.height));
    ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});
    put_chunk(out, "IHDR", ihdr);

    const std::size_t row_bytes = static_cast<std::size_t>(img.width) * 4;
    std::vector<uint8_t> raw;
    raw.reserve((row_bytes + 1) * img.height);
    for (int32_t y = 0; y < img.height; ++y) {
        raw.push_back(0);
        raw.insert(raw.end(), img.pixels.begin() + static_cast<long>(y * row_bytes),
                   img.pixels.begin() + static_cast<long>((y + 1) * row_bytes));
    }
    uLongf zlen = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> z(zlen);
    if (compress2(z.data(), &zlen, raw.data(), static_cast<uLong>(raw.size()), Z_DEFAULT_COMPRESSION) != Z_OK)
        throw std::runtime_error("encode_png: compression failed");
    z.resize(zlen);
    put_chunk(out, "IDAT", z);
    put_chunk(out, "IEND", {});
    return out;
}

}  // namespace vorn1
