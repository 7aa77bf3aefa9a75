#include <gtest/gtest.h>

#include "assets/text_render.h"
#include "lang/language.h"
#include "persist/highscore.h"
#include "persist/highscore_screens.h"
#include "persist/persist_test_util.h"
#include "persist/save_dialogs.h"
#include "persist/screens_fixture.h"

using namespace vorn1;
using namespace vorn1::test;
using testing_canvas::Rgba;

namespace {

constexpr Rgba kVictoryBg{20, 10, 35, 255};
constexpr Rgba kPageBg{40, 16, 56, 255};
const Palette kPal{};

class VictoryScreens : public ModalScreenTest {
protected:
    Resources res{nullptr, nullptr};  // no art: the notices draw their fallbacks
};

// A sprite set of solid frames (an empty image leaves a null frame).
IcnTextures solid_set(testing_canvas::Canvas& c, const std::vector<std::pair<SDL_Point, Rgba>>& frames) {
    IcnTextures set;
    for (const auto& [size, colour] : frames) {
        const bool empty = size.x <= 0;
        set.frames.push_back(empty ? nullptr : c.tex(testing_canvas::solid(size.x, size.y, colour)));
        set.sizes.push_back(empty ? SDL_Point{0, 0} : size);
        set.headers.push_back({});
    }
    return set;
}

}  // namespace

TEST_F(VictoryScreens, ScoreScreenRowsAndWhatClosesIt) {
    strings().load_from_text(R"({"HS_DIFFICULTY_RATING":"Rating","CREATURE_PEASANT_SG":"Serf"})", "{}");
    VictoryScreenState s = open_standard_victory_screen(61, 139, 130, 180, standard_rank_title(4));
    EXPECT_EQ(s.rows[0].second, "61");
    EXPECT_EQ(s.rows[2], (std::pair<std::string, std::string>{"Rating", "130%"}));
    EXPECT_EQ(s.rows[3].second, "180");
    EXPECT_EQ(s.rows[4].second, "Serf");
    EXPECT_EQ(open_standard_victory_screen(1, 1, 1, 1, nullptr).rows[4].second, "");

    // Letters, a mouse press, F11 and the keypad's Enter do not close it; Return does, leaving later
    // events queued; Space closes it too.
    push({key_event(SDLK_a), press(10, 10), key_event(SDLK_F11), key_event(SDLK_KP_ENTER), key_event(SDLK_RETURN),
          key_event(SDLK_b)});
    EXPECT_TRUE(run_standard_victory_screen(r(), nullptr, kPal, font, 1, 1, 1, 1, nullptr));
    EXPECT_EQ(pending_events(), 1);
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    push({key_event(SDLK_a), press(10, 10), key_event(SDLK_SPACE), key_event(SDLK_b)});
    EXPECT_TRUE(run_standard_victory_screen(r(), nullptr, kPal, font, 61, 139, 130, 180, "Dragon"));
    EXPECT_EQ(pending_events(), 1);
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);

    // The closing frame: the cleared background, row labels from x 310 and values ending at 593.
    EXPECT_EQ(pixel(5, 5), kVictoryBg);
    EXPECT_TRUE(any_pixel_not({310, 162, 60, 50}, kVictoryBg));
    EXPECT_FALSE(any_pixel_not({300, 162, 10, 50}, kVictoryBg));
    EXPECT_TRUE(any_pixel_not({560, 162, 34, 50}, kVictoryBg));
    EXPECT_FALSE(any_pixel_not({594, 150, 40, 80}, kVictoryBg));
    // A 16-pixel font: each row a line skip below the last, with a clear line between them.
    const int pitch = TTF_FontLineSkip(font);
    for (int i = 0; i < 5; ++i) {
        const int top = 162 + pitch * i;
        EXPECT_TRUE(any_pixel_not({310, top, 284, pitch}, kVictoryBg)) << "row " << i;
        bool clear = false;
        for (int y = top + pitch / 2; y <= top + pitch + 1 && !clear; ++y)
            clear = !any_pixel_not({310, y, 284, 1}, kVictoryBg);
        EXPECT_TRUE(clear) << "row " << i << " runs into the next";
    }

    push({mouse_event(SDL_MOUSEBUTTONUP, 1, 1, SDL_BUTTON_RIGHT)});
    EXPECT_TRUE(run_standard_victory_screen(r(), nullptr, kPal, font, 1, 1, 1, 1, nullptr));
    push({quit_event()});
    EXPECT_FALSE(run_standard_victory_screen(r(), nullptr, kPal, font, 1, 1, 1, 1, nullptr));
}

