#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_ttf.h>

#include <string>
#include <vector>

#include "assets/text_render.h"
#include "lang/lang_selector.h"

namespace vorn1 {
namespace {

constexpr SDL_Color kWhite{255, 255, 255, 255};

// A software renderer on a black 320x240 surface, with a font from the system's DejaVu folder.
class TextDraw : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(TTF_Init(), 0) << TTF_GetError();
        font_ = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans.ttf", 14);
        ASSERT_NE(font_, nullptr) << TTF_GetError();
        surface_ = SDL_CreateRGBSurfaceWithFormat(0, 320, 240, 32, SDL_PIXELFORMAT_ARGB8888);
        ASSERT_NE(surface_, nullptr);
        renderer_ = SDL_CreateSoftwareRenderer(surface_);
        ASSERT_NE(renderer_, nullptr) << SDL_GetError();
        clear();
    }
    void TearDown() override {
        if (renderer_) SDL_DestroyRenderer(renderer_);
        if (surface_) SDL_FreeSurface(surface_);
        if (font_) TTF_CloseFont(font_);
        TTF_Quit();
    }
    void clear() {
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        SDL_RenderClear(renderer_);
    }
    Uint32 pixel(int x, int y) const {
        return static_cast<const Uint32*>(surface_->pixels)[y * (surface_->pitch / 4) + x] & 0xFFFFFF;
    }
    std::vector<Uint32> snapshot() const {
        std::vector<Uint32> out;
        for (int y = 0; y < surface_->h; ++y)
            for (int x = 0; x < surface_->w; ++x) out.push_back(pixel(x, y));
        return out;
    }
    // Bounding box of every non-black pixel; w = 0 when there is none.
    SDL_Rect ink() const {
        int x0 = surface_->w, y0 = surface_->h, x1 = -1, y1 = -1;
        for (int y = 0; y < surface_->h; ++y)
            for (int x = 0; x < surface_->w; ++x)
                if (pixel(x, y) != 0) {
                    x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
                }
        if (x1 < 0) return SDL_Rect{0, 0, 0, 0};
        return SDL_Rect{x0, y0, x1 - x0 + 1, y1 - y0 + 1};
    }
    // Rows holding ink, grouped into bands separated by empty rows.
    int ink_bands() const {
        int bands = 0;
        bool in_band = false;
        for (int y = 0; y < surface_->h; ++y) {
            bool any = false;
            for (int x = 0; x < surface_->w && !any; ++x) any = pixel(x, y) != 0;
            if (any && !in_band) ++bands;
            in_band = any;
        }
        return bands;
    }
    // What text::at draws at (x, y), to compare the aligned forms with.
    std::vector<Uint32> reference_at(const std::string& s, int x, int y) {
        clear();
        text::at(renderer_, font_, s, x, y, kWhite);
        auto out = snapshot();
        clear();
        return out;
    }

    TTF_Font* font_ = nullptr;
    SDL_Surface* surface_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
};

TEST_F(TextDraw, AtDrawsInsideTheMeasuredBox) {
    const std::string s = "Gold 123";
    SDL_Point size = text::measure(font_, s);
    ASSERT_GT(size.x, 0);
    ASSERT_GT(size.y, 0);
    text::at(renderer_, font_, s, 40, 30, kWhite);
    SDL_Rect box = ink();
    ASSERT_GT(box.w, 0);
    EXPECT_GE(box.x, 40);
    EXPECT_GE(box.y, 30);
    EXPECT_LE(box.x + box.w, 40 + size.x);
    EXPECT_LE(box.y + box.h, 30 + size.y);
    EXPECT_GT(box.w, size.x / 2);  // the whole text, not one glyph
}

