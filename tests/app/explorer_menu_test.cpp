#include "app/explorer_menu.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace tarnivo {
namespace {

const std::wstring kProgram = L"C:\\程序 文件\\Tarnivo\\tarnivo.exe";
const wchar_t kFolderKey[] = L"\\Directory\\shell\\Tarnivo";
const wchar_t kBackgroundKey[] = L"\\Directory\\Background\\shell\\Tarnivo";

// A throwaway key under HKEY_CURRENT_USER\Software stands in for Software\Classes.
class ExplorerMenuTest : public testing::Test {
 protected:
  ExplorerMenuTest() {
    menu_.ClassesKey = L"Software\\TarnivoTest-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                       std::to_wstring(GetTickCount64());
    menu_.Program = kProgram;
  }
  ~ExplorerMenuTest() override { RegDeleteTreeW(HKEY_CURRENT_USER, menu_.ClassesKey.c_str()); }

  // A string value under the test key; "<none>" when it cannot be read.
  std::wstring Read(const std::wstring& key, const wchar_t* name = nullptr) const {
    wchar_t value[512] = {};
    DWORD bytes = sizeof value;
    const LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, (menu_.ClassesKey + key).c_str(), name,
                                        RRF_RT_REG_SZ, nullptr, value, &bytes);
    return status == ERROR_SUCCESS ? value : L"<none>";
  }
  bool KeyExists(const std::wstring& key) const {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, (menu_.ClassesKey + key).c_str(), 0, KEY_READ, &opened) !=
        ERROR_SUCCESS) {
      return false;
    }
    RegCloseKey(opened);
    return true;
  }

  ExplorerMenu menu_;
  std::wstring why_;
};

TEST_F(ExplorerMenuTest, AddWritesBothEntriesAndTheyArePresent) {
  EXPECT_FALSE(ExplorerMenuPresent(menu_));
  ASSERT_TRUE(AddExplorerMenu(menu_, &why_)) << why_;
  EXPECT_TRUE(ExplorerMenuPresent(menu_));
  for (const wchar_t* key : {kFolderKey, kBackgroundKey}) {
    EXPECT_EQ(Read(key), L"用 Tarnivo 批量改名");
    EXPECT_EQ(Read(key, L"Icon"), kProgram);
  }
  EXPECT_EQ(Read(kFolderKey + std::wstring(L"\\command")), L"\"" + kProgram + L"\" \"%1\"");
  EXPECT_EQ(Read(kBackgroundKey + std::wstring(L"\\command")), L"\"" + kProgram + L"\" \"%V\"");
  // The case of the program's path does not matter to the file system, nor here.
  menu_.Program = L"c:\\程序 文件\\TARNIVO\\Tarnivo.EXE";
  EXPECT_TRUE(ExplorerMenuPresent(menu_));
}

TEST_F(ExplorerMenuTest, RemoveTakesOnlyOurKeysAndSucceedsWhenNothingIsThere) {
  ASSERT_TRUE(AddExplorerMenu(menu_, &why_)) << why_;
  ASSERT_TRUE(RemoveExplorerMenu(menu_, &why_)) << why_;
  EXPECT_FALSE(ExplorerMenuPresent(menu_));
  EXPECT_FALSE(KeyExists(kFolderKey));
  EXPECT_FALSE(KeyExists(kBackgroundKey));
  EXPECT_TRUE(KeyExists(L"\\Directory\\shell"));
  EXPECT_TRUE(KeyExists(L"\\Directory\\Background\\shell"));
  EXPECT_TRUE(RemoveExplorerMenu(menu_, &why_)) << why_;
}

TEST_F(ExplorerMenuTest, AnEntryForAnotherProgramOrOnlyOneEntryIsNotPresentAndAddReplacesIt) {
  const ExplorerMenu other{menu_.ClassesKey, L"D:\\old\\tarnivo.exe"};
  ASSERT_TRUE(AddExplorerMenu(other, &why_)) << why_;
  // A value of an older entry that would hide it behind Shift.
  const std::wstring folderKey = menu_.ClassesKey + kFolderKey;
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, folderKey.c_str(), L"Extended", REG_SZ, L"", 2),
            ERROR_SUCCESS);
  EXPECT_FALSE(ExplorerMenuPresent(menu_));
  ASSERT_TRUE(AddExplorerMenu(menu_, &why_)) << why_;
  EXPECT_TRUE(ExplorerMenuPresent(menu_));
  EXPECT_EQ(Read(kFolderKey + std::wstring(L"\\command")), L"\"" + kProgram + L"\" \"%1\"");
  EXPECT_EQ(Read(kFolderKey, L"Extended"), L"<none>");
  ASSERT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, (menu_.ClassesKey + kBackgroundKey).c_str()),
            ERROR_SUCCESS);
  EXPECT_FALSE(ExplorerMenuPresent(menu_));
}

TEST_F(ExplorerMenuTest, AddUnderAKeyThatTakesNoLastingKeysGivesTheSystemsReason) {
  // A volatile key refuses lasting keys under it, as a key the user may not write to would.
  HKEY root = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, menu_.ClassesKey.c_str(), 0, nullptr,
                            REG_OPTION_VOLATILE, KEY_WRITE, nullptr, &root, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(root);
  EXPECT_FALSE(AddExplorerMenu(menu_, &why_));
  EXPECT_FALSE(why_.empty());
  EXPECT_FALSE(ExplorerMenuPresent(menu_));
}

}  // namespace
}  // namespace tarnivo
