#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "assets/dialog_utils.h"
#include "assets/text_render.h"
#include "events/event_types.h"
#include "lang/language.h"
#include "persist/persist_test_util.h"
#include "persist/save_dialogs.h"
#include "persist/screens_fixture.h"

using namespace vorn1;
using namespace vorn1::test;
using testing_canvas::Rgba;

namespace {

const Palette kPal{};
constexpr Rgba kBlack{0, 0, 0, 255};
constexpr Rgba kPanel{30, 30, 30, 255};

std::vector<SaveFileInfo> saves(int n) {
    std::vector<SaveFileInfo> out;
    for (int i = 0; i < n; ++i) out.push_back({"/s/f" + std::to_string(i) + ".sav", "", "f" + std::to_string(i)});
    return out;
}

class SaveDialogs : public ModalScreenTest {
protected:
    Resources res{nullptr, nullptr};
    // The dialogs' layout without pictures or font: 16-pixel rows, 12 of them.
    const PanelLayout bare = compute_layout(SDL_Point{0, 0}, nullptr, SDL_Point{0, 0});
    // A row's middle and the buttons' middles.
    int row_y(int visible_index) const { return bare.list_y + bare.row_h * visible_index + 8; }
    SDL_Point ok() const { return {bare.ok_x + 10, bare.ok_y + 10}; }
    // The default buttons overlap: this point lies only on Cancel.
    SDL_Point cancel() const { return {bare.cancel_x + bare.cancel_w - 5, bare.cancel_y + 10}; }
};

}  // namespace

TEST_F(SaveDialogs, LayoutFollowsPanelFontAndButtonSizes) {
    EXPECT_EQ(bare.panel_w, 161);
    EXPECT_EQ(bare.panel_h, 285);
    EXPECT_EQ(bare.list_w, 51);
    EXPECT_EQ(bare.row_h, 16);
    EXPECT_EQ(bare.visible_rows, 12);
    EXPECT_EQ(bare.scroll_x, 436);
    EXPECT_EQ(bare.ok_y, 233);
    EXPECT_EQ(bare.cancel_x, 371);

    const PanelLayout l = compute_layout(SDL_Point{200, 300}, font, SDL_Point{70, 30});
    const int skip = TTF_FontLineSkip(font);
    EXPECT_EQ(l.row_h, skip);
    EXPECT_EQ(l.visible_rows, 194 / skip);
    EXPECT_EQ(l.list_w, 90);
    EXPECT_EQ(l.scroll_x, 475);
    EXPECT_EQ(l.ok_x, 348);
    EXPECT_EQ(l.ok_y, 300 - 27 - 30);
    EXPECT_EQ(l.cancel_x, 200 + 276 - 70);
    EXPECT_EQ(l.cancel_w, 70);
}

TEST_F(SaveDialogs, NameFieldTypingBackspaceAndLimits) {
    SaveDialogState s = open_save_dialog(bare, saves(2), "T", "26-12-05-2310-");
    handle_save_dialog_event(s, key_event(SDLK_RETURN));
    ASSERT_TRUE(s.done);
    EXPECT_EQ(s.result.name, "26-12-05-2310-");  // the pre-filled stem ends in "-"

    s = open_save_dialog(bare, {}, "T", "");
    handle_save_dialog_event(s, key_event(SDLK_RETURN));
    handle_save_dialog_event(s, key_event(SDLK_BACKSPACE));
    EXPECT_FALSE(s.done);  // an empty name cannot be accepted
    // A two-byte character goes with one Backspace, leaving valid text behind.
    handle_save_dialog_event(s, text_event("a\xC3\xA9"));
    handle_save_dialog_event(s, key_event(SDLK_BACKSPACE));
    EXPECT_EQ(s.name, "a");
    // Typing is taken while the name holds at most 59 bytes, whole events at a time.
    s.name = std::string(59, 'x');
    handle_save_dialog_event(s, text_event("yz"));
    EXPECT_EQ(s.name.size(), 61u);
    handle_save_dialog_event(s, text_event("q"));
    EXPECT_EQ(s.name.size(), 61u);
    handle_save_dialog_event(s, key_event(SDLK_ESCAPE));
    EXPECT_TRUE(s.done);
    EXPECT_FALSE(s.result.accepted);
}