TEST_F(VictoryScreens, NameEntryTypingLimitsAndResults) {
    NameEntryState s = open_name_entry("Player", 15, {240, 24}, {66, 25});
    EXPECT_EQ(s.text, "Player");
    EXPECT_EQ(s.ok_rect.x, 287);
    EXPECT_EQ(s.ok_rect.y, 316);
    for (int i = 0; i < 7; ++i) handle_name_entry_event(s, key_event(SDLK_BACKSPACE));  // one past empty
    EXPECT_EQ(s.text, "");
    handle_name_entry_event(s, text_event("abc\tdefghijklmnopq"));
    EXPECT_EQ(s.text, "abcdefghijklmno");
    handle_name_entry_event(s, text_event("z"));
    EXPECT_EQ(s.text, "abcdefghijklmno");

    // A two-byte character that does not fit whole is not begun; Backspace takes it whole.
    s.text = "abcdefghijklmn";
    handle_name_entry_event(s, text_event("\xC3\xA9"));
    EXPECT_EQ(s.text, "abcdefghijklmn");
    s.text = "abcdefghijklm";
    handle_name_entry_event(s, text_event("\xC3\xA9"));
    EXPECT_EQ(s.text, "abcdefghijklm\xC3\xA9");
    handle_name_entry_event(s, key_event(SDLK_BACKSPACE));
    EXPECT_EQ(s.text, "abcdefghijklm");

    // Escape keeps the text; only spaces give the default; a quit gives the default uncut.
    handle_name_entry_event(s, key_event(SDLK_ESCAPE));
    EXPECT_TRUE(s.done);
    EXPECT_EQ(name_entry_result(s), "abcdefghijklm");
    s.text = "   ";
    EXPECT_EQ(name_entry_result(s), "Player");
    s.text = "  Kim  ";
    EXPECT_EQ(name_entry_result(s), "Kim");
    NameEntryState q = open_name_entry("A twenty-byte name!!", 15, {240, 24}, {66, 25});
    EXPECT_EQ(q.text, "A twenty-byte n");
    handle_name_entry_event(q, quit_event());
    EXPECT_EQ(name_entry_result(q), "A twenty-byte name!!");

    // OK acts on a press and a release both inside it.
    NameEntryState m = open_name_entry("x", 15, {240, 24}, {66, 25});
    handle_name_entry_event(m, press(300, 320));
    handle_name_entry_event(m, release(200, 200));
    EXPECT_FALSE(m.done);
    handle_name_entry_event(m, release(300, 320));
    EXPECT_FALSE(m.done);
    handle_name_entry_event(m, press(300, 320));
    handle_name_entry_event(m, release(352, 340));
    EXPECT_TRUE(m.done);
}

TEST_F(VictoryScreens, NameEntryRunsWithFallbackArt) {
    // The field starts with the default name; key presses without text add nothing.
    push({key_event(SDLK_BACKSPACE), text_event("Bo"), key_event(SDLK_b), key_event(SDLK_BACKSPACE), text_event("b"),
          key_event(SDLK_KP_ENTER)});
    EXPECT_EQ(run_name_entry_dialog(r(), nullptr, kPal, font, "P", 15, nullptr), "Bb");

    // Without pictures: the veiled screen, the purple panel, the red field and the gold button.
    canvas.clear({100, 100, 100, 255});
    NameEntryState s = open_name_entry("Kim", 15, {240, 24}, {66, 25});
    draw_name_entry(r(), font, nullptr, {}, {}, s, false);
    const Rgba veiled = pixel(5, 5);
    EXPECT_LT(veiled.r, 100);
    EXPECT_GT(veiled.r, 50);
    EXPECT_EQ(pixel(180, 113), (Rgba{72, 48, 120, 255}));
    EXPECT_EQ(pixel(177, 110), (Rgba{200, 170, 60, 255}));
    EXPECT_EQ(pixel(201, 233), (Rgba{120, 20, 20, 255}));
    EXPECT_EQ(pixel(288, 317), (Rgba{180, 140, 40, 255}));
    EXPECT_GT(count_pixels({200, 232, 240, 24}, {255, 255, 255, 255}), 5);  // the name
}

