#pragma once
// The number dialogs over the core's dialog fields, the wait window and the
// list window. The fields and their closing check live in the core
// (model/dialogs.h); a window only shows them, takes the typed values back
// and refuses OK while the check fails.

#include <QDialog>
#include <QWidget>

#include "host/host.h"
#include "model/variant.h"

class QListWidget;

namespace velkor::editor {

// Shows the dialog of `kind` modally over `fields`. Failures of the closing
// check go to `host` as error boxes. True for OK (the fields then hold what
// was typed), false for "Отмена" (the fields are left as they were).
bool ExecNumberDialog(QWidget* owner, Host& host, Variant variant, NumberDialogKind kind, NumberDialogs& fields);

// TSearchForm: shown without waiting around a long search of the trees.
class SearchForm : public QWidget {
  Q_OBJECT
 public:
  explicit SearchForm(QWidget* parent = nullptr);
};

// TGetUsesForm: a list of lines with an OK button; the caller sets the
// caption and the lines.
class GetUsesForm : public QDialog {
  Q_OBJECT
 public:
  explicit GetUsesForm(QWidget* parent = nullptr);
  QListWidget* List() const { return list_; }

 private:
  QListWidget* list_ = nullptr;
};

}  // namespace velkor::editor
