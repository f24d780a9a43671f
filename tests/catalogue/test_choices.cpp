#include "catalogue/choices.h"
#include "catalogue/methods.h"

#include <QTest>

using namespace corvane;

namespace {

// One line per column, "schema.table column type", "fk" at the end for a
// foreign key; slot 0 is the database, each table gets a slot before its
// columns, as a login lays them out.
TData catalogueOf(const QStringList& columns)
{
    TData data{TColumnRec{}};
    for (const QString& line : columns) {
        const QStringList f = line.split(u' ');
        if (data.size() == 1 || data.constLast().stab != f.at(0))
            data << TColumnRec{};
        TColumnRec rec;
        rec.stab = f.at(0);
        rec.col = f.at(1);
        rec.typ = f.at(2);
        if (f.value(3) == QStringLiteral("fk"))
            rec.PK_table = QStringLiteral("City");
        rec.method = NoMethodYet;
        data << rec;
    }
    return data;
}

void choose(TData& data, const QString& column, MethodCode method, const QString& param1 = {},
            const QString& param2 = {})
{
    for (TColumnRec& rec : data)
        if (rec.stab + u' ' + rec.col == column) {
            rec.method = method;
            rec.param1 = param1;
            rec.param2 = param2;
        }
}

// "table column=method param1 param2" of every column slot, and the code of
// every table slot, which a carry must leave alone.
QStringList choicesOf(const TData& data)
{
    QStringList out;
    for (const TColumnRec& rec : data)
        out << (rec.col.isEmpty() ? QString::number(rec.method)
                                  : rec.stab + u' ' + rec.col + u'=' + QString::number(rec.method) +
                                        u' ' + rec.param1 + u' ' + rec.param2)
                   .trimmed();
    return out;
}

const QStringList Shop = {
    QStringLiteral("dbo.Person Id int"),
    QStringLiteral("dbo.Person Name varchar"),
    QStringLiteral("dbo.Person Born datetime"),
    QStringLiteral("dbo.Person Note varchar"),
    QStringLiteral("dbo.Orders CityCode varchar fk"),
    QStringLiteral("dbo.Orders Total float"),
};

TData chosenShop()
{
    TData data = catalogueOf(Shop);
    choose(data, QStringLiteral("dbo.Person Id"), 101, QStringLiteral("5"));
    choose(data, QStringLiteral("dbo.Person Name"), 1001, QStringLiteral("x;y"));
    choose(data, QStringLiteral("dbo.Person Born"), 4, QStringLiteral("01.01.2001"),
           QStringLiteral("01.01.2002"));
    choose(data, QStringLiteral("dbo.Person Note"), noMaskCode(tcVarchar));
    choose(data, QStringLiteral("dbo.Orders CityCode"), 1005, QStringLiteral("ZH"));
    return data;
}

QStringList replaced(QStringList lines, const QString& from, const QString& to)
{
    lines.replace(lines.indexOf(from), to);
    return lines;
}

} // namespace

class TestChoices : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A new login's columns take the choices of the columns of the same table
    // and name, wherever their slots now are; every other column starts afresh.
    void carry_data()
    {
        QTest::addColumn<QStringList>("columns");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("kept");
        QTest::addColumn<int>("lost");
        QTest::addColumn<bool>("sameColumns");

        const QString id = QStringLiteral("dbo.Person Id=101 5");
        const QString name = QStringLiteral("dbo.Person Name=1001 x;y");
        const QString born = QStringLiteral("dbo.Person Born=4 01.01.2001 01.01.2002");
        const QString note = QStringLiteral("dbo.Person Note=1000");
        const QString city = QStringLiteral("dbo.Orders CityCode=1005 ZH");
        const QString total = QStringLiteral("dbo.Orders Total=-1");
        const QString db = QStringLiteral("0");

        QTest::newRow("the same database")
            << Shop << QStringList{db, db, id, name, born, note, db, city, total} << 5 << 0 << true;
        // Another table comes first and holds a column of the same name.
        QTest::newRow("columns in other slots")
            << (QStringList{QStringLiteral("dbo.Address Name varchar")} + Shop)
            << QStringList{db,   db,   QStringLiteral("dbo.Address Name=-1"),
                           db,   id,   name,
                           born, note, db,
                           city, total}
            << 5 << 0 << false;
        QTest::newRow("a name in another case")
            << replaced(Shop, QStringLiteral("dbo.Person Name varchar"),
                        QStringLiteral("dbo.Person name varchar"))
            << QStringList{db, db,   id,   QStringLiteral("dbo.Person name=-1"), born, note,
                           db, city, total}
            << 4 << 1 << false;
        QTest::newRow("a table in another schema")
            << replaced(Shop, QStringLiteral("dbo.Orders Total float"),
                        QStringLiteral("sales.Orders Total float"))
            << QStringList{db,   db, id,   name, born,
                           note, db, city, db,   QStringLiteral("sales.Orders Total=-1")}
            << 5 << 0 << false;
        // A method writes values of its own type, and a foreign-key variant
        // needs the key: a column that changed either starts afresh.
        QTest::newRow("a type of another family")
            << replaced(Shop, QStringLiteral("dbo.Person Id int"),
                        QStringLiteral("dbo.Person Id uniqueidentifier"))
            << QStringList{db,   db,   QStringLiteral("dbo.Person Id=-1"), name, born, note, db,
                           city, total}
            << 4 << 1 << true;
        QTest::newRow("a type of the same family")
            << replaced(Shop, QStringLiteral("dbo.Person Id int"),
                        QStringLiteral("dbo.Person Id bigint"))
            << QStringList{db, db, id, name, born, note, db, city, total} << 5 << 0 << true;
        QTest::newRow("a foreign key dropped")
            << replaced(Shop, QStringLiteral("dbo.Orders CityCode varchar fk"),
                        QStringLiteral("dbo.Orders CityCode varchar"))
            << QStringList{db,   db,   id, name,
                           born, note, db, QStringLiteral("dbo.Orders CityCode=-1"),
                           total}
            << 4 << 1 << true;
        // "No mask" is no masked column to lose.
        QTest::newRow("another database")
            << QStringList{QStringLiteral("dbo.T c int")}
            << QStringList{db, db, QStringLiteral("dbo.T c=-1")} << 0 << 4 << false;
    }

    void carry()
    {
        QFETCH(QStringList, columns);
        QFETCH(QStringList, expected);
        QFETCH(int, kept);
        QFETCH(int, lost);
        QFETCH(bool, sameColumns);
        const TData old = chosenShop();
        TData fresh = catalogueOf(columns);
        const CarriedChoices carried = CarryChoices(old, fresh);
        QCOMPARE(choicesOf(fresh), expected);
        QCOMPARE(carried.kept, kept);
        QCOMPARE(carried.lost, lost);
        QCOMPARE(carried.sameColumns, sameColumns);
    }
};

QTEST_APPLESS_MAIN(TestChoices)
#include "test_choices.moc"