TEST_F(VictoryScreens, HighScorePageSwitchesTablesAndKeepsTheHighlightOnTheFirst) {
    ScratchDataDir dir;
    std::vector<HighScoreEntry> camp = default_campaign_high_scores();
    camp[0].name = "Fastest";
    ASSERT_TRUE(save_high_scores(high_score_path(dir.root(), HighScoreTable::Campaign), camp, HighScoreTable::Campaign));

    const IcnTextures none;
    HighScorePageState s = open_highscores_page(HighScoreTable::Standard, dir.root(), 3, none);
    EXPECT_EQ(s.rows, default_standard_high_scores());
    EXPECT_EQ(s.switch_rect.w, 28);
    EXPECT_EQ(s.switch_rect.h, 134);
    EXPECT_EQ(shown_highlight(s), 3);
    handle_highscores_event(s, key_event(SDLK_LEFT), none);
    EXPECT_EQ(s.shown, HighScoreTable::Campaign);
    EXPECT_EQ(s.rows[0].name, "Fastest");  // re-read from its own file
    EXPECT_EQ(shown_highlight(s), -1);
    handle_highscores_event(s, key_event(SDLK_RIGHT), none);
    EXPECT_EQ(s.shown, HighScoreTable::Standard);
    EXPECT_EQ(shown_highlight(s), 3);

    // Switch button: press and release inside switch; a release elsewhere closes.
    handle_highscores_event(s, press(10, 320), none);
    handle_highscores_event(s, release(20, 400), none);
    EXPECT_EQ(s.shown, HighScoreTable::Campaign);
    EXPECT_FALSE(s.done);
    handle_highscores_event(s, mouse_event(SDL_MOUSEBUTTONUP, 300, 300, SDL_BUTTON_RIGHT), none);
    EXPECT_FALSE(s.done);
    handle_highscores_event(s, press(10, 320), none);
    handle_highscores_event(s, release(200, 320), none);
    EXPECT_TRUE(s.done);

    HighScorePageState k = open_highscores_page(HighScoreTable::Campaign, dir.root(), -1, none);
    handle_highscores_event(k, key_event(SDLK_q), none);
    EXPECT_TRUE(k.done);
    // F11 is one of those other keys here: it closes the page instead of scaling the window.
    push({key_event(SDLK_F11), key_event(SDLK_b)});
    run_highscores_page(r(), nullptr, kPal, font, HighScoreTable::Standard, dir.root(), -1);
    EXPECT_EQ(pending_events(), 1);
}

