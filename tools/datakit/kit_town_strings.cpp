#include "datakit/kit_town_strings.h"

#include <cstdio>

#include "town/spell_table.h"
#include "town/town_names.h"

namespace vorn1::kit {

std::map<std::string, std::string> town_english_strings() {
    std::map<std::string, std::string> m;
    for (const NameKeyPair& p : kCityKey) m.emplace(p.key, p.name);
    m["STRUCT_PYRAMID"] = "Pyramid";
    for (const NameKeyPair& p : kHeroKey) m[p.key] = p.name;
    for (const NameKeyPair& p : kKey) m[p.key] = p.name;
    for (const NameIdPair& p : kId) m[creature_plural_key(p.name)] = p.name;
    for (const SpellInfo& s : SPELL_TABLE) {
        char key[16];
        std::snprintf(key, sizeof key, "SPELLNAME_%02d", s.id);
        m[key] = s.name;
    }
    m["SPELLNAME_19"] = "Resurrect";
    return m;
}

}  // namespace vorn1::kit