TEST_F(TextDraw, NothingForNullOrEmpty) {
    const auto blank = snapshot();
    text::at(renderer_, nullptr, "x", 10, 10, kWhite);
    text::at(renderer_, font_, "", 10, 10, kWhite);
    text::at(nullptr, font_, "x", 10, 10, kWhite);
    text::centered_xy(renderer_, nullptr, "x", 0, 0, 100, 100, kWhite);
    text::right_box(renderer_, font_, "", 0, 0, 100, 100, kWhite);
    text::wrapped_at(renderer_, nullptr, "a b c", 0, 0, 100, kWhite);
    text::wrapped_box(renderer_, font_, "", 0, 0, 100, kWhite);
    text::draw_lines_box(renderer_, font_, {}, 0, 0, 100, kWhite);
    text::draw_lines_box(renderer_, nullptr, {"a"}, 0, 0, 100, kWhite);
    EXPECT_EQ(snapshot(), blank);
    EXPECT_TRUE(text::wrap_pixels(nullptr, "a b", 100).empty());
    EXPECT_TRUE(text::wrap_pixels(font_, "", 100).empty());
}

TEST_F(TextDraw, AlignedFormsPlaceTheLineAsStated) {
    const std::string s = "Recruit";
    const SDL_Point sz = text::measure(font_, s);
    struct Case {
        const char* name;
        std::function<void()> draw;
        int x, y;
    };
    const Case cases[] = {
        {"centered_cx", [&] { text::centered_cx(renderer_, font_, s, 150, 20, kWhite); }, 150 - sz.x / 2, 20},
        {"centered_box", [&] { text::centered_box(renderer_, font_, s, 100, 20, 121, kWhite); },
         100 + (121 - sz.x) / 2, 20},
        {"centered_xy", [&] { text::centered_xy(renderer_, font_, s, 100, 20, 121, 61, kWhite); },
         100 + (121 - sz.x) / 2, 20 + (61 - sz.y) / 2},
        {"right_in", [&] { text::right_in(renderer_, font_, s, 100, 20, 150, kWhite, 7); }, 100 + 150 - sz.x - 7, 20},
        {"right_at", [&] { text::right_at(renderer_, font_, s, 250, 20, kWhite, 5); }, 250 - 5 - sz.x, 20},
        {"right_box", [&] { text::right_box(renderer_, font_, s, 100, 20, 150, 60, kWhite); }, 250 - sz.x,
         20 + (60 - sz.y) / 2},
    };
    for (const Case& c : cases) {
        const auto expected = reference_at(s, c.x, c.y);
        c.draw();
        EXPECT_EQ(snapshot(), expected) << c.name;
        clear();
    }
    // The right-aligned forms end at the stated edge.
    text::right_at(renderer_, font_, s, 250, 20, kWhite, 5);
    SDL_Rect box = ink();
    EXPECT_LE(box.x + box.w, 245);
    EXPECT_GE(box.x + box.w, 245 - 3);
}

TEST_F(TextDraw, WrapKeepsLinesWithinWidthAndWordsInOrder) {
    const std::string s = "The hero finds a chest full of gold and a strange old map of the northern woods";
    for (int width : {60, 100, 180, 400}) {
        auto lines = text::wrap_pixels(font_, s, width);
        ASSERT_FALSE(lines.empty());
        std::string joined;
        for (const auto& line : lines) {
            if (line.find(' ') != std::string::npos) {  // a lone word may be wider than the width
                EXPECT_LE(text::measure(font_, line).x, width) << line;
            }
            EXPECT_FALSE(line.empty());
            EXPECT_NE(line.front(), ' ');
            EXPECT_NE(line.back(), ' ');
            joined += (joined.empty() ? "" : " ") + line;
        }
        EXPECT_EQ(joined, s);
        // Greedy: the first word of each next line would not have fitted.
        for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
            std::string next_word = lines[i + 1].substr(0, lines[i + 1].find(' '));
            EXPECT_GT(text::measure(font_, lines[i] + " " + next_word).x, width);
        }
    }
    EXPECT_EQ(text::wrap_pixels(font_, s, 10000).size(), 1u);
}

