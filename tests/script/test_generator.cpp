#include "script/generator.h"
#include "script/scriptfile.h"
#include "tests/support/tsqltokens.h"
#include "tests/support/testlocale.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace corvane;
using namespace Qt::StringLiterals;

namespace {

TColumnRec slot(int code, const QString& col, const QString& p1 = {}, const QString& p2 = {})
{
    TColumnRec s;
    s.stab = u"dbo.T"_s;
    s.schema = u"dbo"_s;
    s.tab = u"T"_s;
    s.col = col;
    s.PK_table = u"dbo.K"_s;
    s.PK_column = u"id"_s;
    s.method = code;
    s.param1 = p1;
    s.param2 = p2;
    return s;
}

// Slot 0 is the database and a table's own slot is empty: both stay out.
TData catalogue(const QList<TColumnRec>& columns)
{
    TData data;
    data.append(slot(109, u"database"_s));
    data.append(TColumnRec{});
    data.append(columns);
    return data;
}

QString block(const TColumnRec& s)
{
    auto built = script::BuildBlock(s);
    return built.ok() ? *built : QString();
}

} // namespace

class TestGenerator : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        test::useTestLocale();
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir::setCurrent(m_dir.path()));
        QVERIFY(QDir(m_dir.path()).mkpath(u"virtual_data/locked.txt"_s));
        QFile list(m_dir.filePath(u"virtual_data/names.txt"_s));
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write("Ann;Bob\r\n");
    }

    void preamble_data()
    {
        QTest::addColumn<int>("seed");
        QTest::addColumn<QString>("second");
        QTest::newRow("1") << 1 << u" set @r=rand(1)\r\n"_s;
        QTest::newRow("0") << 0 << u" set @r=rand(0)\r\n"_s;
        QTest::newRow("-5") << -5 << u" set @r=rand(-5)\r\n"_s;
        QTest::newRow("max") << 2147483647 << u" set @r=rand(2147483647)\r\n"_s;
        QTest::newRow("min") << int(INT32_MIN) << u" set @r=rand(-2147483648)\r\n"_s;
    }

    // The nine declarations as they always were, then the draw counter, the
    // typed variables and pool, and the session options of the blocks.
    void preamble()
    {
        QFETCH(int, seed);
        QFETCH(QString, second);
        const QString expected =
            u"declare @r float \r\n"_s + second + u"declare @val varchar(100) \r\n"
            u"declare @rand_int int         \r\n"
            u"declare @rand_float float         \r\n"
            u"declare @rand_datetime datetime         \r\n"
            u"declare @rand_tab table (  rid int IDENTITY(1,1), _datetime datetime, _varchar varchar(1000) ) \r\n"
            u"declare @lorem varchar(500) \r\n"
            u"declare @id int \r\n"
            u"declare @tries int \r\n"
            u"declare @val_int bigint \r\n"
            u"declare @val_float float \r\n"
            u"declare @val_datetime datetimeoffset \r\n"
            u"declare @val_text nvarchar(max) \r\n"
            u"declare @new_int bigint \r\n"
            u"declare @new_datetime datetimeoffset \r\n"
            u"declare @misses int \r\n"
            u"declare @msg nvarchar(2048) \r\n"
            u"declare @pool table (rid int IDENTITY(1,1) primary key, _int bigint, _float float, _datetime datetimeoffset, _text nvarchar(max)) \r\n"
            u"set nocount on \r\n"
            u"set xact_abort on \r\n"_s;
        QCOMPARE(script::BuildPreamble(seed), expected);
    }

    // Every line of the header is one comment, whatever the names and notes
    // hold: a line break in them would turn the rest into T-SQL, in the text
    // as shown and in the file as saved.
    void headerLinesStayComments()
    {
        script::ScriptOrigin origin{u"srv\r\nGO"_s, u"db\ndrop table x"_s, 1, QDate(2026, 1, 2)};
        origin.notes = {u"Check: 1 error, 0 warnings"_s,
                        u"error too-long: dbo.T [c\r\ndrop table y\u2028z\u2029w\u0085v\u000bu]: -- x"_s};
        const QString text = script::BuildScriptText(catalogue({slot(109, u"c"_s)}), origin).text;
        const QString saved = QString::fromUtf8(script::ScriptFileBytes(text));
        const QString head = saved.left(saved.indexOf(u"\r\nUSE "_s));
        const QStringList lines = head.split(u"\r\n"_s);
        QCOMPARE(lines.size(), 8);
        for (const QString& line : lines) {
            const QList<test::SqlToken> tokens = test::TokenizeSql(line);
            QCOMPARE(tokens.size(), 1);
            QCOMPARE(tokens.first().kind, test::SqlToken::Kind::Comment);
        }
        QCOMPARE(lines.at(6), u"-- Check: 1 error, 0 warnings"_s);
        QCOMPARE(lines.at(7), u"-- error too-long: dbo.T [c??drop table y?z?w?v?u]: -- x"_s);
        // Without notes the header is as it always was.
        origin.notes.clear();
        QVERIFY(script::BuildScriptText(catalogue({slot(109, u"c"_s)}), origin)
                    .text.contains(u"-- Masked columns: 1\r\nUSE [db\ndrop table x]\r\n"_s));
    }

    void nothingMasked()
    {
        TData data = catalogue({slot(-1, u"a"_s), slot(0, u"b"_s), slot(100, u"c"_s), slot(1000, u"d"_s),
                                slot(1006, u"e"_s), slot(2000, u"f"_s), slot(10, u"g"_s), slot(3000, u"h"_s)});
        const auto generation = script::GenerateScript(data, 1);
        QCOMPARE(generation.script, QString());
        QVERIFY(!generation.error);
        QVERIFY(script::GenerateScript(TData{}, 1).script.isEmpty());
    }

    // Every block ends in "end catch " and gets one empty line after it.
    void preambleOnceThenBlocks()
    {
        const TColumnRec a = slot(101, u"A col"_s, u"42"_s);
        const TColumnRec b = slot(105, u"b"_s, u"7"_s);
        const TColumnRec c = slot(102, u"c"_s, u"3"_s);
        TData data = catalogue({slot(-1, u"x"_s), slot(100, u"y"_s), a, slot(0, u"z"_s), b, c});
        const auto generation = script::GenerateScript(data, 7);
        QVERIFY(!generation.error);
        QCOMPARE(generation.script, script::BuildPreamble(7) + block(a) + u"\r\n\r\n"_s +
                                        block(b) + u"\r\n\r\n"_s + block(c) + u"\r\n\r\n"_s);
        QVERIFY(block(a).contains(u" update [dbo].[T] set [A col]=42 \r\n commit transaction \r\n"_s));
        QVERIFY(block(b).endsWith(u"end catch "_s));
        QCOMPARE(generation.script.count(u"declare @r float"_s), 1);
    }

    void endsEarly_data()
    {
        QTest::addColumn<TColumnRec>("failing");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing word list")
            << slot(1007, u"c"_s, u"nothere"_s) << u"notice"_s
            << u"File nothere.txt with virtual data does not exist. "_s;
        QTest::newRow("unreadable word list")
            << slot(1007, u"c"_s, u"locked"_s) << u"failure"_s << u"I/O error 21"_s;
        QTest::newRow("bad date") << slot(4, u"c"_s, u"1/1/2024"_s, u"13/1/2024"_s) << u"failure"_s
                                  << u"'13/1/2024' is not a valid date (table dbo.T, column c)"_s;
    }

    // Five masked columns failing at the third: the preamble and the first two
    // blocks stay, nothing after.
    void endsEarly()
    {
        QFETCH(TColumnRec, failing);
        QFETCH(QString, kind);
        QFETCH(QString, message);
        const TColumnRec first = slot(1007, u"first"_s, u"names"_s);
        const TColumnRec second = slot(2, u"second"_s, u"5"_s);
        TData data = catalogue({first, second, failing, slot(109, u"fourth"_s), slot(9, u"fifth"_s)});
        const auto generation = script::GenerateScript(data, 1);
        QVERIFY(generation.error);
        QCOMPARE(generation.error->message, message);
        QCOMPARE(generation.error->isNotice() ? u"notice"_s : u"failure"_s, kind);
        QCOMPARE(generation.script,
                 script::BuildPreamble(1) + block(first) + u"\r\n\r\n"_s + block(second) + u"\r\n\r\n"_s);
    }

    void failingFirstLeavesNothing()
    {
        TData data = catalogue({slot(1, u"c"_s, u"not a date"_s), slot(109, u"d"_s)});
        const auto generation = script::GenerateScript(data, 1);
        QVERIFY(generation.error);
        QCOMPARE(generation.script, QString());
    }

    // A script declares @pool once: every block that fills it empties it
    // first, so a column never receives an earlier column's values.
    void poolIsEmptiedPerBlock()
    {
        const QList<TColumnRec> pooled = {slot(104, u"a"_s), slot(1007, u"b"_s, u"names"_s),
                                          slot(3, u"c"_s), slot(2008, u"d"_s)};
        const QString script = script::GenerateScript(catalogue(pooled), 1).script;
        QCOMPARE(script.count(u"delete from @pool \r\ninsert into @pool"_s), 4);
        QVERIFY(!script.contains(u"set @id=0"_s));
    }

    // The cursor of a table with a primary key is keyset-driven, whatever
    // column carries the key; the others stay dynamic.
    void keysetWhereTheTableHasAKey()
    {
        TColumnRec keyed = slot(102, u"a"_s, u"3"_s);
        TColumnRec key = slot(109, u"id"_s);
        key.PK = u"id"_s;
        TColumnRec plain = slot(102, u"b"_s, u"3"_s);
        TData data = catalogue({keyed, key});
        data << TColumnRec{} << plain;
        QCOMPARE(script::KeyedSlots(data), (QList<bool>{false, false, true, true, false, false}));
        const QString script = script::GenerateScript(data, 1).script;
        QCOMPARE(script.count(u"DECLARE cur CURSOR LOCAL KEYSET FOR"_s), 1);
        QCOMPARE(script.count(u"DECLARE cur CURSOR LOCAL FOR"_s), 1);
    }

    // The word lists are read before the generation and given to it: the
    // generation itself reads no file.
    void wordListsReadFirst()
    {
        TData data = catalogue({slot(1007, u"a"_s, u"names"_s), slot(1007, u"b"_s, u"names"_s),
                                slot(1007, u"c"_s, u"nothere"_s)});
        const script::WordLists words = script::ReadWordLists(data);
        QCOMPARE(words.size(), 2);
        QCOMPARE(*words.find(u"names"_s).value(), u"Ann;Bob"_s);
        QVERIFY(words.find(u"nothere"_s)->error().isNotice());
        script::WordLists changed = words;
        changed.insert(u"names"_s, u"Eve"_s);
        const auto generation = script::GenerateScript(data, 1, changed);
        QCOMPARE(generation.script.count(u"dbo.corvane_split(N'Eve',';')"_s), 2);
        QCOMPARE(generation.error->message, u"File nothere.txt with virtual data does not exist. "_s);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestGenerator)
#include "test_generator.moc"
