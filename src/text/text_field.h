#pragma once
// A text field of capacity N: a length byte and N Windows-1251 characters.
// Assigning a longer text keeps its first N characters, as the panel's
// records and the database file expect.

#include <cstddef>
#include <string>
#include <string_view>

namespace velkor {

template <std::size_t N>
class TextField {
 public:
  static constexpr std::size_t kCapacity = N;

  TextField() = default;
  TextField(std::string_view text) { assign(text); }  // NOLINT: implicit by design
  TextField& operator=(std::string_view text) {
    assign(text);
    return *this;
  }

  void assign(std::string_view text) { text_.assign(text.substr(0, N)); }
  const std::string& str() const { return text_; }
  operator std::string_view() const { return text_; }  // NOLINT
  std::size_t size() const { return text_.size(); }
  bool empty() const { return text_.empty(); }

  friend bool operator==(const TextField& a, const TextField& b) = default;
  friend bool operator==(const TextField& a, std::string_view b) { return a.text_ == b; }

 private:
  std::string text_;
};

}  // namespace velkor
