#pragma once
// The one test of whether a path from outside the list (command line, paste, drop,
// chooser paste) names a folder that may be listed.
#include <cstdint>
#include <string>

namespace tarnivo {

inline constexpr int32_t kProbeNotFound = 128;     // the path does not exist
inline constexpr int32_t kProbeOtherFailure = 0;   // any other failure of the query
inline constexpr int32_t kListableLimit = 31;      // 31 or less: a folder that may be listed

// The path's attribute bits, unmasked; 128 when it does not exist; 0 on any other failure.
int32_t GetPathAttributes(const std::wstring& path);

// The callers' rule applied to a probe result.
constexpr bool IsListableFolder(int32_t attributes) { return attributes <= kListableLimit; }

}  // namespace tarnivo
