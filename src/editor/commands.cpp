// The database menu's commands, from click to final message.

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QTabWidget>

#include "core_ops.h"
#include "exchange_form.h"
#include "main_form.h"
#include "qt_host.h"
#include "qt_text.h"

namespace velkor::editor {

namespace {

constexpr std::string_view kNotLoadedFromFile = "База данных из файла не загружена"_w;
constexpr std::string_view kNotSavedToFile = "База данных в файл не сохранена"_w;

}  // namespace

void MainForm::MenuDBNew() {
  ws_.editor.ViewCardEnabled = false;
  BeginRebuild();
  const bool ok = CreateNewDB(ws_, host_);
  EndRebuild();
  if (ok) FinishCommand(ProgramTitle() + QStringLiteral("  -  новая база"), true);
}

void MainForm::MenuDBReadDB() {
  const QString path = host_.OpenFileName(QStringLiteral("файлы *.DCF (*.DCF *.dcf)"));
  host_.ConvertBegin();
  ws_.editor.ViewCardEnabled = false;
  BeginRebuild();
  const bool ok = !path.isEmpty() && LoadDatabaseFile(ws_, host_, LocalPath(path));
  host_.ConvertEnd();
  EndRebuild();
  if (ok) {
    FinishCommand(ProgramTitle() + QStringLiteral("  -  файл ") + ShortFileName(path), false);
  } else {
    // The file reader leaves either no database or a whole one: show the
    // cards of what is there again.
    ws_.editor.ViewCardEnabled = true;
    ProcessViewCard();
    Say(kNotLoadedFromFile);
  }
}

void MainForm::MenuDBReadHex() {
  const QString path = host_.OpenFileName(QStringLiteral("файлы *.ROM (*.ROM *.rom)"));
  if (path.isEmpty()) {
    Say(kNotLoadedFromFile);
    return;
  }
  ws_.editor.ViewCardEnabled = false;
  BeginRebuild();
  const bool ok = LoadRomFile(ws_, host_, LocalPath(path));
  EndRebuild();
  if (ok) {
    FinishCommand(ProgramTitle() + QStringLiteral("  -  файл ") + ShortFileName(path), true);
  } else {
    ws_.editor.ViewCardEnabled = true;
    ProcessViewCard();
  }
}

void MainForm::MenuDBWriteDB() {
  const QString path = host_.SaveFileName(QStringLiteral("файлы *.DCF (*.DCF *.dcf)"));
  host_.ConvertBegin();
  const bool ok = !path.isEmpty() && SaveDatabaseFile(ws_, host_, LocalPath(path));
  host_.ConvertEnd();
  if (ok)
    ws_.editor.DBChanged = false;
  else
    Say(kNotSavedToFile);
}

void MainForm::SetSettingsEnabled(bool enabled) {
  for (QCheckBox* box : {checkLogExport_, checkIniExport_, checkPrgExport_, checkFullConvert_}) box->setEnabled(enabled);
}

bool MainForm::BuildImage(bool askNames) {
  if (askNames) {
    const QString chosen = host_.SaveFileName(QStringLiteral("экспортные файлы (*.ROM *.LOG *.INI *.PRG)"));
    if (chosen.isEmpty()) return false;
    // The base name is the file name up to its first ".", in the folder
    // chosen.
    const QFileInfo info(chosen);
    const QString name = info.fileName();
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    const QString base = QDir(info.path()).filePath(dot >= 0 ? name.left(dot) : name);
    romFileName_ = base + QStringLiteral(".rom");
    iniFileName_ = base + QStringLiteral(".ini");
    logFileName_ = base + QStringLiteral(".log");
    prgFileName_ = base + QStringLiteral(".prg");
  }
  BuildRequest request;
  request.FullConvert = checkFullConvert_->isChecked();
  request.LogExport = checkLogExport_->isChecked();
  request.IniExport = checkIniExport_->isChecked();
  request.PrgExport = checkPrgExport_->isChecked();
  request.LogFileName = LocalPath(logFileName_);
  request.IniFileName = LocalPath(iniFileName_);
  request.PrgFileName = LocalPath(prgFileName_);
  SetSettingsEnabled(false);
  const bool ok = RunImageBuild(ws_, host_, request);
  SetSettingsEnabled(true);
  RefreshListing();
  return ok;
}

void MainForm::MenuDBWriteHex() {
  bool written = false;
  if (BuildImage(true)) {
    mainPageControl_->setCurrentWidget(tabSheetExportLog_);
    written = WriteRomFile(host_, LocalPath(romFileName_), ws_.DBStoreArray);
  }
  if (!written) Say(kNotSavedToFile);
}

void MainForm::MenuDBErace() {
  if (!host_.Ask(MessageIcon::Question, kTitleWarning, "Очистить базу данных?"_w)) return;
  ws_.editor.ViewCardEnabled = false;
  BeginRebuild();
  const bool ok = EraceDB(ws_, host_);
  EndRebuild();
  if (ok) FinishCommand(ProgramTitle(), false);
}

// ---- the panel commands

bool MainForm::PortOpen() {
  if (port_.ComPortHandle != -1) return true;
  Say("Отсутствует открытый Com - порт.\rПроверьте установку Com - порта в закладке \"Установки\""_w);
  return false;
}

int MainForm::RunExchange(int mode) {
  const auto m = static_cast<ExchangeMode>(mode);
  ExchangeSession::Body body;
  switch (m) {
    case ExchangeMode::ReadConfig:
      body = [this](TransferContext& ctx) { ReadDBTransfer(ctx, ws_.DBReadArray); };
      break;
    case ExchangeMode::WriteConfig:
      body = [this](TransferContext& ctx) { StoreDBTransfer(ctx, ws_.DBStoreArray); };
      break;
    case ExchangeMode::WriteTexts:
      body = [this](TransferContext& ctx) { TextDBTransfer(ctx, textImage_); };
      break;
  }
  ExchangeForm form(ExchangeForm::Kind::Exchange, host_, this);
  return form.Run(Qs(ExchangeCaption(m)), ExchangeErrorText(m), port_, std::move(body));
}

bool MainForm::ReadIdentifier(std::string& value) {
  if (!PortOpen()) return false;
  std::string read;
  ExchangeForm form(ExchangeForm::Kind::ReadID, host_, this);
  const int result = form.Run(Qs(kReadIDCaption), kReadIDErrorText, port_,
                              [&read](TransferContext& ctx) { ReadIDTransfer(ctx, read); });
  if (result != kExchangeSuccess) return false;
  value = read;
  return true;
}

void MainForm::MenuDBLoad() {
  constexpr std::string_view kNotRead = "База данных из ППК не прочитана"_w;
  if (!PortOpen()) return;
  if (RunExchange(static_cast<int>(ExchangeMode::ReadConfig)) != kExchangeSuccess) {
    Say(kNotRead);
    return;
  }
  ws_.editor.ViewCardEnabled = false;
  BeginRebuild();
  const bool ok = LoadFromReadArray(ws_, host_);
  EndRebuild();
  if (ok) {
    FinishCommand(ProgramTitle() + QStringLiteral("  -  база прочитана из ППК"), true);
  } else {
    ws_.editor.ViewCardEnabled = true;
    ProcessViewCard();
    Say(kNotRead);
  }
}

void MainForm::MenuDBStore() {
  if (!PortOpen()) return;
  const bool exports = checkLogExport_->isChecked() || checkIniExport_->isChecked() || checkPrgExport_->isChecked();
  if (BuildImage(exports)) {
    mainPageControl_->setCurrentWidget(tabSheetExportLog_);
    if (RunExchange(static_cast<int>(ExchangeMode::WriteConfig)) == kExchangeSuccess) return;
  }
  Say("База данных в ППК не записана"_w);
}

void MainForm::MenuTXTStore() {
  if (!PortOpen()) return;
  host_.ConvertBegin();
  const bool ok = BuildTextImage(ws_, host_, textImage_, checkFullConvert_->isChecked());
  host_.ConvertEnd();
  if (!ok) ExportLogClear(ws_.exportLog);
  RefreshListing();
  if (ok) {
    mainPageControl_->setCurrentWidget(tabSheetExportLog_);
    if (RunExchange(static_cast<int>(ExchangeMode::WriteTexts)) == kExchangeSuccess) return;
  }
  Say("Тексты в ППК не записаны"_w);
}

}  // namespace velkor::editor
