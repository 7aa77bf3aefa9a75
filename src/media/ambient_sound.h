#pragma once
// Sounds that depend on where things are on the adventure map: the ambient loops around a map
// position, and the footsteps of a walking hero by the ground under it.
#include <array>
#include <cstdint>
#include <vector>

struct Mix_Chunk;

namespace vorn1 {

class AggArchive;

inline constexpr int kSoundMapSide = 72;
inline constexpr int kAmbientIds = 21;  // ids 0..20; 21 and above mean no sound

// Loudness of an ambient loop by Chebyshev distance 0..3 to the nearest tile of its id.
inline constexpr std::array<float, 4> SOUND_VOL_FRACS{0.6f, 0.3f, 0.15f, 0.075f};

// Volume of an ambient loop at a distance 0..3 for an effects level: trunc(frac x 128), then
// scaled by the level (0 silence, 10 or more full).
int ambient_volume(int distance, int level);

// A 72 x 72 grid with no sound anywhere (every byte 255).
const uint8_t* empty_sound_map();

// Up to 21 looped sounds, id i on mixer channel 8 + i, each as loud as the nearest tile of its id
// within three tiles of the last update's position. Owned by the asset cache.
class AmbientSoundEngine {
public:
    AmbientSoundEngine();
    AmbientSoundEngine(const AmbientSoundEngine&) = delete;
    AmbientSoundEngine& operator=(const AmbientSoundEngine&) = delete;
    ~AmbientSoundEngine();

    // Loads "LOOP0000.82M".."LOOP0020.82M" (each falling back to its lower-case name), points the
    // engine at the empty grid, switches it on and prints "  Ambient sound chunks loaded".
    void load(const AggArchive* archive);
    // Starts the loops in range of (x, y), re-levels the ones already running (a paused one stays
    // paused) and halts the others. Nothing while inactive or without a grid. A position off the grid
    // (-1, -1: no tile, a turn without a hero) halts every loop, active or not.
    void update(int x, int y);
    // Pauses or resumes the 21 channels (new-day pause, town screens, battles).
    void pause_all();
    void resume_all();

    const uint8_t* grid = nullptr;  // borrowed, row-major 72 x 72 ambient ids
    std::array<Mix_Chunk*, kAmbientIds> chunks{};
    std::array<std::vector<uint8_t>, kAmbientIds> wavs;
    std::array<uint32_t, kAmbientIds> channels{};
    bool active = false;
    bool enabled = false;  // the setting the main loop copies into active before each update
    int32_t last_x = -1;  // the tile of the last update; -1 while pointed at no tile
    int32_t last_y = -1;
};

// Footstep sounds on channel 5, 3 variants x 7 ground slots (index variant x 7 + slot). Owned by
// the main loop; variants 0 and 2 are loaded, 1 stays empty.
class FootstepSounds {
public:
    // Sound number of each ground slot (the band of terrain_band).
    static constexpr std::array<int, 7> TERRAIN_SLOT{0, 3, 5, 3, 4, 5, 6};

    FootstepSounds() = default;
    FootstepSounds(const FootstepSounds&) = delete;
    FootstepSounds& operator=(const FootstepSounds&) = delete;
    ~FootstepSounds();

    // Reads "WSND<v><n>.82M" (else its lower-case name) for v in 0 and 2 and each slot's number n.
    void load(const AggArchive* archive);
    // One footstep for the ground tile under the moving hero. On land it cuts the running step;
    // in a boat it plays the slot-0 sound only when the channel is idle.
    void play(uint8_t tile, bool in_boat);
    void stop();
    void shutdown();

    std::array<Mix_Chunk*, 21> chunks{};
    std::array<std::vector<uint8_t>, 21> wavs;
    bool loaded = false;
    int variant = 0;  // 0 or 2, chosen by the movement speed; a missing variant-2 sound uses variant 0
};

}  // namespace vorn1
