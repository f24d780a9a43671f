#include "tests/support/workspace.h"
#include "check/checkstate.h"
#include "script/scriptfile.h"
#include "script/generator.h"
#include "script/sqlf.h"
#include "tests/support/fakedialogs.h"
#include "tests/support/testlocale.h"
#include "tests/support/workingdirectory.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace corvane;
using namespace Qt::StringLiterals;

namespace {

TColumnRec slot(int code, const QString& col, const QString& p1 = {})
{
    TColumnRec s;
    s.stab = u"dbo.T"_s;
    s.col = col;
    s.method = code;
    s.param1 = p1;
    return s;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class TestSqlf : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        test::useTestLocale();
        QVERIFY(m_dir.entered());
        QVERIFY(m_dir.writeWordList(u"names"_s, "Ann;Jean\xc2\xa0Luc\r\n")); // a no-break space
    }

    void init()
    {
        m_state = std::make_unique<Workspace>();
        m_cat = {TColumnRec{}, TColumnRec{}};
        apply();
        m_page = std::make_unique<TSQLF>();
        m_page->SetSource(*m_state);
        m_memo = m_page->findChild<QPlainTextEdit*>(u"Memo1"_s);
        m_generate = m_page->findChild<QPushButton*>(u"BtGenSQL"_s);
        m_save = m_page->findChild<QPushButton*>(u"BtSSQLSave"_s);
        QVERIFY(m_memo && m_generate && m_save);
    }

    void controls()
    {
        QCOMPARE(m_generate->text(), u"Generate SQL"_s);
        QCOMPARE(m_save->text(), u"Save SQL"_s);
        QCOMPARE(m_memo->toPlainText(), QString());
        QCOMPARE(m_memo->lineWrapMode(), QPlainTextEdit::NoWrap);
    }

    // The saved file is the generated script, byte for byte, plus one CR LF.
    void generateAndSave()
    {
        m_cat << slot(1007, u"a b"_s, u"names"_s) << slot(2, u"c"_s, u"3"_s)
                                << slot(101, u"d"_s, u"42"_s);
        apply();
        const auto expected = script::BuildScriptText(
            m_cat, {u"db1"_s, u"shop"_s, 1, QDate::currentDate()});
        QVERIFY(!expected.error);
        QTest::mouseClick(m_generate, Qt::LeftButton);

        test::FakeDialogs dialogs;
        const QString path = m_dir.filePath(u"out.txt"_s);
        dialogs.fileAnswers.enqueue(path);
        QTest::mouseClick(m_save, Qt::LeftButton);
        QCOMPARE(dialogs.texts(), QStringList{u"save: Save your SQL file"_s});
        const auto& options = dialogs.shown.constFirst().options;
        QCOMPARE(options.directory, QDir::currentPath());
        QCOMPARE(options.filter, u"Text file | *.txt;;SQL script | *.sql"_s);
        QCOMPARE(options.defaultSuffix, u"txt"_s);
        QCOMPARE(readAll(path), script::ScriptFileBytes(expected.text));
        QVERIFY(readAll(path).startsWith("-- Corvane masking script\r\n-- Database: shop\r\n"
                                         "-- Server: db1\r\n-- Seed: 1\r\n"));
    }

    // The seed is the one of the moment of the click.
    void seedOfTheMoment()
    {
        m_cat << slot(109, u"c"_s);
        apply();
        m_state->setSeed(-5);
        m_generate->click();
        QVERIFY(m_memo->toPlainText().contains(u"\n-- Seed: -5\n"_s));
        QVERIFY(m_memo->toPlainText().contains(u"USE [shop]\n\ndeclare @r float \n set @r=rand(-5)\n"_s));
        m_state->setSeed(0);
        m_generate->click();
        QVERIFY(m_memo->toPlainText().contains(u"USE [shop]\n\ndeclare @r float \n set @r=rand(0)\n"_s));
    }

    void nothingMaskedSavesOneLineEnd()
    {
        m_cat << slot(0, u"c"_s) << slot(1006, u"d"_s);
        apply();
        test::FakeDialogs dialogs;
        const QString path = m_dir.filePath(u"empty.txt"_s);
        dialogs.fileAnswers.enqueue(path);
        m_save->click();
        QCOMPARE(m_memo->toPlainText(), QString());
        QCOMPARE(readAll(path), QByteArray("\r\n"));
    }

    // Save writes what the operator typed, not a new generation.
    void savesEditedMemo()
    {
        m_cat << slot(109, u"c"_s);
        apply();
        m_generate->click();
        m_memo->setPlainText(u"update x set [y]=1\n\ngo"_s);
        test::FakeDialogs dialogs;
        const QString path = m_dir.filePath(u"edited.txt"_s);
        dialogs.fileAnswers.enqueue(path);
        m_save->click();
        QCOMPARE(readAll(path), QByteArray("update x set [y]=1\r\n\r\ngo\r\n"));
    }

