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
#include "engine/work_view.h"

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

  // Reads the folder again with the current pattern and flags, keeping what was left out
  // (by name) unless `tickAll`. A folder that cannot be read any more gives an empty list.
  void Refresh(bool tickAll = false);
  // Reads the folder unless the list has been read already. A new list is read at the
  // first SetPath, Refresh or EnsureRead; the pattern and the flags only re-read a list
  // that has been read.
  void EnsureRead();

  int32_t Count() const { return view_.Count(); }
  const std::wstring& Entry(int32_t index) const { return view_.At(index).Name; }
  // The entries' names, in the list's order.
  std::vector<std::wstring> Names() const;
  // What a run takes: the ticked entries in the list's order, with the folder and the
  // names it may not take; shared, never changed, so a worker thread or a run may keep
  // reading it while the list moves on.
  std::shared_ptr<const WorkList> Listing() const { return view_.Work(); }
  // What the list shows now, for taking its work on another thread.
  std::shared_ptr<const ViewSnapshot> View() const { return view_.Snapshot(); }
  // The row of the run's entry `index` (of Listing()).
  int32_t RowOfWork(int32_t index) const { return view_.RowOfWork(index); }

  // The order of the rows; with the dates taken (one per entry as read, in the order of
  // names) when the key is Taken.
  void SetOrder(ListOrder order, std::vector<std::optional<DateTime>> taken = {});
  ListOrder Order() const { return view_.Order(); }
  // The entries as read, in the order of names (what the dates taken are read for).
  const std::shared_ptr<const WorkList>& ReadListing() const { return view_.Listing(); }

  // Ticked rows are renamed; the others are left out of a run.
  bool IsTicked(int32_t index) const { return view_.Ticked(index); }
  void SetTicked(int32_t index, bool ticked);
  // By entry of ReadListing(): what the preview's rows name.
  bool IsEntryTicked(int32_t entry) const { return view_.EntryTicked(entry); }
  void SetEntriesTicked(const std::vector<int32_t>& entries, bool ticked);
  void InvertEntries(const std::vector<int32_t>& entries);
  void TickAll(bool ticked);
  void InvertTicks();
  int32_t LeftOut() const { return view_.LeftOut(); }

  // The selected position (-1 when nothing is selected) and its name ("" then).
  int32_t ListIndex() const;
  void SetListIndex(int32_t index);
  std::wstring FileName() const;

  // Called for a press of any mouse button on the list: the message (WM_LBUTTONDOWN …) and
  // where, in screen pixels.
  std::function<void(UINT message, POINT screenPoint)> OnMouseDown;
  // Called after every refill of the list (a folder, pattern or flag, a refresh), a new
  // order or a tick.
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
  // cannot be listed. Another folder ticks every entry.
  bool Reload(const std::wstring& folder, bool tickAll);
  int32_t EntryAt(POINT client) const;  // -1 below the last entry
  bool CreateTip();
  void OnMouseMove(const MSG& move);
  void ShowEntries();
  void ShowTicks();
  void RefreshIfRead();

  HWND list_ = nullptr;
  std::wstring path_;
  std::wstring pattern_ = L"*.jpg";
  FileListFlags flags_;
  WorkView view_;
  HWND tip_ = nullptr;  // owned by the parent window, destroyed with it
  std::function<std::wstring(int32_t)> tipText_;
  int32_t tipEntry_ = -1;  // the entry under the mouse
  bool read_ = false;      // the folder has been read at least once
};

}  // namespace tarnivo
