#pragma once
// English texts of the map-object event dialogs.
#include "datakit/kit_lang.h"

namespace vorn1::kit {

const StringMap& events_english_strings();

}  // namespace vorn1::kit
