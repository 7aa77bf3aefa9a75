// Smacker decoder: header checks, frame stream, code trees, palette, blocks and sound, against
// kit-written films and against the FFmpeg Smacker decoder as an independent reader.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <filesystem>
#include <random>
#include <set>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include "datakit/datakit.h"
#include "datakit/kit_video.h"
#include "media/smk_video.h"

using namespace vorn1;
using kit::Bytes;

namespace {

struct Bits {
    Bytes bytes;
    int bit = 0;
    Bits& put(uint32_t v, int n = 1) {
        for (int i = 0; i < n; ++i) {
            if (bit == 0) bytes.push_back(0);
            if ((v >> i) & 1u) bytes.back() = static_cast<uint8_t>(bytes.back() | (1u << bit));
            bit = (bit + 1) & 7;
        }
        return *this;
    }
};

void put32(Bytes& b, size_t at, uint32_t v) {
    for (int k = 0; k < 4; ++k) b[at + k] = static_cast<uint8_t>(v >> (8 * k));
}
uint32_t get32(const Bytes& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

std::string temp_path(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("vorn1_smk_" + std::to_string(::getpid()) + "_" + name)).string();
}

// Every frame of a film through our decoder.
struct Decoded {
    std::vector<std::vector<uint8_t>> index, rgb;
    std::vector<uint8_t> audio;
};
Decoded decode_all(SmkVideo& v) {
    Decoded d;
    for (;;) {
        const SmkFrame& f = v.decode_next();
        if (f.frame_index < 0) break;
        d.index.push_back(f.index);
        std::vector<uint8_t> rgb;
        for (size_t i = 0; i < f.rgba.size(); i += 4) rgb.insert(rgb.end(), &f.rgba[i], &f.rgba[i] + 3);
        d.rgb.push_back(std::move(rgb));
        d.audio.insert(d.audio.end(), f.audio.begin(), f.audio.end());
    }
    return d;
}

// The same film through libavformat/libavcodec: RGB of every frame and the track's samples.
Decoded ffmpeg_decode(const Bytes& film) {
    Decoded d;
    av_log_set_level(AV_LOG_QUIET);
    const std::string path = temp_path("oracle.smk");
    kit::write_file(path, film);
    AVFormatContext* fc = nullptr;
    if (avformat_open_input(&fc, path.c_str(), nullptr, nullptr) < 0) return d;
    avformat_find_stream_info(fc, nullptr);
    std::vector<AVCodecContext*> ctx(fc->nb_streams, nullptr);
    for (unsigned i = 0; i < fc->nb_streams; ++i) {
        const AVCodec* c = avcodec_find_decoder(fc->streams[i]->codecpar->codec_id);
        if (!c) continue;
        ctx[i] = avcodec_alloc_context3(c);
        avcodec_parameters_to_context(ctx[i], fc->streams[i]->codecpar);
        if (avcodec_open2(ctx[i], c, nullptr) < 0) avcodec_free_context(&ctx[i]);
    }
    AVPacket* pkt = av_packet_alloc();
    AVFrame* fr = av_frame_alloc();
    auto drain = [&](AVCodecContext* c) {
        while (avcodec_receive_frame(c, fr) == 0) {
            if (c->codec_type == AVMEDIA_TYPE_VIDEO) {
                std::vector<uint8_t> rgb;
                const uint32_t* pal = reinterpret_cast<const uint32_t*>(fr->data[1]);
                for (int y = 0; y < fr->height; ++y)
                    for (int x = 0; x < fr->width; ++x) {
                        const uint32_t v = pal[fr->data[0][y * fr->linesize[0] + x]];
                        rgb.insert(rgb.end(), {uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)});
                    }
                d.rgb.push_back(std::move(rgb));
            } else {
                const int bps = av_get_bytes_per_sample(static_cast<AVSampleFormat>(fr->format));
                const int ch = fr->ch_layout.nb_channels;
                const bool planar = av_sample_fmt_is_planar(static_cast<AVSampleFormat>(fr->format));
                for (int s = 0; s < fr->nb_samples; ++s)
                    for (int c = 0; c < ch; ++c) {
                        const uint8_t* p = planar ? fr->data[c] + s * bps : fr->data[0] + (s * ch + c) * bps;
                        d.audio.insert(d.audio.end(), p, p + bps);
                    }
            }
            av_frame_unref(fr);
        }
    };
    while (av_read_frame(fc, pkt) >= 0) {
        AVCodecContext* c = ctx[static_cast<size_t>(pkt->stream_index)];
        if (c && avcodec_send_packet(c, pkt) == 0) drain(c);
        av_packet_unref(pkt);
    }
    for (AVCodecContext* c : ctx)
        if (c) {
            avcodec_send_packet(c, nullptr);
            drain(c);
        }
    for (AVCodecContext*& c : ctx) avcodec_free_context(&c);
    av_frame_free(&fr);
    av_packet_free(&pkt);
    avformat_close_input(&fc);
    std::filesystem::remove(path);
    return d;
}

