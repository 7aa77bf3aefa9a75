#pragma once
#include <SDL.h>

#include <array>
#include <string>

namespace vorn1 {

// Optional replacement hero figures, one per hero class 0..3, from "<class>.png" frames of a
// folder. Without the folder (or any usable frame) `loaded` stays false and the stock art is used.
class HeroHorseArt {
public:
    static constexpr int kClasses = 4;

    HeroHorseArt() = default;
    ~HeroHorseArt() { unload(); }
    HeroHorseArt(const HeroHorseArt&) = delete;
    HeroHorseArt& operator=(const HeroHorseArt&) = delete;

    // Replaces what was loaded before; returns `loaded`.
    bool load(SDL_Renderer* renderer, const std::string& folder);
    void unload();

    // The figure of a class; null for a class outside 0..3 or without a frame.
    SDL_Texture* figure(int hero_class) const {
        return hero_class >= 0 && hero_class < kClasses ? textures[hero_class] : nullptr;
    }

    bool loaded = false;
    std::array<SDL_Texture*, kClasses> textures{};
    std::array<int, kClasses> w{};
    std::array<int, kClasses> h{};
};

}  // namespace vorn1
