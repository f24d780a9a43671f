#include "tests/support/testlocale.h"
#include "ui/editor/findfiles.h"
#include "ui/editor/storeactions.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace corvane;
using namespace corvane::editor;

using Action = std::function<Outcome(const TColumnRec&)>;
Q_DECLARE_METATYPE(Action)

namespace {

TColumnRec column(bool foreignKey, const QString& charMax = QStringLiteral("50"),
                  const QString& isnull = QStringLiteral("YES"))
{
    TColumnRec slot;
    slot.stab = QStringLiteral("dbo.Orders");
    slot.col = QStringLiteral("Ref");
    slot.isnull = isnull;
    slot.char_max = charMax;
    slot.method = NoMethodYet;
    slot.param1 = QStringLiteral("old1");
    slot.param2 = QStringLiteral("old2");
    if (foreignKey) {
        slot.PK_table = QStringLiteral("Customer");
        slot.PK_column = QStringLiteral("Id");
    }
    return slot;
}

// The slot after an action, for comparing method and both parameters at once.
QString after(const Action& action, TColumnRec slot)
{
    action(slot).applyTo(slot);
    return QString::number(slot.method) + u'|' + slot.param1 + u'|' + slot.param2;
}

} // namespace

class TestStoreActions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { test::useTestLocale(); }

    void storedCodeAndParameters_data();
    void storedCodeAndParameters();
    void nullRule_data();
    void nullRule();
    void constantTextChecks_data();
    void constantTextChecks();
    void loremLengthChecks_data();
    void loremLengthChecks();
    void refusedOnForeignKey();
    void blankUserTextRefused_data();
    void blankUserTextRefused();
    void randomDatesEndIsExclusive();
    void parametersCutWhenStored();
    void findFiles();
};

void TestStoreActions::storedCodeAndParameters_data()
{
    QTest::addColumn<Action>("action");
    QTest::addColumn<QString>("plain");   // method|param1|param2 on an ordinary column
    QTest::addColumn<QString>("foreign"); // ... on a foreign-key column

    const QDate leap(2024, 2, 29);
    QTest::newRow("date no mask") << Action([](auto&) { return noMask(tcDateTime); })
                                  << "0|old1|old2" << "0|old1|old2";
    QTest::newRow("date constant") << Action([=](auto& s) { return constantDate(s, leap); })
                                   << "1|2/29/2024|old2" << "5|2/29/2024|old2";
    QTest::newRow("date noise")
        << Action([](auto& s) { return noise(s, tcDateTime, QStringLiteral("12")); })
        << "2|12|old2" << "6|12|old2";
    QTest::newRow("date shuffle") << Action([](auto& s) { return shuffle(s, tcDateTime); })
                                  << "3|old1|old2" << "7|old1|old2";
    QTest::newRow("date interval")
        << Action([](auto& s) { return randomDates(s, QDate(2024, 1, 1), QDate(2024, 12, 31)); })
        << "4|1/1/2024|1/1/2025" << "8|1/1/2024|1/1/2025";
    QTest::newRow("date interval of one day")
        << Action([=](auto& s) { return randomDates(s, leap, leap); }) << "4|2/29/2024|3/1/2024"
        << "8|2/29/2024|3/1/2024";

    QTest::newRow("integer no mask") << Action([](auto&) { return noMask(tcInteger); })
                                     << "100|old1|old2" << "100|old1|old2";
    QTest::newRow("integer constant")
        << Action([](auto& s) { return constantValue(s, tcInteger, QStringLiteral("-5")); })
        << "101|-5|old2" << "105|-5|old2";
    QTest::newRow("integer constant emptied")
        << Action([](auto& s) { return constantValue(s, tcInteger, QString()); })
        << "101||old2" << "105||old2";
    QTest::newRow("integer noise")
        << Action([](auto& s) { return noise(s, tcInteger, QStringLiteral("12")); })
        << "102|12|old2" << "106|12|old2";
    QTest::newRow("integer range")
        << Action([](auto& s) {
               return randomRange(s, tcInteger, QStringLiteral("-3"), QStringLiteral("9"));
           })
        << "103|-3|9" << "107|-3|9";
    QTest::newRow("integer shuffle keeps the range")
        << Action([](auto& s) { return shuffle(s, tcInteger); }) << "104|old1|old2"
        << "108|old1|old2";

    QTest::newRow("text no mask") << Action([](auto&) { return noMask(tcVarchar); })
                                  << "1000|old1|old2" << "1000|old1|old2";
    QTest::newRow("text constant")
        << Action([](auto& s) { return constantText(s, QStringLiteral("O'Brien")); })
        << "1001|O'Brien|old2" << "1005|O'Brien|old2";
    QTest::newRow("text shuffle") << Action([](auto& s) { return shuffle(s, tcVarchar); })
                                  << "1004|old1|old2" << "1008|old1|old2";

    QTest::newRow("float no mask") << Action([](auto&) { return noMask(tcFloat); })
                                   << "2000|old1|old2" << "2000|old1|old2";
    QTest::newRow("float constant")
        << Action([](auto& s) { return constantValue(s, tcFloat, QStringLiteral("-1.5")); })
        << "2001|-1.5|old2" << "2005|-1.5|old2";
    QTest::newRow("float noise")
        << Action([](auto& s) { return floatNoise(s, QStringLiteral("0.5"), QStringLiteral("2")); })
        << "2002|0.5|2" << "2006|0.5|2";
    QTest::newRow("float range")
        << Action([](auto& s) {
               return randomRange(s, tcFloat, QStringLiteral("-1.25"), QStringLiteral("3"));
           })
        << "2003|-1.25|3" << "2007|-1.25|3";
    QTest::newRow("float shuffle") << Action([](auto& s) { return shuffle(s, tcFloat); })
                                   << "2004|old1|old2" << "2008|old1|old2";
}

