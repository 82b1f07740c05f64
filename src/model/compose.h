#pragma once
// Placing new elements into both trees with their captions, without any
// dialog or check: the last step of every add command, and how tests and the
// example generator put databases together. Each call sorts the children it
// changed and leaves ProcessDataBase to the caller.

#include "model/database.h"

namespace velkor {

// A module of type 1..4 or 6 under the panel; type 1 and 6 become the
// keyboard module.
Node& AddModuleNode(Database& db, byte type);
// A device on the RS-485 bus.
Node& AddBusDeviceNode(Database& db, byte type, byte netNumber);
// The group with this number, made (with its node) when it does not exist.
Node& GroupNode(Database& db, byte number);
Node& AddUserNode(Database& db, byte number);

// Children of a device node; zones and SET inputs also appear under their
// group, a TM input under its group when it has one.
Node& AddZoneNode(Database& db, Node& device, byte numberInAdapter, Node& group, byte numberInGroup);
Node& AddOutputNode(Database& db, Node& device, byte number);
Node& AddSetInputNode(Database& db, Node& device, byte number, Node& group);
Node& AddIDReaderNode(Database& db, Node& device, byte number, Node* group);

}  // namespace velkor
