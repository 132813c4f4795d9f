#pragma once
// The user's locale data for the date and time pictures, read from the system.
#include "engine/locale_info.h"

namespace tarnivo {

// Read from the system at the first call and kept: the program's locale does not change
// while it runs. A value the system cannot give keeps the built-in Chinese (PRC) default.
const LocaleInfo& UserLocale();

}  // namespace tarnivo
