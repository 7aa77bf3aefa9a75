#include <gtest/gtest.h>

#include <set>
#include <string>

#include "assets/dissolve.h"
#include "assets/screens_canvas.h"

using namespace vorn1;
using namespace vorn1::testing_canvas;

namespace {
constexpr Rgba kFrom{200, 0, 0, 255};
constexpr Rgba kTo{0, 0, 200, 255};
}  // namespace

TEST(DissolveMask, GridPhasesAndDeterminism) {
    DissolveMask m;
    m.reset(479, 480, 1, 10, 0);
    EXPECT_EQ(m.cols(), 48);  // the last column is 9 pixels wide
    EXPECT_EQ(m.rows(), 48);
    std::set<float> seen;
    for (int r = 0; r < m.rows(); ++r)
        for (int c = 0; c < m.cols(); ++c) {
            const float ph = m.phase(c, r);
            EXPECT_GE(ph, 0.0f);
            EXPECT_LT(ph, 1.0f);
            seen.insert(ph);
        }
    EXPECT_EQ(seen.size(), 48u * 48u);  // one cell at a time

    DissolveMask same, other;
    same.reset(479, 480, 1, 10, 0);
    other.reset(479, 480, 1, 10, 1);
    int differ = 0;
    for (int r = 0; r < 48; ++r)
        for (int c = 0; c < 48; ++c) {
            EXPECT_EQ(same.phase(c, r), m.phase(c, r));
            differ += other.phase(c, r) != m.phase(c, r);
        }
    EXPECT_GT(differ, 100);

    DissolveMask pairs;
    pairs.reset(100, 100, 2, 20, 0);
    std::set<float> grouped;
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 5; ++c) grouped.insert(pairs.phase(c, r));
    EXPECT_EQ(grouped.size(), 13u);  // 25 cells in pairs
}

TEST(DissolveMask, RevealProgressAndHostileSizes) {
    DissolveMask m;
    m.reset(479, 480, 1, 20, 0);
    auto count = [&](DissolveMode mode, float t) {
        int n = 0;
        for (int r = 0; r < m.rows(); ++r)
            for (int c = 0; c < m.cols(); ++c) n += m.revealed(mode, c, r, t);
        return n;
    };
    EXPECT_EQ(count(DissolveMode::RandomCells, 0.0f), 0);
    EXPECT_EQ(count(DissolveMode::RandomCells, 0.5f), m.cell_count() / 2);
    EXPECT_EQ(count(DissolveMode::RandomCells, 1.0f), m.cell_count());
    EXPECT_EQ(count(DissolveMode::Cut, 0.0f), m.cell_count());
    EXPECT_EQ(count(DissolveMode::Wipe, 0.5f), m.rows() * (m.cols() / 2));

    m.reset(1 << 30, -7, 0, 0, 5);  // clamped, bounded, no hang
    EXPECT_LE(m.cell_count(), 65536);
    EXPECT_EQ(m.height(), 0);
    EXPECT_EQ(m.cell_count(), 0);
    m.reset(8192, 8192, 1, 1, 0);
    EXPECT_LE(m.cell_count(), 65536);
    EXPECT_GT(m.cell_count(), 0);
}

TEST(Dissolve, CaptureDrawsIntoANewTargetAndRestoresTheOld) {
    Canvas c;
    SDL_Texture* tex = dissolve_capture(c.r, 16, 8, [&] {
        SDL_SetRenderDrawColor(c.r, 1, 2, 3, 255);
        SDL_Rect rc{4, 4, 2, 2};
        SDL_RenderFillRect(c.r, &rc);
    });
    ASSERT_NE(tex, nullptr);
    EXPECT_EQ(SDL_GetRenderTarget(c.r), nullptr);
    const Image img = read_texture(c.r, tex);
    EXPECT_EQ(get(img, 4, 4), (Rgba{1, 2, 3, 255}));
    EXPECT_EQ(get(img, 0, 0), (Rgba{0, 0, 0, 255}));
    SDL_DestroyTexture(tex);
    EXPECT_EQ(dissolve_capture(c.r, 0, 8, nullptr), nullptr);
    EXPECT_EQ(dissolve_capture(nullptr, 8, 8, nullptr), nullptr);
}

