#pragma once
// TAboutForm: the program's title lines and version, and the key sequence
// (typed with Alt held) that switches the service mode.

#include <QDialog>
#include <string_view>

class QLabel;

namespace velkor::editor {

// The program's version text: the executable's date in the long date format
// and ",  ver. " with the major and minor version; "Undefined version" when
// either cannot be read.
QString VersionText();

// The key sequence position and its rule, apart from any window.
class ServiceKeySequence {
 public:
  static constexpr std::string_view kLetters = "QUARTZWINDMILLBEAK";

  void Reset() { position_ = 0; }
  // One key press; true when the whole sequence has just been completed.
  bool Feed(int key, Qt::KeyboardModifiers modifiers);
  int Position() const { return position_; }

 private:
  int position_ = 0;
};

class AboutForm : public QDialog {
  Q_OBJECT
 public:
  // protectionEnabled: the flag the sequence inverts (1 = service mode off).
  AboutForm(int& protectionEnabled, QWidget* parent = nullptr);

  const ServiceKeySequence& Sequence() const { return sequence_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  int& protection_;
  ServiceKeySequence sequence_;
  QLabel* labelRequisite_;
};

}  // namespace velkor::editor
