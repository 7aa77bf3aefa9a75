#include "frontend/frontend_common.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "assets/agg.h"
#include "assets/bmp.h"
#include "assets/dialog_utils.h"
#include "assets/icn.h"
#include "assets/quit_request.h"
#include "assets/render_utils.h"
#include "assets/text_render.h"
#include "lang/lang_icn_override.h"
#include "lang/runtime_strings.h"

namespace vorn1 {

const LanguageCallback* g_ng_language_cb = nullptr;

bool ng_language_registered() { return g_ng_language_cb && *g_ng_language_cb; }

NgCallbackScope::NgCallbackScope(const FullscreenCallback* fullscreen, const LanguageCallback* language)
    : old_fullscreen_(g_ng_fullscreen_cb), old_language_(g_ng_language_cb) {
    g_ng_fullscreen_cb = fullscreen;
    g_ng_language_cb = language;
}

NgCallbackScope::~NgCallbackScope() {
    g_ng_fullscreen_cb = old_fullscreen_;
    g_ng_language_cb = old_language_;
}

std::function<void()>& frontend_frame_hook() {
    static std::function<void()> hook;
    return hook;
}

void frontend_present(SDL_Renderer* renderer) {
    SDL_RenderPresent(renderer);
    // Some pages take a closed window as "close this page": a termination request ends the program.
    if (termination_requested()) end_process();
    if (frontend_frame_hook()) frontend_frame_hook()();
    SDL_Delay(16);
}

std::function<void(bool on)>& campaign_music_hook() {
    static std::function<void(bool)> hook;
    return hook;
}

void campaign_music(bool on) {
    if (campaign_music_hook()) campaign_music_hook()(on);
}

std::function<void()>& end_process_hook() {
    static std::function<void()> hook;
    return hook;
}

void end_process() {
    if (std::function<void()> hook = std::move(end_process_hook())) {
        end_process_hook() = nullptr;
        hook();
    }
    SDL_Quit();
    std::exit(0);
}

namespace {

void report_missing(const std::string& name, LoaderVoice voice) {
    if (voice == LoaderVoice::ControlPanel) {
        std::fprintf(stderr, "cpanel: missing %s\n", name.c_str());
    } else if (voice == LoaderVoice::ScenInfo) {
        std::fprintf(stderr, "scen_info: missing %s\n", name.c_str());
    } else {
        std::fprintf(stderr, "newgame: missing %s in AGG\n", name.c_str());
    }
}

void report_decode(const std::string& name, const char* error, LoaderVoice voice) {
    if (voice == LoaderVoice::ControlPanel) {
        std::fprintf(stderr, "cpanel: failed to decode %s\n", name.c_str());
    } else if (voice == LoaderVoice::ScenInfo) {
        std::fprintf(stderr, "scen_info: failed %s\n", name.c_str());
    } else {
        std::fprintf(stderr, "newgame: decode %s: %s\n", name.c_str(), error);
    }
}

std::string icn_override_stem(const std::string& name, LoaderVoice voice) {
    std::string stem = name;
    if (voice != LoaderVoice::ScenInfo) {
        const std::size_t slash = name.find_last_of("/\\");
        if (slash != std::string::npos) stem = name.substr(slash + 1);
    }
    const std::size_t dot = stem.rfind('.');
    if (dot != std::string::npos) stem.resize(dot);
    return voice != LoaderVoice::ScenInfo ? upper_ascii(stem) : stem;
}

}  // namespace

SDL_Texture* load_bmp_voiced(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette,
                             const std::string& name, LoaderVoice voice) {
    const std::size_t dot = name.rfind('.');
    const std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
    Image image;
    if (load_lang_png_override(lang_assets_root(), lang_code(g_language), stem, image))
        return img_to_tex(renderer, image, false);
    const std::vector<uint8_t> bytes = archive.get(name);
    if (bytes.empty()) {
        report_missing(name, voice);
        return nullptr;
    }
    try {
        return img_to_tex(renderer, decode_bmp(bytes, palette), false);
    } catch (const std::exception& e) {
        // A damaged picture is drawn as missing rather than ending the program.
        report_decode(name, e.what(), voice);
        return nullptr;
    }
}

FrameList load_icn_voiced(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette,
                          const std::string& name, LoaderVoice voice) {
    FrameList out;
    const std::vector<uint8_t> bytes = archive.get(name);
    if (bytes.empty()) {
        report_missing(name, voice);
        return out;
    }
    try {
        const IcnFrames icn = decode_icn(bytes, palette);
        for (const Image& frame : icn.frames) out.push_back(frame.empty() ? nullptr : img_to_tex(renderer, frame, true));
    } catch (const std::exception& e) {
        report_decode(name, e.what(), voice);
        destroy_frames(out);
        return out;
    }
    if (g_language != EN) {
        for (const auto& [index, image] :
             load_lang_icn_override(lang_assets_root(), lang_code(g_language), icn_override_stem(name, voice))) {
            if (index < 0) continue;
            if (static_cast<int>(out.size()) < index + 1) out.resize(static_cast<std::size_t>(index) + 1, nullptr);
            destroy_texture(out[index]);
            out[index] = img_to_tex(renderer, image, true);
        }
    }
    return out;
}

SDL_Texture* load_bmp_tex(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette,
                          const std::string& name) {
    return load_bmp_voiced(renderer, archive, palette, name, LoaderVoice::NewGame);
}

FrameList load_icn_frames(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette,
                          const std::string& name) {
    return load_icn_voiced(renderer, archive, palette, name, LoaderVoice::NewGame);
}

void destroy_texture(SDL_Texture*& tex) {
    if (tex) SDL_DestroyTexture(tex);
    tex = nullptr;
}

void destroy_frames(FrameList& frames) {
    for (SDL_Texture*& t : frames) destroy_texture(t);
    frames.clear();
}

SDL_Texture* frame_at(const FrameList& frames, int i) {
    return i >= 0 && i < static_cast<int>(frames.size()) ? frames[i] : nullptr;
}

SDL_Point tex_size(SDL_Texture* tex) { return texture_size(tex); }

SDL_Point frame_size_or(const FrameList& frames, int i, SDL_Point fallback) {
    SDL_Texture* t = frame_at(frames, i);
    return t ? tex_size(t) : fallback;
}

void blit(SDL_Renderer* renderer, SDL_Texture* texture, int x, int y) {
    if (!texture) return;
    const SDL_Point s = tex_size(texture);
    const SDL_Rect dst{x, y, s.x, s.y};
    SDL_RenderCopy(renderer, texture, nullptr, &dst);
}

void darken_screen(SDL_Renderer* renderer, uint8_t alpha) {
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
    fill_rect(renderer, {0, 0, 640, 480}, {0, 0, 0, alpha});
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
}

namespace {

void copy_mirrored(SDL_Renderer* r, SDL_Texture* t, const SDL_Rect& dst, bool mirror) {
    if (!t) return;
    SDL_RenderCopyEx(r, t, nullptr, &dst, 0.0, nullptr, mirror ? SDL_FLIP_HORIZONTAL : SDL_FLIP_NONE);
}

}  // namespace

namespace {
std::string g_title_notice;
}  // namespace

void set_title_notice(const std::string& text) { g_title_notice = text; }

std::string take_title_notice() { return std::exchange(g_title_notice, std::string()); }

AlertLayout alert_layout(int text_height, SDL_Point button_size) {
    AlertLayout a;
    // Two middle rows as a rule; a text that would reach the button takes more, up to what the screen holds.
    for (a.rows = 2;; ++a.rows) {
        const int height = kBorderTopH + kBorderRowH * a.rows + kBorderBottomH;
        a.frame = {177, 132 - kBorderRowH * (a.rows - 2) / 2, 286, height};
        a.button = {320 - button_size.x / 2, a.frame.y + height - 24 - button_size.y / 2, button_size.x, button_size.y};
        a.text_y = std::max(a.frame.y + 18,
                            a.frame.y + kBorderTopH + (kBorderRowH * a.rows - 8 - button_size.y - text_height) / 2);
        if (a.text_y + text_height <= a.button.y - 4 || a.rows >= 7) return a;
    }
}

void show_alert(SDL_Renderer* renderer, TTF_Font* font, const std::string& text, AggArchive& archive,
                const Palette& palette, const std::function<void()>& redraw) {
    OwnedFrames frame(load_icn_frames(renderer, archive, palette, "BUYBUILD.ICN"));
    OwnedFrames buttons(load_icn_frames(renderer, archive, palette, "SYSTEM.ICN"));
    SDL_Point button_size{66, 25};
    if (SDL_Texture* t = buttons.at(9)) button_size = tex_size(t);
    // Wrapped inside the frame, centred in the band above the button; a long text starts higher and
    // a longer one makes the frame taller.
    const std::vector<std::string> lines = font ? text::wrap_pixels(font, text, 256) : std::vector<std::string>{};
    const int text_height = font ? static_cast<int>(lines.size()) * TTF_FontLineSkip(font) : 0;
    const AlertLayout layout = alert_layout(text_height, button_size);
    const SDL_Rect box = layout.frame;
    const SDL_Rect button = layout.button;
    const int pressed_frame = buttons.count() >= 11 ? 10 : 9;
    bool held = false;
    bool done = false, quit = false;
    const SDL_Color white{255, 255, 255, 255};
    for (;;) {
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
            if (ng_try_fullscreen_key(e)) continue;
            if (e.type == SDL_KEYDOWN) {
                done = true;
            } else if (e.type == SDL_QUIT) {
                done = quit = true;
            } else if (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_LEFT) {
                if (point_in(button, e.button.x, e.button.y)) held = true;
            } else if (e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_LEFT) {
                if (held && point_in(button, e.button.x, e.button.y)) done = true;
                held = false;
            }
        }
        if (done) {
            if (quit) hand_on_quit_request();  // the screen beneath decides, as on a closed window
            return;
        }
        if (redraw) redraw();
        darken_screen(renderer, 160);
        if (frame.count() > 0) {
            copy_mirrored(renderer, frame.at(0), {177, box.y, 143, kBorderTopH}, true);
            copy_mirrored(renderer, frame.at(0), {320, box.y, 143, kBorderTopH}, false);
            if (frame.count() >= 2)
                for (int i = 0; i < layout.rows; ++i) {
                    const int y = box.y + kBorderTopH + kBorderRowH * i;
                    copy_mirrored(renderer, frame.at(1), {180, y, 140, kBorderRowH}, true);
                    copy_mirrored(renderer, frame.at(1), {320, y, 140, kBorderRowH}, false);
                }
            if (frame.count() >= 3) {
                const int y = box.y + box.h - kBorderBottomH;
                copy_mirrored(renderer, frame.at(2), {179, y, 141, kBorderBottomH}, true);
                copy_mirrored(renderer, frame.at(2), {320, y, 141, kBorderBottomH}, false);
            }
        } else {
            fill_rect(renderer, box, {72, 28, 100, 255});
            outline_rect(renderer, box, {200, 170, 50, 255});
        }
        if (font) text::draw_lines_box(renderer, font, lines, 177, layout.text_y, 286, white);
        if (SDL_Texture* t = buttons.at(held ? pressed_frame : 9)) {
            SDL_RenderCopy(renderer, t, nullptr, &button);
        } else {
            fill_rect(renderer, button, held ? SDL_Color{120, 140, 40, 255} : SDL_Color{180, 140, 40, 255});
            outline_rect(renderer, button, {220, 190, 60, 255});
            if (font) text::centered_box(renderer, font, strings().get("DIALOG_OK"), button.x, button.y + 4, button.w, white);
        }
        frontend_present(renderer);
    }
}

SDL_Texture* snap_screen(SDL_Renderer* renderer) {
    int w = 0, h = 0;
    if (SDL_GetRendererOutputSize(renderer, &w, &h) != 0 || w <= 0 || h <= 0) {
        w = 640;
        h = 480;
    }
    SDL_Surface* surface =
        SDL_CreateRGBSurface(0, w, h, 32, 0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u);
    if (!surface) return nullptr;
    if (SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, surface->pixels, surface->pitch) != 0) {
        SDL_FreeSurface(surface);
        return nullptr;
    }
    SDL_Texture* tex = SDL_CreateTextureFromSurface(renderer, surface);
    SDL_FreeSurface(surface);
    return tex;
}

}  // namespace vorn1