TEST_F(SaveDialogs, ReplacingASaveAsksAndNoGoesBackToTheName) {
    const auto taken = [](const std::string& name) { return name == "old"; };
    for (SDL_Keycode yes : {SDLK_y, SDLK_RETURN, SDLK_KP_ENTER}) {
        SaveDialogState s = open_save_dialog(bare, saves(1), "T", "old");
        s.name_taken = taken;
        handle_save_dialog_event(s, key_event(SDLK_RETURN));
        ASSERT_TRUE(s.asking);
        EXPECT_FALSE(s.done);
        handle_save_dialog_event(s, text_event("x"));  // typing goes nowhere while the question is up
        handle_save_dialog_event(s, key_event(yes));
        EXPECT_TRUE(s.done);
        EXPECT_TRUE(s.result.accepted);
        EXPECT_EQ(s.result.name, "old");
    }
    for (SDL_Keycode no : {SDLK_n, SDLK_ESCAPE}) {
        SaveDialogState s = open_save_dialog(bare, saves(1), "T", "old");
        s.name_taken = taken;
        handle_save_dialog_event(s, key_event(SDLK_RETURN));
        handle_save_dialog_event(s, key_event(no));
        handle_save_dialog_event(s, text_event("n"));  // the letter the keyboard sends with n
        EXPECT_FALSE(s.asking);
        EXPECT_FALSE(s.done) << "back to the name";
        EXPECT_EQ(s.name, "old");
        handle_save_dialog_event(s, text_event("2"));
        EXPECT_EQ(s.name, "old2");
        handle_save_dialog_event(s, key_event(SDLK_RETURN));
        EXPECT_TRUE(s.done) << "a new name saves without asking";
    }
    // A closed window ends the question and the dialog.
    SaveDialogState s = open_save_dialog(bare, saves(1), "T", "old");
    s.name_taken = taken;
    handle_save_dialog_event(s, key_event(SDLK_RETURN));
    handle_save_dialog_event(s, quit_event());
    EXPECT_TRUE(s.done);
    EXPECT_FALSE(s.result.accepted);
}

TEST_F(SaveDialogs, RowsScrollingAndButtons) {
    SaveDialogState s = open_save_dialog(bare, saves(20), "T", "typed");
    // A click on a visible row takes its stem as the whole name.
    handle_save_dialog_event(s, press(bare.list_x + 5, row_y(2)));
    EXPECT_EQ(s.name, "f2");
    EXPECT_EQ(s.list.selected, 2);
    handle_save_dialog_event(s, wheel_event(-3));
    EXPECT_EQ(s.list.first, 3);
    handle_save_dialog_event(s, press(bare.list_x + 5, row_y(0)));
    EXPECT_EQ(s.name, "f3");
    handle_save_dialog_event(s, wheel_event(-100));
    EXPECT_EQ(s.list.first, 8);
    handle_save_dialog_event(s, wheel_event(100));
    EXPECT_EQ(s.list.first, 0);
    // The scroll bar column: its bottom jumps to the end, its top back; right of it nothing.
    handle_save_dialog_event(s, press(bare.scroll_x + 19, bare.scroll_y + bare.scroll_h - 1));
    EXPECT_EQ(s.list.first, 8);
    handle_save_dialog_event(s, press(bare.scroll_x + 20, bare.scroll_y));
    EXPECT_EQ(s.list.first, 8);
    handle_save_dialog_event(s, press(bare.scroll_x, bare.scroll_y));
    EXPECT_EQ(s.list.first, 0);
    // The middle: 81 / 162 x 8 = 4.
    handle_save_dialog_event(s, press(bare.scroll_x, bare.scroll_y + 81));
    EXPECT_EQ(s.list.first, 4);
    handle_save_dialog_event(s, release(0, 0));

    // OK needs a press and a release both on it; a release alone or elsewhere does nothing.
    handle_save_dialog_event(s, release(ok().x, ok().y));
    handle_save_dialog_event(s, press(ok().x, ok().y));
    EXPECT_TRUE(s.list.ok_held);
    handle_save_dialog_event(s, release(10, 10));
    EXPECT_FALSE(s.list.ok_held);
    EXPECT_FALSE(s.done);
    handle_save_dialog_event(s, press(ok().x, ok().y));
    handle_save_dialog_event(s, release(cancel().x, cancel().y));
    EXPECT_FALSE(s.done);
    handle_save_dialog_event(s, press(ok().x, ok().y));
    handle_save_dialog_event(s, release(ok().x, ok().y));
    ASSERT_TRUE(s.done);
    EXPECT_TRUE(s.result.accepted);
    EXPECT_EQ(s.result.name, "f3");

    // With exactly as many saves as rows nothing scrolls.
    SaveDialogState full = open_save_dialog(bare, saves(12), "T", "n");
    handle_save_dialog_event(full, wheel_event(-2));
    handle_save_dialog_event(full, press(bare.scroll_x, bare.scroll_y + 150));
    EXPECT_EQ(full.list.first, 0);
    handle_save_dialog_event(full, press(cancel().x, cancel().y));
    handle_save_dialog_event(full, release(cancel().x, cancel().y));
    EXPECT_TRUE(full.done);
    EXPECT_FALSE(full.result.accepted);
}

