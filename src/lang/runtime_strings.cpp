#include "lang/runtime_strings.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <iostream>
#include <memory>

namespace vorn1 {

namespace {

// Catalogues larger than this are not real catalogues; refuse them instead of reading them whole.
constexpr uint64_t kMaxCatalogueBytes = 64ull * 1024 * 1024;

// Collects the string members of a top-level object; nested values and other kinds are skipped.
class CatalogueSax : public nlohmann::json_sax<nlohmann::json> {
public:
    explicit CatalogueSax(std::unordered_map<std::string, std::string>& out) : out_(out) {}

    bool null() override { return value_done(); }
    bool boolean(bool) override { return value_done(); }
    bool number_integer(number_integer_t) override { return value_done(); }
    bool number_unsigned(number_unsigned_t) override { return value_done(); }
    bool number_float(number_float_t, const string_t&) override { return value_done(); }
    bool string(string_t& val) override {
        if (depth_ == 0) return false;  // a bare string is no catalogue
        if (depth_ == 1 && top_is_object_) out_[key_] = std::move(val);
        return true;
    }
    bool binary(binary_t&) override { return value_done(); }
    bool start_object(std::size_t) override {
        if (depth_ == 0) top_is_object_ = true;
        ++depth_;
        return true;
    }
    bool key(string_t& val) override {
        if (depth_ == 1) key_ = std::move(val);
        return true;
    }
    bool end_object() override {
        --depth_;
        return true;
    }
    bool start_array(std::size_t) override {
        if (depth_ == 0) return false;
        ++depth_;
        return true;
    }
    bool end_array() override {
        --depth_;
        return true;
    }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
        return false;
    }

private:
    bool value_done() const { return depth_ > 0; }

    std::unordered_map<std::string, std::string>& out_;
    std::string key_;
    int depth_ = 0;
    bool top_is_object_ = false;
};

// Parses a catalogue; false (and an empty map) when the text is not a JSON object.
bool parse_catalogue(const std::string& text, std::unordered_map<std::string, std::string>& out) {
    out.clear();
    CatalogueSax sax(out);
    bool ok = false;
    try {
        ok = nlohmann::json::sax_parse(text, &sax, nlohmann::json::input_format_t::json, true);
    } catch (const std::exception&) {
        ok = false;
    }
    if (!ok) out.clear();
    return ok;
}

enum class ReadResult { ok, missing, too_large };

ReadResult read_file(const std::string& path, std::string& out) {
    out.clear();
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!f) return ReadResult::missing;
    char buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f.get())) > 0) {
        if (out.size() + n > kMaxCatalogueBytes) {
            out.clear();
            return ReadResult::too_large;
        }
        out.append(buf, n);
    }
    return ReadResult::ok;
}

std::string lower_code(Language lang) {
    std::string code = lang_code(lang);
    for (char& c : code) c = static_cast<char>(c - 'A' + 'a');
    return code;
}

// Loads one catalogue file into `out`; a missing, oversized or malformed file leaves it empty and
// writes one warning line. False for a file that is there but is no catalogue.
bool load_catalogue_file(const std::string& path,
                         std::unordered_map<std::string, std::string>& out) {
    out.clear();
    std::string text;
    switch (read_file(path, text)) {
        case ReadResult::missing:
            std::cerr << "  WARNING: string catalogue " << path << " not found\n";
            return true;
        case ReadResult::too_large:
            std::cerr << "  WARNING: string catalogue " << path << " too large, ignored\n";
            return false;
        case ReadResult::ok:
            break;
    }
    if (parse_catalogue(text, out)) return true;
    std::cerr << "  WARNING: string catalogue " << path << " is not a JSON object of texts, ignored\n";
    return false;
}

}  // namespace

void StringTable::load(const std::string& lang_root, Language lang) {
    const std::string base = lang_root.empty() ? std::string() : lang_root + "/";
    unreadable_.clear();
    const std::string english = resolve_ci(base + "strings_en.json");
    if (!load_catalogue_file(english, english_)) unreadable_.push_back(english);
    if (lang == EN || lang < 0 || lang >= kLanguageCount) {
        current_.clear();
    } else {
        const std::string path = resolve_ci(base + "strings_" + lower_code(lang) + ".json");
        if (!load_catalogue_file(path, current_)) unreadable_.push_back(path);
    }
}

