// When a photo was taken, as its camera recorded it (Exif), read from the file's
// bytes: JPEG, TIFF and the TIFF-based raw formats (DNG, CR2, NEF, ARW, PEF, ORF,
// RW2), HEIC/HEIF, PNG and WebP.
#pragma once

#include <optional>

#include "engine/byte_source.h"
#include "engine/date_time.h"

namespace tarnivo {

// DateTimeOriginal, else DateTimeDigitized, else the IFD0 DateTime; a tag without
// a valid date counts as missing. Nothing when there is no date, and for any file
// that is not one of the formats above or is cut or broken where the date would be.
// Reads only the structure that leads to the dates, never more than 1 MiB in all.
std::optional<DateTime> ReadDateTaken(ByteSource& source);

}  // namespace tarnivo
