#pragma once

#include <filesystem>

// The committed resources, which these tests check.
inline std::filesystem::path resourceFile(const char* name) {
  return std::filesystem::path(ALOFT_RESOURCE_DIR) / name;
}
