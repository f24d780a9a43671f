#include "tests/support/slots.h"
#include "project/loadsave.h"
#include "script/generator.h"
#include "catalogue/textconv.h"
#include "tests/support/testlocale.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace corvane;
using corvane::test::column;

namespace {

// Database, table dbo.Person with three columns, table dbo.Order with two.
TData personCatalogue()
{
    TData data;
    data << TColumnRec{} << TColumnRec{};
    data << column(QStringLiteral("dbo.Person"), QStringLiteral("Id"))
         << column(QStringLiteral("dbo.Person"), QStringLiteral("Name"))
         << column(QStringLiteral("dbo.Person"), QStringLiteral("Birthdate"));
    data << TColumnRec{};
    data << column(QStringLiteral("dbo.Order"), QStringLiteral("Id"))
         << column(QStringLiteral("dbo.Order"), QStringLiteral("Total"));
    return data;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll();
}

bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// "method|param1|param2" of every slot, to compare catalogues in one go.
QStringList choices(const TData& data)
{
    QStringList out;
    for (const TColumnRec& rec : data)
        out << QString::number(rec.method) + u'|' + rec.param1 + u'|' + rec.param2;
    return out;
}

} // namespace

class TestLoadSave : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        test::useTestLocale();
        QVERIFY(m_dir.isValid());
    }

    void savedBytes_data()
    {
        QTest::addColumn<TData>("catalogue");
        QTest::addColumn<QByteArray>("bytes");

        TData person;
        person << TColumnRec{} << TColumnRec{}
               << column(QStringLiteral("dbo.Person"), QStringLiteral("Birthdate"), 2,
                         QStringLiteral("30"));
        QTest::newRow("table slot and date column")
            << person << QByteArray("3\r\n1;;;0;;;\r\n2;Birthdate;dbo.Person;2;30;;\r\n");
        QTest::newRow("empty catalogue") << TData{} << QByteArray("0\r\n");
        QTest::newRow("database node alone") << TData{TColumnRec{}} << QByteArray("1\r\n");

        TData text;
        text << TColumnRec{} << TColumnRec{}
             << column(QStringLiteral("dbo.Kunde"), QStringLiteral("Straße"), 1003,
                       QStringLiteral("O'Brien"), QStringLiteral("-5"));
        QTest::newRow("UTF-8 and quotes verbatim")
            << text << QByteArray("3\r\n1;;;0;;;\r\n2;Stra\xc3\x9f"
                                  "e;dbo.Kunde;1003;O'Brien;-5;\r\n");

        TData longName;
        longName << TColumnRec{} << TColumnRec{}
                 << column(QStringLiteral("dbo.CustomerAddressHistory"),
                           QStringLiteral("DeliveryAddressLineNumberTwo"), -1);
        QTest::newRow("names longer than 20 written whole")
            << longName
            << QByteArray("3\r\n1;;;0;;;\r\n2;DeliveryAddressLineNumberTwo;dbo.CustomerAddressHistory;-1;;;\r\n");
    }
    void savedBytes()
    {
        QFETCH(TData, catalogue);
        QFETCH(QByteArray, bytes);
        const QString path = m_dir.filePath(QStringLiteral("saved.crv"));
        QVERIFY(TLoadSave().SaveProject(path, catalogue).ok());
        QCOMPARE(readAll(path), bytes);
    }

    // Every method code and parameters with quotes, blanks and non-ASCII
    // letters come back as they were, also after a second save and load.
    void roundTrip()
    {
        TData saved;
        saved << TColumnRec{};
        QList<MethodCode> codes = {-1, 0, 100, 1000, 2000};
        for (MethodCode base : {0, 100, 1000, 2000})
            for (MethodCode i = 1; i <= 9; ++i)
                codes << base + i;
        const QStringList params = {
            QString(), QStringLiteral("O'Brien"), QStringLiteral("''"), QStringLiteral("12/31/2030"),
            QStringLiteral("  blanks  "), QStringLiteral("Zoë Ångström"), QString(100, u'x'),
            QStringLiteral("-2147483648"),
        };
        for (qsizetype i = 0; i < codes.size(); ++i) {
            if (i % 10 == 0)
                saved << TColumnRec{};
            saved << column(QStringLiteral("dbo.T%1").arg(i / 10), QStringLiteral("c%1").arg(i),
                            codes.at(i), params.at(i % params.size()),
                            params.at((i + 3) % params.size()));
        }
        const QString path = m_dir.filePath(QStringLiteral("roundtrip.crv"));

        TData loaded = saved;
        for (int pass = 0; pass < 2; ++pass) {
            QVERIFY(TLoadSave().SaveProject(path, loaded).ok());
            // Slot 0 has no line of its own and keeps what it holds.
            for (qsizetype i = 1; i < loaded.size(); ++i) {
                loaded[i].method = 4242;
                loaded[i].param1 = loaded[i].param2 = QStringLiteral("stale");
            }
            const Status status = TLoadSave().LoadProject(path, loaded);
            QVERIFY2(status.ok(), qPrintable(status.error().message));
            QCOMPARE(choices(loaded), choices(saved));
        }
    }

    // Dates go into the file as yyyy-MM-dd, so that a project saved on one
    // desktop generates the same script under any other locale, the command
    // line's C locale included.
    void datesAcrossLocales_data()
    {
        QTest::addColumn<QString>("loadLocale");
        QTest::newRow("en_US") << QStringLiteral("en_US");
        QTest::newRow("C") << QStringLiteral("C");
        QTest::newRow("de_DE") << QStringLiteral("de_DE");
    }
    void datesAcrossLocales()
    {
        QFETCH(QString, loadLocale);
        auto back = qScopeGuard([] { test::useTestLocale(); });

        QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
        const auto shown = [](int y, int m, int d) { return DateToText(QDate(y, m, d)); };
        TData saved;
        saved << TColumnRec{} << TColumnRec{}
              << column(QStringLiteral("dbo.Person"), QStringLiteral("Born"), 1, shown(1950, 12, 8))
              << column(QStringLiteral("dbo.Person"), QStringLiteral("Hired"), 4,
                        shown(2001, 2, 3), shown(2024, 11, 30))
              << column(QStringLiteral("dbo.Person"), QStringLiteral("Left"), 8,
                        shown(2030, 1, 2), QStringLiteral("no date"))
              << column(QStringLiteral("dbo.Person"), QStringLiteral("Seen"), 2, QStringLiteral("30"));
        const QString path = m_dir.filePath(QStringLiteral("dates.crv"));
        QVERIFY(TLoadSave().SaveProject(path, saved).ok());
        const script::Generation there = script::GenerateScript(saved, 7);
        QVERIFY(there.error.has_value()); // "no date" ends the script at Left
        QCOMPARE(readAll(path), QByteArray("6\r\n1;;;0;;;\r\n2;Born;dbo.Person;1;1950-12-08;;\r\n"
                                           "3;Hired;dbo.Person;4;2001-02-03;2024-11-30;\r\n"
                                           "4;Left;dbo.Person;8;2030-01-02;no date;\r\n"
                                           "5;Seen;dbo.Person;2;30;;\r\n"));

        QLocale::setDefault(loadLocale == u"C" ? QLocale::c() : QLocale(loadLocale));
        TData loaded = saved;
        QVERIFY(TLoadSave().LoadProject(path, loaded).ok());
        // Slots hold the dates as this locale shows them; texts that are no date stay.
        QCOMPARE(loaded.at(2).param1, shown(1950, 12, 8));
        QCOMPARE(loaded.at(4).param2, QStringLiteral("no date"));
        QCOMPARE(loaded.at(5).param1, QStringLiteral("30"));
        const script::Generation here = script::GenerateScript(loaded, 7);
        QCOMPARE(here.script, there.script);
        QVERIFY(here.script.contains(u"'19501208'"));
        QVERIFY(here.error.has_value());
    }

    // Files written before dates were stored as yyyy-MM-dd hold the short
    // format of their locale; under that locale they still load and generate.
    void shortFormatFileStillLoads()
    {
        TData data;
        data << TColumnRec{} << TColumnRec{} << column(QStringLiteral("dbo.Person"), QStringLiteral("Born"));
        const QString path = m_dir.filePath(QStringLiteral("old.crv"));
        QVERIFY(writeAll(path, "3\r\n1;;;0;;;\r\n2;Born;dbo.Person;4;12/8/1950;1/1/2000;\r\n"));
        QVERIFY(TLoadSave().LoadProject(path, data).ok());
        QCOMPARE(data.at(2).param1, QStringLiteral("12/8/1950"));
        const script::Generation generated = script::GenerateScript(data, 1);
        QVERIFY(!generated.error.has_value());
        QVERIFY(generated.script.contains(u"'19501208','20000101'"));
    }

    void emptyCatalogueLoadsNothing()
    {
        const QString path = m_dir.filePath(QStringLiteral("empty.crv"));
        QVERIFY(writeAll(path, "0\r\n"));
        TData empty;
        QVERIFY(TLoadSave().LoadProject(path, empty).ok());
        QVERIFY(empty.isEmpty());
    }

    // A load that stops keeps the slots before the stop and leaves the rest.
    void loadStops_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("notice");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("loadedSlots"); // slots 1..n - 1 hold the file's values

        const QString incompatible = QStringLiteral("Incompatible file for this database !.");
        const QByteArray head = "8\r\n1;;;0;;;\r\n2;Id;dbo.Person;101;5;;\r\n";
        QTest::newRow("7 slots into 8")
            << QByteArray("7\r\n1;;;0;;;\r\n2;Id;dbo.Person;101;5;;\r\n") << true << incompatible << 1;
        QTest::newRow("9 slots into 8") << QByteArray("9\r\n") << true << incompatible << 1;
        QTest::newRow("column name differs at slot 3")
            << head + "3;name;dbo.Person;1001;;;\r\n" << true << incompatible << 3;
        QTest::newRow("table name differs at slot 4")
            << head + "3;Name;dbo.Person;1001;;;\r\n4;Birthdate;dbo.People;1;;;\r\n" << true
            << incompatible << 4;
        QTest::newRow("fewer lines than the count")
            << head + "3;Name;dbo.Person;1001;;;\r\n" << true << incompatible << 4;
        QTest::newRow("eleven fields")
            << head + "3;Name;dbo.Person;1001;a;b;c;d;e;f;g\r\n" << true << incompatible << 3;
        QTest::newRow("line 1 not a number")
            << QByteArray("eight\r\n") << false
            << QStringLiteral("'eight' is not a valid integer value") << 1;
        QTest::newRow("empty file")
            << QByteArray() << false << QStringLiteral("'' is not a valid integer value") << 1;
        QTest::newRow("method not a number at slot 3")
            << head + "3;Name;dbo.Person;10x1;;;\r\n" << false
            << QStringLiteral("'10x1' is not a valid integer value") << 3;
        QTest::newRow("method out of range at slot 2")
            << QByteArray("8\r\n1;;;0;;;\r\n2;Id;dbo.Person;2147483648;;;\r\n") << false
            << QStringLiteral("'2147483648' is not a valid integer value") << 2;
    }
    void loadStops()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, notice);
        QFETCH(QString, message);
        QFETCH(int, loadedSlots);

        const QString path = m_dir.filePath(QStringLiteral("stops.crv"));
        QVERIFY(writeAll(path, file));
        TData data = personCatalogue();
        const TData before = data;
        const Status status = TLoadSave().LoadProject(path, data);
        QVERIFY(!status.ok());
        QCOMPARE(status.error().isNotice(), notice);
        QCOMPARE(status.error().message, message);

        for (int i = 0; i < data.size(); ++i) {
            const TColumnRec& rec = data.at(i);
            QCOMPARE(rec.col, before.at(i).col);
            QCOMPARE(rec.stab, before.at(i).stab);
            if (i >= loadedSlots)
                QCOMPARE(rec.method, before.at(i).method);
        }
        if (loadedSlots > 2)
            QCOMPARE(data.at(2).method, 101);
        if (loadedSlots > 2)
            QCOMPARE(data.at(2).param1, QStringLiteral("5"));
    }

    // Older builds cut names at 20 characters; such a name still identifies
    // the slot, but only a name of exactly 20 characters is taken as cut.
    void legacyNames_data()
    {
        QTest::addColumn<QString>("fileCol");
        QTest::addColumn<QString>("fileTab");
        QTest::addColumn<bool>("matches");

        const QString col = QStringLiteral("DeliveryAddressLineNumberTwo");
        const QString tab = QStringLiteral("dbo.CustomerAddressHistory");
        QTest::newRow("whole names") << col << tab << true;
        QTest::newRow("both cut at 20") << col.left(20) << tab.left(20) << true;
        QTest::newRow("cut at 19") << col.left(19) << tab << false;
        QTest::newRow("cut at 21") << col.left(21) << tab << false;
        QTest::newRow("20 characters of another name")
            << QStringLiteral("DeliveryAddressLineX") << tab << false;
        QTest::newRow("case differs") << col.toLower() << tab << false;
    }
    void legacyNames()
    {
        QFETCH(QString, fileCol);
        QFETCH(QString, fileTab);
        QFETCH(bool, matches);

        TData data;
        data << TColumnRec{} << TColumnRec{}
             << column(QStringLiteral("dbo.CustomerAddressHistory"),
                       QStringLiteral("DeliveryAddressLineNumberTwo"));
        const QString path = m_dir.filePath(QStringLiteral("legacy.crv"));
        QVERIFY(writeAll(path, "3\r\n1;;;0;;;\r\n2;" + fileCol.toUtf8() + ';' + fileTab.toUtf8() +
                                   ";1001;;;\r\n"));
        const Status status = TLoadSave().LoadProject(path, data);
        QCOMPARE(status.ok(), matches);
        QCOMPARE(data.at(2).method, matches ? 1001 : NoMethodYet);
    }

    void loadDetails_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("param1");
        QTest::addColumn<QString>("param2");

        QTest::newRow("quotes kept") << QByteArray("O'Brien;it''s;") << QStringLiteral("O'Brien")
                                     << QStringLiteral("it''s");
        QTest::newRow("parameters cut to 100")
            << QByteArray(QByteArray(99, 'a') + "''';" + QByteArray(150, 'b') + ';')
            << QString(QString(99, u'a') + u'\'') << QString(100, u'b');
        QTest::newRow("line without the last separator")
            << QByteArray("x;y") << QStringLiteral("x") << QStringLiteral("y");
    }
    void loadDetails()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, param1);
        QFETCH(QString, param2);

        TData data;
        data << TColumnRec{} << TColumnRec{}
             << column(QStringLiteral("dbo.Person"), QStringLiteral("Name"));
        const QString path = m_dir.filePath(QStringLiteral("details.crv"));
        // LF alone ends a line as well as CR LF.
        QVERIFY(writeAll(path, "3\n1;;;0;;;\n2;Name;dbo.Person;1003;" + line + "\n"));
        const Status status = TLoadSave().LoadProject(path, data);
        QVERIFY2(status.ok(), qPrintable(status.ok() ? QString() : status.error().message));
        QCOMPARE(data.at(2).method, 1003);
        QCOMPARE(data.at(2).param1, param1);
        QCOMPARE(data.at(2).param2, param2);
    }

    void loadMissingFile()
    {
        TData data = personCatalogue();
        const Status status =
            TLoadSave().LoadProject(m_dir.filePath(QStringLiteral("absent.crv")), data);
        QVERIFY(!status.ok());
        QVERIFY(!status.error().isNotice());
        QVERIFY(!status.error().message.isEmpty());
    }

    void saveOntoDirectoryFails()
    {
        const QString path = m_dir.filePath(QStringLiteral("folder.crv"));
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("folder.crv")));
        const Status status = TLoadSave().SaveProject(path, personCatalogue());
        QVERIFY(!status.ok());
        QVERIFY(!status.error().message.isEmpty());
        QVERIFY(QFileInfo(path).isDir());
    }

    // A write that fails half-way (here: the file size limit) must leave the
    // earlier project as it was, not a truncated one.
    void failedSaveKeepsOldFile()
    {
        const QString path = m_dir.filePath(QStringLiteral("keep.crv"));
        const QByteArray old = "3\r\n1;;;0;;;\r\n2;Birthdate;dbo.Person;2;30;;\r\n";
        QVERIFY(writeAll(path, old));

        TData big;
        big << TColumnRec{};
        for (int i = 0; i < 2000; ++i)
            big << column(QStringLiteral("dbo.Wide"), QStringLiteral("column%1").arg(i), 1001,
                          QString(100, u'p'));

        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 4096;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const Status status = TLoadSave().SaveProject(path, big);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);

        QVERIFY(!status.ok());
        QCOMPARE(readAll(path), old);
        QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral("keep.crv*")}, QDir::Files),
                 QStringList{QStringLiteral("keep.crv")});
    }

    void splitFields_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("fits");
        QTest::addColumn<QStringList>("fields"); // all ten afterwards

        const QString before = QStringLiteral("old");
        const QStringList old(10, before);
        auto with = [&](QStringList front) {
            for (qsizetype i = front.size(); i < 10; ++i)
                front << before;
            return front;
        };
        QTest::newRow("table slot line")
            << QStringLiteral("1;;;0;;;") << true
            << with({QStringLiteral("1"), {}, {}, QStringLiteral("0"), {}, {}, {}});
        QTest::newRow("empty line empties field 0 only") << QString() << true << with({{}});
        QTest::newRow("quotes as they are")
            << QStringLiteral("'a';b''") << true << with({QStringLiteral("'a'"), QStringLiteral("b''")});
        QTest::newRow("ten fields")
            << QStringLiteral("0;1;2;3;4;5;6;7;8;9") << true
            << QStringList{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"),
                           QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5"),
                           QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8"),
                           QStringLiteral("9")};
        QTest::newRow("eleven fields")
            << QStringLiteral("0;1;2;3;4;5;6;7;8;9;10;11") << false
            << QStringList{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"),
                           QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5"),
                           QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8"),
                           QStringLiteral("9")};
    }
    void splitFields()
    {
        QFETCH(QString, line);
        QFETCH(bool, fits);
        QFETCH(QStringList, fields);

        TFields array;
        array.fill(QStringLiteral("old"));
        QCOMPARE(SplitFields(line, array, u';'), fits);
        QCOMPARE(QStringList(array.begin(), array.end()), fields);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestLoadSave)
#include "test_loadsave.moc"
