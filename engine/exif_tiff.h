// The dates that cameras record in a TIFF structure (Exif), as found in JPEG, TIFF
// and raw files and inside the other photo containers.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "engine/byte_source.h"
#include "engine/date_time.h"

namespace tarnivo {

// An Exif date value, "YYYY:MM:DD HH:MM:SS": the text ends at its first NUL and
// trailing blanks do not count. Nothing for any other text, for blank and zero
// dates ("    :  :     :  :  ", "0000:00:00 00:00:00") and for impossible dates.
std::optional<DateTime> ParseExifDateTime(std::span<const std::uint8_t> text) noexcept;

// The date a photo was taken, from a TIFF structure whose header ("II" or "MM",
// then 42 or the Olympus and Panasonic raw marks) starts at offset 0 of `tiff`:
// DateTimeOriginal, else DateTimeDigitized (both in the Exif IFD), else DateTime
// (in IFD0). A tag that holds no valid date counts as missing. Values are ASCII;
// UNDEFINED ones are read too, since some writers store the same text that way.
// Only IFD0 and the Exif IFD it points to are read, and no chain is followed, so
// hostile pointers cannot loop.
std::optional<DateTime> ReadTiffDateTaken(ByteSource& tiff);

}  // namespace tarnivo
