// The entry function: start-up, one game on the adventure map run frame by frame, shutdown.
#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>

#include "adventure/adventure_resources.h"
#include "adventure/new_day_panel.h"
#include "assets/agg.h"
#include "assets/quit_request.h"
#include "assets/resources.h"
#include "frontend/frontend_common.h"
#include "frontend/fatal_notice.h"
#include "frontend/frontend_driver.h"
#include "lang/lang_detect.h"
#include "lang/language.h"
#include "lang/runtime_strings.h"
#include "mainloop/display_check.h"
#include "mainloop/frame_loop.h"
#include "mainloop/game_end.h"
#include "mainloop/game_files.h"
#include "mainloop/main_state.h"
#include "mainloop/transitions.h"
#include "mainloop/window_scale.h"
#include "media/ambient_sound.h"
#include "media/music_players.h"
#include "frontend/control_panel.h"
#include "frontend/scen_info.h"
#include "persist/save_dialogs.h"
#include "persist/save_paths.h"
#include "persist/savegame.h"
#include "town/castle_screen_resources.h"

namespace vorn1 {
namespace {

constexpr const char* kWindowTitle = "Dravenmoor I";

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

// Whether a window of this video driver is on a screen someone looks at.
bool window_seen() { return !driver_shows_nothing(SDL_GetCurrentVideoDriver()); }

// A message that ends the program once the window is up: in the window, drawn with the language
// folder's font (the system message box needs a helper program that many desktops lack), else the
// message box. The console has it too, for a player who started the game from a terminal.
void report_fatal_in_window(MainState& m, const std::string& text) {
    SDL_Log("%s", text.c_str());
    if (window_seen() && m.renderer && (TTF_WasInit() || TTF_Init() == 0)) {
        open_language_fonts(m.fonts, g_language);
        if (run_fatal_notice(m.renderer, m.fonts.large, m.fonts.small, text)) return;
    }
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, kWindowTitle, text.c_str(), m.window);
}

// What the title screen tells of the data once: a missing font (only when another font can say it),
// unreadable text catalogues, missing folders.
std::string title_notice(const MainState& m, const std::string& font_warning) {
    std::string warnings = m.fonts.def ? font_warning : std::string();
    const std::string catalogues = unreadable_catalogues_warning(strings().unreadable_catalogues());
    if (!catalogues.empty()) warnings += (warnings.empty() ? "" : "\n") + catalogues;
    return missing_data_notice(front_end_folder(), warnings);
}

bool open_audio() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    return Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 1024) == 0 || Mix_OpenAudio(11025, AUDIO_S16SYS, 1, 512) == 0;
}

std::string base_folder() {
    std::string base;
    if (char* p = SDL_GetBasePath()) {
        base = p;
        SDL_free(p);
    }
    return base;
}

// Per-run objects the entry function owns besides MainState's handles.
struct RunObjects {
    std::unique_ptr<Resources> resources;
    // Freed in shutdown before the mixer closes: their destructors still talk to it.
    std::unique_ptr<TerrainMusic> terrain = std::make_unique<TerrainMusic>();
    std::unique_ptr<CampaignMusic> campaign = std::make_unique<CampaignMusic>();
    std::unique_ptr<FootstepSounds> footsteps = std::make_unique<FootstepSounds>();
};

// The loop's sound seams on the players: music by the hero's ground, footsteps, the new-day jingle
// (the ambient loops wait through it) and the campaign's music. Without audio they stay empty.
void connect_sounds(MainState& m, RunObjects& run) {
    if (!m.audio_on) return;
    Resources& res = *m.res;
    run.terrain->init(m.base_dir);
    run.campaign->init(m.base_dir);
    run.footsteps->load(m.res->archive.get());
    if (res.new_day_music) res.new_day_music->init(m.base_dir);
    if (res.tavern_music) res.tavern_music->init(m.base_dir);
    m.sounds.footstep = [&m, &run](uint8_t ground, bool in_boat) {
        run.footsteps->variant = m.speed.footstep_variant;
        run.footsteps->play(ground, in_boat);
    };
    m.sounds.terrain = [&run](uint8_t ground) { run.terrain->update(ground); };
    m.sounds.terrain_restart = [&run](int ground) {
        run.terrain->stop();
        if (ground >= 0) run.terrain->restart((uint8_t)ground);
    };
    m.sounds.terrain_resume = [&run] { run.terrain->resume(); };
    campaign_music_hook() = [&run](bool on) {
        if (on) run.campaign->play();
        else run.campaign->stop();
    };
    m.sounds.new_day_start = [&res] { new_day_music_start(res.new_day_music.get(), res.ambient.get()); };
    m.sounds.new_day_end = [&res, &run] { new_day_music_end(res.ambient.get(), run.terrain.get()); };
    m.sounds.dig = [&res] {
        if (res.dig_sound) res.dig_sound->play();
    };
}

