#pragma once
#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "lang/language.h"

namespace vorn1 {

class StringTable {
public:
    // Loads "strings_" + lower-case code + ".json" from the root, with "strings_en.json" as fallback.
    // A missing or malformed catalogue loads as empty with one warning line.
    void load(const std::string& lang_root, Language lang);
    // Loads catalogues from JSON text directly (tests); either may be empty.
    void load_from_text(const std::string& current_json, const std::string& english_json);

    // Text of the key in the current language, else English, else a stored copy of the key. An
    // entry whose text is the key itself counts as missing in every look-up here.
    // References stay valid until the next load.
    const std::string& get(const std::string& key) const;
    // get(key) with each "{N}" replaced by args[N]; placeholders beyond the list are dropped.
    std::string format(const std::string& key, const std::vector<std::string>& args) const;
    // Whether a catalogue has a text for the key (other than the key itself).
    bool has(const std::string& key) const;
    // The key's text, or `fallback` where no catalogue has the key (texts the classic catalogues lack).
    std::string get_or(const std::string& key, const std::string& fallback) const;
    // Catalogue files of the last load that are there but could not be read (not valid JSON, or
    // far too large): loaded as empty.
    const std::vector<std::string>& unreadable_catalogues() const { return unreadable_; }

private:
    std::unordered_map<std::string, std::string> current_;
    std::unordered_map<std::string, std::string> english_;
    std::vector<std::string> unreadable_;
    mutable std::deque<std::string> missing_;  // node-stable copies of missing keys
    mutable std::unordered_map<std::string, const std::string*> missing_index_;
};

// What the player is told about unreadable catalogues, in English (the catalogues are what failed):
// the files and what the texts show instead; empty when there are none.
std::string unreadable_catalogues_warning(const std::vector<std::string>& paths);

// The process-wide table of the current language; built empty on first use.
StringTable& strings();

// Fills "{N}" placeholders of a text (exposed for catalogue-free callers and tests).
std::string format_text(const std::string& text, const std::vector<std::string>& args);

namespace detail {
template <typename T>
    requires std::is_integral_v<T>
void push_arg(std::vector<std::string>& args, T value) {
    args.push_back(std::to_string(value));
}
}  // namespace detail

std::string trf(const std::string& key, const std::string& a);
std::string trf(const std::string& key, const std::string& a, const std::string& b);

// Creature key stems by creature id: "CREATURE_" + stem + "_PLURAL" / "_SG" / "_GEN".
extern const std::array<const char*, 28> kCreatureKeyStem;

}  // namespace vorn1
