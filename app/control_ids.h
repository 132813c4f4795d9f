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
inline constexpr int ImgStart2 = 143;     // holds the running picture, below the visible area
inline constexpr int ImgStart3 = 144;     // holds the idle picture, below the visible area
inline constexpr int Line10 = 150;        // + index 0..5, separators
inline constexpr int LineBorder0 = 160;   // + index 0..5, panel borders
inline constexpr int ImgTitle0 = 170;     // + index 0..3, header strips
inline constexpr int ShapeBorder0 = 180;  // + index 0..1, frames around the text boxes

// The preview window's controls.
inline constexpr int PreviewList = 301;
inline constexpr int PreviewSummary = 302;

constexpr int CheckFileInfo(int index) { return CheckFileInfo0 + index; }
constexpr int LabTitle(int index) { return LabTitle0 + index; }
constexpr int Line1(int index) { return Line10 + index; }
constexpr int LineBorder(int index) { return LineBorder0 + index; }
constexpr int ImgTitle(int index) { return ImgTitle0 + index; }
constexpr int ShapeBorder(int index) { return ShapeBorder0 + index; }

}  // namespace tarnivo::ids
