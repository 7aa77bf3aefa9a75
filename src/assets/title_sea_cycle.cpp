#include "assets/title_sea_cycle.h"

#include "assets/render_utils.h"

namespace vorn1 {

void TitleSeaCycle::init(SDL_Renderer* renderer, const Palette& palette) {
    reset();
    renderer_ = renderer;
    palette_ = palette;
}

void TitleSeaCycle::set_source(const Image& img) {
    reset();
    if (img.empty()) return;
    source_ = img;
    work_ = img;
    pixels_ = find_cycle_pixels(source_, palette_, kPaletteCycleRanges);
    active = 1;
    texture = img_to_tex(renderer_, work_, false);
    rebuild(0);
}

void TitleSeaCycle::rebuild(uint32_t phase) {
    phase_ = phase;
    if (!texture || pixels_.empty()) return;
    recolour(work_, pixels_, cycle_palette(palette_, kPaletteCycleRanges, phase));
    SDL_UpdateTexture(texture, nullptr, work_.pixels.data(), work_.width * 4);
}

void TitleSeaCycle::tick(uint32_t ms) {
    if (!active) return;
    const uint32_t phase = cycle_phase(ms, kPeriodMs);
    if (phase != phase_) rebuild(phase);
}

void TitleSeaCycle::reset() {
    if (texture) SDL_DestroyTexture(texture);
    texture = nullptr;
    active = 0;
    source_ = Image{};
    work_ = Image{};
    pixels_ = CyclePixels{};
    phase_ = 0;
}

}  // namespace vorn1
