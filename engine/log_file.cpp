#include "engine/log_file.h"

#include <algorithm>
#include <new>
#include <string>

#include "win/code_page.h"
#include "win/paths.h"

namespace tarnivo {

bool OutputFile::Create(const std::wstring& path) { return Open(path, CREATE_ALWAYS); }

bool OutputFile::OpenToAppend(const std::wstring& path) {
  if (!Open(path, OPEN_EXISTING)) return false;
  LARGE_INTEGER end{};
  if (SetFilePointerEx(file_.Get(), end, nullptr, FILE_END)) return true;
  Close();
  return false;
}

bool OutputFile::Open(const std::wstring& shownPath, DWORD disposition) {
  failed_ = false;
  file_.Reset();
  const std::wstring path = ExtendedPath(shownPath);
  // Windows refuses to replace a read-only file; Wine replaces it. Keep it either way: the
  // user marked it to be kept.
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    return false;
  }
  // Readers may look at the file while it is still being written.
  file_.Reset(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  return IsOpen();
}

bool OutputFile::Write(std::string_view bytes) {
  if (!IsOpen() || failed_) return false;
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    const auto chunk = static_cast<DWORD>(bytes.size() - done);
    if (!WriteFile(file_.Get(), bytes.data() + done, chunk, &written, nullptr) || written == 0) {
      failed_ = true;
      return false;
    }
    done += written;
  }
  return true;
}

void OutputFile::Flush() {
  // A flush that fails leaves the data with the system, which writes it later: what was
  // written stays written, so there is nothing to undo here.
  if (IsOpen()) FlushFileBuffers(file_.Get());
}

bool LogFile::Write(std::wstring_view text) { return file_.Write(ToAnsi(text)); }

bool ReadWholeFile(const std::wstring& path, std::string& bytes) {
  bytes.clear();
  const UniqueFileHandle file(CreateFileW(ExtendedPath(path).c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 ||
      static_cast<unsigned long long>(size.QuadPart) > bytes.max_size()) {
    return false;
  }
  try {
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
  } catch (const std::bad_alloc&) {
    return false;
  }
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD read = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    if (!ReadFile(file.Get(), bytes.data() + done, chunk, &read, nullptr)) return false;
    if (read == 0) break;  // shorter than it was a moment ago
    done += read;
  }
  bytes.resize(done);
  return true;
}

}  // namespace tarnivo
