#include "check/rules.h"
#include "tests/support/testlocale.h"

#include <QTest>

using namespace corvane;
using namespace corvane::check;

namespace {

// A masked column of table dbo.T with its facts, written in a short form:
// blank-separated words, each a flag or key=value.
//   type=nvarchar len=50 prec=10 scale=2 notnull identity computed generated
//   rowversion unique=UQ_x:1 filtered refs=FK_a:2 cascade fk=KEYS:COLUMNS
//   rows=N triggers=N temporal unknown=rows|triggers|keys|unique|columns
//   hidden (the login sees nothing of the table)
struct Column
{
    TColumnRec slot;
    Facts facts;
};

Column column(MethodCode method, const QString& p1, const QString& p2, const QString& traits)
{
    Column c;
    c.slot.stab = QStringLiteral("dbo.T");
    c.slot.schema = QStringLiteral("dbo");
    c.slot.tab = QStringLiteral("T");
    c.slot.col = QStringLiteral("c");
    c.slot.isnull = QStringLiteral("YES");
    c.slot.method = method;
    c.slot.param1 = p1;
    c.slot.param2 = p2;
    bool hidden = false;
    TableFacts& table = c.facts.table(QStringLiteral("dbo"), QStringLiteral("T"));
    table.rows = 10;
    ColumnFacts& f = table.columns[QStringLiteral("c")];
    f.type = QStringLiteral("int");
    for (const QString& word : traits.split(u' ', Qt::SkipEmptyParts)) {
        const QString key = word.section(u'=', 0, 0);
        const QString value = word.section(u'=', 1);
        const QString first = value.section(u':', 0, 0);
        const int second = value.section(u':', 1).toInt();
        if (key == u"type")
            f.type = value;
        else if (key == u"len")
            f.maxLength = value.toInt() * (f.type.startsWith(u'n') && value != u"-1" ? 2 : 1);
        else if (key == u"prec")
            f.precision = value.toInt();
        else if (key == u"scale")
            f.scale = value.toInt();
        else if (key == u"notnull")
            f.nullable = false;
        else if (key == u"identity")
            f.identity = true;
        else if (key == u"computed")
            f.computed = true;
        else if (key == u"generated")
            f.generatedAlways = true;
        else if (key == u"rowversion")
            f.type = QStringLiteral("timestamp");
        else if (key == u"unique")
            f.uniqueIndex = first, f.uniqueColumns = second;
        else if (key == u"filtered")
            f.uniqueFiltered = true;
        else if (key == u"refs")
            f.blockingKey = first, f.referencedBy = f.referencedWithoutCascade = second;
        else if (key == u"cascade")
            f.referencedBy = 1;
        else if (key == u"fk") {
            f.foreignKeys = first.toInt();
            f.foreignKeyColumns = second;
            c.slot.PK_table = QStringLiteral("P");
            c.slot.PK_column = QStringLiteral("id");
            c.slot.Constraint_Name = QStringLiteral("FK_T_P");
        } else if (key == u"rows")
            table.rows = value == u"none" ? std::nullopt : std::optional<std::int64_t>(value.toLongLong());
        else if (key == u"triggers")
            table.triggers = value.toInt(), table.firstTrigger = QStringLiteral("trg_audit");
        else if (key == u"temporal")
            table.temporal = true;
        else if (key == u"hidden")
            hidden = true;
        else if (key == u"unknown") {
            const QHash<QString, FactGroup> groups = {
                {QStringLiteral("rows"), FactGroup::RowCounts},
                {QStringLiteral("triggers"), FactGroup::Triggers},
                {QStringLiteral("keys"), FactGroup::OwnKeys},
                {QStringLiteral("refs"), FactGroup::ReferencingKeys},
                {QStringLiteral("unique"), FactGroup::UniqueIndexes},
                {QStringLiteral("columns"), FactGroup::Columns}};
            for (const QString& g : value.split(u'|'))
                c.facts.setUnknown(groups.value(g), QStringLiteral("denied"));
        } else
            qFatal("unknown word in a column's facts: %s", qPrintable(word));
    }
    // What the schema query says of the column agrees with the facts.
    c.slot.typ = f.type;
    c.slot.isnull = f.nullable ? QStringLiteral("YES") : QStringLiteral("NO");
    if (traits.contains(QStringLiteral("len=")))
        c.slot.char_max = QString::number(f.characterLength());
    if (hidden)
        c.facts = Facts();
    return c;
}

void addColumns()
{
    QTest::addColumn<int>("method");
    QTest::addColumn<QString>("param1");
    QTest::addColumn<QString>("param2");
    QTest::addColumn<QString>("facts");
    QTest::addColumn<QString>("expected"); // part of the message; empty: no finding
}

// The findings of the rule under test for the current data row. The column
// stands in the catalogue twice, as c and as d (of which the facts know
// nothing), so that a check that reads something once per check reads it once.
void verifyRule(const char* rule, Level level, const Options& options = {})
{
    QFETCH(int, method);
    QFETCH(QString, param1);
    QFETCH(QString, param2);
    QFETCH(QString, facts);
    QFETCH(QString, expected);
    const Column c = column(method, param1, param2, facts);
    TData catalogue(4);
    catalogue[2] = c.slot;
    catalogue[3] = c.slot;
    catalogue[3].col = QStringLiteral("d");
    Findings found;
    for (const Finding& f : Check(catalogue, c.facts, options))
        if (f.rule == QLatin1String(rule) && f.slot == 2)
            found << f;
    if (expected.isEmpty()) {
        QVERIFY2(found.isEmpty(), qPrintable(found.value(0).message));
        return;
    }
    QCOMPARE(found.size(), 1);
    QVERIFY2(found[0].message.contains(expected), qPrintable(found[0].message));
    QCOMPARE(found[0].level, level);
    QCOMPARE(found[0].table, QStringLiteral("dbo.T"));
    if (found[0].rule != u"facts-unknown") {
        QCOMPARE(found[0].column, QStringLiteral("c"));
        QCOMPARE(found[0].method, method);
    }
}

QString repeated(int n)
{
    return QString(n, u'x');
}

} // namespace

class TestRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { test::useTestLocale(); }

    void readOnly_data()
    {
        addColumns();
        QTest::newRow("identity, shuffled") << 104 << "" << "" << "identity" << "identity column";
        QTest::newRow("computed, constant") << 2001 << "1" << "" << "type=float computed" << "computed column";
        QTest::newRow("period column") << 4 << "1/1/2020" << "1/2/2020" << "type=datetime2 generated" << "system-versioned";
        QTest::newRow("rowversion") << 1009 << "" << "" << "rowversion" << "rowversion";
        QTest::newRow("plain column") << 104 << "" << "" << "" << "";
        QTest::newRow("identity left unmasked") << 100 << "" << "" << "identity" << "";
    }
    void readOnly() { verifyRule("read-only", Level::Error); }

    void notNull_data()
    {
        addColumns();
        QTest::newRow("NULL into NOT NULL") << 109 << "" << "" << "notnull" << "NOT NULL";
        QTest::newRow("NULL date into NOT NULL") << 9 << "" << "" << "type=datetime notnull" << "NOT NULL";
        QTest::newRow("NULL into nullable") << 1009 << "" << "" << "type=varchar len=5" << "";
        QTest::newRow("a value into NOT NULL") << 101 << "5" << "" << "notnull" << "";
        // Without facts the schema query's nullability still tells.
        QTest::newRow("NOT NULL known from the schema alone") << 2009 << "" << "" << "type=float notnull unknown=columns" << "NOT NULL";
    }
    void notNull() { verifyRule("not-null", Level::Error); }

    void unique_data()
    {
        addColumns();
        QTest::newRow("constant") << 101 << "5" << "" << "unique=UQ_c:1" << "UQ_c";
        QTest::newRow("key constant") << 1005 << "a" << "" << "type=varchar len=5 unique=UQ_c:1 fk=1:1" << "same value";
        QTest::newRow("same-length text") << 1002 << "abc" << "" << "type=varchar len=9 unique=UQ_c:1" << "same value";
        QTest::newRow("shuffle") << 104 << "" << "" << "unique=PK_T:1" << "first update";
        QTest::newRow("NULL") << 1009 << "" << "" << "type=varchar len=5 unique=UQ_c:1" << "one NULL";
        QTest::newRow("NULL, filtered index") << 1009 << "" << "" << "type=varchar len=5 unique=UQ_c:1 filtered" << "";
        QTest::newRow("random draw") << 103 << "1" << "9" << "unique=UQ_c:1" << "";
        QTest::newRow("composite index") << 101 << "5" << "" << "unique=UQ_cd:2" << "";
        QTest::newRow("one row") << 101 << "5" << "" << "unique=UQ_c:1 rows=1" << "";
        QTest::newRow("indexes unknown") << 101 << "5" << "" << "unique=UQ_c:1 unknown=unique" << "";
    }
    void unique() { verifyRule("unique", Level::Error); }

    void uniqueRisk_data()
    {
        addColumns();
        QTest::newRow("noise") << 102 << "3" << "" << "unique=UQ_c:1" << "draw the same";
        QTest::newRow("word list") << 1007 << "names" << "" << "type=varchar len=9 unique=UQ_c:1" << "draw the same";
        QTest::newRow("constant, composite") << 101 << "5" << "" << "unique=UQ_cd:2" << "of 2 columns";
        QTest::newRow("noise, composite") << 102 << "3" << "" << "unique=UQ_cd:2" << "";
        QTest::newRow("constant, single") << 101 << "5" << "" << "unique=UQ_c:1" << "";
    }
    void uniqueRisk() { verifyRule("unique-risk", Level::Warning); }

    void tooLong_data()
    {
        addColumns();
        QTest::newRow("constant over") << 1001 << repeated(11) << "" << "type=varchar len=10" << "constant of 11 characters is longer than varchar(10)";
        QTest::newRow("constant fits") << 1001 << repeated(10) << "" << "type=varchar len=10" << "";
        QTest::newRow("key constant over nchar") << 1005 << repeated(4) << "" << "type=nchar len=3 fk=1:1" << "nchar(3)";
        QTest::newRow("max type") << 1001 << repeated(90) << "" << "type=nvarchar len=-1" << "";
        QTest::newRow("lorem longest over") << 1003 << "5" << "60" << "type=varchar len=50" << "lower the longest length to 50";
        QTest::newRow("lorem fits") << 1003 << "5" << "50" << "type=varchar len=50" << "";
        QTest::newRow("same length never over") << 1002 << repeated(60) << "" << "type=varchar len=5" << "";
        QTest::newRow("known from the schema alone") << 1001 << repeated(6) << "" << "type=varchar len=5 unknown=columns" << "longer than varchar";
        QTest::newRow("word list entry over") << 1007 << "names" << "" << "type=varchar len=5" << "entry of 7 characters ('Dmitrij')";
        QTest::newRow("word list fits") << 1007 << "names" << "" << "type=varchar len=7" << "";
    }
    void tooLong()
    {
        QFETCH(int, method);
        int reads = 0;
        Options options;
        options.wordList = [&](const QString& name) -> Result<QString> {
            ++reads;
            if (name != u"names")
                return Error::notice(QStringLiteral("missing"));
            return QStringLiteral("Ann;Bob;Dmitrij;Zoë");
        };
        verifyRule("too-long", Level::Error, options);
        // The word list is read once for both columns that name it.
        QCOMPARE(reads, method == 1007 ? 1 : 0);
    }

    void outOfRange_data()
    {
        addColumns();
        QTest::newRow("tinyint constant over") << 101 << "256" << "" << "type=tinyint" << "tinyint holds 0 to 255";
        QTest::newRow("tinyint constant negative") << 101 << "-1" << "" << "type=tinyint" << "tinyint holds 0 to 255";
        QTest::newRow("tinyint top") << 101 << "255" << "" << "type=tinyint" << "";
        QTest::newRow("smallint upper bound over") << 103 << "1" << "40000" << "type=smallint" << "upper bound 40000";
        QTest::newRow("int noise over") << 102 << "3000000000" << "" << "type=int" << "noise range";
        QTest::newRow("bigint bottom") << 105 << "-9223372036854775808" << "" << "type=bigint fk=1:1" << "";
        QTest::newRow("bigint below") << 101 << "-9223372036854775809" << "" << "type=bigint" << "bigint holds";
        QTest::newRow("decimal digits over") << 2001 << "12345.5" << "" << "type=decimal prec=6 scale=2" << "decimal(6,2) holds at most 4 digits";
        QTest::newRow("decimal fits") << 2003 << "-0009999.99" << "9999" << "type=decimal prec=6 scale=2" << "";
        QTest::newRow("smallmoney over") << 2001 << "300000" << "" << "type=smallmoney" << "smallmoney";
        QTest::newRow("float unbounded") << 2001 << "1e300" << "" << "type=float" << "is not a number";
        QTest::newRow("not a number") << 103 << "1 drop table x" << "9" << "type=int" << "'1 drop table x' is not a whole number";
        QTest::newRow("fraction in the integer family") << 101 << "2.5" << "" << "type=int" << "not a whole number";
        QTest::newRow("fraction in the float family") << 2003 << "2.5" << "-7.25" << "type=float" << "";
        QTest::newRow("smalldatetime constant before 1900") << 1 << "12/31/1899" << "" << "type=smalldatetime" << "outside smalldatetime";
        QTest::newRow("datetime random from 1700") << 8 << "1/1/1700" << "1/1/2000" << "type=datetime fk=1:1" << "lower bound 1/1/1700";
        QTest::newRow("date from year 1") << 4 << "1/1/0001" << "1/1/2000" << "type=date" << "";
        // A stored interval end is the day after the last day written.
        QTest::newRow("smalldatetime up to its last day") << 4 << "1/1/2000" << "6/7/2079" << "type=smalldatetime" << "";
        QTest::newRow("smalldatetime past its last day") << 4 << "1/1/2000" << "6/8/2079" << "type=smalldatetime" << "upper bound 6/8/2079";
        QTest::newRow("not a date") << 1 << "31.12.2020" << "" << "type=datetime" << "is not a valid date";
        QTest::newRow("a shuffle has no values") << 104 << "" << "" << "type=tinyint" << "";
    }
    void outOfRange() { verifyRule("out-of-range", Level::Error); }

    void referencedKey_data()
    {
        addColumns();
        QTest::newRow("one key without cascade") << 104 << "" << "" << "refs=FK_O_T:1" << "foreign key FK_O_T without ON UPDATE CASCADE";
        QTest::newRow("several keys") << 109 << "" << "" << "refs=FK_O_T:3" << "3 foreign keys";
        QTest::newRow("cascading key") << 103 << "1" << "5" << "cascade" << "";
        QTest::newRow("keys unknown") << 104 << "" << "" << "refs=FK_O_T:1 unknown=refs" << "";
    }
    void referencedKey() { verifyRule("referenced-key", Level::Error); }

    void foreignKeyMethod_data()
    {
        addColumns();
        QTest::newRow("composite key") << 108 << "" << "" << "fk=1:2" << "of 2 columns";
        QTest::newRow("two keys") << 106 << "2" << "" << "fk=2:1" << "in 2 foreign keys";
        QTest::newRow("no key at all") << 2005 << "1" << "" << "type=float" << "no foreign key";
        QTest::newRow("simple key") << 107 << "1" << "9" << "fk=1:1" << "";
        QTest::newRow("plain method on a composite key") << 104 << "" << "" << "fk=1:2" << "";
        QTest::newRow("own keys unknown") << 108 << "" << "" << "fk=1:2 unknown=keys" << "";
    }
    void foreignKeyMethod() { verifyRule("foreign-key-method", Level::Error); }

    void triggers_data()
    {
        addColumns();
        QTest::newRow("plain method") << 103 << "1" << "9" << "triggers=2" << "2 enabled UPDATE trigger(s) (trg_audit)";
        QTest::newRow("date key method keeps triggers on") << 6 << "3" << "" << "type=datetime fk=1:1 triggers=1" << "trg_audit";
        QTest::newRow("key method switches them off") << 106 << "3" << "" << "fk=1:1 triggers=1" << "";
        QTest::newRow("no triggers") << 103 << "1" << "9" << "" << "";
        QTest::newRow("triggers unknown") << 103 << "1" << "9" << "triggers=2 unknown=triggers" << "";
    }
    void triggers() { verifyRule("triggers", Level::Warning); }

    void largeTable_data()
    {
        addColumns();
        QTest::newRow("cursor over 2.5 million rows") << 1003 << "1" << "9" << "type=varchar len=50 rows=2500000" << "about 2,500,000 single-row updates";
        QTest::newRow("one statement") << 101 << "1" << "" << "rows=2500000" << "";
        QTest::newRow("exactly a million") << 104 << "" << "" << "rows=1000000" << "";
        QTest::newRow("row count unknown") << 104 << "" << "" << "rows=2500000 unknown=rows" << "";
    }
    void largeTable() { verifyRule("large-table", Level::Warning); }

    void unicode_data()
    {
        addColumns();
        QTest::newRow("constant into varchar") << 1001 << "Zoë" << "" << "type=varchar len=10" << "'Zoë'";
        QTest::newRow("same-length text into char") << 1002 << "Ωmega" << "" << "type=char len=10" << "one code page";
        QTest::newRow("ASCII into varchar") << 1001 << "Zoe" << "" << "type=varchar len=10" << "";
        QTest::newRow("into nvarchar") << 1001 << "Zoë" << "" << "type=nvarchar len=10" << "";
        QTest::newRow("lorem is plain") << 1003 << "1" << "9" << "type=varchar len=10" << "";
    }
    void unicode() { verifyRule("unicode", Level::Warning); }

    void reversedInterval_data()
    {
        addColumns();
        QTest::newRow("integers") << 103 << "10" << "-5" << "" << "from 10 down to -5";
        QTest::newRow("floats") << 2007 << "2.5" << "2.25" << "type=float fk=1:1" << "reversed";
        QTest::newRow("dates") << 4 << "12/31/2024" << "1/1/2024" << "type=datetime" << "reversed";
        QTest::newRow("lorem lengths") << 1003 << "40" << "4" << "type=varchar len=50" << "reversed";
        QTest::newRow("in order") << 103 << "-5" << "10" << "" << "";
        QTest::newRow("one point") << 4 << "1/1/2024" << "1/1/2024" << "type=datetime" << "";
        QTest::newRow("noise has no interval") << 102 << "10" << "5" << "" << "";
    }
    void reversedInterval() { verifyRule("reversed-interval", Level::Warning); }

    void emptyTable_data()
    {
        addColumns();
        QTest::newRow("no rows") << 104 << "" << "" << "rows=0" << "no rows";
        QTest::newRow("some rows") << 104 << "" << "" << "rows=3" << "";
        QTest::newRow("rows not visible") << 104 << "" << "" << "rows=none" << "";
    }
    void emptyTable() { verifyRule("empty-table", Level::Warning); }

    void history_data()
    {
        addColumns();
        QTest::newRow("system-versioned") << 1009 << "" << "" << "temporal" << "history table keeps";
        QTest::newRow("plain table") << 1009 << "" << "" << "" << "";
    }
    void history() { verifyRule("history", Level::Warning); }

    void factsUnknown_data()
    {
        addColumns();
        QTest::newRow("partitions denied") << 104 << "" << "" << "unknown=rows" << "row count unknown (denied)";
        QTest::newRow("partitions not visible for the table") << 104 << "" << "" << "rows=none" << "row count unknown:";
        QTest::newRow("two groups") << 104 << "" << "" << "unknown=rows|triggers" << "triggers, row count unknown";
        QTest::newRow("table not visible") << 104 << "" << "" << "hidden" << "column facts unknown";
        QTest::newRow("all known") << 104 << "" << "" << "" << "";
    }
    void factsUnknown() { verifyRule("facts-unknown", Level::Warning); }

    // One column of each fault class in one catalogue: each is caught by its
    // own rule, and the sound columns beside them give nothing.
    void everyFaultClassIsCaught()
    {
        struct Fault
        {
            const char* name;
            Column column;
            QStringList rules;
        };
        const QList<Fault> faults = {
            {"identity", column(101, QStringLiteral("1"), {}, QStringLiteral("identity")), {QStringLiteral("read-only")}},
            {"computed", column(104, {}, {}, QStringLiteral("computed")), {QStringLiteral("read-only")}},
            {"rowversion", column(1009, {}, {}, QStringLiteral("rowversion")), {QStringLiteral("read-only")}},
            {"null", column(109, {}, {}, QStringLiteral("notnull")), {QStringLiteral("not-null")}},
            {"unique", column(101, QStringLiteral("7"), {}, QStringLiteral("unique=UQ:1")), {QStringLiteral("unique")}},
            {"long", column(1001, QStringLiteral("abcdef"), {}, QStringLiteral("type=varchar len=3")), {QStringLiteral("too-long")}},
            {"tinyint", column(103, QStringLiteral("0"), QStringLiteral("300"), QStringLiteral("type=tinyint")), {QStringLiteral("out-of-range")}},
            {"key", column(102, QStringLiteral("2"), {}, QStringLiteral("refs=FK_X:1")), {QStringLiteral("referenced-key")}},
            {"composite", column(108, {}, {}, QStringLiteral("fk=1:2")), {QStringLiteral("foreign-key-method")}},
            {"triggers", column(104, {}, {}, QStringLiteral("triggers=1")), {QStringLiteral("triggers")}},
            {"large", column(104, {}, {}, QStringLiteral("rows=1000001")), {QStringLiteral("large-table")}},
            {"unicode", column(1001, QStringLiteral("Ärger"), {}, QStringLiteral("type=varchar len=9")), {QStringLiteral("unicode")}},
            {"reversed", column(103, QStringLiteral("9"), QStringLiteral("1"), {}), {QStringLiteral("reversed-interval")}},
            {"empty", column(104, {}, {}, QStringLiteral("rows=0")), {QStringLiteral("empty-table")}},
            {"sound", column(103, QStringLiteral("1"), QStringLiteral("9"), QStringLiteral("unique=UQ:2 fk=1:1 cascade")), {}},
            {"unmasked", column(100, {}, {}, QStringLiteral("identity notnull")), {}},
        };
        // One table per fault, merged into one catalogue and one set of facts.
        TData catalogue(1);
        Facts facts;
        for (const Fault& fault : faults) {
            TColumnRec slot = fault.column.slot;
            slot.tab = QLatin1String(fault.name);
            slot.stab = u"dbo." + slot.tab;
            catalogue << TColumnRec() << slot;
            facts.table(slot.schema, slot.tab) = *fault.column.facts.findTable(QStringLiteral("dbo"), QStringLiteral("T"));
        }
        const Findings findings = Check(catalogue, facts);
        for (const Fault& fault : faults) {
            QStringList rules;
            for (const Finding& f : findings)
                if (f.table == u"dbo." + QLatin1String(fault.name))
                    rules << f.rule;
            QCOMPARE(rules, fault.rules);
        }
        QCOMPARE(Summary(findings), QStringLiteral("9 errors, 5 warnings"));
        QVERIFY(HasErrors(findings));
    }

    void summary()
    {
        const Finding error{Level::Error, 2, QStringLiteral("dbo.T"), QStringLiteral("c"), 101, QStringLiteral("unique"), QStringLiteral("m")};
        Finding warning = error;
        warning.level = Level::Warning;
        QCOMPARE(Summary({}), QStringLiteral("No findings"));
        QCOMPARE(Summary({error, warning}), QStringLiteral("1 error, 1 warning"));
        QCOMPARE(Summary({warning, warning}), QStringLiteral("0 errors, 2 warnings"));
        QVERIFY(!HasErrors({warning}));
    }

    // The list's cell per column: its own findings only, errors ranked first.
    void verdictsBySlot()
    {
        const Column c = column(109, {}, {}, QStringLiteral("notnull triggers=1 rows=0 unknown=unique"));
        TData catalogue(4);
        catalogue[2] = c.slot;
        catalogue[3] = c.slot;
        catalogue[3].col = QStringLiteral("d"); // no facts: nothing but the schema's NOT NULL
        const QHash<int, SlotVerdict> verdicts = VerdictsBySlot(Check(catalogue, c.facts));
        QCOMPARE(verdicts.size(), 2);
        QCOMPARE(verdicts[2].text(), QStringLiteral("1 error, 2 warnings"));
        QCOMPARE(verdicts[2].rank(), 2);
        QCOMPARE(verdicts[3].text(), QStringLiteral("1 error, 2 warnings"));
        QCOMPARE((SlotVerdict{0, 1}.text()), QStringLiteral("1 warning"));
        QCOMPARE((SlotVerdict{0, 1}.rank()), 1);
        QCOMPARE(SlotVerdict{}.rank(), 0);
    }

    // The summary, then one line per finding naming where and why; names
    // stand as they are (the script's header keeps them inside their comment).
    void scriptComments()
    {
        Column c = column(1001, QStringLiteral("abcd"), {}, QStringLiteral("type=varchar len=3"));
        c.slot.col = QStringLiteral("c\ndrop");
        c.facts.table(QStringLiteral("dbo"), QStringLiteral("T")).columns[c.slot.col] =
            c.facts.findTable(QStringLiteral("dbo"), QStringLiteral("T"))->columns.value(QStringLiteral("c"));
        TData catalogue(3);
        catalogue[2] = c.slot;
        const Findings findings = Check(catalogue, c.facts);
        QVERIFY(!findings.isEmpty());
        const QStringList lines = ScriptComments(findings);
        QCOMPARE(lines.size(), findings.size() + 1);
        QCOMPARE(lines.first(), QStringLiteral("Check: ") + Summary(findings));
        QVERIFY2(lines.at(1).startsWith(QStringLiteral("error too-long: dbo.T [c\ndrop] (Constant value varchar): ")),
                 qPrintable(lines.at(1)));
        QCOMPARE(ScriptComments({}), QStringList{QStringLiteral("Check: No findings")});
    }

    // The editor asks for one slot's findings; they are those of the whole check.
    void oneSlotAgreesWithTheWholeCheck()
    {
        const Column c = column(109, {}, {}, QStringLiteral("notnull triggers=1 unknown=rows"));
        TData catalogue(3);
        catalogue[2] = c.slot;
        Findings columnFindings;
        for (const Finding& f : Check(catalogue, c.facts))
            if (!f.column.isEmpty())
                columnFindings << f;
        QCOMPARE(CheckSlot(c.slot, 2, c.facts), columnFindings);
        QCOMPARE(columnFindings.size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestRules)
#include "test_rules.moc"