SmkVideo loaded(const Bytes& b) {
    SmkVideo v;
    EXPECT_TRUE(v.load_memory(b)) << v.error;
    return v;
}

// A header-only film of the given fields with absent trees and one empty frame.
Bytes bare_film(uint32_t w, uint32_t h, uint32_t frames, int32_t rate = 100) {
    kit::SmkFilm f;
    f.width = 4;
    f.height = 4;
    f.frame_rate = rate;
    f.frames.push_back({std::vector<uint8_t>(16, 0), std::nullopt, {}});
    Bytes b = kit::write_smk(f);
    put32(b, 4, w);
    put32(b, 8, h);
    put32(b, 12, frames);
    if (frames > 1) {
        // Widen the tables: R sizes and R types of 0 before the tree block.
        const uint32_t trees = get32(b, 52);
        Bytes tail(b.begin() + 104 + 5, b.end());
        b.resize(104);
        b.resize(104 + 5 * static_cast<size_t>(frames), 0);
        b.insert(b.end(), tail.begin(), tail.begin() + trees);
    }
    return b;
}

std::string load_error(const Bytes& b) {
    SmkVideo v;
    EXPECT_FALSE(v.load_memory(b));
    EXPECT_FALSE(v.valid);
    return v.error;
}

std::vector<uint8_t> noise(size_t n, uint32_t seed, int colours = 256) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> v(n);
    for (uint8_t& b : v) b = static_cast<uint8_t>(rng() % static_cast<uint32_t>(colours));
    return v;
}

// 16-bit sine, interleaved when stereo.
std::vector<uint8_t> tone(int samples, bool sixteen, bool stereo, int phase) {
    std::vector<uint8_t> out;
    for (int s = 0; s < samples; ++s)
        for (int c = 0; c < (stereo ? 2 : 1); ++c) {
            const double v = std::sin((s + phase) * (0.05 + 0.03 * c));
            if (sixteen) {
                const int16_t x = static_cast<int16_t>(v * 12000);
                out.push_back(static_cast<uint8_t>(x & 0xFF));
                out.push_back(static_cast<uint8_t>((x >> 8) & 0xFF));
            } else {
                out.push_back(static_cast<uint8_t>(128 + v * 60));
            }
        }
    return out;
}

// A film mixing every block kind: noise (full), two-colour stripes, solid areas, unchanged areas,
// and a palette that changes on frame 2 by shifting entries (copies from elsewhere).
kit::SmkFilm mixed_film(char version, uint32_t w, uint32_t h, int frames) {
    kit::SmkFilm f;
    f.version = version;
    f.width = w;
    f.height = h;
    auto pal = kit::smk_standard_palette6();
    for (int k = 0; k < frames; ++k) {
        kit::SmkFrameIn fr;
        fr.pixels.assign(static_cast<size_t>(w) * h, 9);
        const auto nz = noise(static_cast<size_t>(w) * h, 100 + static_cast<uint32_t>(k));
        for (uint32_t y = 0; y < h; ++y)
            for (uint32_t x = 0; x < w; ++x) {
                uint8_t& p = fr.pixels[static_cast<size_t>(y) * w + x];
                if (y < h / 4) p = nz[static_cast<size_t>(y) * w + x];                       // full blocks
                else if (y < h / 2) p = ((x + static_cast<uint32_t>(k)) / 3) % 2 ? 40 : 200;  // two-colour
                else if (y < 3 * h / 4) p = static_cast<uint8_t>(20 + k);                    // solid runs
                else if (x < w / 2) p = static_cast<uint8_t>((x / 2) * 17 + (y / 2) * 5);    // doubled pixels
                else p = static_cast<uint8_t>(x * 7 + (y / 2) * 3);                         // halved rows
            }
        if (k == 0) fr.palette6 = pal;
        if (k == 2) {
            std::rotate(pal.begin() + 30, pal.begin() + 60, pal.begin() + 300);
            fr.palette6 = pal;
        }
        f.frames.push_back(std::move(fr));
    }
    return f;
}

void expect_same_as_ffmpeg(const Bytes& film, const char* what) {
    SmkVideo v = loaded(film);
    const Decoded ours = decode_all(v);
    const Decoded theirs = ffmpeg_decode(film);
    ASSERT_EQ(ours.rgb.size(), theirs.rgb.size()) << what;
    for (size_t i = 0; i < ours.rgb.size(); ++i) EXPECT_TRUE(ours.rgb[i] == theirs.rgb[i]) << what << " frame " << i;
    EXPECT_EQ(ours.audio.size(), theirs.audio.size()) << what;
    EXPECT_TRUE(ours.audio == theirs.audio) << what;
}

}  // namespace

// ---- header

