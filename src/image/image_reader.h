#pragma once
// Turning a panel image (DBReadArray) back into a database, and the two
// commands that do so: loading a .ROM file and loading what a panel sent.

#include <string>

#include "host/host.h"
#include "model/workspace.h"

namespace velkor {

// Rebuilds the database from ws.DBReadArray into a database that holds only
// the panel, the base module, the RS-485 node and the rooms node. Never
// refuses an image: inconsistent records are skipped. Warns about an
// unsupported protocol and an unknown SA type. False, without a message,
// after a cancel or when a numbering table is full; the caller then erases
// the half-built database.
bool DBConvertFromPPK(Workspace& ws, Host& host);

// The steps shared by a panel read and a .ROM load once DBReadArray holds the
// image: erase, new database without its keyboard module, DBConvertFromPPK,
// all behind the conversion window. False leaves the database erased; the
// caller says what was not loaded.
bool LoadDatabaseFromReadArray(Workspace& ws, Host& host);

// "Прочитать  \" .ROM \"  файл": reads the file into DBReadArray and the
// database from it. True leaves a changed database with its derived values
// computed; false has already said "База данных из файла не загружена".
bool ReadRomDatabase(Workspace& ws, Host& host, const std::string& path);

}  // namespace velkor
