#pragma once
#include <SDL.h>

#include <cstdint>
#include <vector>

#include "assets/image.h"
#include "assets/palette.h"
#include "assets/palette_cycle.h"

namespace vorn1 {

// Palette cycling of the town pictures. Each registered frame keeps its picture; whenever the
// cycle moves, the texture in its slot is re-coloured (updated in place, or replaced when the
// slot's texture no longer fits). The slots stay owned by the caller, who must reset() before
// destroying them.
class CastlePalCycle {
public:
    static constexpr uint32_t kPeriodMs = 200;

    void init(SDL_Renderer* renderer, const Palette& palette);
    // Frames without a cycling colour, empty frames and null slots are not kept.
    void register_frame(const Image& img, SDL_Texture** slot, bool blend);
    void reset();
    void tick(uint32_t ms);

    int registered() const { return static_cast<int>(frames_.size()); }

private:
    struct Frame {
        Image img;
        CyclePixels pixels;
        SDL_Texture** slot = nullptr;
        bool blend = false;
    };
    void refresh(Frame& f, const Palette& cycled);

    SDL_Renderer* renderer_ = nullptr;
    Palette palette_{};
    std::vector<Frame> frames_;
    uint32_t phase_ = 0;
};

}  // namespace vorn1
