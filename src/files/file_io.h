#pragma once
// Whole-file reading with a size cap, and saving that never leaves a
// half-written file behind.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace velkor {

// The file's bytes; nullopt when it cannot be opened or read, or when it is
// larger than maxSize (only maxSize + 1 bytes are ever read).
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path, std::size_t maxSize);

// Writes to a temporary file in the same folder, flushes it to disk and
// renames it over `path`. The saved file gets `mode` (0600 by default: the
// files hold PIN codes). On any failure the old file is left as it was.
bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes, unsigned mode = 0600);

}  // namespace velkor
