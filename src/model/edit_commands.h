#pragma once
// The commands that grow and prune the database: the add buttons of the
// cards and the delete button. Each works on the workspace's editor state
// (the selected node, the visible tree, the active card), asks its numbers
// and confirmations through the host, and ends as every change does.
// Each returns true when the database changed.

#include "host/host.h"
#include "model/workspace.h"

namespace velkor {

bool BitBtnPPKAddModuleClick(Workspace& ws, Host& host);
bool BitBtn485AddClick(Workspace& ws, Host& host);
bool BitBtnAdapterAddZoneClick(Workspace& ws, Host& host);
bool BitBtnAdapterOutputAddClick(Workspace& ws, Host& host);
bool BitBtnAdapterSetInputAddClick(Workspace& ws, Host& host);
bool BitBtnAdapterReaderAddClick(Workspace& ws, Host& host);
bool BitBtnUsersListAddClick(Workspace& ws, Host& host);

// Deletes the element of the active card, found in the visible tree.
bool BitBtnDBDelEvent(Workspace& ws, Host& host);

}  // namespace velkor
