#pragma once
// The commands of velkor-cli. Each returns the exit status: 0 success,
// 1 the operation failed (its message printed), 2 a usage error.

#include <string>
#include <vector>

#include "host/host.h"
#include "model/variant.h"
#include "model/workspace.h"

namespace velkor::cli {

struct Context {
  Variant variant = Variant::Current;
  std::string command;             // "new", "show", ...
  std::vector<std::string> words;  // the words after the command
};

int CmdNew(const Context& ctx);
int CmdShow(const Context& ctx);
int CmdConvert(const Context& ctx);
int CmdBuild(const Context& ctx);
int CmdRom2Dcf(const Context& ctx);
int CmdTexts(const Context& ctx);
int CmdPanel(const Context& ctx);
int CmdReadId(const Context& ctx);
int CmdDiff(const Context& ctx);

// Prints a usage error and the command's usage; returns 2.
int UsageError(const std::string& command, const std::string& problem);
// Prints the command's usage to stdout (for --help); returns 0.
int PrintHelp(const std::string& command);
// For commands whose part is still being built: exit 2.
int NotAvailable(const std::string& command);

// Both trees as indented captions (UTF-8), in tree order.
std::string FormatTrees(const Database& db);

// "Прочитать полную базу" as the editor does it: the file read behind the
// conversion window, then the derived values and the module captions.
// "База данных из файла не загружена" when it fails.
bool LoadDatabaseFile(Workspace& ws, Host& host, const std::string& path);

}  // namespace velkor::cli
