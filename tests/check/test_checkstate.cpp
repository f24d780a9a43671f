#include "catalogue/workspace.h"
#include "check/checkstate.h"
#include "tests/support/workspace.h"

#include <QSignalSpy>
#include <QTest>

using namespace corvane;
using namespace corvane::check;
using namespace Qt::StringLiterals;

namespace {

TColumnRec slot(const QString& tab, const QString& col, const QString& typ)
{
    TColumnRec rec;
    rec.schema = u"dbo"_s;
    rec.tab = tab;
    rec.stab = u"dbo."_s + tab;
    rec.col = col;
    rec.typ = typ;
    rec.isnull = u"YES"_s;
    return rec;
}

// Three tables: A known whole, B without its row count, C not visible at all.
// Slots: 1 A, 2 a1, 3 a2, 4 a3, 5 B, 6 b1, 7 b2, 8 C, 9 c1, 10 c2.
TData catalogue()
{
    TData data{TColumnRec{}};
    data << slot(u"A"_s, {}, {}) << slot(u"A"_s, u"a1"_s, u"nvarchar"_s)
         << slot(u"A"_s, u"a2"_s, u"int"_s) << slot(u"A"_s, u"a3"_s, u"tinyint"_s);
    data << slot(u"B"_s, {}, {}) << slot(u"B"_s, u"b1"_s, u"varchar"_s)
         << slot(u"B"_s, u"b2"_s, u"int"_s);
    data << slot(u"C"_s, {}, {}) << slot(u"C"_s, u"c1"_s, u"varchar"_s)
         << slot(u"C"_s, u"c2"_s, u"int"_s);
    return data;
}

ColumnFacts& column(TableFacts& table, const QString& name, const QString& type, int length)
{
    ColumnFacts& c = table.columns[name];
    c.type = type;
    c.maxLength = length;
    return c;
}

Facts facts()
{
    Facts f;
    TableFacts& a = f.table(u"dbo"_s, u"A"_s);
    a.rows = 10;
    a.triggers = 1;
    a.firstTrigger = u"trg"_s;
    column(a, u"a1"_s, u"nvarchar"_s, 6).nullable = false;
    ColumnFacts& a2 = column(a, u"a2"_s, u"int"_s, 4);
    a2.uniqueIndex = u"UQ_a2"_s;
    a2.uniqueColumns = 1;
    column(a, u"a3"_s, u"tinyint"_s, 1);
    TableFacts& b = f.table(u"dbo"_s, u"B"_s);
    column(b, u"b1"_s, u"varchar"_s, 2);
    column(b, u"b2"_s, u"int"_s, 4);
    return f;
}

} // namespace

class TestCheckState : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // An edit checks its table again, not the catalogue: after every edit the
    // findings must be those of a whole check, table findings included (they
    // stand at a table's first masked column, which edits move).
    void editsAgreeWithTheWholeCheck()
    {
        Workspace workspace;
        CheckState state(workspace);
        state.setNextFacts(facts());
        test::load(workspace, catalogue(), {});
        QSignalSpy changed(&state, &CheckState::findingsChanged);

        const struct
        {
            int slot;
            MethodCode method;
            const char16_t* param1;
        } edits[] = {
            {3, 101, u"7"},    {2, 1001, u"abcdef"}, {4, 101, u"300"}, {2, 1009, u""},
            {6, 1001, u"xyz"}, {7, 109, u""},        {9, 1009, u""},   {10, 102, u"5"},
            {2, 1000, u""},    {3, 100, u""},        {6, 1000, u""},   {9, 1000, u""},
            {4, 100, u""},     {3, 104, u""},        {2, 1001, u"ab"}, {7, 100, u""},
        };
        for (const auto& e : edits) {
            workspace.editSlot(e.slot, [&e](TColumnRec& s) {
                s.method = e.method;
                s.param1 = QString::fromUtf16(e.param1);
            });
            QCOMPARE(state.findings(), Check(workspace.catalogue(), state.facts()));
        }
        QCOMPARE(changed.size(), qsizetype(std::size(edits)));
        QVERIFY(state.hasErrors()); // the shuffle into a unique index, at the end
    }

    void oneColumnsFindings()
    {
        Workspace workspace;
        CheckState state(workspace);
        state.setNextFacts(facts());
        TData data = catalogue();
        data[2].method = 1009; // NULL into NOT NULL
        data[4].method = 101;  // a number outside tinyint
        data[4].param1 = u"300"_s;
        test::load(workspace, data, {});
        QCOMPARE(state.verdictOf(2).text(), u"1 error, 1 warning"_s); // and the trigger
        QCOMPARE(state.verdictOf(3).rank(), 0);
        const Findings a3 = state.findingsOf(4);
        QCOMPARE(a3.size(), 2);
        QCOMPARE(a3.first().rule, u"out-of-range"_s);
        QCOMPARE(a3.last().rule, u"triggers"_s);
    }

    // Facts go with the catalogue they were read with, and with no other.
    void factsFollowTheirCatalogue()
    {
        Workspace workspace;
        CheckState state(workspace);
        TData data = catalogue();
        data[2].method = 1009;
        state.setNextFacts(facts());
        test::load(workspace, data, {});
        QCOMPARE(state.findingsOf(2).first().rule, u"not-null"_s);
        QVERIFY(state.facts().findTable(u"dbo"_s, u"A"_s));

        // A login whose facts were not handed over knows nothing of its tables.
        test::load(workspace, data, {});
        QVERIFY(!state.facts().findTable(u"dbo"_s, u"A"_s));
        QVERIFY(state.findingsOf(2).isEmpty());
        QCOMPARE(state.findings().size(), 1);
        QCOMPARE(state.findings().first().rule, u"facts-unknown"_s);
        QVERIFY(state.findings().first().message.contains(u"column facts unknown"_s));

        // A loaded project is checked whole against the facts of the moment.
        state.setNextFacts(facts());
        test::load(workspace, catalogue(), {});
        QVERIFY(state.findings().isEmpty());
        QSignalSpy changed(&state, &CheckState::findingsChanged);
        workspace.replaceChoices(data);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(state.findings(), Check(workspace.catalogue(), state.facts()));
        QVERIFY(state.hasErrors());
    }
};

QTEST_GUILESS_MAIN(TestCheckState)
#include "test_checkstate.moc"
