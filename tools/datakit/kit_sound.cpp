#include "datakit/kit_sound.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "datakit/kit_demo.h"

namespace vorn1::kit {

namespace {

constexpr double kRate = 22050.0;
constexpr double kPi = 3.14159265358979323846;

// Sine with a short fade at both ends so looped sounds do not click.
double tone(double freq, int i, int n, bool fade_ends = true) {
    const int fade = fade_ends ? std::min(n / 4, 400) : 0;
    double amp = 1.0;
    if (fade > 0) amp = std::min({1.0, double(i) / fade, double(n - 1 - i) / fade});
    return amp * std::sin(2.0 * kPi * freq * i / kRate);
}

uint8_t s8(double v) { return static_cast<uint8_t>(static_cast<int8_t>(std::lround(100.0 * v))); }

void put_s16(Bytes& out, double v) {
    const uint16_t u = static_cast<uint16_t>(static_cast<int16_t>(std::lround(12000.0 * v)));
    out.push_back(static_cast<uint8_t>(u));
    out.push_back(static_cast<uint8_t>(u >> 8));
}

std::string veldar(int n, const char* ext) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "SOUND/VELDAR%02d%s", n, ext);
    return buf;
}

constexpr int kMusicTracks[] = {0, 1, 2, 3, 4, 5, 6, 29, 30, 31, 32, 40, 41, 42, 43, 44, 47, 48, 49, 54};

// n samples of the tone (a fifth above on the right channel).
Bytes tone_samples(VornAudioFmt fmt, double freq_hz, int n, bool fade_ends) {
    Bytes out;
    for (int i = 0; i < n; ++i) {
        const double l = tone(freq_hz, i, n, fade_ends);
        const double r = tone(freq_hz * 1.5, i, n, fade_ends);
        switch (fmt) {
        case VORN_FMT_82S:
            out.push_back(s8(l));
            out.push_back(s8(r));
            break;
        case VORN_FMT_62S:
            put_s16(out, l);
            put_s16(out, r);
            break;
        default:
            out.push_back(s8(l));
            break;
        }
    }
    return out;
}

// A music track: a whole, even number of periods of its tone and no fade, so that the track loops
// without a seam and plays as one steady pitch.
Bytes music_loop(VornAudioFmt fmt, double freq_hz, int ms) {
    const long periods = 2 * std::max(1L, std::lround(freq_hz * ms / 2000.0));
    const int n = static_cast<int>(std::lround(periods * kRate / freq_hz));
    return tone_samples(fmt, periods * kRate / n, n, false);
}

}  // namespace

Bytes write_raw_tone(VornAudioFmt fmt, double freq_hz, int ms) {
    return tone_samples(fmt, freq_hz, std::max(1, static_cast<int>(kRate * ms / 1000.0)), true);
}

// A semitone apart from track to track: 196 Hz up to some 587 Hz, all below the ambient loops.
double music_tone_hz(int n) {
    int k = 0;
    for (int track : kMusicTracks) {
        if (track == n) return 196.0 * std::pow(2.0, k / 12.0);
        ++k;
    }
    return 0;
}

double ambient_loop_hz(int id) { return 1000.0 + 50.0 * id; }

// Whole periods in 0.4 s, so the loop joins up.
Bytes write_ambient_loop(int id) { return write_raw_tone(VORN_FMT_82M, ambient_loop_hz(id), 400); }

void add_sound_files(DemoData& d) {
    for (int n : kMusicTracks) {
        const double freq = music_tone_hz(n);
        // The battle's result music plays once: it lasts as long as a result page is commonly up.
        const int ms = n == 43 || n == 44 ? 8000 : 1600;
        if (n <= 6) d.files.push_back({veldar(n, ".62S"), music_loop(VORN_FMT_62S, freq, ms)});
        else if (n <= 32) d.files.push_back({veldar(n, ".82S"), music_loop(VORN_FMT_82S, freq, ms)});
        else d.files.push_back({veldar(n, ".82M"), music_loop(VORN_FMT_82M, freq, ms)});
    }
}

void write_sound_seeds(const std::string& out_dir) {
    auto seed = [&](const char* name, VornAudioFmt fmt, Bytes raw) {
        Bytes b{static_cast<uint8_t>(fmt)};
        b.insert(b.end(), raw.begin(), raw.end());
        write_seed(out_dir, "sound", name, b);
    };
    seed("mono.82m", VORN_FMT_82M, write_raw_tone(VORN_FMT_82M, 440.0, 20));
    seed("stereo.82s", VORN_FMT_82S, write_raw_tone(VORN_FMT_82S, 330.0, 20));
    seed("stereo.62s", VORN_FMT_62S, write_raw_tone(VORN_FMT_62S, 220.0, 20));
    seed("odd16.62s", VORN_FMT_62S, Bytes{1, 2, 3});
    seed("one.82m", VORN_FMT_82M, Bytes{0x80});
    seed("fmt7.bin", static_cast<VornAudioFmt>(7), Bytes{0, 0x7F, 0x80, 0xFF});
    seed("empty.bin", VORN_FMT_82M, Bytes{});
}

void write_film_sound_seeds(const std::string& out_dir) {
    // Format indexes of the target's table: U8 0, S16LSB 3, S32MSB 7, F32LSB 8.
    auto seed = [&](const char* name, uint8_t format, int channels, uint32_t rate, uint8_t mix_format,
                    int mix_channels, uint16_t mix_rate, std::vector<uint16_t> pieces, int frames) {
        Bytes b{format, static_cast<uint8_t>(channels - 1), static_cast<uint8_t>(rate), static_cast<uint8_t>(rate >> 8),
                static_cast<uint8_t>(rate >> 16), mix_format, static_cast<uint8_t>(mix_channels - 1),
                static_cast<uint8_t>(mix_rate - 4000), static_cast<uint8_t>((mix_rate - 4000) >> 8), 64,
                static_cast<uint8_t>(pieces.size())};
        for (uint16_t n : pieces) b.insert(b.end(), {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8)});
        for (int i = 0; i < frames * channels; ++i) {
            const double v = 0.5 * tone(440.0, i / channels, frames);
            if (format == 0) b.push_back(static_cast<uint8_t>(128 + 127 * v));
            if (format == 3) {
                const auto x = static_cast<int16_t>(32767 * v);
                b.insert(b.end(), {static_cast<uint8_t>(x), static_cast<uint8_t>(x >> 8)});
            }
            if (format == 7) {
                const auto x = static_cast<int32_t>(2147483647.0 * v);
                b.insert(b.end(), {static_cast<uint8_t>(x >> 24), static_cast<uint8_t>(x >> 16),
                                   static_cast<uint8_t>(x >> 8), static_cast<uint8_t>(x)});
            }
            if (format == 8) {
                const auto x = static_cast<float>(v);
                uint32_t u = 0;
                std::memcpy(&u, &x, 4);
                b.insert(b.end(), {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u >> 16),
                                   static_cast<uint8_t>(u >> 24)});
            }
        }
        write_seed(out_dir, "film_sound", name, b);
    };
    seed("six16.bin", 3, 6, 48000, 3, 2, 22050, {1000, 3, 0}, 300);
    seed("float8.bin", 8, 8, 44100, 8, 2, 44100, {7, 513}, 100);
    seed("demo.bin", 0, 1, 22050, 3, 2, 22050, {1}, 1000);
    seed("s32.bin", 7, 3, 96000, 0, 1, 8000, {}, 200);
}

}  // namespace vorn1::kit
