#include "datakit/kit_sound.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "datakit/kit_demo.h"

namespace vorn1::kit {

namespace {

constexpr double kRate = 22050.0;
constexpr double kPi = 3.14159265358979323846;

// Sine with a short fade at both ends so looped tracks do not click.
double tone(double freq, int i, int n) {
    const int fade = std::min(n / 4, 400);
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

}  // namespace

Bytes write_raw_tone(VornAudioFmt fmt, double freq_hz, int ms) {
    const int n = std::max(1, static_cast<int>(kRate * ms / 1000.0));
    Bytes out;
    for (int i = 0; i < n; ++i) {
        const double l = tone(freq_hz, i, n);
        const double r = tone(freq_hz * 1.5, i, n);
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

void add_sound_files(DemoData& d) {
    int k = 0;
    for (int n : {0, 1, 2, 3, 4, 5, 6, 29, 30, 31, 32, 40, 41, 42, 43, 44, 47, 48, 49, 54}) {
        const double freq = 196.0 * std::pow(2.0, (k++ % 12) / 12.0);
        if (n <= 6) d.files.push_back({veldar(n, ".62S"), write_raw_tone(VORN_FMT_62S, freq, 1600)});
        else if (n <= 32) d.files.push_back({veldar(n, ".82S"), write_raw_tone(VORN_FMT_82S, freq, 1600)});
        else d.files.push_back({veldar(n, ".82M"), write_raw_tone(VORN_FMT_82M, freq, 1600)});
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

}  // namespace vorn1::kit
