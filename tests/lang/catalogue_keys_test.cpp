#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <vector>
#include <sstream>
#include <string>

#include "datakit/kit_catalogue.h"

namespace vorn1 {
namespace {

namespace fs = std::filesystem;

bool key_char(char c) { return std::isupper(static_cast<unsigned char>(c)) || std::isdigit(static_cast<unsigned char>(c)) || c == '_'; }

// Every whole "KEY_LIKE" literal in the text (a capital first, an underscore inside and at neither end:
// stems put together at run time end in one), with its line. Looked up directly or kept in a table of
// keys, each is a catalogue key.
std::vector<std::pair<std::string, int>> key_literals(const std::string& src) {
    std::vector<std::pair<std::string, int>> keys;
    for (std::size_t q = src.find('"'); q != std::string::npos; q = src.find('"', q + 1)) {
        std::size_t end = q + 1;
        while (end < src.size() && key_char(src[end])) ++end;
        if (end >= src.size() || src[end] != '"') continue;
        const std::string key = src.substr(q + 1, end - q - 1);
        if (key.size() > 2 && std::isupper(static_cast<unsigned char>(key[0])) && key.back() != '_' &&
            key.find('_') != std::string::npos)
            keys.emplace_back(key, 1 + static_cast<int>(std::count(src.begin(), src.begin() + static_cast<long>(q), '\n')));
        q = end;
    }
    return keys;
}

TEST(KitCatalogue, HoldsEveryKeyTheProgramUses) {
    EXPECT_EQ(key_literals("a(strings().format(\n  \"ADV_DATE\", {x}); {\"Gate\", \"CAMP1_CITY\"}; get(\"x_y\"); get(\"STEM_\" + s)"),
              (std::vector<std::pair<std::string, int>>{{"ADV_DATE", 2}, {"CAMP1_CITY", 2}}));

    kit::add_game_english_strings();
    const kit::StringMap& catalogue = kit::english_strings();
    std::string missing;
    int seen = 0;
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(VORN1_SOURCE_DIR) / "src")) {
        const std::string ext = entry.path().extension().string();
        if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        for (const auto& [key, line] : key_literals(text.str())) {
            ++seen;
            if (!catalogue.count(key))
                missing += fs::relative(entry.path(), VORN1_SOURCE_DIR).string() + ":" + std::to_string(line) + " " + key + "\n";
        }
    }
    EXPECT_GT(seen, 200);  // the scan finds the program's keys at all
    EXPECT_EQ(missing, "") << "keys the program uses that the kit's English catalogue lacks";
}

}  // namespace
}  // namespace vorn1