TEST_F(SaveDialogs, LoadListSelectionStaysInView) {
    LoadDialogState s = open_load_dialog(bare, saves(15), "L");
    EXPECT_EQ(s.list.selected, 0);
    handle_load_dialog_event(s, key_event(SDLK_UP));
    EXPECT_EQ(s.list.selected, 0);
    for (int i = 0; i < 12; ++i) handle_load_dialog_event(s, key_event(SDLK_DOWN));
    EXPECT_EQ(s.list.selected, 12);
    EXPECT_EQ(s.list.first, 1);
    for (int i = 0; i < 5; ++i) handle_load_dialog_event(s, key_event(SDLK_DOWN));
    EXPECT_EQ(s.list.selected, 14);
    EXPECT_EQ(s.list.first, 3);
    s.list.first = 0;  // scrolled away by the wheel: Up brings the selection back into view
    s.list.selected = 13;
    handle_load_dialog_event(s, key_event(SDLK_UP));
    EXPECT_EQ(s.list.first, 1);
    handle_load_dialog_event(s, press(bare.list_x + 2, row_y(1)));
    EXPECT_EQ(s.list.selected, 2);
    handle_load_dialog_event(s, press(bare.list_x + 2, bare.list_y + bare.list_h - 1));  // row 13 of 15
    EXPECT_EQ(s.list.selected, 13);
    handle_load_dialog_event(s, key_event(SDLK_KP_ENTER));
    ASSERT_TRUE(s.done);
    EXPECT_EQ(s.result.path, "/s/f13.sav");
    EXPECT_EQ(s.result.stem, "f13");

    // An empty list can only be left.
    LoadDialogState e = open_load_dialog(bare, {}, "L");
    EXPECT_EQ(e.list.selected, -1);
    handle_load_dialog_event(e, key_event(SDLK_DOWN));
    handle_load_dialog_event(e, key_event(SDLK_RETURN));
    handle_load_dialog_event(e, press(ok().x, ok().y));
    handle_load_dialog_event(e, release(ok().x, ok().y));
    handle_load_dialog_event(e, press(bare.list_x + 2, row_y(0)));
    EXPECT_FALSE(e.done);
    EXPECT_EQ(e.list.selected, -1);
    handle_load_dialog_event(e, key_event(SDLK_ESCAPE));
    EXPECT_TRUE(e.done);
    EXPECT_FALSE(e.result.accepted);
}

TEST_F(SaveDialogs, F11StepsTheWindowScaleAndLeavesTheScreenOpen) {
    ScratchDataDir dir;
    start_watchdog(30000);
    int steps = 0;
    const FullscreenCallback scale = [&steps] { ++steps; };
    g_ng_fullscreen_cb = &scale;
    SDL_Event held = key_event(SDLK_F11);
    held.key.repeat = 1;
    push({key_event(SDLK_F11), held, key_event(SDLK_y)});
    EXPECT_TRUE(run_campaign_save_prompt(r(), res, font, nullptr, "s1"));
    push({key_event(SDLK_F11), key_event(SDLK_SPACE)});
    show_saved_alert(r(), res, font, nullptr, "Game saved successfully.");
    push({key_event(SDLK_F11), key_event(SDLK_ESCAPE)});
    EXPECT_FALSE(run_load_dialog(r(), nullptr, kPal, res, nullptr, nullptr).accepted);
    g_ng_fullscreen_cb = nullptr;
    EXPECT_EQ(steps, 3);
    EXPECT_EQ(pending_events(), 0);
}

