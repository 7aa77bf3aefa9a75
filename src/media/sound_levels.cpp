#include "media/sound_levels.h"

#include <SDL_mixer.h>

#include <algorithm>

namespace vorn1 {

int& g_music_level() {
    static int level = 5;
    return level;
}

int& g_sfx_level() {
    static int level = 4;
    return level;
}

int player_volume(int level, int full_scale) {
    if (level <= 0) return 0;
    if (level >= 10) return full_scale;
    return (level * full_scale + 5) / 10;
}

void apply_music_volume(int level) {
    level = std::clamp(level, 0, 10);
    g_music_level() = level;
    const int vol = (level * 77 + 5) / 10;
    for (int ch : MUSIC_CH) Mix_Volume(ch, vol);
}

void apply_sfx_volume(int level) {
    level = std::clamp(level, 0, 10);
    g_sfx_level() = level;
    const int vol = (level * 128 + 5) / 10;
    for (int ch : SFX_CH) Mix_Volume(ch, vol);
    for (int ch = kChanAmbientFirst; ch < kMixerChannels; ++ch) Mix_Volume(ch, vol);
}

}  // namespace vorn1
