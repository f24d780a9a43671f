#include "project/wordlist.h"
#include "tests/support/testlocale.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace corvane;
using namespace Qt::StringLiterals;

class TestWordList : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        test::useTestLocale();
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir::setCurrent(m_dir.path()));
    }

    void cleanup()
    {
        QDir::setCurrent(m_dir.path());
        for (const QString& dir : QDir(m_dir.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            QDir(m_dir.filePath(dir)).removeRecursively();
    }

    void saveConversion_data()
    {
        QTest::addColumn<QString>("memo");
        QTest::addColumn<QString>("line");
        QTest::newRow("final break") << u"red\ngreen\nblue\n"_s << u"red;green;blue;"_s;
        QTest::newRow("no final break") << u"red\ngreen"_s << u"red;green"_s;
        QTest::newRow("comma") << u"a,b"_s << u"a;b"_s;
        QTest::newRow("blank line") << u"a\n\nb"_s << u"a;;b"_s;
        QTest::newRow("two blank lines") << u"a\n\n\nb"_s << u"a;;;b"_s;
        QTest::newRow("CR LF") << u"a\r\nb\r\n"_s << u"a;b;"_s;
        QTest::newRow("one pass halves") << u"a;;;;b"_s << u"a;;b"_s;
        QTest::newRow("two commas") << u"a,,b"_s << u"a;b"_s;
        QTest::newRow("quote kept") << u"O'Brien\nx"_s << u"O'Brien;x"_s;
        QTest::newRow("blanks kept") << u" a \n b"_s << u" a ; b"_s;
    }

    void saveConversion()
    {
        QFETCH(QString, memo);
        QFETCH(QString, line);
        QCOMPARE(WordListFromEditorText(memo), line);
    }

    // Saved, then opened again: one value per line, and the same line when
    // saved once more.
    void editorRoundTrip_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("memo");
        QTest::newRow("trailing separator") << u"red;green;blue;"_s << u"red\ngreen\nblue\n"_s;
        QTest::newRow("empty value") << u"a;;b"_s << u"a\n\nb"_s;
        QTest::newRow("one value") << u"x"_s << u"x"_s;
    }

    void editorRoundTrip()
    {
        QFETCH(QString, line);
        QFETCH(QString, memo);
        QCOMPARE(EditorTextFromWordList({line}), memo);
        QCOMPARE(WordListFromEditorText(memo), line);
    }

    void folder_data()
    {
        QTest::addColumn<QString>("created");
        QTest::newRow("exact") << u"virtual_data"_s;
        QTest::newRow("other case") << u"Virtual_DATA"_s;
        QTest::newRow("none") << QString();
    }

    void folder()
    {
        QFETCH(QString, created);
        QDir().mkdir(u"virtual_database"_s);
        if (!created.isEmpty())
            QVERIFY(QDir().mkdir(created));
        const QString expected = created.isEmpty() ? QString() : m_dir.filePath(created);
        QCOMPARE(VirtualDataFolder(), expected);
        // The lookup follows the working directory of the moment.
        QVERIFY(QDir::setCurrent(m_dir.filePath(u"virtual_database"_s)));
        QCOMPARE(VirtualDataFolder(), QString());
    }

    void firstLine_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("line");
        QTest::newRow("CR LF") << QByteArray("red;green;blue\r\nsecond\r\n") << u"red;green;blue"_s;
        QTest::newRow("LF") << QByteArray("a;b\nc") << u"a;b"_s;
        QTest::newRow("CR") << QByteArray("a;b\rc") << u"a;b"_s;
        QTest::newRow("no break") << QByteArray("a;b;") << u"a;b;"_s;
        QTest::newRow("empty") << QByteArray() << QString();
        QTest::newRow("empty first line") << QByteArray("\r\nx") << QString();
        QTest::newRow("UTF-8") << QByteArray("M\xc3\xbcller;\xc3\x85se") << u"Müller;Åse"_s;
        QTest::newRow("long") << QByteArray(10000, 'x') + "\r\ny" << QString(10000, u'x');
    }

    void firstLine()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, line);
        QVERIFY(QDir().mkdir(u"VIRTUAL_DATA"_s));
        write(u"VIRTUAL_DATA/list.txt"_s, content);
        const auto read = ReadWordList(u"list"_s);
        QVERIFY(read.ok());
        QCOMPARE(*read, line);
    }

    void readFailures_data()
    {
        QTest::addColumn<bool>("folder");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("notice");
        QTest::newRow("no folder") << false << u"list"_s
                                   << u"File list.txt with virtual data does not exist. "_s << true;
        QTest::newRow("no file") << true << u"other"_s
                                 << u"File other.txt with virtual data does not exist. "_s << true;
        QTest::newRow("a folder") << true << u"folder"_s << u"I/O error 21"_s << false;
    }

    void readFailures()
    {
        QFETCH(bool, folder);
        QFETCH(QString, name);
        QFETCH(QString, message);
        QFETCH(bool, notice);
        if (folder)
            QVERIFY(QDir().mkpath(u"virtual_data/folder.txt"_s));
        const auto read = ReadWordList(name);
        QVERIFY(!read.ok());
        QCOMPARE(read.error().message, message);
        QCOMPARE(read.error().isNotice(), notice);
    }

private:
    void write(const QString& name, const QByteArray& bytes)
    {
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestWordList)
#include "test_wordlist.moc"
