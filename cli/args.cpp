#include "args.h"

namespace velkor::cli {

std::optional<std::string> ParsedArgs::value(const std::string& option) const {
  auto it = values.find(option);
  if (it == values.end()) return std::nullopt;
  return it->second;
}

ParsedArgs ParseArgs(const std::vector<std::string>& words, const std::set<std::string>& valueOptions,
                     const std::set<std::string>& flagOptions) {
  ParsedArgs out;
  bool onlyPositional = false;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& w = words[i];
    if (onlyPositional || w.size() < 2 || w[0] != '-') {
      out.positional.push_back(w);
      continue;
    }
    if (w == "--") {
      onlyPositional = true;
      continue;
    }
    if (valueOptions.count(w)) {
      if (i + 1 >= words.size()) {
        out.error = "option " + w + " needs a value";
        return out;
      }
      if (out.values.count(w)) {
        out.error = "option " + w + " given twice";
        return out;
      }
      out.values[w] = words[++i];
      continue;
    }
    if (flagOptions.count(w)) {
      out.flags.insert(w);
      continue;
    }
    out.error = "unknown option " + w;
    return out;
  }
  return out;
}

}  // namespace velkor::cli
