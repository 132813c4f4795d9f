#pragma once
// Command ids of the template box's pop-up menu `menupopo`, shared with the tests that
// choose its items.
namespace tarnivo::ids {

inline constexpr int menucopy = 201;      // "复    制"
inline constexpr int menuplast = 202;     // "粘    贴"
inline constexpr int menuname = 211;      // "原文件名"
inline constexpr int menuext = 212;       // "原扩展名"
inline constexpr int menudate = 213;      // "日    期"
inline constexpr int menutime = 214;      // "时    间"
inline constexpr int menudd = 215;        // "序    列"
inline constexpr int menutaken = 216;     // "拍摄日期"
inline constexpr int menumodified = 217;  // "修改日期"
inline constexpr int menupreview = 221;   // "预    览"
inline constexpr int menuundo = 222;      // "撤    销"

inline constexpr int kTokenMenuItems[] = {menuname, menuext,   menudate,    menutime,
                                          menudd,   menutaken, menumodified};

}  // namespace tarnivo::ids