void shutdown(MainState& m, RunObjects& run) {
    end_game(m);
    m.sounds = LoopSounds{};
    campaign_music_hook() = nullptr;
    run.footsteps.reset();
    run.terrain.reset();
    run.campaign.reset();
    run.resources.reset();
    m.res = nullptr;
    m.fonts.close();
    if (m.renderer) SDL_DestroyRenderer(m.renderer);
    if (m.window) SDL_DestroyWindow(m.window);
    m.renderer = nullptr;
    m.window = nullptr;
    if (m.audio_on) Mix_CloseAudio();
    if (TTF_WasInit()) TTF_Quit();
    SDL_Quit();
}

// i and g open the scenario information and the control panel over a snapshot of the map; the loop
// acts on their answers.
void connect_system_screens(MainState& m) {
    m.scenario_info = [](MainState& mm) {
        if (!mm.renderer || !mm.res || !mm.res->archive || !mm.game) return false;
        SDL_Texture* bg = snapshot_adventure_screen(mm);
        const int r = run_scen_info(mm.renderer, *mm.res->archive, mm.res->palette, mm.res, mm.fonts.def,
                                    scenario_info_config(game_of(mm)), bg, mm.fonts.small);
        if (bg) SDL_DestroyTexture(bg);
        return r == 1;
    };
    m.control_panel = [](MainState& mm) {
        if (!mm.renderer || !mm.res || !mm.res->archive || !mm.game) return ControlPanelResult::Closed;
        GameSession& g = game_of(mm);
        const SavedEliminationState elim = refresh_before_save(g);
        SDL_Texture* bg = snapshot_adventure_screen(mm);
        const ControlPanelResult r = run_control_panel(
            mm.renderer, *mm.res->archive, mm.res->palette, *mm.res, mm.fonts.def, mm.fonts.small, g.config,
            mm.settings, mm.audio_on, bg, &g.state, &g.map, g.loop.day, g.loop.week, g.loop.month, &g.puzzle,
            g.loop.current_player, &elim);
        if (bg) SDL_DestroyTexture(bg);
        return r;
    };
}

// s opens the save dialog over a snapshot of the map; the notice tells how it went.
void connect_save_dialogs(MainState& m) {
    m.choose_save_name = [](MainState& mm) -> std::string {
        if (!mm.renderer || !mm.res || !mm.game) return default_save_stem();
        const GameSession& g = game_of(mm);
        SDL_Texture* bg = snapshot_adventure_screen(mm);
        const SaveDialogResult r = run_save_dialog(mm.renderer, mm.archive, mm.res->palette, *mm.res, mm.fonts.def, bg,
                                                   g.campaign, g.config.scenario_index + 1);
        if (bg) SDL_DestroyTexture(bg);
        return r.accepted ? r.name : std::string();
    };
    m.report_saved = [](MainState& mm, bool, const std::string& text) {
        if (!mm.renderer || !mm.res) return;
        SDL_Texture* bg = snapshot_adventure_screen(mm);
        show_saved_alert(mm.renderer, *mm.res, mm.fonts.def, bg, text);
        if (bg) SDL_DestroyTexture(bg);
    };
    // n, l and q ask over a picture of the map, as the control panel asks.
    m.confirm = confirm_over_map;
}

// The title screen's choice: a new game's set-up, or a save to load (the quit flag when the window
// was closed on the set-up page). After a game, and for l during play.
NewGameConfig run_front_end(MainState& m) {
    // Called during play too (l): the map's music and loops stop under the title screen.
    if (m.audio_on) Mix_HaltChannel(-1);
    const FullscreenCallback fullscreen = [&m] { cycle_window_scale(m); };
    // A game kept for l borrows the fonts, so the language stays while one runs (no selector then).
    LanguageCallback language;
    if (!m.game)
        language = [&m](Language lang, TTF_Font*& large, TTF_Font*& small) {
            switch_language(lang, m.res, m.fonts, set_save_dialog_name_font);
            large = m.fonts.def;
            small = m.fonts.small;
            // The chosen language's catalogue may be the damaged one: said over the title, as at start.
            if (m.fonts.def) set_title_notice(unreadable_catalogues_warning(strings().unreadable_catalogues()));
        };
    NewGameConfig config = run_new_game_screen(m.renderer, *m.res->archive, m.res->palette, m.fonts.def,
                                               m.fonts.small, m.res, fullscreen, language);
    title_music_stop(m.res);
    campaign_music(false);  // a new campaign's first page played it
    return config;
}

