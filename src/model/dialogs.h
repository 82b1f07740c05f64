#pragma once
// The number dialogs through which add and renumber commands ask for
// numbers. Their fields live here, between showings, as the windows keep
// them; the window (or a test double) edits them and closes with OK only
// once ValidateNumberDialog passes.

#include <optional>
#include <string>

namespace velkor {

enum class NumberDialogKind { Adapter, Controller, Zone, Output, SetInput, IDReader, Group, User };

struct DialogEdit {
  std::string Text;  // Windows-1251, at most 3 characters in the window
  bool Enabled = true;
};

struct NumberDialogs {
  // TAdapterForm
  DialogEdit EditSaNumber;
  int AdapterType = 0;  // ComboBoxSAType: the RS-485 device code
  bool AdapterTypeEnabled = true;
  // TControllerForm
  int ControllerItem = 0;  // ComboBoxSAType: items 0..4 = module types 1, 2, 3, 4, 6
  // TZoneForm
  DialogEdit EditZoneNumber;
  DialogEdit EditZoneGroupNumber;
  DialogEdit EditZoneInGroupNumber;
  // TOutputForm
  DialogEdit EditOutputNumber;
  // TSetInputForm
  DialogEdit EditSetInputNumber;
  DialogEdit EditSetInputGroupNumber;
  // TIDReaderForm
  DialogEdit EditIDReaderNumber;
  DialogEdit EditIDReaderGroupNumber;
  bool IDReaderGroupCheck = false;
  // TGroupForm, TUserForm
  DialogEdit EditGroupNumber;
  DialogEdit EditUserNumber;
};

struct DialogFailure {
  std::string Message;  // Windows-1251
  std::string Title;
  std::string Field;    // the control that gets the focus back
};

// The closing check of a dialog pressed OK: the first failing field, or
// nothing when the dialog may close.
std::optional<DialogFailure> ValidateNumberDialog(NumberDialogKind kind, const NumberDialogs& dialogs);

// The whole text as a decimal integer (optional sign), or nothing.
std::optional<long> DialogNumber(const std::string& text);

}  // namespace velkor
