#pragma once
// Front-end data of the kit: catalogue texts, map headers for the map list, fuzz seeds.
#include <cstdint>
#include <string>

#include "datakit/datakit.h"
#include "datakit/kit_lang.h"

namespace vorn1::kit {

// English texts of the front end's keys (menus, set-up pages, control panel, scenario information).
const StringMap& frontend_english_strings();
// English texts of the second campaign's scenario titles, stories and victory pages.
StringMap spirit_campaign_english_strings();

// The first 1354 bytes of a scenario map: difficulty at byte 2, size at byte 3, the name from
// byte 4 and the description from byte 154, each cut to its field (no terminator when full).
Bytes map_header_bytes(const std::string& name, const std::string& description, uint8_t size, uint8_t difficulty);

// Seeds of the map-list reader's fuzz target: OUT/map_info/*.
void write_frontend_seeds(const std::string& out_dir);

}  // namespace vorn1::kit
