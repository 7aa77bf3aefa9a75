#pragma once
// English record names (towns, heroes, buildings, creature plurals) shown in the current language.
// A name found in its pair table is replaced by the string-table text of its key; any other name
// is returned unchanged. Matching is exact and case-sensitive.
#include <string>

namespace vorn1 {

struct NameKeyPair {
    const char* name;
    const char* key;
};

struct NameIdPair {
    const char* name;
    int id;
};

constexpr int kCityKeyCount = 42;
constexpr int kHeroKeyCount = 36;
constexpr int kStructureKeyCount = 31;
constexpr int kCreaturePluralCount = 24;

extern const NameKeyPair kCityKey[kCityKeyCount];
extern const NameKeyPair kHeroKey[kHeroKeyCount];
extern const NameKeyPair kKey[kStructureKeyCount];
extern const NameIdPair kId[kCreaturePluralCount];

std::string localized_castle_name(const std::string& english);
std::string localized_hero_name(const std::string& english);
// Null gives an empty text.
std::string localized_structure_name(const char* english);
std::string localized_creature_plural_en(const char* english);

// The string-table key of an English name, or empty when it has none (used by the catalogue kit).
std::string castle_name_key(const std::string& english);
std::string hero_name_key(const std::string& english);
std::string structure_name_key(const char* english);
std::string creature_plural_key(const char* english);

}  // namespace vorn1
