#include "catalogue/loader.h"
#include "check/checkstate.h"
#include "project/setseedf.h"
#include "project/virtualdataf.h"
#include "run/runsqlf.h"
#include "script/sqlf.h"
#include "tests/support/clipping.h"
#include "tests/support/fakeconnection.h"
#include "tests/support/fakedialogs.h"
#include "tests/support/testlocale.h"
#include "tests/ui/main/logintest.h"
#include "ui/editor/anonymizationf.h"
#include "ui/main/loginf.h"
#include "ui/main/mainf.h"
#include "ui/main/schematreemodel.h"
#include "ui/views/listf.h"
#include "ui/views/selectf.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

using namespace corvane;

namespace {

// Nodes: 0 fixture, 1 dbo.Person, 2 Id, 3 Name, 4 dbo.Orders, 5 CityCode, 6 Total.
db::Rows schemaRows()
{
    return test::makeRows(
        {QStringLiteral("stab"), QStringLiteral("col"), QStringLiteral("PK_table"),
         QStringLiteral("PK_column"), QStringLiteral("Constraint_Name"), QStringLiteral("PK"),
         QStringLiteral("isnull"), QStringLiteral("typ"), QStringLiteral("char_max")},
        {{QStringLiteral("dbo.Person"), QStringLiteral("Id"), QStringLiteral("\\N"),
          QStringLiteral("\\N"), QStringLiteral("\\N"), QStringLiteral("Id"), QStringLiteral("NO"),
          QStringLiteral("int"), QStringLiteral("\\N")},
         {QStringLiteral("dbo.Person"), QStringLiteral("Name"), QStringLiteral("\\N"),
          QStringLiteral("\\N"), QStringLiteral("\\N"), QStringLiteral("\\N"),
          QStringLiteral("YES"), QStringLiteral("varchar"), QStringLiteral("50")},
         {QStringLiteral("dbo.Orders"), QStringLiteral("CityCode"), QStringLiteral("City"),
          QStringLiteral("Code"), QStringLiteral("FK_Orders_City"), QStringLiteral("\\N"),
          QStringLiteral("NO"), QStringLiteral("varchar"), QStringLiteral("10")},
         {QStringLiteral("dbo.Orders"), QStringLiteral("Total"), QStringLiteral("\\N"),
          QStringLiteral("\\N"), QStringLiteral("\\N"), QStringLiteral("\\N"),
          QStringLiteral("YES"), QStringLiteral("float"), QStringLiteral("\\N")}});
}

const QString SchemaQueryMark = QStringLiteral("INFORMATION_SCHEMA.TABLES");

// The fixture without dbo.Person: nodes 0 fixture, 1 dbo.Orders, 2 CityCode, 3 Total.
db::Rows ordersOnlyRows()
{
    db::Rows rows = schemaRows();
    rows.rows.remove(0, 2);
    return rows;
}

// The title as the window manager shows it: Qt puts the mark in place of [*].
QString shownTitle(const QWidget& window)
{
    QString title = window.windowTitle();
    return title.replace(QStringLiteral("[*]"),
                         window.isWindowModified() ? QStringLiteral("*") : QString());
}

const QString Unsaved =
    QStringLiteral("confirm Discard changes: The masking choices have changes that are not saved "
                   "in a project.\n\n");

// A main window on a fake server whose modal dialogs are answered in place.
struct Harness
{
    test::FakeServer server;
    test::FakeDialogs dialogs;
    TMainF window{server.factory()};

    // Database that the next connection dialog logs in to; empty cancels it.
    QString loginDatabase;
    // One entry per dialog run: its class, and whether the window was visible.
    QStringList ran;
    QString seedTyped;

    Harness()
    {
        server.answer(SchemaQueryMark, schemaRows());
        window.setDialogRunner([this](QDialog& dialog) { return answer(dialog); });
    }

    int answer(QDialog& dialog)
    {
        ran << QString::fromLatin1(dialog.metaObject()->className()) +
                   (window.isVisible() ? QStringLiteral(" over the window") : QString());
        if (auto* login = qobject_cast<TLoginF*>(&dialog)) {
            if (loginDatabase.isEmpty()) {
                login->Button2Click();
            } else {
                login->EdServerName->setText(QStringLiteral("srv"));
                login->EdDatabaseName->setText(loginDatabase);
                login->EdLogin->setText(QStringLiteral("sa"));
                login->EdPassword->setText(QStringLiteral("pw"));
                QTest::mouseClick(login->Button3, Qt::LeftButton);
                test::waitForTest(*login);
                QTest::mouseClick(login->Button1, Qt::LeftButton);
            }
        } else if (qobject_cast<TSetSeedF*>(&dialog) && !seedTyped.isNull()) {
            dialog.findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(seedTyped);
            QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("Button1")),
                              Qt::LeftButton);
        }
        return dialog.result();
    }

    // Start-up with a successful first login.
    void startLoggedIn(const QString& database = QStringLiteral("Shop"))
    {
        loginDatabase = database;
        window.FormCreate();
        QVERIFY(idle());
        dialogs.shown.clear();
    }

    // Until the schema, read on a worker, has reached the window.
    bool idle() { return QTest::qWaitFor([this] { return !window.isBusy(); }, 5000); }

    void trigger(const char* action)
    {
        QAction* a = window.findChild<QAction*>(QLatin1String(action));
        QVERIFY2(a, action);
        a->trigger();
        QVERIFY(idle());
    }

    void select(int node) { window.TreeView1->setCurrentIndex(window.treeModel()->indexOf(node)); }
    // The questions the window asked, in order.
    QStringList asked() const
    {
        return dialogs.texts().filter(QRegularExpression(QStringLiteral("^confirm ")));
    }
    int selected() const
    {
        return SchemaTreeModel::absoluteIndex(window.TreeView1->currentIndex());
    }

    QStringList vlist() const
    {
        QStringList rows;
        for (int r = 0; r < window.VList->rowCount(); ++r)
            rows << window.VList->item(r, 0)->text() + u'=' + window.VList->item(r, 1)->text();
        return rows;
    }

    // The column names that the list page shows.
    QStringList listed() const
    {
        QStringList names;
        auto* grid = window.listPage()->findChild<QTableView*>(QStringLiteral("StringGrid1"));
        if (!grid)
            return {QStringLiteral("no grid")};
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            if (const QString name = grid->model()->index(r, 1).data().toString(); !name.isEmpty())
                names << name;
        return names;
    }
};

} // namespace

