#include "engine/file_name.h"

#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace tarnivo {
namespace {

TEST(SplitFileName, CutsAtTheLastDot) {
  struct Case {
    std::wstring Name, Base, Extension;
  };
  const Case cases[] = {
      {L"IMG_0012.JPG", L"IMG_0012", L".JPG"},
      {L"a.b.jpg", L"a.b", L".jpg"},
      {L"archive.tar.gz", L"archive.tar", L".gz"},
      {L"README", L"README", L""},
      {L".hidden", L"", L".hidden"},
      {L"name.", L"name", L"."},
      {L"", L"", L""},
      {L"照片.jpeg", L"照片", L".jpeg"},
      {L"a．b", L"a．b", L""},  // a full-width dot is no dot
      {std::wstring(L"a\0b.c", 5), std::wstring(L"a\0b", 3), L".c"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(test::Show(c.Name));
    const FileNameParts parts = SplitFileName(c.Name);
    EXPECT_EQ(parts.BaseName, c.Base);
    EXPECT_EQ(parts.Extension, c.Extension);
    EXPECT_EQ(parts.BaseName + parts.Extension, c.Name);
  }
}

}  // namespace
}  // namespace tarnivo
