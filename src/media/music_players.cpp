#include "media/music_players.h"

#include <SDL_mixer.h>

#include <cstdio>

#include "assets/resources.h"
#include "media/ambient_sound.h"
#include "media/sound_chunk.h"
#include "media/sound_levels.h"

namespace vorn1 {

namespace {

void load_stem(const std::string& dir, const char* stem, Mix_Chunk*& chunk, std::vector<uint8_t>& wav,
               std::string* found = nullptr) {
    free_sound(chunk, wav);
    std::string name;
    chunk = load_best_sound_from_disk(dir, stem, wav, &name);
    if (found) *found = chunk ? name : std::string();
}

int music_volume() { return player_volume(g_music_level(), kMusicFullScale); }

}  // namespace

int terrain_band(uint8_t tile) {
    if (tile < 20 || tile == 255) return 0;
    return tile >= 120 ? 6 : tile / 20;
}

void halt_if_playing(int channel) {
    if (Mix_Playing(channel)) Mix_HaltChannel(channel);
}

void start_on_channel(int channel, Mix_Chunk* chunk, int volume, int loops) {
    Mix_Volume(channel, volume);
    Mix_PlayChannel(channel, chunk, loops);
}

// ---- title music

TitleMusic::~TitleMusic() {
    halt_if_playing(kChanTownMusic);
    free_sound(chunk, wav);
}

void TitleMusic::init(const std::string& dir) { load_stem(dir, kStem, chunk, wav); }

void title_music_play(const Resources* res) {
    if (!res || !res->title_music || !res->title_music->chunk) return;
    if (Mix_Playing(kChanTownMusic)) return;
    start_on_channel(kChanTownMusic, res->title_music->chunk, music_volume(), -1);
}

void title_music_stop(const Resources* res) {
    if (!res) return;
    halt_if_playing(kChanTownMusic);
}

// ---- castle music

CastleMusic::~CastleMusic() { shutdown(); }

void CastleMusic::init(const std::string& dir) {
    for (size_t i = 0; i < kStems.size(); ++i) load_stem(dir, kStems[i], chunks[i], wavs[i]);
}

void CastleMusic::play(int kind) {
    halt_if_playing(kChanTownMusic);
    playing = false;
    if (static_cast<unsigned>(kind) >= chunks.size() || !chunks[kind]) return;
    start_on_channel(kChanTownMusic, chunks[kind], music_volume(), -1);
    playing = true;
}

void CastleMusic::stop() {
    halt_if_playing(kChanTownMusic);
    playing = false;
}

void CastleMusic::shutdown() {
    halt_if_playing(kChanTownMusic);
    for (size_t i = 0; i < chunks.size(); ++i) free_sound(chunks[i], wavs[i]);
    playing = false;
}

// ---- terrain music

TerrainMusic::~TerrainMusic() { shutdown(); }

void TerrainMusic::init(const std::string& dir) {
    for (size_t i = 0; i < kStems.size(); ++i) load_stem(dir, kStems[i], chunks[i], wavs[i]);
}

void TerrainMusic::update(uint8_t tile) {
    const int track = terrain_band(tile);
    if (track == current && Mix_Playing(kChanTerrain)) return;
    if (tile % 20 > 3) return;
    restart(tile);
}

void TerrainMusic::restart(uint8_t tile) {
    current = terrain_band(tile);
    if (chunks[current]) {
        Mix_HaltChannel(kChanTerrain);
        start_on_channel(kChanTerrain, chunks[current], music_volume(), -1);
    } else {
        halt_if_playing(kChanTerrain);
    }
}

void TerrainMusic::resume() {
    if (current < 0 || current >= static_cast<int32_t>(chunks.size()) || !chunks[current]) return;
    if (Mix_Playing(kChanTerrain)) return;
    start_on_channel(kChanTerrain, chunks[current], music_volume(), -1);
}

void TerrainMusic::stop() { halt_if_playing(kChanTerrain); }

void TerrainMusic::pause() {
    if (Mix_Playing(kChanTerrain) && !Mix_Paused(kChanTerrain)) Mix_Pause(kChanTerrain);
}

void TerrainMusic::resume_paused() {
    if (Mix_Paused(kChanTerrain)) Mix_Resume(kChanTerrain);
}

void TerrainMusic::shutdown() {
    halt_if_playing(kChanTerrain);
    for (size_t i = 0; i < chunks.size(); ++i) free_sound(chunks[i], wavs[i]);
}

// ---- campaign music

CampaignMusic::~CampaignMusic() { shutdown(); }

void CampaignMusic::init(const std::string& dir) { load_stem(dir, kStem, chunk, wav); }

void CampaignMusic::play() {
    if (!chunk) return;
    Mix_HaltChannel(-1);
    Mix_HaltChannel(kChanTownMusic);
    start_on_channel(kChanTownMusic, chunk, music_volume(), -1);
}

void CampaignMusic::stop() { halt_if_playing(kChanTownMusic); }

void CampaignMusic::shutdown() {
    halt_if_playing(kChanTownMusic);
    free_sound(chunk, wav);
}

// ---- new-day music

NewDayMusic::~NewDayMusic() {
    halt_if_playing(kChanNewDay);
    free_sound(chunk, wav);
}

void NewDayMusic::init(const std::string& dir) { load_stem(dir, kStem, chunk, wav); }

void NewDayMusic::pause() {
    if (Mix_Playing(kChanNewDay) && !Mix_Paused(kChanNewDay)) Mix_Pause(kChanNewDay);
}

void NewDayMusic::resume() {
    if (Mix_Paused(kChanNewDay)) Mix_Resume(kChanNewDay);
}

void new_day_music_start(NewDayMusic* music, AmbientSoundEngine* ambient) {
    halt_if_playing(kChanTerrain);
    halt_if_playing(kChanFootsteps);
    if (ambient) ambient->pause_all();
    Mix_HaltChannel(kChanNewDay);
    if (!music || !music->chunk) return;
    start_on_channel(kChanNewDay, music->chunk, player_volume(g_music_level(), kNewDayFullScale), -1);
}

void new_day_music_end(AmbientSoundEngine* ambient, TerrainMusic* terrain) {
    Mix_HaltChannel(kChanNewDay);
    if (ambient) ambient->resume_all();
    if (terrain) terrain->resume();
}

// ---- tavern music

TavernMusic::~TavernMusic() {
    halt_if_playing(kChanTavern);
    free_sound(chunk, wav);
}

void TavernMusic::init(const std::string& dir) {
    std::string found;
    load_stem(dir, kStem, chunk, wav, &found);
    if (chunk) std::printf("  %s (tavern music) loaded\n", found.c_str());
    else std::fprintf(stderr, "  WARNING: VELDAR47.* not found — tavern music disabled\n");
}

void TavernMusic::play(CastleMusic* castle) {
    if (!chunk) return;
    if (castle) castle->stop();
    Mix_HaltChannel(kChanTavern);
    start_on_channel(kChanTavern, chunk, music_volume(), -1);
    playing = true;
}

void TavernMusic::stop() {
    halt_if_playing(kChanTavern);
    playing = false;
}

// ---- map effects

BuildSound::~BuildSound() {
    halt_if_playing(kChanMapEffects);
    free_sound(chunk, wav);
}

void BuildSound::play() {
    if (!chunk) return;
    Mix_HaltChannel(kChanMapEffects);
    start_on_channel(kChanMapEffects, chunk, player_volume(g_sfx_level(), kEffectsFullScale), 0);
}

DigSound::~DigSound() {
    halt_if_playing(kChanMapEffects);
    free_sound(chunk, wav);
}

void DigSound::play() {
    if (!chunk) return;
    Mix_HaltChannel(kChanMapEffects);
    start_on_channel(kChanMapEffects, chunk, player_volume(g_sfx_level(), kEffectsFullScale), 0);
}

bool load_map_effect(const AggArchive* archive, const char* entry, const char* what, Mix_Chunk*& chunk,
                     std::vector<uint8_t>& wav) {
    free_sound(chunk, wav);
    bool found = false;
    chunk = load_archive_chunk(archive, entry, wav, &found);
    if (chunk) std::printf("  %s loaded\n", entry);
    else if (!found) std::fprintf(stderr, "  WARNING: %s not found — %s disabled\n", entry, what);
    else std::fprintf(stderr, "  WARNING: %s failed to decode\n", entry);
    return chunk != nullptr;
}

}  // namespace vorn1

namespace vorn1 {

void load_resource_sounds(Resources& res) {
    res.title_music = make_owned<TitleMusic>();
    res.new_day_music = make_owned<NewDayMusic>();
    res.tavern_music = make_owned<TavernMusic>();
    res.build_sound = make_owned<BuildSound>();
    res.dig_sound = make_owned<DigSound>();
    res.ambient = make_owned<AmbientSoundEngine>();
    if (!Mix_QuerySpec(nullptr, nullptr, nullptr)) return;
    const AggArchive* archive = res.archive.get();
    res.ambient->load(archive);
    load_map_effect(archive, BuildSound::kEntry, "build sound", res.build_sound->chunk, res.build_sound->wav);
    load_map_effect(archive, DigSound::kEntry, "dig sound", res.dig_sound->chunk, res.dig_sound->wav);
}

}  // namespace vorn1
