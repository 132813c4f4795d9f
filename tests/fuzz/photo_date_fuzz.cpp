// Any bytes, as a whole file, through the photo date reader.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/photo_date.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tarnivo::MemoryByteSource source({data, size});
  const auto date = tarnivo::ReadDateTaken(source);
  if (date && tarnivo::Normalized(*date) != *date) std::abort();  // only real dates come back
  return 0;
}
