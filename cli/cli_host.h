#pragma once
// The command line's Host: message boxes go to stderr in UTF-8 with their
// title; Yes/No questions take the default (No) unless --yes was given.

#include <cstdio>

#include "host/host.h"

namespace velkor::cli {

class CliHost : public Host {
 public:
  explicit CliHost(bool answerYes, std::FILE* out = stderr) : answerYes_(answerYes), out_(out) {}

  void Message(MessageIcon icon, std::string_view title, std::string_view text) override;
  bool Ask(MessageIcon icon, std::string_view title, std::string_view text) override;
  int messageCount() const { return messages_; }

 private:
  bool answerYes_;
  std::FILE* out_;
  int messages_ = 0;
};

// A Windows-1251 message text for the terminal: UTF-8, "\r" as a line break.
std::string TerminalText(std::string_view cp1251);

}  // namespace velkor::cli
