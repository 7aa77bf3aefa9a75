#include "assets/castle_pal_cycle.h"

#include "assets/render_utils.h"

namespace vorn1 {

void CastlePalCycle::init(SDL_Renderer* renderer, const Palette& palette) {
    reset();
    renderer_ = renderer;
    palette_ = palette;
}

void CastlePalCycle::register_frame(const Image& img, SDL_Texture** slot, bool blend) {
    if (!slot || img.empty()) return;
    CyclePixels px = find_cycle_pixels(img, palette_, kPaletteCycleRanges);
    if (px.empty()) return;
    frames_.push_back(Frame{img, std::move(px), slot, blend});
    if (phase_ != 0) refresh(frames_.back(), cycle_palette(palette_, kPaletteCycleRanges, phase_));
}

void CastlePalCycle::reset() {
    frames_.clear();
    phase_ = 0;
}

void CastlePalCycle::refresh(Frame& f, const Palette& cycled) {
    recolour(f.img, f.pixels, cycled);
    SDL_Texture* cur = *f.slot;
    int tw = 0, th = 0;
    if (cur && SDL_QueryTexture(cur, nullptr, nullptr, &tw, &th) == 0 && tw == f.img.width &&
        th == f.img.height &&
        SDL_UpdateTexture(cur, nullptr, f.img.pixels.data(), f.img.width * 4) == 0)
        return;
    SDL_Texture* fresh = img_to_tex(renderer_, f.img, f.blend);
    if (!fresh) return;
    if (cur) SDL_DestroyTexture(cur);
    *f.slot = fresh;
}

void CastlePalCycle::tick(uint32_t ms) {
    const uint32_t phase = cycle_phase(ms, kPeriodMs);
    if (phase == phase_) return;
    phase_ = phase;
    if (frames_.empty()) return;
    const Palette cycled = cycle_palette(palette_, kPaletteCycleRanges, phase);
    for (Frame& f : frames_) refresh(f, cycled);
}

}  // namespace vorn1
