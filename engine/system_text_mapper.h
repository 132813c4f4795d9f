// The system's letter case and Chinese script mappings (LCMapStringW), for the filters.
#pragma once

#include "engine/filters.h"

namespace tarnivo {

// Upper and lower case by the system's linguistic tables (é and É, ａ and Ａ, α and Α, in
// every locale alike); simplified and traditional Chinese where the system has the tables
// to convert them. Nothing for a mapping the system cannot make.
TextMapper SystemTextMapper();

// True when the system converts between simplified and traditional Chinese (Windows does;
// Wine 8 gives the text back unchanged). Asked once.
bool SystemConvertsChineseScript();

}  // namespace tarnivo
