#include "mainloop/window_scale.h"

#include <algorithm>
#include <cstdio>

#include "assets/resources.h"
#include "lang/runtime_strings.h"

namespace vorn1 {

GameWindow open_game_window(const char* title) {
    GameWindow w;
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    // The software renderer's frame goes to the window as it is. Through a GL context instead (SDL's
    // default here) it took, on desktops that draw in software, twice the memory, four times the
    // processor at the title and twice the time to the first window, at every window scale.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // Made hidden and shown once the renderer exists: setting the renderer up can replace the window
    // with a new one, and a shown first window would be on the screen for a moment under a dead id.
    w.window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kLogicalW, kLogicalH,
                                SDL_WINDOW_HIDDEN);
    if (w.window) w.renderer = SDL_CreateRenderer(w.window, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_PRESENTVSYNC);
    if (!w.renderer) return w;
    SDL_ShowWindow(w.window);
    SDL_RenderSetLogicalSize(w.renderer, kLogicalW, kLogicalH);
    SDL_RenderSetIntegerScale(w.renderer, SDL_TRUE);
    return w;
}

int wrap_scale_index(int s) { return ((s % 3) + 3) % 3; }

int fitting_scale_index(int s, int room_w, int room_h) {
    if (room_w <= 0 || room_h <= 0) return wrap_scale_index(s);
    for (int step = 0; step < 3; ++step) {
        const int index = wrap_scale_index(s + step);
        if (index == 0 || (kLogicalW * (index + 1) <= room_w && kLogicalH * (index + 1) <= room_h)) return index;
    }
    return 0;
}

int set_window_scale(SDL_Window* window, Resources* res, int s) {
    int index = wrap_scale_index(s);
    if (window) {
        SDL_Rect area{0, 0, 0, 0};
        const int display = SDL_GetWindowDisplayIndex(window);
        if (display < 0 || SDL_GetDisplayUsableBounds(display, &area) != 0) area = SDL_Rect{0, 0, 0, 0};
        int top = 0, left = 0, bottom = 0, right = 0;
        if (SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right) != 0) top = left = bottom = right = 0;
        const int room_w = area.w - left - right, room_h = area.h - top - bottom;
        index = fitting_scale_index(s, area.w > 0 ? room_w : 0, area.h > 0 ? room_h : 0);
        const int w = kLogicalW * (index + 1), h = kLogicalH * (index + 1);
        SDL_SetWindowSize(window, w, h);
        // Centred in the usable area, its top-left corner never off it.
        if (area.w > 0 && area.h > 0)
            SDL_SetWindowPosition(window, area.x + left + std::max(0, (room_w - w) / 2),
                                  area.y + top + std::max(0, (room_h - h) / 2));
        else
            SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
    if (res) res->cursors.rebuild(index + 1);
    return index;
}

void FontSet::close() {
    if (large) TTF_CloseFont(large);
    if (small) TTF_CloseFont(small);
    large = small = def = nullptr;
}

TTF_Font* open_font_resolved(const std::string& path, int size) {
    if (!TTF_WasInit()) return nullptr;
    TTF_Font* f = TTF_OpenFont(resolve_ci(path).c_str(), size);
    if (f) TTF_SetFontHinting(f, TTF_HINTING_NONE);
    return f;
}

TTF_Font* open_font_with_fallback(const std::string& path, int size, bool large, const std::string& root,
                                  std::vector<std::string>* failed) {
    if (TTF_Font* f = open_font_resolved(path, size)) return f;
    const std::string fallback = lang_font_file(large ? "font_en.ttf" : "font_small_en.ttf", root);
    if (failed) failed->push_back(path);
    if (fallback == path) return nullptr;
    std::fprintf(stderr, "WARNING: font '%s' not found; falling back to %s\n", path.c_str(), fallback.c_str());
    TTF_Font* f = open_font_resolved(fallback, size);
    if (!f && failed) failed->push_back(fallback);
    return f;
}

std::vector<std::string> open_language_fonts(FontSet& fonts, Language lang, const std::string& root) {
    const LangFontPaths p = lang_font_paths(lang, root);
    fonts.close();
    std::vector<std::string> large_tried, small_tried;
    fonts.large = open_font_with_fallback(p.large_path, p.large_size, true, root, &large_tried);
    fonts.small = open_font_with_fallback(p.small_path, p.small_size, false, root, &small_tried);
    fonts.def = fonts.large ? fonts.large : fonts.small;
    std::vector<std::string> missing;
    if (!fonts.large) missing = large_tried;
    if (!fonts.small) missing.insert(missing.end(), small_tried.begin(), small_tried.end());
    return missing;
}

std::vector<std::string> open_language_fonts(FontSet& fonts, Language lang) {
    return open_language_fonts(fonts, lang, lang_assets_root());
}

std::string missing_fonts_warning(const std::vector<std::string>& tried) {
    if (tried.empty()) return std::string();
    std::string text = "Some interface text cannot be drawn: no font opened from";
    for (const std::string& path : tried) text += "\n  " + path;
    return text + "\nThe game needs its font files in the data folder's LANG/ folder.";
}

void switch_language(Language lang, Resources* res, FontSet& fonts,
                     const std::function<void(TTF_Font*)>& name_font) {
    g_language = lang;
    if (res) res->reload_language(lang);
    strings().load(lang_assets_root(), lang);
    open_language_fonts(fonts, lang);
    if (name_font) name_font(fonts.small);
}

namespace {
bool readable(const std::string& path) {
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        std::fclose(f);
        return true;
    }
    return false;
}
}  // namespace

std::string video_path(const std::string& base, const std::string& name) {
    const std::string up = base + "../ANIM/" + name;
    return readable(up) ? up : base + "ANIM/" + name;
}

std::string end_video_path(const std::string& first_dir, const std::string& second_dir, const std::string& name) {
    const std::string first = first_dir + name;
    return readable(first) ? first : second_dir + name;
}

void window_to_logical(float scale_x, float scale_y, const SDL_Rect& viewport, int wx, int wy, int& lx, int& ly) {
    if (scale_x > 0.0f) lx = (int)(((float)wx - (float)viewport.x * scale_x) / scale_x);
    if (scale_y > 0.0f) ly = (int)(((float)wy - (float)viewport.y * scale_y) / scale_y);
}

void mouse_window_to_logical(SDL_Renderer* r, int wx, int wy, int& lx, int& ly) {
    float sx = 1.0f, sy = 1.0f;
    SDL_Rect vp{0, 0, 0, 0};
    if (r) {
        SDL_RenderGetScale(r, &sx, &sy);
        SDL_RenderGetViewport(r, &vp);
    }
    window_to_logical(sx, sy, vp, wx, wy, lx, ly);
}

}  // namespace vorn1
