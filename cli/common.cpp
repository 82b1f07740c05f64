#include <cstdio>
#include <functional>
#include <map>

#include "cli_host.h"
#include "commands.h"
#include "files/dcf.h"
#include "model/captions.h"

namespace velkor::cli {

namespace {

const std::map<std::string, std::string>& Usages() {
  static const std::map<std::string, std::string> usages = {
      {"new", "velkor-cli [--legacy] new -o DB.dcf"},
      {"show", "velkor-cli [--legacy] show DB.dcf\n       velkor-cli [--legacy] show --new"},
      {"convert", "velkor-cli [--legacy] convert IN.dcf -o OUT.dcf"},
      {"build",
       "velkor-cli [--legacy] build DB.dcf -o IMAGE.rom [--log F] [--ini F] [--prg F] [--no-full-check] [--yes]"},
      {"rom2dcf", "velkor-cli [--legacy] rom2dcf IMAGE.rom -o DB.dcf"},
      {"texts", "velkor-cli texts DB.dcf -o TEXTS.bin [--log F] [--no-full-check]"},
      {"panel",
       "velkor-cli [--legacy] panel read  --port PORT -o OUT.rom|OUT.dcf\n"
       "       velkor-cli [--legacy] panel write --port PORT DB.dcf|IMAGE.rom [--log F] [--ini F] [--prg F] "
       "[--no-full-check] [--yes]\n"
       "       velkor-cli panel texts --port PORT DB.dcf [--no-full-check]"},
      {"read-id", "velkor-cli read-id --port PORT"},
      {"diff", "velkor-cli diff A.rom B.rom"},
  };
  return usages;
}

std::string AllUsages() {
  std::string out;
  for (const char* name : {"new", "show", "convert", "build", "rom2dcf", "texts", "panel", "read-id", "diff"})
    out += "  " + Usages().at(name) + "\n";
  return out;
}

}  // namespace

int UsageError(const std::string& command, const std::string& problem) {
  std::fprintf(stderr, "velkor-cli: %s\n", problem.c_str());
  auto it = Usages().find(command);
  if (it != Usages().end())
    std::fprintf(stderr, "usage: %s\n", it->second.c_str());
  else
    std::fprintf(stderr, "usage:\n%s", AllUsages().c_str());
  return 2;
}

int PrintHelp(const std::string& command) {
  auto it = Usages().find(command);
  if (it != Usages().end())
    std::printf("usage: %s\n", it->second.c_str());
  else
    std::printf(
        "velkor-cli: the panel configurator without a window.\n"
        "Messages go to stderr; --yes answers Yes to the build's questions (default No).\n"
        "Exit status: 0 success, 1 the operation failed, 2 usage error.\n\nusage:\n%s",
        AllUsages().c_str());
  return 0;
}

int NotAvailable(const std::string& command) {
  std::fprintf(stderr, "velkor-cli: %s: not available yet\n", command.c_str());
  return 2;
}

std::string FormatTrees(const Database& db) {
  std::string out;
  auto print = [&](const Tree& tree) {
    std::function<void(const Node&, int)> walk = [&](const Node& n, int depth) {
      out.append(static_cast<std::size_t>(depth) * 2, ' ');
      out += Cp1251ToUtf8(n.Caption);
      out += '\n';
      for (const auto& c : n.Children) walk(*c, depth + 1);
    };
    for (const auto& root : tree.Roots) walk(*root, 0);
  };
  print(db.Hardware);
  print(db.Rooms);
  return out;
}

bool LoadDatabaseFile(Workspace& ws, Host& host, const std::string& path) {
  host.ConvertBegin();
  const bool ok = DBConvertFromFile(ws, host, path);
  host.ConvertEnd();
  if (!ok) {
    ShowWarning(host, "База данных из файла не загружена"_w);
    return false;
  }
  ProcessDataBase(ws.db);
  RefreshModuleCaptions(ws.db);
  return true;
}

}  // namespace velkor::cli
