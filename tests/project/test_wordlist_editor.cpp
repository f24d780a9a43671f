#include "project/virtualdataf.h"
#include "tests/support/fakedialogs.h"
#include "tests/support/testlocale.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace corvane;
using namespace Qt::StringLiterals;

class TestWordListEditor : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        test::useTestLocale();
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir::setCurrent(m_dir.path()));
        QVERIFY(QDir().mkdir(u"Virtual_Data"_s));
    }

    void init()
    {
        m_editor = std::make_unique<TVirtualDataF>();
        m_data = m_editor->findChild<QPlainTextEdit*>(u"MeData"_s);
        m_save = m_editor->findChild<QPushButton*>(u"BtSave"_s);
        m_cancel = m_editor->findChild<QPushButton*>(u"BtCancel"_s);
        QVERIFY(m_data && m_save && m_cancel);
    }

    void cleanup()
    {
        m_editor.reset();
        const QDir folder(m_dir.filePath(u"Virtual_Data"_s));
        for (const QString& file : folder.entryList(QDir::Files))
            QFile::remove(folder.filePath(file));
    }

    void controls()
    {
        QCOMPARE(m_editor->windowTitle(), u"VirtualDataF"_s);
        QCOMPARE(m_save->text(), u"Save"_s);
        QCOMPARE(m_cancel->text(), u"Cancel"_s);
        QCOMPARE(m_editor->findChild<QLabel*>(u"Label1"_s)->text(),
                 u"Insert your virtual data here ( for example one column from excel ) :"_s);
    }

    void newFile()
    {
        test::FakeDialogs dialogs;
        const QString path = m_dir.filePath(u"Virtual_Data/colors.txt"_s);
        dialogs.fileAnswers.enqueue(path);
        m_editor->SetFileName(QString());
        m_editor->show();
        QCOMPARE(m_data->toPlainText(), QString());
        m_data->setPlainText(u"red\ngreen\nblue\n"_s);
        m_save->click();
        QCOMPARE(dialogs.texts(), QStringList{u"save: Save your virtual data file"_s});
        const auto& options = dialogs.shown.constFirst().options;
        QCOMPARE(options.directory, m_dir.filePath(u"Virtual_Data"_s));
        QCOMPARE(options.filter, u"Text file | *.txt"_s);
        QCOMPARE(options.defaultSuffix, u"txt"_s);
        QCOMPARE(read(path), QByteArray("red;green;blue;\r\n"));
        QCOMPARE(m_editor->result(), int(QDialog::Accepted));
        QVERIFY(!m_editor->isVisible());
    }

    // Opened for editing: one value per line; saved in place without a dialog.
    void editInPlace()
    {
        const QString path = m_dir.filePath(u"Virtual_Data/list.txt"_s);
        write(path, "a;;b;c\xc2\xa0" "d\r\n");
        test::FakeDialogs dialogs;
        m_editor->SetFileName(path);
        m_editor->show();
        // (the plain text shows the no-break space as a blank)
        QCOMPARE(m_data->toPlainText(), u"a\n\nb\nc d"_s);
        m_data->appendPlainText(u"d,e"_s);
        m_save->click();
        QCOMPARE(dialogs.texts(), QStringList());
        QCOMPARE(read(path), QByteArray("a;;b;c\xc2\xa0" "d;d;e\r\n"));
    }

    void emptyInput()
    {
        test::FakeDialogs dialogs;
        m_editor->show();
        m_save->click();
        QCOMPARE(dialogs.texts(), QStringList{u"message: Empty input!"_s});
        QVERIFY(m_editor->isVisible());
    }

    void cancelSaveDialogWritesNothing()
    {
        test::FakeDialogs dialogs;
        m_editor->show();
        m_data->setPlainText(u"a"_s);
        m_save->click();
        QCOMPARE(dialogs.texts(), QStringList{u"save: Save your virtual data file"_s});
        QVERIFY(!m_editor->isVisible());
        QCOMPARE(m_editor->result(), int(QDialog::Rejected));
        QCOMPARE(QDir(m_dir.filePath(u"Virtual_Data"_s)).entryList(QDir::Files), QStringList());
    }

    void cancelButtonWritesNothing()
    {
        const QString path = m_dir.filePath(u"Virtual_Data/keep.txt"_s);
        write(path, "old\r\n");
        test::FakeDialogs dialogs;
        m_editor->SetFileName(path);
        m_editor->show();
        m_data->setPlainText(u"new"_s);
        m_cancel->click();
        QVERIFY(!m_editor->isVisible());
        QCOMPARE(read(path), QByteArray("old\r\n"));
        QCOMPARE(dialogs.texts(), QStringList());
    }

    // Without the folder, a new file is still proposed inside it, where the
    // method editor looks for word lists; a cancel leaves no empty folder.
    void newFileWithoutFolder()
    {
        QTemporaryDir bare;
        QVERIFY(QDir::setCurrent(bare.path()));
        const auto back = qScopeGuard([this] { QDir::setCurrent(m_dir.path()); });
        const QString folder = bare.filePath(u"virtual_data"_s);
        test::FakeDialogs dialogs;
        m_editor->show();
        m_data->setPlainText(u"a"_s);
        m_save->click();
        QCOMPARE(dialogs.shown.constFirst().options.directory, folder);
        QVERIFY(!QFileInfo::exists(folder));

        init();
        dialogs.fileAnswers.enqueue(folder + u"/letters.txt"_s);
        m_editor->show();
        m_data->setPlainText(u"a\nb"_s);
        m_save->click();
        QCOMPARE(dialogs.shown.constLast().options.directory, folder);
        QCOMPARE(read(folder + u"/letters.txt"_s), QByteArray("a;b\r\n"));
    }

    // A failed write keeps the editor open with the operator's text.
    void writeFailureKeepsEditorOpen()
    {
        test::FakeDialogs dialogs;
        dialogs.fileAnswers.enqueue(m_dir.filePath(u"missing/list.txt"_s));
        m_editor->show();
        m_data->setPlainText(u"a"_s);
        m_save->click();
        QCOMPARE(dialogs.texts(), (QStringList{u"save: Save your virtual data file"_s, u"error: I/O error 2"_s}));
        QVERIFY(m_editor->isVisible());
        QCOMPARE(m_data->toPlainText(), u"a"_s);
    }

private:
    static QByteArray read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    static void write(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir m_dir;
    std::unique_ptr<TVirtualDataF> m_editor;
    QPlainTextEdit* m_data = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_cancel = nullptr;
};

QTEST_MAIN(TestWordListEditor)
#include "test_wordlist_editor.moc"
