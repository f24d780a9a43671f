#include "tests/support/workspace.h"
#include "db/odbcconnection.h"
#include "tests/support/fakedialogs.h"
#include "tests/support/tdsserver.h"
#include "tests/support/testlocale.h"
#include "ui/editor/anonymizationf.h"

#include <QComboBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <memory>

// The value lists of foreign-key columns, read through the ODBC driver from
// the TDS test server.
using namespace corvane;
using test::TdsServer;

namespace {

const QByteArray Rules = R"([
    {"match": "select [Id] from [Customer]", "exact": true,
     "columns": [{"name": "Id", "type": "int"}], "rows": [[30], [4], [null], [12]]},
    {"match": "select [Day] from [Calendar]", "exact": true,
     "columns": [{"name": "Day", "type": "datetime"}],
     "rows": [["2024-02-29 00:00:00"], ["1999-12-31 23:59:59"]]},
    {"match": "select [Code] from [Odd]]Name]", "exact": true,
     "columns": [{"name": "Code", "type": "nvarchar"}], "rows": [["b"], ["a"]]},
    {"match": "select [Code] from [sales].[Odd]]Name]", "exact": true,
     "columns": [{"name": "Code", "type": "nvarchar"}], "rows": [["sales-b"]]},
    {"match": "select [Id] from [Slow]", "exact": true, "stall": 2,
     "columns": [{"name": "Id", "type": "int"}], "rows": [[1], [2]]},
    {"match": "from [Missing]", "error": {"number": 208, "message": "Invalid object name 'Missing'."}}
])";

enum Slot { CustomerId = 2, Day, Code, Lost, SlowKey };

TColumnRec foreignKey(const QString& typ, const QString& table, const QString& column)
{
    TColumnRec slot;
    slot.stab = QStringLiteral("dbo.Orders");
    slot.col = QStringLiteral("Ref");
    slot.typ = typ;
    slot.isnull = QStringLiteral("YES");
    slot.char_max = typ == QLatin1String("varchar") ? QStringLiteral("10") : QString();
    slot.method = NoMethodYet;
    slot.PK_table = table;
    slot.PK_column = column;
    return slot;
}

QStringList entries(const QComboBox* box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

const QString Hint = QStringLiteral("message: foreign key - please choose the value only from combobox");

} // namespace

class TestKeyValueList : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void valuesInDeliveredOrder();
    void datesChosenFromTheList();
    void quotedNames();
    void failingQueryKeepsStoredCode();
    void listReadOffTheWindowsThread();

private:
    void showColumn(int index)
    {
        m_form->ShowColumn(index);
        QCoreApplication::processEvents();
    }
    // Waits until no value list is being read.
    bool listsRead()
    {
        return QTest::qWaitFor(
            [this] {
                for (const QComboBox* values :
                     {m_form->ComboBox1, m_form->ComboBox2, m_form->ComboBox3, m_form->ComboBox5})
                    if (!values->isEnabled())
                        return false;
                return true;
            },
            30000);
    }

    std::unique_ptr<TdsServer> m_server;
    std::unique_ptr<Workspace> m_state;
    std::unique_ptr<test::FakeDialogs> m_dialogs;
    std::unique_ptr<TAnonymizationF> m_form;
};

void TestKeyValueList::initTestCase()
{
    test::useTestLocale();
    m_server = std::make_unique<TdsServer>(TdsServer::defaultFixture(Rules));
    QVERIFY(m_server->started());
}

void TestKeyValueList::init()
{
    m_server->clearBatches();
    TData catalogue(2);
    catalogue.append(foreignKey(QStringLiteral("int"), QStringLiteral("Customer"),
                                              QStringLiteral("Id")));
    catalogue.append(foreignKey(QStringLiteral("datetime"), QStringLiteral("Calendar"),
                                              QStringLiteral("Day")));
    catalogue.append(foreignKey(QStringLiteral("varchar"), QStringLiteral("Odd]Name"),
                                              QStringLiteral("Code")));
    catalogue.append(foreignKey(QStringLiteral("float"), QStringLiteral("Missing"),
                                              QStringLiteral("Id")));
    catalogue.append(
        foreignKey(QStringLiteral("int"), QStringLiteral("Slow"), QStringLiteral("Id")));
    m_state = std::make_unique<Workspace>([] { return db::MakeOdbcConnection(); });
    test::load(*m_state, catalogue, m_server->connectionString());
    m_dialogs = std::make_unique<test::FakeDialogs>();
    m_form = std::make_unique<TAnonymizationF>();
    m_form->SetData(*m_state);
    m_form->resize(800, 400);
    m_form->show();
}