void TestStoreActions::storedCodeAndParameters()
{
    QFETCH(Action, action);
    QFETCH(QString, plain);
    QFETCH(QString, foreign);
    QCOMPARE(after(action, column(false)), plain);
    QCOMPARE(after(action, column(true)), foreign);
}

void TestStoreActions::nullRule_data()
{
    QTest::addColumn<QString>("isnull");
    QTest::addColumn<bool>("refused");
    QTest::newRow("NO") << "NO" << true;
    QTest::newRow("YES") << "YES" << false;
    QTest::newRow("lower case no") << "no" << false;
    QTest::newRow("NO with a blank") << "NO " << false;
    QTest::newRow("empty") << "" << false;
}

void TestStoreActions::nullRule()
{
    QFETCH(QString, isnull);
    QFETCH(bool, refused);
    for (const TypeCategory family : {tcDateTime, tcInteger, tcVarchar, tcFloat}) {
        for (const bool foreignKey : {false, true}) {
            const TColumnRec slot = column(foreignKey, QStringLiteral("50"), isnull);
            const Outcome out = setNull(slot, family);
            if (refused) {
                QCOMPARE(out.kind, Outcome::Kind::Refuse);
                QCOMPARE(out.message, QStringLiteral("Cannot insert tha value NULL into this column."));
                QCOMPARE(out.reset, Reset::None);
            } else {
                // The NULL code has no foreign-key variant and keeps the parameters.
                QCOMPARE(after([&](auto& s) { return setNull(s, family); }, slot),
                         QString::number(noMaskCode(family) + 9) + QStringLiteral("|old1|old2"));
            }
        }
    }
}

void TestStoreActions::constantTextChecks_data()
{
    QTest::addColumn<QString>("charMax");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("said"); // message or error text

    const auto Store = int(Outcome::Kind::Store);
    const auto Keep = int(Outcome::Kind::Keep);
    const auto Refuse = int(Outcome::Kind::Refuse);
    const auto Fail = int(Outcome::Kind::Fail);
    QTest::newRow("fits exactly") << "10" << "0123456789" << Store << "";
    QTest::newRow("one too many") << "10" << "01234567890" << Refuse << "Max length is 10 !";
    // The max types report -1: no limit (the slot still keeps 100 characters).
    QTest::newRow("max type takes any length") << "-1" << QString(4000, u'a') << Store << "";
    QTest::newRow("no length") << "" << "a" << Fail << "'' is not a valid integer value";
    QTest::newRow("empty text, no length") << "" << "" << Keep << "";
    QTest::newRow("empty text") << "10" << "" << Keep << "";
}