TEST(SmkHeader, ErrorTextsAndLimits) {
    EXPECT_EQ(load_error(Bytes(103, 0)), "file too small for SMK header");
    Bytes b = bare_film(4, 4, 1);
    b[3] = '3';
    EXPECT_EQ(load_error(b), "bad signature (not SMK2/SMK4)");

    SmkVideo v;
    EXPECT_TRUE(v.load_memory(bare_film(8192, 4, 1))) << v.error;
    EXPECT_EQ(load_error(bare_film(8193, 4, 1)), "implausible header dimensions/frame count");
    EXPECT_EQ(load_error(bare_film(0, 4, 1)), "implausible header dimensions/frame count");
    EXPECT_EQ(load_error(bare_film(4, 8193, 1)), "implausible header dimensions/frame count");
    EXPECT_EQ(load_error(bare_film(4, 4, 0)), "implausible header dimensions/frame count");
    EXPECT_TRUE(v.load_memory(bare_film(4, 4, 100000))) << v.error;
    EXPECT_EQ(v.frame_sizes.size(), 100000u);
    EXPECT_EQ(load_error(bare_film(4, 4, 100001)), "implausible header dimensions/frame count");

    Bytes t = bare_film(4, 4, 1);
    put32(t, 12, 30);
    t.resize(104 + 4 * 30 - 1);
    EXPECT_EQ(load_error(t), "truncated frame sizes");
    t.resize(104 + 4 * 30 + 29, 0);
    EXPECT_EQ(load_error(t), "truncated frame types");
    t.resize(104 + 5 * 30, 0);
    put32(t, 52, 1);
    EXPECT_EQ(load_error(t), "truncated Huffman trees");
}

TEST(SmkHeader, FramePeriodAndTrackDescription) {
    struct {
        int32_t rate;
        double us;
    } cases[] = {{100, 100000}, {-6000, 60000}, {0, 100000}, {66, 66000}};
    for (const auto& c : cases) {
        SmkVideo v = loaded(bare_film(4, 4, 1, c.rate));
        EXPECT_DOUBLE_EQ(v.frame_period_us, c.us) << c.rate;
    }
    Bytes b = bare_film(4, 4, 1);
    put32(b, 72, 0xF0005622);  // compressed, present, 16-bit, stereo, 22050 Hz
    SmkVideo v = loaded(b);
    EXPECT_TRUE(v.audio_decodable && v.audio_16bit && v.audio_stereo);
    EXPECT_EQ(v.audio_sample_rate, 22050u);
    put32(b, 72, 0x80005622);  // compressed but not marked present
    EXPECT_FALSE(loaded(b).audio_decodable);
}

TEST(SmkHeader, DeepOrBrokenTreesFailByName) {
    // A tree block of all ones nests without end: refused, not a stack overflow.
    Bytes b = bare_film(4, 4, 1);
    const size_t trees_at = 104 + 5;
    b.resize(trees_at);
    b.insert(b.end(), 1 << 20, 0xFF);
    put32(b, 52, 1 << 20);
    EXPECT_EQ(load_error(b), "MMap tree build failed");

    // MMap absent, MClr present with a low-byte tree whose only node is a deep chain.
    Bits bits;
    bits.put(0).put(1).put(1);
    for (int i = 0; i < 70; ++i) bits.put(1);
    Bytes c = bare_film(4, 4, 1);
    c.resize(trees_at);
    c.insert(c.end(), bits.bytes.begin(), bits.bytes.end());
    put32(c, 52, static_cast<uint32_t>(bits.bytes.size()));
    EXPECT_EQ(load_error(c), "MClr tree build failed");

    // Three absent trees and a Type tree whose data ends inside the escapes: the leaf cannot be read.
    Bits t;
    t.put(0).put(0).put(0).put(1).put(0).put(0).put(5, 16);
    Bytes d = bare_film(4, 4, 1);
    d.resize(trees_at);
    d.insert(d.end(), t.bytes.begin(), t.bytes.end());
    put32(d, 52, static_cast<uint32_t>(t.bytes.size()));
    EXPECT_EQ(load_error(d), "Type tree build failed");
}

TEST(SmkHeader, LoadFileErrors) {
    SmkVideo v;
    EXPECT_FALSE(v.load_file("/nonexistent/dir/x.smk"));
    EXPECT_EQ(v.error, "cannot open file: /nonexistent/dir/x.smk");
    const std::string empty = temp_path("empty.smk");
    kit::write_file(empty, {});
    EXPECT_FALSE(v.load_file(empty));
    EXPECT_EQ(v.error, "empty file");
    const std::string good = temp_path("good.smk");
    kit::write_file(good, kit::write_smk(kit::demo_smk_film("OK", 16, 8, 0.2, false)));
    EXPECT_TRUE(v.load_file(good)) << v.error;
    EXPECT_EQ(decode_all(v).index.size(), 2u);
    std::filesystem::remove(empty);
    std::filesystem::remove(good);
}

// ---- frame stream

TEST(SmkStream, RingFrameIsReadButNotPlayedAndRewindRestarts) {
    kit::SmkFilm f = mixed_film('2', 16, 16, 11);
    f.flags = 1;
    const Bytes b = kit::write_smk(f);
    SmkVideo v = loaded(b);
    EXPECT_EQ(v.frame_count, 10u);
    EXPECT_EQ(v.frame_sizes.size(), 11u);
    EXPECT_EQ(v.frame_types.size(), 11u);
    const Decoded first = decode_all(v);
    ASSERT_EQ(first.index.size(), 10u);
    for (size_t i = 0; i < 10; ++i) EXPECT_TRUE(first.index[i] == f.frames[i].pixels) << i;
    EXPECT_EQ(v.decode_next().frame_index, -1);
    EXPECT_EQ(v.decode_next().frame_index, -1);
    v.rewind();
    const Decoded again = decode_all(v);
    EXPECT_TRUE(again.rgb == first.rgb);
}

