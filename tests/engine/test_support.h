// Helpers shared by the engine tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "engine/result.h"

namespace tarnivo::test {

// Printable form of a wide text for trace messages (escapes non-ASCII).
inline std::string Show(std::wstring_view text) {
  return testing::PrintToString(std::wstring(text));
}

// "ok <text>" or "error <number>", so one comparison checks both outcome and value.
inline std::wstring Outcome(const Result<std::wstring>& result) {
  if (result.Ok()) return L"ok " + result.Value();
  return L"error " + std::to_wstring(DescribeError(result.Error()).Number);
}

}  // namespace tarnivo::test