TEST_F(SaveDialogs, DialogsRunOverTheSaveFolders) {
    ScratchDataDir dir;
    ASSERT_TRUE(ensure_saved_games_dir());
    write_bytes(compose_save_path("autosave"), {1});
    write_bytes(compose_save_path("26-12-05-2310-game"), {1});
    start_watchdog();

    // 14 Backspaces clear the pre-filled stem; then "abc" and Return.
    push(std::vector<SDL_Event>(14, key_event(SDLK_BACKSPACE)));
    push({text_event("abc"), key_event(SDLK_RETURN)});
    SaveDialogResult saved = run_save_dialog(r(), nullptr, kPal, res, nullptr, nullptr, false, 0);
    EXPECT_TRUE(saved.accepted);
    EXPECT_EQ(saved.name, "abc");

    // A listed save is replaced only after a yes.
    push({press(370, 50), release(370, 50), key_event(SDLK_RETURN), key_event(SDLK_y)});
    saved = run_save_dialog(r(), nullptr, kPal, res, nullptr, nullptr, false, 0);
    EXPECT_EQ(saved.name, "autosave");

    push({key_event(SDLK_RETURN)});
    saved = run_save_dialog(r(), nullptr, kPal, res, nullptr, nullptr, true, 3);
    EXPECT_EQ(saved.name.substr(saved.name.size() - 12), "-CAMP-SCEN-3");

    push({key_event(SDLK_DOWN), key_event(SDLK_RETURN)});
    LoadDialogResult loaded = run_load_dialog(r(), nullptr, kPal, res, nullptr, nullptr);
    EXPECT_TRUE(loaded.accepted);
    EXPECT_EQ(loaded.stem, "26-12-05-2310-game");
    EXPECT_EQ(std::filesystem::path(loaded.path), std::filesystem::path(compose_save_path("26-12-05-2310-game")));

    push({key_event(SDLK_ESCAPE)});
    EXPECT_FALSE(run_load_dialog(r(), nullptr, kPal, res, nullptr, nullptr).accepted);
    push({key_event(SDLK_RETURN), key_event(SDLK_ESCAPE)});  // no campaign saves: Return does nothing
    EXPECT_FALSE(run_campaign_load_dialog(r(), nullptr, kPal, res, nullptr, nullptr).accepted);
    EXPECT_EQ(pending_events(), 0);
}

