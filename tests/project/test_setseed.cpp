#include "project/setseedf.h"
#include "tests/support/clipping.h"
#include "tests/support/fakedialogs.h"
#include "tests/support/testlocale.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace corvane;

class TestSetSeed : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { test::useTestLocale(); }

    void layout()
    {
        TSetSeedF dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("SetSeedF"));
        QVERIFY(dialog.width() >= 352 && dialog.height() >= 216);
        QCOMPARE(dialog.findChild<QGroupBox*>(QStringLiteral("GroupBox1"))->title(),
                 QStringLiteral("Seed"));
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("Label1"))->text(),
                 QStringLiteral("Set random seed to "));
        QCOMPARE(button(dialog, "Button1")->text(), QStringLiteral("Ok"));
        QCOMPARE(button(dialog, "Button2")->text(), QStringLiteral("Cancel"));
    }

    // "Set random seed to " is never cut, whatever the font's size.
    void captionsFit_data() { test::addFontScales(); }
    void captionsFit()
    {
        QFETCH(qreal, scale);
        test::LargerFont font(scale);
        TSetSeedF dialog;
        dialog.show();
        dialog.resize(dialog.minimumSizeHint());
        QCoreApplication::processEvents();
        QCOMPARE(test::clippedCaptions(&dialog), QStringList());
    }

    void opensWithSeed_data()
    {
        QTest::addColumn<int>("seed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("start-up seed") << 1 << QStringLiteral("1");
        QTest::newRow("negative") << -17 << QStringLiteral("-17");
        QTest::newRow("smallest") << INT32_MIN << QStringLiteral("-2147483648");
    }
    void opensWithSeed()
    {
        QFETCH(int, seed);
        QFETCH(QString, shown);
        std::int32_t value = seed;
        TSetSeedF dialog;
        dialog.Open(value);
        QCOMPARE(edit(dialog)->text(), shown);
    }

    // Only digits, '-' and backspace reach the edit by typing.
    void keyFilter_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("result");
        QTest::newRow("digits and minus") << QString() << QStringLiteral("-17") << QStringLiteral("-17");
        QTest::newRow("letters and blanks dropped")
            << QString() << QStringLiteral("1 a2.b3+e") << QStringLiteral("123");
        QTest::newRow("minus anywhere") << QString() << QStringLiteral("5-") << QStringLiteral("5-");
    }
    void keyFilter()
    {
        QFETCH(QString, start);
        QFETCH(QString, typed);
        QFETCH(QString, result);
        std::int32_t seed = 0;
        TSetSeedF dialog;
        dialog.Open(seed);
        QLineEdit* edit1 = edit(dialog);
        edit1->setText(start);
        QTest::keyClicks(edit1, typed);
        QCOMPARE(edit1->text(), result);
    }

    void editingKeysStillWork()
    {
        std::int32_t seed = 1234;
        TSetSeedF dialog;
        dialog.Open(seed);
        QLineEdit* edit1 = edit(dialog);
        edit1->setCursorPosition(4);
        QTest::keyClick(edit1, Qt::Key_Backspace);
        QCOMPARE(edit1->text(), QStringLiteral("123"));
        QTest::keyClick(edit1, Qt::Key_Home);
        QTest::keyClick(edit1, Qt::Key_Delete);
        QCOMPARE(edit1->text(), QStringLiteral("23"));
        // Shortcuts are characters too: pasting by keyboard is not let through.
        QTest::keyClick(edit1, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit1->text(), QStringLiteral("23"));
    }

    void ok_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("seed");
        QTest::newRow("-17") << QStringLiteral("-17") << true << -17;
        QTest::newRow("largest") << QStringLiteral("2147483647") << true << INT32_MAX;
        QTest::newRow("smallest") << QStringLiteral("-2147483648") << true << INT32_MIN;
        QTest::newRow("one too large") << QStringLiteral("2147483648") << false << 7;
        QTest::newRow("two minus signs") << QStringLiteral("--5") << false << 7;
        QTest::newRow("minus after a digit") << QStringLiteral("5-") << false << 7;
        QTest::newRow("lone minus") << QStringLiteral("-") << false << 7;
        QTest::newRow("empty") << QString() << false << 7;
    }
    void ok()
    {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        QFETCH(int, seed);
        test::FakeDialogs dialogs;
        std::int32_t value = 7;
        TSetSeedF dialog;
        dialog.Open(value);
        dialog.show();
        edit(dialog)->setText(text);
        QTest::mouseClick(button(dialog, "Button1"), Qt::LeftButton);
        QCOMPARE(value, seed);
        QCOMPARE(dialog.isVisible(), !accepted);
        if (accepted) {
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QVERIFY(dialogs.shown.isEmpty());
        } else {
            QCOMPARE(dialogs.texts(),
                     QStringList{QStringLiteral("error: '%1' is not a valid integer value").arg(text)});
        }
    }

    void cancelKeepsSeed()
    {
        std::int32_t value = 7;
        TSetSeedF dialog;
        dialog.Open(value);
        dialog.show();
        edit(dialog)->setText(QStringLiteral("99"));
        QTest::mouseClick(button(dialog, "Button2"), Qt::LeftButton);
        QCOMPARE(value, 7);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    // Neither button is a default or cancel button.
    void enterAndEscapeKeepDialogOpen_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        for (const char* focus : {"Edit1", "Button1", "Button2"}) {
            QTest::addRow("Enter on %s", focus) << QString::fromLatin1(focus) << int(Qt::Key_Return);
            QTest::addRow("keypad Enter on %s", focus) << QString::fromLatin1(focus) << int(Qt::Key_Enter);
            QTest::addRow("Escape on %s", focus) << QString::fromLatin1(focus) << int(Qt::Key_Escape);
        }
    }
    void enterAndEscapeKeepDialogOpen()
    {
        QFETCH(QString, focus);
        QFETCH(int, key);
        test::FakeDialogs dialogs;
        std::int32_t value = 7;
        TSetSeedF dialog;
        dialog.Open(value);
        dialog.show();
        edit(dialog)->setText(QStringLiteral("42"));
        QWidget* target = dialog.findChild<QWidget*>(focus);
        QTest::keyClick(target, Qt::Key(key));
        QVERIFY(dialog.isVisible());
        QCOMPARE(value, 7);
        QCOMPARE(edit(dialog)->text(), QStringLiteral("42"));
    }

private:
    static QLineEdit* edit(TSetSeedF& dialog)
    {
        return dialog.findChild<QLineEdit*>(QStringLiteral("Edit1"));
    }
    static QPushButton* button(TSetSeedF& dialog, const char* name)
    {
        return dialog.findChild<QPushButton*>(QString::fromLatin1(name));
    }
};

QTEST_MAIN(TestSetSeed)
#include "test_setseed.moc"
