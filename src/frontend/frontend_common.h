#pragma once
// What every front-end screen shares: the registered window-scale and language callables, the
// per-frame pacing, the picture loaders with per-language replacements, and small drawing helpers.
#include <SDL.h>
#include <SDL_ttf.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "adventure/adv_geometry.h"  // point_in: x in [x, x + w), y in [y, y + h)
#include "assets/dialog_utils.h"  // the registered window-scale callable
#include "assets/palette.h"
#include "lang/language.h"
#include "town/dialog_art.h"  // fill_rect, outline_rect

namespace vorn1 {

class AggArchive;

using LanguageCallback = std::function<void(Language, TTF_Font*&, TTF_Font*&)>;

// Registered by the front-end driver for the time it runs; null when none. The window-scale
// registration lives with the dialog helpers, so that the save and high-score screens take F11 too.
extern const LanguageCallback* g_ng_language_cb;
bool ng_language_registered();

// Saves the registration on construction, installs the given callables, restores on destruction.
class NgCallbackScope {
public:
    NgCallbackScope(const FullscreenCallback* fullscreen, const LanguageCallback* language);
    ~NgCallbackScope();
    NgCallbackScope(const NgCallbackScope&) = delete;
    NgCallbackScope& operator=(const NgCallbackScope&) = delete;

private:
    const FullscreenCallback* old_fullscreen_;
    const LanguageCallback* old_language_;
};

// Runs after every presented frame of a front-end screen (tests script their input through it).
std::function<void()>& frontend_frame_hook();
// Presents the frame, runs the hook and waits 16 ms; after a termination request it ends the process.
void frontend_present(SDL_Renderer* renderer);

// The campaign's music on (true) or off (false), around the campaign's own pages; set by the music's
// owner. Empty: no music.
std::function<void(bool on)>& campaign_music_hook();
// Runs the hook when one is set.
void campaign_music(bool on);

// Ends the process from a front-end screen: SDL shut down, exit status 0.
[[noreturn]] void end_process();
// Run once by end_process before SDL shuts down (the program's own orderly shutdown).
std::function<void()>& end_process_hook();

using FrameList = std::vector<SDL_Texture*>;

// An archive picture as an opaque texture; a language's PNG replacement wins. Null (with a
// "newgame: missing NAME in AGG" line) when the entry is missing or empty, or when it does not
// decode ("newgame: decode NAME: ERROR").
SDL_Texture* load_bmp_tex(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette,
                          const std::string& name);
// The frames of an archive sprite set as blended textures (null for empty frames), with the
// language's replacement frames put in (the list grows for frames beyond the set).
FrameList load_icn_frames(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette,
                          const std::string& name);
// The same loaders speaking for the scenario-information screen ("scen_info: missing NAME",
// "scen_info: failed NAME"; its replacement frames are looked up under the name cut at its last
// "." as it stands).
// The control panel speaks as "cpanel: missing NAME" and "cpanel: failed to decode NAME".
enum class LoaderVoice { NewGame, ScenInfo, ControlPanel };
SDL_Texture* load_bmp_voiced(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette,
                             const std::string& name, LoaderVoice voice);
FrameList load_icn_voiced(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette,
                          const std::string& name, LoaderVoice voice);
void destroy_frames(FrameList& frames);
void destroy_texture(SDL_Texture*& tex);
// Frame i, or null outside the list.
SDL_Texture* frame_at(const FrameList& frames, int i);
// A texture's size; 0 x 0 for null.
SDL_Point tex_size(SDL_Texture* tex);
// Width and height of frame i, or the given default when the frame is missing.
SDL_Point frame_size_or(const FrameList& frames, int i, SDL_Point fallback);

// Owners that destroy what they hold when the screen's scope ends.
struct OwnedTexture {
    SDL_Texture* tex = nullptr;
    OwnedTexture() = default;
    explicit OwnedTexture(SDL_Texture* t) : tex(t) {}
    ~OwnedTexture() { destroy_texture(tex); }
    OwnedTexture(const OwnedTexture&) = delete;
    OwnedTexture& operator=(const OwnedTexture&) = delete;
    void reset(SDL_Texture* t = nullptr) {
        destroy_texture(tex);
        tex = t;
    }
};
struct OwnedFrames {
    FrameList frames;
    OwnedFrames() = default;
    explicit OwnedFrames(FrameList f) : frames(std::move(f)) {}
    ~OwnedFrames() { destroy_frames(frames); }
    OwnedFrames(const OwnedFrames&) = delete;
    OwnedFrames& operator=(const OwnedFrames&) = delete;
    void reset(FrameList f = {}) {
        destroy_frames(frames);
        frames = std::move(f);
    }
    SDL_Texture* at(int i) const { return frame_at(frames, i); }
    int count() const { return static_cast<int>(frames.size()); }
    SDL_Point size_or(int i, SDL_Point fallback) const { return frame_size_or(frames, i, fallback); }
};

// The whole texture at (x, y) in its own size; nothing for null.
void blit(SDL_Renderer* renderer, SDL_Texture* texture, int x, int y);
// Black over the whole screen at the given alpha, blended.
void darken_screen(SDL_Renderer* renderer, uint8_t alpha);

// A notice shown once, over the main menu the first time it shows; empty for none.
void set_title_notice(const std::string& text);
// The pending notice, cleared: the title screen takes it when it first shows.
std::string take_title_notice();

// Where show_alert puts its frame (two middle rows or more), its OK button and the first line of a
// text of the given height: the text ends above the button while the screen has room.
struct AlertLayout {
    SDL_Rect frame{};
    SDL_Rect button{};
    int rows = 2;
    int text_y = 0;
};
AlertLayout alert_layout(int text_height, SDL_Point button_size);

// A modal one-button message box over whatever `redraw` paints each frame; a long text makes it taller.
void show_alert(SDL_Renderer* renderer, TTF_Font* font, const std::string& text, AggArchive& archive,
                const Palette& palette, const std::function<void()>& redraw);

// A texture copy of what the renderer currently shows (its output size, 640 x 480 when that
// cannot be read); null on failure. The caller destroys it.
SDL_Texture* snap_screen(SDL_Renderer* renderer);

}  // namespace vorn1
