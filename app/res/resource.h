#pragma once
// Resource ids shared by the resource scripts and the code.
#define IDI_TARNIVO 1
#define IDC_POINTER 2

// Button pictures, each drawn for 96 dpi and for 192 dpi.
#define IDB_STRIP 100
#define IDB_START_IDLE 101
#define IDB_START_IDLE_2X 102
#define IDB_START_RUNNING 103
#define IDB_START_RUNNING_2X 104
#define IDB_SET_PATH 105
#define IDB_SET_PATH_2X 106
#define IDB_REFRESH 107
#define IDB_REFRESH_2X 108
