#pragma once
// Reading a folder the way the file list shows it: its files that match the pattern and
// pass the attribute flags, in the shell's order. No window is involved.
#include <windows.h>

#include <string>
#include <vector>

#include "engine/work_list.h"

namespace tarnivo {

// The attribute flags of the list. A file is listed when it matches the pattern and:
// it is not hidden unless `Hidden`, not system unless `System`, read-only if `ReadOnly`,
// archive if `Archive`. `Normal` (plain files) is never changed by the program.
struct FileListFlags {
  bool Hidden = false;
  bool System = false;
  bool ReadOnly = false;
  bool Archive = false;
  bool Normal = true;
};

// The files of `folder` that match `pattern` and pass `flags`, in the order the Windows
// shell shows them, as `listing.Entries` with what the enumeration read of each; every
// other name of the folder (its folders, the files not listed, their short names) in
// `listing.OtherNames`, for the names a run may not take. One enumeration gives both.
// False, with `listing` unchanged, when the folder cannot be listed or read to the end.
bool ListFolder(const std::wstring& folder, const std::wstring& pattern, const FileListFlags& flags,
                WorkList& listing);

}  // namespace tarnivo
