#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QStyleFactory>
#include <QTranslator>

#include "main_form.h"

namespace velkor::editor {

void InitApplication(QApplication& app) {
  QApplication::setApplicationName(QStringLiteral("velkor"));
  if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(fusion);
  // The windows were laid out for an 11-pixel sans serif.
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPixelSize(11);
  QApplication::setFont(font);
  // Standard buttons ("Да", "Нет", "Отмена") and dialogs in Russian.
  auto* translator = new QTranslator(&app);
  if (translator->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(translator);
}

}  // namespace velkor::editor