TEST_F(SaveDialogs, PanelDrawsRowsSelectionThumbAndNameEnd) {
    const Image thumb_img = testing_canvas::solid(20, 10, {255, 0, 255, 255});
    SDL_Texture* thumb = canvas.tex(thumb_img);
    std::vector<std::string> rows;
    for (int i = 0; i < 20; ++i) rows.push_back("row" + std::to_string(i));

    set_save_dialog_name_font(font);
    draw_panel(r(), bare, nullptr, nullptr, nullptr, thumb, res, "", rows, 5, 4, "name", false, false, false);
    EXPECT_EQ(pixel(5, 5), kBlack);
    EXPECT_EQ(pixel(bare.panel_x + 1, bare.panel_y + 280), kPanel);
    // Row 5 is the second visible one: a faint green fill over the whole row width.
    const Rgba sel = pixel(bare.list_x + bare.list_w - 1, bare.list_y + 16 + 1);
    EXPECT_NEAR(sel.r, 25, 2);
    EXPECT_NEAR(sel.g, 54, 2);
    EXPECT_EQ(pixel(bare.list_x + bare.list_w - 1, bare.list_y + 1), kPanel);
    // The thumb at 4 / (20 - 12) of the bar.
    EXPECT_EQ(pixel(bare.scroll_x + 1, bare.scroll_y + 81 + 1), (Rgba{255, 0, 255, 255}));
    EXPECT_EQ(pixel(bare.scroll_x + 1, bare.scroll_y + 79), kPanel);
    // Text stays inside the list rectangle (clipped on the right).
    EXPECT_FALSE(any_pixel_not({bare.list_x + bare.list_w, bare.list_y, 8, bare.list_h}, kPanel));
    EXPECT_TRUE(any_pixel_not({bare.list_x, bare.list_y, bare.list_w, bare.list_h}, kPanel));

    // Without rows beyond the visible ones no thumb is drawn; a long name shows its end.
    canvas.clear(kBlack);
    rows.resize(12);
    const std::string long_name = "a-very-long-save-name-that-cannot-fit-END";
    draw_panel(r(), bare, nullptr, nullptr, nullptr, thumb, res, "", rows, -1, 0, long_name, true, false, false);
    EXPECT_EQ(count_pixels({bare.scroll_x, bare.scroll_y, 20, bare.scroll_h}, {255, 0, 255, 255}), 0);
    const SDL_Rect field{bare.panel_x + 6, bare.name_y - 2, bare.panel_w - 12, bare.row_h + 6};
    EXPECT_GT(count_pixels(field, {255, 215, 0, 255}), 10);
    EXPECT_FALSE(any_pixel_not({bare.panel_x, bare.name_y, 6, bare.row_h}, kPanel));
    set_save_dialog_name_font(nullptr);
    SDL_DestroyTexture(thumb);
}

TEST_F(SaveDialogs, LongRowsKeepTheirEndAndEmptyListsSaySo) {
    // A campaign save's scenario part survives a list too narrow for the whole name.
    const std::string stem = "240501-1200-CAMP-SCEN-2";
    EXPECT_EQ(fit_row_text(font, stem, 1000), stem);
    const int narrow = text::measure(font, stem).x * 2 / 3;
    const std::string row = fit_row_text(font, stem, narrow);
    EXPECT_EQ(row.substr(0, 3), "...");
    EXPECT_EQ(row.substr(row.size() - 11), "CAMP-SCEN-2");
    EXPECT_LE(text::measure(font, row).x, narrow);
    EXPECT_EQ(fit_row_text(font, "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", 1).substr(3), "\xC3\xA9") << "whole characters only";

    // Both dialogs say that the folder holds no saves, inside the list.
    set_save_dialog_name_font(font);
    const SDL_Rect list = bare.list_rect();
    SaveDialogState save = open_save_dialog(bare, {}, "", "");
    draw_save_dialog(r(), font, nullptr, nullptr, nullptr, res, save);
    const int save_ink = first_ink_row(list, kPanel);
    canvas.clear(kBlack);
    const LoadDialogState load = open_load_dialog(bare, {}, "");
    draw_load_dialog(r(), font, nullptr, nullptr, nullptr, res, load);
    EXPECT_GE(save_ink, bare.list_y);
    EXPECT_EQ(save_ink, first_ink_row(list, kPanel)) << "the same line as the load list's";
    set_save_dialog_name_font(nullptr);
}

TEST_F(SaveDialogs, SaveNoticeNamesTheFileAndTheReasonAndNeverClaimsAFailedSave) {
    strings().load_from_text(R"({"SAVE_GAME_SUCCESS":"Saved.","GAME_SAVE_FAILED":"Not saved."})", "{}");
    EXPECT_EQ(save_outcome_text({true, "/d/saved_games/a.sav", ""}), "Saved.");
    EXPECT_EQ(save_outcome_text({false, "/d/saved_camps/240501-CAMP-SCEN-2.sav", "Permission denied"}),
              "Not saved.\nsaved_camps/240501-CAMP-SCEN-2.sav: Permission denied");
    // The autosave says it was the autosave (English when the catalogue has no text for it).
    EXPECT_EQ(save_outcome_text({false, "/d/saved_games/autosave.sav", "No space left on device"}, true),
              "The autosave could not be written.\nsaved_games/autosave.sav: No space left on device");
    EXPECT_EQ(save_outcome_text({false, "x.sav", ""}), "Not saved.\nx.sav");
    EXPECT_EQ(save_outcome_text({false, "", "Not a directory"}), "Not saved.\nNot a directory");
    // The file the reason is about, as found beside the archive (not from the program's folder).
    set_save_archive_path("../VELDAR.AGG");
    EXPECT_EQ(save_outcome_text({false, "../saved_games/a.sav", "Is a directory", "../saved_games/a.sav.tmp"}),
              "Not saved.\nsaved_games/a.sav.tmp: Is a directory");
    EXPECT_EQ(write_failed_text("Table.", {false, "../STANDARD.HS", "Read-only file system", "../STANDARD.HS.tmp"}),
              "Table.\nSTANDARD.HS.tmp: Read-only file system");
    EXPECT_EQ(write_failed_text("Table.", {false, "/elsewhere/hs/STANDARD.HS", "Permission denied"}),
              "Table.\nhs/STANDARD.HS: Permission denied");
    set_save_archive_path("");
}

