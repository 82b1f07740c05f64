#pragma once
// The core's Host with Qt widgets: message boxes, Yes/No questions and the
// conversion window. The file and print dialogs of the commands are asked
// for here too, so that a test can answer every modal window through one
// seam (a subclass) without driving native dialogs.

#include <QPointer>
#include <QString>
#include <functional>

#include "convert_form.h"
#include "host/host.h"
#include "model/variant.h"

class QWidget;
class QPrinter;

namespace velkor::editor {


class QtHost : public Host {
 public:
  QtHost();
  ~QtHost() override;
  QtHost(const QtHost&) = delete;
  QtHost& operator=(const QtHost&) = delete;

  // The window the boxes are centred on.
  void SetOwner(QWidget* owner);
  // Called with true when the conversion window opens and false when it
  // closes: the owner locks its menu and controls meanwhile, because the
  // conversions let events through.
  void SetBusyHandler(std::function<void(bool)> handler) { busy_ = std::move(handler); }

  void Message(MessageIcon icon, std::string_view title, std::string_view text) override;
  bool Ask(MessageIcon icon, std::string_view title, std::string_view text) override;

  void ConvertBegin() override;
  void ConvertEnd() override;
  void ConvertStep(std::string_view text) override;
  void ConvertElement(std::string_view text) override;
  void ConvertPosition(int percent) override;
  void ConvertCancelEnabled(bool enabled) override;
  bool ConvertCancelled() override;
  void Pause(int milliseconds) override;
  // number_dialogs.cpp: the Qt windows of the number dialogs.
  bool ShowNumberDialog(NumberDialogKind kind, NumberDialogs& fields) override;
  // The catalogues the dialogs' type lists come from.
  void SetVariant(Variant variant) { variant_ = variant; }

  // An existing file to open; empty when the dialog was cancelled.
  virtual QString OpenFileName(const QString& filter);
  // A file name to save under (the dialog asks before overwriting); empty
  // when cancelled.
  virtual QString SaveFileName(const QString& filter);
  // The system print dialog with "selection" and "pages" offered and pages
  // 1 to 1; true when confirmed.
  virtual bool ChoosePrinter(QPrinter& printer);

  ConvertForm* Converter() const { return convert_.data(); }

 protected:
  QWidget* Owner() const { return owner_.data(); }

 private:
  QPointer<QWidget> owner_;
  QPointer<ConvertForm> convert_;
  std::function<void(bool)> busy_;
  int convertDepth_ = 0;
  Variant variant_ = Variant::Current;
};

}  // namespace velkor::editor
