// The entry function: start-up, the window showing the title picture until it is closed, shutdown.
#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <memory>
#include <string>

#include "assets/agg.h"
#include "assets/bmp.h"
#include "assets/resources.h"
#include "assets/text_render.h"
#include "assets/title_sea_cycle.h"
#include "lang/lang_detect.h"
#include "lang/language.h"
#include "lang/runtime_strings.h"

namespace vorn1 {
namespace {

constexpr int kLogicalW = 640;
constexpr int kLogicalH = 480;
constexpr const char* kWindowTitle = "Dravenmoor I";

// Everything the entry function owns for the run; the frame loop grows it.
struct MainState {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    bool audio_open = false;
    std::unique_ptr<Resources> resources;
    TTF_Font* font_large = nullptr;
    TTF_Font* font_small = nullptr;
    TTF_Font* font = nullptr;  // the default: the large one, else the small one
    int scale_index = 0;
    TitleSeaCycle title;
    SDL_Texture* title_still = nullptr;
    bool quit = false;
};

// SDL_Log keeps the console that the standard streams had before they were silenced.
int g_log_fd = -1;

void log_to_saved_console(void*, int, SDL_LogPriority, const char* message) {
    if (g_log_fd < 0) return;
    const std::string line = std::string(message) + "\n";
    [[maybe_unused]] ssize_t n = ::write(g_log_fd, line.data(), line.size());
}

void silence_console() {
    g_log_fd = ::dup(STDERR_FILENO);
    SDL_LogSetOutputFunction(log_to_saved_console, nullptr);
    if (!std::freopen("/dev/null", "w", stdout)) std::fclose(stdout);
    if (!std::freopen("/dev/null", "w", stderr)) std::fclose(stderr);
}

// A message the player must see: a message box, or the log when there is no display.
void report_fatal(SDL_Window* window, const std::string& text) {
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, kWindowTitle, text.c_str(), window) != 0)
        SDL_Log("%s", text.c_str());
}

void open_audio(MainState& m) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
    if (Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 1024) == 0 || Mix_OpenAudio(11025, AUDIO_S16SYS, 1, 512) == 0)
        m.audio_open = true;
}

TTF_Font* open_font_resolved(const std::string& path, int size) {
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

void open_fonts(MainState& m) {
    const LangFontPaths p = lang_font_paths(g_language);
    m.font_large = open_font_with_fallback(p.large_path, p.large_size, true);
    m.font_small = open_font_with_fallback(p.small_path, p.small_size, false);
    m.font = m.font_large ? m.font_large : m.font_small;
}

// The window at 1, 2 or 3 times the logical size, with the cursors rebuilt at that factor.
void set_window_scale(MainState& m, int s) {
    m.scale_index = ((s % 3) + 3) % 3;
    const int f = m.scale_index + 1;
    SDL_SetWindowSize(m.window, kLogicalW * f, kLogicalH * f);
    SDL_SetWindowPosition(m.window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    if (m.resources) m.resources->cursors.rebuild(f);
}

void load_title(MainState& m) {
    const Resources& res = *m.resources;
    const std::vector<uint8_t> bytes = res.archive->get("VELDAR.BMP");
    if (bytes.empty()) return;
    try {
        const Image img = decode_bmp(bytes, res.palette);
        m.title.init(m.renderer, res.palette);
        m.title.set_source(img);
        if (!m.title.texture) m.title_still = img_to_tex(m.renderer, img, false);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "  WARN VELDAR.BMP: %s\n", e.what());
    }
}

void handle_event(MainState& m, const SDL_Event& e) {
    if (e.type == SDL_QUIT) m.quit = true;
    else if (e.type == SDL_KEYDOWN && e.key.keysym.sym == SDLK_F11 && !e.key.repeat)
        set_window_scale(m, m.scale_index + 1);
}

void draw_frame(MainState& m) {
    SDL_SetRenderDrawColor(m.renderer, 20, 20, 40, 255);
    SDL_RenderClear(m.renderer);
    m.title.tick(SDL_GetTicks());
    SDL_Texture* pic = m.title.active && m.title.texture ? m.title.texture : m.title_still;
    if (pic) SDL_RenderCopy(m.renderer, pic, nullptr, nullptr);
    text::at(m.renderer, m.font_small, kWindowTitle, 6, 462, SDL_Color{180, 180, 180, 255});
    SDL_RenderPresent(m.renderer);
}

void shutdown(MainState& m) {
    m.title.reset();
    if (m.title_still) SDL_DestroyTexture(m.title_still);
    m.title_still = nullptr;
    m.resources.reset();
    if (m.font_large) TTF_CloseFont(m.font_large);
    if (m.font_small) TTF_CloseFont(m.font_small);
    m.font_large = m.font_small = m.font = nullptr;
    if (m.renderer) SDL_DestroyRenderer(m.renderer);
    if (m.window) SDL_DestroyWindow(m.window);
    m.renderer = nullptr;
    m.window = nullptr;
    if (m.audio_open) Mix_CloseAudio();
    if (TTF_WasInit()) TTF_Quit();
    SDL_Quit();
}

int run() {
    MainState m;
    silence_console();
    AGG_PATH = agg_base_path();

    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS) != 0) {
        report_fatal(nullptr, std::string("Cannot start the video system: ") + SDL_GetError());
        return 1;
    }
    open_audio(m);
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    m.window = SDL_CreateWindow(kWindowTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kLogicalW, kLogicalH,
                                SDL_WINDOW_SHOWN);
    if (m.window)
        m.renderer = SDL_CreateRenderer(m.window, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_PRESENTVSYNC);
    if (!m.window || !m.renderer) {
        report_fatal(m.window, std::string("Cannot create the game window: ") + SDL_GetError());
        shutdown(m);
        return 1;
    }
    SDL_RenderSetLogicalSize(m.renderer, kLogicalW, kLogicalH);
    SDL_RenderSetIntegerScale(m.renderer, SDL_TRUE);

    std::unique_ptr<AggArchive> archive;
    try {
        archive = std::make_unique<AggArchive>(AGG_PATH);
    } catch (const std::exception& e) {
        report_fatal(m.window, "The data archive could not be opened.\nPath tried: " + AGG_PATH + "\n(" + e.what() +
                                   ")\nPut VELDAR.AGG in the folder above the game's program folder.");
        shutdown(m);
        return 1;
    }
    g_language = detect_language(*archive).language;
    strings().load(lang_assets_root(), g_language);
    m.resources = std::make_unique<Resources>(m.renderer, std::move(archive));
    if (TTF_Init() == 0) open_fonts(m);
    set_window_scale(m, 0);
    m.resources->cursors.set_current(0);
    load_title(m);

    while (!m.quit) {
        const uint32_t start = SDL_GetTicks();
        SDL_Event e;
        while (SDL_PollEvent(&e)) handle_event(m, e);
        draw_frame(m);
        // Vertical sync paces the loop where the display offers it; never spin without it.
        const uint32_t took = SDL_GetTicks() - start;
        if (took < 10) SDL_Delay(16 - took);
    }
    shutdown(m);
    return 0;
}

}  // namespace
}  // namespace vorn1

int main(int, char**) { return vorn1::run(); }
