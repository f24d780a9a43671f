#include "catalogue/loader.h"
#include "discovery/workspacefindings.h"
#include "tests/support/fakeconnection.h"
#include "ui/discovery/discoverydialog.h"
#include "ui/main/mainf.h"
#include "ui/main/schematreemodel.h"
#include "ui/views/listf.h"
#include "ui/views/listmodel.h"

#include <QAction>
#include <QIcon>
#include <QLabel>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTreeView>

using namespace corvane;

namespace {

// Nodes: 0 Shop, 1 dbo.Person, 2 Id, 3 FirstName, 4 Contact, 5 dbo.Orders, 6 Total.
LoadedDatabase shop()
{
    const QString person = QStringLiteral("Person");
    const QString orders = QStringLiteral("Orders");
    const auto row = [](const QString& tab, const QString& col, const QString& typ,
                        const QString& charMax) {
        return QStringList{
            QStringLiteral("dbo.") + tab, QStringLiteral("dbo"), tab, col, typ, charMax,
            QStringLiteral("YES")};
    };
    const db::Rows rows = test::makeRows(
        {QStringLiteral("stab"), QStringLiteral("schema"), QStringLiteral("tab"),
         QStringLiteral("col"), QStringLiteral("typ"), QStringLiteral("char_max"),
         QStringLiteral("isnull")},
        {row(person, QStringLiteral("Id"), QStringLiteral("int"), QString()),
         row(person, QStringLiteral("FirstName"), QStringLiteral("nvarchar"), QStringLiteral("50")),
         row(person, QStringLiteral("Contact"), QStringLiteral("nvarchar"), QStringLiteral("100")),
         row(orders, QStringLiteral("Total"), QStringLiteral("float"), QString())});
    LoadedDatabase loaded;
    BuildCatalogue(QStringLiteral("Shop"), rows, loaded.catalogue, loaded.tree);
    loaded.connectionString = QStringLiteral("cs");
    return loaded;
}

// A main window over the shop, as after a login, with the list page shown.
struct Harness
{
    test::FakeServer server;
    TMainF window{server.factory()};

    Harness()
    {
        window.workspace().replace(shop());
        window.MyPageControl1Change();
    }

    void select(int node) { window.TreeView1->setCurrentIndex(window.treeModel()->indexOf(node)); }

    ui::DiscoveryDialog* openDiscovery()
    {
        window.findChild<QAction*>(QStringLiteral("Discovery1"))->trigger();
        return window.discoveryDialog();
    }

    QString tip(int node) const
    {
        return window.treeModel()->indexOf(node).data(Qt::ToolTipRole).toString();
    }
    QString coverageLine() const
    {
        return window.listPage()->findChild<QLabel*>(QStringLiteral("Coverage"))->text();
    }
    // The slots of the list page's rows.
    QList<int> listed() const
    {
        const MaskedColumnsModel* rows = window.listPage()->model();
        QList<int> found;
        for (int r = 0; r < rows->rowCount(); ++r)
            if (rows->slotAt(r) > 0)
                found << rows->slotAt(r);
        return found;
    }
};

} // namespace

