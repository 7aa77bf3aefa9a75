#include <gtest/gtest.h>

#include "assets/dialog_utils.h"
#include "assets/resources.h"
#include "assets/screens_canvas.h"

using namespace vorn1;
using namespace vorn1::testing_canvas;

namespace {

// A piece of a given colour whose leftmost column is white, so mirroring shows.
Image piece(int w, int h, Rgba c) {
    Image img = solid(w, h, c);
    for (int y = 0; y < h; ++y) put(img, 0, y, {255, 255, 255, 255});
    return img;
}

void set_frames(Canvas& c, IcnTextures& set, const std::vector<Image>& imgs) {
    for (const Image& img : imgs) {
        set.frames.push_back(img.empty() ? nullptr : c.tex(img));
        set.sizes.push_back(img.empty() ? SDL_Point{0, 0} : SDL_Point{img.width, img.height});
        set.headers.push_back({});
    }
}

constexpr Rgba kBlack{0, 0, 0, 255};
constexpr Rgba kWhite{255, 255, 255, 255};
constexpr Rgba kTop{200, 0, 0, 255};
constexpr Rgba kMid{0, 200, 0, 255};
constexpr Rgba kBot{0, 0, 200, 255};

struct BorderFixture : ::testing::Test {
    Canvas c;
    Resources res{nullptr, nullptr};
    void load(bool top, bool mid, bool bottom) {
        set_frames(c, res.buybuild,
                   {top ? piece(143, 77, kTop) : Image{}, mid ? piece(140, 45, kMid) : Image{},
                    bottom ? piece(141, 48, kBot) : Image{}});
    }
};

}  // namespace

TEST_F(BorderFixture, PiecesLandWhereTheFrameGeometrySays) {
    load(true, true, true);
    const int x = 100, y = 20, rows = 2;
    draw_buybuild_border(c.r, res, x, y, rows);
    // Top: mirrored copy at x (white column at its right edge), plain copy at x + 143.
    EXPECT_EQ(c.px(x, y), kTop);
    EXPECT_EQ(c.px(x + 142, y + 10), kWhite);
    EXPECT_EQ(c.px(x + 143, y + 10), kWhite);
    EXPECT_EQ(c.px(x + 144, y + 10), kTop);
    EXPECT_EQ(c.px(x + 285, y + 76), kTop);
    // Middle rows start 77 below y, 45 apart; the left copy starts at x + 3.
    for (int i = 0; i < rows; ++i) {
        const int ry = y + 77 + 45 * i;
        EXPECT_EQ(c.px(x + 3, ry + 1), kMid) << i;
        EXPECT_EQ(c.px(x + 142, ry + 1), kWhite) << i;
        EXPECT_EQ(c.px(x + 143, ry + 44), kWhite) << i;
        EXPECT_EQ(c.px(x + 282, ry + 44), kMid) << i;
        EXPECT_EQ(c.px(x + 2, ry + 1), kBlack) << i;  // the 3-pixel inset stays empty
    }
    // Bottom at y + 77 + 45 rows, left copy at x + 2; the frame ends 286 wide, 125 + 45 rows high.
    const int by = y + 77 + 45 * rows;
    EXPECT_EQ(c.px(x + 2, by), kBot);
    EXPECT_EQ(c.px(x + 142, by), kWhite);
    EXPECT_EQ(c.px(x + 283, by + 47), kBot);
    EXPECT_EQ(border_height(rows), 125 + 45 * rows);
    EXPECT_EQ(c.px(x + 286, y + 5), kBlack);
    EXPECT_EQ(c.px(x + 100, y + border_height(rows)), kBlack);
}

TEST_F(BorderFixture, MissingPiecesAndNegativePlacement) {
    load(false, true, true);
    draw_buybuild_border(c.r, res, 0, 0, 1);
    EXPECT_EQ(c.px(50, 100), kBlack);  // no top piece: nothing at all
    EXPECT_EQ(c.px(50, 130), kBlack);

    Resources partial{nullptr, nullptr};
    set_frames(c, partial.buybuild, {piece(143, 77, kTop), Image{}, piece(141, 48, kBot)});
    draw_buybuild_border(c.r, partial, 0, -2, 8);
    EXPECT_EQ(c.px(50, 0), kTop);
    EXPECT_EQ(c.px(50, 100), kBlack);  // middle rows skipped
    EXPECT_EQ(c.px(50, -2 + 77 + 45 * 8 + 10), kBot);  // bottom still below eight rows
}

