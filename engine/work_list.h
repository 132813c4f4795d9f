// The work of a run: the files of one folder that the list shows, in its order, with what
// the listing read of each, and every other name the folder held. Made once per listing and
// never changed, so the list, the preview's thread and the run can share one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarnivo {

struct ListedFile {
  std::wstring Name;       // the long name
  std::wstring ShortName;  // the 8.3 name the file system made for it; "" for none
  std::uint64_t Size = 0;
  // File times as the system keeps them: 100 ns since 1601, UTC.
  std::uint64_t Created = 0;
  std::uint64_t LastWrite = 0;
  std::uint32_t Attributes = 0;
};

struct WorkList {
  std::wstring Folder;              // as the list shows it: no trailing "\" except at a root
  std::vector<ListedFile> Entries;  // the listed files, in the list's order
  // Every other name the folder held: its folders and the files not listed, long and short
  // names alike. A new name may clash with any of them.
  std::vector<std::wstring> OtherNames;
};

}  // namespace tarnivo
