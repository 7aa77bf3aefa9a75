#include <cstddef>
#include <cstdint>
#include <stdexcept>

#include "assets/agg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        vorn1::AggArchive a = vorn1::AggArchive::from_bytes(std::vector<uint8_t>(data, data + size));
        for (const std::string& n : a.names()) {
            if (!a.has(n)) __builtin_trap();
            a.get(n);
        }
    } catch (const std::runtime_error&) {
    }
    return 0;
}
