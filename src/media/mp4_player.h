#pragma once
// Full-screen playback of an MP4 (or any container and codecs the FFmpeg libraries open) with the
// Smacker player's contract: the same options, overlay, results and sound paths.
#include <cstdint>
#include <string>

#include "media/smk_player.h"

namespace vorn1 {

int play_mp4_file(SDL_Renderer* renderer, const std::string& path, const SmkPlayOptions& options);

// The channels a sound track of `channels` channels and no named layout is mixed down from, as a mask
// of channel places (bit 0 front left); 0 when there are too many to place.
uint64_t film_channel_mask(int channels);

}  // namespace vorn1
