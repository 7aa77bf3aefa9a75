#pragma once
// The hero screen's right-button panels (skills, experience, morale, luck, artifacts), the artifact
// table, and the artifact information dialog a left click on a carried artifact opens.
#include <SDL.h>
#include <SDL_ttf.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "town/hero_zones.h"

namespace vorn1 {

struct HeroState;
struct Resources;

struct ArtifactInfo {
    uint8_t id;
    const char* short_name;
    const char* description;
    const char* full_name;
};
constexpr int kArtifactInfoCount = 38;
extern const std::array<ArtifactInfo, kArtifactInfoCount> ARTIFACT_INFO;
constexpr uint8_t kMagicBook = 37;

// The row of an artifact id; null when there is none.
const ArtifactInfo* artifact_info(uint8_t id);
std::string localized_artifact_name(uint8_t id);
std::string artifact_body_text(const ArtifactInfo* row);

// Greedy wrap to 28 characters: a leading run of spaces indents the first line only, an overlong
// word stands alone.
std::vector<std::string> wrap_body(const std::string& text);
std::string morale_label_loc(int value);
std::string luck_label_loc(int value);

struct HeroTooltipState {
    bool open = false;
    uint8_t zone = 0;
    std::string title;
    std::vector<std::string> lines;
    int32_t x = 177;
    int32_t y = 0;
    int32_t rows = 1;
    bool small_font = false;  // laid out, and drawn, in the small font

    void clear();
};

// `artifact` is read for the artifact zones only. The panel is laid out in `font`, or in `small_font`
// when the text does not fit the room above the information bar in `font`; when it does not fit in
// either, the lines that do are kept and the last of them ends in "...". Draw with the same two fonts.
void open_hero_tooltip(HeroTooltipState& state, HsZone zone, const HeroState& hero, uint8_t artifact,
                       TTF_Font* font = nullptr, TTF_Font* small_font = nullptr);
void build_morale_tooltip(HeroTooltipState& state, const HeroState& hero, TTF_Font* font = nullptr);
// Body lines a panel of `rows` middle rows holds under its title lines, in a font of line skip `skip`.
int hero_panel_body_room(int rows, int title_lines, int skip);
void draw_hero_tooltip_if_open(SDL_Renderer* r, const Resources& res, const HeroTooltipState& state, TTF_Font* font,
                               TTF_Font* small_font = nullptr);

struct ArtifactInfoDialog {
    bool open = false;
    uint8_t artifact = 255;
    bool ok_pressed = false;
    std::string title;
    std::vector<std::string> lines;
    int32_t x = 0;
    int32_t y = 0;
    int32_t height = 0;
    int32_t rows = 2;
    SDL_Rect ok_rect{};
};

// The book (37), an empty slot and unknown ids open nothing; the frame holds its text in `font`, the one
// it is drawn in.
void open_artifact_info_dialog(ArtifactInfoDialog& d, uint8_t artifact, TTF_Font* font = nullptr);
// True while open (every event is taken); OK acts on a release over the pressed button.
bool handle_artifact_info_dialog(ArtifactInfoDialog& d, const SDL_Event& e);
void draw_artifact_info_dialog(SDL_Renderer* r, const Resources& res, const ArtifactInfoDialog& d, TTF_Font* font);

}  // namespace vorn1