int run() {
    MainState m;
    RunObjects run;
    silence_console();
    AGG_PATH = agg_base_path();

    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS) != 0) {
        report_fatal(nullptr, std::string("Cannot start the video system: ") + SDL_GetError());
        return 1;
    }
    // Without a display SDL falls back to a driver that shows nothing: the game would run unseen until
    // killed. Said on the console (no message box can open either), unless the user asked for it.
    if (refuse_video_driver(SDL_GetCurrentVideoDriver(), SDL_GetHint(SDL_HINT_VIDEODRIVER))) {
        // The error left by the fallback is the last driver's it tried, which tells a player nothing:
        // ask the desktop's driver for its own.
        SDL_VideoQuit();
        SDL_ClearError();
        if (SDL_VideoInit("x11") == 0) SDL_VideoQuit();
        SDL_Log("%s", no_display_text(SDL_getenv("DISPLAY"), SDL_GetError()).c_str());
        SDL_Quit();
        return 1;
    }
    install_termination_handler();
    m.audio_on = open_audio();
    const GameWindow window = open_game_window(kWindowTitle);
    m.window = window.window;
    m.renderer = window.renderer;
    if (!m.window || !m.renderer) {
        report_fatal(m.window, std::string("Cannot create the game window: ") + SDL_GetError());
        shutdown(m, run);
        return 1;
    }
    SDL_StopTextInput();  // on only while a name field is open, so no hotkey types into one

    std::unique_ptr<AggArchive> archive;
    try {
        archive = std::make_unique<AggArchive>(AGG_PATH);
    } catch (const std::exception& e) {
        report_fatal_in_window(m, archive_failure_text(AGG_PATH, e.what()));
        shutdown(m, run);
        return 1;
    }
    g_language = detect_language(*archive).language;
    strings().load(lang_assets_root(), g_language);
    run.resources = std::make_unique<Resources>(m.renderer, std::move(archive));
    load_resource_sounds(*run.resources);
    m.res = run.resources.get();
    m.archive = m.res->archive.get();
    const std::string font_warning = TTF_Init() == 0 ? missing_fonts_warning(open_language_fonts(m.fonts, g_language))
                                                     : std::string("The font library did not start: ") + SDL_GetError();
    // The save lists' rows and name field take the small font, as after a change of language.
    set_save_dialog_name_font(m.fonts.small);
    if (!font_warning.empty()) {
        SDL_Log("%s", font_warning.c_str());
        if (!m.fonts.def) SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, kWindowTitle, font_warning.c_str(), m.window);
    }
    // The console is silenced: what is missing or unreadable is told on the title screen.
    set_title_notice(title_notice(m, font_warning));
    m.scale_index = set_window_scale(m.window, m.res, 0);
    m.res->cursors.set_current(0);
    load_adventure_groups(*m.res);
    load_town_groups(*m.res);
    m.adv = m.res->adventure.get();
    m.new_day_res = m.res->new_day.get();
    m.base_dir = base_folder();
    m.play_sound = [&m](const std::string& name) {
        if (m.game) m.game->events.play_sound(name);
    };
    connect_sounds(m, run);
    connect_save_dialogs(m);
    connect_system_screens(m);

    m.front_end = run_front_end;
    // F11 also steps the scale on the screens a game opens over the map (control panel, scenario
    // information and their questions); the title screen registers its own while it runs.
    const FullscreenCallback scale_key = [&m] { cycle_window_scale(m); };
    const NgCallbackScope scale_key_scope(&scale_key, nullptr);
    // Quitting from the title screen ends the process there; it still shuts down in order.
    end_process_hook() = [&m, &run] { shutdown(m, run); };

    m.quit = play_intro_films(m);
    if (m.audio_on && m.res->title_music) m.res->title_music->init(m.base_dir);
    if (!m.quit) title_music_play(m.res);
    uint32_t last = SDL_GetTicks();
    run_games(m, [&last](MainState& mm) {
        const uint32_t start = SDL_GetTicks();
        mm.now_ms = start;
        // Time spent on blocking screens between games is not game time.
        run_frame(mm, (float)std::min<uint32_t>(start - last, 100));
        last = start;
        // Vertical sync paces the loop where the display offers it; never spin without it.
        const uint32_t took = SDL_GetTicks() - start;
        if (took < 10) SDL_Delay(16 - took);
    });
    end_process_hook() = nullptr;
    shutdown(m, run);
    return 0;
}

}  // namespace
}  // namespace vorn1

int main(int, char**) { return vorn1::run(); }
