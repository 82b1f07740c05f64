#pragma once
// The example databases shipped in examples/: built here in code so that
// they can be rebuilt whenever the file format or the model changes, and so
// that tests can use the very same databases.

#include <string>
#include <vector>

#include "model/workspace.h"

namespace velkor::examples {

struct ExampleDatabase {
  std::string fileName;             // under examples/
  void (*build)(Workspace& ws);     // fills a new database (after CreateNewDB)
};

// A realistic small office: a few modules and bus devices of several types,
// groups with zones, SET and TM inputs, outputs used as reactions, users with
// PIN codes and identifiers, Russian and Ukrainian names.
void BuildSmallOffice(Workspace& ws);

// As large as the panel takes in one image: 128 zone slots, all filled, 32 TM
// input slots, 31 devices on the bus, 128 groups and 128 users (see
// examples/README.md for what cannot be full at the same time).
void BuildMaximal(Workspace& ws);

// The other end: all 64 output slots and 29 SET inputs on 31 bus devices,
// with 83 zones in 83 groups and 128 users.
void BuildMaximalOutputs(Workspace& ws);

const std::vector<ExampleDatabase>& ExampleDatabases();

// Makes a fresh workspace holding the example: CreateNewDB, the builder,
// ProcessDataBase, the module captions and a full sort, as the editor would
// leave it before saving.
bool MakeExample(const ExampleDatabase& example, Workspace& ws, Host& host);

}  // namespace velkor::examples
