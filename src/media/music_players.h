#pragma once
// The music and effect players: each owns its looped or one-shot chunks and plays them on its
// fixed mixer channel (sound_levels.h), setting the channel's volume from the level at every start.
// A null chunk is silence: every operation on it does nothing.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct Mix_Chunk;

namespace vorn1 {

class AggArchive;
class AmbientSoundEngine;
struct Resources;

// Ground band of a tile: 0 for tiles below 20 and for 255, then one band per 20 tiles, 6 for
// 120..254. Chooses the map music track and the footstep sound.
int terrain_band(uint8_t tile);

// Halts a channel only when it is playing.
void halt_if_playing(int channel);
// Sets the channel's volume, then plays the chunk on it (loops: -1 forever, 0 once).
void start_on_channel(int channel, Mix_Chunk* chunk, int volume, int loops);

// Title music on channel 7 (owned by the asset cache).
class TitleMusic {
public:
    static constexpr const char* kStem = "VELDAR48";
    TitleMusic() = default;
    TitleMusic(const TitleMusic&) = delete;
    TitleMusic& operator=(const TitleMusic&) = delete;
    ~TitleMusic();
    void init(const std::string& dir);

    Mix_Chunk* chunk = nullptr;
    std::vector<uint8_t> wav;
};

// Starts the title music looped on channel 7, unless channel 7 is already playing anything.
void title_music_play(const Resources* res);
void title_music_stop(const Resources* res);

// Town music by town kind 0..3 on channel 7 (owned by the main loop).
class CastleMusic {
public:
    static constexpr std::array<const char*, 4> kStems{"VELDAR32", "VELDAR31", "VELDAR29", "VELDAR30"};
    CastleMusic() = default;
    CastleMusic(const CastleMusic&) = delete;
    CastleMusic& operator=(const CastleMusic&) = delete;
    ~CastleMusic();
    void init(const std::string& dir);
    // Halts channel 7, then starts the track of the kind when there is one.
    void play(int kind);
    void stop();
    void shutdown();

    std::array<Mix_Chunk*, 4> chunks{};
    std::array<std::vector<uint8_t>, 4> wavs;
    bool playing = false;
};

// Adventure-map music by ground band on channel 6 (owned by the main loop).
class TerrainMusic {
public:
    static constexpr std::array<const char*, 7> kStems{"VELDAR00", "VELDAR01", "VELDAR02", "VELDAR03",
                                                       "VELDAR04", "VELDAR05", "VELDAR06"};
    TerrainMusic() = default;
    TerrainMusic(const TerrainMusic&) = delete;
    TerrainMusic& operator=(const TerrainMusic&) = delete;
    ~TerrainMusic();
    void init(const std::string& dir);
    // Called each frame with the ground tile under the active hero. The track changes only on the
    // first four tiles of a band, so the music does not flip at every coast or border tile.
    void update(uint8_t tile);
    // At a turn's start: the tile's track from its beginning, whatever the tile, so the map is not left
    // silent until the hero reaches the first tiles of a band.
    void restart(uint8_t tile);
    // Restarts the current track when channel 6 is idle.
    void resume();
    void stop();
    void pause();
    void resume_paused();
    void shutdown();

    std::array<Mix_Chunk*, 7> chunks{};
    std::array<std::vector<uint8_t>, 7> wavs;
    int32_t current = -1;  // no track chosen yet
};

// Campaign music on channel 7 (owned by the main loop).
class CampaignMusic {
public:
    static constexpr const char* kStem = "VELDAR54";
    CampaignMusic() = default;
    CampaignMusic(const CampaignMusic&) = delete;
    CampaignMusic& operator=(const CampaignMusic&) = delete;
    ~CampaignMusic();
    void init(const std::string& dir);
    // Halts every channel, then plays the campaign track looped on channel 7.
    void play();
    void stop();
    void shutdown();

    Mix_Chunk* chunk = nullptr;
    std::vector<uint8_t> wav;
};

// New-day jingle on channel 4, full scale 128 of the music level (owned by the asset cache).
class NewDayMusic {
public:
    static constexpr const char* kStem = "VELDAR49";
    NewDayMusic() = default;
    NewDayMusic(const NewDayMusic&) = delete;
    NewDayMusic& operator=(const NewDayMusic&) = delete;
    ~NewDayMusic();
    void init(const std::string& dir);
    void pause();
    void resume();

    Mix_Chunk* chunk = nullptr;
    std::vector<uint8_t> wav;
};

// Start of the new-day pause: terrain music and footsteps halted, ambient loops paused, the jingle
// looped on channel 4. The end halts the jingle, resumes the loops and restarts the terrain track.
void new_day_music_start(NewDayMusic* music, AmbientSoundEngine* ambient);
void new_day_music_end(AmbientSoundEngine* ambient, TerrainMusic* terrain);

// Tavern music on channel 3 (owned by the asset cache).
class TavernMusic {
public:
    static constexpr const char* kStem = "VELDAR47";
    TavernMusic() = default;
    TavernMusic(const TavernMusic&) = delete;
    TavernMusic& operator=(const TavernMusic&) = delete;
    ~TavernMusic();
    // Also reports the outcome: the file name on standard output, or a warning on the error stream.
    void init(const std::string& dir);
    // Stops the town music (when given), then plays the tavern music looped on channel 3.
    void play(CastleMusic* castle);
    void stop();

    Mix_Chunk* chunk = nullptr;
    std::vector<uint8_t> wav;
    bool playing = false;
};

// Town-build sound on channel 0 (owned by the asset cache, loaded from the archive).
class BuildSound {
public:
    static constexpr const char* kEntry = "BUILDTWN.82M";
    BuildSound() = default;
    BuildSound(const BuildSound&) = delete;
    BuildSound& operator=(const BuildSound&) = delete;
    ~BuildSound();
    // Restarts the sound from its beginning, once, at the effects level.
    void play();

    Mix_Chunk* chunk = nullptr;
    std::vector<uint8_t> wav;
};

// Dig sound on channel 0 (owned by the asset cache, loaded from the archive).
class DigSound {
public:
    static constexpr const char* kEntry = "DIGSOUND.82M";
    DigSound() = default;
    DigSound(const DigSound&) = delete;
    DigSound& operator=(const DigSound&) = delete;
    ~DigSound();
    void play();

    Mix_Chunk* chunk = nullptr;
    std::vector<uint8_t> wav;
};

// The asset cache's loading of an archive effect: "  NAME loaded" on standard output, or
// "  WARNING: NAME not found — <what> disabled" / "  WARNING: NAME failed to decode" on the error
// stream. Returns whether the chunk loaded.
bool load_map_effect(const AggArchive* archive, const char* entry, const char* what, Mix_Chunk*& chunk,
                     std::vector<uint8_t>& wav);

}  // namespace vorn1

namespace vorn1 {

// The asset cache's sound members, filled by the cache's owner once the cache is built: always
// created (empty); with audio open, the ambient loops and the build and dig sounds are loaded from
// the cache's archive. The music is read later from disk by each player's init.
void load_resource_sounds(Resources& res);

}  // namespace vorn1
