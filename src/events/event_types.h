#pragma once
// Records of the map-object event system: definitions of event dialogs and the outcome a
// visit hands to its callback. Kept free of SDL and of the world records so any subsystem can
// include it (the dialog button drawer takes an EventButtonId).
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vorn1 {

// The button that closed an event dialog.
enum EventButtonId : uint8_t {
    EVENT_BUTTON_OK = 1,       // the single OK button
    EVENT_BUTTON_ACCEPT = 2,   // first of two choices
    EVENT_BUTTON_DECLINE = 3,  // second of two choices
};

struct EventIcon {
    std::string icn;    // sprite-set name, e.g. "RESOURCE.ICN"
    int frame = 0;
    std::string label;  // drawn under the icon, may be empty
};

struct EventDef {
    uint8_t type = 0;  // object-type byte; the key of EventSystem::register_def (255 level-ups)
    std::string title;
    std::string text;  // may hold "\n" line breaks
    std::vector<EventIcon> icons;
    std::vector<EventButtonId> buttons;  // {1} or {2, 3}; empty means one OK button
    int mode = 0;                        // kept with the definition; the frame follows its content
    std::string sound;                   // played when the dialog opens
    std::string sound2;                  // played when it closes
};

// What a visit (or any event dialog) hands to its callback. Field order is fixed; the bytes
// without a name in the callers' view carry this system's own data (see comments).
struct EventResult {
    uint8_t type = 0;
    uint8_t button = EVENT_BUTTON_OK;
    int32_t hero = -1;
    int32_t x = -1;
    int32_t y = -1;
    uint8_t visit_flag = 0;
    uint8_t choice = 0;  // site kind that apply_event_result acts on (EventSiteKind)
    uint8_t enter_castle = 0;
    uint8_t town_battle = 0;
    int8_t artifact = -1;
    uint8_t open_recruit = 0;
    uint8_t recruit_creature = 255;
    int32_t recruit_available = 0;
    uint8_t open_thieves_guild = 0;
    uint8_t pay_gold = 0;  // the visit was accepted at a price (paid artifact)
    uint8_t remove_hero = 0;
    uint8_t site_battle = 0;
    uint8_t site_kind = 0;
    int8_t site_level = -1;
    uint8_t teleport = 0;
    uint8_t bonus_bit = 0;   // one-shot visit flag granted by a luck or morale site
    uint8_t reserved_a = 0;
    uint8_t reserved_b = 0;
    uint8_t kill_fade_sound = 0;
    uint8_t reserved_c = 0;
    uint8_t open_trading_post = 0;
    uint8_t reserved_d = 0;
    uint8_t reserved_e = 0;
    uint8_t reserved_f = 0;
    int32_t count = 0;
};

using EventCallback = std::function<void(EventResult)>;

}  // namespace vorn1