TEST(Dissolve, EachCellShowsOnePictureAndTheAreaStaysInsideItsRectangle) {
    Canvas c;
    const SDL_Rect rect{10, 5, 45, 30};
    SDL_Texture* from = c.tex(solid(45, 30, kFrom));
    SDL_Texture* to = c.tex(solid(45, 30, kTo));
    DissolveMask m;
    m.reset(45, 30, 1, 10, 0);
    for (float t : {0.0f, 0.3f, 0.7f, 1.0f}) {
        c.clear({0, 0, 0, 255});
        dissolve_draw(c.r, DissolveMode::RandomCells, m, from, to, rect, t);
        for (int row = 0; row < m.rows(); ++row)
            for (int col = 0; col < m.cols(); ++col) {
                const Rgba want = m.revealed(DissolveMode::RandomCells, col, row, t) ? kTo : kFrom;
                const int x = rect.x + col * 10, y = rect.y + row * 10;
                EXPECT_EQ(c.px(x, y), want) << t << " " << col << "," << row;
                EXPECT_EQ(c.px(std::min(x + 9, rect.x + 44), std::min(y + 9, rect.y + 29)), want);
            }
        EXPECT_EQ(c.px(rect.x - 1, rect.y), (Rgba{0, 0, 0, 255}));
        EXPECT_EQ(c.px(rect.x + rect.w, rect.y), (Rgba{0, 0, 0, 255}));
    }
    // Going back in time rebuilds the working picture rather than keeping revealed cells.
    dissolve_draw(c.r, DissolveMode::RandomCells, m, from, to, rect, 0.0f);
    EXPECT_EQ(c.px(rect.x + 20, rect.y + 15), kFrom);
    m.free_textures();
    EXPECT_EQ(m.work, nullptr);
    SDL_DestroyTexture(from);
    SDL_DestroyTexture(to);
}

TEST(Dissolve, RunDrawsBelowThenAreaThenAboveAndEndsOnTheNewPicture) {
    Canvas c;
    const SDL_Rect rect{0, 0, 40, 40};
    SDL_Texture* from = c.tex(solid(40, 40, kFrom));
    SDL_Texture* to = c.tex(solid(40, 40, kTo));
    DissolveMask m;
    m.reset(40, 40, 1, 10, 0);
    std::string order;
    dissolve_run(
        c.r, DissolveMode::RandomCells, m, from, to, rect, 0,
        [&] {
            order += 'b';
            SDL_SetRenderDrawColor(c.r, 0, 255, 0, 255);
            SDL_RenderFillRect(c.r, nullptr);  // the whole scene, under the area
        },
        [&] {
            order += 'a';
            SDL_SetRenderDrawColor(c.r, 255, 255, 255, 255);
            SDL_Rect border{0, 0, 40, 2};
            SDL_RenderFillRect(c.r, &border);
        });
    EXPECT_EQ(order, "ba");
    EXPECT_EQ(c.px(20, 20), kTo);
    EXPECT_EQ(c.px(20, 0), (Rgba{255, 255, 255, 255}));
    EXPECT_EQ(c.px(50, 50), (Rgba{0, 255, 0, 255}));

    // A timed run takes several frames and still ends on the new picture.
    int frames = 0;
    m.free_textures();
    dissolve_run(c.r, DissolveMode::RandomCells, m, from, to, rect, 60, [&] { ++frames; }, nullptr);
    EXPECT_GE(frames, 2);
    EXPECT_EQ(c.px(5, 5), kTo);
    SDL_DestroyTexture(from);
    SDL_DestroyTexture(to);
}
