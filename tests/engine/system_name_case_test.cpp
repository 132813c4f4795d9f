// The file system's comparison of names as the preview makes it.
#include "engine/system_name_case.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/engine/test_support.h"

namespace tarnivo::test {
namespace {

bool SystemSame(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

TEST(SystemNameCase, FoldsAsCompareStringOrdinalDoesNotAsALanguage) {
  struct Case {
    std::wstring A, B;
    int Same;  // 1 or 0; -1: whatever the system says, it says the same through the classes
  };
  const Case cases[] = {
      {L"IMG_0001.JPG", L"img_0001.jpg", 1},
      {L"Été.jpg", L"éTÉ.JPG", 1},
      {L"Ωμέγα", L"ΩΜΈΓΑ", 1},
      {L"ＡＢＣ", L"ａｂｃ", 1},  // full-width letters have cases too
      {L"照片.jpg", L"照片.JPG", 1},
      {L"straße", L"STRASSE", 0},  // one unit is never two
      {L"İ", L"i", 0},
      {L"a.jpg", L"a.jpg ", 0},
      {L"straße", L"STRAẞE", -1},
      {L"ı", L"I", -1},
      {L"\u212a", L"k", -1},  // the Kelvin sign
  };
  const NameCase& nameCase = SystemNameCase();
  for (const Case& c : cases) {
    SCOPED_TRACE(Show(c.A + L" / " + c.B));
    const bool same = nameCase.Same(c.A, c.B);
    if (c.Same >= 0) {
      EXPECT_EQ(same, c.Same == 1);
    }
    EXPECT_EQ(same, SystemSame(c.A, c.B));
    if (same) {
      EXPECT_EQ(nameCase.Hash(c.A), nameCase.Hash(c.B));
    }
  }
  // Every unit against the one its class stands for, and against its neighbours.
  int disagreements = 0;
  for (wchar_t c = 1; c != 0; ++c) {
    const std::wstring unit(1, c), folded(1, nameCase.Fold(c)),
        next(1, static_cast<wchar_t>(c + 1));
    if (!SystemSame(unit, folded) || nameCase.Same(unit, next) != SystemSame(unit, next)) {
      ++disagreements;
    }
  }
  EXPECT_EQ(disagreements, 0);
}

}  // namespace
}  // namespace tarnivo::test
