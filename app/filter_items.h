#pragma once
// The filters the menu "命    令" offers after its tokens: each item's caption and the
// filter it adds, its placeholder argument selected so that typing replaces it.
#include <array>
#include <string_view>

#include "engine/template.h"

namespace tarnivo {

struct FilterItem {
  std::wstring_view Caption;
  FilterSnippet Snippet;
};

inline constexpr std::array kFilterItems{
    FilterItem{L"替    换", {L"replace \"查找\" \"替换为\"", 9, 2}},
    FilterItem{L"正则替换", {L"regex \"表达式\" \"$1\"", 7, 3}},
    FilterItem{L"大    写", {L"upper"}},
    FilterItem{L"小    写", {L"lower"}},
    FilterItem{L"首字母大写", {L"title"}},
    FilterItem{L"截    取", {L"mid 1 8", 4, 3}},
    FilterItem{L"去空格", {L"trim"}},
    FilterItem{L"全角转半角", {L"half"}},
    FilterItem{L"半角转全角", {L"full"}},
    FilterItem{L"繁体转简体", {L"simplified"}},
    FilterItem{L"简体转繁体", {L"traditional"}},
};

}  // namespace tarnivo
