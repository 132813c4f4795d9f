#pragma once
// The revision part of a program's version (1.0.0.41 gives 41), which the About box shows.
#include <optional>
#include <string>

namespace tarnivo {

// The revision in the version resource of the file at `modulePath`; none when the file
// has no version resource or it cannot be read.
std::optional<int> FileRevision(const std::wstring& modulePath);

// The running program's revision: its own version resource, or the revision it was
// built with when the resource is missing.
int ProgramRevision();

}  // namespace tarnivo
