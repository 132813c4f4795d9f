#pragma once
// Resource ids shared by tarnivo.rc and the code.
#define IDI_TARNIVO 1