TEST_F(VictoryScreens, HighScorePageDrawsRowsHighlightAndRankPictures) {
    ScratchDataDir dir;
    std::vector<HighScoreEntry> rows = default_standard_high_scores();
    rows[0].score = 200;  // Dragon (23); the others rank lower
    ASSERT_TRUE(save_high_scores(high_score_path(dir.root(), HighScoreTable::Standard), rows, HighScoreTable::Standard));

    // Creature pictures: id 23 is 20 x 40 green; every other id has no frame.
    std::vector<std::pair<SDL_Point, Rgba>> frames(24, {{0, 0}, {}});
    frames[23] = {{20, 40}, {0, 255, 0, 255}};
    IcnTextures mons = solid_set(canvas, frames);
    IcnTextures buttons = solid_set(canvas, {{{30, 100}, {255, 0, 0, 255}},
                                             {{30, 100}, {128, 0, 0, 255}},
                                             {{30, 100}, {0, 0, 255, 255}},
                                             {{30, 100}, {0, 0, 128, 255}},
                                             {{28, 90}, {255, 255, 0, 255}},
                                             {{28, 90}, {128, 128, 0, 255}}});

    HighScorePageState s = open_highscores_page(HighScoreTable::Standard, dir.root(), 1, buttons);
    EXPECT_EQ(s.switch_rect.w, 30);
    EXPECT_EQ(s.exit_rect.h, 90);
    s.exit_pressed = true;
    draw_highscores_page(r(), font, nullptr, buttons, mons, s);
    EXPECT_EQ(pixel(2, 2), kPageBg);
    EXPECT_EQ(pixel(10, 320), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(pixel(610, 320), (Rgba{128, 128, 0, 255}));
    // Row 0 (y 51): the picture at x 560, centred on y + 8 -> top 51 - 12 = 39.
    EXPECT_EQ(pixel(561, 40), (Rgba{0, 255, 0, 255}));
    EXPECT_EQ(pixel(561, 37), kPageBg);
    EXPECT_EQ(pixel(579, 78), (Rgba{0, 255, 0, 255}));
    // Row 1 ranks a creature without a frame: nothing there. It is highlighted; row 2 is white.
    EXPECT_FALSE(any_pixel_not({560, 81, 20, 10}, kPageBg));  // above the row's own text
    EXPECT_GT(count_pixels({110, 93, 120, 20}, {255, 224, 96, 255}), 5);
    EXPECT_EQ(count_pixels({110, 93, 120, 20}, {255, 255, 255, 255}), 0);
    EXPECT_GT(count_pixels({110, 135, 120, 20}, {255, 255, 255, 255}), 5);
    // Scores end at x 430.
    EXPECT_TRUE(any_pixel_not({400, 51, 30, 16}, kPageBg));
    EXPECT_FALSE(any_pixel_not({431, 51, 20, 16}, kPageBg));
    // The headings stand above the first row with a clear band between them.
    EXPECT_TRUE(any_pixel_not({110, 20, 420, 28}, kPageBg));
    EXPECT_FALSE(any_pixel_not({110, 48, 420, 3}, kPageBg)) << "the headings touch the first row";

    // Switched to the campaign table: its own button frame and no highlight.
    handle_highscores_event(s, key_event(SDLK_RIGHT), buttons);
    s.exit_pressed = false;
    draw_highscores_page(r(), font, nullptr, buttons, mons, s);
    EXPECT_EQ(pixel(10, 320), (Rgba{0, 0, 255, 255}));
    EXPECT_EQ(pixel(610, 320), (Rgba{255, 255, 0, 255}));
    EXPECT_EQ(count_pixels({110, 93, 120, 20}, {255, 224, 96, 255}), 0);
    destroy_textures(mons);
    destroy_textures(buttons);
}

TEST_F(VictoryScreens, EveryColumnKeepsTheStartOfItsTextCutBetweenCharacters) {
    ScratchDataDir dir;
    // The longest name and label a file keeps, in the widest letters.
    const std::vector<HighScoreEntry> rows{{std::string(15, 'W'), std::string(14, 'W'), 65000}};
    ASSERT_TRUE(save_high_scores(high_score_path(dir.root(), HighScoreTable::Standard), rows, HighScoreTable::Standard));
    const HighScoreLine fitted = fit_high_score_line(font, {rows[0].name, rows[0].label, "65000", "Dragon"});
    EXPECT_FALSE(fitted.name.empty());
    EXPECT_EQ(fitted.rank, "Dragon") << "what fits stays whole";
    // Every rank of both ladders stays whole in the game's own English font, the widest one too.
    TTF_Font* game_font = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans-Bold.ttf", kLargeFontSize);
    ASSERT_NE(game_font, nullptr) << TTF_GetError();
    for (const auto* ladder : {&k_standard_ladder, &k_campaign_ladder})
        for (const RankRow& row : *ladder)
            EXPECT_EQ(fit_high_score_line(game_font, {"", "", "0", row.title}).rank, row.title);
    // A name a little too wide keeps its start, cut between characters, not only its first word.
    const std::string lord = "Lord ZevorazTes";
    const int name_column = 250 - 6 - 110;
    ASSERT_GT(text::measure(game_font, lord).x, name_column);
    const std::string shown = fit_high_score_line(game_font, {lord, "", "0", ""}).name;
    EXPECT_EQ(lord.rfind(shown, 0), 0u) << shown;
    EXPECT_GT(shown.size(), std::string("Lord Zev").size()) << shown;
    EXPECT_LE(text::measure(game_font, shown).x, name_column);
    // So is every other column: a two-word lord beside a four-digit count of days, a rank and a
    // score heading too long for theirs.
    const HighScoreLine lord_row =
        fit_high_score_line(game_font, {"Ziduzud", "Lord Varkhelm", "2000", "Crossbowmanhood"});
    const int label_column = 430 - text::measure(game_font, "2000").x - 6 - 250;
    ASSERT_GT(text::measure(game_font, "Lord Varkhelm").x, label_column);
    EXPECT_EQ(std::string("Lord Varkhelm").rfind(lord_row.label, 0), 0u) << lord_row.label;
    EXPECT_GE(lord_row.label.size(), std::string("Lord Va").size()) << lord_row.label;
    EXPECT_LE(text::measure(game_font, lord_row.label).x, label_column);
    EXPECT_EQ(lord_row.score, "2000");
    ASSERT_GT(text::measure(game_font, "Crossbowmanhood").x, 560 - 2 - 452);
    EXPECT_EQ(std::string("Crossbowmanhood").rfind(lord_row.rank, 0), 0u) << lord_row.rank;
    EXPECT_GE(lord_row.rank.size(), 6u) << lord_row.rank;
    EXPECT_LE(text::measure(game_font, lord_row.rank).x, 560 - 2 - 452);
    const HighScoreLine headings = fit_high_score_line(game_font, {"", "Lord", "Days of the whole campaign", ""});
    EXPECT_EQ(std::string("Days of the whole campaign").rfind(headings.score, 0), 0u) << headings.score;
    EXPECT_GT(headings.score.size(), 4u) << headings.score;
    EXPECT_LE(text::measure(game_font, headings.score).x, (430 - 250 - 6) / 2);
    EXPECT_EQ(headings.label, "Lord") << "the label keeps the rest of the room";
    TTF_CloseFont(game_font);

    HighScorePageState s = open_highscores_page(HighScoreTable::Standard, dir.root(), -1, IcnTextures{});
    draw_highscores_page(r(), font, nullptr, IcnTextures{}, IcnTextures{}, s);
    // Row 0 below the headings' line.
    const int y = 35 + TTF_FontLineSkip(font), h = 51 + 16 - y;
    EXPECT_TRUE(any_pixel_not({110, y, 100, h}, kPageBg));
    EXPECT_FALSE(any_pixel_not({244, y, 6, h}, kPageBg)) << "the name ends before the Scenario column";
    const int score_left = 430 - text::measure(font, "65000").x;
    EXPECT_TRUE(any_pixel_not({250, y, 60, h}, kPageBg));
    EXPECT_FALSE(any_pixel_not({score_left - 6, y, 6, h}, kPageBg)) << "the label ends before the score";
}

TEST_F(VictoryScreens, StandardFlowRecordsAQualifyingWinUnderTheEnteredName) {
    ScratchDataDir dir;
    start_watchdog();
    ScenarioResult win;
    win.days = 61;
    win.difficulty_percent = 130;
    // Score screen, name entry, page.
    push({key_event(SDLK_RETURN)});
    push(std::vector<SDL_Event>(6, key_event(SDLK_BACKSPACE)));  // the field starts as "Player"
    push({text_event("Kim"), key_event(SDLK_RETURN), key_event(SDLK_x)});
    const int place = run_standard_victory_flow(r(), nullptr, kPal, font, win, "Player", "Crossroads", dir.root(), res);
    EXPECT_EQ(place, 0);
    const std::vector<uint8_t> file = read_bytes(high_score_path(dir.root(), HighScoreTable::Standard));
    ASSERT_EQ(file.size(), 870u);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 17), std::string("Kim") + std::string(13, ' ') + '\0');
    EXPECT_EQ(file[32], 0xB4);
    EXPECT_EQ(file[33], 0x00);
    EXPECT_EQ(load_high_scores(high_score_path(dir.root(), HighScoreTable::Standard), HighScoreTable::Standard)[1].name,
              "Lord Zevoraz");
    EXPECT_EQ(pending_events(), 0);

    // A table that cannot be written (a folder where its temporary file goes) is told with that file
    // and the reason, and the page then marks no row: the file still holds the old table.
    std::filesystem::create_directory(high_score_path(dir.root(), HighScoreTable::Standard) + ".tmp");
    std::vector<std::string> told;
    shown_text_hook() = [&told](const std::string& text) { told.push_back(text); };
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    // Score screen, name, notice; the page, drawn until a window close, is the last frame.
    push({key_event(SDLK_RETURN), key_event(SDLK_RETURN), key_event(SDLK_RETURN)});
    stop_watchdog();
    start_watchdog(250);
    EXPECT_EQ(run_standard_victory_flow(r(), nullptr, kPal, font, win, "Player", "Crossroads", dir.root(), res), -1);
    stop_watchdog();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    testing::internal::GetCapturedStderr();
    testing::internal::GetCapturedStdout();
    shown_text_hook() = nullptr;
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0], "The high-score table could not be written.\nSTANDARD.HS.tmp: " +
                           std::make_error_code(std::errc::is_a_directory).message());
    EXPECT_EQ(read_bytes(high_score_path(dir.root(), HighScoreTable::Standard)), file);
    EXPECT_GT(count_pixels({110, 51, 300, 420}, {255, 255, 255, 255}), 100) << "the page's rows";
    EXPECT_EQ(count_pixels({110, 51, 300, 420}, {255, 224, 96, 255}), 0) << "no row is marked";
}

