#include "catalogue/methods.h"
#include "catalogue/workspace.h"
#include "discovery/workspacefindings.h"
#include "tests/discovery/columns.h"

#include <QSignalSpy>
#include <QTest>

using namespace corvane;
using namespace corvane::discovery;

namespace {

// Slots: 1 dbo.Kunde, 2 Vorname, 3 Umsatz, 4 Email.
LoadedDatabase kunde()
{
    LoadedDatabase loaded;
    loaded.catalogue.resize(5);
    const QString dbo = QStringLiteral("dbo");
    const QString tab = QStringLiteral("Kunde");
    loaded.catalogue[2] = test::discoveryColumn(dbo, tab, QStringLiteral("Vorname"),
                                                QStringLiteral("nvarchar"), QStringLiteral("50"));
    loaded.catalogue[3] =
        test::discoveryColumn(dbo, tab, QStringLiteral("Umsatz"), QStringLiteral("decimal"));
    loaded.catalogue[4] = test::discoveryColumn(dbo, tab, QStringLiteral("Email"),
                                                QStringLiteral("varchar"), QStringLiteral("100"));
    return loaded;
}

void setMethod(Workspace& workspace, int slot, MethodCode code)
{
    workspace.editSlot(slot, [code](TColumnRec& rec) { rec.method = code; });
}

} // namespace

class TestWorkspaceFindings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Names do not change with methods: a new catalogue is classified, an
    // edit is only counted.
    void classifiesOncePerCatalogue()
    {
        Workspace workspace;
        WorkspaceFindings findings(workspace);
        QVERIFY(findings.findings().isEmpty());
        QSignalSpy changed(&findings, &WorkspaceFindings::findingsChanged);

        workspace.replace(kunde());
        QCOMPARE(changed.size(), 1);
        QCOMPARE(findings.findings().size(), 2);
        QCOMPARE(findings.findingOf(2)->category, Category::PersonName);
        QCOMPARE(findings.findingOf(4)->category, Category::Email);
        QCOMPARE(findings.findingOf(3), nullptr);
        QCOMPARE(findings.findingOf(-1), nullptr);
        QCOMPARE(findings.findingOf(99), nullptr);

        // What a sampling found stays through edits.
        Finding sampled;
        sampled.slot = 3;
        sampled.category = Category::PaymentCard;
        findings.replace({sampled});
        setMethod(workspace, 3, 104);
        setMethod(workspace, 2, 1000);
        QCOMPARE(findings.findings().size(), 1);
        QCOMPARE(findings.findingOf(3)->category, Category::PaymentCard);
        QCOMPARE(findings.findingOf(2), nullptr);

        const int before = findings.generation();
        workspace.replace(kunde());
        QCOMPARE(findings.generation(), before + 1);
        QCOMPARE(findings.findings().size(), 2);
    }

    void coverageFollowsTheMethods()
    {
        Workspace workspace;
        workspace.replace(kunde());
        WorkspaceFindings findings(workspace);
        QSignalSpy coverage(&findings, &WorkspaceFindings::coverageChanged);
        const auto text = [&] { return CoverageText(findings.coverage()); };
        QCOMPARE(text(), QStringLiteral("0 of 2 personal-data columns masked"));

        setMethod(workspace, 2, 1007);
        QCOMPARE(text(), QStringLiteral("1 of 2 personal-data columns masked"));
        QCOMPARE(coverage.size(), 1);
        setMethod(workspace, 2, 1002); // masked before, masked still
        setMethod(workspace, 3, 104);  // no personal data
        QCOMPARE(coverage.size(), 1);
        setMethod(workspace, 2, noMaskCode(tcVarchar));
        QCOMPARE(text(), QStringLiteral("0 of 2 personal-data columns masked"));
        QCOMPARE(coverage.size(), 2);

        // A loaded project brings every choice at once.
        TData choices = workspace.catalogue();
        choices[2].method = 1007;
        choices[4].method = 1002;
        workspace.replaceChoices(choices);
        QCOMPARE(text(), QStringLiteral("2 of 2 personal-data columns masked"));
        QCOMPARE(coverage.size(), 3);
    }

    // A finding that no slot of this catalogue holds would mark another column.
    void replaceKeepsOnlyFindingsOfThisCatalogue()
    {
        Workspace workspace;
        workspace.replace(kunde());
        WorkspaceFindings findings(workspace);
        Finding outside;
        outside.slot = 12;
        outside.category = Category::Email;
        Finding none;
        none.slot = 3;
        Finding email;
        email.slot = 4;
        email.category = Category::Email;
        findings.replace({outside, none, email});
        QCOMPARE(findings.findings().size(), 1);
        QCOMPARE(findings.rowOf(4), 0);
        QCOMPARE(findings.rowOf(3), -1);
        QCOMPARE(findings.coverage().personal, 1);
    }
};

QTEST_GUILESS_MAIN(TestWorkspaceFindings)
#include "test_workspacefindings.moc"
