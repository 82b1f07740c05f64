#pragma once
// TConvertForm: the non-modal window shown around every conversion, with a
// step label, an element label, a bar and "Отменить".

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace velkor::editor {

class ConvertForm : public QWidget {
  Q_OBJECT
 public:
  explicit ConvertForm(QWidget* parent = nullptr);

  // Shows the window afresh: cancel flag cleared, "Отменить" enabled, bar 0.
  void Start();
  void Finish();

  void SetStep(const QString& text);
  void SetElement(const QString& text);
  void SetPosition(int percent);
  void SetCancelEnabled(bool enabled);
  bool Cancelled() const { return cancelled_; }
  bool Running() const { return running_; }

 private:
  QLabel* step_;
  QLabel* element_;
  QProgressBar* bar_;
  QPushButton* cancel_;
  bool cancelled_ = false;
  bool running_ = false;
};

}  // namespace velkor::editor
