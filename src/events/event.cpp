#include "events/event.h"

#include <SDL_mixer.h>

#include <cstring>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <utility>

#include "assets/agg.h"
#include "assets/dialog_utils.h"
#include "assets/resources.h"
#include "assets/text_render.h"
#include "media/sound_chunk.h"

namespace vorn1 {

namespace {

constexpr int kTextWidth = 246;        // wrap width inside the frame
constexpr int kCharsPerLineNoFont = 34;
constexpr int kButtonW = 66;           // a system button's width when its picture is missing

std::vector<std::string> chop_chars(const std::string& para) {
    std::vector<std::string> out;
    std::string cur;
    for (char c : para) {
        if (c == ' ' && cur.size() >= static_cast<size_t>(kCharsPerLineNoFont)) {
            out.push_back(std::move(cur));
            cur.clear();
            continue;
        }
        cur += c;
    }
    out.push_back(std::move(cur));
    return out;
}

// "PICKUP01.82M" -> "PICKUP01": loose files are looked up by stem in every stored format.
std::string sound_stem(const std::string& name) {
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

}  // namespace

DialogLayout layout_event_dialog(SDL_Rect area, const DialogContent& c, const std::vector<EventButtonId>& buttons) {
    constexpr int kTitleGap = 6, kPictureGap = 6, kLabelGap = 2, kButtonGap = 8;
    const int line_h = std::max(c.line_h, 1);
    const int title_lines = std::max(c.title_lines, 0), lines = std::max(c.lines, 0);
    const int pictures = std::max(c.pictures, 0), button_h = std::max(c.button_h, 0);
    const bool picture_row = pictures > 0 && (c.picture_h > 0 || c.label_h > 0);
    const int picture_h = picture_row ? std::max(c.picture_h, 0) : 0;
    const int labels_h = picture_row && c.label_h > 0 ? kLabelGap + c.label_h : 0;
    const int title_h = title_lines > 0 ? title_lines * line_h + kTitleGap : 0;
    const int row_h = picture_row ? kPictureGap + picture_h + labels_h : 0;
    const int fixed = kDialogTextTop + title_h + row_h + kButtonGap + button_h + kDialogButtonBottom;

    DialogLayout l;
    l.w = kDialogWidth;
    // Lines that would take the frame past the area (or the screen) are left out.
    const int room = std::min(area.h, 480);
    l.lines_shown = std::clamp((room - fixed) / line_h, 0, lines);
    l.h = fixed + l.lines_shown * line_h;
    l.x = area.x + (area.w - l.w) / 2;
    l.y = area.y + std::max((area.h - l.h) / 2, 0);
    l.title_y = l.y + kDialogTextTop;
    l.text_y = l.title_y + title_h;
    l.picture_y = l.text_y + l.lines_shown * line_h + (picture_row ? kPictureGap : 0);
    l.label_y = l.picture_y + picture_h + kLabelGap;
    l.slot_w = pictures > 0 ? std::min(kDialogPictureSlot, kTextWidth / pictures) : 0;
    l.picture_x = l.x + (l.w - l.slot_w * pictures) / 2;
    const int by = l.y + l.h - kDialogButtonBottom - button_h;
    if (buttons.size() >= 2) {
        l.buttons.push_back({l.x + 72 - kButtonW / 2, by, kButtonW, button_h});
        l.buttons.push_back({l.x + 214 - kButtonW / 2, by, kButtonW, button_h});
    } else {
        l.buttons.push_back({l.x + kDialogWidth / 2 - kButtonW / 2, by, kButtonW, button_h});
    }
    return l;
}

std::vector<std::string> event_text_lines(const std::string& text, TTF_Font* font) {
    if (font) return text::wrap_pixels(font, text, kTextWidth);
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t nl = text.find('\n', start);
        if (nl == std::string::npos) nl = text.size();
        for (auto& l : chop_chars(text.substr(start, nl - start))) lines.push_back(std::move(l));
        start = nl + 1;
    }
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

EventSystem::~EventSystem() {
    for (auto& [k, t] : icon_cache_)
        if (t) SDL_DestroyTexture(t);
    for (auto& [k, snd] : sounds_) free_sound(snd.chunk, snd.wav);
}

void EventSystem::register_def(const EventDef& def) { defs_[def.type] = def; }

const EventDef* EventSystem::find_def(uint8_t type) const {
    auto it = defs_.find(type);
    return it == defs_.end() ? nullptr : &it->second;
}

void EventSystem::relayout(Dialog& d) const {
    if (d.def.buttons.empty()) d.def.buttons.push_back(EVENT_BUTTON_OK);
    d.title_lines = d.def.title.empty() ? std::vector<std::string>{} : event_text_lines(d.def.title, font_);
    d.lines = event_text_lines(d.def.text, font_);
    DialogContent c;
    c.line_h = font_ ? std::max(1, TTF_FontLineSkip(font_)) : 16;
    c.title_lines = static_cast<int>(d.title_lines.size());
    c.lines = static_cast<int>(d.lines.size());
    TTF_Font* label_font = small_font_ ? small_font_ : font_;
    for (const auto& [tex, label] : dialog_pictures(d)) {
        ++c.pictures;
        int th = 0;
        if (tex) SDL_QueryTexture(tex, nullptr, nullptr, nullptr, &th);
        c.picture_h = std::max(c.picture_h, std::min(th, kDialogPictureMaxH));
        if (!label.empty()) c.label_h = label_font ? std::max(1, TTF_FontLineSkip(label_font)) : 12;
    }
    if (res_) {
        const int frame = system_button_frame(d.def.buttons.front(), false);
        if (res_->system_btn.at(frame)) c.button_h = res_->system_btn.size(frame).y;
    }
    d.layout = layout_event_dialog(d.area, c, d.def.buttons);
    // A text too long for the screen keeps what fits, and says that more was cut.
    text::keep_lines(font_, d.lines, d.layout.lines_shown, kTextWidth);
}

void EventSystem::open_dialog(Dialog d) {
    relayout(d);
    if (dialog_open) {
        // Two announcements meeting in one frame both get shown, one after the other.
        queue_.push_back(std::move(d));
        return;
    }
    dialog_ = std::move(d);
    dialog_open = true;
    if (!dialog_.def.sound.empty()) play_sound(dialog_.def.sound);
}

void EventSystem::close_dialog(uint8_t button) {
    if (!dialog_open) return;
    Dialog d = std::move(dialog_);
    dialog_ = Dialog{};
    dialog_open = false;
    dialog_artifact = -1;
    if (!d.def.sound2.empty()) play_sound(d.def.sound2);
    EventResult r = d.result;
    r.button = button;
    if (d.accept_battle) r.site_battle = button == EVENT_BUTTON_ACCEPT ? 1 : 0;
    if (d.force_button) r.button = d.force_button;
    EventCallback cb = std::move(d.callback);
    // The dialog is closed before the callback runs, so the callback may open the next one.
    if (cb) cb(r);
    if (!dialog_open && !queue_.empty()) {
        Dialog next = std::move(queue_.front());
        queue_.pop_front();
        open_dialog(std::move(next));
    }
}

void EventSystem::open_announcement(const EventDef& def, SDL_Rect area, EventCallback cb) {
    Dialog d;
    d.def = def;
    d.area = area;
    d.result.type = def.type;
    d.callback = std::move(cb);
    open_dialog(std::move(d));
}

void EventSystem::open_crest_announcement(const std::string& text, SDL_Texture* crest, SDL_Texture* second_crest,
                                          int crest_int, SDL_Rect area, EventCallback cb) {
    Dialog d;
    d.kind = DialogKind::Crest;
    d.def.text = text;
    d.def.buttons = {EVENT_BUTTON_OK};
    d.def.mode = 1;
    d.area = area;
    d.crest = crest;
    d.crest2 = second_crest;
    d.crest_int = crest_int;
    d.callback = std::move(cb);
    open_dialog(std::move(d));
}

void EventSystem::open_levelup_dialog(const EventDef& def, SDL_Rect area, int i1, int i2, int i3,
                                      SDL_Texture* picture, EventCallback cb) {
    Dialog d;
    d.kind = DialogKind::LevelUp;
    d.def = def;
    d.area = area;
    d.picture = picture;
    d.result.type = def.type;
    d.result.hero = i1;
    d.result.x = i2;
    d.result.y = i3;
    d.callback = std::move(cb);
    open_dialog(std::move(d));
}

void EventSystem::open_build_dialog(const std::string& name, const std::string& text,
                                    const std::vector<EventIcon>& costs, int town, int slot, SDL_Rect area,
                                    EventCallback cb) {
    Dialog d;
    d.kind = DialogKind::Build;
    d.def.title = name;
    d.def.text = text;
    d.def.icons = costs;
    d.def.buttons = {EVENT_BUTTON_ACCEPT, EVENT_BUTTON_DECLINE};
    d.def.mode = 2;
    d.area = area;
    d.result.x = town;
    d.result.y = slot;
    d.callback = std::move(cb);
    open_dialog(std::move(d));
}

int dialog_key_button(const std::vector<EventButtonId>& buttons, SDL_Keycode key) {
    if (buttons.empty()) return 0;
    const auto has = [&](EventButtonId b) { return std::find(buttons.begin(), buttons.end(), b) != buttons.end(); };
    switch (key) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER: return buttons.front();
        case SDLK_ESCAPE: return buttons.back();
        // A two-button dialog is a question: y says yes and n says no, as on every other question.
        case SDLK_y: return has(EVENT_BUTTON_ACCEPT) ? EVENT_BUTTON_ACCEPT : 0;
        case SDLK_n: return has(EVENT_BUTTON_DECLINE) ? EVENT_BUTTON_DECLINE : 0;
        default: return 0;
    }
}

bool EventSystem::handle_sdl_event(const SDL_Event& e) {
    if (!dialog_open) return false;
    if (e.type == SDL_QUIT) return false;  // the loop decides about quitting
    const auto& buttons = dialog_.def.buttons;
    const auto& rects = dialog_.layout.buttons;
    auto hit = [&](int mx, int my) {
        for (size_t i = 0; i < rects.size() && i < buttons.size(); ++i) {
            const SDL_Rect& b = rects[i];
            if (mx >= b.x && mx < b.x + b.w && my >= b.y && my < b.y + b.h) return static_cast<int>(i);
        }
        return -1;
    };
    if (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_LEFT) {
        dialog_.pressed = hit(e.button.x, e.button.y);
    } else if (e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_LEFT) {
        const int held = dialog_.pressed;
        dialog_.pressed = -1;
        if (held >= 0 && held == hit(e.button.x, e.button.y)) close_dialog(buttons[held]);
    } else if (e.type == SDL_KEYDOWN && !buttons.empty()) {
        const int button = dialog_key_button(buttons, e.key.keysym.sym);
        if (button > 0) close_dialog(static_cast<EventButtonId>(button));
    }
    return true;
}

void EventSystem::tick(float ms) {
    if (!(ms > 0.0f)) return;
    if (resource_flash) {
        resource_flash_ms -= ms;
        if (resource_flash_ms <= 0.0f) {
            resource_flash = false;
            resource_flash_ms = 0.0f;
        }
    }
    if (timed_status) {
        timed_status_ms -= ms;
        if (timed_status_ms <= 0.0f) {
            timed_status = false;
            timed_status_ms = 0.0f;
        }
    }
}

void EventSystem::show_status(const std::string& text, float ms) {
    status_text = text;
    timed_status = ms > 0.0f;
    timed_status_ms = ms > 0.0f ? ms : 0.0f;
}

void EventSystem::play_sound(const std::string& name) {
    if (!audio_ok_ || name.empty()) return;
    auto it = sounds_.find(name);
    if (it == sounds_.end()) {
        // A missing sound stays silent and is not looked for again.
        LoadedSound snd;
        snd.chunk = load_archive_chunk(archive_, name, snd.wav);
        if (!snd.chunk) snd.chunk = load_best_sound_from_disk(path_folder(AGG_PATH), sound_stem(name), snd.wav, nullptr);
        it = sounds_.emplace(name, std::move(snd)).first;
    }
    if (it->second.chunk) Mix_PlayChannel(0, it->second.chunk, 0);
}

void EventSystem::export_visits(std::vector<uint32_t>& site_keys, std::vector<uint32_t>& count_keys,
                                std::vector<int32_t>& counts) const {
    export_visit_records(visits, site_keys, count_keys, counts);
}

void EventSystem::import_visits(const std::vector<uint32_t>& site_keys, const std::vector<uint32_t>& count_keys,
                                const std::vector<int32_t>& counts) {
    import_visit_records(visits, site_keys, count_keys, counts);
}

void EventSystem::record_visit(int x, int y, int hero) { vorn1::record_visit(visits, x, y, hero); }

}  // namespace vorn1
