#pragma once
// Control ids of the folder chooser, shared with the tests that find controls by id.
namespace tarnivo::chooser_ids {

inline constexpr int Drive1 = 201;
inline constexpr int Dir1 = 202;
inline constexpr int Picture1 = 203;
inline constexpr int Command1 = 204;  // a child of Picture1, not of the dialog
inline constexpr int Labpath = 205;

}  // namespace tarnivo::chooser_ids
