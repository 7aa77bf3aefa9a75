// Feeds arbitrary bytes to the reader of override spec.xml files and the frame-name parser.
#include <cstddef>
#include <cstdint>
#include <string>

#include "lang/lang_icn_override.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const auto& [index, offset] : vorn1::parse_override_spec(text)) {
        if (index < 0 || index > vorn1::kMaxOverrideFrame) __builtin_trap();
        (void)offset;
    }
    (void)vorn1::override_frame_number(text);
    return 0;
}