TEST(SmkStream, DamagedFramesRepeatThePreviousPictureAndTheStreamGoesOn) {
    kit::SmkFilm f = mixed_film('2', 16, 16, 3);
    const Bytes good = kit::write_smk(f);

    // The last frame cut short: emitted as a copy of frame 1.
    Bytes cut = good;
    cut.resize(cut.size() - 2);
    SmkVideo v = loaded(cut);
    const Decoded d = decode_all(v);
    ASSERT_EQ(d.index.size(), 3u);
    EXPECT_TRUE(d.index[2] == f.frames[1].pixels);

    // Frame 1 claims to be huge: it repeats frame 0, and every later frame (now past the end) too.
    Bytes big = good;
    put32(big, 104 + 4, 0x7FFFFFF0);
    SmkVideo w = loaded(big);
    const Decoded e = decode_all(w);
    ASSERT_EQ(e.index.size(), 3u);
    EXPECT_TRUE(e.index[1] == f.frames[0].pixels);
    EXPECT_TRUE(e.index[2] == f.frames[0].pixels);

    // An audio chunk of length 3 ends frame 1's walk before its picture.
    kit::SmkFilm s = mixed_film('2', 16, 16, 3);
    s.audio_rate = 22050;
    for (auto& fr : s.frames) fr.audio = tone(100, false, false, 0);
    Bytes a = kit::write_smk(s);
    const uint32_t r = 3, trees = get32(a, 52);
    const size_t frame1 = 104 + 5 * r + trees + (get32(a, 104) & ~3u);
    ASSERT_EQ(a[104 + 4 * r + 1], 2);  // frame 1: sound, no palette
    put32(a, frame1, 3);
    SmkVideo x = loaded(a);
    const Decoded g = decode_all(x);
    ASSERT_EQ(g.index.size(), 3u);
    EXPECT_TRUE(g.index[1] == s.frames[0].pixels);
    EXPECT_TRUE(g.index[2] == s.frames[2].pixels);
}

// ---- films against the independent decoder

TEST(SmkFilms, LosslessAndIdenticalToFFmpeg) {
    for (char version : {'2', '4'})
        for (bool escapes : {true, false}) {
            kit::SmkFilm f = mixed_film(version, 32, 24, 4);
            f.use_escapes = escapes;
            const Bytes b = kit::write_smk(f);
            SmkVideo v = loaded(b);
            EXPECT_EQ(v.version4, version == '4');
            const Decoded d = decode_all(v);
            ASSERT_EQ(d.index.size(), 4u);
            for (size_t i = 0; i < 4; ++i) EXPECT_TRUE(d.index[i] == f.frames[i].pixels) << version << " frame " << i;
            expect_same_as_ffmpeg(b, version == '4' ? "v4" : "v2");
        }
    kit::SmkFilm full = mixed_film('2', 16, 8, 3);
    full.full_blocks_only = true;
    expect_same_as_ffmpeg(kit::write_smk(full), "full blocks");
    expect_same_as_ffmpeg(kit::write_smk(kit::demo_smk_film("LOGO", 64, 48, 1.0, true)), "demo film");
}

TEST(SmkFilms, SoundInEveryFormatMatchesFFmpeg) {
    for (bool sixteen : {false, true})
        for (bool stereo : {false, true}) {
            kit::SmkFilm f = mixed_film('2', 8, 8, 3);
            f.audio_rate = 22050;
            f.audio_16bit = sixteen;
            f.audio_stereo = stereo;
            std::vector<uint8_t> all;
            for (size_t k = 0; k < f.frames.size(); ++k) {
                f.frames[k].audio = tone(300, sixteen, stereo, static_cast<int>(k) * 300);
                all.insert(all.end(), f.frames[k].audio.begin(), f.frames[k].audio.end());
            }
            const Bytes b = kit::write_smk(f);
            SmkVideo v = loaded(b);
            EXPECT_EQ(v.audio_16bit, sixteen);
            EXPECT_EQ(v.audio_stereo, stereo);
            const Decoded d = decode_all(v);
            EXPECT_TRUE(d.audio == all) << sixteen << stereo;
            expect_same_as_ffmpeg(b, sixteen ? (stereo ? "s16 stereo" : "s16 mono") : (stereo ? "u8 stereo" : "u8 mono"));
        }
}

TEST(SmkFilms, EdgeBlocksAreClipped) {
    // 17 x 9: 5 x 3 blocks, the right column and bottom row only partly inside.
    kit::SmkFilm f = mixed_film('4', 17, 9, 3);
    SmkVideo v = loaded(kit::write_smk(f));
    const Decoded d = decode_all(v);
    ASSERT_EQ(d.index.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        ASSERT_EQ(d.index[i].size(), 17u * 9u);
        EXPECT_TRUE(d.index[i] == f.frames[i].pixels) << i;
    }
}

