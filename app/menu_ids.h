#pragma once
// Command ids of the template box's pop-up menu `menupopo`, shared with the tests that
// choose its items.
#include "engine/token.h"

namespace tarnivo::ids {

inline constexpr int menucopy = 201;     // "复    制"
inline constexpr int menuplast = 202;    // "粘    贴"
inline constexpr int menupreview = 221;  // "预    览"
inline constexpr int menuundo = 222;     // "撤    销"

// The items of `menution` ("命    令"): one per token, in the table's order.
inline constexpr int kFirstTokenItem = 211;
constexpr int TokenItem(TokenKind kind) { return kFirstTokenItem + static_cast<int>(kind); }
static_assert(kFirstTokenItem + static_cast<int>(kTokenCount) <= menupreview);

inline constexpr int menuname = TokenItem(TokenKind::Name);    // "原文件名"
inline constexpr int menuext = TokenItem(TokenKind::Ext);      // "原扩展名"
inline constexpr int menudate = TokenItem(TokenKind::Date);    // "日    期"
inline constexpr int menutime = TokenItem(TokenKind::Now);     // "时    间"
inline constexpr int menudd = TokenItem(TokenKind::Sequence);  // "序    列"

// The filter items of `menution`, after its tokens: one per row of kFilterItems.
inline constexpr int kFirstFilterItem = 301;
inline constexpr int kFilterItemCount = 11;
constexpr int FilterItem(int index) { return kFirstFilterItem + index; }

// Saved templates and Explorer's folder menu, at the end of `menupopo`.
inline constexpr int menunotemplates = 240;   // "(无)": the submenu "模    板" when it is empty
inline constexpr int menusavetemplate = 241;  // "保存为模板…"
inline constexpr int menutemplatefolder = 242;  // "打开模板文件夹"
inline constexpr int menuexplorer = 243;        // "加入右键菜单"
// The items of "模    板": one per saved template, in the order of their names.
inline constexpr int kFirstTemplateItem = 1000;
inline constexpr int kTemplateItemCount = 1000;
constexpr int TemplateItem(int index) { return kFirstTemplateItem + index; }

// The file list's pop-up menu 排序: a key, then the direction.
inline constexpr int menusortname = 231;      // "名    称"
inline constexpr int menusorttaken = 232;     // "拍摄日期"
inline constexpr int menusortmodified = 233;  // "修改日期"
inline constexpr int menusortsize = 234;      // "大    小"
inline constexpr int menusortup = 235;        // "升    序"
inline constexpr int menusortdown = 236;      // "降    序"

}  // namespace tarnivo::ids