void TestStoreActions::constantTextChecks()
{
    QFETCH(QString, charMax);
    QFETCH(QString, text);
    QFETCH(int, kind);
    QFETCH(QString, said);
    const Outcome out = editor::constantText(column(false, charMax), text);
    QCOMPARE(int(out.kind), kind);
    QCOMPARE(out.kind == Outcome::Kind::Fail ? out.error.message : out.message, said);
    if (out.kind == Outcome::Kind::Refuse)
        QCOMPARE(out.reset, Reset::ConstantText);
}

void TestStoreActions::loremLengthChecks_data()
{
    QTest::addColumn<QString>("charMax");
    QTest::addColumn<bool>("foreignKey");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("result"); // slot after, or what was said and which edit resets

    QTest::newRow("bounds as typed, even reversed")
        << "50" << false << "20" << "5" << "1003|20|5";
    QTest::newRow("bounds at the limit") << "50" << false << "50" << "50" << "1003|50|50";
    QTest::newRow("lower too long") << "50" << false << "51" << "5" << "Max length is 50 ! from";
    QTest::newRow("upper too long") << "50" << false << "5" << "51" << "Max length is 50 ! to";
    QTest::newRow("lower too long, upper empty")
        << "50" << false << "51" << "" << "Max length is 50 ! from";
    QTest::newRow("lower empty") << "50" << false << "" << "5" << "'' is not a valid integer value";
    QTest::newRow("upper empty") << "50" << false << "5" << "" << "'' is not a valid integer value";
    QTest::newRow("no length") << "" << false << "1" << "2" << "'' is not a valid integer value";
    QTest::newRow("max type takes any length")
        << "-1" << false << "0" << "100000" << "1003|0|100000";
    QTest::newRow("max type still refuses a foreign key")
        << "-1" << true << "0" << "100000" << "Not allowed for foreign key.";
    QTest::newRow("foreign key") << "50" << true << "1" << "2" << "Not allowed for foreign key.";
    QTest::newRow("foreign key, too long first")
        << "50" << true << "1" << "99" << "Max length is 50 ! to";
}

void TestStoreActions::loremLengthChecks()
{
    QFETCH(QString, charMax);
    QFETCH(bool, foreignKey);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, result);
    const TColumnRec slot = column(foreignKey, charMax);
    const Outcome out = editor::loremLength(slot, from, to);
    switch (out.kind) {
    case Outcome::Kind::Store:
        QCOMPARE(after([&](auto& s) { return editor::loremLength(s, from, to); }, slot), result);
        break;
    case Outcome::Kind::Fail: QCOMPARE(out.error.message, result); break;
    case Outcome::Kind::Refuse: {
        const QString reset = out.reset == Reset::LoremFrom ? QStringLiteral(" from")
                              : out.reset == Reset::LoremTo ? QStringLiteral(" to")
                                                            : QString();
        QCOMPARE(out.message + reset, result);
        break;
    }
    case Outcome::Kind::Keep: QFAIL("nothing to do"); break;
    }
}

void TestStoreActions::refusedOnForeignKey()
{
    const TColumnRec foreign = column(true);
    for (const Outcome& out : {userText(foreign, QStringLiteral("x")),
                               virtualData(foreign, QStringLiteral("names"))}) {
        QCOMPARE(out.kind, Outcome::Kind::Refuse);
        QCOMPARE(out.message, QStringLiteral("Not allowed for foreign key."));
        QCOMPARE(out.reset, Reset::None);
    }
    const TColumnRec plain = column(false);
    QCOMPARE(after([](auto& s) { return userText(s, QStringLiteral("x")); }, plain),
             QStringLiteral("1002|x|old2"));
    // Blanks around a text are kept: they are part of what is repeated.
    QCOMPARE(after([](auto& s) { return userText(s, QStringLiteral(" x ")); }, plain),
             QStringLiteral("1002| x |old2"));
    QCOMPARE(after([](auto& s) { return virtualData(s, QStringLiteral("names")); }, plain),
             QStringLiteral("1007|names|old2"));
}