// ---- hand-made pieces

TEST(SmkTrees, AbsentTreeAndRecentValues) {
    SmkVideo::Huff16 t;
    Bits none;
    none.put(0).put(0xFF, 8);
    SmkVideo::BitReader br(none.bytes.data(), none.bytes.size());
    ASSERT_TRUE(t.build(br));
    const size_t pos = br.byte_pos * 8 + static_cast<size_t>(br.bit_pos);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(t.decode(br), 0);
    EXPECT_EQ(br.byte_pos * 8 + static_cast<size_t>(br.bit_pos), pos);

    // Leaves 5 (code 0), 7 (code 10) and 9 (code 11), low bytes through a small tree, high bytes 0.
    Bits b;
    b.put(1);
    // Low tree: present, inner(inner(leaf 5, leaf 7), leaf 9), skip bit.
    b.put(1).put(1).put(1).put(0).put(5, 8).put(0).put(7, 8).put(0).put(9, 8).put(0);
    b.put(0);                                       // high tree absent: single leaf 0
    b.put(0xFFFF, 16).put(0xFFFE, 16).put(0xFFFD, 16);
    // Big tree: inner(leaf 5, inner(leaf 7, leaf 9)); leaves name their low byte by its code
    // (5 "00", 7 "01", 9 "1"); then the skip bit.
    b.put(1).put(0).put(0, 2).put(1).put(0).put(2, 2).put(0).put(1).put(0);
    Bits codes;
    codes.put(0).put(1).put(0).put(1).put(1);  // 5, 7 (10), 9 (11)
    Bytes all = b.bytes;
    SmkVideo::BitReader tr(all.data(), all.size());
    SmkVideo::Huff16 h;
    ASSERT_TRUE(h.build(tr));
    ASSERT_EQ(h.nodes.size(), 8u);  // five tree slots and three appended recent leaves
    SmkVideo::BitReader cr(codes.bytes.data(), codes.bytes.size());
    EXPECT_EQ(h.decode(cr), 5);
    EXPECT_EQ(h.decode(cr), 7);
    EXPECT_EQ(h.decode(cr), 9);
    EXPECT_EQ(h.nodes[h.recent[0]], 9);
    EXPECT_EQ(h.nodes[h.recent[1]], 7);
    EXPECT_EQ(h.nodes[h.recent[2]], 5);
    Bits again;
    again.put(1).put(1);
    SmkVideo::BitReader ar(again.bytes.data(), again.bytes.size());
    EXPECT_EQ(h.decode(ar), 9);  // the same value twice leaves them as they were
    EXPECT_EQ(h.nodes[h.recent[0]], 9);
    EXPECT_EQ(h.nodes[h.recent[1]], 7);
    EXPECT_EQ(h.nodes[h.recent[2]], 5);
    h.reset_recent();
    EXPECT_EQ(h.nodes[h.recent[0]], 0);
}

TEST(SmkPalette, ChunkOperations) {
    SmkVideo v = loaded(bare_film(4, 4, 1));
    const uint8_t white[] = {1, 0x3F, 0x3F, 0x3F};
    v.decode_palette(white, 4);
    EXPECT_EQ(v.palette[0], 255);
    EXPECT_EQ(v.palette[1], 255);
    EXPECT_EQ(v.palette[2], 255);
    for (int i = 3; i < 768; ++i) ASSERT_EQ(v.palette[i], 0) << i;

    // Two new entries, then 0x81 keeps entries 0-1 of that palette and 0x41 copies 2 from entry 0.
    const uint8_t two[] = {2, 0x20, 0x10, 0x01, 0x3F, 0x00, 0x3F, 0};
    v.decode_palette(two, 8);
    EXPECT_EQ(v.palette[0], 130);
    EXPECT_EQ(v.palette[1], 65);
    EXPECT_EQ(v.palette[2], 4);
    const uint8_t keep[] = {2, 0x81, 0x41, 0x00, 0x40, 0xFF, 0, 0};
    v.decode_palette(keep, 8);
    EXPECT_EQ(v.palette[0], 130);
    EXPECT_EQ(v.palette[3], 255);
    EXPECT_EQ(v.palette[6], 130);   // entry 2 from entry 0
    EXPECT_EQ(v.palette[11], 255);  // entry 3 from entry 1
    // 0x40 with source 255: entry 4 copies entry 255 (black); nothing else is set.
    for (int i = 12; i < 768; ++i) ASSERT_EQ(v.palette[i], 0) << i;

    // Runs that reach past entry 255 stop there: the whole previous palette kept, nothing more.
    v.decode_palette(two, 8);
    const auto before = v.palette;
    const uint8_t past[] = {1, 0xFF, 0xFE, 0x81};
    v.decode_palette(past, 4);
    EXPECT_EQ(v.palette, before);

    // A chunk cut inside an entry stops there.
    const uint8_t cut[] = {1, 0x3F, 0x3F};
    v.decode_palette(cut, 3);
    for (int i = 0; i < 768; ++i) ASSERT_EQ(v.palette[i], 0) << i;
}

