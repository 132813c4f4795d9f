// Folders dropped on the real main window: drops built as the shell builds them
// (DROPFILES memory with a double-NUL list) and posted to the window.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>
#include <vector>

#include "tests/app/window_fixture.h"

namespace tarnivo::test {
namespace {

// A drop of `items` as the shell hands it over: the caller posts it, the window owns it.
HDROP MakeDrop(const std::vector<std::wstring>& items) {
  std::wstring list;
  for (const std::wstring& item : items) list += item + L'\0';
  list += L'\0';
  const size_t bytes = sizeof(DROPFILES) + list.size() * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
  if (!memory) return nullptr;
  auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), list.data(),
              list.size() * sizeof(wchar_t));
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

bool Released(HDROP drop) { return GlobalFlags(drop) == GMEM_INVALID_HANDLE; }

class DropTest : public WindowTest {
 protected:
  // Posts a drop of `items` to the window and handles it; returns the drop's handle.
  HDROP Drop(const std::vector<std::wstring>& items) {
    HDROP drop = MakeDrop(items);
    EXPECT_NE(drop, nullptr);
    PostMessageW(Main(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    PumpPending();
    return drop;
  }
  // The list and status line a refused drop leaves: work's folder and "stale".
  void ExpectUnchanged() {
    EXPECT_EQ(window->File1().Path(), work.Path());
    EXPECT_EQ(StatusText(), L"stale");
  }
};

TEST_F(DropTest, FirstDroppedItemDecides) {
  TempFolder other;
  other.WriteFile(L"x.jpg");
  other.WriteFile(L"y.jpg");
  const std::wstring chinese = other.MakeFolder(L"照片 한국");
  other.WriteFile(L"照片 한국\\z.jpg");
  const std::wstring file = other.WriteFile(L"note.txt");
  work.WriteFile(L"w.jpg");
  StartOnWork();
  struct Case {
    const wchar_t* What;
    std::vector<std::wstring> Items;
    std::wstring Listed;  // "" when the drop is refused
    int Count;
  };
  const Case cases[] = {
      {L"one folder", {other.Path()}, other.Path(), 2},
      {L"a folder first, then a file", {chinese, file}, chinese, 1},
      {L"a file first, then a folder", {file, other.Path()}, L"", 0},
      {L"a lone file", {file}, L"", 0},
      {L"a missing folder", {other / L"missing"}, L"", 0},
      {L"an empty drop", {}, L"", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    window->File1().SetPath(work.Path());
    SetText(ids::LabTitle(1), L"stale");
    const HDROP drop = Drop(c.Items);
    EXPECT_TRUE(Released(drop));
    if (c.Listed.empty()) {
      ExpectUnchanged();
    } else {
      EXPECT_EQ(window->File1().Path(), c.Listed);
      EXPECT_EQ(StatusText(), StatusLineFor(c.Count, c.Listed));
    }
  }
}

TEST_F(DropTest, DriveRootIsListedWithItsBackslash) {
  const std::wstring root = work.Path().substr(0, 3);  // "C:\"
  if (GetFileAttributesW(root.c_str()) > 31) GTEST_SKIP() << "the root's attributes refuse it";
  StartOnWork();
  Drop({root});
  EXPECT_EQ(window->File1().Path(), root);
  EXPECT_EQ(StatusText(), StatusLineFor(window->File1().Count(), root));
}

// The probe refuses a folder whose attribute word is above 31 (archive, reparse point...).
// Wine keeps no archive bit on folders, so there the root of Z: (directory and reparse
// point, 1040) stands in; on Windows a folder with the archive bit set does.
TEST_F(DropTest, FolderWithAttributesAbove31IsRefused) {
  const std::wstring archived = work.MakeFolder(L"archived");
  SetFileAttributesW(archived.c_str(), FILE_ATTRIBUTE_ARCHIVE);
  std::vector<std::wstring> folders;
  for (const std::wstring& folder : {archived, std::wstring(L"Z:\\")}) {
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
        attributes > 31) {
      folders.push_back(folder);
    }
  }
  ASSERT_FALSE(folders.empty()) << "no folder with attributes above 31 on this system";
  StartOnWork();
  for (const std::wstring& folder : folders) {
    SCOPED_TRACE(folder);
    SetText(ids::LabTitle(1), L"stale");
    EXPECT_TRUE(Released(Drop({folder})));
    ExpectUnchanged();
  }
}

TEST_F(DropTest, FolderThatCannotBeListedRewritesTheSameStatusLine) {
  work.WriteFile(L"w.jpg");
  StartOnWork();
  SetText(ids::LabTitle(1), L"stale");
  // A missing parent: the probe lets it through (not "file not found"), listing fails.
  Drop({work / L"no-such\\child"});
  EXPECT_EQ(window->File1().Path(), work.Path());
  EXPECT_EQ(StatusText(), StatusLineFor(1, work.Path()));
}

TEST_F(DropTest, LongPathIsNeverCutIntoAnotherFolder) {
  // `cut` is what the first 259 characters of `whole` name; reading the drop into a
  // buffer of 260 would list and later rename its files.
  const std::wstring base = work.Path() + L"\\";
  const std::wstring cut = base + std::wstring(259 - base.size(), L'x');
  const std::wstring whole = cut + L"yz";
  ASSERT_TRUE(CreateDirectoryW(cut.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW(whole.c_str(), nullptr));
  for (const std::wstring& file : {cut + L"\\c.jpg", whole + L"\\w1.jpg", whole + L"\\w2.jpg"}) {
    HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
  }
  StartOnWork();
  Drop({whole});
  EXPECT_NE(window->File1().Path(), cut);
  EXPECT_EQ(window->File1().Path(), whole);
  EXPECT_EQ(StatusText(), StatusLineFor(2, whole));
}

TEST_F(DropTest, OtherMessagesReachTheWindowUnchanged) {
  StartOnWork();
  WNDCLASSEXW windowClass{sizeof(windowClass)};
  ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), MainWindow::kClassName, &windowClass));
  const auto classProc = windowClass.lpfnWndProc;
  ASSERT_NE(GetWindowLongPtrW(Main(), GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(classProc));
  EXPECT_TRUE(IsWindowUnicode(Main()));
  EXPECT_NE(GetWindowLongPtrW(Main(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);

  wchar_t viaSubclass[64] = L"", direct[64] = L"";
  RECT r;
  GetWindowRect(Main(), &r);
  const LPARAM centre = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  const struct {
    UINT Message;
    WPARAM WParam;
    LPARAM ViaLParam, DirectLParam;
  } cases[] = {
      {WM_GETTEXTLENGTH, 0, 0, 0},
      {WM_GETTEXT, 64, reinterpret_cast<LPARAM>(viaSubclass), reinterpret_cast<LPARAM>(direct)},
      {WM_NCHITTEST, 0, centre, centre},
      {WM_NCHITTEST, 0, MAKELPARAM(r.left + 1, r.top + 1), MAKELPARAM(r.left + 1, r.top + 1)},
      {WM_GETICON, ICON_BIG, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Message);
    EXPECT_EQ(SendMessageW(Main(), c.Message, c.WParam, c.ViaLParam),
              CallWindowProcW(classProc, Main(), c.Message, c.WParam, c.DirectLParam));
  }
  EXPECT_STREQ(viaSubclass, direct);
  EXPECT_STREQ(viaSubclass, MainWindow::kCaption);
}

// Records the window procedure and the drop registration at the moment the window is
// destroyed.
HWND g_watched = nullptr;
LONG_PTR g_procAtDestroy = 0;
LONG_PTR g_exStyleAtDestroy = 0;
LRESULT CALLBACK WatchDestroy(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_DESTROYWND && reinterpret_cast<HWND>(wParam) == g_watched) {
    g_procAtDestroy = GetWindowLongPtrW(g_watched, GWLP_WNDPROC);
    g_exStyleAtDestroy = GetWindowLongPtrW(g_watched, GWL_EXSTYLE);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(DropTest, UnloadRemovesTheSubclassBeforeTheWindowGoes) {
  StartOnWork();
  WNDCLASSEXW windowClass{sizeof(windowClass)};
  ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), MainWindow::kClassName, &windowClass));
  g_watched = Main();
  g_procAtDestroy = 0;
  HHOOK hook = SetWindowsHookExW(WH_CBT, WatchDestroy, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  ClickControl(ids::Labexit);
  UnhookWindowsHookEx(hook);
  EXPECT_TRUE(unloaded);
  EXPECT_EQ(g_procAtDestroy, reinterpret_cast<LONG_PTR>(windowClass.lpfnWndProc));
  EXPECT_EQ(g_exStyleAtDestroy & WS_EX_ACCEPTFILES, 0);
}

TEST_F(DropTest, DropDuringARunChangesNothing) {
  TempFolder other;
  other.WriteFile(L"x.jpg");
  for (const wchar_t* name : {L"a.jpg", L"b.jpg"}) work.WriteFile(name);
  StartOnWork();
  SetText(ids::TextRull, L"%name%\r\n_x\r\n%ext%");
  PostClick(ids::ImgStart);
  const HDROP drop = Drop({other.Path()});  // handled while the run lets events through
  ASSERT_FALSE(window->RunInProgress());
  EXPECT_TRUE(Released(drop));
  EXPECT_EQ(window->File1().Path(), work.Path());
  EXPECT_TRUE(FileExists(work / L"a_x.jpg"));
  EXPECT_TRUE(FileExists(work / L"b_x.jpg"));
  EXPECT_TRUE(FileExists(other / L"x.jpg"));
}

}  // namespace
}  // namespace tarnivo::test