class TestMainF : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { test::useTestLocale(); }

    void startUpCancelled()
    {
        Harness h;
        h.window.workspace().setSeed(99);
        h.window.FormCreate();
        QVERIFY(h.idle());
        // The dialog comes first; the list page already exists then.
        QCOMPARE(h.ran, QStringList{QStringLiteral("corvane::TLoginF")});
        QVERIFY(h.window.listPage());
        QCOMPARE(h.window.MyPageControl1->currentWidget(), h.window.TsList);
        QCOMPARE(h.window.workspace().seed(), DefaultSeed);
        QCOMPARE(h.window.treeModel()->rowCount(), 0);
        QVERIFY(!h.window.MyPageControl1->isEnabled());
        QVERIFY(h.server.opened.isEmpty());
        QVERIFY(h.dialogs.shown.isEmpty());

        h.window.show();
        h.loginDatabase = QStringLiteral("Shop");
        h.trigger("Login1");
        QCOMPARE(h.ran.constLast(), QStringLiteral("corvane::TLoginF over the window"));
        QVERIFY(h.window.MyPageControl1->isEnabled());
        QCOMPARE(h.window.treeModel()->rowCount(), 1);
        QCOMPARE(h.window.TreeView1->currentIndex(), h.window.treeModel()->indexOf(0));
    }

    void loginLoadsTheCatalogue()
    {
        Harness h;
        h.startLoggedIn();
        const Workspace& state = h.window.workspace();
        QVERIFY(state.connectionString().contains(QStringLiteral("Initial Catalog=Shop;")));
        // The test connection, then the one that reads the schema and closes.
        QCOMPARE(h.server.opened, QStringList({state.connectionString(), state.connectionString()}));
        QCOMPARE(h.server.openConnections, 0);
        QCOMPARE(state.catalogue().size(), 7);
        QCOMPARE(state.catalogue().at(5).col, QStringLiteral("CityCode"));
        QCOMPARE(h.window.treeModel()->indexOf(0).data().toString(), QStringLiteral("fixture"));
        QVERIFY(h.window.TreeView1->isExpanded(h.window.treeModel()->indexOf(0)));
    }

    // The login reads the column facts on its own connection right after the
    // schema; a server that refuses them still logs in, and the check says
    // what it could not know.
    void loginReadsTheFacts_data()
    {
        QTest::addColumn<bool>("refused");
        QTest::newRow("facts read") << false;
        QTest::newRow("facts refused") << true;
    }
    void loginReadsTheFacts()
    {
        QFETCH(bool, refused);
        Harness h;
        h.server.rules.clear();
        const auto field = [](const char* name) { return QString::fromLatin1(name); };
        h.server.answer(SchemaQueryMark,
                        test::makeRows({field("schema"), field("tab"), field("stab"), field("col"),
                                        field("isnull"), field("typ"), field("char_max")},
                                       {{field("dbo"), field("Person"), field("dbo.Person"),
                                         field("Name"), field("YES"), field("varchar"), field("50")}}));
        const QString factsMark = QStringLiteral("from sys.tables");
        if (refused)
            h.server.fail(factsMark, QStringLiteral("Invalid column name 'temporal_type'."));
        else
            h.server.answer(factsMark,
                            test::makeRows({field("schema"), field("tab"), field("col"), field("typ"),
                                            field("max_length"), field("is_nullable"), field("rows")},
                                           {{field("dbo"), field("Person"), field("Name"),
                                             field("varchar"), field("50"), field("0"), field("12")}}));
        h.startLoggedIn();
        QCOMPARE(h.server.opened.size(), 2); // the dialog's test, then the load
        QVERIFY(h.server.sent.size() >= 2);
        QVERIFY(h.server.sent.at(h.server.sent.size() - 2).contains(SchemaQueryMark));
        QVERIFY(h.server.sent.last().contains(factsMark));
        QCOMPARE(h.window.workspace().catalogue().size(), 3);

        const check::CheckState& state = h.window.checkState();
        h.window.workspace().editSlot(2, [](TColumnRec& s) { s.method = 1009; });
        const QLabel* summary = h.window.listPage()->checkSummary();
        if (refused) {
            QVERIFY(!state.facts().known(check::FactGroup::Columns));
            QCOMPARE(state.findings().size(), 1);
            QVERIFY(state.findings().first().message.contains(
                QStringLiteral("(Invalid column name 'temporal_type'.)")));
            QCOMPARE(summary->text(), QStringLiteral("0 errors, 1 warning"));
        } else {
            QCOMPARE(state.facts().findTable(QStringLiteral("dbo"), QStringLiteral("Person"))->rows.value_or(-1),
                     qint64(12));
            QCOMPARE(state.findingsOf(2).first().rule, QStringLiteral("not-null"));
            QCOMPARE(summary->text(), QStringLiteral("1 error, 0 warnings"));
        }
    }

    void selection_data()
    {
        QTest::addColumn<int>("node");
        QTest::addColumn<QString>("currentTable");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("database node") << 0 << QString() << QStringList();
        QTest::newRow("table node") << 1 << QStringLiteral("dbo.Person") << QStringList();
        QTest::newRow("other table node") << 4 << QStringLiteral("dbo.Orders") << QStringList();
        QTest::newRow("int primary key")
            << 2 << QStringLiteral("dbo.Person")
            << QStringList({QStringLiteral("Primary key="), QStringLiteral("Type=int"),
                            QStringLiteral("IsNull=NO")});
        QTest::newRow("nullable varchar")
            << 3 << QStringLiteral("dbo.Person")
            << QStringList({QStringLiteral("Type=varchar"), QStringLiteral("Max length=50"),
                            QStringLiteral("IsNull=YES")});
        QTest::newRow("varchar foreign key")
            << 5 << QStringLiteral("dbo.Orders")
            << QStringList({QStringLiteral("Type=varchar"), QStringLiteral("Max length=10"),
                            QStringLiteral("IsNull=NO"), QStringLiteral("Foreign key="),
                            QStringLiteral("PK table=City"), QStringLiteral("PK column=Code"),
                            QStringLiteral("PK Constraint_Name=FK_Orders_City")});
        QTest::newRow("float without length")
            << 6 << QStringLiteral("dbo.Orders")
            << QStringList({QStringLiteral("Type=float"), QStringLiteral("IsNull=YES")});
    }

    // Each selection replaces what the one before showed.
    void selection()
    {
        QFETCH(int, node);
        QFETCH(QString, currentTable);
        QFETCH(QStringList, rows);
        Harness h;
        h.startLoggedIn();
        for (const int before : {5, 2, 1}) {
            h.select(before);
            h.select(node);
            QCOMPARE(h.window.workspace().currentTable(), currentTable);
            QCOMPARE(h.vlist(), rows);
        }
    }

    // A Login that loads nothing changes nothing: the tree and the node the
    // operator was on, its facts, the editor's column, the choices and the
    // database they came from.
    void loginWithoutNewCatalogue_data()
    {
        QTest::addColumn<bool>("cancelled");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("dialog cancelled") << true << QStringList();
        QTest::newRow("schema query fails")
            << false
            << QStringList(
                   {QStringLiteral("message: Test connection succeeded."),
                    QStringLiteral("error: The schema could not be read. Invalid object name "
                                   "'sys.foreign_key_columns'.")});
    }

    void loginWithoutNewCatalogue()
    {
        QFETCH(bool, cancelled);
        QFETCH(QStringList, messages);
        Harness h;
        h.startLoggedIn();
        h.select(5);
        h.window.MyPageControl1->setCurrentWidget(h.window.TsAnonymization);
        const QString first = h.window.workspace().connectionString();
        h.window.workspace().editSlot(5, [](TColumnRec& s) { s.method = 1005; });
        const QStringList facts = h.vlist();

        if (!cancelled)
            h.server.rules.prepend(
                {SchemaQueryMark,
                 {},
                 QStringLiteral("Invalid object name 'sys.foreign_key_columns'.")});
        h.loginDatabase = cancelled ? QString() : QStringLiteral("Other");
        h.trigger("Login1");

        QCOMPARE(h.dialogs.texts(), messages);
        QCOMPARE(h.window.treeModel()->rowCount(h.window.treeModel()->indexOf(0)), 2);
        QCOMPARE(h.selected(), 5);
        QCOMPARE(h.vlist(), facts);
        QCOMPARE(h.window.anonymizationPage()->currentIndex(), 5);
        QCOMPARE(h.window.workspace().currentTable(), QStringLiteral("dbo.Orders"));
        QVERIFY(h.window.workspace().isModified());
        QCOMPARE(h.window.workspace().catalogue().size(), 7);
        QCOMPARE(h.window.workspace().catalogue().at(5).method, 1005);
        QCOMPARE(h.window.workspace().connectionString(), first);
        QVERIFY(h.window.MyPageControl1->isEnabled());
    }

    // A new login to a database with the same columns keeps every choice,
    // the node the operator was on and the editor's column; where masked
    // columns are missing it asks first, and "No" keeps everything.
    void reloginKeepsChoices_data()
    {
        QTest::addColumn<bool>("ordersOnly");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<int>("cityCode"); // its node, selected and in the editor
        QTest::addColumn<bool>("replaced");
        const QStringList both = {QStringLiteral("Id"), QStringLiteral("CityCode")};
        const QStringList question = {
            Unsaved + QStringLiteral("1 masked column is not in the database fixture on srv: "
                                     "its choice is lost.\n\nLog in to it all the same?")};
        QTest::newRow("the same database") << false << true << QStringList() << both << 5 << true;
        QTest::newRow("columns missing, Yes")
            << true << true << question << QStringList{QStringLiteral("CityCode")} << 2 << true;
        QTest::newRow("columns missing, No") << true << false << question << both << 5 << false;
    }

    void reloginKeepsChoices()
    {
        QFETCH(bool, ordersOnly);
        QFETCH(bool, answer);
        QFETCH(QStringList, asked);
        QFETCH(QStringList, listed);
        QFETCH(int, cityCode);
        QFETCH(bool, replaced);
        Harness h;
        h.startLoggedIn();
        TMainF& w = h.window;
        Workspace& state = w.workspace();
        state.editSlot(2, [](TColumnRec& s) { s.method = 109; });
        state.editSlot(5, [](TColumnRec& s) {
            s.method = 1005;
            s.param1 = QStringLiteral("ZH");
        });
        h.select(5);
        w.MyPageControl1->setCurrentWidget(w.TsAnonymization);
        w.MyPageControl1->setCurrentWidget(w.TsList);
        const QString first = state.connectionString();

        if (ordersOnly)
            h.server.rules.prepend({SchemaQueryMark, ordersOnlyRows(), {}});
        h.dialogs.confirmAnswers.enqueue(answer);
        h.loginDatabase = QStringLiteral("Other");
        h.trigger("Login1");

        QCOMPARE(h.asked(), asked);
        QCOMPARE(state.connectionString() != first, replaced);
        QCOMPARE(state.catalogue().size(), ordersOnly && replaced ? 4 : 7);
        QCOMPARE(state.catalogue().at(cityCode).method, 1005);
        QCOMPARE(state.catalogue().at(cityCode).param1, QStringLiteral("ZH"));
        QCOMPARE(h.listed(), listed);
        QCOMPARE(h.selected(), cityCode);
        QVERIFY(h.vlist().contains(QStringLiteral("PK table=City")));
        QCOMPARE(w.anonymizationPage()->currentIndex(), cityCode);
        QCOMPARE(state.currentTable(), QStringLiteral("dbo.Orders"));
        QVERIFY(state.isModified());
    }

    void newLoginReplacesTheCatalogue()
    {
        Harness h;
        h.startLoggedIn();
        h.window.workspace().editSlot(2, [](TColumnRec& s) { s.method = 101; });
        h.server.rules.prepend({SchemaQueryMark,
                                test::makeRows({QStringLiteral("stab"), QStringLiteral("col")},
                                               {{QStringLiteral("dbo.T"), QStringLiteral("c")}}),
                                {}});
        h.trigger("Login1");
        const Workspace& state = h.window.workspace();
        QVERIFY(state.connectionString().contains(QStringLiteral("Initial Catalog=Shop;")));
        QCOMPARE(state.catalogue().size(), 3);
        QCOMPARE(state.catalogue().at(2).method, NoMethodYet);
        QCOMPARE(h.server.openConnections, 0);
    }

    // Every page receives its form the first time it is shown, and only then.
    void pagesAreCreatedOnce()
    {
        Harness h;
        h.startLoggedIn();
        TMainF& w = h.window;
        const QList<std::pair<QWidget*, std::function<QWidget*()>>> pages = {
            {w.TsSelect, [&] { return static_cast<QWidget*>(w.selectPage()); }},
            {w.TsAnonymization, [&] { return static_cast<QWidget*>(w.anonymizationPage()); }},
            {w.TsSQL, [&] { return static_cast<QWidget*>(w.sqlPage()); }},
            {w.TsRunSQL, [&] { return static_cast<QWidget*>(w.runSqlPage()); }},
        };
        const QList<QWidget*> panels = {w.PaSelect, w.PanScrambling, w.PaSQL, w.PaRunSQL};
        QVERIFY(w.listPage());
        QCOMPARE(w.listPage()->parentWidget(), w.PaList);

        QList<QWidget*> created;
        for (qsizetype i = 0; i < pages.size(); ++i) {
            QVERIFY(!pages.at(i).second());
            w.MyPageControl1->setCurrentWidget(pages.at(i).first);
            QWidget* form = pages.at(i).second();
            QVERIFY(form);
            QCOMPARE(form->parentWidget(), panels.at(i));
            QVERIFY(form->isVisibleTo(panels.at(i)));
            for (qsizetype later = i + 1; later < pages.size(); ++later)
                QVERIFY(!pages.at(later).second());
            created << form;
        }
        for (int round = 0; round < 2; ++round) {
            for (qsizetype i = 0; i < pages.size(); ++i) {
                w.MyPageControl1->setCurrentWidget(w.TsList);
                w.MyPageControl1->setCurrentWidget(pages.at(i).first);
                QCOMPARE(pages.at(i).second(), created.at(i));
            }
        }
        QCOMPARE(w.findChildren<TListF*>().size(), 1);
        QCOMPARE(w.findChildren<TSelectF*>().size(), 1);
        QCOMPARE(w.findChildren<TAnonymizationF*>().size(), 1);
        QCOMPARE(w.findChildren<TSQLF*>().size(), 1);
        QCOMPARE(w.findChildren<TRunSQLF*>().size(), 1);
    }

    // The list is current whenever it is shown: it follows the workspace.
    void listPageFollowsTheWorkspace()
    {
        Harness h;
        h.startLoggedIn();
        TMainF& w = h.window;
        TListF* list = w.listPage();
        QCOMPARE(h.listed(), QStringList());
        w.workspace().editSlot(2, [](TColumnRec& s) { s.method = 101; });
        w.MyPageControl1->setCurrentWidget(w.TsSQL);
        QCOMPARE(h.listed(), QStringList{QStringLiteral("Id")});
        w.MyPageControl1->setCurrentWidget(w.TsList);
        QCOMPARE(h.listed(), QStringList{QStringLiteral("Id")});
        w.workspace().editSlot(6, [](TColumnRec& s) { s.method = 2009; });
        w.MyPageControl1->setCurrentWidget(w.TsSelect);
        w.MyPageControl1->setCurrentWidget(w.TsList);
        QCOMPARE(h.listed(), QStringList({QStringLiteral("Id"), QStringLiteral("Total")}));
        QCOMPARE(w.listPage(), list);
    }

    // A row opened on the list page shows its column in the editor, even
    // when the tree's filter had hidden it.
    void listRowOpensTheEditor()
    {
        Harness h;
        h.startLoggedIn();
        TMainF& w = h.window;
        w.workspace().editSlot(6, [](TColumnRec& s) { s.method = 2009; });
        w.TreeFilter->setText(QStringLiteral("person"));
        w.MyPageControl1->setCurrentWidget(w.TsList);
        emit w.listPage()->columnActivated(6);
        QCOMPARE(w.MyPageControl1->currentWidget(), w.TsAnonymization);
        QCOMPARE(SchemaTreeModel::absoluteIndex(w.TreeView1->currentIndex()), 6);
        QVERIFY(w.TreeFilter->text().isEmpty());
    }

    // A method chosen in the editor marks its column in the tree at once,
    // while the column is still the one being edited.
    void treeMarksFollowTheEditor()
    {
        Harness h;
        h.startLoggedIn();
        TMainF& w = h.window;
        h.select(6);
        w.MyPageControl1->setCurrentWidget(w.TsAnonymization);
        QSignalSpy repainted(w.treeModel(), &QAbstractItemModel::dataChanged);
        w.anonymizationPage()->findChild<QRadioButton*>(QStringLiteral("RadioButton24"))->click();
        QCOMPARE(repainted.size(), 1);
        QCOMPARE(repainted.constFirst().at(0).toModelIndex(), w.treeModel()->indexOf(6));
        QCOMPARE(w.treeModel()->indexOf(6).data(Qt::ToolTipRole).toString(),
                 QStringLiteral("NULL float"));
        QCOMPARE(h.selected(), 6);
    }

    // The editor's sheets show only for a column, on selection and when the
    // editor is first created.
    void editorSheetsFollowTheSelection()
    {
        Harness h;
        h.startLoggedIn();
        TMainF& w = h.window;
        h.select(3);
        w.MyPageControl1->setCurrentWidget(w.TsAnonymization);
        QTabWidget* sheets = w.anonymizationPage()->PageControl1();
        if (!sheets)
            QSKIP("the method editor has no sheets yet");
        QVERIFY(!sheets->isHidden());
        h.select(1);
        QVERIFY(sheets->isHidden());
        h.select(2);
        QVERIFY(!sheets->isHidden());
        h.select(0);
        QVERIFY(sheets->isHidden());
    }

    void loadProject_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("listed");
        const QString person = QStringLiteral("1;;;0;;;\r\n2;Id;dbo.Person;101;5;;\r\n");
        const QString rest = QStringLiteral("4;;;0;;;\r\n5;CityCode;dbo.Orders;1000;;;\r\n"
                                            "6;Total;dbo.Orders;2009;;;\r\n");
        QTest::newRow("whole file")
            << QStringLiteral("7\r\n") + person + QStringLiteral("3;Name;dbo.Person;1000;;;\r\n") +
                   rest
            << QStringList() << QStringList({QStringLiteral("Id"), QStringLiteral("Total")});
        // The slots before the mismatch are loaded and shown.
        QTest::newRow("name mismatch")
            << QStringLiteral("7\r\n") + person + QStringLiteral("3;Nom;dbo.Person;1000;;;\r\n") +
                   rest
            << QStringList{QStringLiteral("information: Incompatible file for this database !.")}
            << QStringList({QStringLiteral("Id"), QStringLiteral("Total")});
        // An error loads nothing; the list shows the choices as they are.
        QTest::newRow("conversion error")
            << QStringLiteral("seven\r\n")
            << QStringList{QStringLiteral("error: 'seven' is not a valid integer value")}
            << QStringList{QStringLiteral("Total")};
    }

    void loadProject()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, listed);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("p.crv"));
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(file.toUtf8());
        out.close();

        Harness h;
        h.startLoggedIn();
        h.window.workspace().editSlot(6, [](TColumnRec& s) { s.method = 2009; });
        h.dialogs.fileAnswers.enqueue(path);
        h.trigger("Loadproject1");
        QVERIFY(h.dialogs.shown.takeFirst().kind.startsWith(QStringLiteral("confirm")));
        QCOMPARE(h.dialogs.shown.first().kind, QStringLiteral("open"));
        QCOMPARE(h.dialogs.shown.first().text, QStringLiteral("Load your project"));
        QCOMPARE(h.dialogs.shown.first().options.filter, QStringLiteral("Corvane files | *.crv"));
        h.dialogs.shown.removeFirst();
        QCOMPARE(h.dialogs.texts(), messages);
        QCOMPARE(h.listed(), listed);
    }

    void saveProject()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("p.crv"));
        Harness h;
        h.startLoggedIn();
        h.trigger("Saveproject1"); // cancelled
        QVERIFY(!QFile::exists(path));
        h.dialogs.fileAnswers.enqueue(path);
        h.trigger("Saveproject1");
        const ui::FileDialogOptions& o = h.dialogs.shown.constLast().options;
        QCOMPARE(h.dialogs.shown.constLast().text, QStringLiteral("Save your project"));
        QCOMPARE(o.filter, QStringLiteral("Corvane files | *.crv"));
        QCOMPARE(o.defaultSuffix, QStringLiteral("crv"));
        QCOMPARE(o.directory, QDir::currentPath());
        QFile in(path);
        QVERIFY(in.open(QIODevice::ReadOnly));
        QVERIFY(in.readLine().startsWith("7\r\n"));
    }

    // Unsaved choices are not thrown away without a question, and "No"
    // keeps everything; choices that are saved are not asked about.
    void askBeforeDiscarding_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("question");
        const QString close = QStringLiteral("Close Corvane and discard them?");
        const QString load = QStringLiteral("Load a project and discard them?");
        const QString login =
            QStringLiteral("1 masked column is not in the database fixture on srv");
        QTest::newRow("Close, No") << QStringLiteral("Close1") << false << close;
        QTest::newRow("Close, Yes") << QStringLiteral("Close1") << true << close;
        QTest::newRow("Load project, No") << QStringLiteral("Loadproject1") << false << load;
        QTest::newRow("Load project, Yes") << QStringLiteral("Loadproject1") << true << load;
        QTest::newRow("Login, No") << QStringLiteral("Login1") << false << login;
        QTest::newRow("Login, Yes") << QStringLiteral("Login1") << true << login;
    }

    void askBeforeDiscarding()
    {
        QFETCH(QString, command);
        QFETCH(bool, answer);
        QFETCH(QString, question);
        QTemporaryDir dir;
        Harness h;
        h.startLoggedIn();
        TMainF& w = h.window;
        w.show();
        h.server.rules.prepend({SchemaQueryMark, ordersOnlyRows(), {}});
        h.loginDatabase = QStringLiteral("Other");
        const QString first = w.workspace().connectionString();
        h.select(2);
        w.workspace().editSlot(2, [](TColumnRec& s) { s.method = 109; });

        h.dialogs.confirmAnswers.enqueue(answer);
        h.trigger(command.toLatin1().constData());
        QCOMPARE(h.asked().size(), 1);
        QVERIFY2(h.asked().constFirst().startsWith(Unsaved + question),
                 qPrintable(h.asked().constFirst()));
        // "No" to Load project asks for no file either.
        QCOMPARE(h.dialogs.shown.constLast().kind == u"open", answer && command == u"Loadproject1");
        const bool kept = !answer;
        QCOMPARE(w.isVisible(), kept || command != u"Close1");
        QCOMPARE(w.workspace().connectionString() == first, kept || command != u"Login1");
        if (kept) {
            QCOMPARE(w.workspace().catalogue().at(2).method, 109);
            QCOMPARE(h.selected(), 2);
            QVERIFY(w.workspace().isModified());
        }

        // Saved, the same commands ask nothing.
        h.dialogs.shown.clear();
        if (kept) {
            h.dialogs.fileAnswers.enqueue(dir.filePath(QStringLiteral("p.crv")));
            h.trigger("Saveproject1");
            h.dialogs.shown.clear();
            h.trigger(command.toLatin1().constData());
            QCOMPARE(h.asked(), QStringList());
        }
    }

    // The title names the database, the server and the project file, and
    // marks choices not yet saved.
    void titleNamesTheWork()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("shop.crv"));
        Harness h;
        TMainF& w = h.window;
        QCOMPARE(shownTitle(w), QStringLiteral("Corvane"));
        h.startLoggedIn();
        const QString base = QStringLiteral("Corvane \u2014 fixture on srv");
        QCOMPARE(shownTitle(w), base);
        w.workspace().editSlot(2, [](TColumnRec& s) { s.method = 109; });
        QCOMPARE(shownTitle(w), base + u'*');
        h.dialogs.fileAnswers.enqueue(path);
        h.trigger("Saveproject1");
        QCOMPARE(shownTitle(w), base + QStringLiteral(" \u2014 shop.crv"));
        w.workspace().editSlot(2, [](TColumnRec& s) { s.method = 104; });
        QCOMPARE(shownTitle(w), base + QStringLiteral(" \u2014 shop.crv*"));
        h.dialogs.fileAnswers.enqueue(path);
        h.trigger("Loadproject1");
        QCOMPARE(shownTitle(w), base + QStringLiteral(" \u2014 shop.crv"));
        QCOMPARE(w.workspace().catalogue().at(2).method, 109);
        // The same database again: the project and its state stay.
        h.trigger("Login1");
        QCOMPARE(shownTitle(w), base + QStringLiteral(" \u2014 shop.crv"));

        // The demo's word on its server is in the title and opens each run's log.
        const QString notice = QStringLiteral("Demo server: it answers, but nothing in it changes");
        w.setServerNotice(notice);
        QCOMPARE(shownTitle(w), base + QStringLiteral(" \u2014 shop.crv - ") + notice);
        w.MyPageControl1->setCurrentWidget(w.TsRunSQL);
        QTest::mouseClick(w.runSqlPage()->findChild<QPushButton*>(QStringLiteral("Button7")),
                          Qt::LeftButton);
        QVERIFY(h.idle());
        const QString log =
            w.runSqlPage()->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))->toPlainText();
        QCOMPARE(log.section(u'\n', 0, 0), notice);
    }

    void setSeed()
    {
        Harness h;
        h.startLoggedIn();
        h.seedTyped = QStringLiteral("-42");
        h.trigger("Setseed1");
        QCOMPARE(h.ran.constLast(), QStringLiteral("corvane::TSetSeedF"));
        QCOMPARE(h.window.workspace().seed(), -42);
    }

    // The pages read the seed and the catalogue of the moment, not copies
    // taken when they were first shown.
    void pagesReadTheStateOfTheMoment()
    {
        Harness h;
        h.startLoggedIn();
        h.window.MyPageControl1->setCurrentWidget(h.window.TsSQL);
        h.seedTyped = QStringLiteral("-42");
        h.trigger("Setseed1");
        h.window.workspace().editSlot(2, [](TColumnRec& s) { s.method = 109; });
        h.window.MyPageControl1->setCurrentWidget(h.window.TsList);
        h.window.MyPageControl1->setCurrentWidget(h.window.TsSQL);
        h.window.sqlPage()->SQLGenerator();
        const QString script =
            h.window.sqlPage()->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))->toPlainText();
        QVERIFY2(script.contains(QStringLiteral("rand(-42)")), qPrintable(script));
        QVERIFY(script.contains(QStringLiteral("Id")));
    }

    void virtualDataCommands()
    {
        Harness h;
        h.startLoggedIn();
        h.ran.clear();
        h.trigger("Edit1"); // cancelled: no editor
        QVERIFY(h.ran.isEmpty());
        QCOMPARE(h.dialogs.shown.constLast().text, QStringLiteral("Load your virtual data file"));
        QCOMPARE(h.dialogs.shown.constLast().options.filter, QStringLiteral("Text file | *.txt"));
        h.dialogs.fileAnswers.enqueue(QStringLiteral("/nonexistent/words.txt"));
        h.trigger("Edit1");
        h.trigger("Insert1");
        QCOMPARE(h.ran, QStringList({QStringLiteral("corvane::TVirtualDataF"),
                                     QStringLiteral("corvane::TVirtualDataF")}));
    }

    void menus()
    {
        Harness h;
        h.startLoggedIn();
        QStringList titles;
        for (QAction* action : h.window.menuBar()->actions()) {
            QString entry = action->text();
            if (QMenu* menu = action->menu())
                for (QAction* item : menu->actions())
                    entry += u'|' + item->text();
            titles << entry;
        }
        // Every menu and item has an access letter, unique within its menu.
        QCOMPARE(titles,
                 QStringList({QStringLiteral("&File|&Save project|&Load project|Log&in|Set s&eed|&Close"),
                              QStringLiteral("&Virtual data|&New file|&Edit file"),
                              QStringLiteral("&Database tree|&Expand|&Collapse||&Discovery"),
                              QStringLiteral("&About")}));
        h.trigger("About1");
        QCOMPARE(h.dialogs.texts().size(), 1);
        QVERIFY(h.dialogs.texts().constFirst().startsWith(QStringLiteral("information: ")));
        QVERIFY(h.dialogs.texts().constFirst().contains(QStringLiteral("the Corvane authors")));

        QTreeView* tree = h.window.TreeView1;
        h.trigger("Fullexpand1");
        QVERIFY(tree->isExpanded(h.window.treeModel()->indexOf(1)));
        QVERIFY(tree->isExpanded(h.window.treeModel()->indexOf(4)));
        h.trigger("Minimize1");
        QVERIFY(!tree->isExpanded(h.window.treeModel()->indexOf(0)));
        QVERIFY(!tree->isExpanded(h.window.treeModel()->indexOf(4)));

        h.window.show();
        h.trigger("Close1");
        QVERIFY(!h.window.isVisible());
    }

    void shortcuts()
    {
        Harness h;
        h.startLoggedIn();
        const auto keys = [&](const char* name) {
            return h.window.findChild<QAction*>(QLatin1String(name))->shortcut();
        };
        QCOMPARE(keys("Saveproject1"), QKeySequence(QKeySequence::Save));
        QCOMPARE(keys("Loadproject1"), QKeySequence(QKeySequence::Open));
        QCOMPARE(keys("GenerateSQL1"), QKeySequence(Qt::Key_F5));

        // F5 turns to the SQL page and generates there.
        h.window.workspace().editSlot(2, [](TColumnRec& rec) {
            rec.method = 102;
            rec.param1 = QStringLiteral("5");
        });
        h.trigger("GenerateSQL1");
        QCOMPARE(h.window.MyPageControl1->currentWidget(), h.window.TsSQL);
        auto* memo = h.window.sqlPage()->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
        QVERIFY(memo->toPlainText().contains(QStringLiteral("SELECT [Id] from")));
    }

    // The filter box narrows the tree as the operator types; the selection
    // and its facts stay while the selected node is shown.
    void treeFilter()
    {
        Harness h;
        h.startLoggedIn();
        h.select(6); // dbo.Orders.Total
        QTest::keyClicks(h.window.TreeFilter, QStringLiteral("TOT"));
        SchemaTreeModel* model = h.window.treeModel();
        QCOMPARE(model->rowCount(model->indexOf(0)), 1);
        QCOMPARE(model->rowCount(model->indexOf(4)), 1);
        QVERIFY(!model->indexOf(2).isValid());
        QCOMPARE(SchemaTreeModel::absoluteIndex(h.window.TreeView1->currentIndex()), 6);
        QVERIFY(h.window.TreeView1->isExpanded(model->indexOf(4)));
        QCOMPARE(h.window.workspace().currentTable(), QStringLiteral("dbo.Orders"));
        QVERIFY(h.vlist().contains(QStringLiteral("Type=float")));

        h.window.TreeFilter->setText(QStringLiteral("person"));
        QVERIFY(!h.window.TreeView1->currentIndex().isValid());
        QVERIFY(h.vlist().isEmpty());
        h.select(3);
        QCOMPARE(h.window.workspace().currentTable(), QStringLiteral("dbo.Person"));

        h.window.TreeFilter->clear();
        QCOMPARE(model->rowCount(model->indexOf(0)), 2);
        QCOMPARE(SchemaTreeModel::absoluteIndex(h.window.TreeView1->currentIndex()), 3);
        // A new login keeps the filter.
        h.window.TreeFilter->setText(QStringLiteral("code"));
        h.trigger("Login1");
        QCOMPARE(model->rowCount(model->indexOf(0)), 1);
        QVERIFY(model->indexOf(5).isValid());
    }

    // The last server, database and login are offered again, never the
    // password; the project folder is proposed where the last project went.
    void remembers()
    {
        QTemporaryDir dir;
        QSettings settings(dir.filePath(QStringLiteral("corvane.ini")), QSettings::IniFormat);
        {
            Harness h;
            h.window.setSettings(&settings);
            h.startLoggedIn(QStringLiteral("Shop"));
            h.dialogs.fileAnswers.enqueue(dir.filePath(QStringLiteral("p.crv")));
            h.trigger("Saveproject1");
        }
        QCOMPARE(settings.value(QStringLiteral("login/database")).toString(), QStringLiteral("Shop"));
        for (const QString& key : settings.allKeys())
            QVERIFY2(settings.value(key).toString() != u"pw", qPrintable(key));

        Harness h;
        h.window.setSettings(&settings);
        QStringList offered;
        h.window.setDialogRunner([&](QDialog& dialog) {
            if (auto* login = qobject_cast<TLoginF*>(&dialog))
                offered << login->EdServerName->text() << login->EdDatabaseName->text()
                        << login->EdLogin->text() << login->EdPassword->text();
            return int(QDialog::Rejected);
        });
        h.window.FormCreate();
        QCOMPARE(offered, QStringList({QStringLiteral("srv"), QStringLiteral("Shop"),
                                       QStringLiteral("sa"), QString()}));
        h.trigger("Loadproject1");
        QCOMPARE(h.dialogs.shown.constLast().options.directory, dir.path());

        // Scripts have a folder of their own.
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sql")));
        h.loginDatabase = QStringLiteral("Shop");
        h.window.setDialogRunner([&h](QDialog& dialog) { return h.answer(dialog); });
        h.trigger("Login1");
        h.window.MyPageControl1->setCurrentWidget(h.window.TsSQL);
        auto* save = h.window.sqlPage()->findChild<QPushButton*>(QStringLiteral("BtSSQLSave"));
        h.dialogs.fileAnswers.enqueue(dir.filePath(QStringLiteral("sql/script.txt")));
        QTest::mouseClick(save, Qt::LeftButton);
        QCOMPARE(h.dialogs.shown.constLast().options.directory, QDir::currentPath());
        QTest::mouseClick(save, Qt::LeftButton);
        QCOMPARE(h.dialogs.shown.constLast().options.directory, dir.filePath(QStringLiteral("sql")));
        h.trigger("Saveproject1");
        QCOMPARE(h.dialogs.shown.constLast().options.directory, dir.path());
    }

    // The window fits a 1280x720 screen at 100 % and a 1366x768 screen at
    // 125 % (1093x614 logical pixels, less the panel) with every page made.
    void fitsSmallScreens()
    {
        Harness h;
        h.startLoggedIn();
        for (int page = 0; page < h.window.MyPageControl1->count(); ++page)
            h.window.MyPageControl1->setCurrentIndex(page);
        const QSize minimum = h.window.minimumSizeHint().expandedTo(h.window.minimumSize());
        QVERIFY2(minimum.width() <= 1060 && minimum.height() <= 560,
                 qPrintable(QStringLiteral("%1x%2").arg(minimum.width()).arg(minimum.height())));
    }

    // At the window's smallest, with a font twice as large, the tree side and
    // every page show every caption whole.
    void captionsFit()
    {
        test::LargerFont font(2.0);
        Harness h;
        h.startLoggedIn();
        h.window.show();
        for (int page = 0; page < h.window.MyPageControl1->count(); ++page)
            h.window.MyPageControl1->setCurrentIndex(page);
        h.window.resize(h.window.minimumSizeHint());
        for (QWidget* page :
             {h.window.TsSQL, h.window.TsSelect, h.window.TsAnonymization, h.window.TsRunSQL}) {
            h.window.MyPageControl1->setCurrentWidget(page);
            QCoreApplication::processEvents();
            QCOMPARE(test::clippedCaptions(page), QStringList());
        }
        // Each of the editor's sheets, with the value list of a foreign key shown.
        h.window.MyPageControl1->setCurrentWidget(h.window.TsAnonymization);
        h.select(5);
        QTabWidget* sheets = h.window.anonymizationPage()->PageControl1();
        for (QWidget* hidden : h.window.anonymizationPage()->findChildren<QWidget*>())
            if (hidden->objectName().startsWith(QStringLiteral("ComboBox")) ||
                hidden->objectName().startsWith(QStringLiteral("Label")))
                hidden->show();
        for (int sheet = 0; sheet < sheets->count(); ++sheet) {
            sheets->setCurrentIndex(sheet);
            QCoreApplication::processEvents();
            QCOMPARE(test::clippedCaptions(sheets->currentWidget()), QStringList());
        }
        QCOMPARE(test::clippedCaptions(h.window.TreeView1->parentWidget()), QStringList());
    }

    void looks()
    {
        Harness h;
        QCOMPARE(h.window.windowTitle(), QStringLiteral("Corvane"));
        const QStringList captions = {QStringLiteral("List of anonymized columns"),
                                      QStringLiteral("Select from current table"),
                                      QStringLiteral("Anonymisation"), QStringLiteral("SQL"),
                                      QStringLiteral("Run SQL")};
        for (int i = 0; i < captions.size(); ++i)
            QCOMPARE(h.window.MyPageControl1->tabText(i), captions.at(i));
        const QPalette palette = h.window.TreeView1->palette();
        QCOMPARE(palette.color(QPalette::Inactive, QPalette::Highlight),
                 palette.color(QPalette::Active, QPalette::Highlight));
        // The strip's JPEG is in the resources and decodes.
        auto* strip = h.window.findChild<QLabel*>(QStringLiteral("Image1"));
        QVERIFY(strip && !strip->pixmap().isNull());
    }
};

QTEST_MAIN(TestMainF)
#include "test_mainf.moc"
