// Every method code over names and parameters that bare T-SQL cannot take:
// the script and the run's batches are read back as T-SQL tokens.
#include "run/batches.h"
#include "script/generator.h"
#include "tests/support/testlocale.h"
#include "tests/support/workingdirectory.h"
#include "tests/support/tsqltokens.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace corvane;
using namespace Qt::StringLiterals;
using Kind = test::SqlToken::Kind;

namespace {

const QList<int> AllCodes = {1,    2,    3,    4,    5,    6,    7,    8,    9,    101,  102,  103,
                             104,  105,  106,  107,  108,  109,  1001, 1002, 1003, 1004, 1005, 1007,
                             1008, 1009, 2001, 2002, 2003, 2004, 2005, 2006, 2007, 2008, 2009};

// The parameters of a code: dates, whole numbers (some negative), decimals,
// or a text that tries to leave its literal.
std::pair<QString, QString> paramsOf(int code)
{
    if (code == 2 || code == 6)
        return {u"-4"_s, {}};
    if (code < 100)
        return {u"3/5/2024"_s, u"12/31/2025"_s};
    if (code == 101 || code == 102 || code == 105 || code == 106)
        return {u"-12"_s, {}};
    if (code < 1000)
        return {u"-12"_s, u"-3"_s};
    if (code == 1003)
        return {u"5"_s, u"40"_s};
    if (code == 1007)
        return {u"list"_s, {}};
    if (code < 2000)
        return {u"O'Brien'); drop table dbo.X; --/* Åsa 山田"_s, {}};
    if (code == 2001 || code == 2005)
        return {u"-0.25"_s, {}};
    return {u"-0.25"_s, code == 2002 || code == 2006 ? u"-1"_s : u"7.5"_s};
}

struct Names
{
    QString schema, tab, col, pkSchema, pkTable, pkColumn;
};

// The slot of `code` after a key column of the same table.
TData catalogueOf(int code, const Names& n, const QString& p1, const QString& p2)
{
    TColumnRec key;
    key.schema = n.schema;
    key.tab = n.tab;
    key.stab = n.schema + u'.' + n.tab;
    key.col = key.PK = u"id"_s;
    TColumnRec slot = key;
    slot.col = n.col;
    slot.PK.clear();
    slot.PK_schema = n.pkSchema;
    slot.PK_table = n.pkTable;
    slot.PK_column = n.pkColumn;
    slot.method = code;
    slot.param1 = p1;
    slot.param2 = p2;
    return {TColumnRec{}, TColumnRec{}, key, slot};
}

bool isWord(const test::SqlToken& t, QStringView word)
{
    return t.kind == Kind::Word && t.text.compare(word, Qt::CaseInsensitive) == 0;
}

} // namespace

