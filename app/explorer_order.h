#pragma once
// The order in which the Windows shell shows file names, which is the file list's order
// and so the order of a rename run.
#include <string>
#include <string_view>
#include <vector>

namespace tarnivo {

// Puts `names` in the order the Windows shell shows them: runs of digits compare as
// numbers (IMG_2 before IMG_10), other characters by the user's locale without regard to
// case. Names the shell holds equal ("a.jpg" and "A.jpg", "IMG_01" and "IMG_1") keep a
// fixed order by their code units.
void SortInExplorerOrder(std::vector<std::wstring>& names);

// The same order as positions into `names`: names[order[0]] comes first.
std::vector<std::size_t> ExplorerOrder(const std::vector<std::wstring_view>& names);

}  // namespace tarnivo