// Nothing to repeat to a value's length: refused, and the slot keeps its text.
void TestStoreActions::blankUserTextRefused_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("one blank") << QStringLiteral(" ");
    QTest::newRow("blanks and a tab") << QStringLiteral("  \t ");
}

void TestStoreActions::blankUserTextRefused()
{
    QFETCH(QString, text);
    const Outcome out = userText(column(false), text);
    QCOMPARE(out.kind, Outcome::Kind::Refuse);
    QCOMPARE(out.message,
             QStringLiteral("The user defined text must hold at least one character that is not a blank."));
    QCOMPARE(out.reset, Reset::None);
    QCOMPARE(after([&](auto& s) { return userText(s, text); }, column(false)), QStringLiteral("-1|old1|old2"));
}

void TestStoreActions::randomDatesEndIsExclusive()
{
    // Shown again, the interval's last day is the day before the stored end,
    // so that storing it once more leaves the end where it was.
    TColumnRec slot = column(false);
    randomDates(slot, QDate(2023, 12, 1), QDate(2023, 12, 31)).applyTo(slot);
    QCOMPARE(slot.param2, QStringLiteral("1/1/2024"));
    const QDate shown = lastDayOfInterval(QDate(2024, 1, 1));
    QCOMPARE(shown, QDate(2023, 12, 31));
    randomDates(slot, QDate(2023, 12, 1), shown).applyTo(slot);
    QCOMPARE(slot.param2, QStringLiteral("1/1/2024"));
}

void TestStoreActions::parametersCutWhenStored()
{
    TColumnRec slot = column(false, QStringLiteral("200"));
    const QString text(150, u'x');
    constantText(slot, text).applyTo(slot);
    QCOMPARE(slot.method, 1001);
    QCOMPARE(slot.param1, text.left(100));

    userText(slot, LoremText).applyTo(slot);
    QCOMPARE(slot.param1, LoremText.left(100));

    const Outcome refused = setNull(column(false, QString(), QStringLiteral("NO")), tcInteger);
    TColumnRec untouched = column(false);
    refused.applyTo(untouched);
    QCOMPARE(untouched.method, NoMethodYet);
    QCOMPARE(untouched.param1, QStringLiteral("old1"));
}







void TestStoreActions::findFiles()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const char* name : {"names.csv", "a.b.txt", "noext", ".hidden", "Cities.txt"}) {
        QFile file(dir.filePath(QLatin1String(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("sub.folder")));
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("sub.folder/deeper.txt")));

    QStringList list{QStringLiteral("kept")};
    QCOMPARE(FindFiles(dir.path(), QStringLiteral("*.*"), list), 5);
    // Sorted by name; a name without a '.' (or starting with one) gives an empty entry.
    QCOMPARE(list, (QStringList{QStringLiteral("kept"), QString(), QStringLiteral("a"),
                                QStringLiteral("Cities"), QStringLiteral("names"), QString()}));

    QStringList textFiles;
    QCOMPARE(FindFiles(dir.path(), QStringLiteral("*.txt"), textFiles), 2);
    QCOMPARE(textFiles, (QStringList{QStringLiteral("a"), QStringLiteral("Cities")}));

    // Without a folder nothing is listed, not even the working directory.
    QStringList none;
    QCOMPARE(FindFiles(QString(), QStringLiteral("*.*"), none), 0);
    QCOMPARE(FindFiles(dir.filePath(QStringLiteral("missing")), QStringLiteral("*.*"), none), 0);
    QVERIFY(none.isEmpty());
}

QTEST_GUILESS_MAIN(TestStoreActions)
#include "test_storeactions.moc"
