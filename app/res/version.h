#pragma once
// One version for the resource file and the code (the About box shows the revision).
#define TARNIVO_VERSION_MAJOR 1
#define TARNIVO_VERSION_MINOR 0
#define TARNIVO_VERSION_BUILD 0
#define TARNIVO_VERSION_REVISION 41
#define TARNIVO_VERSION_TEXT "1.0.0.41"
