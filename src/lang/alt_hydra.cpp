#include "lang/alt_hydra.h"

#include <exception>
#include <filesystem>

#include "assets/png_decode.h"
#include "assets/render_utils.h"
#include "lang/lang_icn_override.h"
#include "lang/language.h"

namespace vorn1 {

bool AltHydraArt::load(SDL_Renderer* renderer, const std::string& folder) {
    unload();
    for (auto& [n, frame] : load_png_frames(folder)) {
        if (n < 0 || n >= kFrames) continue;
        frames[n] = img_to_tex(renderer, frame.image, true);
        if (!frames[n]) continue;
        SpriteHeader& hd = headers[n];
        hd.x = frame.offset.x;
        hd.y = frame.offset.y;
        hd.width = static_cast<uint16_t>(frame.image.width);
        hd.height = static_cast<uint16_t>(frame.image.height);
    }
    loaded = frames[0] != nullptr;
    if (!folder.empty()) {
        const std::string path = resolve_ci(folder + "/build.png");
        std::error_code ec;
        if (std::filesystem::is_regular_file(path, ec)) {
            try {
                const Image img = load_png_file(path);
                build_picture = img_to_tex(renderer, img, true);
                if (build_picture) build_w = img.width, build_h = img.height;
            } catch (const std::exception&) {
                // An unreadable build picture leaves the stock one in use.
            }
        }
    }
    return loaded;
}

void AltHydraArt::unload() {
    for (int i = 0; i < kFrames; ++i) {
        if (frames[i]) SDL_DestroyTexture(frames[i]);
        frames[i] = nullptr;
        headers[i] = SpriteHeader{};
    }
    if (build_picture) SDL_DestroyTexture(build_picture);
    build_picture = nullptr;
    build_w = build_h = 0;
    loaded = false;
}

}  // namespace vorn1
