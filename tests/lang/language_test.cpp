#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "lang/lang_selector.h"
#include "lang/language.h"

namespace vorn1 {
namespace {

namespace fs = std::filesystem;

struct TempDir {
    fs::path path;
    explicit TempDir(const std::string& name)
        : path(fs::temp_directory_path() / ("vorn1_lang_" + name + "_" + std::to_string(::getpid()))) {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~TempDir() { fs::remove_all(path); }
    void touch(const fs::path& rel) const {
        fs::create_directories((path / rel).parent_path());
        std::ofstream(path / rel) << "x";
    }
    std::string str(const std::string& rel) const { return (path / rel).string(); }
};

TEST(Language, CodesAndLookup) {
    EXPECT_STREQ(lang_code(EN), "EN");
    EXPECT_STREQ(lang_code(DK), "DK");
    EXPECT_STREQ(lang_code(BR), "BR");
    EXPECT_STREQ(lang_code(12), "EN");
    EXPECT_STREQ(lang_code(-1), "EN");
    EXPECT_EQ(lang_from_code("se"), SE);
    EXPECT_EQ(lang_from_code("Fi"), FI);
    EXPECT_EQ(lang_from_code("XX"), EN);
    EXPECT_EQ(lang_from_code(""), EN);
    for (int i = 0; i < kLanguageCount; ++i) EXPECT_EQ(lang_from_code(lang_code(i)), i);
}

TEST(Language, SelectorStepsAndHitBox) {
    EXPECT_EQ(next_language(EN), RU);
    EXPECT_EQ(next_language(DK), BR);
    EXPECT_EQ(next_language(BR), EN);
    EXPECT_EQ(next_language(static_cast<Language>(40)), EN);
    EXPECT_TRUE(language_selector_hit(8, 8));
    EXPECT_TRUE(language_selector_hit(51, 29));
    EXPECT_FALSE(language_selector_hit(52, 29));
    EXPECT_FALSE(language_selector_hit(51, 30));
    EXPECT_FALSE(language_selector_hit(7, 10));
}

// Names read from files are shown and printed: what is no readable text comes out as "\xNN".
TEST(Language, ReadableTextEscapesWhatIsNoText) {
    EXPECT_EQ(readable_text("VELDAR.AGG /a b/~"), "VELDAR.AGG /a b/~");
    EXPECT_EQ(readable_text("Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"), "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80");
    EXPECT_EQ(readable_text("G\x82NIE"), "G\\x82NIE");                       // a code-page letter
    EXPECT_EQ(readable_text("a\nb\x1B[2J\x7F"), "a\\x0Ab\\x1B[2J\\x7F");  // controls
    EXPECT_EQ(readable_text("\xC2\x85"), "\\xC2\\x85");                     // a control of the upper range
    EXPECT_EQ(readable_text("x\xC3"), "x\\xC3");                            // a cut sequence
    EXPECT_EQ(readable_text("\xC0\xAF\xED\xA0\x80"), "\\xC0\\xAF\\xED\\xA0\\x80");  // overlong, surrogate
    EXPECT_EQ(readable_text("\xF4\x90\x80\x80"), "\\xF4\\x90\\x80\\x80");  // beyond U+10FFFF
    EXPECT_EQ(readable_text(std::string("a\0b", 3)), "a\\x00b");
    const std::string once = readable_text("G\x82\xFF");
    EXPECT_EQ(readable_text(once), once);  // escaping twice changes nothing
}

TEST(ResolveCi, MatchesEachComponentIgnoringCase) {
    TempDir t("ci");
    t.touch("Data/Maps/Level1.MAP");
    t.touch("Data/sound/X.82M");

    EXPECT_EQ(resolve_ci(t.str("Data/Maps/Level1.MAP")), t.str("Data/Maps/Level1.MAP"));
    EXPECT_EQ(resolve_ci(t.str("data/maps/level1.map")), t.str("Data/Maps/Level1.MAP"));
    EXPECT_EQ(resolve_ci(t.str("DATA/SOUND/x.82m")), t.str("Data/sound/X.82M"));
    EXPECT_EQ(resolve_ci(t.str("data/maps")), t.str("Data/Maps"));
    // Nothing matches: the input comes back unchanged.
    EXPECT_EQ(resolve_ci(t.str("data/nothing/level1.map")), t.str("data/nothing/level1.map"));
    EXPECT_EQ(resolve_ci(t.str("data/maps/level1.map/deeper")), t.str("data/maps/level1.map/deeper"));
    EXPECT_EQ(resolve_ci(""), "");
}

TEST(ResolveCi, PrefersExactThenSmallestName) {
    TempDir t("ties");
    t.touch("dir/font.TTF");
    t.touch("dir/Font.ttf");
    t.touch("dir/FONT.ttf");
    t.touch("Dir/other");
    // The exact directory "dir" is used although "Dir" also matches.
    EXPECT_EQ(resolve_ci(t.str("dir/font.ttf")), t.str("dir/FONT.ttf"));  // smallest of three
    EXPECT_EQ(resolve_ci(t.str("dir/Font.ttf")), t.str("dir/Font.ttf"));  // exact
    EXPECT_EQ(resolve_ci(t.str("DIR/other")), t.str("Dir/other"));       // "Dir" < "dir"; only it holds "other"
}

TEST(ResolveCi, RelativePaths) {
    TempDir t("rel");
    t.touch("Sub/File.txt");
    const fs::path old = fs::current_path();
    fs::current_path(t.path);
    EXPECT_EQ(resolve_ci("sub/file.TXT"), "Sub/File.txt");
    EXPECT_EQ(resolve_ci("./SUB/../sub/FILE.txt"), "./Sub/../Sub/File.txt");
    fs::current_path(old);
}

TEST(LangFonts, FallsBackToEnglishWithOneWarningPerFont) {
    TempDir t("fonts");
    t.touch("font_en.ttf");
    t.touch("Font_Small_EN.ttf");
    t.touch("font_de.ttf");
    t.touch("font_small_sc.ttf");
    const std::string root = t.path.string();

    std::ostringstream err;
    std::streambuf* old = std::cerr.rdbuf(err.rdbuf());
    LangFontPaths en = lang_font_paths(EN, root);
    LangFontPaths ru = lang_font_paths(RU, root);
    std::string after_ru = err.str();
    LangFontPaths de = lang_font_paths(DE, root);
    LangFontPaths se = lang_font_paths(SE, root);
    LangFontPaths it = lang_font_paths(IT, root);
    std::cerr.rdbuf(old);
    const std::string all = err.str();

    EXPECT_EQ(en.large_path, root + "/font_en.ttf");
    EXPECT_EQ(en.small_path, root + "/Font_Small_EN.ttf");
    EXPECT_GT(en.large_size, en.small_size);
    EXPECT_GT(en.small_size, 0);

    EXPECT_EQ(ru.large_path, en.large_path);
    EXPECT_EQ(ru.small_path, en.small_path);
    EXPECT_EQ(std::count(after_ru.begin(), after_ru.end(), '\n'), 2);
    EXPECT_NE(after_ru.find("WARNING: font '" + root + "/font_ru.ttf' not found; falling back to " + root +
                            "/font_en.ttf\n"),
              std::string::npos);

    EXPECT_EQ(de.large_path, root + "/font_de.ttf");
    EXPECT_EQ(de.small_path, en.small_path);
    EXPECT_EQ(se.large_path, en.large_path);
    EXPECT_EQ(se.small_path, root + "/font_small_sc.ttf");
    EXPECT_EQ(it.large_path, en.large_path);  // Italian shares the English fonts, silently
    // RU two, DE one, SE one, EN and IT none.
    EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 4);
}

}  // namespace
}  // namespace vorn1
