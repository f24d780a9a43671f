#include "catalogue/workspace.h"

#include <QSignalSpy>
#include <QTest>

using namespace corvane;

namespace {

TColumnRec columnOf(const QString& stab, const QString& col)
{
    TColumnRec rec;
    rec.stab = stab;
    rec.col = col;
    rec.typ = QStringLiteral("int");
    rec.method = NoMethodYet;
    return rec;
}

LoadedDatabase database(const QStringList& columns)
{
    LoadedDatabase loaded;
    loaded.catalogue << TColumnRec{} << TColumnRec{};
    for (const QString& col : columns)
        loaded.catalogue << columnOf(QStringLiteral("dbo.T"), col);
    loaded.connectionString = QStringLiteral("Server=srv;Initial Catalog=db;");
    return loaded;
}

void mask(Workspace& w, int slot)
{
    w.editSlot(slot, [](TColumnRec& s) { s.method = 109; });
}

} // namespace

// Whether the choices differ from the project file's: what the title marks
// and what Close, Load project and Login ask about.
class TestWorkspace : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void editsAndSaves()
    {
        Workspace w;
        w.replace(database({QStringLiteral("a"), QStringLiteral("b")}));
        QSignalSpy modified(&w, &Workspace::modifiedChanged);
        QVERIFY(!w.isModified());

        // Storing what a slot already holds is no change.
        w.editSlot(2, [](TColumnRec& s) { s.method = NoMethodYet; });
        QVERIFY(!w.isModified());
        mask(w, 2);
        mask(w, 3);
        QVERIFY(w.isModified());
        QCOMPARE(modified.size(), 1);

        w.markSaved(QStringLiteral("/p/shop.crv"));
        QVERIFY(!w.isModified());
        QCOMPARE(w.projectFile(), QStringLiteral("/p/shop.crv"));
        QCOMPARE(modified.size(), 2);

        // The seed is not part of a project file: saving would keep nothing of it.
        w.setSeed(77);
        QVERIFY(!w.isModified());

        // A project that brings the choices already there changes nothing.
        TData same = w.catalogue();
        w.replaceChoices(same);
        QVERIFY(!w.isModified());
        same[2].param1 = QStringLiteral("x");
        w.replaceChoices(same);
        QVERIFY(w.isModified());
    }

    // A new login keeps the project when choices came along, and the choices
    // count as saved only when the file still fits the slots exactly.
    void newLogin_data()
    {
        QTest::addColumn<bool>("editedBefore");
        QTest::addColumn<QStringList>("columns");
        QTest::addColumn<QString>("project");
        QTest::addColumn<bool>("modified");
        const QString file = QStringLiteral("/p/shop.crv");
        const QStringList same = {QStringLiteral("a"), QStringLiteral("b")};
        QTest::newRow("same columns, saved") << false << same << file << false;
        QTest::newRow("same columns, edited") << true << same << file << true;
        QTest::newRow("one column more, saved")
            << false << (same + QStringList{QStringLiteral("c")}) << file << true;
        QTest::newRow("a masked column gone, saved")
            << false << QStringList{QStringLiteral("a")} << file << true;
        QTest::newRow("nothing carried, edited")
            << true << QStringList{QStringLiteral("z")} << QString() << false;
    }

    void newLogin()
    {
        QFETCH(bool, editedBefore);
        QFETCH(QStringList, columns);
        QFETCH(QString, project);
        QFETCH(bool, modified);
        Workspace w;
        w.replace(database({QStringLiteral("a"), QStringLiteral("b")}));
        mask(w, 2);
        mask(w, 3);
        w.markSaved(QStringLiteral("/p/shop.crv"));
        if (editedBefore)
            w.editSlot(2, [](TColumnRec& s) { s.method = 104; });

        LoadedDatabase fresh = database(columns);
        const CarriedChoices carried = CarryChoices(w.catalogue(), fresh.catalogue);
        QSignalSpy replaced(&w, &Workspace::catalogueReplaced);
        w.replace(std::move(fresh), carried);
        QCOMPARE(replaced.size(), 1);
        QCOMPARE(w.projectFile(), project);
        QCOMPARE(w.isModified(), modified);
    }
};

QTEST_GUILESS_MAIN(TestWorkspace)
#include "test_workspace.moc"
