#pragma once
// Control ids of the main window, shared with the tests that find controls by id.
namespace tarnivo::ids {

inline constexpr int File1 = 101;
inline constexpr int TextPatt = 102;
inline constexpr int TextRull = 103;
inline constexpr int Frame1 = 104;
inline constexpr int CheckFileInfo0 = 110;  // + index 0..3
inline constexpr int LabTitle0 = 120;       // + index 0..4
inline constexpr int Labexit = 130;
inline constexpr int ImgStart = 140;
inline constexpr int ImgSetPath = 141;
inline constexpr int ImgRefresh = 142;

constexpr int CheckFileInfo(int index) { return CheckFileInfo0 + index; }
constexpr int LabTitle(int index) { return LabTitle0 + index; }

}  // namespace tarnivo::ids