TEST_F(SaveDialogs, NoticeAndPromptTexts) {
    strings().load_from_text(
        R"({"SAVE_GAME_SUCCESS":"Gespeichert.","CAMPAIGN_SAVED_PROMPT":"Saved as {0}. Go on?"})", "{}");
    EXPECT_EQ(saved_alert_text("Game saved successfully."), "Gespeichert.");
    EXPECT_EQ(saved_alert_text("Game saved successfully"), "Game saved successfully");
    EXPECT_EQ(open_saved_alert(font, "one\ntwo").lines, (std::vector<std::string>{"one two"}));
    const MessagePanelState p = open_campaign_save_prompt(font, "x\ny");
    EXPECT_EQ(p.lines, (std::vector<std::string>{"Saved as x\ny. Go on?"}));
    EXPECT_EQ(split_words_on_spaces("  a  b\tc "), (std::vector<std::string>{"a", "b\tc"}));
    EXPECT_EQ(split_words_any_space(" a\tb\nc  "), (std::vector<std::string>{"a", "b", "c"}));

    // Lines stay narrower than 255 pixels; a longer word (a file's name) is cut into pieces that fit.
    const std::string wide(40, 'W');
    const std::vector<std::string> lines = set_words_in_lines(font, {"a", wide, "b", "c"});
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines.front(), "a");
    std::string joined;
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) joined += lines[i];
    EXPECT_EQ(joined + lines.back().substr(0, lines.back().find(' ')), wide);
    EXPECT_EQ(lines.back().substr(lines.back().size() - 4), " b c");
    for (const std::string& l : lines) EXPECT_LT(text::measure(font, l).x, 255) << l;
    // A failed save's file too wide for a line breaks at its folder's "/", its name whole.
    ASSERT_GE(text::measure(font, "saved_games/26-12-07-2325-.sav:").x, 255);
    const SaveOutcome failed{false, "/d/saved_games/26-12-07-2325-.sav", "Permission denied"};
    const std::vector<std::string> notice = open_saved_alert(font, save_outcome_text(failed)).lines;
    const auto folder_end = std::find_if(notice.begin(), notice.end(), [](const std::string& l) {
        return l.size() >= 12 && l.compare(l.size() - 12, 12, "saved_games/") == 0;
    });
    ASSERT_LT(folder_end + 1, notice.end());
    EXPECT_EQ(folder_end[1].rfind("26-12-07-2325-.sav:", 0), 0u) << folder_end[1];
    const std::vector<std::string> filled = set_words_in_lines(font, std::vector<std::string>(30, "word"));
    ASSERT_GT(filled.size(), 2u);
    auto width = [&](const std::string& t) {
        int w = 0;
        TTF_SizeUTF8(font, t.c_str(), &w, nullptr);
        return w;
    };
    for (std::size_t i = 0; i < filled.size(); ++i) {
        EXPECT_LT(width(filled[i]), 255);
        if (i + 1 < filled.size()) {
            EXPECT_GE(width(filled[i] + " word"), 255);  // filled greedily
        }
    }
}