void TestKeyValueList::cleanup()
{
    m_form.reset();
    m_dialogs.reset();
}

void TestKeyValueList::valuesInDeliveredOrder()
{
    showColumn(CustomerId);
    QTest::keyClick(m_form->Edit5, Qt::Key_7); // "07"
    QVERIFY(listsRead());
    QCOMPARE(m_dialogs->texts(), QStringList{Hint});
    QCOMPARE(m_server->batches(), QStringList{QStringLiteral("select [Id] from [Customer]")});
    QVERIFY(!m_form->ComboBox1->isHidden());
    QVERIFY(!m_form->Label7->isHidden());
    const QStringList delivered{QStringLiteral("30"), QStringLiteral("4"), QString(), QStringLiteral("12")};
    QCOMPARE(entries(m_form->ComboBox1), delivered);
    QCOMPARE(m_state->catalogue()[CustomerId].method, 105);
    QCOMPARE(m_state->catalogue()[CustomerId].param1, QStringLiteral("07"));

    // The list is read once for the column shown: neither the next keystroke
    // nor a pick asks again, and a pick stores without a word.
    QTest::keyClick(m_form->Edit5, Qt::Key_Backspace);
    m_form->ComboBox1->setCurrentIndex(3);
    QCOMPARE(m_form->Edit5->text(), QStringLiteral("12"));
    QCOMPARE(m_state->catalogue()[CustomerId].param1, QStringLiteral("12"));
    QCOMPARE(m_dialogs->texts(), QStringList{Hint});
    QCOMPARE(m_server->batches().size(), 1);
    QCOMPARE(entries(m_form->ComboBox1), delivered);

    // Shown again, the column reads its list afresh, not appended to.
    showColumn(Day);
    showColumn(CustomerId);
    QTest::keyClick(m_form->Edit5, Qt::Key_1);
    QVERIFY(listsRead());
    QCOMPARE(m_server->batches().size(), 2);
    QCOMPARE(entries(m_form->ComboBox1), delivered);

    // The box is wide enough for its prompt.
    QVERIFY(m_form->ComboBox1->width()
            >= m_form->ComboBox1->fontMetrics().horizontalAdvance(QStringLiteral("Choose value..")));
}

void TestKeyValueList::datesChosenFromTheList()
{
    showColumn(Day);
    m_form->DateTimePicker1->setDate(QDate(2001, 5, 6));
    QVERIFY(listsRead());
    QCOMPARE(m_state->catalogue()[Day].method, 5);
    QCOMPARE(m_state->catalogue()[Day].param1, QStringLiteral("5/6/2001"));
    // The server's own text of each value, as delivered.
    QCOMPARE(entries(m_form->ComboBox2),
             (QStringList{QStringLiteral("2024-02-29 00:00:00.000"),
                          QStringLiteral("1999-12-31 23:59:59.000")}));

    m_form->ComboBox2->setCurrentIndex(1);
    emit m_form->ComboBox2->textActivated(m_form->ComboBox2->itemText(1));
    QCOMPARE(m_form->DateTimePicker1->date(), QDate(1999, 12, 31));
    QCOMPARE(m_state->catalogue()[Day].param1, QStringLiteral("12/31/1999"));

    // A typed entry that is not a date stores nothing.
    m_dialogs->shown.clear();
    m_form->ComboBox2->setEditText(QStringLiteral("31.12.1999"));
    emit m_form->ComboBox2->textActivated(m_form->ComboBox2->currentText());
    QCOMPARE(m_dialogs->texts(), QStringList{QStringLiteral("error: '31.12.1999' is not a valid date")});
    QCOMPARE(m_state->catalogue()[Day].param1, QStringLiteral("12/31/1999"));
}

void TestKeyValueList::quotedNames()
{
    showColumn(Code);
    QTest::keyClick(m_form->Edit6, Qt::Key_Q);
    QVERIFY(listsRead());
    QCOMPARE(m_server->batches(), QStringList{QStringLiteral("select [Code] from [Odd]]Name]")});
    QCOMPARE(entries(m_form->ComboBox3), (QStringList{QStringLiteral("b"), QStringLiteral("a")}));
    QCOMPARE(m_state->catalogue()[Code].method, 1005);

    // A key in another schema is read there, not from its namesake in the
    // login's default schema.
    m_server->clearBatches();
    m_state->editSlot(Code, [](TColumnRec& s) { s.PK_schema = QStringLiteral("sales"); });
    showColumn(Code);
    QTest::keyClick(m_form->Edit6, Qt::Key_R);
    QVERIFY(listsRead());
    QCOMPARE(m_server->batches(), QStringList{QStringLiteral("select [Code] from [sales].[Odd]]Name]")});
    QCOMPARE(entries(m_form->ComboBox3), QStringList{QStringLiteral("sales-b")});
}