TEST(SmkBlocks, SolidTypeValuesAndRuns) {
    // Trees: MMap, MClr, Full absent; Type a single leaf (read as present, no bits to decode).
    auto film_with_type = [](uint32_t w, uint32_t h, uint32_t type_value) {
        Bits t;
        t.put(0).put(0).put(0);
        t.put(1);
        t.put(1).put(0).put(type_value & 0xFF, 8).put(0);  // low tree: one leaf
        t.put(1).put(0).put(type_value >> 8, 8).put(0);    // high tree: one leaf
        t.put(0xFFFF, 16).put(0xFFFE, 16).put(0xFFFD, 16);
        t.put(0).put(0);  // the big tree: one leaf; skip bit
        Bytes b(104, 0);
        std::memcpy(b.data(), "SMK2", 4);
        put32(b, 4, w);
        put32(b, 8, h);
        put32(b, 12, 1);
        put32(b, 16, 100);
        put32(b, 52, static_cast<uint32_t>(t.bytes.size()));
        b.insert(b.end(), {4, 0, 0, 0, 1});
        b.insert(b.end(), t.bytes.begin(), t.bytes.end());
        b.insert(b.end(), {3, 0x3F, 0x00, 0x00, 0x80 | 127, 0x80 | 126, 0, 0, 0, 0, 0, 0});
        put32(b, 104, 12);
        b.push_back(0);  // picture data: unused bits
        put32(b, 104, 16);
        b.resize(b.size() + 3, 0);
        return b;
    };
    SmkVideo v = loaded(film_with_type(17, 9, 0x2A03));
    const SmkFrame& f = v.decode_next();
    ASSERT_EQ(f.frame_index, 0);
    for (uint8_t p : f.index) ASSERT_EQ(p, 0x2A);  // one solid block per type value, every block filled
    EXPECT_EQ(f.rgba[0], 0);
    EXPECT_EQ(f.rgba[3], 255);

    // Run index 62: 1024 blocks a type value, two of them cover 256 x 128.
    SmkVideo w = loaded(film_with_type(256, 128, 0x2AFB));
    const SmkFrame& g = w.decode_next();
    for (uint8_t p : g.index) ASSERT_EQ(p, 0x2A);
    SmkVideo z = loaded(film_with_type(8, 8, 0xFB));
    const SmkFrame& red = z.decode_next();
    for (uint8_t p : red.index) ASSERT_EQ(p, 0);
    EXPECT_EQ(red.rgba[0], 255);  // palette entry 0 is red
    EXPECT_EQ(red.rgba[1], 0);
}

// ---- sound, hand-made chunks

namespace {
std::vector<uint8_t> audio_of(const Bytes& chunk) {
    SmkVideo v;
    std::vector<uint8_t> out{1, 2, 3};
    v.decode_audio(chunk.data(), chunk.size(), out);
    return out;
}
Bytes chunk(uint32_t unpacked, const Bits& bits) {
    Bytes b(4, 0);
    put32(b, 0, unpacked);
    b.insert(b.end(), bits.bytes.begin(), bits.bytes.end());
    return b;
}
// A one-leaf audio tree of the given difference: skip bit, leaf, value, skip bit.
void leaf_tree(Bits& b, uint8_t v) { b.put(1).put(0).put(v, 8).put(0); }
}  // namespace

TEST(SmkSound, HandMadeChunks) {
    EXPECT_TRUE(audio_of(Bytes{8, 0, 0, 0}).empty());
    Bits absent;
    absent.put(0).put(0xFFFF, 16);
    EXPECT_TRUE(audio_of(chunk(8, absent)).empty());

    Bits mono;
    mono.put(1).put(0).put(0);
    leaf_tree(mono, 0xFF);
    mono.put(0x00, 8);
    EXPECT_TRUE(audio_of(chunk(67108865, mono)).empty());
    EXPECT_EQ(audio_of(chunk(1, mono)), (std::vector<uint8_t>{0x00}));
    // A difference of 0xFF lowers the value by one each sample, wrapping below 0.
    EXPECT_EQ(audio_of(chunk(4, mono)), (std::vector<uint8_t>{0x00, 0xFF, 0xFE, 0xFD}));

    Bits st;
    st.put(1).put(1).put(0);
    leaf_tree(st, 1);
    leaf_tree(st, 2);
    st.put(0x10, 8).put(0x80, 8);  // right channel first
    EXPECT_EQ(audio_of(chunk(6, st)), (std::vector<uint8_t>{0x80, 0x10, 0x81, 0x12, 0x82, 0x14}));

    Bits s16;
    s16.put(1).put(0).put(1);
    leaf_tree(s16, 0x01);
    leaf_tree(s16, 0x00);
    s16.put(0x12, 8).put(0x34, 8);
    EXPECT_EQ(audio_of(chunk(6, s16)), (std::vector<uint8_t>{0x34, 0x12, 0x35, 0x12, 0x36, 0x12}));

    // Single-leaf trees read no bits: a chunk whose bits end inside its first values ends there.
    Bits short8;
    short8.put(1).put(0).put(0);
    leaf_tree(short8, 1);
    short8.put(3, 2);  // 16 bits in all: the first value lacks six
    EXPECT_EQ(audio_of(chunk(1000, short8)), (std::vector<uint8_t>{0x03}));
    Bits short16;
    short16.put(1).put(0).put(1);
    leaf_tree(short16, 1);
    leaf_tree(short16, 0);
    short16.put(0x12, 8).put(0x34, 7);  // 40 bits in all: the low byte lacks one
    EXPECT_EQ(audio_of(chunk(1000, short16)), (std::vector<uint8_t>{0x34, 0x12}));

    // Two-leaf tree (codes 0: +1, 1: -1) and the bits running out after three codes.
    Bits cut;
    cut.put(1).put(0).put(0);
    cut.put(1).put(1).put(0).put(1, 8).put(0).put(0xFF, 8).put(0);
    cut.put(0x40, 8);
    cut.put(0).put(0).put(1);
    Bytes c = chunk(1000, cut);
    const size_t used_bits = 3 + 1 + 1 + 9 + 9 + 1 + 8 + 3;
    c.resize(4 + (used_bits + 7) / 8);
    const std::vector<uint8_t> got = audio_of(c);
    ASSERT_GE(got.size(), 4u);
    EXPECT_LT(got.size(), 1000u);
    EXPECT_EQ((std::vector<uint8_t>(got.begin(), got.begin() + 4)), (std::vector<uint8_t>{0x40, 0x41, 0x42, 0x41}));
}

