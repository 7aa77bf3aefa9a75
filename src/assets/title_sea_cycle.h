#pragma once
#include <SDL.h>

#include <cstdint>

#include "assets/image.h"
#include "assets/palette.h"
#include "assets/palette_cycle.h"

namespace vorn1 {

// The title picture with its sea bands cycling. Draw `texture` full screen only while `active`.
class TitleSeaCycle {
public:
    static constexpr uint32_t kPeriodMs = 220;

    TitleSeaCycle() = default;
    ~TitleSeaCycle() { reset(); }
    TitleSeaCycle(const TitleSeaCycle&) = delete;
    TitleSeaCycle& operator=(const TitleSeaCycle&) = delete;

    void init(SDL_Renderer* renderer, const Palette& palette);
    // Copies the picture and starts the animation (the texture shows phase 0 at once).
    void set_source(const Image& img);
    // Absolute millisecond count; the texture is rebuilt only when the phase changes.
    void tick(uint32_t ms);
    void reset();

    uint8_t active = 0;
    SDL_Texture* texture = nullptr;

private:
    void rebuild(uint32_t phase);

    SDL_Renderer* renderer_ = nullptr;
    Palette palette_{};
    Image source_;
    Image work_;
    CyclePixels pixels_;
    uint32_t phase_ = 0;
};

}  // namespace vorn1
