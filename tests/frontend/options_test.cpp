// In-game option screens: optional-rules check boxes, the yes/no question and its layout, the
// scenario-information screen, the screen snapshot.
#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "assets/resources.h"
#include "assets/text_render.h"
#include "datakit/kit_maps.h"
#include "fe_fixture.h"
#include "frontend/options_dialogs.h"
#include "frontend/scen_info.h"
#include "lang/language.h"

namespace vorn1 {
namespace {

using fe_test::Rgb;

class OptionsTest : public fe_test::FrontendTest {
protected:
    void SetUp() override {
        FrontendTest::SetUp();
        ::testing::internal::CaptureStderr();  // the cache reports every missing piece
        res = std::make_unique<Resources>(r, fe_test::make_archive({}));
        ::testing::internal::GetCapturedStderr();
    }
    std::unique_ptr<Resources> res;
};

TEST_F(OptionsTest, RuleRowsHaveGapsBetweenTheirBands) {
    EXPECT_EQ(mod_row_at(200, 79), 0);
    EXPECT_EQ(mod_row_at(200, 112), 0);
    EXPECT_EQ(mod_row_at(200, 113), -1);
    EXPECT_EQ(mod_row_at(200, 114), 1);
    EXPECT_EQ(mod_row_at(446, 427), 9);
    EXPECT_EQ(mod_row_at(447, 100), -1);
    EXPECT_EQ(mod_row_at(192, 100), -1);
    EXPECT_EQ(mod_row_at(200, 428), -1);
    EXPECT_EQ(mod_row_box(9).y, 396);
}

TEST_F(OptionsTest, RulesDialogTogglesOnPressAndKeepsChangesOnEscape) {
    bool f[10] = {true, true, false, true, true, true, false, false, false, false};
    Rgb box_on, box_off;
    script({[&] {
        box_on = px(193 + 5, 81 + 5);        // row 1 set: inner green square
        box_off = px(193 + 5, 81 + 70 + 5);  // row 3 clear
        push_down(200, 112);
        push_down(200, 113);
        push_down(447, 100);
        push_down(200, 114);
        push_down(200, 150);
        push_down(300, 400);  // row 10 twice: as it was
        push_down(300, 400);
    },
            [] { push_key(SDLK_ESCAPE); }});
    run_mod_options_dialog(r, *res, nullptr, nullptr, nullptr, &f[0], &f[1], &f[2], &f[3], &f[4], &f[5], &f[6], &f[7],
                           &f[8], &f[9]);
    EXPECT_FALSE(f[0]);
    EXPECT_FALSE(f[1]);
    EXPECT_TRUE(f[2]);
    EXPECT_TRUE(f[3]);
    EXPECT_FALSE(f[9]);
    EXPECT_EQ(box_on, (Rgb{120, 210, 90}));
    EXPECT_EQ(box_off, (Rgb{20, 16, 8}));
}

// The heading in the game's large font ends above the first rule's text; every rule's text stands
// level with its box.
TEST_F(OptionsTest, TheRulesHeadingStandsAboveTheFirstRule) {
    ASSERT_TRUE(TTF_WasInit() || TTF_Init() == 0);
    TTF_Font* title = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans-Bold.ttf", kLargeFontSize);
    TTF_Font* text = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans.ttf", kSmallFontSize);
    ASSERT_TRUE(title && text);
    strings().load_from_text("{}", R"({"CP_MODERN_OPTIONS": "Optional Rules", "CP_AB_SPELLS": "Automatic combat casts spells",
        "CP_STACK_SPLIT": "Split stacks by dragging", "CP_ALT_HYDRA": "Alternative hydra dwelling"})");
    ModOptionsState s;
    bool f[kModRows] = {};
    for (int i = 0; i < kModRows; ++i) s.flags[(size_t)i] = &f[i];
    SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
    SDL_RenderClear(r);
    draw_mod_options(r, *res, title, text, nullptr, s);
    // Gold is the heading's; the first rule's text is grey, from y 79 in the column right of its box.
    auto gold_in = [](int x0, int y0, int w, int h) {
        std::vector<uint8_t> p((size_t)w * h * 4);
        const SDL_Rect rc{x0, y0, w, h};
        SDL_RenderReadPixels(r, &rc, SDL_PIXELFORMAT_RGBA32, p.data(), w * 4);
        int n = 0;
        for (size_t i = 0; i < p.size(); i += 4) n += p[i] == 220 && p[i + 1] == 180 && p[i + 2] == 60;
        return n;
    };
    EXPECT_GT(gold_in(219, 40, 228, 39), 0) << "the heading is drawn";
    EXPECT_EQ(gold_in(219, 79, 228, 16), 0) << "nothing of the heading reaches the first rule";
    // The first row of grey text of each rule, from a band around its box.
    auto text_top = [](int row) {
        const SDL_Rect band{219, mod_row_box(row).y - 10, 228, 30};
        std::vector<uint8_t> p((size_t)band.w * band.h * 4);
        SDL_RenderReadPixels(r, &band, SDL_PIXELFORMAT_RGBA32, p.data(), band.w * 4);
        for (int y = 0; y < band.h; ++y)
            for (int x = 0; x < band.w; ++x) {
                const uint8_t* c = &p[((size_t)y * band.w + x) * 4];
                if (c[0] > 100 && c[0] == c[1] && c[1] == c[2]) return band.y + y - mod_row_box(row).y;
            }
        return -100;
    };
    EXPECT_NEAR(text_top(1), text_top(0), 1) << "the split-stacks rule stands level with its box";
    EXPECT_NEAR(text_top(2), text_top(0), 1);
    TTF_CloseFont(title);
    TTF_CloseFont(text);
}

TEST_F(OptionsTest, ConfirmLayoutFollowsTheTextHeight) {
    const ConfirmLayout two = confirm_layout(15, 3, 1);
    EXPECT_EQ(two.rows, 2);
    EXPECT_EQ(two.top, 132);
    EXPECT_EQ(two.text_top, 210);
    EXPECT_EQ(two.button_y, 311);
    const ConfirmLayout three = confirm_layout(15, 3, 2);
    EXPECT_EQ(three.rows, 3);
    EXPECT_EQ(three.height, 260);
    EXPECT_EQ(three.top, 110);
    EXPECT_EQ(three.text_top, 203);
    EXPECT_EQ(three.button_y, 334);
    const ConfirmLayout empty = confirm_layout(14, 0, 0);
    EXPECT_EQ(empty.button_y, 311);
}

TEST_F(OptionsTest, ConfirmAnswersByKeysAndWholeClicks) {
    struct Case {
        std::function<void()> input;
        bool answer;
    };
    const Case cases[] = {
        {[] { push_key(SDLK_y); }, true},
        {[] { push_key(SDLK_RETURN); }, true},
        {[] { push_key(SDLK_n); }, false},
        {[] { push_key(SDLK_ESCAPE); }, false},
        {[] { push_quit(); }, false},
        {[] { push_click(249, 320); }, true},   // accept's substitute box (216, 311, 66, 25)
        {[] { push_click(391, 320); }, false},
    };
    for (const Case& c : cases) {
        script({c.input});
        EXPECT_EQ(run_buybuild_confirm(r, *res, nullptr, nullptr, "Sure?", nullptr), c.answer);
    }
    // Pressing accept and releasing on decline answers nothing.
    int frames = 0;
    script({[] {
        push_down(249, 320);
        push_up(391, 320);
    },
            [&] {
                ++frames;
                push_key(SDLK_n);
            }});
    EXPECT_FALSE(run_buybuild_confirm(r, *res, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(frames, 1);
}

TEST_F(OptionsTest, ScenarioTextsAndCrests) {
    NewGameConfig c;
    c.map_stem = "AES31000";
    EXPECT_EQ(scen_info_map_name(c), "SCEN_UNKNOWN");
    c.map_name = "Aces";
    EXPECT_EQ(scen_info_map_name(c), "Aces");
    c.description = "English";
    EXPECT_EQ(scen_info_description(c), "English");
    strings().load_from_text(R"({"MAPNAME_AES31000":"Asse","MAPDESC_AES31000":"Text","SCEN_UNKNOWN":"?"})", "{}");
    EXPECT_EQ(scen_info_map_name(c), "Asse");
    EXPECT_EQ(scen_info_description(c), "Text");
    c.map_stem.clear();
    EXPECT_EQ(scen_info_map_name(c), "Aces");
    c.map_name.clear();
    EXPECT_EQ(scen_info_map_name(c), "?");
    // A classic map's own bytes (the configuration and saves keep them) show as letters.
    c.map_name = "D\x81nmoor Vall\x82" "e";
    c.description = "caf\x82";
    EXPECT_EQ(scen_info_map_name(c), "D\xC3\xBCnmoor Vall\xC3\xA9" "e");
    EXPECT_EQ(scen_info_description(c), "caf\xC3\xA9");
    c.map_stem = "KITC1200";
    EXPECT_EQ(scen_info_map_name(c), "D\xC3\xBCnmoor Vall\xC3\xA9" "e");
    EXPECT_EQ(scen_info_description(c), "caf\xC3\xA9");

    EXPECT_EQ(scen_info_crest_frame(0), 14);
    EXPECT_EQ(scen_info_crest_frame(1), 12);
    EXPECT_EQ(scen_info_crest_frame(2), 10);
    EXPECT_EQ(scen_info_crest_frame(3), 16);
    EXPECT_EQ(scen_info_crest_frame(200), 10);
    EXPECT_EQ(opp_diff_str(OpponentDifficulty(4)), "SCEN_OPP_GENIUS");
    EXPECT_EQ(opp_diff_str(OpponentDifficulty(-3)), "SCEN_OPP_GENIUS");
    EXPECT_EQ(opp_diff_str(OPP_DUMB), "SCEN_OPP_DUMB");

    EXPECT_EQ(cut_utf8("abc", 79), "abc");
    const std::string title = std::string(78, 'a') + "\xc3\xa9z";  // a two-byte character across byte 79
    EXPECT_EQ(cut_utf8(title, 79), std::string(78, 'a'));
    EXPECT_EQ(cut_utf8(std::string(100, 'b'), 79).size(), 79u);
}

TEST_F(OptionsTest, StandardInformationClosesOnSpaceCampaignOnlyOnItsKeys) {
    auto archive = fe_test::make_archive({});
    NewGameConfig standard;
    standard.difficulty_rating = -15;
    script({[] { push_key(SDLK_SPACE); }});
    EXPECT_EQ(run_scen_info(r, *archive, palette, res.get(), nullptr, standard, nullptr), 0);

    // A classic title is drawn whole, last word included, right-aligned at x 426.
    ASSERT_EQ(TTF_Init(), 0);
    TTF_Font* font = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans-Bold.ttf", kLargeFontSize);
    ASSERT_NE(font, nullptr);
    standard.map_name = "D\x81nmoor Vall\x82" "e";
    const int whole = text::measure(font, "D\xC3\xBCnmoor Vall\xC3\xA9" "e").x;
    int left = 640, right = -1;
    script({[&] {
        for (int y = 48; y < 48 + TTF_FontHeight(font); ++y)
            for (int x = 160; x < 480; ++x)
                if (px(x, y) != Rgb{0, 0, 0}) left = std::min(left, x), right = std::max(right, x);
        push_key(SDLK_SPACE);
    }});
    EXPECT_EQ(run_scen_info(r, *archive, palette, res.get(), font, standard, nullptr), 0);
    TTF_CloseFont(font);
    TTF_Quit();
    EXPECT_LE(right, 426);
    EXPECT_NEAR(right + 1 - left, whole, 3) << "the name is cut";

    NewGameConfig campaign;
    campaign.mode = MODE_CAMPAIGN;
    campaign.scenario_index = 12;
    Rgb ok_button, restart_button;
    script({[&] {
        ok_button = px(131, 347);
        restart_button = px(353, 347);
        push_key(SDLK_SPACE);  // ignored here
    },
            [] { push_click(400, 355); },  // restart: the question opens
            [] { push_key(SDLK_n); },      // no: back to the screen
            [] { push_key(SDLK_ESCAPE); }});
    EXPECT_EQ(run_scen_info(r, *archive, palette, res.get(), nullptr, campaign, nullptr), 0);
    EXPECT_EQ(ok_button, (Rgb{120, 100, 40}));
    EXPECT_EQ(restart_button, (Rgb{120, 100, 40}));

    script({[] { push_click(400, 355); }, [] { push_key(SDLK_y); }});
    EXPECT_EQ(run_scen_info(r, *archive, palette, res.get(), nullptr, campaign, nullptr), 1);
}

// The description gets its whole text, word by word, inside the panel above the OK button: in its own
// box and font when it fits, else in the grown box, else in the small font, and cut with a mark only
// when even that cannot hold it. The drawn screen follows the layout.
TEST_F(OptionsTest, ScenarioDescriptionShowsEveryWordInsideThePanel) {
    ASSERT_EQ(TTF_Init(), 0);
    TTF_Font* font = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans-Bold.ttf", kLargeFontSize);
    TTF_Font* small = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans-Bold.ttf", kSmallFontSize);
    ASSERT_TRUE(font && small);
    const auto words = [](const std::string& s) {
        std::vector<std::string> out;
        for (std::size_t i = 0, j; i < s.size(); i = j + 1) {
            j = std::min(s.find(' ', i), s.size());
            if (j > i) out.push_back(s.substr(i, j - i));
        }
        return out;
    };
    const auto joined = [&](const DescriptionLayout& l) {
        std::vector<std::string> out;
        for (const std::string& line : l.lines)
            for (std::string& w : words(line)) out.push_back(std::move(w));
        return out;
    };
    const auto inside_panel = [&](const DescriptionLayout& l) {
        for (const std::string& line : l.lines) EXPECT_LE(text::measure(l.font, line).x, l.box.w) << line;
        EXPECT_GE(l.box.x, 179);
        EXPECT_LE(l.box.x + l.box.w, 461);
        EXPECT_GE(l.box.y, 322 + TTF_FontHeight(font));  // under the size line
        const int n = (int)l.lines.size();
        EXPECT_LE(l.box.y + (n - 1) * TTF_FontLineSkip(l.font) + TTF_FontHeight(l.font), 412) << n;  // above OK
    };

    const DescriptionLayout brief = scen_info_description_layout("Two rulers meet in a small valley.", font, small);
    EXPECT_EQ(brief.font, font);
    EXPECT_EQ(brief.box.x, 193);
    EXPECT_EQ(brief.box.y, 352);
    EXPECT_EQ(brief.box.w, 250);
    EXPECT_EQ(joined(brief), words("Two rulers meet in a small valley."));

    // The header's longest description ends in its victory condition.
    const std::string header_long = kit::kLongDescriptionMapDescription;
    const DescriptionLayout whole = scen_info_description_layout(header_long, font, small);
    EXPECT_FALSE(whole.cut);
    EXPECT_EQ(joined(whole), words(header_long));
    inside_panel(whole);
    // A word wider than the box is broken over lines, not cut.
    const std::string wide = std::string(60, 'W') + " end";
    const DescriptionLayout broken = scen_info_description_layout(wide, font, small);
    EXPECT_FALSE(broken.cut);
    std::string rejoined;
    for (const std::string& line : broken.lines) rejoined += line;
    EXPECT_EQ(rejoined, std::string(60, 'W') + "end");
    inside_panel(broken);

    // A catalogue's text far too long: the words that fit, in order, then "...".
    std::string endless;
    for (int i = 0; i < 150; ++i) endless += "word" + std::to_string(i) + " ";
    const DescriptionLayout cut = scen_info_description_layout(endless, font, small);
    ASSERT_TRUE(cut.cut);
    EXPECT_EQ(cut.font, small);
    ASSERT_FALSE(cut.lines.empty());
    EXPECT_EQ(cut.lines.back().substr(cut.lines.back().size() - 3), "...");
    std::vector<std::string> shown = joined(cut);
    shown.back().resize(shown.back().size() - 3);
    const std::vector<std::string> all = words(endless);
    ASSERT_GT(shown.size(), 12u);
    EXPECT_TRUE(std::equal(shown.begin(), shown.end(), all.begin()));
    inside_panel(cut);

    // Drawn as laid out: the lowest ink of the screen lies on the last line's rows.
    auto archive = fe_test::make_archive({});
    NewGameConfig c;
    c.map_name = "Long";
    c.description = header_long;
    const int last_top = whole.box.y + ((int)whole.lines.size() - 1) * TTF_FontLineSkip(whole.font);
    int lowest_ink = -1;
    script({[&] {
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                if (px(x, y) != Rgb{0, 0, 0}) lowest_ink = y;
        push_key(SDLK_SPACE);
    }});
    EXPECT_EQ(run_scen_info(r, *archive, palette, res.get(), font, c, nullptr, small), 0);
    EXPECT_GE(lowest_ink, last_top);
    EXPECT_LE(lowest_ink, last_top + TTF_FontHeight(whole.font));  // a descender may reach a row below
    TTF_CloseFont(small);
    TTF_CloseFont(font);
    TTF_Quit();
}

TEST_F(OptionsTest, SnapshotCopiesTheShownScreen) {
    SDL_SetRenderDrawColor(r, 10, 200, 30, 255);
    SDL_RenderClear(r);
    SDL_RenderPresent(r);
    SDL_Texture* snap = snap_screen(r);
    ASSERT_NE(snap, nullptr);
    const SDL_Point size = tex_size(snap);
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(r, &w, &h);
    EXPECT_EQ(size.x, w);
    EXPECT_EQ(size.y, h);
    SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
    SDL_RenderClear(r);
    const SDL_Rect full{0, 0, 640, 480};
    SDL_RenderCopy(r, snap, nullptr, &full);
    SDL_RenderPresent(r);
    EXPECT_EQ(px(320, 240), (Rgb{10, 200, 30}));
    SDL_DestroyTexture(snap);
}

}  // namespace
}  // namespace vorn1
