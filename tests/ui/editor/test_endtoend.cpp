#include "db/odbcconnection.h"
#include "script/generator.h"
#include "script/sqlf.h"
#include "tests/support/fakedialogs.h"
#include "tests/support/tdsserver.h"
#include "tests/support/testlocale.h"
#include "tests/ui/main/logintest.h"
#include "ui/editor/anonymizationf.h"
#include "ui/main/loginf.h"
#include "ui/main/mainf.h"
#include "ui/main/schematreemodel.h"

#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

// From the login to the saved script through the real windows, with the ODBC
// driver talking to the TDS test server.
using namespace corvane;
using test::TdsServer;

namespace {

// Nodes: 0 fixture, 1 dbo.Person, 2 Born, 3 Qty, 4 Name, 5 Price.
const QByteArray Schema = R"([
    {"match": "INFORMATION_SCHEMA.TABLES", "columns": [
        {"name": "stab", "type": "nvarchar"}, {"name": "col", "type": "nvarchar"},
        {"name": "PK_table", "type": "nvarchar"}, {"name": "PK_column", "type": "nvarchar"},
        {"name": "Constraint_Name", "type": "nvarchar"}, {"name": "PK", "type": "nvarchar"},
        {"name": "isnull", "type": "nvarchar"}, {"name": "typ", "type": "nvarchar"},
        {"name": "char_max", "type": "nvarchar"}],
     "rows": [["dbo.Person", "Born", null, null, null, null, "YES", "datetime", null],
              ["dbo.Person", "Qty", null, null, null, null, "YES", "int", null],
              ["dbo.Person", "Name", null, null, null, null, "YES", "varchar", "20"],
              ["dbo.Person", "Price", null, null, null, null, "YES", "float", null]]}
])";

enum Node { Born = 2, Qty, Name, Price };

TColumnRec expectedSlot(const QString& col, const QString& typ, const QString& charMax,
                        MethodCode method, const QString& param1, const QString& param2 = {})
{
    TColumnRec slot;
    slot.stab = QStringLiteral("dbo.Person");
    slot.col = col;
    slot.typ = typ;
    slot.isnull = QStringLiteral("YES");
    slot.char_max = charMax;
    slot.method = method;
    slot.param1 = param1;
    slot.param2 = param2;
    return slot;
}

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { test::useTestLocale(); }
    void loginPickGenerateSave();
};

void TestEndToEnd::loginPickGenerateSave()
{
    TdsServer server(TdsServer::defaultFixture(Schema));
    QVERIFY(server.started());
    test::FakeDialogs dialogs;
    TMainF window([] { return db::MakeOdbcConnection(); });
    window.setDialogRunner([&](QDialog& dialog) {
        if (auto* login = qobject_cast<TLoginF*>(&dialog)) {
            login->EdServerName->setText(QStringLiteral("127.0.0.1,") + QString::number(server.port()));
            login->EdDatabaseName->setText(QStringLiteral("fixture"));
            login->EdLogin->setText(QStringLiteral("corvane"));
            login->EdPassword->setText(QStringLiteral("secret"));
            login->Button3->click();
            test::waitForTest(*login);
            login->Button1->click();
        }
        return dialog.result();
    });
    window.FormCreate();
    QVERIFY(QTest::qWaitFor([&] { return !window.isBusy(); }, 5000));
    window.show();
    QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("message: Test connection succeeded.")});
    dialogs.shown.clear();
    QCOMPARE(window.workspace().catalogue().size(), 6);

    const auto select = [&](int node) {
        window.TreeView1->setCurrentIndex(window.treeModel()->indexOf(node));
        QCoreApplication::processEvents();
    };
    select(Born);
    window.MyPageControl1->setCurrentWidget(window.TsAnonymization);
    TAnonymizationF* editor = window.anonymizationPage();
    QVERIFY(editor);
    QCOMPARE(editor->PageControl1()->currentWidget(), editor->TsDateTime);

    // A random interval over the year 2020.
    editor->DateTimePicker2->setDate(QDate(2020, 1, 1));
    editor->DateTimePicker3->setDate(QDate(2020, 12, 31));

    // Noise of up to 5 on the integer column, typed key by key.
    select(Qty);
    QCOMPARE(editor->PageControl1()->currentWidget(), editor->TsInt);
    editor->Edit2->clear();
    QTest::keyClicks(editor->Edit2, QStringLiteral("x5"));

    // A constant text with a quote in it.
    select(Name);
    QCOMPARE(editor->PageControl1()->currentWidget(), editor->TsVarchar);
    QTest::keyClicks(editor->Edit6, QStringLiteral("O'Brien"));

    // Noise of 0.5 kept to 2 decimals on the float column.
    select(Price);
    QCOMPARE(editor->PageControl1()->currentWidget(), editor->TsFloat);
    editor->Edit9->setText(QStringLiteral("0.5"));
    editor->Edit12->setText(QStringLiteral("2"));
    QVERIFY2(dialogs.shown.isEmpty(), qPrintable(dialogs.texts().join(u'\n')));

    window.MyPageControl1->setCurrentWidget(window.TsSQL);
    TSQLF* sql = window.sqlPage();
    QVERIFY(sql);
    sql->findChild<QPushButton*>(QStringLiteral("BtGenSQL"))->click();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("anonymize.sql"));
    dialogs.fileAnswers.enqueue(path);
    sql->findChild<QPushButton*>(QStringLiteral("BtSSQLSave"))->click();
    QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("save: Save your SQL file")});

    // The slots hold exactly the choices, and the file is their script.
    TData expected(2);
    expected << expectedSlot(QStringLiteral("Born"), QStringLiteral("datetime"), {}, 4,
                             QStringLiteral("1/1/2020"), QStringLiteral("1/1/2021"))
             << expectedSlot(QStringLiteral("Qty"), QStringLiteral("int"), {}, 102, QStringLiteral("5"))
             << expectedSlot(QStringLiteral("Name"), QStringLiteral("varchar"), QStringLiteral("20"),
                             1001, QStringLiteral("O'Brien"))
             << expectedSlot(QStringLiteral("Price"), QStringLiteral("float"), {}, 2002,
                             QStringLiteral("0.5"), QStringLiteral("2"));
    for (int node = Born; node <= Price; ++node) {
        const TColumnRec& got = window.workspace().catalogue().at(node);
        const TColumnRec& want = expected.at(node);
        QCOMPARE(got.method, want.method);
        QCOMPARE(got.param1, want.param1);
        QCOMPARE(got.param2, want.param2);
    }
    const script::Generation script = script::GenerateScript(expected, DefaultSeed);
    QVERIFY(!script.error);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    // The header and USE come first; the blocks follow unchanged.
    QVERIFY(saved.startsWith("-- Corvane masking script\r\n-- Database: fixture\r\n"));
    QVERIFY(saved.contains("\r\nUSE [fixture]\r\n\r\n"));
    QVERIFY(saved.endsWith(QByteArray(script.script.toUtf8() + "\r\n")));
    // The choices in the statements' own terms.
    for (const char* piece : {"20200101", "20210101", "O''Brien", "[Qty]", "[Price]", "rand(1)"})
        QVERIFY2(saved.contains(piece), piece);
}

QTEST_MAIN(TestEndToEnd)
#include "test_endtoend.moc"
