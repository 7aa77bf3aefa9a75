#pragma once
// Headless drawing and input for the town dialogs: a software renderer on a 640x480 surface,
// the test fonts, an asset cache built from a chosen part of the demo archive, synthetic events.
#include <SDL.h>
#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "assets/agg.h"
#include "assets/resources.h"
#include "datakit/kit_demo.h"
#include "datakit/kit_formats.h"

namespace vorn1 {

inline SDL_Event mouse_down(int x, int y, uint8_t button = SDL_BUTTON_LEFT) {
    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = button;
    e.button.x = x;
    e.button.y = y;
    return e;
}

inline SDL_Event mouse_up(int x, int y, uint8_t button = SDL_BUTTON_LEFT) {
    SDL_Event e = mouse_down(x, y, button);
    e.type = SDL_MOUSEBUTTONUP;
    return e;
}

inline SDL_Event key_down(SDL_Keycode sym) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = sym;
    return e;
}

inline SDL_Event mouse_motion(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    return e;
}

// Demo archive entries by name (only those listed), as archive files.
inline std::vector<kit::AggFile> demo_files(std::initializer_list<const char*> names) {
    std::vector<kit::AggFile> out;
    for (const kit::DemoEntry& e : kit::demo_entries())
        if (std::any_of(names.begin(), names.end(), [&](const char* n) { return e.name == n; }))
            out.push_back({e.name, kit::make_demo_entry(e)});
    return out;
}

class DialogCanvas : public ::testing::Test {
protected:
    void SetUp() override {
        surf = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_RGBA32);
        ASSERT_NE(surf, nullptr);
        r = SDL_CreateSoftwareRenderer(surf);
        ASSERT_NE(r, nullptr) << SDL_GetError();
        if (!TTF_WasInit()) TTF_Init();
        font = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans-Bold.ttf", 16);
        small = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans.ttf", 12);
        clear();
    }
    void TearDown() override {
        res.reset();
        if (font) TTF_CloseFont(font);
        if (small) TTF_CloseFont(small);
        if (r) SDL_DestroyRenderer(r);
        if (surf) SDL_FreeSurface(surf);
    }
    void clear(SDL_Color c = {0, 0, 0, 255}) {
        SDL_SetRenderDrawColor(r, c.r, c.g, c.b, 255);
        SDL_RenderClear(r);
    }
    SDL_Color at(int x, int y) const {
        const uint8_t* p = static_cast<const uint8_t*>(surf->pixels) + y * surf->pitch + x * 4;
        return {p[0], p[1], p[2], 255};
    }
    uint32_t pixel(int x, int y) const {
        const SDL_Color c = at(x, y);
        return uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
    }
    bool is(int x, int y, SDL_Color c) const {
        const SDL_Color p = at(x, y);
        return p.r == c.r && p.g == c.g && p.b == c.b;
    }
    // Pixels in the rectangle that differ from colour c.
    int differing(SDL_Rect rect, SDL_Color c) const {
        int n = 0;
        for (int y = rect.y; y < rect.y + rect.h; ++y)
            for (int x = rect.x; x < rect.x + rect.w; ++x) n += !is(x, y, c);
        return n;
    }
    // An asset cache over the listed demo entries (none: every list empty, every picture null).
    Resources& load(std::initializer_list<const char*> names) {
        std::vector<kit::AggFile> files = demo_files(names);
        files.push_back({"DUMMY.BIN", {1, 2, 3}});
        ::testing::internal::CaptureStderr();
        res = std::make_unique<Resources>(r, std::make_unique<AggArchive>(AggArchive::from_bytes(kit::write_agg(files))));
        ::testing::internal::GetCapturedStderr();
        return *res;
    }

    SDL_Surface* surf = nullptr;
    SDL_Renderer* r = nullptr;
    TTF_Font* font = nullptr;
    TTF_Font* small = nullptr;
    std::unique_ptr<Resources> res;
};

}  // namespace vorn1
