#include "assets/dissolve.h"

#include <algorithm>
#include <random>

namespace vorn1 {

namespace {
constexpr int kMaxSide = 8192;
constexpr int kMaxMs = 60000;
}  // namespace

void DissolveMask::reset(int w, int h, int group, int cell, uint32_t seed) {
    w_ = std::clamp(w, 0, kMaxSide);
    h_ = std::clamp(h, 0, kMaxSide);
    cell_ = std::clamp(cell, 1, std::max(1, std::max(w_, h_)));
    // Very small cells on a big area would make millions of cells; keep the grid bounded.
    while (static_cast<int64_t>((w_ + cell_ - 1) / cell_) * ((h_ + cell_ - 1) / cell_) > 65536) ++cell_;
    cols_ = (w_ + cell_ - 1) / cell_;
    rows_ = (h_ + cell_ - 1) / cell_;
    const int n = cols_ * rows_;
    const int g = std::max(1, group);
    std::vector<int> order(n);
    for (int i = 0; i < n; ++i) order[i] = i;
    std::mt19937 gen(seed);
    for (int i = n - 1; i > 0; --i) std::swap(order[i], order[gen() % static_cast<uint32_t>(i + 1)]);
    phases_.assign(n, 0.0f);
    for (int rank = 0; rank < n; ++rank)
        phases_[order[rank]] = static_cast<float>((rank / g) * g) / static_cast<float>(n);
    free_textures();
}

void DissolveMask::free_textures() {
    if (work) SDL_DestroyTexture(work);
    work = nullptr;
    shown_.clear();
    last_from_ = last_to_ = nullptr;
    last_t_ = 0.0f;
}

float DissolveMask::phase(int col, int row) const {
    if (col < 0 || row < 0 || col >= cols_ || row >= rows_) return 0.0f;
    return phases_[static_cast<std::size_t>(row) * cols_ + col];
}

bool DissolveMask::revealed(DissolveMode mode, int col, int row, float t) const {
    if (t >= 1.0f) return true;
    switch (mode) {
    case DissolveMode::Cut:
        return true;
    case DissolveMode::Wipe:
        return cols_ > 0 && static_cast<float>(col) / static_cast<float>(cols_) < t;
    case DissolveMode::RandomCells:
    default:
        return phase(col, row) < t;
    }
}

SDL_Texture* dissolve_capture(SDL_Renderer* renderer, int w, int h, const std::function<void()>& redraw) {
    if (!renderer || w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide) return nullptr;
    SDL_Texture* tex = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_TARGET, w, h);
    if (!tex) return nullptr;
    SDL_Texture* old = SDL_GetRenderTarget(renderer);
    if (SDL_SetRenderTarget(renderer, tex) != 0) {
        SDL_DestroyTexture(tex);
        return nullptr;
    }
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    if (redraw) redraw();
    SDL_SetRenderTarget(renderer, old);
    return tex;
}

namespace {

SDL_Rect cell_rect(const DissolveMask& mask, int col, int row) {
    const int c = mask.cell();
    const int x = col * c, y = row * c;
    return SDL_Rect{x, y, std::min(c, mask.width() - x), std::min(c, mask.height() - y)};
}

// Without a working texture: the old picture, then every revealed cell of the new one.
void draw_direct(SDL_Renderer* r, DissolveMode mode, const DissolveMask& mask, SDL_Texture* from,
                 SDL_Texture* to, const SDL_Rect& rect, float t) {
    SDL_Rect old_clip;
    SDL_RenderGetClipRect(r, &old_clip);
    const bool had_clip = SDL_RenderIsClipEnabled(r);
    SDL_RenderSetClipRect(r, &rect);
    if (from) SDL_RenderCopy(r, from, nullptr, &rect);
    for (int row = 0; row < mask.rows() && to; ++row)
        for (int col = 0; col < mask.cols(); ++col) {
            if (!mask.revealed(mode, col, row, t)) continue;
            SDL_Rect src = cell_rect(mask, col, row);
            SDL_Rect dst{rect.x + src.x, rect.y + src.y, src.w, src.h};
            SDL_RenderCopy(r, to, &src, &dst);
        }
    SDL_RenderSetClipRect(r, had_clip ? &old_clip : nullptr);
}

}  // namespace

