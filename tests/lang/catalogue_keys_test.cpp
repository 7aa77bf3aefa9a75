#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "datakit/kit_catalogue.h"

namespace vorn1 {
namespace {

namespace fs = std::filesystem;

// The functions that look a catalogue key up (the table's own and the screens' short forms).
const std::set<std::string> kLookups = {"get",     "format",    "trf",           "tr",     "fmt", "text_of",
                                        "sb_tr",   "lookup_or", "lookup_key_or", "text_or"};

bool key_char(char c) { return std::isupper(static_cast<unsigned char>(c)) || std::isdigit(static_cast<unsigned char>(c)) || c == '_'; }

// Every "KEY_LIKE" literal that is the whole first argument of a look-up in the text (not the stem of
// a key put together at run time), with its line.
std::vector<std::pair<std::string, int>> looked_up_keys(const std::string& src) {
    std::vector<std::pair<std::string, int>> keys;
    for (std::size_t q = src.find('"'); q != std::string::npos; q = src.find('"', q + 1)) {
        std::size_t end = q + 1;
        while (end < src.size() && key_char(src[end])) ++end;
        if (end >= src.size() || src[end] != '"') continue;
        const std::string key = src.substr(q + 1, end - q - 1);
        const std::size_t open_at = src.find_last_not_of(" \t\n", q - 1);
        const std::size_t next_at = src.find_first_not_of(" \t\n", end + 1);
        const bool whole_argument = next_at != std::string::npos && (src[next_at] == ',' || src[next_at] == ')');
        if (key.empty() || !whole_argument || !std::isupper(static_cast<unsigned char>(key[0])) || key.find('_') == std::string::npos ||
            open_at == std::string::npos || src[open_at] != '(') {
            q = end;
            continue;
        }
        std::size_t name_at = open_at;
        while (name_at > 0 && (std::isalnum(static_cast<unsigned char>(src[name_at - 1])) || src[name_at - 1] == '_'))
            --name_at;
        if (kLookups.count(src.substr(name_at, open_at - name_at)))
            keys.emplace_back(key, 1 + static_cast<int>(std::count(src.begin(), src.begin() + static_cast<long>(q), '\n')));
        q = end;
    }
    return keys;
}

TEST(KitCatalogue, HoldsEveryKeyTheProgramLooksUp) {
    EXPECT_EQ(looked_up_keys("a(strings().format(\n  \"ADV_DATE\", {x}); fmt(\"B_C\"); f(\"NOT_ME\"); get(\"x_y\"); get(\"STEM_\" + s)"),
              (std::vector<std::pair<std::string, int>>{{"ADV_DATE", 2}, {"B_C", 2}}));

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
        for (const auto& [key, line] : looked_up_keys(text.str())) {
            ++seen;
            if (!catalogue.count(key))
                missing += fs::relative(entry.path(), VORN1_SOURCE_DIR).string() + ":" + std::to_string(line) + " " + key + "\n";
        }
    }
    EXPECT_GT(seen, 200);  // the scan finds the program's look-ups at all
    EXPECT_EQ(missing, "") << "keys the program looks up that the kit's English catalogue lacks";
}

}  // namespace
}  // namespace vorn1
