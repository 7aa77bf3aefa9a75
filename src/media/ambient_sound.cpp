#include "media/ambient_sound.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "media/music_players.h"
#include "media/sound_chunk.h"
#include "media/sound_levels.h"

namespace vorn1 {

namespace {

std::string numbered(const char* fmt, int a, int b = 0) {
    char buf[32];
    std::snprintf(buf, sizeof buf, fmt, a, b);
    return buf;
}

}  // namespace

int ambient_volume(int distance, int level) {
    if (level <= 0 || distance < 0 || distance >= static_cast<int>(SOUND_VOL_FRACS.size())) return 0;
    const int v = static_cast<int>(SOUND_VOL_FRACS[static_cast<size_t>(distance)] * 128.0f);
    if (level >= 10) return v;
    return (v * level + 5) / 10;
}

const uint8_t* empty_sound_map() {
    static const std::array<uint8_t, kSoundMapSide * kSoundMapSide> grid = [] {
        std::array<uint8_t, kSoundMapSide * kSoundMapSide> g;
        g.fill(255);
        return g;
    }();
    return grid.data();
}

// ---- ambient loops

AmbientSoundEngine::AmbientSoundEngine() {
    for (int i = 0; i < kAmbientIds; ++i) channels[static_cast<size_t>(i)] = static_cast<uint32_t>(kChanAmbientFirst + i);
}

AmbientSoundEngine::~AmbientSoundEngine() {
    for (int i = 0; i < kAmbientIds; ++i) {
        halt_if_playing(static_cast<int>(channels[static_cast<size_t>(i)]));
        free_sound(chunks[static_cast<size_t>(i)], wavs[static_cast<size_t>(i)]);
    }
}

void AmbientSoundEngine::load(const AggArchive* archive) {
    for (int i = 0; i < kAmbientIds; ++i) {
        const size_t k = static_cast<size_t>(i);
        free_sound(chunks[k], wavs[k]);
        chunks[k] = load_archive_chunk(archive, numbered("LOOP%04d.82M", i), wavs[k]);
        channels[k] = static_cast<uint32_t>(kChanAmbientFirst + i);
    }
    grid = empty_sound_map();
    active = true;
    enabled = true;
    std::printf("  Ambient sound chunks loaded\n");
}

void AmbientSoundEngine::update(int x, int y) {
    if (x < 0 || y < 0 || x >= kSoundMapSide || y >= kSoundMapSide) {
        for (uint32_t c : channels) halt_if_playing(static_cast<int>(c));
        last_x = last_y = -1;
        return;
    }
    if (!active || !grid) return;
    std::array<int, kAmbientIds> best;
    best.fill(999);
    for (int dy = -3; dy <= 3; ++dy) {
        const int ty = y + dy;
        if (ty < 0 || ty >= kSoundMapSide) continue;
        for (int dx = -3; dx <= 3; ++dx) {
            const int tx = x + dx;
            if (tx < 0 || tx >= kSoundMapSide) continue;
            const uint8_t id = grid[ty * kSoundMapSide + tx];
            if (id >= kAmbientIds) continue;
            best[id] = std::min(best[id], std::max(std::abs(dx), std::abs(dy)));
        }
    }
    const int level = g_sfx_level();
    for (int id = 0; id < kAmbientIds; ++id) {
        const size_t k = static_cast<size_t>(id);
        const int c = static_cast<int>(channels[k]);
        if (best[k] <= 3 && chunks[k]) {
            const int vol = ambient_volume(best[k], level);
            if (!Mix_Playing(c)) start_on_channel(c, chunks[k], vol, -1);
            else Mix_Volume(c, vol);
        } else {
            halt_if_playing(c);
        }
    }
    last_x = x;
    last_y = y;
}

void AmbientSoundEngine::pause_all() {
    for (uint32_t c : channels) Mix_Pause(static_cast<int>(c));
}

void AmbientSoundEngine::resume_all() {
    for (uint32_t c : channels)
        if (Mix_Paused(static_cast<int>(c))) Mix_Resume(static_cast<int>(c));
}

// ---- footsteps

FootstepSounds::~FootstepSounds() { shutdown(); }

void FootstepSounds::load(const AggArchive* archive) {
    for (int v : {0, 2}) {
        for (int s = 0; s < 7; ++s) {
            const size_t k = static_cast<size_t>(v * 7 + s);
            free_sound(chunks[k], wavs[k]);
            chunks[k] = load_archive_chunk(archive, numbered("WSND%d%d.82M", v, TERRAIN_SLOT[static_cast<size_t>(s)]),
                                           wavs[k]);
        }
    }
    loaded = true;
}

void FootstepSounds::play(uint8_t tile, bool in_boat) {
    if (!loaded) return;
    const int slot = in_boat ? 0 : terrain_band(tile);
    Mix_Chunk* chunk = variant == 2 ? chunks[static_cast<size_t>(14 + slot)] : nullptr;
    if (!chunk) chunk = chunks[static_cast<size_t>(slot)];
    if (!chunk) return;
    if (in_boat) {
        if (Mix_Playing(kChanFootsteps)) return;
    } else {
        Mix_HaltChannel(kChanFootsteps);
    }
    start_on_channel(kChanFootsteps, chunk, player_volume(g_sfx_level(), kFootstepFullScale), 0);
}

void FootstepSounds::stop() { halt_if_playing(kChanFootsteps); }

void FootstepSounds::shutdown() {
    halt_if_playing(kChanFootsteps);
    for (size_t k = 0; k < chunks.size(); ++k) free_sound(chunks[k], wavs[k]);
}

}  // namespace vorn1
