// Printing the structure listing.

#include <QListWidget>
#include <QPrinter>
#include <QTextDocument>

#include "main_form.h"
#include "qt_host.h"
#include "qt_text.h"

namespace velkor::editor {

void MainForm::BitBtnOutLogPrnClick() {
  QPrinter printer;
  if (!host_.ChoosePrinter(printer)) return;
  if (ExportLogLinesCount(ws_.exportLog) == 0) return;
  // Any range but the whole document prints the selected lines.
  const bool selectionOnly = printer.printRange() != QPrinter::AllPages;
  if (!PrintListing(printer, selectionOnly))
    ShowError(host_, "Невозможно отправить документ на принтер"_w);
}

// The printer repeats the document for the copies asked in the dialog.
bool MainForm::PrintListing(QPrinter& printer, bool selectionOnly) {
  QStringList lines;
  for (int i = 0; i < ExportLogLinesCount(ws_.exportLog); ++i) {
    const QListWidgetItem* item = listViewExportLog_->item(i);
    if (selectionOnly && !(item && item->isSelected())) continue;
    lines << Qs(ExportLogGetLine(ws_.exportLog, i));
  }
  QTextDocument document;
  document.setDefaultFont(listViewExportLog_->font());
  document.setPlainText(lines.join(QLatin1Char('\n')));
  printer.setDocName(QStringLiteral("Export Log File"));
  printer.setPrintRange(QPrinter::AllPages);
  printer.setFromTo(0, 0);
  document.print(&printer);
  return printer.printerState() != QPrinter::Error;
}

}  // namespace velkor::editor
