#include "catalogue/workspace.h"
#include "discovery/workspacefindings.h"
#include "tests/discovery/columns.h"
#include "tests/support/fakeconnection.h"
#include "tests/support/workingdirectory.h"
#include "tests/support/workspace.h"
#include "ui/discovery/discoverydialog.h"

#include <QAbstractItemModelTester>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

using namespace corvane;
using namespace corvane::ui;

namespace {

TColumnRec col(const QString& tab, const QString& name, const QString& typ,
               const QString& charMax = {})
{
    return test::discoveryColumn(QStringLiteral("dbo"), tab, name, typ, charMax);
}

// 1 dbo.Kunde: 2 Vorname, 3 Kontakt, 4 Umsatz; 5 dbo.Log: 6 Ip, 7 Text.
TData catalogue()
{
    TData data(8);
    const QString kunde = QStringLiteral("Kunde");
    data[2] = col(kunde, QStringLiteral("Vorname"), QStringLiteral("nvarchar"), QStringLiteral("50"));
    data[3] = col(kunde, QStringLiteral("Kontakt"), QStringLiteral("nvarchar"), QStringLiteral("100"));
    data[4] = col(kunde, QStringLiteral("Umsatz"), QStringLiteral("decimal"));
    const QString log = QStringLiteral("Log");
    data[6] = col(log, QStringLiteral("Ip"), QStringLiteral("varchar"), QStringLiteral("45"));
    data[7] = col(log, QStringLiteral("Text"), QStringLiteral("nvarchar"), QStringLiteral("200"));
    return data;
}

// The workspace and its findings, as the main window holds them.
struct Session
{
    Workspace workspace;
    discovery::WorkspaceFindings findings{workspace};

    explicit Session(db::ConnectionFactory connect = {}) : workspace(std::move(connect))
    {
        test::load(workspace, catalogue(), QStringLiteral("cs"));
    }
    const TData& data() const { return workspace.catalogue(); }
};

QTableView* view(DiscoveryDialog& dialog)
{
    return dialog.findChild<QTableView*>();
}

} // namespace

class TestDiscoveryDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void findsByNamesAtOnceAndAppliesSuggestions()
    {
        Session session;
        const TData& data = session.data();
        DiscoveryDialog dialog(session.workspace, session.findings);
        QAbstractItemModelTester tester(&dialog.model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(dialog.model().rowCount(), 2); // Vorname, Ip
        QCOMPARE(dialog.coverageText(), QStringLiteral("0 of 2 personal-data columns masked"));
        QCOMPARE(dialog.model().data(dialog.model().index(0, PersonalDataModel::SuggestionColumn)),
                 QVariant(QStringLiteral("Virtual data: first_names")));
        QVERIFY(!dialog.model().data(dialog.model().index(0, PersonalDataModel::CategoryColumn),
                                     Qt::DecorationRole)
                     .value<QIcon>()
                     .isNull());

        QSignalSpy applied(&dialog, &DiscoveryDialog::suggestionApplied);
        view(dialog)->selectAll();
        QCOMPARE(dialog.applySelected(), 2);
        QCOMPARE(applied.size(), 2);
        QCOMPARE(applied.at(0).at(0).toInt(), 2);
        QCOMPARE(data.at(2).method, 1007);
        QCOMPARE(data.at(2).param1, QStringLiteral("first_names"));
        QCOMPARE(data.at(6).method, 1001);
        QCOMPARE(data.at(6).param1, QStringLiteral("192.0.2.1"));
        QCOMPARE(dialog.coverageText(), QStringLiteral("2 of 2 personal-data columns masked"));

        // A method chosen elsewhere shows at once.
        QSignalSpy rowChanged(&dialog.model(), &QAbstractItemModel::dataChanged);
        session.workspace.editSlot(2, [](TColumnRec& rec) { rec.method = 1000; });
        QCOMPARE(dialog.coverageText(), QStringLiteral("1 of 2 personal-data columns masked"));
        QCOMPARE(rowChanged.size(), 1);
        QCOMPARE(rowChanged.at(0).at(0).toModelIndex().row(), 0);
    }

    void samplesOnlyTheChosenTablesOnAWorker()
    {
        test::FakeServer server;
        server.answer(QStringLiteral("from [dbo].[Kunde]"),
                      test::makeRows({QStringLiteral("Vorname"), QStringLiteral("Kontakt"),
                                      QStringLiteral("Umsatz")},
                                     {{QStringLiteral("Anna"), QStringLiteral("anna@example.org"),
                                       QStringLiteral("10")},
                                      {QStringLiteral("Ben"), QStringLiteral("ben@example.org"),
                                       QStringLiteral("20")},
                                      {QStringLiteral("Cem"), QStringLiteral("cem@example.org"),
                                       QStringLiteral("30")}}));
        Session session(server.factory());
        DiscoveryDialog dialog(session.workspace, session.findings);
        QAbstractItemModelTester tester(&dialog.model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(!dialog.sampleValues()); // nothing chosen, nothing read
        dialog.setSampleTables({QStringLiteral("dbo.Kunde")});
        QSignalSpy finished(&dialog, &DiscoveryDialog::samplingFinished);
        QSignalSpy changed(&session.findings, &discovery::WorkspaceFindings::findingsChanged);
        QVERIFY(dialog.sampleValues());
        QVERIFY(dialog.isSampling());
        QVERIFY(!dialog.sampleValues()); // one sampling at a time
        QVERIFY(finished.wait(5000));
        QVERIFY(!dialog.isSampling());
        QCOMPARE(changed.size(), 1);
        QVERIFY(!server.sent.join(u'\n').contains(u"[dbo].[Log]"));
        QCOMPARE(dialog.model().rowCount(), 3); // Kontakt joins, by its values
        QCOMPARE(dialog.model().finding(1).slot, 3);
        QCOMPARE(dialog.model().finding(1).category, discovery::Category::Email);
        QCOMPARE(dialog.notesText(), QString());
    }

    void aFailedConnectionIsANote()
    {
        test::FakeServer server;
        server.refuseOpen = QStringLiteral("Login failed for user 'op'.");
        Session session(server.factory());
        DiscoveryDialog dialog(session.workspace, session.findings);
        dialog.setSampleTables({QStringLiteral("dbo.Log")});
        QSignalSpy finished(&dialog, &DiscoveryDialog::samplingFinished);
        QVERIFY(dialog.sampleValues());
        QVERIFY(finished.wait(5000));
        QCOMPARE(dialog.notesText(), QStringLiteral("Connection failed. Login failed for user 'op'."));
        QCOMPARE(dialog.model().rowCount(), 2); // what the names said stays
    }

    // Its slots would address the columns of the database loaded since.
    void aSampleOfAnEarlierCatalogueIsDropped()
    {
        test::FakeServer server;
        QSemaphore connecting;
        Session session([&] {
            connecting.acquire();
            return server.connect();
        });
        DiscoveryDialog dialog(session.workspace, session.findings);
        dialog.setSampleTables({QStringLiteral("dbo.Kunde")});
        QSignalSpy finished(&dialog, &DiscoveryDialog::samplingFinished);
        QVERIFY(dialog.sampleValues());

        TData other(4);
        other[2] = col(QStringLiteral("Konto"), QStringLiteral("Iban"), QStringLiteral("varchar"),
                       QStringLiteral("34"));
        other[3] = col(QStringLiteral("Konto"), QStringLiteral("Saldo"), QStringLiteral("money"));
        test::load(session.workspace, other, QStringLiteral("cs"));
        connecting.release();
        QVERIFY(finished.wait(5000));
        QCOMPARE(dialog.model().rowCount(), 1);
        QCOMPARE(dialog.model().finding(0).category, discovery::Category::BankAccount);
        QVERIFY(dialog.notesText().contains(QStringLiteral("the sample was dropped")));
        QVERIFY(dialog.sampleTables().isEmpty());
    }

    // The script reads word lists from the working directory's virtual_data
    // alone: a suggested list that is not there is named.
    void aMissingWordListIsNamed()
    {
        test::WorkingDirectory cwd;
        QVERIFY(cwd.entered());
        Session session;
        DiscoveryDialog dialog(session.workspace, session.findings);
        view(dialog)->selectRow(1); // Ip: no word list
        dialog.applySelected();
        QCOMPARE(dialog.notesText(), QString());
        view(dialog)->selectRow(0); // Vorname: first_names
        dialog.applySelected();
        QVERIFY(dialog.notesText().contains(QStringLiteral("lacks the word lists first_names:")));

        QVERIFY(cwd.writeWordList(QStringLiteral("first_names"), "Anna;Ben\r\n"));
        dialog.applySelected();
        QCOMPARE(dialog.notesText(), QString());
    }
};

QTEST_MAIN(TestDiscoveryDialog)
#include "test_discoverydialog.moc"