    void cancelWritesNothing()
    {
        m_cat << slot(109, u"c"_s);
        apply();
        test::FakeDialogs dialogs;
        m_save->click();
        QCOMPARE(dialogs.texts(), QStringList{u"save: Save your SQL file"_s});
        QVERIFY(!m_memo->toPlainText().isEmpty());
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList{});
    }

    // One message, and the memo holds what came before the missing list.
    void missingWordList()
    {
        m_cat << slot(109, u"a"_s) << slot(9, u"b"_s) << slot(1007, u"c"_s, u"gone"_s)
                                << slot(109, u"d"_s) << slot(109, u"e"_s);
        apply();
        test::FakeDialogs dialogs;
        m_generate->click();
        QCOMPARE(dialogs.texts(),
                 QStringList{u"information: File gone.txt with virtual data does not exist. "_s});
        QString expected = script::BuildPreamble(1) + *script::BuildBlock(slot(109, u"a"_s)) +
                           u"\r\n\r\n"_s + *script::BuildBlock(slot(9, u"b"_s)) + u"\r\n\r\n"_s;
        QVERIFY(m_memo->toPlainText().startsWith(u"-- Corvane masking script\n"_s));
        QVERIFY(m_memo->toPlainText().endsWith(expected.replace(u"\r\n"_s, u"\n"_s)));
    }

    // A save that had to generate first stops when the generation failed.
    void failedGenerationIsNotSaved()
    {
        m_cat << slot(1, u"c"_s, u"yesterday"_s);
        apply();
        test::FakeDialogs dialogs;
        m_save->click();
        QCOMPARE(dialogs.texts(), QStringList{u"error: 'yesterday' is not a valid date (table dbo.T, column c)"_s});
    }

    void writeFailure()
    {
        m_cat << slot(109, u"c"_s);
        apply();
        test::FakeDialogs dialogs;
        dialogs.fileAnswers.enqueue(m_dir.filePath(u"no/such/folder/out.txt"_s));
        m_save->click();
        QCOMPARE(dialogs.texts(), (QStringList{u"save: Save your SQL file"_s, u"error: I/O error 2"_s}));
    }

    // Errors found: the operator is asked first, and No keeps the memo and
    // saves nothing; Yes generates with the findings in the header.
    void errorsAskBeforeGenerating()
    {
        TColumnRec c = slot(1009, u"c"_s);
        c.schema = u"dbo"_s;
        c.tab = u"T"_s;
        m_cat << c;
        check::Facts facts;
        check::TableFacts& table = facts.table(u"dbo"_s, u"T"_s);
        table.rows = 3;
        table.columns[u"c"_s].type = u"varchar"_s;
        table.columns[u"c"_s].maxLength = 10;
        table.columns[u"c"_s].nullable = false;
        check::CheckState check(*m_state);
        check.setNextFacts(facts);
        apply();
        m_page->SetCheck(check);

        test::FakeDialogs dialogs;
        m_memo->setPlainText(u"the script of before"_s);
        dialogs.confirmAnswers.enqueue(false);
        m_generate->click();
        QCOMPARE(dialogs.texts(),
                 QStringList{u"confirm Generate SQL: The check found 1 error, 0 warnings: the server "
                             "will refuse the columns with errors (see the Check column). Generate "
                             "SQL anyway?"_s});
        QCOMPARE(m_memo->toPlainText(), u"the script of before"_s);

        m_memo->clear();
        dialogs.confirmAnswers.enqueue(false);
        dialogs.fileAnswers.enqueue(m_dir.filePath(u"out.txt"_s));
        m_save->click();
        QCOMPARE(dialogs.shown.size(), 2); // asked again, and no file dialog
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList{});

        m_generate->click();
        QCOMPARE(dialogs.shown.size(), 3);
        const QString text = m_memo->toPlainText();
        QVERIFY2(text.contains(u"\n-- Masked columns: 1\n-- Check: 1 error, 0 warnings\n"
                               "-- error not-null: dbo.T [c] (NULL varchar): "_s),
                 qPrintable(text.left(400)));
        QVERIFY(text.contains(u"\nUSE [shop]\n\n"_s));
    }

    void cleanup()
    {
        m_page.reset();
        for (const QString& file : QDir(m_dir.path()).entryList(QDir::Files))
            QFile::remove(m_dir.filePath(file));
    }

private:
    test::WorkingDirectory m_dir;
    void apply() { test::load(*m_state, m_cat, u"Data Source=db1;Initial Catalog=shop"_s); }

    std::unique_ptr<Workspace> m_state;
    TData m_cat;
    std::unique_ptr<TSQLF> m_page;
    QPlainTextEdit* m_memo = nullptr;
    QPushButton* m_generate = nullptr;
    QPushButton* m_save = nullptr;
};

QTEST_MAIN(TestSqlf)
#include "test_sqlf.moc"
