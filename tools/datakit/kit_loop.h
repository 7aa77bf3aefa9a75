#pragma once
// English texts of the frame loop's own dialogs.
#include "datakit/kit_lang.h"

namespace vorn1::kit {

const StringMap& loop_english_strings();

}  // namespace vorn1::kit