TEST(SystemButton, FramesByIdAndPressedState) {
    EXPECT_EQ(system_button_frame(static_cast<EventButtonId>(2), false), 5);
    EXPECT_EQ(system_button_frame(static_cast<EventButtonId>(2), true), 6);
    EXPECT_EQ(system_button_frame(static_cast<EventButtonId>(3), false), 7);
    EXPECT_EQ(system_button_frame(static_cast<EventButtonId>(3), true), 8);
    EXPECT_EQ(system_button_frame(static_cast<EventButtonId>(1), false), 9);
    EXPECT_EQ(system_button_frame(static_cast<EventButtonId>(1), true), 10);
    EXPECT_EQ(system_button_frame(static_cast<EventButtonId>(77), true), 10);  // any other id is OK
}

TEST(SystemButton, DrawsCentredAtOwnSizeOrReportsTheDefaultRectangle) {
    Canvas c;
    Resources res{nullptr, nullptr};
    std::vector<Image> frames(11);
    frames[5] = solid(60, 20, {10, 200, 10, 255});
    frames[6] = solid(61, 21, {200, 10, 10, 255});
    set_frames(c, res.system_btn, frames);

    SDL_Rect r = draw_system_button(c.r, res, static_cast<EventButtonId>(2), 320, 400, false, nullptr);
    EXPECT_EQ(r.x, 290);
    EXPECT_EQ(r.y, 400);
    EXPECT_EQ(r.w, 60);
    EXPECT_EQ(r.h, 20);
    EXPECT_EQ(c.px(290, 400), (Rgba{10, 200, 10, 255}));
    EXPECT_EQ(c.px(289, 400), kBlack);

    r = draw_system_button(c.r, res, static_cast<EventButtonId>(2), 100, 10, true, nullptr);
    EXPECT_EQ(r.w, 61);
    EXPECT_EQ(c.px(100, 10), (Rgba{200, 10, 10, 255}));

    c.clear(kBlack);
    r = draw_system_button(c.r, res, static_cast<EventButtonId>(3), 200, 50, false, nullptr);  // frame 7 missing
    EXPECT_EQ(r.x, 167);
    EXPECT_EQ(r.y, 50);
    EXPECT_EQ(r.w, 66);
    EXPECT_EQ(r.h, 25);
    EXPECT_EQ(c.px(200, 60), kBlack);
    r = draw_system_button(c.r, res, static_cast<EventButtonId>(1), 200, 50, true, nullptr);  // beyond the set
    EXPECT_EQ(r.w, 66);
}

TEST(YesNoKey, EveryQuestionAndNoticeTakesTheSameKeys) {
    const auto key = [](SDL_Keycode k, Uint32 type = SDL_KEYDOWN) {
        SDL_Event e{};
        e.type = type;
        e.key.keysym.sym = k;
        return e;
    };
    const auto answer = [&](SDL_Keycode k, Uint32 type = SDL_KEYDOWN) { return vorn1::yes_no_key(key(k, type)); };
    for (SDL_Keycode k : {SDLK_y, SDLK_RETURN, SDLK_KP_ENTER}) EXPECT_EQ(answer(k), 1) << k;
    for (SDL_Keycode k : {SDLK_n, SDLK_ESCAPE}) EXPECT_EQ(answer(k), 0) << k;
    EXPECT_EQ(answer(SDLK_SPACE), -1);
    EXPECT_EQ(answer(SDLK_y, SDL_KEYUP), -1) << "the press answers, not the release";
    // A notice closes on Return, keypad Enter and Escape; a letter that answers a question does not close it.
    for (SDL_Keycode k : {SDLK_RETURN, SDLK_KP_ENTER, SDLK_ESCAPE}) EXPECT_TRUE(vorn1::notice_key(key(k))) << k;
    for (SDL_Keycode k : {SDLK_y, SDLK_n, SDLK_SPACE}) EXPECT_FALSE(vorn1::notice_key(key(k))) << k;
    EXPECT_FALSE(vorn1::notice_key(key(SDLK_RETURN, SDL_KEYUP)));
    // F11 is the window's on every screen: a press runs the registered window-scale callable once, its
    // repeats while held are taken without a step, and no screen gets them; the release and other keys
    // are the screen's.
    int steps = 0;
    const FullscreenCallback scale = [&steps] { ++steps; };
    SDL_Event held = key(SDLK_F11);
    held.key.repeat = 1;
    EXPECT_TRUE(ng_try_fullscreen_key(key(SDLK_F11))) << "taken with no callable registered too";
    g_ng_fullscreen_cb = &scale;
    for (const SDL_Event& e : {key(SDLK_F11), held, held}) EXPECT_TRUE(ng_try_fullscreen_key(e));
    for (const SDL_Event& e : {key(SDLK_F11, SDL_KEYUP), key(SDLK_RETURN)}) EXPECT_FALSE(ng_try_fullscreen_key(e));
    g_ng_fullscreen_cb = nullptr;
    EXPECT_EQ(steps, 1);
}
