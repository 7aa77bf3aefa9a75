// The start-up's refusal of a video driver that shows nothing, and the line it says.
#include <gtest/gtest.h>

#include "mainloop/display_check.h"

namespace vorn1::test {
namespace {

TEST(DisplayCheck, RefusesAnUnseenDriverOnlyWhenTheUserDidNotNameIt) {
    // SDL's fallback when no display opens, with SDL_VIDEODRIVER unset or empty.
    EXPECT_TRUE(refuse_video_driver("offscreen", nullptr));
    EXPECT_TRUE(refuse_video_driver("dummy", ""));
    EXPECT_TRUE(refuse_video_driver("evdev", nullptr));
    // Named alone, in a list, in any case: the tests and benchmarks run unseen on purpose.
    EXPECT_FALSE(refuse_video_driver("dummy", "dummy"));
    EXPECT_FALSE(refuse_video_driver("offscreen", "x11,OFFSCREEN"));
    EXPECT_FALSE(refuse_video_driver("offscreen", "offscreen,x11"));
    // Another name, or one that only starts or ends like it, is not a request for it.
    EXPECT_TRUE(refuse_video_driver("offscreen", "x11"));
    EXPECT_TRUE(refuse_video_driver("dummy", "dummy2,xdummy"));
    EXPECT_TRUE(refuse_video_driver("offscreen", "x11,"));
    // A driver on a screen goes on; no driver at all is the failed start's own error.
    EXPECT_FALSE(refuse_video_driver("x11", nullptr));
    EXPECT_FALSE(refuse_video_driver("wayland", "dummy"));
    EXPECT_FALSE(refuse_video_driver(nullptr, nullptr));
    EXPECT_TRUE(driver_shows_nothing(nullptr));
    EXPECT_FALSE(driver_shows_nothing("KMSDRM"));
}

TEST(DisplayCheck, TheLineSaysWhatFailedWhyAndWhatToDoOnOneLine) {
    const std::string unset = no_display_text(nullptr, "");
    EXPECT_NE(unset.find("no display could be opened (DISPLAY is not set)"), std::string::npos) << unset;
    EXPECT_NE(unset.find("set DISPLAY"), std::string::npos) << unset;
    EXPECT_EQ(unset.find("SDL"), std::string::npos) << unset;
    EXPECT_EQ(no_display_text("", nullptr), unset);
    const std::string named = no_display_text(":97", "x\nfailed");
    EXPECT_NE(named.find("(DISPLAY=:97)"), std::string::npos) << named;
    EXPECT_NE(named.find("SDL's last error: x failed"), std::string::npos) << named;
    EXPECT_EQ(named.find('\n'), std::string::npos);
}

}  // namespace
}  // namespace vorn1::test
