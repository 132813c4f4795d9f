#include "win/paths.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/support/temp_folder.h"

namespace tarnivo {
namespace {

TEST(FolderOf, KeepsTheFolderWithItsSeparator) {
  const std::pair<std::wstring, std::wstring> cases[] = {
      {L"C:\\p\\Undo.LOG", L"C:\\p\\"},
      {L"C:\\p/x/Undo.LOG", L"C:\\p/x/"},
      {L"Undo.LOG", L""},
      {L"C:\\", L"C:\\"},
  };
  for (const auto& [path, folder] : cases) EXPECT_EQ(FolderOf(path), folder) << path.size();
}

TEST(ExtendedPath, TakesEveryPathToTheFormOfAnyLength) {
  const std::wstring current = CurrentDirectory();
  ASSERT_FALSE(current.empty());
  const std::wstring deep = L"C:\\" + std::wstring(250, L'a') + L"\\" + std::wstring(250, L'b');
  struct Case {
    std::wstring Path;
    std::wstring Expected;
  };
  const Case cases[] = {
      {L"C:\\photos\\a.jpg", L"\\\\?\\C:\\photos\\a.jpg"},
      {L"C:\\photos\\", L"\\\\?\\C:\\photos\\"},  // a trailing "\" stays
      {L"C:\\", L"\\\\?\\C:\\"},
      {L"C:/photos/2024/a.jpg", L"\\\\?\\C:\\photos\\2024\\a.jpg"},
      {L"C:\\photos\\.\\old\\..\\a.jpg", L"\\\\?\\C:\\photos\\a.jpg"},
      {L"C:\\photos\\\\a.jpg", L"\\\\?\\C:\\photos\\a.jpg"},
      {L"\\\\server\\share\\a.jpg", L"\\\\?\\UNC\\server\\share\\a.jpg"},
      {L"//server/share/a.jpg", L"\\\\?\\UNC\\server\\share\\a.jpg"},
      {L"\\\\?\\C:\\photos\\..\\a.jpg", L"\\\\?\\C:\\photos\\..\\a.jpg"},  // taken as it is
      {L"\\\\?\\UNC\\server\\share", L"\\\\?\\UNC\\server\\share"},
      {L"\\\\.\\COM1", L"\\\\.\\COM1"},
      {L"a.jpg", L"\\\\?\\" + EnsureTrailingBackslash(current) + L"a.jpg"},
      {deep, L"\\\\?\\" + deep},
      {L"", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.Path.substr(0, 60)));
    EXPECT_EQ(ExtendedPath(c.Path), c.Expected);
  }
}

TEST(ExtendedPath, AroundTheOldLimitAndAtTheLongestPathAFileSystemTakes) {
  for (const std::size_t length : {259u, 260u, 261u, 32000u}) {
    SCOPED_TRACE(length);
    // Components of 200 characters, as a file system allows them.
    std::wstring path = L"C:";
    while (path.size() < length)
      path += L"\\" + std::wstring(std::min<std::size_t>(200, length - path.size() - 1), L'x');
    ASSERT_EQ(path.size(), length);
    EXPECT_EQ(ExtendedPath(path), L"\\\\?\\" + path);
  }
}

TEST(ExtendedPath, ReachesAFileInAFolderDeeperThan260Characters) {
  test::TempFolder folder;
  std::wstring deep = folder.Path();
  while (deep.size() <= 300) {
    deep += L"\\" + std::wstring(60, L'深');
    ASSERT_TRUE(CreateDirectoryW(ExtendedPath(deep).c_str(), nullptr)) << GetLastError();
  }
  const std::wstring file = deep + L"\\a.jpg";
  const HANDLE created = CreateFileW(ExtendedPath(file).c_str(), GENERIC_WRITE, 0, nullptr,
                                     CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(created, INVALID_HANDLE_VALUE) << GetLastError();
  CloseHandle(created);
  EXPECT_NE(GetFileAttributesW(ExtendedPath(file).c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(MoveFileW(ExtendedPath(file).c_str(), ExtendedPath(deep + L"\\b.jpg").c_str()));
  EXPECT_NE(GetFileAttributesW(ExtendedPath(deep + L"\\b.jpg").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(FullFolderPath, FullWithoutATrailingSeparatorExceptAtARoot) {
  struct Case {
    std::wstring Folder;
    std::wstring Expected;
  };
  const Case cases[] = {
      {L"C:\\photos\\", L"C:\\photos"},
      {L"C:\\photos\\\\", L"C:\\photos"},
      {L"C:/photos/./2024/..", L"C:\\photos"},
      {L"C:\\", L"C:\\"},
      {L"C:\\photos \\", L"C:\\photos"},
      {L"C:\\photos. . \\", L"C:\\photos"},
      {L"C:\\ \\", L"C:\\"},
      {L"\\\\server\\share\\folder\\", L"\\\\server\\share\\folder"},
      {L"", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.Folder));
    EXPECT_EQ(FullFolderPath(c.Folder), c.Expected);
  }
}

}  // namespace
}  // namespace tarnivo