// In the game's fonts the won scenario's file name is wider than a line of the dialog font but not of
// the small one: the question and the failed-save notice take the small font and keep it on one line.
// A name that no font holds is still cut, and a short text keeps the dialog font.
TEST_F(SaveDialogs, AFileNameStaysOnOneLineWhereAFontHoldsIt) {
    strings().load_from_text(R"({"CAMPAIGN_SAVED_PROMPT":"Your campaign has been saved as {0}. Go on?",
                                 "GAME_SAVE_FAILED":"The game could not be saved."})",
                             "{}");
    TTF_Font* main = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans-Bold.ttf", kLargeFontSize);
    TTF_Font* small = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans.ttf", kSmallFontSize);
    ASSERT_TRUE(main && small) << TTF_GetError();
    set_save_dialog_name_font(small);
    const std::string stem = "261208-0422-CAMP-SCEN-1-2";
    ASSERT_GE(text::measure(main, stem + ".").x, 255);

    MessagePanelState prompt = open_campaign_save_prompt(main, stem);
    EXPECT_EQ(prompt.font, small);
    ASSERT_EQ(prompt.lines.size(), 2u);
    EXPECT_EQ(prompt.lines[0], "Your campaign has been saved as");
    EXPECT_EQ(prompt.lines[1], stem + ". Go on?");
    // Drawn in that font: every line inside the text column.
    draw_campaign_prompt(r(), res, main, nullptr, prompt);
    const int bottom = 199 + 2 * TTF_FontLineSkip(small);
    EXPECT_TRUE(any_pixel_not({193, 199, 254, bottom - 199}, kBlack));
    EXPECT_FALSE(any_pixel_not({0, 180, 193, bottom - 180}, kBlack)) << "text left of the column";
    EXPECT_FALSE(any_pixel_not({447, 180, 193, bottom - 180}, kBlack)) << "text right of the column";

    const SaveOutcome failed{false, "/d/saved_camps/" + stem + ".sav", "Permission denied"};
    const MessagePanelState notice = open_saved_alert(main, save_outcome_text(failed));
    EXPECT_EQ(notice.font, small);
    // The path is wider than a line in either font: it breaks after its folder, the name whole.
    const auto file = std::find(notice.lines.begin(), notice.lines.end(), stem + ".sav:");
    ASSERT_TRUE(file != notice.lines.begin() && file != notice.lines.end());
    EXPECT_EQ(file[-1].substr(file[-1].size() - 12), "saved_camps/");
    EXPECT_EQ(open_saved_alert(main, "Game saved successfully.").font, main) << "nothing to keep whole";

    // No font holds this one: it is cut, in the small font, into pieces that each fit a line.
    const std::string huge = stem + "-" + stem + "-" + stem;
    const MessagePanelState cut = open_campaign_save_prompt(small, huge);
    std::string joined;
    for (const std::string& l : cut.lines) {
        EXPECT_LT(text::measure(small, l).x, 255) << l;
        joined += l;
    }
    EXPECT_NE(joined.find(huge), std::string::npos) << joined;
    set_save_dialog_name_font(nullptr);
    TTF_CloseFont(main);
    TTF_CloseFont(small);
}

TEST_F(SaveDialogs, NoticeCentresShortTextsAndGrowsForLongOnes) {
    MessagePanelState one = open_saved_alert(font, "Saved.");
    draw_saved_alert(r(), res, font, nullptr, one);
    const int skip = TTF_FontLineSkip(font);
    const int top = first_ink_row({177, 150, 286, 150}, kBlack);
    EXPECT_GE(top, 209 + (57 - skip) / 2);
    EXPECT_LT(top, 209 + (57 - skip) / 2 + skip);
    // Without button art the OK rectangle is 66 x 25 centred on 320 at 311.
    EXPECT_EQ(one.ok_rect.x, 287);
    EXPECT_EQ(one.ok_rect.y, 311);
    EXPECT_EQ(one.ok_rect.w, 66);

    // Five lines still fit the two-row panel, from 213 down; a sixth grows it by a row (as the
    // three-row prompt stands), and the text always ends above the button.
    EXPECT_EQ(saved_alert_layout(5, 19).rows, 2);
    EXPECT_EQ(saved_alert_layout(5, 19).text_top, 213);
    const SavedAlertLayout six = saved_alert_layout(6, 19);
    EXPECT_EQ(six.rows, 3);
    EXPECT_EQ(six.frame_y, 110);
    EXPECT_EQ(six.button_y, 334);
    EXPECT_LE(six.text_top + 6 * 19, six.button_y);
    EXPECT_GE(six.text_top, six.frame_y + 77);
    EXPECT_EQ(saved_alert_layout(100, 19).rows, 7) << "bounded";

    canvas.clear(kBlack);
    std::string many;
    for (int i = 0; i < 40; ++i) many += "words ";
    MessagePanelState long_text = open_saved_alert(font, many);
    ASSERT_GE(long_text.lines.size(), 6u);
    draw_saved_alert(r(), res, font, nullptr, long_text);
    const int button = long_text.ok_rect.y;
    EXPECT_GT(button, 311);
    EXPECT_FALSE(any_pixel_not({0, button - 1, 640, 480 - button + 1}, kBlack)) << "no text at or below the button";
}

