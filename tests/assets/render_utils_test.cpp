#include <gtest/gtest.h>
#include <map>

#include "assets/render_utils.h"
#include "assets/screens_canvas.h"

using namespace vorn1;
using namespace vorn1::testing_canvas;

TEST(ImgToTex, KeepsByteOrderSizeAndBlendFlag) {
    Canvas c;
    Image img = solid(3, 2, {10, 20, 30, 255});
    put(img, 2, 1, {200, 100, 50, 128});
    SDL_Texture* t = img_to_tex(c.r, img, false);
    ASSERT_NE(t, nullptr);
    int w = 0, h = 0;
    SDL_QueryTexture(t, nullptr, nullptr, &w, &h);
    EXPECT_EQ(w, 3);
    EXPECT_EQ(h, 2);
    SDL_BlendMode mode;
    SDL_GetTextureBlendMode(t, &mode);
    EXPECT_EQ(mode, SDL_BLENDMODE_NONE);
    const Image back = read_texture(c.r, t);
    ASSERT_EQ(back.width, 3);
    EXPECT_EQ(get(back, 0, 0), (Rgba{10, 20, 30, 255}));
    EXPECT_EQ(get(back, 2, 1), (Rgba{200, 100, 50, 128}));  // red stays red: no channel swap
    SDL_DestroyTexture(t);

    SDL_Texture* b = img_to_tex(c.r, img, true);
    SDL_GetTextureBlendMode(b, &mode);
    EXPECT_EQ(mode, SDL_BLENDMODE_BLEND);
    SDL_DestroyTexture(b);
}

TEST(ImgToTex, NullForEmptyOrBrokenInput) {
    Canvas c;
    EXPECT_EQ(img_to_tex(c.r, Image{}, true), nullptr);
    EXPECT_EQ(img_to_tex(c.r, Image(0, 5), true), nullptr);
    EXPECT_EQ(img_to_tex(nullptr, solid(2, 2, {1, 2, 3, 4}), true), nullptr);
    Image lying = solid(2, 2, {1, 2, 3, 4});
    lying.width = 100;  // claims more pixels than it holds
    EXPECT_EQ(img_to_tex(c.r, lying, true), nullptr);
}

TEST(BmpToTexKeyed, NearBlackBecomesTransparentAtTheExactThresholds) {
    Canvas c;
    Image img(6, 1);
    put(img, 0, 0, {30, 10, 10, 255});  // keyed
    put(img, 1, 0, {31, 10, 10, 255});  // red at the limit stays
    put(img, 2, 0, {0, 11, 0, 255});    // green at the limit stays
    put(img, 3, 0, {0, 0, 11, 255});    // blue at the limit stays
    put(img, 4, 0, {0, 0, 0, 255});     // keyed
    put(img, 5, 0, {200, 5, 5, 255});
    const Image original = img;
    SDL_Texture* t = bmp_to_tex_keyed(c.r, img);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(img.pixels, original.pixels);  // the caller's picture is not changed
    SDL_BlendMode mode;
    SDL_GetTextureBlendMode(t, &mode);
    EXPECT_EQ(mode, SDL_BLENDMODE_BLEND);
    const Image back = read_texture(c.r, t);
    EXPECT_EQ(get(back, 0, 0).a, 0);
    EXPECT_EQ(get(back, 1, 0), (Rgba{31, 10, 10, 255}));
    EXPECT_EQ(get(back, 2, 0).a, 255);
    EXPECT_EQ(get(back, 3, 0).a, 255);
    EXPECT_EQ(get(back, 4, 0).a, 0);
    EXPECT_EQ(get(back, 5, 0).a, 255);
    SDL_DestroyTexture(t);
    EXPECT_EQ(bmp_to_tex_keyed(c.r, Image{}), nullptr);
}

TEST(IcnTextures, AtAndSizeAreSafeOutOfRange) {
    Canvas c;
    IcnTextures set;
    set.frames = {c.tex(solid(4, 3, {1, 1, 1, 255})), nullptr};
    set.sizes = {{4, 3}, {0, 0}};
    set.headers.resize(2);
    EXPECT_NE(set.at(0), nullptr);
    EXPECT_EQ(set.at(1), nullptr);
    EXPECT_EQ(set.at(-1), nullptr);
    EXPECT_EQ(set.at(2), nullptr);
    EXPECT_EQ(set.size(0).x, 4);
    EXPECT_EQ(set.size(7).x, 0);
    destroy_textures(set);
    EXPECT_EQ(set.count(), 0);
}

TEST(ApplyIcnOverride, GrowsReplacesAndKeepsOffsets) {
    Canvas c;
    IcnTextures set;
    set.frames = {c.tex(solid(4, 4, {1, 1, 1, 255})), c.tex(solid(4, 4, {2, 2, 2, 255}))};
    set.sizes = {{4, 4}, {4, 4}};
    set.headers.resize(2);
    set.headers[1].x = 17;
    set.headers[1].y = -3;
    std::map<int, Image> repl;
    repl[1] = solid(6, 5, {200, 0, 0, 255});
    repl[4] = solid(2, 2, {0, 200, 0, 255});
    repl[-2] = solid(2, 2, {0, 0, 200, 255});
    apply_icn_override(c.r, repl, set);
    ASSERT_EQ(set.count(), 5);
    EXPECT_EQ(set.headers.size(), 5u);
    EXPECT_EQ(set.size(1).x, 6);
    EXPECT_EQ(set.headers[1].x, 17);
    EXPECT_EQ(set.headers[1].y, -3);
    EXPECT_EQ(set.headers[1].width, 6);
    EXPECT_EQ(get(read_texture(c.r, set.at(1)), 0, 0), (Rgba{200, 0, 0, 255}));
    EXPECT_EQ(set.at(2), nullptr);
    EXPECT_EQ(set.at(3), nullptr);
    EXPECT_NE(set.at(4), nullptr);
    EXPECT_EQ(get(read_texture(c.r, set.at(0)), 0, 0), (Rgba{1, 1, 1, 255}));
    destroy_textures(set);
}
