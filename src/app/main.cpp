// velkor: the desktop configurator.

#include <QApplication>
#include <QScreen>
#include <QStyle>

#include "main_form.h"
#include "qt_host.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  velkor::editor::InitApplication(app);
  velkor::editor::QtHost host;
  QStringList arguments = QApplication::arguments();
  arguments.removeFirst();
  velkor::editor::MainForm form(host, arguments);
  form.adjustSize();
  if (const QScreen* screen = QApplication::primaryScreen())
    form.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, form.size(), screen->availableGeometry()));
  form.show();
  return QApplication::exec();
}
