#pragma once
// The music and effects levels (0..10) that every player reads when it starts a sound, and the
// mixer channel plan they all keep to.
#include <array>

namespace vorn1 {

// Mixer channels by use.
inline constexpr int kChanMapEffects = 0;
inline constexpr int kChanBattleMusic = 1;
inline constexpr int kChanBattleEffects = 2;
inline constexpr int kChanTavern = 3;  // also battle spell sounds
inline constexpr int kChanNewDay = 4;
inline constexpr int kChanFootsteps = 5;
inline constexpr int kChanTerrain = 6;
inline constexpr int kChanTownMusic = 7;  // title, castle and campaign music
inline constexpr int kChanAmbientFirst = 8;
inline constexpr int kAmbientCount = 21;  // channels 8..28
inline constexpr int kMixerChannels = kChanAmbientFirst + kAmbientCount;

// Channels whose volume follows the music level, and those that follow the effects level
// (besides the ambient channels 8..28).
inline constexpr std::array<int, 5> MUSIC_CH{1, 3, 4, 6, 7};
inline constexpr std::array<int, 3> SFX_CH{0, 2, 5};

// Full-scale volumes of the players (the mixer's range is 0..128).
inline constexpr int kMusicFullScale = 76;
inline constexpr int kNewDayFullScale = 128;
inline constexpr int kEffectsFullScale = 128;
inline constexpr int kFootstepFullScale = 64;

// The current levels, 5 and 4 at start; one value each for the whole process.
int& g_music_level();
int& g_sfx_level();

// A player's volume for a level: 0 at level 0 or below, full scale at 10 or above, otherwise
// (level x full + 5) / 10.
int player_volume(int level, int full_scale);

// Clamp the level to 0..10, store it, and set (level x 77 + 5) / 10 on MUSIC_CH.
void apply_music_volume(int level);
// Clamp the level to 0..10, store it, and set (level x 128 + 5) / 10 on SFX_CH, then 8..28.
void apply_sfx_volume(int level);

}  // namespace vorn1
