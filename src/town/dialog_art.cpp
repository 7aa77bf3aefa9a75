#include "town/dialog_art.h"

#include "assets/render_utils.h"

namespace vorn1 {

SDL_Point texture_size(SDL_Texture* tex) {
    SDL_Point p{0, 0};
    if (tex) SDL_QueryTexture(tex, nullptr, nullptr, &p.x, &p.y);
    return p;
}

bool blit_into(SDL_Renderer* r, SDL_Texture* tex, const SDL_Rect& dst) {
    if (!r || !tex) return false;
    SDL_RenderCopy(r, tex, nullptr, &dst);
    return true;
}

bool blit_frame(SDL_Renderer* r, const IcnTextures& set, int frame, int x, int y) {
    SDL_Texture* tex = set.at(frame);
    if (!tex) return false;
    const SDL_Point s = texture_size(tex);
    return blit_into(r, tex, SDL_Rect{x, y, s.x, s.y});
}

bool blit_frame_into(SDL_Renderer* r, const IcnTextures& set, int frame, const SDL_Rect& dst) {
    return blit_into(r, set.at(frame), dst);
}

void fill_rect(SDL_Renderer* r, const SDL_Rect& rect, SDL_Color c) {
    if (!r) return;
    SDL_SetRenderDrawBlendMode(r, c.a == 255 ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(r, c.r, c.g, c.b, c.a);
    SDL_RenderFillRect(r, &rect);
    SDL_SetRenderDrawBlendMode(r, SDL_BLENDMODE_NONE);
}

void outline_rect(SDL_Renderer* r, const SDL_Rect& rect, SDL_Color c) {
    if (!r) return;
    SDL_SetRenderDrawBlendMode(r, c.a == 255 ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(r, c.r, c.g, c.b, c.a);
    SDL_RenderDrawRect(r, &rect);
    SDL_SetRenderDrawBlendMode(r, SDL_BLENDMODE_NONE);
}

SDL_Point fit_keep_aspect(int w, int h, int box_w, int box_h) {
    if (w <= 0 || h <= 0) return {0, 0};
    if (w > box_w) {
        h = static_cast<int>(static_cast<long long>(h) * box_w / w);
        w = box_w;
    }
    if (h > box_h) {
        w = static_cast<int>(static_cast<long long>(w) * box_h / h);
        h = box_h;
    }
    return {w, h};
}

}  // namespace vorn1
