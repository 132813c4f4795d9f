#pragma once
// Where the program keeps the files it writes: beside itself, as always, or, where the
// program folder cannot be written (a program installed under Program Files), in a folder
// of the user's own.
#include <string>

namespace tarnivo {

struct DataFolders {
  std::wstring Program;   // the program folder: config.ini is read there first, help.chm
  std::wstring Fallback;  // "%LOCALAPPDATA%\Tarnivo"; "" when there is none

  // The folder of "Err.LOG", "Undo.LOG" and "模板": the program folder when a file can be
  // made in it, else the fallback folder (made when needed). Asked afresh each time.
  std::wstring Records() const;
};

// "%LOCALAPPDATA%\Tarnivo"; "" when the variable is not set.
std::wstring UserDataFolder();

// True when a new file can be created in `folder` (the probe is removed at once).
bool CanCreateFilesIn(const std::wstring& folder);

}  // namespace tarnivo
