#pragma once
// `Dir1`: the folder list of the folder chooser. It shows the opened folder with its
// root and every folder above it, then the folders inside it, each indented by its depth.
// The list's folder is the opened one; a highlighted row is only a highlight until the
// chooser opens it.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tarnivo {

struct FolderRow {
  std::wstring Path;  // full path, as the list reports folders
  std::wstring Name;  // what the row shows: the root ("C:\") or the folder's name
  int Level = 0;      // depth below the root, which is 0
  bool Open = false;  // the root, the folders above the opened one and the opened one
};

// The rows of a list opened on `path` (a result of FullFolderPath, win/paths.h): the root and
// the folders down to `path`, then the folders inside it in the order the Windows shell shows them.
// False when `path` is no folder or cannot be read.
bool ReadFolderRows(const std::wstring& path, std::vector<FolderRow>& rows);

class FolderList {
 public:
  // Creates the list box as a child of `parent`; it opens no folder yet.
  bool Create(HWND parent, int controlId, const RECT& bounds);
  HWND Handle() const { return list_; }

  // The opened folder; "" before one is opened.
  const std::wstring& Path() const { return path_; }
  // Opens `folder`. False, with the list unchanged, when it cannot be opened. Sends no
  // change notification: the caller compares `Path()` before and after.
  bool SetPath(const std::wstring& folder);

  const std::vector<FolderRow>& Rows() const { return rows_; }
  // The highlighted row, -1 when none is.
  int32_t ListIndex() const;

  // Sets the font of the rows and the row height that goes with it.
  void SetFont(HFONT font);
  void SetColors(COLORREF back, COLORREF text);
  // Owner drawing of the rows (the parent forwards WM_DRAWITEM).
  void DrawItem(const DRAWITEMSTRUCT& item) const;

 private:
  HWND list_ = nullptr;
  std::wstring path_;
  std::vector<FolderRow> rows_;
  COLORREF back_ = RGB(255, 255, 255);
  COLORREF text_ = RGB(0, 0, 0);
  int indent_ = 8;
};

}  // namespace tarnivo
