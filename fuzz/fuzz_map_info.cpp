// The map list's header reader on arbitrary bytes, under arbitrary stems.
#include <cstddef>
#include <cstdint>
#include <string>

#include "frontend/map_discovery.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string stem(reinterpret_cast<const char*>(data), size < 12 ? size : 12);
    vorn1::MapFileInfo info = vorn1::map_info_from_bytes("maps/" + stem + ".MAP", data, size);
    if (info.name.size() > 15 || info.description.size() > 120 || info.players < 1 || info.players > 9) __builtin_trap();
    return 0;
}
