#include "engine/log_file.h"

#include <string>

#include "settings/paths.h"
#include "win/code_page.h"

namespace tarnivo {

bool LogFile::Create(const std::wstring& shownPath) {
  failed_ = false;
  file_.Reset();
  const std::wstring path = ExtendedPath(shownPath);
  // Windows refuses to replace a read-only file; Wine replaces it. Keep it either way: the
  // user marked it to be kept.
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    return false;
  }
  // Readers may look at the log while the run is still writing it.
  file_.Reset(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  return IsOpen();
}

bool LogFile::Write(std::wstring_view text) {
  if (!IsOpen() || failed_) return false;
  const std::string bytes = ToAnsi(text);
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

}  // namespace tarnivo
