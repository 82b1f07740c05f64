#include "export/ini_export.h"

#include <fcntl.h>
#include <unistd.h>

namespace velkor {

bool IniFile::Create(const std::string& path) {
  Close();
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  file_ = ::fdopen(fd, "wb");
  if (!file_) {
    ::close(fd);
    return false;
  }
  return true;
}

void IniFile::Close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
}

void IniFile::WriteLine(std::string_view line) {
  if (!file_) return;
  std::fwrite(line.data(), 1, line.size(), file_);
  std::fwrite("\r\n", 1, 2, file_);
}

}  // namespace velkor
