#include "settings/path_probe.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "tests/support/temp_folder.h"

namespace tarnivo {
namespace {

TEST(PathProbe, FoldsTheQueryIntoTheCallersRule) {
  test::TempFolder folder;
  const std::wstring plain = folder.MakeFolder(L"plain");
  const std::wstring hidden = folder.MakeFolder(L"hidden");
  ASSERT_TRUE(SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY));
  const std::wstring file = folder.WriteFile(L"photo.jpg", "x");
  const std::wstring chinese = folder.MakeFolder(L"照片 2024");

  struct Case {
    const wchar_t* what;
    std::wstring path;
    int32_t expected;  // -1: any value of 32 or more
    bool listable;
  };
  const Case cases[] = {
      {L"ordinary folder", plain, FILE_ATTRIBUTE_DIRECTORY, true},
      {L"ordinary folder with a trailing backslash", plain + L"\\", FILE_ATTRIBUTE_DIRECTORY, true},
      {L"hidden folder", hidden, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN, true},
      {L"Chinese name", chinese, FILE_ATTRIBUTE_DIRECTORY, true},
      {L"missing path", folder / L"nothing-here", kProbeNotFound, false},
      {L"missing parent folder", folder / L"no-parent\\child", kProbeOtherFailure, true},
      {L"file", file, -1, false},
  };
  // (Wine reports every folder as 16, so a folder with the archive bit cannot be made here.)
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const int32_t got = GetPathAttributes(c.path);
    if (c.expected >= 0) {
      EXPECT_EQ(got, c.expected);
    } else {
      EXPECT_GE(got, 32);
    }
    EXPECT_EQ(IsListableFolder(got), c.listable);
  }
}

}  // namespace
}  // namespace tarnivo