void TestKeyValueList::failingQueryKeepsStoredCode()
{
    showColumn(Lost);
    QTest::mouseClick(m_form->RadioButton20, Qt::LeftButton, {},
                      QPoint(6, m_form->RadioButton20->height() / 2));
    QVERIFY(listsRead());
    QCOMPARE(m_dialogs->texts(),
             (QStringList{Hint, QStringLiteral("error: Invalid object name 'Missing'.")}));
    QCOMPARE(m_state->catalogue()[Lost].method, 2005);
    QCOMPARE(m_state->catalogue()[Lost].param1, QStringLiteral("0"));
    QVERIFY(!m_form->ComboBox5->isHidden());
    QCOMPARE(m_form->ComboBox5->count(), 0);

    // A server that cannot be reached is reported the same way.
    m_dialogs->shown.clear();
    test::load(*m_state, TData(m_state->catalogue()),
               m_server->connectionString(QStringLiteral("fixture"), QStringLiteral("corvane"),
                                          QStringLiteral("wrong")));
    showColumn(Lost);
    QTest::keyClick(m_form->Edit8, Qt::Key_1);
    QVERIFY(listsRead());
    QCOMPARE(m_dialogs->shown.size(), 2);
    QCOMPARE(m_dialogs->shown.at(1).kind, QStringLiteral("error"));
    QVERIFY2(m_dialogs->shown.at(1).text.contains(QStringLiteral("Login failed")),
             qPrintable(m_dialogs->shown.at(1).text));
    QCOMPARE(m_state->catalogue()[Lost].param1, QStringLiteral("01"));
}

// The list is read off the window's thread: typing goes on meanwhile, stores
// at once and reads nothing twice; a list still on its way when another
// column is shown never arrives there.
void TestKeyValueList::listReadOffTheWindowsThread()
{
    showColumn(SlowKey);
    QElapsedTimer clock;
    clock.start();
    QTest::keyClick(m_form->Edit5, Qt::Key_7);
    QVERIFY2(clock.elapsed() < 1000, "the list was read on the window's thread");
    QCOMPARE(m_state->catalogue()[SlowKey].param1, QStringLiteral("07"));
    QVERIFY(!m_form->ComboBox1->isEnabled());
    QCOMPARE(m_form->ComboBox1->currentText(), QStringLiteral("Loading…"));
    QTest::keyClick(m_form->Edit5, Qt::Key_8);
    QCOMPARE(m_state->catalogue()[SlowKey].param1, QStringLiteral("078"));
    QVERIFY(listsRead());
    QCOMPARE(entries(m_form->ComboBox1), (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
    QCOMPARE(m_form->ComboBox1->currentText(), QStringLiteral("Choose value.."));
    QCOMPARE(m_server->batches(), QStringList{QStringLiteral("select [Id] from [Slow]")});
    QCOMPARE(m_state->catalogue()[SlowKey].param1, QStringLiteral("078"));
    QCOMPARE(m_dialogs->texts(), QStringList{Hint});

    m_server->clearBatches();
    showColumn(SlowKey);
    clock.restart();
    QTest::keyClick(m_form->Edit5, Qt::Key_1);
    QTRY_COMPARE(m_server->batches().size(), 1);
    showColumn(CustomerId);
    QVERIFY(m_form->ComboBox1->isEnabled());
    QTest::keyClick(m_form->Edit5, Qt::Key_2);
    QVERIFY(listsRead());
    const QStringList customers{QStringLiteral("30"), QStringLiteral("4"), QString(),
                                QStringLiteral("12")};
    QCOMPARE(entries(m_form->ComboBox1), customers);
    // Past the time the server would have held the first list.
    QTest::qWait(int(std::max<qint64>(0, 2500 - clock.elapsed())));
    QCOMPARE(entries(m_form->ComboBox1), customers);
    QCOMPARE(m_state->catalogue()[CustomerId].method, 105);
    QCOMPARE(m_dialogs->texts(), QStringList(3, Hint));
}

QTEST_MAIN(TestKeyValueList)
#include "test_keyvaluelist.moc"
