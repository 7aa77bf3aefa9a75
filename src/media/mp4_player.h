#pragma once
// Full-screen playback of an MP4 (or any container and codecs the FFmpeg libraries open) with the
// Smacker player's contract: the same options, overlay, results and sound paths.
#include <string>

#include "media/smk_player.h"

namespace vorn1 {

int play_mp4_file(SDL_Renderer* renderer, const std::string& path, const SmkPlayOptions& options);

}  // namespace vorn1
