#pragma once
// Path helpers shared by every room: joining folders and names, and the program folder.
#include <string>
#include <string_view>

namespace tarnivo {

// `path` unchanged when it ends in "\", otherwise `path` + "\" ("" gives "\").
std::wstring EnsureTrailingBackslash(std::wstring path);

// The folder `path` lies in, with its trailing "\" ("" for a bare name).
std::wstring FolderOf(const std::wstring& path);

// `folder` made full (a relative name or "C:" against the current folders; "/", "." and
// ".." resolved), without a trailing "\" except at a root ("C:\", "\\server\share\"), and
// without the blanks and dots the system drops from the end of a name ("pics ." is "pics").
// "" when the system cannot make it full.
std::wstring FullFolderPath(const std::wstring& folder);

// The form of a path that the file system takes at any length (Windows limits ordinary
// paths to 260 characters): "\\?\C:\..." for a drive path, "\\?\UNC\server\share\..."
// for a share; an extended path ("\\?\...") or a device path ("\\.\...") unchanged.
// A relative path is made full, and "/", "." and ".." are resolved first, since the
// extended form takes every character literally; a trailing "\" stays. "" when the path
// cannot be made full (the empty path among them). Every file-system call with a full
// path goes through it; what the user sees keeps the ordinary form.
std::wstring ExtendedPath(const std::wstring& path);

// True when `a` and `b` name the same folder, however they are spelt (case, short names,
// "." and "..", another drive letter for it): the system's identity of the folders when it
// gives one, otherwise their full paths compared without regard to case.
bool IsSameFolder(const std::wstring& a, const std::wstring& b);

// The process's current folder; "" when the system cannot say.
std::wstring CurrentDirectory();

// Full path of the running executable; empty only if the system cannot say.
std::wstring ExecutablePath();

// Folder of the running executable as the system reports it: no trailing "\" except
// at a drive root. Empty only if the system cannot say.
std::wstring ProgramFolder();

// A form of `folder` (which must exist) that the ANSI code page can carry: the folder
// itself when it fits, otherwise its 8.3 short form when the volume provides one.
// Falls back to `folder` itself when no such form exists.
std::wstring AnsiSafeFolder(const std::wstring& folder);

}  // namespace tarnivo
