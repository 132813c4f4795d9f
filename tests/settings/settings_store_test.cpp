// The settings store against the real private-profile functions, on real files.
#include "settings/settings_store.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/support/temp_folder.h"
#include "win/code_page.h"
#include "win/paths.h"

namespace tarnivo {
namespace {

using test::ReadFileBytes;
using test::TempFolder;

struct ReadCase {
  const char* what;
  std::string file;  // bytes of config.ini; empty means no file
  const wchar_t* section;
  const wchar_t* key;
  const wchar_t* defaultValue;
  std::wstring expected;
};

TEST(SettingsStoreRead, FollowsTheFileFormatRules) {
  const std::string longValue(300, 'x');
  const std::wstring chinese = L"批量改名";
  const ReadCase cases[] = {
      {"no file gives the default", "", L"main", L"Pattern", L"*.jpg", L"*.jpg"},
      {"a value in the file", "[main]\r\nPattern=*.txt\r\n", L"main", L"Pattern", L"*.jpg",
       L"*.txt"},
      {"empty value is not the default", "[Variant]\r\nFormatdate=\r\n", L"Variant", L"Formatdate",
       L"yymmdd", L""},
      {"key matched without case", "[Variant]\r\nformatdate=yyyy\r\n", L"Variant", L"Formatdate",
       L"yymmdd", L"yyyy"},
      {"section matched without case", "[VARIANT]\r\nTaxis=Seq\r\n", L"Variant", L"Taxis", L"Taxis",
       L"Seq"},
      {"blanks around = and at the end", "[Variant]\r\nFormatnow = hh-nn-ss  \r\n", L"Variant",
       L"Formatnow", L"hhmmss", L"hh-nn-ss"},
      {"quoted value loses its quotes", "[main]\r\nPattern=\"a b\"\r\n", L"main", L"Pattern", L"*",
       L"a b"},
      {"missing key in a present section", "[main]\r\nother=1\r\n", L"main", L"writelog", L"1",
       L"1"},
      {"missing section", "[Variant]\r\nname=n\r\n", L"main", L"name", L"d", L"d"},
      {"300-byte value cut to 255", "[main]\r\nPattern=" + longValue + "\r\n", L"main", L"Pattern",
       L"", std::wstring(255, L'x')},
      {"code page 936 value", "[Variant]\r\nname=" + ToAnsi(chinese) + "\r\n", L"Variant", L"name",
       L"name", chinese},
      {"garbage bytes give the default", std::string("\x01\xff\xfe\x00garbage\x00\r\n=", 16),
       L"main", L"Pattern", L"*.jpg", L"*.jpg"},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    if (!c.file.empty()) folder.WriteFile(L"config.ini", c.file);
    EXPECT_EQ(SettingsStore(folder.Path()).Read(c.section, c.key, c.defaultValue), c.expected);
  }
}

TEST(SettingsStoreRead, DropsAHalfCharacterCutAtTheLimit) {
  // 200 two-byte characters: the 255-byte limit falls inside the 128th.
  const std::wstring value(200, L'中');
  TempFolder folder;
  folder.WriteFile(L"config.ini", "[main]\r\nPattern=" + ToAnsi(value) + "\r\n");
  EXPECT_EQ(SettingsStore(folder.Path()).Read(setting::Pattern), std::wstring(127, L'中'));
}

TEST(SettingsStoreRead, SeesAnEditAtTheNextRead) {
  TempFolder folder;
  const SettingsStore store(folder.Path());
  const SettingKey formatDate{L"Variant", L"Formatdate", L"yymmdd"};
  folder.WriteFile(L"config.ini", "[Variant]\r\nFormatdate=yyyy\r\n");
  EXPECT_EQ(store.Read(formatDate), L"yyyy");
  folder.WriteFile(L"config.ini", "[Variant]\r\nFormatdate=mmdd\r\n");
  EXPECT_EQ(store.Read(formatDate), L"mmdd");
}

TEST(SettingsStoreRead, LockedFileGivesTheDefault) {
  TempFolder folder;
  const std::wstring path = folder.WriteFile(L"config.ini", "[main]\r\nPattern=*.txt\r\n");
  HANDLE lock = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  EXPECT_EQ(SettingsStore(folder.Path()).Read(setting::Pattern), L"*.jpg");
  CloseHandle(lock);
}

TEST(SettingsStoreWrite, CreatesTheFileWithTheOneSetting) {
  TempFolder folder;
  EXPECT_NE(SettingsStore(folder.Path()).Write(L"main", L"Pattern", L"*.jpg"), 0);
  EXPECT_EQ(ReadFileBytes(folder / L"config.ini"), "[main]\r\nPattern=*.jpg\r\n");
}

TEST(SettingsStoreWrite, ReplacesAValueAndKeepsTheRest) {
  TempFolder folder;
  folder.WriteFile(L"config.ini",
                   "[main]\r\nPattern=*.txt\r\nwritelog=0\r\n[Variant]\r\nname=n\r\n");
  const SettingsStore store(folder.Path());
  EXPECT_NE(store.Write(L"main", L"Pattern", L"*.png;*.gif"), 0);
  EXPECT_EQ(store.Read(setting::Pattern), L"*.png;*.gif");
  EXPECT_EQ(store.Read(setting::WriteLog), L"0");
  EXPECT_EQ(store.Read(L"Variant", L"name", L"name"), L"n");
}

TEST(SettingsStoreWrite, RefusedWriteReturnsZero) {
  TempFolder folder;
  // A folder that does not exist, and a folder standing where the file should be.
  EXPECT_EQ(SettingsStore(folder / L"missing").Write(L"main", L"Pattern", L"*.jpg"), 0);
  folder.MakeFolder(L"config.ini");
  EXPECT_EQ(SettingsStore(folder.Path()).Write(L"main", L"Pattern", L"*.jpg"), 0);
  EXPECT_EQ(SettingsStore(folder.Path()).Read(setting::Pattern), L"*.jpg");
}

// Where config.ini beside the program cannot be written, a change goes to the user's folder
// and is read from there before the program's file; once the program's file takes changes
// again, the copy aside goes, so that it never hides a newer value.
TEST(SettingsStoreWrite, GoesAsideWhileTheProgramsFileRefusesIt) {
  TempFolder program, user;
  // A program folder that is not there takes no file (a read-only attribute would not
  // stop a root user under Wine).
  const std::wstring folder = program / L"later";
  const std::wstring aside = user / L"Tarnivo";  // made by the first write
  const SettingsStore store(folder, aside);
  EXPECT_NE(store.Write(setting::Pattern, L"*.png"), 0);
  EXPECT_EQ(ReadFileBytes(aside + L"\\config.ini"), "[main]\r\nPattern=*.png\r\n");
  EXPECT_EQ(store.Read(setting::Pattern), L"*.png");

  program.MakeFolder(L"later");
  program.WriteFile(L"later\\config.ini", "[main]\r\nPattern=*.txt\r\nwritelog=0\r\n");
  EXPECT_EQ(store.Read(setting::Pattern), L"*.png");  // the change, read before the file
  EXPECT_EQ(store.Read(setting::WriteLog), L"0");     // the rest read beside the program
  EXPECT_NE(store.Write(setting::Pattern, L"*.gif"), 0);
  EXPECT_EQ(ReadFileBytes(folder + L"\\config.ini"), "[main]\r\nPattern=*.gif\r\nwritelog=0\r\n");
  EXPECT_EQ(store.Read(setting::Pattern), L"*.gif");
  EXPECT_EQ(ReadFileBytes(aside + L"\\config.ini").find("Pattern"), std::string::npos);
}

TEST(SettingsStore, FolderOutsideTheCodePageStillWorks) {
  TempFolder folder;
  const std::wstring korean = folder.MakeFolder(L"한국어 폴더");
  ASSERT_FALSE(FitsAnsi(korean));
  const SettingsStore store(korean);
  EXPECT_NE(store.Write(L"main", L"Pattern", L"*.txt"), 0);
  EXPECT_EQ(store.Read(setting::Pattern), L"*.txt");
  // The file is where a user looks for it, not in some other folder.
  EXPECT_EQ(ReadFileBytes(korean + L"\\config.ini"), "[main]\r\nPattern=*.txt\r\n");
}

TEST(Paths, EnsureTrailingBackslash) {
  const std::pair<std::wstring, std::wstring> cases[] = {
      {L"C:\\", L"C:\\"},
      {L"C:\\temp", L"C:\\temp\\"},
      {L"", L"\\"},
      {L"a/", L"a/\\"},
      {L"\\\\server\\share", L"\\\\server\\share\\"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(EnsureTrailingBackslash(in), out) << in;
}

TEST(Paths, ProgramFolderIsTheExecutablesFolder) {
  wchar_t module[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
  ASSERT_GT(length, 0u);
  const std::wstring exe(module, length);
  const std::wstring folder = ProgramFolder();
  EXPECT_EQ(EnsureTrailingBackslash(folder) + exe.substr(exe.find_last_of(L'\\') + 1), exe);
  EXPECT_NE(folder.back(), L'\\');
}

TEST(CodePage, NoBestFitLookAlikes) {
  // Best fit would turn "À" into the code page's "à", which names another file.
  EXPECT_EQ(ToAnsi(L"a\u00C0b"), "a?b");
  EXPECT_EQ(FromAnsi(ToAnsi(L"照片")), L"照片");
  EXPECT_TRUE(FitsAnsi(L"照片 photo"));
  EXPECT_FALSE(FitsAnsi(L"사진"));
}

}  // namespace
}  // namespace tarnivo