TEST_F(TextDraw, WrapGivesOverWideWordsTheirOwnLine) {
    auto lines = text::wrap_pixels(font_, "a Supercalifragilisticexpialidocious b", 40);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "a");
    EXPECT_EQ(lines[1], "Supercalifragilisticexpialidocious");
    EXPECT_EQ(lines[2], "b");
    EXPECT_EQ(text::wrap_pixels(font_, "one two", 0), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(text::wrap_pixels(font_, "one two", -5), (std::vector<std::string>{"one", "two"}));
    EXPECT_TRUE(text::wrap_pixels(font_, "     ", 50).empty());
    EXPECT_EQ(text::wrap_pixels(font_, "  x   y  ", 500), (std::vector<std::string>{"x y"}));
    EXPECT_EQ(text::wrap_pixels(font_, "one\n\ntwo", 500), (std::vector<std::string>{"one", "", "two"}));

    // Such a word split between whole characters: every piece fits, nothing is lost, a letter of two
    // bytes stays whole, and a width narrower than any letter still gives one letter a piece.
    const std::string word = "Supercalifragilistic\xC3\xA9" "expialidocious";
    const auto pieces = text::split_word(font_, word, 40);
    EXPECT_GT(pieces.size(), 2u);
    std::string joined;
    for (const std::string& p : pieces) {
        EXPECT_LE(text::measure(font_, p).x, 40) << p;
        EXPECT_NE(static_cast<unsigned char>(p[0]) & 0xC0, 0x80) << "a letter cut in two";
        joined += p;
    }
    EXPECT_EQ(joined, word);
    EXPECT_EQ(text::split_word(font_, "abc", 1), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(text::split_word(font_, "short", 500), (std::vector<std::string>{"short"}));
    // A path breaks after its folder's "/" first, so the file's name stays whole.
    const std::string path = "saved_games/26-12-07-2325-.sav";
    EXPECT_EQ(text::split_word(font_, path, text::measure(font_, "saved_games/26-12-07-2325-").x),
              (std::vector<std::string>{"saved_games/", "26-12-07-2325-.sav"}));
    EXPECT_EQ(text::split_word(font_, "/" + path, text::measure(font_, "/saved_games/26").x).front(), "/saved_games/");

    // Both in one: lines at spaces and line feeds, an over-wide word in its pieces between them.
    const int w = text::measure(font_, "saved_games/").x;
    const auto within = text::wrap_within(font_, "no room\nin " + path, w);
    ASSERT_GT(within.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(within.begin(), within.begin() + 3),
              (std::vector<std::string>{"no room", "in", "saved_games/"}));
    std::string name;
    for (const std::string& l : within) EXPECT_LE(text::measure(font_, l).x, w) << l;
    for (size_t i = 3; i < within.size(); ++i) name += within[i];
    EXPECT_EQ(name, "26-12-07-2325-.sav");
}

TEST_F(TextDraw, TextCutToABoxEndsOnAWordOrCharacterInsideIt) {
    const std::string name = "Four Winds of the North";
    const int four_winds = text::measure(font_, "Four Winds").x;
    EXPECT_EQ(text::fit_width(font_, name, 1000), name);
    EXPECT_EQ(text::fit_width(font_, name, four_winds), "Four Winds");
    EXPECT_EQ(text::fit_width(font_, name, four_winds - 1), "Four");
    // No whole word fits: whole characters, never half of a two-byte one.
    const std::string word = "\xC3\x89\xC3\x89\xC3\x89\xC3\x89";  // four E-acute
    const int two = text::measure(font_, "\xC3\x89\xC3\x89").x;
    EXPECT_EQ(text::fit_width(font_, word, two + 1), "\xC3\x89\xC3\x89");
    EXPECT_EQ(text::fit_width(font_, "Four", 1), "");
    EXPECT_EQ(text::fit_width(nullptr, name, 100), "");

    // A description in a box: lines inside its width, no more than its height holds.
    const std::string desc = "A long tale Supercalifragilisticexpialidocious of the northern woods and the sea beyond";
    const int skip = TTF_FontLineSkip(font_);
    const std::vector<std::string> lines = text::wrap_in_box(font_, desc, 80, skip * 3 + skip / 2);
    ASSERT_EQ(lines.size(), 3u);
    for (const std::string& line : lines) EXPECT_LE(text::measure(font_, line).x, 80) << line;
    EXPECT_EQ(lines[0], "A long tale");
    EXPECT_EQ(lines[1].rfind("Supercal", 0), 0u) << lines[1];
    // More was left out: the last line kept says so, inside the width.
    EXPECT_EQ(lines[2].substr(lines[2].size() - 3), "...");
    EXPECT_TRUE(text::wrap_in_box(font_, desc, 80, skip - 1).empty());
    std::vector<std::string> whole = {"one", "two"};
    text::keep_lines(font_, whole, 2, 80);
    EXPECT_EQ(whole, (std::vector<std::string>{"one", "two"}));
    std::vector<std::string> cut = {"of the northern", "woods"};
    text::keep_lines(font_, cut, 1, text::measure(font_, "of the...").x);
    EXPECT_EQ(cut, (std::vector<std::string>{"of the..."}));
}

TEST_F(TextDraw, WrappedFormsDrawOneBandPerLine) {
    const std::string s = "alpha beta gamma delta epsilon zeta";
    const auto lines = text::wrap_pixels(font_, s, 90);
    ASSERT_GE(lines.size(), 3u);
    const int skip = TTF_FontLineSkip(font_);

    text::wrapped_at(renderer_, font_, s, 10, 5, 90, kWhite);
    EXPECT_EQ(ink_bands(), static_cast<int>(lines.size()));
    SDL_Rect box = ink();
    EXPECT_GE(box.x, 10);
    EXPECT_LE(box.x + box.w, 10 + 90);
    EXPECT_LE(box.y + box.h, 5 + skip * static_cast<int>(lines.size()));
    // The second line starts one line skip below the first.
    std::vector<Uint32> expected;
    {
        clear();
        for (std::size_t i = 0; i < lines.size(); ++i)
            text::at(renderer_, font_, lines[i], 10, 5 + skip * static_cast<int>(i), kWhite);
        expected = snapshot();
        clear();
    }
    text::wrapped_at(renderer_, font_, s, 10, 5, 90, kWhite);
    EXPECT_EQ(snapshot(), expected);

    // Centred forms agree with draw_lines_box over the same lines.
    clear();
    text::draw_lines_box(renderer_, font_, lines, 100, 5, 90, kWhite);
    expected = snapshot();
    clear();
    text::wrapped_box(renderer_, font_, s, 100, 5, 90, kWhite);
    EXPECT_EQ(snapshot(), expected);
    clear();
    for (std::size_t i = 0; i < lines.size(); ++i)
        text::centered_cx(renderer_, font_, lines[i], 145, 5 + skip * static_cast<int>(i), kWhite);
    expected = snapshot();
    clear();
    text::wrapped_centered_cx(renderer_, font_, s, 145, 5, 90, kWhite);
    EXPECT_EQ(snapshot(), expected);
}

// The main font while the column fits its width and its last line ends at the bottom limit; the small
// one once a line is wider or the column runs past the limit; the main one when there is no small font.
TEST_F(TextDraw, ColumnFontFallsBackToTheSmallOneWhenTheMainDoesNotFit) {
    TTF_Font* small = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans.ttf", 10);
    ASSERT_NE(small, nullptr) << TTF_GetError();
    const std::vector<std::string> lines = {"Attack: 5", "Hit Points: 10 of 10 (70)", "Luck: Normal"};
    const int widest = text::measure(font_, lines[1]).x;
    const int last_bottom = 20 + 2 * (TTF_FontLineSkip(font_) + 2) + TTF_FontHeight(font_);
    EXPECT_EQ(text::column_font(lines, widest, 20, last_bottom, 2, font_, small), font_) << "fits exactly";
    EXPECT_EQ(text::column_font({}, 0, 20, 0, 2, font_, small), font_) << "nothing to fit";
    EXPECT_EQ(text::column_font(lines, widest - 1, 20, last_bottom, 2, font_, small), small) << "a line too wide";
    EXPECT_EQ(text::column_font(lines, widest, 20, last_bottom - 1, 2, font_, small), small) << "last line too low";
    EXPECT_EQ(text::column_font(lines, widest, 20, last_bottom, 3, font_, small), small) << "the gap counts";
    EXPECT_EQ(text::column_font(lines, 10, 20, 0, 2, font_, nullptr), font_) << "no small font";
    EXPECT_EQ(text::column_font(lines, widest, 20, last_bottom, 2, nullptr, small), small) << "no main font";
    TTF_CloseFont(small);
}

// A word stays whole when it fits, or when it is a path whose folders and file name each fit; the
// small font is taken only when the main one would cut a word between characters.
TEST_F(TextDraw, WordsStayWholeInTheFontThatHoldsThem) {
    const std::string name = "261208-0422-CAMP-SCEN-1-2.sav";
    const std::string path = "saved_camps/" + name;
    const int name_w = text::measure(font_, name).x;
    EXPECT_TRUE(text::word_stays_whole(font_, path, text::measure(font_, path).x));
    EXPECT_TRUE(text::word_stays_whole(font_, path, name_w)) << "breaks after the folder only";
    EXPECT_FALSE(text::word_stays_whole(font_, path, name_w - 1));
    EXPECT_FALSE(text::word_stays_whole(font_, name, name_w - 1));
    EXPECT_TRUE(text::word_stays_whole(nullptr, name, 1));

    TTF_Font* small = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans.ttf", 10);
    ASSERT_NE(small, nullptr) << TTF_GetError();
    ASSERT_LT(text::measure(small, name).x, name_w - 1);
    const std::vector<std::string> words{"Saved", "as", name};
    EXPECT_EQ(text::font_keeping_words(words, name_w, font_, small), font_);
    EXPECT_EQ(text::font_keeping_words(words, name_w - 1, font_, small), small);
    EXPECT_EQ(text::font_keeping_words(words, 5, font_, small), small) << "cut in both: the smaller cuts less";
    EXPECT_EQ(text::font_keeping_words(words, name_w - 1, font_, nullptr), font_) << "no small font";
    EXPECT_EQ(text::font_keeping_words(words, name_w - 1, nullptr, small), small) << "no main font";
    TTF_CloseFont(small);
}

TEST_F(TextDraw, LanguageSelectorBox) {
    SDL_SetRenderDrawColor(renderer_, 1, 2, 3, 4);
    draw_language_selector(renderer_, font_, DE);
    const Uint32 border = (200u << 16) | (170u << 8) | 50u;
    EXPECT_EQ(pixel(8, 8), border);
    EXPECT_EQ(pixel(51, 8), border);
    EXPECT_EQ(pixel(8, 29), border);
    EXPECT_EQ(pixel(51, 29), border);
    EXPECT_EQ(pixel(30, 8), border);
    EXPECT_EQ(pixel(7, 8), 0u);
    EXPECT_EQ(pixel(52, 20), 0u);
    EXPECT_EQ(pixel(30, 30), 0u);
    // Fill: (20, 20, 20) at alpha 200 over black.
    const Uint32 fill = pixel(10, 10);
    for (int shift : {0, 8, 16}) {
        int c = static_cast<int>((fill >> shift) & 0xFF);
        EXPECT_NEAR(c, 20 * 200 / 255, 1);
    }
    // The code is drawn in the box: bright pixels inside, none outside.
    int bright = 0;
    for (int y = 9; y < 29; ++y)
        for (int x = 9; x < 51; ++x)
            if (((pixel(x, y) >> 8) & 0xFF) > 100 && pixel(x, y) != border) ++bright;
    EXPECT_GT(bright, 10);
    Uint8 r, g, b, a;
    SDL_GetRenderDrawColor(renderer_, &r, &g, &b, &a);
    EXPECT_EQ((std::vector<int>{r, g, b, a}), (std::vector<int>{1, 2, 3, 4}));

    // Without a font the box alone is drawn.
    clear();
    draw_language_selector(renderer_, nullptr, DE);
    EXPECT_EQ(pixel(8, 8), border);
    EXPECT_EQ(pixel(30, 18), pixel(10, 10));
}

}  // namespace
}  // namespace vorn1
