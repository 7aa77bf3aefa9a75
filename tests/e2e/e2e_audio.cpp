#include "e2e_audio.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <system_error>
#include <thread>

namespace vorn1::e2e {

uintmax_t audio_bytes(double seconds) {
    return static_cast<uintmax_t>(std::llround(seconds * kAudioRate)) * kAudioFrameBytes;
}

DiskAudio::DiskAudio(GameFolder& folder) : file(folder.root / "sound.raw") {
    fs::remove(file);
    folder.env.push_back("SDL_AUDIODRIVER=disk");
    folder.env.push_back("SDL_DISKAUDIOFILE=" + file.string());
}

uintmax_t DiskAudio::written() const {
    std::error_code ec;
    const uintmax_t n = fs::file_size(file, ec);
    return ec ? 0 : n;
}

std::vector<int16_t> DiskAudio::read(uintmax_t offset, uintmax_t bytes) const {
    offset -= offset % kAudioFrameBytes;
    std::ifstream in(file, std::ios::binary);
    std::vector<int16_t> out;
    if (!in.seekg(static_cast<std::streamoff>(offset))) return out;
    std::vector<char> raw(static_cast<size_t>(bytes));
    in.read(raw.data(), static_cast<std::streamsize>(raw.size()));
    const size_t got = static_cast<size_t>(in.gcount()) / 2;
    out.resize(got);
    for (size_t i = 0; i < got; ++i)
        out[i] = static_cast<int16_t>(static_cast<uint8_t>(raw[2 * i]) | (static_cast<uint8_t>(raw[2 * i + 1]) << 8));
    return out;
}

std::vector<int16_t> DiskAudio::listen(double skip, double seconds, double patience) const {
    const uintmax_t from = written() + audio_bytes(skip);
    const uintmax_t want = audio_bytes(seconds);
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(patience);
    while (written() < from + want) {
        if (std::chrono::steady_clock::now() >= end)
            throw StepFailed("the program's sound was not written: " + std::to_string(written()) + " of " +
                             std::to_string(from + want) + " bytes in " + file.string());
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return read(from, want);
}

double sounding_share(const std::vector<int16_t>& samples, int threshold) {
    if (samples.empty()) return 0;
    const auto loud = std::count_if(samples.begin(), samples.end(), [&](int16_t s) { return std::abs(s) > threshold; });
    return static_cast<double>(loud) / static_cast<double>(samples.size());
}

double tone_share(const std::vector<int16_t>& samples, double hz) {
    // One bin of the spectrum (Goertzel): a pure tone of whole periods gives 1.
    const double c = 2 * std::cos(2 * 3.14159265358979323846 * hz / kAudioRate);
    double s1 = 0, s2 = 0, energy = 0;
    size_t n = 0;
    for (size_t i = 0; i < samples.size(); i += kAudioChannels, ++n) {
        const double x = samples[i];
        const double s0 = x + c * s1 - s2;
        s2 = s1;
        s1 = s0;
        energy += x * x;
    }
    if (n == 0 || energy <= 0) return 0;
    const double power = s1 * s1 + s2 * s2 - c * s1 * s2;
    return std::min(1.0, 2 * power / (static_cast<double>(n) * energy));
}

}  // namespace vorn1::e2e