TEST_F(SaveDialogs, NoticeAndPromptLoops) {
    start_watchdog(30000);  // only against a hang: its close would end any of the loops below
    push({key_event(SDLK_a), key_event(SDLK_SPACE)});
    show_saved_alert(r(), res, font, nullptr, "Game saved successfully.");
    EXPECT_EQ(pending_events(), 0);
    // A quit request closes the notice and is left for the loop beneath.
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    push({quit});
    show_saved_alert(r(), res, font, nullptr, "Game saved successfully.");
    EXPECT_EQ(SDL_PeepEvents(&quit, 1, SDL_GETEVENT, SDL_QUIT, SDL_QUIT), 1);

    push({key_event(SDLK_y)});
    EXPECT_TRUE(run_campaign_save_prompt(r(), res, font, nullptr, "s1"));
    push({key_event(SDLK_z), key_event(SDLK_ESCAPE)});
    EXPECT_FALSE(run_campaign_save_prompt(r(), res, font, nullptr, "s1"));

    // A click before the first frame finds no buttons; after it, press and release on accept.
    // (The flush drops the marker a finished poll leaves, which would hold these events back a frame.)
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    push({press(249, 340), release(249, 340)});
    // The clock is read before the events are scheduled, so they cannot seem early.
    Uint32 start = SDL_GetTicks();
    push_later(150, {press(249, 340), release(249, 340)});
    EXPECT_TRUE(run_campaign_save_prompt(r(), res, font, nullptr, "s1"));
    EXPECT_GE(SDL_GetTicks() - start, 100u);
    // Pressing accept and releasing on decline does nothing; the close that follows says no.
    start = SDL_GetTicks();
    push_later(150, {press(249, 340), release(391, 340)});
    push_later(400, {quit_event()});
    EXPECT_FALSE(run_campaign_save_prompt(r(), res, font, nullptr, "s1"));
    EXPECT_GE(SDL_GetTicks() - start, 400u);
}

TEST_F(SaveDialogs, PromptButtonsActOnPressAndReleaseOfTheSameButton) {
    MessagePanelState s = open_campaign_save_prompt(font, "n");
    draw_campaign_prompt(r(), res, font, nullptr, s);
    EXPECT_EQ(s.accept_rect.x, 249 - 33);
    EXPECT_EQ(s.decline_rect.x, 391 - 33);
    EXPECT_EQ(s.decline_rect.y, 334);
    handle_campaign_prompt_event(s, press(400, 340));
    handle_campaign_prompt_event(s, release(250, 340));
    EXPECT_FALSE(s.done);
    handle_campaign_prompt_event(s, release(400, 340));  // the mark went with the last release
    EXPECT_FALSE(s.done);
    handle_campaign_prompt_event(s, press(400, 340));
    handle_campaign_prompt_event(s, release(400, 340));
    EXPECT_TRUE(s.done);
    EXPECT_FALSE(s.answer);
    // The right and bottom edges are outside.
    MessagePanelState e = open_campaign_save_prompt(font, "n");
    draw_campaign_prompt(r(), res, font, nullptr, e);
    handle_campaign_prompt_event(e, press(249 + 33, 340));
    handle_campaign_prompt_event(e, press(249, 334 + 25));
    EXPECT_EQ(e.held, 0);
    handle_campaign_prompt_event(e, press(249 - 33, 334));
    EXPECT_EQ(e.held, EVENT_BUTTON_ACCEPT);
}
