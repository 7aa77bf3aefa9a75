#include "media/sound_chunk.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <climits>
#include <cstring>

#include "assets/agg.h"

namespace vorn1 {

namespace {

struct FmtInfo {
    uint16_t channels;
    uint16_t bits;
    uint32_t byte_rate;
    uint16_t block_align;
};

constexpr uint32_t kSampleRate = 22050;

FmtInfo fmt_info(VornAudioFmt fmt) {
    switch (fmt) {
    case VORN_FMT_82S:
        return {2, 8, 44100, 2};
    case VORN_FMT_62S:
        return {2, 16, 88200, 4};
    default:
        return {1, 8, 22050, 1};
    }
}

void put16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void put_tag(std::vector<uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

std::string lower_sdl(const std::string& s) {
    std::string out = s;
    for (char& c : out) c = static_cast<char>(SDL_tolower(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

bool build_vorn1_wav(const std::vector<uint8_t>& raw, VornAudioFmt fmt, std::vector<uint8_t>& wav) {
    wav.clear();
    if (raw.empty() || raw.size() > kMaxRawSoundBytes) return false;
    const FmtInfo f = fmt_info(fmt);
    const uint32_t n = static_cast<uint32_t>(raw.size());
    wav.reserve(raw.size() + 44);
    put_tag(wav, "RIFF");
    put32(wav, n + 36);
    put_tag(wav, "WAVE");
    put_tag(wav, "fmt ");
    put32(wav, 16);
    put16(wav, 1);
    put16(wav, f.channels);
    put32(wav, kSampleRate);
    put32(wav, f.byte_rate);
    put16(wav, f.block_align);
    put16(wav, f.bits);
    put_tag(wav, "data");
    put32(wav, n);
    if (f.bits == 8) {
        // Stored samples are signed; WAVE keeps 8-bit samples unsigned.
        for (uint8_t b : raw) wav.push_back(static_cast<uint8_t>(b - 128));
    } else {
        wav.insert(wav.end(), raw.begin(), raw.end());
    }
    return true;
}

Mix_Chunk* load_vorn1_chunk(const std::vector<uint8_t>& raw, VornAudioFmt fmt, std::vector<uint8_t>& wav) {
    if (!build_vorn1_wav(raw, fmt, wav)) return nullptr;
    Mix_Chunk* chunk = nullptr;
    if (SDL_RWops* rw = SDL_RWFromConstMem(wav.data(), static_cast<int>(wav.size()))) {
        chunk = Mix_LoadWAV_RW(rw, 0);
        SDL_RWclose(rw);
    }
    if (!chunk) {
        wav.clear();
        wav.shrink_to_fit();
    }
    return chunk;
}

std::vector<uint8_t> read_sound_file(const std::string& path) {
    std::vector<uint8_t> bytes;
    SDL_RWops* rw = SDL_RWFromFile(path.c_str(), "rb");
    if (!rw) return bytes;
    const Sint64 size = SDL_RWsize(rw);
    if (size >= 1 && static_cast<uint64_t>(size) <= kMaxRawSoundBytes) {
        // A short read leaves the tail as zeros, which is silence once converted.
        bytes.assign(static_cast<size_t>(size), 0);
        SDL_RWread(rw, bytes.data(), 1, bytes.size());
    }
    SDL_RWclose(rw);
    return bytes;
}

Mix_Chunk* load_best_sound_from_disk(const std::string& dir, const std::string& stem, std::vector<uint8_t>& wav,
                                     std::string* found_name) {
    struct Variant {
        const char* ext;
        VornAudioFmt fmt;
    };
    static constexpr Variant kVariants[] = {{".62S", VORN_FMT_62S}, {".82S", VORN_FMT_82S}, {".82M", VORN_FMT_82M}};
    static constexpr const char* kFolders[] = {"../SOUND/", "SOUND/", ""};
    wav.clear();
    for (const Variant& v : kVariants) {
        const std::string name = stem + v.ext;
        for (const std::string& n : {name, lower_sdl(name)}) {
            for (const char* folder : kFolders) {
                const std::vector<uint8_t> raw = read_sound_file(dir + folder + n);
                if (raw.empty()) continue;
                if (Mix_Chunk* chunk = load_vorn1_chunk(raw, v.fmt, wav)) {
                    if (found_name) *found_name = n;
                    return chunk;
                }
            }
        }
    }
    return nullptr;
}

Mix_Chunk* load_archive_chunk(const AggArchive* archive, const std::string& name, std::vector<uint8_t>& wav,
                              bool* found) {
    wav.clear();
    if (found) *found = false;
    if (!archive) return nullptr;
    std::vector<uint8_t> raw = archive->get(name);
    if (raw.empty()) raw = archive->get(lower_sdl(name));
    if (raw.empty()) return nullptr;
    if (found) *found = true;
    return load_vorn1_chunk(raw, VORN_FMT_82M, wav);
}

void free_sound(Mix_Chunk*& chunk, std::vector<uint8_t>& wav) {
    if (chunk) Mix_FreeChunk(chunk);
    chunk = nullptr;
    wav.clear();
    wav.shrink_to_fit();
}

}  // namespace vorn1
