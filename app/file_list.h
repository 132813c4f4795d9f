#pragma once
// `File1`: the list of files of the working folder that match the pattern and pass the
// attribute flags. It is the program's selection of work: the rename run renames exactly
// its entries, in its order. The names live here; the list box only draws them.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/folder_listing.h"

namespace tarnivo {

class FileList {
 public:
  // Creates the list box as a child of `parent`; the list starts on the process's
  // working folder with the pattern "*.jpg".
  bool Create(HWND parent, int controlId, const RECT& bounds);
  HWND Handle() const { return list_; }

  // Points the list at `folder` and reads it. False, with the list unchanged, when the
  // folder cannot be listed.
  bool SetPath(const std::wstring& folder);
  // The folder as the list reports it: no trailing "\" except at a drive root.
  const std::wstring& Path() const { return path_; }

  void SetPattern(const std::wstring& pattern);
  const std::wstring& Pattern() const { return pattern_; }

  const FileListFlags& Flags() const { return flags_; }
  void SetHidden(bool value);
  void SetSystem(bool value);
  void SetReadOnly(bool value);
  void SetArchive(bool value);

  // Reads the folder again with the current pattern and flags. A folder that cannot be
  // read any more gives an empty list.
  void Refresh();
  // Reads the folder unless the list has been read already. A new list is read at the
  // first SetPath, Refresh or EnsureRead; the pattern and the flags only re-read a list
  // that has been read.
  void EnsureRead();

  int32_t Count() const { return static_cast<int32_t>(listing_->Entries.size()); }
  const std::wstring& Entry(int32_t index) const {
    return listing_->Entries.at(static_cast<size_t>(index)).Name;
  }
  // The entries' names, in the list's order.
  std::vector<std::wstring> Names() const;
  // What the listing read: the folder, the entries and the other names the folder held;
  // shared, never changed, so a worker thread or a run may keep reading it while the list
  // moves on.
  std::shared_ptr<const WorkList> Listing() const { return listing_; }

  // The selected position (-1 when nothing is selected) and its name ("" then).
  int32_t ListIndex() const;
  void SetListIndex(int32_t index);
  std::wstring FileName() const;

  // Called for a press of any mouse button on the list.
  std::function<void()> OnMouseDown;
  // Called after every refill of the list: a folder, pattern or flag, a refresh.
  std::function<void()> OnChanged;

  // A tip over the entry under the mouse with the text `tipText` gives for its index;
  // none for "". The tip window is made at the first mouse move over the list.
  void EnableTips(std::function<std::wstring(int32_t index)> tipText);
  // Asks `tipText` again for the entry under the mouse.
  void RefreshTip();
  HWND TipWindow() const { return tip_; }  // null until the mouse has moved over the list

  // Sets the font of the names and the row height that goes with it.
  void SetFont(HFONT font);
  // Owner drawing of the names (the parent forwards WM_DRAWITEM). Rows take the colours
  // the parent answers WM_CTLCOLORLISTBOX with.
  void DrawItem(const DRAWITEMSTRUCT& item) const;

 private:
  static LRESULT CALLBACK ListProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  // Lists `folder` and makes it the list's path; false, with nothing changed, when it
  // cannot be listed.
  bool Reload(const std::wstring& folder);
  int32_t EntryAt(POINT client) const;  // -1 below the last entry
  bool CreateTip();
  void OnMouseMove(const MSG& move);
  void ShowEntries();
  void RefreshIfRead();

  HWND list_ = nullptr;
  std::wstring path_;
  std::wstring pattern_ = L"*.jpg";
  FileListFlags flags_;
  std::shared_ptr<const WorkList> listing_ = std::make_shared<WorkList>();
  HWND tip_ = nullptr;  // owned by the parent window, destroyed with it
  std::function<std::wstring(int32_t)> tipText_;
  int32_t tipEntry_ = -1;  // the entry under the mouse
  bool read_ = false;      // the folder has been read at least once
};

}  // namespace tarnivo
