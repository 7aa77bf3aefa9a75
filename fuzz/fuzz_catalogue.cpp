// Feeds arbitrary bytes to the string catalogue reader and formats whatever it loaded.
#include <cstddef>
#include <cstdint>
#include <iostream>
#include <string>

#include "lang/runtime_strings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool quiet = [] {
        std::cerr.setstate(std::ios::failbit);
        return true;
    }();
    (void)quiet;
    const std::string text(reinterpret_cast<const char*>(data), size);
    vorn1::StringTable table;
    table.load_from_text(text, text);
    // Texts of the loaded keys are themselves run through the formatter.
    const std::vector<std::string> args = {"x", "yy"};
    (void)table.format("A", args);
    (void)vorn1::format_text(text, args);
    (void)table.get("MISSING_KEY");
    return 0;
}
