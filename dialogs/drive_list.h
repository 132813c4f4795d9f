#pragma once
// `Drive1`: the drop-down list of the logical drives of the folder chooser. It holds the
// list's drive; the chooser decides what a change means.
#include <windows.h>

#include <string>

namespace tarnivo {

// "C:" for a path that starts with a drive letter and a colon ("c:\photos" gives "C:");
// "" for any other path (a network share, a relative name).
std::wstring DriveOf(const std::wstring& path);

class DriveList {
 public:
  // Creates the drop-down box as a child of `parent`; `bounds` is the closed box.
  bool Create(HWND parent, int controlId, const RECT& bounds);
  HWND Handle() const { return box_; }

  // Lists the drives of `driveMask` (bit 0 is A:, as GetLogicalDrives gives them).
  void Fill(DWORD driveMask);
  bool Has(const std::wstring& drive) const;

  // The list's drive as "C:"; "" before one is set.
  const std::wstring& Drive() const { return drive_; }
  // Makes the drive named by the start of `path` ("C:", "C:\", "C:\photos") the list's
  // drive. False, with nothing changed, when that drive is not listed. Sends no change
  // notification: the caller compares `Drive()` before and after.
  bool SetDrive(const std::wstring& path);
  // Takes the entry the user picked in the box as the list's drive. True when that is
  // another drive than before.
  bool TakePick();

 private:
  int IndexOf(const std::wstring& drive) const;
  std::wstring TextAt(int index) const;

  HWND box_ = nullptr;
  std::wstring drive_;
};

}  // namespace tarnivo
