// Any text as a template line and a file name, through the filter line's grammar, its
// compilation and its application: nothing may crash, hang or read out of bounds, and a
// failure always says why.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "engine/filters.h"
#include "engine/rename_plan.h"
#include "engine/template.h"

namespace {

// ASCII case only: the system's tables are not at hand here.
std::optional<std::wstring> AsciiCase(tarnivo::TextMapping mapping, std::wstring_view text) {
  std::wstring out(text);
  for (wchar_t& c : out) {
    if (mapping == tarnivo::TextMapping::Upper && c >= L'a' && c <= L'z') c -= 0x20;
    if (mapping == tarnivo::TextMapping::Lower && c >= L'A' && c <= L'Z') c += 0x20;
  }
  if (mapping == tarnivo::TextMapping::Traditional) return std::nullopt;
  return out;
}

}  // namespace

// The bytes are UTF-16 units, low byte first: the line, a unit 0, then the file name.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::wstring line, name;
  bool inName = false;
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    const auto unit = static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    if (unit == 0 && !inName) {
      inName = true;
      continue;
    }
    (inName ? name : line).push_back(unit);
  }
  if (line.size() > 512 || name.size() > 512) return 0;  // longer says nothing new

  tarnivo::TokenContext context;
  context.FileName = name;
  context.ListIndex = 3;
  context.Tools.Map = AsciiCase;
  const tarnivo::CompiledTemplate lines(L"x\r\n" + line, tarnivo::Keywords());
  const tarnivo::NamePlan plan = tarnivo::BuildNewName(lines, context);
  for (const tarnivo::PieceFailure& failure : plan.Failures) {
    if (failure.Kind == tarnivo::ErrorKind::InvalidRule && failure.Detail.empty()) std::abort();
  }
  if (tarnivo::IsFilterLine(line)) {
    const tarnivo::FilterLineParts parts = tarnivo::SplitFilterLine(line);
    const tarnivo::FilterChain chain(parts.Filters);
    std::wstring text = name, why;
    if (!chain.Apply(text, context.Tools, why) && why.empty()) std::abort();
  }
  return 0;
}
