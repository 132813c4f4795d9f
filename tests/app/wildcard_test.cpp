// File-name patterns as the list applies them to long names.
#include "app/wildcard.h"

#include <gtest/gtest.h>

#include <string>

namespace tarnivo::test {
namespace {

struct MatchCase {
  const wchar_t* pattern;
  const wchar_t* name;
  bool matches;
};

TEST(WildcardPattern, MatchesLongNamesWithoutRegardToCase) {
  const MatchCase cases[] = {
      {L"*.jpg", L"a.jpg", true},
      {L"*.jpg", L"B.JPG", true},
      {L"*.JPG", L"photo.jpg", true},
      {L"*.jpg", L"a.jpeg", false},
      {L"*.jpg", L"a.jpg.txt", false},
      {L"*.jpe", L"abcdefghij.jpeg", false},  // its 8.3 name would end in .JPE
      {L"?.jpg", L"a.jpg", true},
      {L"?.jpg", L"ab.jpg", false},
      {L"IMG_??.jpg", L"img_07.JPG", true},
      {L"*a*b*c", L"xxaxxbxxc", true},
      {L"*a*b*c", L"xxaxxcxxb", false},
      {L"a*", L"a", true},
      {L"*", L"anything at all", true},
      {L"ФОТО*", L"фото 1.jpg", true},  // upper-casing beyond ASCII
      {L"*.JPG", L"照片.jpg", true},
      {L"*.*", L"README", true},  // "*.*" takes names without a dot
      {L"*.*", L"a.b", true},
      {L"*.", L"README", true},  // "*." takes names without an extension
      {L"*.", L"a.txt", false},
      {L"readme.*", L"README", true},
      {L"*.jpg;*.png", L"c.png", true},  // several patterns
      {L"*.jpg;*.png", L"d.gif", false},
      {L" *.png ; *.gif ", L"d.gif", true},  // blanks around each one
      {L"*.jpg;", L"a.jpg", true},
      {L"", L"anything", true},  // empty means every file
      {L" ; ", L"anything", true},
      {L"*.xyz", L"a.jpg", false},
  };
  for (const MatchCase& c : cases) {
    SCOPED_TRACE(std::wstring(L"pattern \"") + c.pattern + L"\", name \"" + c.name + L"\"");
    EXPECT_EQ(WildcardPattern(c.pattern).Matches(c.name), c.matches);
  }
}

TEST(WildcardPattern, LongStarRunsStayFast) {
  // A pattern of many stars against a long name that fails at the very end: exponential
  // back-tracking would not finish.
  const std::wstring pattern = std::wstring(40, L'*') + L"b";
  const std::wstring name(20000, L'a');
  EXPECT_FALSE(WildcardPattern(pattern).Matches(name));
  EXPECT_TRUE(WildcardPattern(pattern).Matches(name + L"b"));
}

}  // namespace
}  // namespace tarnivo::test