void dissolve_draw(SDL_Renderer* renderer, DissolveMode mode, DissolveMask& mask, SDL_Texture* from,
                   SDL_Texture* to, const SDL_Rect& rect, float t) {
    if (!renderer || rect.w <= 0 || rect.h <= 0) return;
    t = std::clamp(t, 0.0f, 1.0f);
    if (mask.width() != rect.w || mask.height() != rect.h) mask.reset(rect.w, rect.h, 1, mask.cell(), 0);
    if (!SDL_RenderTargetSupported(renderer)) {
        draw_direct(renderer, mode, mask, from, to, rect, t);
        return;
    }
    // The working picture gains only the newly revealed cells each frame.
    const bool restart = !mask.work || mask.last_from_ != from || mask.last_to_ != to || t < mask.last_t_;
    if (!mask.work)
        mask.work = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_TARGET, rect.w, rect.h);
    if (!mask.work) {
        draw_direct(renderer, mode, mask, from, to, rect, t);
        return;
    }
    SDL_Texture* old = SDL_GetRenderTarget(renderer);
    SDL_SetRenderTarget(renderer, mask.work);
    SDL_BlendMode from_mode = SDL_BLENDMODE_NONE, to_mode = SDL_BLENDMODE_NONE;
    if (from) SDL_GetTextureBlendMode(from, &from_mode), SDL_SetTextureBlendMode(from, SDL_BLENDMODE_NONE);
    if (to) SDL_GetTextureBlendMode(to, &to_mode), SDL_SetTextureBlendMode(to, SDL_BLENDMODE_NONE);
    if (restart) {
        mask.shown_.assign(static_cast<std::size_t>(mask.cell_count()), 0);
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
        if (from) SDL_RenderCopy(renderer, from, nullptr, nullptr);
        mask.last_from_ = from;
        mask.last_to_ = to;
    }
    for (int row = 0; row < mask.rows() && to; ++row)
        for (int col = 0; col < mask.cols(); ++col) {
            uint8_t& shown = mask.shown_[static_cast<std::size_t>(row) * mask.cols() + col];
            if (shown || !mask.revealed(mode, col, row, t)) continue;
            shown = 1;
            SDL_Rect c = cell_rect(mask, col, row);
            SDL_RenderCopy(renderer, to, &c, &c);
        }
    mask.last_t_ = t;
    if (from) SDL_SetTextureBlendMode(from, from_mode);
    if (to) SDL_SetTextureBlendMode(to, to_mode);
    SDL_SetRenderTarget(renderer, old);
    SDL_SetTextureBlendMode(mask.work, SDL_BLENDMODE_NONE);
    SDL_RenderCopy(renderer, mask.work, nullptr, &rect);
}

void dissolve_run(SDL_Renderer* renderer, DissolveMode mode, DissolveMask& mask, SDL_Texture* from,
                  SDL_Texture* to, const SDL_Rect& rect, int ms, const std::function<void()>& below,
                  const std::function<void()>& above) {
    if (!renderer) return;
    ms = std::clamp(ms, 0, kMaxMs);
    const uint32_t start = SDL_GetTicks();
    for (;;) {
        const uint32_t frame_start = SDL_GetTicks();
        const uint32_t elapsed = frame_start - start;
        const float t = (ms == 0 || mode == DissolveMode::Cut) ? 1.0f
                                                                : std::min(1.0f, static_cast<float>(elapsed) / ms);
        if (below) below();
        dissolve_draw(renderer, mode, mask, from, to, rect, t);
        if (above) above();
        SDL_RenderPresent(renderer);
        if (t >= 1.0f) break;
        SDL_PumpEvents();
        // Vertical sync normally paces this; without it, do not spin.
        const uint32_t took = SDL_GetTicks() - frame_start;
        if (took < 10) SDL_Delay(10 - took);
    }
}

}  // namespace vorn1
