#include "mainloop/window_scale.h"

#include <cstdio>

#include "assets/resources.h"
#include "lang/runtime_strings.h"

namespace vorn1 {

int wrap_scale_index(int s) { return ((s % 3) + 3) % 3; }

int set_window_scale(SDL_Window* window, Resources* res, int s) {
    const int index = wrap_scale_index(s);
    const int f = index + 1;
    if (window) {
        SDL_SetWindowSize(window, kLogicalW * f, kLogicalH * f);
        SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
    if (res) res->cursors.rebuild(f);
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

TTF_Font* open_font_with_fallback(const std::string& path, int size, bool large) {
    if (TTF_Font* f = open_font_resolved(path, size)) return f;
    const std::string fallback = lang_font_file(large ? "font_en.ttf" : "font_small_en.ttf");
    std::fprintf(stderr, "WARNING: font '%s' not found; falling back to %s\n", path.c_str(), fallback.c_str());
    return open_font_resolved(fallback, size);
}

void open_language_fonts(FontSet& fonts, Language lang) {
    const LangFontPaths p = lang_font_paths(lang);
    fonts.close();
    fonts.large = open_font_with_fallback(p.large_path, p.large_size, true);
    fonts.small = open_font_with_fallback(p.small_path, p.small_size, false);
    fonts.def = fonts.large ? fonts.large : fonts.small;
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
