// The system's own comparison of file names, as a NameCase.
#pragma once

#include "engine/name_case.h"

namespace tarnivo {

// The classes of CompareStringOrdinal without regard to case, the comparison the file
// system makes: worked out at the first call (some tens of milliseconds) and kept.
// Safe to call from any thread.
const NameCase& SystemNameCase();

}  // namespace tarnivo
