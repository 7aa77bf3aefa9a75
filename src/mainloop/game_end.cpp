#include "mainloop/game_end.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <sstream>
#include <system_error>
#include <utility>

#include "adventure/player_elimination.h"
#include "assets/agg.h"
#include "assets/quit_request.h"
#include "assets/resources.h"
#include "frontend/campaign_data.h"
#include "frontend/campaign_screens.h"
#include "frontend/frontend_common.h"
#include "frontend/frontend_driver.h"
#include "lang/language.h"
#include "lang/runtime_strings.h"
#include "mainloop/frame_loop.h"
#include "mainloop/game_files.h"
#include "mainloop/transitions.h"
#include "media/mp4_player.h"
#include "media/smk_player.h"
#include "persist/highscore.h"
#include "persist/highscore_screens.h"
#include "persist/save_dialogs.h"
#include "persist/save_paths.h"
#include "persist/savegame.h"

namespace vorn1 {

namespace {

// Who leads each campaign, as the campaign high-score table names them.
constexpr const char* kLordNames[4] = {"Lord Varkhelm", "Lord Brudek", "Lord Oskarn", "Queen Selvina"};

bool every_human_out(const GameSession& g) {
    bool any = false;
    for (int p = 0; p < MAX_PLAYERS; ++p) {
        if (!g.state.seat_active(p) || g.state.player_is_human[(size_t)p] == 0) continue;
        any = true;
        if (!is_player_eliminated(g.elimination, p)) return false;
    }
    return any;
}

// The catalogue's text, or the English one when the catalogue has none.
std::string text_or(const char* key, const char* english) {
    return strings().get_or(key, english);
}

const Palette& palette_of(const MainState& m) {
    static const Palette none{};
    return m.res ? m.res->palette : none;
}

std::string film_path(const std::string& name) { return resolve_ci(front_end_folder() + "ANIM/" + name); }

int play_film(MainState& m, const std::string& name, const SmkPlayOptions& options) {
    if (!m.renderer) return kFilmFailed;
    const std::string path = film_path(name);
    const bool mp4 = name.size() > 4 && name.compare(name.size() - 4, 4, ".mp4") == 0;
    return mp4 ? play_mp4_file(m.renderer, path, options) : play_smk_file(m.renderer, path, options);
}

// A one-button message over a black screen.
void show_message(MainState& m, const std::string& text) {
    if (!m.renderer || !m.res || !m.res->archive) return;
    SDL_Renderer* r = m.renderer;
    show_alert(r, m.fonts.def, text, *m.res->archive, palette_of(m), [r] {
        SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
        SDL_RenderClear(r);
    });
}

// The loss film, or a message when it cannot be shown; true when the window was closed.
bool show_loss(MainState& m) {
    const int r = play_film(m, "LOSE1.SMK", SmkPlayOptions{});
    if (r == kFilmQuit) return true;
    if (r == kFilmFailed) show_message(m, text_or("GAME_LOST_TEXT", "You have been defeated. The game is lost."));
    return false;
}

void show_standard_win(MainState& m) {
    if (!m.renderer || !m.res) return;
    const GameSession& g = game_of(m);
    const GameState& s = g.state;
    const ScenarioResult result = make_scenario_result(s, 0, g.config.difficulty, g.config.difficulty_rating);
    const std::string label = !s.map_name.empty() ? s.map_name : g.config.map_name;
    run_standard_victory_flow(m.renderer, m.archive, palette_of(m), m.fonts.def, result, high_score_default_name(s),
                              label, front_end_folder(), *m.res);
}

// The winning seat's score screen; a shared machine keeps no high score.
void show_hot_seat_win(MainState& m) {
    const GameSession& g = game_of(m);
    const ScenarioResult result =
        make_scenario_result(g.state, g.hot_seat_winner, g.config.difficulty, g.config.difficulty_rating);
    const unsigned short score = compute_standard_score(result);
    run_standard_victory_screen(m.renderer, m.archive, palette_of(m), m.fonts.def, result.days,
                                scenario_points(result.days), result.difficulty_percent, score,
                                standard_rank_title(score));
}

std::vector<std::string> split_lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Until a won game's result is kept, a screen that ends the process (on a termination request) keeps
// it first, as a closed window does; the program's own shutdown follows.
class KeptOnEnd {
public:
    explicit KeptOnEnd(const std::function<void()>& keep) : previous_(end_process_hook()) {
        end_process_hook() = [keep, previous = previous_] {
            keep();
            if (previous) previous();
        };
    }
    ~KeptOnEnd() { end_process_hook() = std::move(previous_); }
    KeptOnEnd(const KeptOnEnd&) = delete;
    KeptOnEnd& operator=(const KeptOnEnd&) = delete;

private:
    std::function<void()> previous_;
};

// The two closing films and the congratulations; true when the window was closed on one of them.
bool show_campaign_end(MainState& m) {
    if (play_film(m, "WIN01C.SMK", SmkPlayOptions{}) == kFilmQuit) return true;
    SmkOverlay finale;
    finale.lines = split_lines(text_or("GAME_FINALE_TEXT", "The war is over and the land is yours.\nLong may you reign."));
    finale.show_after_ms = 3500;
    finale.x = 40;
    finale.bottom = 40;
    finale.font = m.fonts.def;
    finale.extra_gap = 2;
    SmkPlayOptions hold;
    hold.hold_last_frame = 1;
    hold.overlay = &finale;
    if (play_film(m, "WIN02.SMK", hold) == kFilmQuit) return true;
    if (!m.renderer || !m.res || !m.res->archive) return false;
    campaign_music(true);
    const bool shown = run_campaign_congrats_screen(m.renderer, *m.res->archive, palette_of(m), m.fonts.def,
                                                    game_of(m).config);
    campaign_music(false);
    return !shown;
}

// The closing films, the congratulations and the campaign's high score; true when the window was
// closed before the name entry, which keeps the result under the default name as the name entry does.
bool finish_campaign(MainState& m) {
    const GameSession& g = game_of(m);
    const int lord = g.config.campaign_lord;
    const std::string lord_name = kLordNames[lord >= 0 && lord < 4 ? lord : 0];
    const std::function<void()> keep = [&] {
        keep_campaign_result(front_end_folder(), m.campaign_days, high_score_default_name(g.state), lord_name);
    };
    bool closed = false;
    {
        const KeptOnEnd kept_on_end(keep);
        closed = show_campaign_end(m);
    }
    if (closed) {
        keep();
        return true;
    }
    if (!m.renderer || !m.res) return false;
    run_campaign_score_flow(m.renderer, m.archive, palette_of(m), m.fonts.def, m.campaign_days,
                            high_score_default_name(g.state), lord_name, front_end_folder(), *m.res);
    return false;
}

// The won scenario saved as completed, and the player asked how to go on: true goes on to the next
// scenario. A save that failed is told as such, never as saved; yes then goes on without it and no
// writes it again (a folder made writable or a disk freed meanwhile keeps the scenario).
bool save_won_scenario(MainState& m) {
    const int scenario = game_of(m).config.scenario_index + 1;
    // The name the save dialog offers during the scenario: a save the player made under it stays.
    const std::string offered =
        m.local_time ? format_campaign_stem(m.local_time(), scenario) : default_campaign_stem(scenario);
    const bool screen = m.renderer && m.res;
    for (;;) {
        const std::string stem = free_save_stem(offered, true);
        const SaveOutcome saved =
            !stem.empty() ? save_running_game(m, stem, true)
                          : SaveOutcome{false, compose_campaign_save_path(offered),
                                        std::make_error_code(std::errc::file_exists).message()};
        if (!saved.ok)
            std::fprintf(stderr, "Campaign autosave failed: %s (%s)\n", saved.path.c_str(), saved.reason.c_str());
        if (!screen) {
            if (!saved.ok) report_save_result(m, saved);
            return true;
        }
        OwnedTexture under(snapshot_adventure_screen(m));
        if (saved.ok) return run_campaign_save_prompt(m.renderer, *m.res, m.fonts.def, under.tex, stem);
        // The game ends behind it: a notice on the map would never show.
        if (m.report_saved) report_save_result(m, saved);
        else show_saved_alert(m.renderer, *m.res, m.fonts.def, under.tex, save_outcome_text(saved));
        if (run_question_panel(m.renderer, *m.res, m.fonts.def, under.tex, unsaved_scenario_question())) return true;
        // A window closed on the notice or the question ends the program rather than writing again.
        if (SDL_HasEvent(SDL_QUIT)) return false;
    }
}

// A campaign scenario won: the completed save and its question, then the victory page and the next
// scenario; at the end of the campaign its closing films and scores.
GameEndStep campaign_scenario_won(MainState& m) {
    GameEndStep step;
    GameSession& g = game_of(m);
    // A scenario won at a late month adds up without wrapping.
    m.campaign_days = static_cast<int>(std::min<int64_t>(
        int64_t{m.campaign_days} + days_played(g.state.day, g.state.week, g.state.month), INT32_MAX));
    const CampaignStep next = next_campaign_step(g.config);
    if (!next.has_next) {
        step.quit = finish_campaign(m);
        m.campaign_days = 0;
        return step;
    }
    // No to the question after the save: the title screen (a written save goes on from there).
    if (!g.resumed_completed && !save_won_scenario(m)) return step;
    NewGameConfig following = advance_campaign(g.config, next);
    if (m.renderer && m.res && m.res->archive) {
        const CampaignCarryover carry{g.config.scenario_index, m.campaign_days};
        campaign_music(true);
        following = run_campaign_victory_screen(m.renderer, *m.res->archive, palette_of(m), m.fonts.def, g.config,
                                                carry, true);
        campaign_music(false);
    }
    step.next_scenario = !following.quit;
    step.next = std::move(following);
    return step;
}

// The chosen game set up to play; one that cannot be (a save or map that does not load, a campaign
// without maps) is told over the title picture, and the title screen follows.
void start_game(MainState& m, const NewGameConfig& cfg) {
    m.now_ms = SDL_GetTicks();
    const std::string failure = start_chosen_game(m, cfg);
    if (failure.empty() || !m.renderer || !m.res || !m.res->archive) return;
    OwnedTexture title(load_bmp_tex(m.renderer, *m.res->archive, m.res->palette, "VELDAR.BMP"));
    show_saved_alert(m.renderer, *m.res, m.fonts.def, title.tex, failure);
}

}  // namespace

GameOutcome game_outcome(const GameSession& g) {
    // A computer seat's win means every human at the machine has lost.
    if (g.hot_seat && g.hot_seat_winner >= 0)
        return is_player_index(g.hot_seat_winner) && g.state.player_is_human[(size_t)g.hot_seat_winner] != 0
                   ? GameOutcome::HotSeatWon
                   : GameOutcome::Lost;
    if (g.game_won == 1) return GameOutcome::StandardWon;
    if (g.game_won == 2) return GameOutcome::CampaignScenarioWon;
    if (g.game_lost || every_human_out(g)) return GameOutcome::Lost;
    return GameOutcome::None;
}

GameOutcome settled_outcome(const MainState& m) {
    if (!m.game) return GameOutcome::None;
    const GameSession& g = *m.game;
    const GameOutcome o = game_outcome(g);
    if (o == GameOutcome::None || g.resumed_completed) return o;
    const LoopState& l = g.loop;
    // A press still down (the one that walked the hero in) is released on the map, never on an end screen.
    if (g.events.dialog_open || l.battle_open || g.new_day.active || l.walk_step_index >= 0 || l.recruit.open ||
        l.trading_post.open || mouse_button_down_or_queued())
        return GameOutcome::None;
    return o;
}

IntroStep after_intro_film(int film, int result, bool termination) {
    if (termination) return IntroStep::Quit;
    if (film < 2 && result == kFilmQuit) return IntroStep::Title;
    return film < 3 ? IntroStep::NextFilm : IntroStep::Title;
}

bool run_intro_films(const std::function<int(const char* film)>& play, const std::function<bool()>& terminated) {
    const char* films[] = {"NEWLOGO.SMK", "ZALLOGO.SMK", "hintro.mp4", "INTRO02C.SMK"};
    for (int i = 0; i < 4; ++i) {
        const int result = play(films[i]);
        // Asked only once the film is over, so that a request that came during it counts.
        const IntroStep step = after_intro_film(i, result, terminated());
        if (step != IntroStep::NextFilm) return step == IntroStep::Quit;
    }
    return false;
}

bool play_intro_films(MainState& m) {
    if (m.audio_on) Mix_HaltChannel(-1);
    const SmkPlayOptions options;
    return run_intro_films([&m, &options](const char* film) { return play_film(m, film, options); },
                           termination_requested);
}

GameEndStep finish_game(MainState& m, GameOutcome outcome) {
    GameEndStep step;
    if (!m.game) return step;
    if (m.audio_on) Mix_HaltChannel(-1);
    switch (outcome) {
    case GameOutcome::Lost: step.quit = show_loss(m); break;
    case GameOutcome::StandardWon: show_standard_win(m); break;
    case GameOutcome::HotSeatWon: show_hot_seat_win(m); break;
    case GameOutcome::CampaignScenarioWon: step = campaign_scenario_won(m); break;
    case GameOutcome::None: return step;
    }
    end_game(m);
    return step;
}

void restart_scenario(MainState& m) {
    if (!m.game) return;
    // A copy: setting up the new game ends the one that holds it. The campaign's total holds the won
    // scenarios' days only, so the abandoned attempt's go with it.
    const NewGameConfig config = game_of(m).config;
    const std::string failure = start_chosen_game(m, config);
    if (failure.empty() || !m.game) return;
    show_notice(game_of(m), failure);
}

void run_games(MainState& m, const std::function<void(MainState&)>& frame) {
    while (!m.quit && !termination_requested()) {
        if (!m.game) {
            if (!m.front_end) return;
            const NewGameConfig cfg = m.front_end(m);
            if (cfg.quit) return;
            m.campaign_days = 0;
            start_game(m, cfg);
            continue;
        }
        frame(m);
        const GameOutcome outcome = settled_outcome(m);
        if (outcome == GameOutcome::None) continue;
        const GameEndStep step = finish_game(m, outcome);
        if (step.quit) m.quit = true;
        else if (step.next_scenario) start_game(m, step.next);
    }
}

}  // namespace vorn1
