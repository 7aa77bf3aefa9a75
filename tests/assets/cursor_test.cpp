#include <gtest/gtest.h>

#include "assets/cursor.h"

using namespace vorn1;

namespace {

CursorFrame frame2x1() {
    CursorFrame f;
    f.w = 2;
    f.h = 1;
    f.pixels = {1, 2, 3, 255, 9, 8, 7, 128};
    return f;
}

// Records what SDL would be asked for; cursors are fake handles that are never dereferenced.
struct FakeCursors {
    std::vector<SDL_Point> made;  // surface sizes
    std::vector<uint32_t> formats;
    std::vector<uintptr_t> freed;
    std::vector<uintptr_t> shown;
    uintptr_t next = 0x1000;
    void attach(CursorManager& m) {
        m.backend.create = [this](SDL_Surface* s) {
            made.push_back({s->w, s->h});
            formats.push_back(s->format->format);
            return reinterpret_cast<SDL_Cursor*>(next += 16);
        };
        m.backend.destroy = [this](SDL_Cursor* c) { freed.push_back(reinterpret_cast<uintptr_t>(c)); };
        m.backend.show = [this](SDL_Cursor* c) { shown.push_back(reinterpret_cast<uintptr_t>(c)); };
    }
};

}  // namespace

TEST(CursorScale, NearestNeighbourByIntegerDivision) {
    const CursorFrame s = scale_cursor_frame(frame2x1(), 3);
    ASSERT_EQ(s.w, 6);
    ASSERT_EQ(s.h, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x) {
            const uint8_t* p = s.pixels.data() + (y * 6 + x) * 4;
            EXPECT_EQ(p[0], x < 3 ? 1 : 9) << x << "," << y;
            EXPECT_EQ(p[3], x < 3 ? 255 : 128);
        }
    EXPECT_EQ(scale_cursor_frame(frame2x1(), 1).pixels, frame2x1().pixels);
}

TEST(CursorScale, RejectsEmptyShortOrOversizedFrames) {
    EXPECT_TRUE(scale_cursor_frame(frame2x1(), 0).pixels.empty());
    EXPECT_TRUE(scale_cursor_frame(CursorFrame{}, 2).pixels.empty());
    CursorFrame shortf = frame2x1();
    shortf.pixels.resize(5);
    EXPECT_TRUE(scale_cursor_frame(shortf, 2).pixels.empty());
    CursorFrame huge = frame2x1();
    huge.w = 4096;
    huge.h = 1;
    huge.pixels.assign(4096 * 4, 1);
    EXPECT_TRUE(scale_cursor_frame(huge, 1 << 20).pixels.empty());  // bounded, no allocation
}

TEST(CursorManager, RebuildMakesOneCursorPerUsableFrameAtTheFactor) {
    FakeCursors fake;
    CursorManager m;
    fake.attach(m);
    m.frames.push_back(frame2x1());
    m.frames.push_back(CursorFrame{});  // no pixels: its slot stays empty
    m.frames.push_back(frame2x1());
    m.rebuild(2);
    EXPECT_EQ(m.built_factor, 2);
    EXPECT_TRUE(m.ready);
    ASSERT_EQ(fake.made.size(), 2u);
    EXPECT_EQ(fake.made[0].x, 4);
    EXPECT_EQ(fake.made[0].y, 2);
    EXPECT_EQ(fake.formats[0], static_cast<uint32_t>(SDL_PIXELFORMAT_RGBA32));
    EXPECT_NE(m.cursors[0], nullptr);
    EXPECT_EQ(m.cursors[1], nullptr);
    EXPECT_NE(m.cursors[2], nullptr);
    ASSERT_EQ(fake.shown.size(), 1u);  // current index 0 shown again
    EXPECT_EQ(fake.shown[0], reinterpret_cast<uintptr_t>(m.cursors[0]));

    m.rebuild(2);  // same factor: nothing freed or made
    EXPECT_EQ(fake.made.size(), 2u);
    EXPECT_TRUE(fake.freed.empty());

    m.set_current(2);
    EXPECT_EQ(fake.shown.back(), reinterpret_cast<uintptr_t>(m.cursors[2]));
    m.set_current(1);  // empty slot: remembered, nothing shown
    m.set_current(42);
    EXPECT_EQ(m.current, 42);
    EXPECT_EQ(fake.shown.size(), 2u);

    const uintptr_t old0 = reinterpret_cast<uintptr_t>(m.cursors[0]);
    m.rebuild(3);  // the old cursors are freed before the new ones are made
    EXPECT_EQ(m.built_factor, 3);
    ASSERT_EQ(fake.freed.size(), 2u);
    EXPECT_EQ(fake.freed[0], old0);
    EXPECT_EQ(fake.made.back().x, 6);
    EXPECT_EQ(fake.shown.size(), 2u);  // index 42 is not a slot

    m.free_cursors();
    EXPECT_FALSE(m.ready);
    EXPECT_EQ(fake.freed.size(), 4u);
    for (SDL_Cursor* c : m.cursors) EXPECT_EQ(c, nullptr);
}

TEST(CursorManager, MoreThanTenFramesUseOnlyTheFirstTenAndFailuresLeaveSlotsEmpty) {
    FakeCursors fake;
    CursorManager m;
    fake.attach(m);
    for (int i = 0; i < 14; ++i) m.frames.push_back(frame2x1());
    m.rebuild(1);
    EXPECT_EQ(fake.made.size(), static_cast<size_t>(CursorManager::kMaxCursors));

    CursorManager failing;
    failing.backend.create = [](SDL_Surface*) { return static_cast<SDL_Cursor*>(nullptr); };
    failing.frames.push_back(frame2x1());
    failing.rebuild(2);
    EXPECT_FALSE(failing.ready);
    EXPECT_EQ(failing.built_factor, 2);  // the window still scales
}
