#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "lang/runtime_strings.h"

namespace vorn1 {
namespace {

// Captures what is written to std::cerr while it lives.
struct CerrCapture {
    std::ostringstream buf;
    std::streambuf* old = std::cerr.rdbuf(buf.rdbuf());
    ~CerrCapture() { std::cerr.rdbuf(old); }
    int lines() const {
        const std::string s = buf.str();
        return static_cast<int>(std::count(s.begin(), s.end(), '\n'));
    }
};

std::filesystem::path temp_dir(const std::string& name) {
    auto dir = std::filesystem::temp_directory_path() / ("vorn1_strings_" + name + "_" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

void write_file(const std::filesystem::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

TEST(StringTable, LooksUpCurrentThenEnglishThenKey) {
    StringTable t;
    t.load_from_text(R"({"A":"current A","B":""})", R"({"A":"english A","B":"english B","C":"english C"})");
    EXPECT_EQ(t.get("A"), "current A");
    EXPECT_EQ(t.get("B"), "");  // an empty translation still counts as present
    EXPECT_EQ(t.get("C"), "english C");
    EXPECT_EQ(t.get("D"), "D");
    EXPECT_EQ(t.get("a"), "a");  // keys are matched exactly, not case-folded
    EXPECT_TRUE(t.has("C"));
    EXPECT_FALSE(t.has("D"));
    // A text the catalogues lack falls back to the caller's own; an empty translation does not.
    EXPECT_EQ(t.get_or("D", "own D"), "own D");
    EXPECT_EQ(t.get_or("C", "own C"), "english C");
    EXPECT_EQ(t.get_or("B", "own B"), "");
}

// A catalogue that stores a key as its own text has no translation of it: every look-up goes on
// to English, then to the caller's own text.
TEST(StringTable, AnEntryThatIsItsKeyCountsAsMissing) {
    StringTable t;
    t.load_from_text(R"({"CAMP6_CITYNAME":"CAMP6_CITYNAME","OWN":"OWN","F":"F","G":"G"})",
                     R"({"CAMP6_CITYNAME":"Castle Brudek","F":"{0} days","G":"G"})");
    EXPECT_EQ(t.get("CAMP6_CITYNAME"), "Castle Brudek");
    EXPECT_TRUE(t.has("CAMP6_CITYNAME"));
    EXPECT_EQ(t.get_or("CAMP6_CITYNAME", "own"), "Castle Brudek");
    EXPECT_EQ(t.format("F", {"3"}), "3 days");
    // English stores it as its key too: the key is all there is, and the caller's text wins.
    EXPECT_EQ(t.get("G"), "G");
    EXPECT_FALSE(t.has("G"));
    EXPECT_EQ(t.get_or("G", "own G"), "own G");
    EXPECT_EQ(t.get_or("OWN", "own text"), "own text");
}

TEST(StringTable, MissingKeyCopiesStayValid) {
    StringTable t;
    const std::string& first = t.get("FIRST_MISSING");
    const std::string* addr = &first;
    for (int i = 0; i < 5000; ++i) t.get("OTHER_" + std::to_string(i));
    EXPECT_EQ(first, "FIRST_MISSING");
    EXPECT_EQ(&t.get("FIRST_MISSING"), addr);  // the same stored copy is handed out again
}

TEST(StringTable, MalformedCatalogueLoadsEmptyWithOneWarning) {
    const char* bad[] = {R"({"A":"x",)", R"(["A","B"])", "\"just text\"", "42", R"({"A":"x"} trailing)",
                         "{\"A\":\"\xff\xfe\"}"};
    for (const char* text : bad) {
        StringTable t;
        CerrCapture cap;
        t.load_from_text(text, "");
        EXPECT_EQ(cap.lines(), 1) << text;
        EXPECT_FALSE(t.has("A")) << text;
        EXPECT_EQ(t.get("A"), "A");
    }
}

TEST(StringTable, NonStringValuesAreSkipped) {
    StringTable t;
    CerrCapture cap;
    t.load_from_text("", R"({"N":1,"O":{"X":"inner"},"L":["y"],"S":"kept","T":true,"U":null,"V":"\u00e9"})");
    EXPECT_EQ(cap.lines(), 0);
    EXPECT_EQ(t.get("S"), "kept");
    EXPECT_EQ(t.get("V"), "\xc3\xa9");
    EXPECT_FALSE(t.has("N"));
    EXPECT_FALSE(t.has("O"));
    EXPECT_FALSE(t.has("X"));  // members of nested objects are not keys
    EXPECT_FALSE(t.has("L"));
}

TEST(StringTable, LoadsLanguageFolderWithFallbacks) {
    auto dir = temp_dir("load");
    write_file(dir / "strings_en.json", R"({"HELLO":"Hello","ONLY_EN":"English only"})");
    write_file(dir / "Strings_DE.json", R"({"HELLO":"Hallo"})");  // found case-insensitively
    write_file(dir / "strings_fr.json", "{ not json");

    StringTable t;
    {
        CerrCapture cap;
        t.load(dir.string(), DE);
        EXPECT_EQ(cap.lines(), 0);
    }
    EXPECT_EQ(t.get("HELLO"), "Hallo");
    EXPECT_EQ(t.get("ONLY_EN"), "English only");
    EXPECT_TRUE(t.unreadable_catalogues().empty());
    EXPECT_EQ(unreadable_catalogues_warning(t.unreadable_catalogues()), "");

    {
        CerrCapture cap;
        t.load(dir.string(), FR);  // malformed: empty plus one warning, English still there
        EXPECT_EQ(cap.lines(), 1);
    }
    EXPECT_EQ(t.get("HELLO"), "Hello");
    // The player is told, naming the file.
    ASSERT_EQ(t.unreadable_catalogues(), (std::vector<std::string>{(dir / "strings_fr.json").string()}));
    EXPECT_EQ(unreadable_catalogues_warning(t.unreadable_catalogues()),
              "LANG/strings_fr.json is not valid JSON and left out: texts show in English.");
    EXPECT_EQ(unreadable_catalogues_warning({"x/LANG/strings_fr.json", "x/LANG/Strings_EN.json"}),
              "LANG/strings_fr.json and LANG/Strings_EN.json are not valid JSON and left out: texts show as their keys.");

    {
        CerrCapture cap;
        t.load(dir.string(), RU);  // missing
        EXPECT_EQ(cap.lines(), 1);
        EXPECT_NE(cap.buf.str().find("strings_ru.json"), std::string::npos);
    }
    EXPECT_TRUE(t.unreadable_catalogues().empty()) << "a missing catalogue is no damaged one";
    EXPECT_EQ(t.get("HELLO"), "Hello");

    {
        CerrCapture cap;
        t.load((dir / "nowhere").string(), EN);
        EXPECT_EQ(cap.lines(), 1);
    }
    EXPECT_EQ(t.get("HELLO"), "HELLO");

    // A damaged English catalogue is told as well, whatever the language.
    write_file(dir / "strings_en.json", "[1, 2]");
    {
        CerrCapture cap;
        t.load(dir.string(), DE);
    }
    EXPECT_EQ(t.unreadable_catalogues(), (std::vector<std::string>{(dir / "strings_en.json").string()}));
    EXPECT_EQ(t.get("HELLO"), "Hallo");
    std::filesystem::remove_all(dir);
}

TEST(StringTableFormat, ReplacesNumberedPlaceholders) {
    const std::vector<std::string> args = {"zero", "one"};
    EXPECT_EQ(format_text("{0} and {1}, {0}", args), "zero and one, zero");
    EXPECT_EQ(format_text("{1}{0}", args), "onezero");
    EXPECT_EQ(format_text("a{2}b{9}c", args), "abc");          // beyond the list: dropped
    EXPECT_EQ(format_text("{00}{01}", args), "zeroone");      // leading zeros are digits like any
    EXPECT_EQ(format_text("x{99999999999999999999}y", args), "xy");  // over-long run dropped
    EXPECT_EQ(format_text("{4294967296}", args), "");         // would wrap to 0 in 32 bits
}

TEST(StringTableFormat, CopiesWhatIsNoPlaceholder) {
    const std::vector<std::string> args = {"A"};
    EXPECT_EQ(format_text("{", args), "{");
    EXPECT_EQ(format_text("{0", args), "{0");
    EXPECT_EQ(format_text("tail {12", args), "tail {12");
    EXPECT_EQ(format_text("{}", args), "{}");
    EXPECT_EQ(format_text("{x}", args), "{x}");
    EXPECT_EQ(format_text("{{0}}", args), "{A}");
    EXPECT_EQ(format_text("{0}}", args), "A}");
    EXPECT_EQ(format_text("{-1}", args), "{-1}");
    EXPECT_EQ(format_text("\xc3\xa9{0}\xc3\xa9", args), "\xc3\xa9" "A\xc3\xa9");
    EXPECT_EQ(format_text("{0}", {}), "");
}

TEST(StringTableFormat, FormatAndTrfUseTheTable) {
    StringTable t;
    t.load_from_text(R"({"GOLD":"{0} gold"})", R"({"PAIR":"{0}/{1}"})");
    EXPECT_EQ(t.format("GOLD", {"25"}), "25 gold");
    EXPECT_EQ(t.format("PAIR", {"a", "b"}), "a/b");
    EXPECT_EQ(t.format("NO_{0}_KEY", {"x"}), "NO_x_KEY");  // a missing key formats as itself

    strings().load_from_text(R"({"GOLD":"{0} gold"})", R"({"PAIR":"{0}/{1}"})");
    EXPECT_EQ(trf("GOLD", "7"), "7 gold");
    EXPECT_EQ(trf("PAIR", "3", "4"), "3/4");
    strings().load_from_text("", "");
}

TEST(StringTableFormat, PushArgWritesDecimalText) {
    std::vector<std::string> args;
    detail::push_arg(args, -42);
    detail::push_arg(args, static_cast<uint8_t>(200));
    detail::push_arg(args, static_cast<int64_t>(-9000000000LL));
    detail::push_arg(args, UINT64_MAX);
    ASSERT_EQ(args.size(), 4u);
    EXPECT_EQ(format_text("{0} {1} {2} {3}", args), "-42 200 -9000000000 18446744073709551615");
}

}  // namespace
}  // namespace vorn1