std::string unreadable_catalogues_warning(const std::vector<std::string>& paths) {
    if (paths.empty()) return std::string();
    // Short enough for the title's notice box: the folder is always LANG/, the file name says which.
    std::string names;
    bool english = false;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        std::string file = paths[i].substr(paths[i].find_last_of("/\\") + 1);
        std::string lower = file;
        for (char& c : lower) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        english = english || lower == "strings_en.json";
        names += (i == 0 ? "" : " and ") + std::string("LANG/") + readable_text(file);
    }
    return names + (paths.size() == 1 ? " is" : " are") + " not valid JSON and left out: texts show " +
           (english ? "as their keys." : "in English.");
}

void StringTable::load_from_text(const std::string& current_json, const std::string& english_json) {
    current_.clear();
    english_.clear();
    unreadable_.clear();
    if (!current_json.empty() && !parse_catalogue(current_json, current_))
        std::cerr << "  WARNING: string catalogue is not a JSON object of texts, ignored\n";
    if (!english_json.empty() && !parse_catalogue(english_json, english_))
        std::cerr << "  WARNING: English string catalogue is not a JSON object of texts, ignored\n";
}

namespace {

// A catalogue's text of the key; null when it has none. A text that is byte for byte its key is
// no translation (a catalogue filled with its own keys): it counts as missing.
const std::string* entry_of(const std::unordered_map<std::string, std::string>& catalogue, const std::string& key) {
    const auto it = catalogue.find(key);
    return it == catalogue.end() || it->second == key ? nullptr : &it->second;
}

}  // namespace

const std::string& StringTable::get(const std::string& key) const {
    if (const std::string* text = entry_of(current_, key)) return *text;
    if (const std::string* text = entry_of(english_, key)) return *text;
    if (auto it = missing_index_.find(key); it != missing_index_.end()) return *it->second;
    missing_.push_back(key);
    missing_index_.emplace(key, &missing_.back());
    return missing_.back();
}

bool StringTable::has(const std::string& key) const {
    return entry_of(current_, key) != nullptr || entry_of(english_, key) != nullptr;
}

std::string StringTable::get_or(const std::string& key, const std::string& fallback) const {
    return has(key) ? get(key) : fallback;
}

std::string StringTable::format(const std::string& key, const std::vector<std::string>& args) const {
    return format_text(get(key), args);
}

std::string format_text(const std::string& text, const std::vector<std::string>& args) {
    // More digits than this cannot name an argument; such a placeholder saturates and is dropped.
    constexpr std::size_t kMaxIndexDigits = 9;
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (c != '{') {
            out.push_back(c);
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        uint64_t index = 0;
        bool saturated = false;
        while (j < text.size() && text[j] >= '0' && text[j] <= '9') {
            if (j - (i + 1) >= kMaxIndexDigits) saturated = true;
            else index = index * 10 + static_cast<uint64_t>(text[j] - '0');
            ++j;
        }
        if (j == i + 1 || j >= text.size() || text[j] != '}') {
            out.push_back('{');  // not a placeholder: copy the brace, then the rest as text
            ++i;
            continue;
        }
        if (!saturated && index < args.size()) out += args[index];
        i = j + 1;
    }
    return out;
}

StringTable& strings() {
    static StringTable table;
    return table;
}

std::string trf(const std::string& key, const std::string& a) { return strings().format(key, {a}); }

std::string trf(const std::string& key, const std::string& a, const std::string& b) {
    return strings().format(key, {a, b});
}

const std::array<const char*, 28> kCreatureKeyStem = {
    "PEASANT", "ARCHER",  "PIKEMAN", "SWORDSMAN", "CAVALRY",  "PALADIN",  "GOBLIN",
    "ORC",     "WOLF",    "OGRE",    "TROLL",     "CYCLOPS",  "SPRITE",   "DWARF",
    "ELF",     "DRUID",   "UNICORN", "PHOENIX",   "CENTAUR",  "GARGOYLE", "GRIFFIN",
    "MINOTAUR", "HYDRA",  "DRAGON",  "ROGUE",     "NOMAD",    "GHOST",    "GENIE"};

}  // namespace vorn1