class TestHostile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        test::useTestLocale();
        QVERIFY(m_dir.entered());
        QVERIFY(m_dir.writeWordList(u"list"_s, "a'b;--c;d]e\r\n"));
    }

    void tokens_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<Names>("names");
        const QList<std::pair<const char*, Names>> sets = {
            // A reserved word for table and column; the referenced table lives
            // in another schema and has a namesake in dbo.
            {"reserved", {u"dbo"_s, u"Order"_s, u"Order"_s, u"sales"_s, u"Orders"_s, u"Order'Id"_s}},
            {"blanks and dots", {u"sales"_s, u"Order Line Items"_s, u"v1.2 Archive"_s, u"sales"_s,
                                 u"dbo.Orders"_s, u"Id"_s}},
            {"quotes and brackets", {u"it's]"_s, u"Tab]le'--"_s, u"col]]umn' /*"_s, u"o]wner"_s,
                                     u"Key's"_s, u"]"_s}},
        };
        for (int code : AllCodes)
            for (const auto& [name, names] : sets)
                QTest::addRow("%d %s", code, name) << code << names;
    }

    void tokens()
    {
        QFETCH(int, code);
        QFETCH(Names, names);
        const auto [p1, p2] = paramsOf(code);
        const TData catalogue = catalogueOf(code, names, p1, p2);
        const auto generation = script::GenerateScript(catalogue, 11);
        QVERIFY2(!generation.error, qPrintable(generation.error ? generation.error->message : QString()));
        const auto batch = run::RunBatches(catalogue, 11).batch(3);
        QVERIFY(batch.ok());

        const QString stab = names.schema + u'.' + names.tab;
        const QSet<QString> names_ = {names.schema, names.tab, names.col, names.pkSchema,
                                      names.pkTable, names.pkColumn, u"id"_s};
        const QSet<std::pair<QString, QString>> tables = {{names.schema, names.tab},
                                                          {names.pkSchema, names.pkTable}};
        // Every literal the blocks may hold.
        QSet<QString> literals = {u"x"_s, u"local"_s, u"cur"_s, u";"_s, u"%s - FAILED: %s"_s, u" - "_s,
                                  u" rows kept their values: no key was drawn for them"_s,
                                  u"No values to shuffle: the pool of the column is empty."_s,
                                  u"No values to draw from: the word list is empty."_s,
                                  u"Anonymisation table "_s + stab + u" column ["_s + names.col + u']',
                                  u"a'b;--c;d]e"_s, u"Invalid object name %s."_s};
        // The script looks for its tables by their delimited names.
        const auto delimited = [](QString name) -> QString { return u'[' + name.replace(u"]"_s, u"]]"_s) + u']'; };
        literals << delimited(names.schema) + u'.' + delimited(names.tab)
                 << delimited(names.pkSchema) + u'.' + delimited(names.pkTable);
        if (code > 1000 && code < 2000 && code != 1003 && code != 1007)
            literals << p1;
        static const QRegularExpression date(u"^\\d{8}$"_s);

        for (const QString& text : {generation.script, *batch}) {
            const QList<test::SqlToken> tokens = test::TokenizeSql(text);
            int parens = 0, begins = 0, ends = 0;
            bool columnNamed = false, keysNamed = false;
            for (qsizetype i = 0; i < tokens.size(); ++i) {
                const test::SqlToken& t = tokens.at(i);
                QVERIFY2(t.kind != Kind::Comment && t.kind != Kind::Unterminated, qPrintable(t.text));
                QVERIFY2(!isWord(t, u"drop"), "a parameter became a statement");
                if (t.kind == Kind::Name) {
                    QVERIFY2(names_.contains(t.value), qPrintable(t.text));
                    columnNamed = columnNamed || t.value == names.col;
                }
                if (t.kind == Kind::String) {
                    QVERIFY2(literals.contains(t.value) || date.match(t.value).hasMatch() ||
                                 t.value.startsWith(u"Lorem ipsum"_s),
                             qPrintable(t.text));
                    // The operator's text reaches the column with every
                    // character: a plain literal would pass the code page.
                    const bool operatorText = (t.value == p1 && code > 1000 && code < 2000) ||
                                              t.value == u"a'b;--c;d]e"_s;
                    QVERIFY2(!operatorText || t.text.startsWith(u"N'"_s), qPrintable(t.text));
                }
                if (t.kind == Kind::Number)
                    QVERIFY2(t.text.count(u'.') <= 1, qPrintable(t.text));
                // A minus is never followed by another: numbers as read.
                if (t.text == u"-"_s && i + 1 < tokens.size())
                    QVERIFY(tokens.at(i + 1).text != u"-"_s);
                parens += t.text == u"("_s ? 1 : t.text == u")"_s ? -1 : 0;
                QVERIFY(parens >= 0);
                if (isWord(t, u"begin") && !(i + 1 < tokens.size() && isWord(tokens.at(i + 1), u"transaction")))
                    ++begins;
                ends += isWord(t, u"end") ? 1 : 0;
                // What follows these words is a two-part delimited name of one
                // of the slot's tables, a variable or a parenthesis.
                const bool forUpdate = i > 0 && isWord(tokens.at(i - 1), u"for");
                const bool reference = isWord(t, u"from") || (isWord(t, u"update") && !forUpdate) ||
                                       (isWord(t, u"table") && i > 0 && isWord(tokens.at(i - 1), u"alter"));
                if (!reference || i + 1 >= tokens.size())
                    continue;
                const test::SqlToken& next = tokens.at(i + 1);
                if (next.kind == Kind::Variable)
                    continue;
                if (next.text == u"dbo"_s && tokens.value(i + 3).text == u"corvane_split"_s)
                    continue;
                QVERIFY2(next.kind == Kind::Name && tokens.value(i + 2).text == u"."_s &&
                             tokens.value(i + 3).kind == Kind::Name,
                         qPrintable(t.text + u' ' + next.text));
                const std::pair<QString, QString> table{next.value, tokens.value(i + 3).value};
                QVERIFY2(tables.contains(table), qPrintable(next.text + u'.' + tokens.value(i + 3).text));
                keysNamed = keysNamed || table == std::pair{names.pkSchema, names.pkTable};
            }
            QCOMPARE(parens, 0);
            QCOMPARE(begins, ends);
            QVERIFY(columnNamed);
            const bool foreignKey = QList<int>{5, 6, 8, 105, 106, 107, 1005, 2005, 2006, 2007}.contains(code);
            QCOMPARE(keysNamed, foreignKey);
        }

        // Every parameter decoded back to itself: the numbers as numbers, a
        // negative one in parentheses.
        const QList<test::SqlToken> tokens = test::TokenizeSql(*batch);
        const auto holdsNumber = [&](const QString& value) {
            const bool negative = value.startsWith(u'-');
            const QString digits = negative ? value.mid(1) : value;
            for (qsizetype i = 0; i + 3 < tokens.size(); ++i) {
                if (!negative && tokens.at(i).kind == Kind::Number && tokens.at(i).text == digits)
                    return true;
                if (negative && tokens.at(i).text == u"("_s && tokens.at(i + 1).text == u"-"_s &&
                    tokens.at(i + 2).text == digits && tokens.at(i + 3).text == u")"_s)
                    return true;
            }
            return false;
        };
        if ((code >= 100 && code < 1000) || code > 2000 || code == 2 || code == 6 || code == 1003) {
            const int offset = code % 100;
            if (offset == 1 || offset == 2 || offset == 3 || offset == 5 || offset == 6 || offset == 7) {
                QVERIFY2(holdsNumber(p1), qPrintable(p1));
                if (!p2.isEmpty())
                    QVERIFY2(holdsNumber(p2), qPrintable(p2));
            }
        }
    }

    // A parameter that is no number ends the generation and the run before
    // its slot, naming the table, the column and the value.
    void nonNumberRefused_data()
    {
        QTest::addColumn<int>("code");
        for (int code : {2, 6, 101, 102, 103, 105, 106, 107, 1003, 2001, 2002, 2003, 2005, 2006, 2007})
            QTest::addRow("%d", code) << code;
    }

    void nonNumberRefused()
    {
        QFETCH(int, code);
        const Names names{u"sales"_s, u"Order Line Items"_s, u"Qty"_s, u"sales"_s, u"Orders"_s, u"Id"_s};
        TData catalogue = catalogueOf(code, names, u"1 drop table dbo.X"_s, u"1 drop table dbo.X"_s);
        catalogue[2].method = 109; // a column before it that is masked
        const QString message =
            u"'1 drop table dbo.X' is not a valid number for column [Qty] of table sales.Order Line Items"_s;
        const auto generation = script::GenerateScript(catalogue, 1);
        QVERIFY(generation.error);
        QCOMPARE(generation.error->message, message);
        QVERIFY(!generation.script.contains(u"drop"_s));
        QVERIFY(generation.script.contains(u"update [sales].[Order Line Items] set [id]=NULL"_s));
        const run::RunBatches batches(catalogue, 1);
        QVERIFY(batches.batch(2).ok());
        QCOMPARE(batches.batch(3).error().message, message);
    }

private:
    test::WorkingDirectory m_dir;
};

Q_DECLARE_METATYPE(Names)

QTEST_GUILESS_MAIN(TestHostile)
#include "test_hostile.moc"
