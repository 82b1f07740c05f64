// The desktop program driven as a user would, headless. Modal boxes and file
// dialogs are answered through the host seam (TestHost); waits use QTRY_*.

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QtTest>
#include <deque>
#include <memory>

#include "about_form.h"
#include "main_form.h"
#include "memory_view.h"
#include "qt_host.h"
#include "qt_text.h"
#include "tree_model.h"

using namespace velkor;
using namespace velkor::editor;

namespace {

struct Box {
  QString title;
  QString text;
};

// Records every box and answers questions and file dialogs from queues.
class TestHost : public QtHost {
 public:
  void Message(MessageIcon, std::string_view title, std::string_view text) override {
    boxes.push_back({Qs(title), QsMessage(text)});
  }
  bool Ask(MessageIcon, std::string_view title, std::string_view text) override {
    questions.push_back({Qs(title), QsMessage(text)});
    if (answers.empty()) return false;
    const bool a = answers.front();
    answers.pop_front();
    return a;
  }
  QString OpenFileName(const QString&) override { return Next(); }
  QString SaveFileName(const QString&) override { return Next(); }
  bool ChoosePrinter(QPrinter& printer) override {
    if (pdfPath.isEmpty()) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    if (printSelection) printer.setPrintRange(QPrinter::Selection);
    return true;
  }
  QString Next() {
    if (files.empty()) return {};
    QString f = files.front();
    files.pop_front();
    return f;
  }
  QStringList BoxTexts() const {
    QStringList out;
    for (const Box& b : boxes) out << b.text;
    return out;
  }

  std::vector<Box> boxes;
  std::vector<Box> questions;
  std::deque<bool> answers;
  std::deque<QString> files;
  QString pdfPath;
  bool printSelection = false;
};

// A panel simulator on a pseudo-terminal, mapped to COM1; stopped by pid.
class Simulator {
 public:
  bool Start(const QString& dir, const QStringList& extra = {}) {
    ptyFile_ = dir + QStringLiteral("/pty");
    QStringList args{QStringLiteral("--pty-file"), ptyFile_, QStringLiteral("--report"),
                     dir + QStringLiteral("/report.json"), QStringLiteral("--copy-delay"), QStringLiteral("50")};
    args << extra;
    process_.start(QStringLiteral(VELKOR_SIM), args);
    if (!process_.waitForStarted(5000)) return false;
    QFile pty(ptyFile_);
    for (int i = 0; i < 500 && !(pty.exists() && pty.size() > 0); ++i) QTest::qWait(10);
    if (!pty.open(QIODevice::ReadOnly)) return false;
    const QByteArray path = pty.readAll().trimmed();
    qputenv("VELKOR_COM1", path);
    return !path.isEmpty();
  }
  ~Simulator() {
    if (process_.state() != QProcess::NotRunning) {
      process_.terminate();
      if (!process_.waitForFinished(3000)) process_.kill();
      process_.waitForFinished(1000);
    }
    qputenv("VELKOR_COM1", "/nonexistent/com1");
  }

 private:
  QProcess process_;
  QString ptyFile_;
};

template <class T>
T* Find(QObject* root, const char* name) {
  T* found = root->findChild<T*>(QString::fromLatin1(name));
  if (!found) qFatal("no control %s", name);
  return found;
}

QAction* Action(QObject* form, const char* name) { return Find<QAction>(form, name); }

// Answers the next modal exchange window: waits for its "OK" and presses it.
// `shot`: a picture of the window as it ends, for people to look at.
void PressOkWhenDone(int timeoutMs, const QString& shot = {}) {
  auto* timer = new QTimer();
  auto* elapsed = new QElapsedTimer();
  elapsed->start();
  QObject::connect(timer, &QTimer::timeout, [timer, elapsed, timeoutMs, shot] {
    QWidget* modal = QApplication::activeModalWidget();
    auto* button = modal ? modal->findChild<QPushButton*>(QStringLiteral("BitBtnCancel")) : nullptr;
    if ((button && button->text() == QStringLiteral("OK")) || elapsed->elapsed() > timeoutMs) {
      if (modal && !shot.isEmpty()) modal->grab().save(shot);
      if (button) button->click();
      timer->stop();
      timer->deleteLater();
      delete elapsed;
    }
  });
  timer->start(20);
}

// One answer to a number dialog: the dialog expected, the texts typed into
// its edits, the type item chosen (-1 leaves it) and the button pressed.
struct DialogAnswer {
  const char* dialog;
  std::vector<std::pair<const char*, QString>> edits;
  int typeItem = -1;
  bool ok = true;
};

// Answers the next number dialogs in turn as they come up; a failed closing
// check keeps a dialog open, so one dialog may take several answers.
// `log` gets, per answer, the focused control after the press (or "closed").
void AnswerDialogs(std::vector<DialogAnswer> answers, QStringList* log) {
  auto* timer = new QTimer();
  auto queue = std::make_shared<std::deque<DialogAnswer>>(answers.begin(), answers.end());
  auto pending = std::make_shared<QPointer<QWidget>>();
  QObject::connect(timer, &QTimer::timeout, [timer, queue, pending, log] {
    QWidget* modal = QApplication::activeModalWidget();
    if (*pending) {
      // The previous press left its dialog open: note where the focus went.
      if (modal != pending->data()) return;
      QWidget* focus = QApplication::focusWidget();
      *log << (focus ? focus->objectName() : QString());
      *pending = nullptr;
    }
    if (queue->empty()) {
      timer->stop();
      timer->deleteLater();
      return;
    }
    if (!modal || modal->objectName() != QString::fromLatin1(queue->front().dialog)) return;
    const DialogAnswer a = queue->front();
    queue->pop_front();
    for (const auto& [name, text] : a.edits) Find<QLineEdit>(modal, name)->setText(text);
    if (a.typeItem >= 0) Find<QComboBox>(modal, "ComboBoxSAType")->setCurrentIndex(a.typeItem);
    QPointer<QWidget> dialog(modal);
    Find<QPushButton>(modal, a.ok ? "BitBtnOK" : "BitBtnCancel")->click();
    if (dialog && dialog->isVisible())
      *pending = dialog;
    else
      *log << QStringLiteral("closed");
  });
  timer->start(10);
}

}  // namespace

class GuiTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TestHost> host_;
  std::unique_ptr<MainForm> form_;

  MainForm& Open(const QStringList& args = {}) {
    form_.reset();
    host_ = std::make_unique<TestHost>();
    form_ = std::make_unique<MainForm>(*host_, args);
    form_->show();
    return *form_;
  }
  void NewDatabase() {
    Action(form_.get(), "MenuDBNew")->trigger();
    QVERIFY(form_->Ws().db.Exists());
  }
  QWidget* CurrentCard() { return Find<QStackedWidget>(form_.get(), "PageControlDB")->currentWidget(); }

 private slots:
  void initTestCase() {
    InitApplication(*qApp);
    for (int n = 1; n <= 8; ++n)
      qputenv(QStringLiteral("VELKOR_COM%1").arg(n).toLatin1().constData(),
              QStringLiteral("/nonexistent/com%1").arg(n).toLatin1());
  }
  void cleanup() {
    if (form_) form_->Ws().editor.DBChanged = false;
    form_.reset();
    host_.reset();
  }

  void startUp() {
    MainForm& f = Open();
    QCOMPARE(f.windowTitle(), ProgramTitle());
    QCOMPARE(f.centralWidget()->size(), QSize(633, 434));
    QCOMPARE(host_->boxes.size(), std::size_t{1});
    QCOMPARE(host_->boxes[0].title, QStringLiteral("Внимание!"));
    QVERIFY(host_->boxes[0].text.startsWith(QStringLiteral("Внимание!\nДанная программа")));
    const std::pair<const char*, bool> menus[] = {
        {"MenuDBNew", true},          {"MenuDBLoad", true},    {"MenuDBReadAction", true},
        {"MenuDBWriteAction", false}, {"MenuDBStore", false},  {"MenuTXTStore", false},
        {"MenuDBErace", false},       {"MenuDBExit", true},    {"MenuHelpAbout", true}};
    for (const auto& [name, enabled] : menus) QVERIFY2(Action(&f, name)->isEnabled() == enabled, name);
    auto* tabs = Find<QTabWidget>(&f, "MainPageControl");
    QCOMPARE(tabs->currentWidget()->objectName(), QStringLiteral("TabSheetConf"));
    QVERIFY(!tabs->isTabVisible(3));
    QVERIFY(!Find<QWidget>(&f, "PanelTreeView")->isVisible());
    QCOMPARE(Find<QLabel>(&f, "LabelSetCurrentComPort")->text(), QStringLiteral("Com-порт не выбран"));
    QVERIFY(!Find<QCheckBox>(&f, "BitCheckBoxSetLogExport")->isChecked());
    QVERIFY(!Find<QCheckBox>(&f, "BitCheckBoxSetIniExport")->isChecked());
    QVERIFY(!Find<QCheckBox>(&f, "BitCheckBoxSetPrgExport")->isChecked());
    QVERIFY(Find<QCheckBox>(&f, "BitCheckBoxSetFullConvert")->isChecked());
    QVERIFY(Find<QPushButton>(&f, "BitBtnSetCommChange")->isEnabled());
    QVERIFY(!Find<QPushButton>(&f, "BitBtnSetCommCancel")->isEnabled());
  }

  void altCShowsTheSettings() {
    MainForm& f = Open();
    // Keys reach the window's shortcuts only while it is the active window.
    f.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    auto* tabs = Find<QTabWidget>(&f, "MainPageControl");
    QTest::keyClick(&f, Qt::Key_C, Qt::ShiftModifier | Qt::AltModifier);
    QCOMPARE(tabs->currentWidget()->objectName(), QStringLiteral("TabSheetConf"));
    QTest::keyClick(&f, Qt::Key_C, Qt::AltModifier);
    QCOMPARE(tabs->currentWidget()->objectName(), QStringLiteral("TabSheetSet"));
  }

  void newAndEraseSwitchMenusAndCaptions() {
    MainForm& f = Open();
    NewDatabase();
    QCOMPARE(f.windowTitle(), ProgramTitle() + QStringLiteral("  -  новая база"));
    QVERIFY(f.Ws().editor.DBChanged);
    QVERIFY(!Action(&f, "MenuDBNew")->isEnabled());
    QVERIFY(!Action(&f, "MenuDBLoad")->isEnabled());
    QVERIFY(!Action(&f, "MenuDBReadAction")->isEnabled());
    QVERIFY(Action(&f, "MenuDBWriteAction")->isEnabled());
    QVERIFY(Action(&f, "MenuDBStore")->isEnabled());
    QVERIFY(Action(&f, "MenuTXTStore")->isEnabled());
    QVERIFY(Action(&f, "MenuDBErace")->isEnabled());
    QVERIFY(Find<QWidget>(&f, "PanelTreeView")->isVisible());
    QCOMPARE(CurrentCard()->objectName(), QStringLiteral("TabSheetPPK"));

    // "Очистить" answered No changes nothing; Yes erases.
    Action(&f, "MenuDBErace")->trigger();
    QCOMPARE(host_->questions.back().text, QStringLiteral("Очистить базу данных?"));
    QCOMPARE(host_->questions.back().title, QStringLiteral("Внимание"));
    QVERIFY(f.Ws().db.Exists());
    host_->answers = {true};
    Action(&f, "MenuDBErace")->trigger();
    QVERIFY(!f.Ws().db.Exists());
    QCOMPARE(f.windowTitle(), ProgramTitle());
    QVERIFY(!f.Ws().editor.DBChanged);
    QVERIFY(Action(&f, "MenuDBNew")->isEnabled());
    QVERIFY(!Action(&f, "MenuDBErace")->isEnabled());
    QVERIFY(!Find<QWidget>(&f, "PanelTreeView")->isVisible());
  }

  void shortFileName_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("shown");
    QTest::newRow("24 whole") << QStringLiteral("/home/user/abc/defgh.dcf") << QStringLiteral("/home/user/abc/defgh.dcf");
    QTest::newRow("25 cut") << QStringLiteral("/home/user/abcd/defgh.dcf") << QStringLiteral("...e/user/abcd/defgh.dcf");
  }
  void shortFileName() {
    QFETCH(QString, path);
    QFETCH(QString, shown);
    QCOMPARE(ShortFileName(path), shown);
    QVERIFY(ShortFileName(path).size() <= 24);
  }

  void treesShowTheCoreModelAndChooseCards() {
    MainForm& f = Open();
    NewDatabase();
    QAbstractItemModelTester hardwareTester(&f.HardwareModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QAbstractItemModelTester roomsTester(&f.RoomsModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    auto* ppk = Find<QTreeView>(&f, "PPKTreeView");
    NodeTreeModel& hw = f.HardwareModel();
    const QModelIndex panel = hw.index(0, 0);
    QCOMPARE(panel.data().toString(), QStringLiteral("ППК Ворсан"));
    QStringList children;
    for (int r = 0; r < hw.rowCount(panel); ++r) children << hw.index(r, 0, panel).data().toString();
    QCOMPARE(children, (QStringList{QStringLiteral("Ворсан - БМ8"), QStringLiteral("Ворсан - ПУС"),
                                    QStringLiteral("Интерфейс 485")}));
    QVERIFY(ppk->isExpanded(panel));

    auto* del = Find<QPushButton>(&f, "BitBtnDBDel");
    struct Case {
      int row;
      const char* card;
      bool deleteAllowed;
    };
    for (const Case& c : {Case{0, "TabSheetController", false}, Case{1, "TabSheetController", true},
                          Case{2, "TabSheet485", false}}) {
      ppk->setCurrentIndex(hw.index(c.row, 0, panel));
      QCOMPARE(CurrentCard()->objectName(), QString::fromLatin1(c.card));
      QCOMPARE(del->property("deleteAllowed").toBool(), c.deleteAllowed);
      QCOMPARE(del->isEnabled(), c.deleteAllowed);
    }
    QVERIFY(Find<QPushButton>(&f, "BitBtn485ADDAdapter")->isEnabled());

    // The tab strip swaps the trees and shows the rooms card.
    Find<QTabBar>(&f, "TabSetTree")->setCurrentIndex(1);
    QVERIFY(Find<QTreeView>(&f, "GroupTreeView")->isVisible());
    QVERIFY(!ppk->isVisible());
    QCOMPARE(CurrentCard()->objectName(), QStringLiteral("TabSheetRooms"));
    Find<QTabBar>(&f, "TabSetTree")->setCurrentIndex(0);
    QCOMPARE(CurrentCard()->objectName(), QStringLiteral("TabSheet485"));

    // Opening the root closes every branch below it.
    ppk->collapse(panel);
    ppk->expand(panel);
    for (int r = 0; r < hw.rowCount(panel); ++r) QVERIFY(!ppk->isExpanded(hw.index(r, 0, panel)));
  }

  void addAndDeleteThroughTheCards() {
    MainForm& f = Open();
    NewDatabase();
    auto* ppk = Find<QTreeView>(&f, "PPKTreeView");
    auto* rooms = Find<QTreeView>(&f, "GroupTreeView");
    NodeTreeModel& hw = f.HardwareModel();
    NodeTreeModel& rm = f.RoomsModel();
    auto childCaptions = [](const QModelIndex& parent) {
      QStringList out;
      for (int r = 0; r < parent.model()->rowCount(parent); ++r) out << parent.model()->index(r, 0, parent).data().toString();
      return out;
    };
    auto childNamed = [](const QModelIndex& parent, const QString& caption) {
      for (int r = 0; r < parent.model()->rowCount(parent); ++r)
        if (parent.model()->index(r, 0, parent).data().toString() == caption) return parent.model()->index(r, 0, parent);
      return QModelIndex();
    };
    QStringList log;

    // A device on the bus: address 0 is refused with the focus back in the
    // field, Cancel closes an invalid dialog without a check, then address 5.
    ppk->setCurrentIndex(childNamed(hw.index(0, 0), QStringLiteral("Интерфейс 485")));
    QCOMPARE(CurrentCard()->objectName(), QStringLiteral("TabSheet485"));
    AnswerDialogs({{"TAdapterForm", {{"EditSaNumber", QStringLiteral("0")}}, -1, false}}, &log);
    Find<QPushButton>(&f, "BitBtn485ADDAdapter")->click();
    QCOMPARE(log, QStringList{QStringLiteral("closed")});
    QVERIFY(host_->boxes.size() == 1);
    log.clear();
    AnswerDialogs({{"TAdapterForm", {{"EditSaNumber", QStringLiteral("0")}}, 1},
                   {"TAdapterForm", {{"EditSaNumber", QStringLiteral("5")}}, 1}},
                  &log);
    Find<QPushButton>(&f, "BitBtn485ADDAdapter")->click();
    QCOMPARE(log, (QStringList{QStringLiteral("EditSaNumber"), QStringLiteral("closed")}));
    QCOMPARE(host_->boxes.back().title, QStringLiteral("Ошибка номера адаптера"));
    QCOMPARE(host_->boxes.back().text,
             QStringLiteral("Значение в поле номера адаптера должно быть в пределах от 1 до 31"));
    const QModelIndex bus = childNamed(hw.index(0, 0), QStringLiteral("Интерфейс 485"));
    QCOMPARE(hw.rowCount(bus), 1);
    const QModelIndex device = hw.index(0, 0, bus);
    QCOMPARE(device.data().toString(), QStringLiteral("05 > Ворсан - ШВ8"));

    // A zone on it through the resource block.
    ppk->setCurrentIndex(device);
    QCOMPARE(CurrentCard()->objectName(), QStringLiteral("TabSheetAdapter"));
    auto* zoneAdd = Find<QPushButton>(&f, "BitBtnAdapterZoneAdd");
    QVERIFY(zoneAdd->isEnabled());
    QCOMPARE(Find<QLabel>(&f, "LabelAdapterZonesUsed")->text(), QStringLiteral("Всего задействовано шлейфов:  0"));
    log.clear();
    AnswerDialogs({{"TZoneForm",
                    {{"EditZoneNumber", QStringLiteral("2")},
                     {"EditZoneGroupNumber", QStringLiteral("129")},
                     {"EditZoneInGroupNumber", QStringLiteral("1")}}},
                   {"TZoneForm", {{"EditZoneGroupNumber", QStringLiteral("5")}}}},
                  &log);
    zoneAdd->click();
    QCOMPARE(log, (QStringList{QStringLiteral("EditZoneGroupNumber"), QStringLiteral("closed")}));
    QCOMPARE(host_->boxes.back().title, QStringLiteral("Ошибка номера группы"));
    const QModelIndex deviceNow = hw.index(0, 0, childNamed(hw.index(0, 0), QStringLiteral("Интерфейс 485")));
    QCOMPARE(childCaptions(deviceNow), QStringList{QStringLiteral("02 > Шлейф")});
    QVERIFY(childCaptions(rm.index(0, 0)).contains(QStringLiteral("Группа 005")));
    QCOMPARE(CurrentCard()->objectName(), QStringLiteral("TabSheetAdapter"));
    QCOMPARE(Find<QLabel>(&f, "LabelAdapterZonesUsed")->text(), QStringLiteral("Всего задействовано шлейфов:  1"));

    // A user from the rooms card.
    Find<QTabBar>(&f, "TabSetTree")->setCurrentIndex(1);
    rooms->setCurrentIndex(rm.index(0, 0));
    QCOMPARE(CurrentCard()->objectName(), QStringLiteral("TabSheetRooms"));
    QVERIFY(!Find<QPushButton>(&f, "BitBtnDBDel")->isEnabled());
    log.clear();
    AnswerDialogs({{"TUserForm", {{"EditUserNumber", QStringLiteral("3")}}}}, &log);
    Find<QPushButton>(&f, "BitBtnUsersListAdd")->click();
    QCOMPARE(log, QStringList{QStringLiteral("closed")});
    QCOMPARE(childCaptions(rm.index(0, 0)),
             (QStringList{QStringLiteral("003 > Пользователь"), QStringLiteral("Группа 005")}));
    const int roomsRows = rm.rowCount(rm.index(0, 0));
    rooms->setCurrentIndex(childNamed(rm.index(0, 0), QStringLiteral("003 > Пользователь")));
    QCOMPARE(CurrentCard()->objectName(), QStringLiteral("TabSheetUser"));

    // Deleting them again, each confirmed; No keeps the user.
    auto* del = Find<QPushButton>(&f, "BitBtnDBDel");
    del->click();
    QCOMPARE(rm.rowCount(rm.index(0, 0)), roomsRows);
    host_->answers = {true};
    del->click();
    QCOMPARE(rm.rowCount(rm.index(0, 0)), roomsRows - 1);
    QCOMPARE(host_->questions.size(), std::size_t{2});

    Find<QTabBar>(&f, "TabSetTree")->setCurrentIndex(0);
    const QModelIndex busNow = childNamed(hw.index(0, 0), QStringLiteral("Интерфейс 485"));
    ppk->setCurrentIndex(hw.index(0, 0, hw.index(0, 0, busNow)));
    QCOMPARE(CurrentCard()->objectName(), QStringLiteral("TabSheetZone"));
    host_->answers = {true};
    del->click();
    QCOMPARE(hw.rowCount(hw.index(0, 0, busNow)), 0);
    QVERIFY(!childCaptions(rm.index(0, 0)).contains(QStringLiteral("Группа 005")));

    ppk->setCurrentIndex(hw.index(0, 0, childNamed(hw.index(0, 0), QStringLiteral("Интерфейс 485"))));
    QCOMPARE(CurrentCard()->objectName(), QStringLiteral("TabSheetAdapter"));
    host_->answers = {true};
    del->click();
    QCOMPARE(hw.rowCount(childNamed(hw.index(0, 0), QStringLiteral("Интерфейс 485"))), 0);
    QVERIFY(ppk->currentIndex().isValid());

    // A relay module from the panel card.
    ppk->setCurrentIndex(hw.index(0, 0));
    QCOMPARE(CurrentCard()->objectName(), QStringLiteral("TabSheetPPK"));
    log.clear();
    AnswerDialogs({{"TControllerForm", {}, 3}}, &log);
    Find<QPushButton>(&f, "BitBtnPPKAddModule")->click();
    QCOMPARE(log, QStringList{QStringLiteral("closed")});
    const QModelIndex relay = childNamed(hw.index(0, 0), QStringLiteral("Ворсан - ПУП"));
    QVERIFY(relay.isValid());
    ppk->setCurrentIndex(relay);
    QCOMPARE(CurrentCard()->objectName(), QStringLiteral("TabSheetController"));
    // It has nothing of the four kinds: the whole block is disabled.
    QCOMPARE(Find<QLabel>(&f, "LabelControllerZonesTotal")->text(), QStringLiteral("Всего доступно шлейфов:  0"));
    for (const char* name : {"BitBtnControllerZoneAdd", "BitBtnControllerReaderAdd", "BitBtnControllerSetInputAdd",
                             "BitBtnControllerOutputAdd", "LabelControllerZonesTotal", "LabelControllerOutputsUsed"})
      QVERIFY2(!Find<QWidget>(&f, name)->isEnabled(), name);
    host_->answers = {true};
    del->click();
    QVERIFY(!childNamed(hw.index(0, 0), QStringLiteral("Ворсан - ПУП")).isValid());
  }

  // Each dialog opens with its caption and the focus in its first enabled
  // field, shows the preset texts, and writes back only on OK.
  void numberDialogsShowAndReturnTheirFields() {
    MainForm& f = Open();
    struct Case {
      NumberDialogKind kind;
      const char* dialog;
      QString caption;
      const char* focused;
    };
    const Case cases[] = {
        {NumberDialogKind::Adapter, "TAdapterForm", QStringLiteral("Атрибуты адаптера или клавиатуры"), "ComboBoxSAType"},
        {NumberDialogKind::Controller, "TControllerForm", QStringLiteral("Атрибуты модуля"), "ComboBoxSAType"},
        {NumberDialogKind::Zone, "TZoneForm", QStringLiteral("Атрибуты шлейфа"), "EditZoneGroupNumber"},
        {NumberDialogKind::Output, "TOutputForm", QStringLiteral("Атрибуты управляемого выхода"), "EditOutputNumber"},
        {NumberDialogKind::SetInput, "TSetInputForm", QStringLiteral("Атрибуты входа SET"), "EditSetInputGroupNumber"},
        {NumberDialogKind::IDReader, "TIDReaderForm", QStringLiteral("Атрибуты TM входа"), "EditIDReaderGroupNumber"},
        {NumberDialogKind::Group, "TGroupForm", QStringLiteral("Атрибуты группы"), "EditGroupNumber"},
        {NumberDialogKind::User, "TUserForm", QStringLiteral("Атрибуты пользователя"), "EditUserNumber"},
    };
    for (const Case& c : cases) {
      NumberDialogs fields;
      // The callers disable the device number when the device has one place.
      for (DialogEdit* e : {&fields.EditSaNumber, &fields.EditZoneNumber, &fields.EditSetInputNumber,
                            &fields.EditIDReaderNumber})
        *e = {"1", false};
      fields.ControllerItem = 2;
      QString caption, focused, shownNumber;
      auto* timer = new QTimer(&f);
      QObject::connect(timer, &QTimer::timeout, [&, timer] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal->objectName() != QString::fromLatin1(c.dialog)) return;
        timer->stop();
        caption = modal->windowTitle();
        focused = QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
        for (QLineEdit* edit : modal->findChildren<QLineEdit*>()) {
          QCOMPARE(edit->maxLength(), 3);
          edit->setText(QStringLiteral("7"));
        }
        Find<QPushButton>(modal, "BitBtnCancel")->click();
      });
      timer->start(10);
      QVERIFY(!host_->ShowNumberDialog(c.kind, fields));
      delete timer;
      QCOMPARE(caption, c.caption);
      QCOMPARE(focused, QString::fromLatin1(c.focused));
      QCOMPARE(fields.EditZoneNumber.Text, std::string("1"));
      QCOMPARE(fields.EditUserNumber.Text, std::string());
    }

    // The TM input dialog with its group check off closes with an empty
    // group field; the controller dialog returns its item.
    NumberDialogs fields;
    fields.IDReaderGroupCheck = false;
    QStringList log;
    AnswerDialogs({{"TIDReaderForm", {{"EditIDReaderNumber", QStringLiteral("2")}}}}, &log);
    QVERIFY(host_->ShowNumberDialog(NumberDialogKind::IDReader, fields));
    QCOMPARE(fields.EditIDReaderNumber.Text, std::string("2"));
    AnswerDialogs({{"TControllerForm", {}, 3}}, &log);
    QVERIFY(host_->ShowNumberDialog(NumberDialogKind::Controller, fields));
    QCOMPARE(fields.ControllerItem, 3);
    QCOMPARE(log, (QStringList{QStringLiteral("closed"), QStringLiteral("closed")}));
    QVERIFY(host_->boxes.size() == 1);  // the start-up notice only
  }

  void baseModuleCaptionFollowsSixteenZones() {
    MainForm& f = Open();
    NewDatabase();
    f.Ws().db.BaseModule()->ZonesTotal = 16;
    ProcessDataBase(f.Ws().db);
    f.ProcessViewCard();
    const QModelIndex base = f.HardwareModel().IndexOf(f.Ws().db.BaseModuleNode);
    QCOMPARE(base.data().toString(), QStringLiteral("Ворсан - БМ16"));
  }

  void closeAsksWhileChanged() {
    MainForm& f = Open();
    NewDatabase();
    host_->answers = {false};
    QVERIFY(!f.close());
    QCOMPARE(host_->questions.back().text, QStringLiteral("База не сохранена. Завершить работу?"));
    host_->answers = {true};
    QVERIFY(f.close());
    // Unchanged: no question at all.
    MainForm& g = Open();
    QVERIFY(g.close());
    QVERIFY(host_->questions.empty());
  }

  void panelCommandsNeedAnOpenPort() {
    MainForm& f = Open();
    NewDatabase();
    Find<QCheckBox>(&f, "BitCheckBoxSetLogExport")->setChecked(true);
    for (const char* name : {"MenuDBStore", "MenuTXTStore", "MenuDBErace"}) {
      if (QByteArray(name) == "MenuDBErace") {
        host_->answers = {true};
        Action(&f, name)->trigger();
        Action(&f, "MenuDBLoad")->trigger();
        continue;
      }
      Action(&f, name)->trigger();
    }
    const QString portMessage =
        QStringLiteral("Отсутствует открытый Com - порт.\nПроверьте установку Com - порта в закладке \"Установки\"");
    QCOMPARE(host_->BoxTexts().count(portMessage), 3);
    QVERIFY(host_->files.empty());
  }

  void aboutKeySequenceTogglesServiceMode() {
    MainForm& f = Open();
    int& protection = f.Ws().editor.ProtectionEnabled;
    AboutForm about(protection);
    about.show();
    auto type = [&](const QString& letters, Qt::KeyboardModifiers mods) {
      // Alt is held through the whole sequence: one key event per letter.
      for (QChar c : letters) {
        QKeyEvent press(QEvent::KeyPress, c.unicode(), mods, QString(c));
        QApplication::sendEvent(&about, &press);
      }
    };
    type(QStringLiteral("QUARTZWINDMILLBEAK"), Qt::NoModifier);
    QCOMPARE(protection, 1);
    type(QStringLiteral("QUARTZWINDMILLBEAK"), Qt::AltModifier | Qt::ShiftModifier);
    QCOMPARE(protection, 1);
    type(QStringLiteral("QUARTZWINXMILLBEAK"), Qt::AltModifier);
    QCOMPARE(protection, 1);
    type(QStringLiteral("QUARTZWINDMILLBEAK"), Qt::AltModifier);
    QCOMPARE(protection, 0);
    QCOMPARE(Find<QLabel>(&about, "LabelRequisite")->text(), QStringLiteral("Protection is disabled"));
    f.ProtectionRefresh();
    QVERIFY(Find<QTabWidget>(&f, "MainPageControl")->isTabVisible(3));
    type(QStringLiteral("QUARTZWINDMILLBEAK"), Qt::AltModifier);
    QCOMPARE(protection, 1);
    QCOMPARE(Find<QLabel>(&about, "LabelRequisite")->text(), QStringLiteral("Protection is enabled"));
    QVERIFY(Find<QLabel>(&about, "LabelVersion")->text().startsWith(QStringLiteral("Версия:  ")));
  }

  void memoryViewMarksDifferencesAndLabelsBytes() {
    MainForm& f = Open();
    f.Ws().DBStoreArray[4132] = 0x5A;
    Find<QPushButton>(&f, "BitBtnShowArrays")->click();
    auto* grid = Find<QTableView>(&f, "StringGrid");
    auto* model = static_cast<MemoryGridModel*>(grid->model());
    QCOMPARE(model->Cell(517, 5), QStringLiteral("  00"));
    QCOMPARE(model->Cell(517, 14), QStringLiteral("  5A"));
    QCOMPARE(model->Cell(517, 0), QStringLiteral("1020"));
    QCOMPARE(model->Cell(0, 17), QStringLiteral("  07"));
    QVERIFY(model->Differs(517, 5));
    QVERIFY(model->Differs(517, 14));
    QVERIFY(!model->Differs(517, 6));
    QCOMPARE(model->data(model->index(517, 6), Qt::ForegroundRole).value<QBrush>().color(),
             MemoryGridModel::FaintColor());
    grid->setCurrentIndex(model->index(517, 14));
    QCOMPARE(Find<QLabel>(&f, "LabelCurrentGridPosition")->text(), QStringLiteral("DBReadArray: -  1024 h  [4132]"));
    QCOMPARE(Find<QLabel>(&f, "LabelCurrentBasePosition")->text(), QStringLiteral("Users[0] - Flags"));
    grid->setCurrentIndex(model->index(517, 9));
    QCOMPARE(Find<QLabel>(&f, "LabelCurrentGridPosition")->text(), QString());
  }

  void portPanelScansAndOpens() {
    QTemporaryDir dir;
    Simulator sim;
    QVERIFY(sim.Start(dir.path()));
    MainForm& f = Open({QStringLiteral("/COM1")});
    QCOMPARE(Find<QLabel>(&f, "LabelSetCurrentComPort")->text(), QStringLiteral("Текущий номер Com-порта: 1  (работает)"));
    QVERIFY(f.Port().ComPortHandle != -1);
    // A new choice closes the port and offers the free ones.
    Find<QTabWidget>(&f, "MainPageControl")->setCurrentIndex(1);
    Find<QPushButton>(&f, "BitBtnSetCommChange")->click();
    QVERIFY(Find<QWidget>(&f, "PanelSetCommNumbers")->isVisible());
    QVERIFY(Find<QPushButton>(&f, "SpeedButtonSetComm1")->isEnabled());
    QVERIFY(!Find<QPushButton>(&f, "SpeedButtonSetComm2")->isEnabled());
    QVERIFY(Find<QPushButton>(&f, "BitBtnSetCommCancel")->isEnabled());
    f.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    QTest::keyClick(&f, Qt::Key_1);
    QVERIFY(f.Port().ComPortHandle != -1);
    QVERIFY(!Find<QWidget>(&f, "PanelSetCommNumbers")->isVisible());
  }

  void databaseFileLoadsAndSaves() {
    QTemporaryDir dir;
    MainForm& f = Open();
    host_->boxes.clear();
    host_->files = {QString()};  // the dialog cancelled
    Action(&f, "MenuDBReadDB")->trigger();
    QCOMPARE(host_->BoxTexts(), QStringList{QStringLiteral("База данных из файла не загружена")});

    const QString example = QStringLiteral(VELKOR_EXAMPLES_DIR "/small-office.dcf");
    host_->files = {example};
    Action(&f, "MenuDBReadDB")->trigger();
    QVERIFY(f.Ws().db.Exists());
    QCOMPARE(f.windowTitle(), ProgramTitle() + QStringLiteral("  -  файл ") + ShortFileName(example));
    QVERIFY(!f.Ws().editor.DBChanged);
    QVERIFY(f.Ws().db.UserCount > 0);
    QAbstractItemModelTester tester(&f.RoomsModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);

    // Saving clears the changed flag and writes what was read.
    f.Ws().editor.DBChanged = true;
    const QString copy = dir.filePath(QStringLiteral("copy.dcf"));
    host_->files = {copy};
    Action(&f, "MenuDBWriteDB")->trigger();
    QVERIFY(!f.Ws().editor.DBChanged);
    QFile original(example), saved(copy);
    QVERIFY(original.open(QIODevice::ReadOnly) && saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), original.readAll());

    host_->boxes.clear();
    host_->files = {QString()};
    Action(&f, "MenuDBWriteDB")->trigger();
    QCOMPARE(host_->BoxTexts(), QStringList{QStringLiteral("База данных в файл не сохранена")});
  }

  void romSaveWritesTheExportFiles() {
    QTemporaryDir dir;
    MainForm& f = Open();
    host_->files = {QStringLiteral(VELKOR_EXAMPLES_DIR "/small-office.dcf")};
    Action(&f, "MenuDBReadDB")->trigger();
    QVERIFY(f.Ws().db.Exists());
    for (const char* name : {"BitCheckBoxSetLogExport", "BitCheckBoxSetIniExport", "BitCheckBoxSetPrgExport"})
      Find<QCheckBox>(&f, name)->setChecked(true);

    host_->boxes.clear();
    host_->files = {QString()};
    Action(&f, "MenuDBWriteHex")->trigger();
    QCOMPARE(host_->BoxTexts(), QStringList{QStringLiteral("База данных в файл не сохранена")});

    host_->boxes.clear();
    host_->files = {dir.filePath(QStringLiteral("results.v2.rom"))};
    Action(&f, "MenuDBWriteHex")->trigger();
    QVERIFY2(host_->boxes.empty(), qPrintable(host_->BoxTexts().join(QLatin1Char('|'))));
    QCOMPARE(QFileInfo(dir.filePath(QStringLiteral("results.rom"))).size(), qint64{8064});
    for (const char* ext : {"ini", "log", "prg"})
      QVERIFY2(QFileInfo(dir.filePath(QStringLiteral("results.") + QLatin1String(ext))).size() > 0, ext);
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("results.v2.rom"))));
    QCOMPARE(Find<QTabWidget>(&f, "MainPageControl")->currentWidget()->objectName(), QStringLiteral("TabSheetExportLog"));
    auto* list = Find<QListWidget>(&f, "ListViewExportLog");
    QCOMPARE(list->count(), ExportLogLinesCount(f.Ws().exportLog));
    QCOMPARE(list->item(list->count() - 1)->text(), QStringLiteral("Конец структуры"));
    QVERIFY(!f.Ws().editor.DBChanged);
    for (const char* name : {"BitCheckBoxSetLogExport", "BitCheckBoxSetIniExport", "BitCheckBoxSetPrgExport",
                             "BitCheckBoxSetFullConvert"})
      QVERIFY2(Find<QCheckBox>(&f, name)->isEnabled(), name);

    // Printing the selection: only the selected line goes to the document.
    list->clearSelection();
    list->item(list->count() - 1)->setSelected(true);
    host_->pdfPath = dir.filePath(QStringLiteral("selection.pdf"));
    host_->printSelection = true;
    Find<QPushButton>(&f, "BitBtnOutLogPrn")->click();
    QVERIFY(QFileInfo(host_->pdfPath).size() > 0);
  }

  void writeToPanel() {
    QTemporaryDir dir;
    const QString flash = dir.filePath(QStringLiteral("flash.bin"));
    ImageArray built{};
    {
      Simulator sim;
      QVERIFY(sim.Start(dir.path(), {QStringLiteral("--flash-out"), flash}));
      MainForm& f = Open({QStringLiteral("/com1")});
      host_->files = {QStringLiteral(VELKOR_EXAMPLES_DIR "/small-office.dcf")};
      Action(&f, "MenuDBReadDB")->trigger();
      // An export box on: the save dialog comes first; cancelling it ends
      // the command with every settings box usable again.
      auto* log = Find<QCheckBox>(&f, "BitCheckBoxSetLogExport");
      log->setChecked(true);
      host_->boxes.clear();
      host_->files = {QString()};
      Action(&f, "MenuDBStore")->trigger();
      QCOMPARE(host_->BoxTexts(), QStringList{QStringLiteral("База данных в ППК не записана")});
      QVERIFY(log->isEnabled());
      QVERIFY(Find<QCheckBox>(&f, "BitCheckBoxSetFullConvert")->isEnabled());
      log->setChecked(false);
      host_->boxes.clear();
      PressOkWhenDone(60000);
      // With every export off there is no file dialog.
      host_->files = {QStringLiteral("/nonexistent/never-asked.rom")};
      Action(&f, "MenuDBStore")->trigger();
      QVERIFY2(host_->boxes.empty(), qPrintable(host_->BoxTexts().join(QLatin1Char('|'))));
      QCOMPARE(host_->files.size(), std::size_t{1});
      QVERIFY(!f.Ws().editor.DBChanged);
      built = f.Ws().DBStoreArray;
      form_.reset();
    }
    QFile file(flash);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray panel = file.readAll();
    QCOMPARE(panel.size(), qsizetype{8192});
    QVERIFY(std::equal(built.begin(), built.begin() + 8064, reinterpret_cast<const std::uint8_t*>(panel.constData())));
  }

  void writeTextsToPanel() {
    QTemporaryDir dir;
    const QString texts = dir.filePath(QStringLiteral("texts.bin"));
    TextImageArray built{};
    {
      Simulator sim;
      QVERIFY(sim.Start(dir.path(), {QStringLiteral("--text-out"), texts}));
      MainForm& f = Open({QStringLiteral("/com1")});
      host_->files = {QStringLiteral(VELKOR_EXAMPLES_DIR "/small-office.dcf")};
      Action(&f, "MenuDBReadDB")->trigger();
      host_->boxes.clear();
      PressOkWhenDone(60000);
      Action(&f, "MenuTXTStore")->trigger();
      QVERIFY2(host_->boxes.empty(), qPrintable(host_->BoxTexts().join(QLatin1Char('|'))));
      QCOMPARE(Find<QTabWidget>(&f, "MainPageControl")->currentWidget()->objectName(), QStringLiteral("TabSheetExportLog"));
      built = f.TextImage();
      form_.reset();
    }
    QFile file(texts);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray panel = file.readAll();
    QCOMPARE(panel.size(), static_cast<qsizetype>(built.size()));
    QVERIFY(std::equal(built.begin(), built.end(), reinterpret_cast<const std::uint8_t*>(panel.constData())));
  }

  void romFileLoads() {
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("panel-configuration.rom"));
    const QString bad = dir.filePath(QStringLiteral("short.rom"));
    {
      QFile f(good);
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write(QByteArray(8064, '\0'));
      QFile g(bad);
      QVERIFY(g.open(QIODevice::WriteOnly));
      g.write(QByteArray(8063, '\0'));
    }
    MainForm& f = Open();
    host_->boxes.clear();
    host_->files = {bad};
    Action(&f, "MenuDBReadHex")->trigger();
    QCOMPARE(host_->BoxTexts(),
             (QStringList{QStringLiteral("Ошибка чтения файла"), QStringLiteral("База данных из файла не загружена")}));
    QVERIFY(!f.Ws().db.Exists());
    QCOMPARE(f.windowTitle(), ProgramTitle());

    host_->boxes.clear();
    host_->files = {good};
    Action(&f, "MenuDBReadHex")->trigger();
    QVERIFY(f.Ws().db.Exists());
    QCOMPARE(f.windowTitle(), ProgramTitle() + QStringLiteral("  -  файл ") + ShortFileName(good));
    QVERIFY(f.Ws().editor.DBChanged);
    QVERIFY(Action(&f, "MenuDBErace")->isEnabled());
    QVERIFY(Find<QWidget>(&f, "PanelTreeView")->isVisible());
    QVERIFY(!f.Ws().db.KeyboardModuleNode);  // an empty image has no keyboard module
  }

  void loadFromPanel() {
    QTemporaryDir dir;
    Simulator sim;
    QVERIFY(sim.Start(dir.path()));
    MainForm& f = Open({QStringLiteral("/com1")});
    QVERIFY(f.Port().ComPortHandle != -1);
    PressOkWhenDone(30000, QStringLiteral(VELKOR_SHOTS_DIR "/velkor-exchange.png"));
    Action(&f, "MenuDBLoad")->trigger();
    QVERIFY(!host_->BoxTexts().contains(QStringLiteral("База данных из ППК не прочитана")));
    QCOMPARE(f.windowTitle(), ProgramTitle() + QStringLiteral("  -  база прочитана из ППК"));
    QVERIFY(f.Ws().editor.DBChanged);
    QVERIFY(f.Ws().db.Exists());
  }

  void identifierReading() {
    QTemporaryDir dir;
    Simulator sim;
    QVERIFY(sim.Start(dir.path(), {QStringLiteral("--mode"), QStringLiteral("reader"), QStringLiteral("--id-delay"),
                                   QStringLiteral("100"), QStringLiteral("--id-code"),
                                   QStringLiteral("00000A1B2C3D4E5F")}));
    MainForm& f = Open({QStringLiteral("/com1")});
    std::string value;
    // The window closes by itself after the success line.
    QVERIFY(f.ReadIdentifier(value));
    QCOMPARE(value, std::string("00000A1B2C3D4E5F"));
  }

  void doubleClickJumpsBetweenTrees() {
    MainForm& f = Open();
    host_->files = {QStringLiteral(VELKOR_EXAMPLES_DIR "/small-office.dcf")};
    Action(&f, "MenuDBReadDB")->trigger();
    auto* ppk = Find<QTreeView>(&f, "PPKTreeView");
    // The first zone of the hardware tree that has a group.
    Node* zoneNode = nullptr;
    for (Node* n : NodesInIndexOrder(f.Ws().db.Hardware))
      if (const TZone* z = n->As<TZone>(); z && z->Group && !zoneNode) zoneNode = n;
    QVERIFY(zoneNode);
    const QModelIndex zone = f.HardwareModel().IndexOf(zoneNode);
    for (QModelIndex p = zone.parent(); p.isValid(); p = p.parent()) ppk->expand(p);
    ppk->scrollTo(zone);
    ppk->setCurrentIndex(zone);
    QTRY_VERIFY(ppk->visualRect(zone).isValid());
    QCOMPARE(CurrentCard()->objectName(), QStringLiteral("TabSheetZone"));
    emit ppk->doubleClicked(zone);
    QCOMPARE(Find<QTabBar>(&f, "TabSetTree")->currentIndex(), 1);
    QVERIFY(Find<QTreeView>(&f, "GroupTreeView")->isVisible());
    QCOMPARE(f.Ws().db.Rooms.Selected->Data, zoneNode->Data);
    QCOMPARE(CurrentCard()->objectName(), QStringLiteral("TabSheetZone"));
    QVERIFY(Find<QPushButton>(&f, "BitBtnDBDel")->property("deleteAllowed").toBool());
  }

  void cancelledPanelReadSaysSo() {
    QTemporaryDir dir;
    Simulator sim;
    // A panel that never answers the handshake.
    QVERIFY(sim.Start(dir.path(), {QStringLiteral("--hang-up-after"), QStringLiteral("0")}));
    MainForm& f = Open({QStringLiteral("/com1")});
    PressOkWhenDone(500);  // presses "Отмена": no "OK" comes
    Action(&f, "MenuDBLoad")->trigger();
    QCOMPARE(host_->boxes.back().text, QStringLiteral("База данных из ППК не прочитана"));
    QVERIFY(!f.Ws().db.Exists());
  }

  void printsTheListingToPdf() {
    MainForm& f = Open();
    QTemporaryDir dir;
    f.Ws().exportLog.Lines = {std::string("Конец структуры"_w)};
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("all.pdf")));
    QVERIFY(f.PrintListing(printer, false));
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("all.pdf"))).size() > 0);
  }

  // Renders the window with the example database, for people to look at.
  void screenshots() {
    MainForm& f = Open();
    host_->files = {QStringLiteral(VELKOR_EXAMPLES_DIR "/small-office.dcf")};
    Action(&f, "MenuDBReadDB")->trigger();
    QVERIFY(f.Ws().db.Exists());
    // A build fills the listing.
    QTemporaryDir dir;
    host_->files = {dir.filePath(QStringLiteral("shot.rom"))};
    Action(&f, "MenuDBWriteHex")->trigger();
    QVERIFY(ExportLogLinesCount(f.Ws().exportLog) > 0);
    Find<QTreeView>(&f, "PPKTreeView")->expandAll();
    auto* tabs = Find<QTabWidget>(&f, "MainPageControl");
    const char* names[] = {"main", "settings", "listing"};
    for (int i = 0; i < 3; ++i) {
      tabs->setCurrentIndex(i);
      const QString path = QStringLiteral(VELKOR_SHOTS_DIR "/velkor-%1.png").arg(QLatin1String(names[i]));
      QVERIFY(f.grab().save(path));
    }
    // The memory view, in service mode, after a build would have filled
    // the second image.
    f.Ws().editor.ProtectionEnabled = 0;
    f.ProtectionRefresh();
    f.Ws().DBStoreArray[1] = 0x12;
    tabs->setCurrentIndex(3);
    Find<QPushButton>(&f, "BitBtnShowArrays")->click();
    auto* grid = Find<QTableView>(&f, "StringGrid");
    grid->setCurrentIndex(grid->model()->index(1, 2));
    QVERIFY(f.grab().save(QStringLiteral(VELKOR_SHOTS_DIR "/velkor-memory.png")));
    // The conversion window as a build shows it.
    host_->ConvertBegin();
    host_->ConvertStep("Конвертирование шлейфов"_w);
    host_->ConvertElement("C485 > 01 > Ворсан - ШВ3 > 02 > Шлейф"_w);
    host_->ConvertPosition(40);
    QVERIFY(host_->Converter()->isVisible());
    QVERIFY(!Find<QWidget>(&f, "MainPageControl")->isEnabled());
    QVERIFY(host_->Converter()->grab().save(QStringLiteral(VELKOR_SHOTS_DIR "/velkor-convert.png")));
    host_->ConvertEnd();
    QVERIFY(Find<QWidget>(&f, "MainPageControl")->isEnabled());
    // The tree's own drawing, three times enlarged.
    tabs->setCurrentIndex(0);
    QWidget* tree = Find<QWidget>(&f, "PPKTreeView");
    const QPixmap part = tree->grab(QRect(0, 0, 160, 80));
    QVERIFY(part.scaled(part.size() * 3).save(QStringLiteral(VELKOR_SHOTS_DIR "/velkor-tree-zoom.png")));
  }
};

QTEST_MAIN(GuiTest)
#include "gui_test.moc"
