#pragma once
// A small command-line parser: positional words, options with a value
// ("-o FILE", "--log FILE") and flags ("--yes").

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace velkor::cli {

struct ParsedArgs {
  std::vector<std::string> positional;
  std::map<std::string, std::string> values;
  std::set<std::string> flags;
  std::string error;  // non-empty when the words did not parse

  bool has(const std::string& flag) const { return flags.count(flag) != 0; }
  std::optional<std::string> value(const std::string& option) const;
};

ParsedArgs ParseArgs(const std::vector<std::string>& words, const std::set<std::string>& valueOptions,
                     const std::set<std::string>& flagOptions);

}  // namespace velkor::cli