class TestDiscoveryWiring : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The tables to sample are those of the tree's selection, never the
    // whole database by default.
    void menuOpensTheDialogOverTheSelection()
    {
        Harness h;
        h.select(3);
        ui::DiscoveryDialog* dialog = h.openDiscovery();
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->sampleTables(), QStringList{QStringLiteral("dbo.Person")});
        QCOMPARE(dialog->model().rowCount(), 1); // FirstName

        h.select(5);
        QCOMPARE(dialog->sampleTables(), QStringList{QStringLiteral("dbo.Orders")});
        h.select(0);
        QCOMPARE(dialog->sampleTables(), QStringList());

        dialog->hide();
        h.select(1);
        QCOMPARE(h.openDiscovery(), dialog); // one window, shown again
        QCOMPARE(dialog->sampleTables(), QStringList{QStringLiteral("dbo.Person")});

        // A new login empties what named the old database.
        h.window.workspace().replace(shop());
        QCOMPARE(dialog->sampleTables(), QStringList());
    }

    void applyGoesThroughTheWorkspace()
    {
        Harness h;
        ui::DiscoveryDialog* dialog = h.openDiscovery();
        QSignalSpy edited(&h.window.workspace(), &Workspace::methodChanged);
        QSignalSpy treeChanged(h.window.treeModel(), &QAbstractItemModel::dataChanged);
        dialog->findChild<QTableView*>()->selectRow(0);
        QCOMPARE(dialog->applySelected(), 1);

        QCOMPARE(edited.size(), 1);
        QCOMPARE(edited.at(0).at(0).toInt(), 3);
        QCOMPARE(h.listed(), QList<int>{3}); // FirstName
        QCOMPARE(h.coverageLine(), QStringLiteral("1 of 1 personal-data columns masked"));
        QVERIFY(!treeChanged.isEmpty());
        QVERIFY(h.tip(3).startsWith(QStringLiteral("Virtual data\nPerson name")));
    }

    void treeMarksShowTheFindings()
    {
        Harness h;
        h.window.TreeView1->expandAll();
        QVERIFY(h.tip(3).startsWith(QStringLiteral("Person name (")));
        QVERIFY(h.tip(3).contains(QStringLiteral("first")));
        QCOMPARE(h.tip(6), QStringLiteral("Total"));
        const auto icon = [&](int node) {
            return h.window.treeModel()->indexOf(node).data(Qt::DecorationRole).value<QIcon>();
        };
        const qint64 badge = icon(3).cacheKey();
        QVERIFY(badge != icon(6).cacheKey());
        h.window.workspace().editSlot(3, [](TColumnRec& rec) { rec.method = 1002; });
        QVERIFY(icon(3).cacheKey() != badge); // the badge carries the masked mark

        // Values read on the worker add a finding; the tree follows.
        h.server.answer(
            QStringLiteral("from [dbo].[Person]"),
            test::makeRows(
                {QStringLiteral("Id"), QStringLiteral("FirstName"), QStringLiteral("Contact")},
                {{QStringLiteral("1"), QStringLiteral("Anna"), QStringLiteral("anna@example.org")},
                 {QStringLiteral("2"), QStringLiteral("Ben"), QStringLiteral("ben@example.org")},
                 {QStringLiteral("3"), QStringLiteral("Cem"), QStringLiteral("cem@example.org")}}));
        h.select(1);
        ui::DiscoveryDialog* dialog = h.openDiscovery();
        QSignalSpy finished(dialog, &ui::DiscoveryDialog::samplingFinished);
        QSignalSpy redrawn(h.window.treeModel(), &QAbstractItemModel::dataChanged);
        QVERIFY(dialog->sampleValues());
        QCOMPARE(h.tip(4), QStringLiteral("Contact")); // not before the result is in
        QVERIFY(finished.wait(5000));
        QVERIFY(!redrawn.isEmpty());
        QVERIFY(h.tip(4).startsWith(QStringLiteral("E-mail (")));
        QCOMPARE(h.coverageLine(), QStringLiteral("1 of 2 personal-data columns masked"));
    }

    void coverageLineFollowsTheWorkspace()
    {
        Harness h;
        QCOMPARE(h.coverageLine(), QStringLiteral("0 of 1 personal-data columns masked"));
        h.window.workspace().editSlot(3, [](TColumnRec& rec) { rec.method = 1002; });
        QCOMPARE(h.coverageLine(), QStringLiteral("1 of 1 personal-data columns masked"));

        TData choices = h.window.workspace().catalogue();
        choices[3].method = NoMethodYet;
        h.window.workspace().replaceChoices(choices);
        QCOMPARE(h.coverageLine(), QStringLiteral("0 of 1 personal-data columns masked"));

        LoadedDatabase other = shop();
        other.catalogue[6].col = QStringLiteral("Email");
        other.catalogue[6].typ = QStringLiteral("varchar");
        other.catalogue[6].char_max = QStringLiteral("100");
        h.window.workspace().replace(other);
        QCOMPARE(h.coverageLine(), QStringLiteral("0 of 2 personal-data columns masked"));
    }
};

QTEST_MAIN(TestDiscoveryWiring)
#include "test_discoverywiring.moc"