// A chunk claiming 64 MiB unpacks no further than its room, and what it gives is the start of what
// it declares; the memory it asks for is bounded by what its bits can encode.
TEST(SmkSound, ChunkUnpacksNoFurtherThanItsRoom) {
    Bits mono;  // single-leaf tree: no bits a sample
    mono.put(1).put(0).put(0);
    leaf_tree(mono, 0xFF);
    mono.put(0x00, 8);
    SmkVideo v;
    std::vector<uint8_t> out;
    v.audio_room = 1000;
    const Bytes huge = chunk(67108864, mono);
    v.decode_audio(huge.data(), huge.size(), out);
    EXPECT_EQ(out, audio_of(chunk(1000, mono)));
    v.audio_room = 0;
    v.decode_audio(huge.data(), huge.size(), out);
    EXPECT_TRUE(out.empty());

    Bits s16;
    s16.put(1).put(0).put(1);
    leaf_tree(s16, 0x01);
    leaf_tree(s16, 0x00);
    s16.put(0x12, 8).put(0x34, 8);
    v.audio_room = 5;  // a cut sample keeps its low byte
    const Bytes huge16 = chunk(67108864, s16);
    v.decode_audio(huge16.data(), huge16.size(), out);
    EXPECT_EQ(out, (std::vector<uint8_t>{0x34, 0x12, 0x35, 0x12, 0x36}));

    Bits two;  // codes 0: +1, 1: -1, then 8 codes of data
    two.put(1).put(0).put(0);
    two.put(1).put(1).put(0).put(1, 8).put(0).put(0xFF, 8).put(0);
    two.put(0x40, 8).put(0, 8);
    std::vector<uint8_t> fresh;
    v.audio_room = UINT64_MAX;
    const Bytes coded = chunk(67108864, two);
    v.decode_audio(coded.data(), coded.size(), fresh);
    EXPECT_LT(fresh.capacity(), 1024u);
    EXPECT_GE(fresh.size(), 9u);
    EXPECT_LT(fresh.size(), 32u);
}

