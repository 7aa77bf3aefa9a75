// Texts of classic files: UTF-8 kept, everything else read as the DOS Latin code page.
#include <gtest/gtest.h>

#include <string>

#include "assets/text_encoding.h"

namespace vorn1 {
namespace {

TEST(TextEncoding, ClassicTextKeepsUtf8AndReadsAnyOtherTextAsTheDosCodePage) {
    using text::classic_text;
    // Well-formed UTF-8 (ASCII, two-, three- and four-byte letters) stays byte for byte.
    for (const char* kept : {"", "Twin Fords", "D\xC3\xBCnmoor Vall\xC3\xA9" "e", "\xE2\x82\xAC 5", "\xF0\x9F\x98\x80"})
        EXPECT_EQ(classic_text(kept), kept);
    EXPECT_EQ(classic_text("Vall\x82" "e"), "Vall\xC3\xA9" "e");  // 0x82 e-acute
    EXPECT_EQ(classic_text("D\x81nmoor"), "D\xC3\xBCnmoor");     // 0x81 u-umlaut
    // f-hook, C-cedilla, sharp s, no-break space
    EXPECT_EQ(classic_text("\x9F\x80\xE1\xFF"), "\xC6\x92\xC3\x87\xC3\x9F\xC2\xA0");
    // One decision for the whole text: a UTF-8-looking pair beside a code-page letter is two letters too,
    // and a cut or overlong sequence is not UTF-8.
    EXPECT_EQ(classic_text("caf\x82 \xC3\xA9"), "caf\xC3\xA9 \xE2\x94\x9C\xE2\x8C\x90");
    EXPECT_EQ(classic_text("Flu\xE1"), "Flu\xC3\x9F");
    EXPECT_EQ(classic_text("\xC0\xAF"), "\xE2\x94\x94\xC2\xBB");
    // A UTF-8 name cut inside its last letter at a stored byte limit stays UTF-8, the cut letter dropped;
    // a complete but malformed ending is not such a cut.
    EXPECT_EQ(classic_text("\xD0\x98\xD0\xB2\xD0"), "\xD0\x98\xD0\xB2");
    EXPECT_EQ(classic_text("Vall\xC3\xA9" "e \xE2\x82"), "Vall\xC3\xA9" "e ");
    EXPECT_EQ(classic_text("\xC3\xA9\xE0\x80"), "\xE2\x94\x9C\xE2\x8C\x90\xCE\xB1\xC3\x87");
    // Every byte gives UTF-8, and decoding twice changes nothing.
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    const std::string once = classic_text(all);
    EXPECT_TRUE(text::is_utf8(once));
    EXPECT_EQ(once.substr(0, 127), all.substr(0, 127));
    EXPECT_EQ(classic_text(once), once);
}

}  // namespace
}  // namespace vorn1
