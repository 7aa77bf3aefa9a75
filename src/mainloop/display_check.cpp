#include "mainloop/display_check.h"

#include <strings.h>

#include <cstring>
#include <string_view>

namespace vorn1 {

bool driver_shows_nothing(const char* driver) {
    if (!driver) return true;
    for (const char* unseen : {"offscreen", "dummy", "evdev"})
        if (std::strcmp(driver, unseen) == 0) return true;
    return false;
}

bool refuse_video_driver(const char* driver, const char* requested) {
    if (!driver || !driver_shows_nothing(driver)) return false;
    std::string_view rest = requested ? requested : "";
    const size_t len = std::strlen(driver);
    while (!rest.empty()) {
        const size_t comma = rest.find(',');
        const std::string_view name = rest.substr(0, comma);
        if (name.size() == len && ::strncasecmp(name.data(), driver, len) == 0) return false;
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
    return true;
}

std::string no_display_text(const char* display, const char* sdl_error) {
    std::string text = std::string("dravenmoor: no display could be opened (") +
                       (display && *display ? std::string("DISPLAY=") + display : std::string("DISPLAY is not set")) +
                       "), so nothing the game shows could be seen; run it on a desktop, or set DISPLAY to a "
                       "running X server.";
    if (sdl_error && *sdl_error) text += std::string(" SDL's last error: ") + sdl_error;
    // One line, whatever the variable or SDL's message holds.
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    return text;
}

}  // namespace vorn1
