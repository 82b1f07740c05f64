#pragma once
// The structure listing: Windows-1251 lines written while an image is built,
// shown in the listing tab, printed and saved as .LOG.

#include <string>
#include <string_view>
#include <vector>

namespace velkor {

struct ExportLog {
  std::vector<std::string> Lines;
};

inline void ExportLogClear(ExportLog& log) { log.Lines.clear(); }
inline void ExportLogAddLine(ExportLog& log, std::string_view line) { log.Lines.emplace_back(line); }
inline int ExportLogLinesCount(const ExportLog& log) { return static_cast<int>(log.Lines.size()); }
// The line at index, or an empty text outside the listing.
inline std::string ExportLogGetLine(const ExportLog& log, int index) {
  if (index < 0 || index >= ExportLogLinesCount(log)) return {};
  return log.Lines[static_cast<std::size_t>(index)];
}

}  // namespace velkor
