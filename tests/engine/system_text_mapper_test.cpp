// The system's case and script mappings behind the filters, through the real LCMapStringW.
#include "engine/system_text_mapper.h"

#include <gtest/gtest.h>

#include "engine/filters.h"

namespace tarnivo {
namespace {

TEST(SystemTextMapper, CasesLatinGreekCyrillicAndFullWidthLetters) {
  const TextMapper map = SystemTextMapper();
  EXPECT_EQ(map(TextMapping::Upper, L"abc é αβ жз ａｂ 旅行1"), L"ABC É ΑΒ ЖЗ ＡＢ 旅行1");
  EXPECT_EQ(map(TextMapping::Lower, L"ABC É ΑΒ ЖЗ ＡＢ"), L"abc é αβ жз ａｂ");
  // Not the Turkish rules, whatever the user's locale: "i" is "I".
  EXPECT_EQ(map(TextMapping::Upper, L"i"), L"I");
}

// Windows converts between the scripts; Wine 8 has no tables and gives the text back
// unchanged, so the filter fails there with its reason instead of doing nothing silently.
TEST(SystemTextMapper, ChineseScriptIsConvertedOrRefusedNeverLeftAsItWas) {
  const TextMapper map = SystemTextMapper();
  if (SystemConvertsChineseScript()) {
    EXPECT_EQ(map(TextMapping::Simplified, L"體育館"), L"体育馆");
    EXPECT_EQ(map(TextMapping::Traditional, L"体育馆"), L"體育館");
  } else {
    EXPECT_EQ(map(TextMapping::Simplified, L"體育館"), std::nullopt);
    EXPECT_EQ(map(TextMapping::Traditional, L"体育馆"), std::nullopt);
    const FilterChain chain(std::vector<std::vector<std::wstring>>{{L"simplified"}});
    std::wstring text = L"體", why;
    EXPECT_FALSE(chain.Apply(text, FilterTools{map, nullptr}, why));
    EXPECT_NE(why.find(L"不能转换繁体和简体"), std::wstring::npos);
  }
}

}  // namespace
}  // namespace tarnivo
