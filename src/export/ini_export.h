#pragma once
// Where the image builder writes its INI description, line by line as it
// reaches each element. The caller creates the file before the build and
// deletes it when the build fails; the builder only appends.

#include <cstdio>
#include <string>
#include <string_view>

namespace velkor {

class IniSink {
 public:
  virtual ~IniSink() = default;
  // Appends one line and its CR LF. A failed write is ignored.
  virtual void WriteLine(std::string_view line) = 0;
};

// An INI file on disk, created empty (mode 0600) by Create.
class IniFile : public IniSink {
 public:
  IniFile() = default;
  ~IniFile() override { Close(); }
  IniFile(const IniFile&) = delete;
  IniFile& operator=(const IniFile&) = delete;

  // Creates (or empties) the file; false when it cannot be created.
  bool Create(const std::string& path);
  bool IsOpen() const { return file_ != nullptr; }
  void Close();
  void WriteLine(std::string_view line) override;

 private:
  std::FILE* file_ = nullptr;
};

// The INI text in memory, for tests and measurements.
class IniText : public IniSink {
 public:
  void WriteLine(std::string_view line) override {
    text.append(line);
    text.append("\r\n");
  }
  std::string text;
};

}  // namespace velkor
