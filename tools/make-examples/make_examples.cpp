// Writes the example databases into a folder (examples/ itself when run by
// hand; a scratch folder when the tests check that the committed files are
// what this program makes).

#include <cstdio>
#include <string>

#include "example_databases.h"
#include "files/dcf.h"
#include "host/scripted_host.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: velkor-make-examples FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  int status = 0;
  for (const auto& example : velkor::examples::ExampleDatabases()) {
    velkor::ScriptedHost host;
    velkor::Workspace ws;
    const std::string path = folder + "/" + example.fileName;
    if (!velkor::examples::MakeExample(example, ws, host) || !velkor::DBConvertToFile(ws, host, path)) {
      std::fprintf(stderr, "velkor-make-examples: %s not written\n", path.c_str());
      status = 1;
    }
  }
  return status;
}
