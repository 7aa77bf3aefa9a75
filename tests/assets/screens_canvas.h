#pragma once
// A software renderer drawing into a memory surface, with pixel read-back for drawing tests.
#include <SDL.h>

#include <cstdint>

#include "assets/image.h"
#include "assets/render_utils.h"

namespace vorn1::testing_canvas {

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 0;
    bool operator==(const Rgba&) const = default;
};

inline Image solid(int w, int h, Rgba c) {
    Image img(w, h);
    for (int i = 0; i < w * h; ++i) {
        uint8_t* p = img.pixels.data() + i * 4;
        p[0] = c.r, p[1] = c.g, p[2] = c.b, p[3] = c.a;
    }
    return img;
}

inline void put(Image& img, int x, int y, Rgba c) {
    uint8_t* p = img.at(x, y);
    p[0] = c.r, p[1] = c.g, p[2] = c.b, p[3] = c.a;
}

inline Rgba get(const Image& img, int x, int y) {
    const uint8_t* p = img.at(x, y);
    return {p[0], p[1], p[2], p[3]};
}

struct Canvas {
    SDL_Surface* surface = nullptr;
    SDL_Renderer* r = nullptr;

    explicit Canvas(int w = 640, int h = 480) {
        surface = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_RGBA32);
        r = SDL_CreateSoftwareRenderer(surface);
        clear({0, 0, 0, 255});
    }
    ~Canvas() {
        if (r) SDL_DestroyRenderer(r);
        if (surface) SDL_FreeSurface(surface);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    void clear(Rgba c) {
        SDL_SetRenderDrawColor(r, c.r, c.g, c.b, c.a);
        SDL_RenderClear(r);
    }
    Rgba px(int x, int y) {
        uint8_t p[4] = {};
        SDL_Rect rc{x, y, 1, 1};
        SDL_RenderReadPixels(r, &rc, SDL_PIXELFORMAT_RGBA32, p, 4);
        return {p[0], p[1], p[2], p[3]};
    }
    SDL_Texture* tex(const Image& img, bool blend = true) { return img_to_tex(r, img, blend); }
};

}  // namespace vorn1::testing_canvas
