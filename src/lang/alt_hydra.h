#pragma once
#include <SDL.h>

#include <array>
#include <string>

#include "assets/icn.h"

namespace vorn1 {

// Optional alternative art of the warlock town's swamp dwelling: six animation frames "0.png" to
// "5.png" with their offsets from an optional spec.xml (frame 0 the still picture), and an
// optional "build.png" that replaces the dwelling's build-screen picture.
class AltHydraArt {
public:
    static constexpr int kFrames = 6;

    AltHydraArt() = default;
    ~AltHydraArt() { unload(); }
    AltHydraArt(const AltHydraArt&) = delete;
    AltHydraArt& operator=(const AltHydraArt&) = delete;

    // Replaces what was loaded before; `loaded` needs frame 0. Returns `loaded`.
    bool load(SDL_Renderer* renderer, const std::string& folder);
    void unload();

    bool loaded = false;
    std::array<SDL_Texture*, kFrames> frames{};
    std::array<SpriteHeader, kFrames> headers{};  // x, y from spec.xml; width, height of the picture
    SDL_Texture* build_picture = nullptr;
    int build_w = 0;
    int build_h = 0;
};

}  // namespace vorn1
