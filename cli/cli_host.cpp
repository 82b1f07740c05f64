#include "cli_host.h"

#include <string>

namespace velkor::cli {

std::string TerminalText(std::string_view cp1251) {
  std::string utf8 = Cp1251ToUtf8(cp1251);
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if (utf8[i] == '\r') {
      out.push_back('\n');
      if (i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
    } else {
      out.push_back(utf8[i]);
    }
  }
  return out;
}

void CliHost::Message(MessageIcon /*icon*/, std::string_view title, std::string_view text) {
  ++messages_;
  std::fprintf(out_, "%s: %s\n", TerminalText(title).c_str(), TerminalText(text).c_str());
  std::fflush(out_);
}

bool CliHost::Ask(MessageIcon /*icon*/, std::string_view title, std::string_view text) {
  std::fprintf(out_, "%s: %s\n%s\n", TerminalText(title).c_str(), TerminalText(text).c_str(),
               answerYes_ ? "-> Да (--yes)" : "-> Нет");
  std::fflush(out_);
  return answerYes_;
}

}  // namespace velkor::cli
