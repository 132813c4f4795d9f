#pragma once
// The photo date reader's fixtures (tests/engine/photo_dates), by their Windows path: under
// Wine the Linux path is on drive Z:. The test target defines TARNIVO_PHOTO_FIXTURES.
#include <string>

#include "win/code_page.h"

namespace tarnivo::test {

inline std::wstring PhotoFixture(const std::wstring& name) {
  std::wstring path = FromAnsi(TARNIVO_PHOTO_FIXTURES) + L"\\" + name;
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  return path.front() == L'\\' ? L"Z:" + path : path;
}

}  // namespace tarnivo::test
