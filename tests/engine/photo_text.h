// How the photo date tests write a date: as Exif does, or "none".
#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "engine/date_time.h"

namespace tarnivo::test {

inline std::string ExifText(const std::optional<DateTime>& date) {
  if (!date) return "none";
  char text[32];
  std::snprintf(text, sizeof text, "%04d:%02d:%02d %02d:%02d:%02d", date->Year, date->Month,
                date->Day, date->Hour, date->Minute, date->Second);
  return text;
}

}  // namespace tarnivo::test