// A frame's sound taken in pieces is its whole sound, and no call gives more than its piece (a
// 16-bit sample may end one byte past it). Chunks whose trees are single leaves move each channel
// by a fixed step; they are written a period at a time, so long runs of them are checked here
// against the steps themselves, up to a room that cuts a 16-bit sample.
TEST(SmkSound, SoundInPiecesIsTheWholeSound) {
    // Frame 0 gives `first` and frame 1 a tone; left and right step by `a` and `b` from 3 and 200.
    const auto steps = [](size_t samples, bool sixteen, bool stereo, uint16_t a, uint16_t b) {
        std::vector<uint8_t> pcm;
        uint16_t v[2] = {3, 200};
        for (size_t k = 0; k < samples; ++k)
            for (int c = 0; c < (stereo ? 2 : 1); ++c) {
                pcm.push_back(static_cast<uint8_t>(v[c]));
                if (sixteen) pcm.push_back(static_cast<uint8_t>(v[c] >> 8));
                v[c] = static_cast<uint16_t>(v[c] + (c ? b : a));
                if (!sixteen) v[c] &= 0xFF;
            }
        return pcm;
    };
    struct Case {
        bool sixteen, stereo;
        std::vector<uint8_t> first;
        uint32_t claim = 0;
        uint64_t room = UINT64_MAX;
        std::vector<uint8_t> expected;  // frame 0's sound, when it is known apart from the decoder
    };
    std::vector<Case> cases = {
        {false, false, tone(3000, false, false, 0), 0, UINT64_MAX, {}},
        {true, true, tone(3000, true, true, 7), 0, UINT64_MAX, {}},
        {false, true, steps(1300, false, true, 1, 2), 0, UINT64_MAX, steps(1300, false, true, 1, 2)},
        {false, false, steps(40, false, false, 0xFF, 0), 5000, 5000, steps(5000, false, false, 0xFF, 0)},
    };
    Case wide{true, true, steps(40, true, true, 0x0101, 0x8000), 1 << 20, 300001, steps(75001, true, true, 0x0101, 0x8000)};
    wide.expected.resize(300001);
    cases.push_back(wide);
    for (const Case& k : cases) {
        kit::SmkFilm f;
        f.width = 8;
        f.height = 8;
        f.audio_rate = 22050;
        f.audio_16bit = k.sixteen;
        f.audio_stereo = k.stereo;
        f.audio_claim = k.claim;
        f.frames.assign(2, kit::SmkFrameIn{std::vector<uint8_t>(64, 0), std::nullopt, k.first});
        if (!k.claim) f.frames[1].audio = tone(500, k.sixteen, k.stereo, 3);
        SmkVideo whole = loaded(kit::write_smk(f));
        whole.audio_room = k.room;
        const std::vector<uint8_t> frame0 = whole.decode_next().audio;
        const std::vector<uint8_t> frame1 = whole.decode_next().audio;
        if (!k.expected.empty()) {
            ASSERT_EQ(frame0, k.expected) << k.sixteen << k.stereo;
        }
        if (!k.claim) {
            ASSERT_EQ(frame0, k.first) << k.sixteen << k.stereo;
        }
        for (const uint64_t piece : {1u, 3u, 1000u, 65536u}) {
            SmkVideo v = loaded(kit::write_smk(f));
            v.audio_room = k.room;
            std::vector<uint8_t> got[2];
            for (const SmkFrame* p = &v.decode_next_sound(piece); p->frame_index >= 0; p = &v.decode_next_sound(piece)) {
                ASSERT_LE(p->audio.size(), piece + 1);
                ASSERT_LT(p->frame_index, 2);
                got[p->frame_index].insert(got[p->frame_index].end(), p->audio.begin(), p->audio.end());
            }
            EXPECT_EQ(got[0], frame0) << k.sixteen << k.stereo << " piece " << piece;
            EXPECT_EQ(got[1], frame1) << k.sixteen << k.stereo << " piece " << piece;
        }
    }
}

TEST(SmkDamage, MutatedFilmsAlwaysPlayToTheEnd) {
    kit::SmkFilm f = mixed_film('4', 24, 16, 4);
    f.audio_rate = 11025;
    f.audio_16bit = true;
    for (auto& fr : f.frames) fr.audio = tone(60, true, false, 3);
    const Bytes good = kit::write_smk(f);
    std::mt19937 rng(1234);
    int loaded_count = 0;
    for (int round = 0; round < 400; ++round) {
        Bytes b = good;
        const int edits = 1 + static_cast<int>(rng() % 8);
        for (int e = 0; e < edits; ++e) b[rng() % b.size()] = static_cast<uint8_t>(rng());
        if (rng() % 4 == 0) b.resize(rng() % b.size());
        SmkVideo v;
        if (!v.load_memory(b)) {
            EXPECT_FALSE(v.error.empty());
            continue;
        }
        ++loaded_count;
        int frames = 0;
        while (v.decode_next().frame_index >= 0) {
            ASSERT_EQ(v.out.index.size(), static_cast<size_t>(v.width) * v.height);
            ASSERT_LE(++frames, static_cast<int>(v.frame_count));
        }
        EXPECT_EQ(frames, static_cast<int>(v.frame_count));
    }
    EXPECT_GT(loaded_count, 50);
}

TEST(SmkDemoFilms, EveryFilmTheGamePlaysIsWrittenAndDecodes) {
    const std::string dir = temp_path("anim");
    ASSERT_TRUE(kit::write_demo_videos(dir));
    for (const char* name : {"NEWLOGO.SMK", "ZALLOGO.SMK", "INTRO02C.SMK", "LOSE1.SMK", "WIN01C.SMK", "WIN02.SMK"}) {
        SmkVideo v;
        ASSERT_TRUE(v.load_file(dir + "/" + name)) << name << ": " << v.error;
        EXPECT_TRUE(v.audio_decodable) << name;
        const Decoded d = decode_all(v);
        EXPECT_EQ(d.index.size(), v.frame_count) << name;
        EXPECT_EQ(d.audio.size(), v.frame_count * 2205u) << name;
        // The title is drawn: the middle row holds more than the band colour.
        const auto& last = d.index.back();
        const size_t mid = static_cast<size_t>(v.height / 2) * v.width;
        EXPECT_GT(std::set<uint8_t>(last.begin() + mid, last.begin() + mid + v.width).size(), 1u) << name;
    }
    EXPECT_TRUE(std::filesystem::exists(dir + "/hintro.mp4"));
    std::filesystem::remove_all(dir);
}