TEST_F(VictoryScreens, StandardFlowSkipsTheNameWhenTheScoreOnlyTiesTheTenth) {
    ScratchDataDir dir;
    start_watchdog();
    ScenarioResult slow;
    slow.days = 600;  // 20 points
    slow.difficulty_percent = 50;  // -> 10, the stored tenth
    push({key_event(SDLK_RETURN), key_event(SDLK_x)});
    EXPECT_EQ(run_standard_victory_flow(r(), nullptr, kPal, font, slow, "Player", "Map", dir.root(), res), -1);
    EXPECT_EQ(pending_events(), 0);  // no name was asked, so nothing was left for the page to miss
    EXPECT_FALSE(std::filesystem::exists(high_score_path(dir.root(), HighScoreTable::Standard)));
}

TEST_F(VictoryScreens, CampaignFlowRecordsTheDaysUnderTheLordsName) {
    ScratchDataDir dir;
    start_watchdog();
    push({text_event("Zed"), key_event(SDLK_RETURN), key_event(SDLK_x)});
    EXPECT_EQ(run_campaign_score_flow(r(), nullptr, kPal, font, 450, "", "Lord Brudek", dir.root(), res), 0);
    std::vector<HighScoreEntry> rows =
        load_high_scores(high_score_path(dir.root(), HighScoreTable::Campaign), HighScoreTable::Campaign);
    EXPECT_EQ(rows[0], (HighScoreEntry{"Zed", "Lord Brudek", 450}));

    // A campaign table that cannot be written (a file where its folder should be) is told the same way.
    const std::string blocked = dir.root() + "/blocked";
    write_bytes(blocked, {1});
    std::vector<std::string> told;
    shown_text_hook() = [&told](const std::string& text) { told.push_back(text); };
    testing::internal::CaptureStderr();
    push({text_event("Zed"), key_event(SDLK_RETURN), key_event(SDLK_RETURN), key_event(SDLK_x)});
    EXPECT_EQ(run_campaign_score_flow(r(), nullptr, kPal, font, 450, "", "Lord Brudek", blocked, res), -1);
    testing::internal::GetCapturedStderr();
    shown_text_hook() = nullptr;
    EXPECT_EQ(told, std::vector<std::string>{"The high-score table could not be written.\nblocked/CAMPAIGN.HS.tmp: " +
                                             std::make_error_code(std::errc::not_a_directory).message()});

    // 5000 days do not qualify: only the page runs.
    push({key_event(SDLK_x)});
    EXPECT_EQ(run_campaign_score_flow(r(), nullptr, kPal, font, 5000, "Player", "Lord Brudek", dir.root(), res), -1);
    EXPECT_EQ(pending_events(), 0);
}
