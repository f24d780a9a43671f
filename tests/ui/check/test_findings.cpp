#include "ui/check/findingsmodel.h"
#include "ui/check/findingspanel.h"

#include <QAbstractItemModelTester>
#include <QLabel>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

using namespace corvane;
using namespace corvane::check;
using ui::FindingsModel;
using ui::FindingsPanel;
using namespace Qt::StringLiterals;

namespace {

// A table finding, then a warning before an error of slot 3, an error of slot 5.
Findings sample()
{
    return {
        {Level::Warning, 2, QStringLiteral("dbo.T"), {}, NoMethodYet, QStringLiteral("facts-unknown"), QStringLiteral("row count unknown")},
        {Level::Warning, 3, QStringLiteral("dbo.T"), QStringLiteral("a"), 104, QStringLiteral("large-table"), QStringLiteral("slow")},
        {Level::Error, 3, QStringLiteral("dbo.T"), QStringLiteral("a"), 104, QStringLiteral("unique"), QStringLiteral("in unique index")},
        {Level::Error, 5, QStringLiteral("dbo.T"), QStringLiteral("b"), 2007, QStringLiteral("out-of-range"), QStringLiteral("too big")},
    };
}

QStringList column(const QAbstractItemModel* model, int column)
{
    QStringList texts;
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->index(row, column).data().toString();
    return texts;
}

} // namespace

class TestFindings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void modelIsSound()
    {
        FindingsModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setFindings(sample());
        QCOMPARE(model.rowCount(), 4);
        QCOMPARE(column(&model, FindingsModel::LevelColumn),
                 (QStringList{u"warning"_s, u"warning"_s, u"error"_s, u"error"_s}));
        // The method by its name; a table finding has none.
        QCOMPARE(model.index(0, FindingsModel::MethodColumn).data().toString(), QString());
        QCOMPARE(model.index(3, FindingsModel::MethodColumn).data().toString(),
                 u"Random interval float Foreign Key"_s);
        QVERIFY(!model.index(2, FindingsModel::LevelColumn).data(Qt::DecorationRole).value<QIcon>().isNull());
        model.setFindings({});
        QCOMPARE(model.rowCount(), 0);
    }

    void panelSortsFiltersAndSummarises()
    {
        FindingsPanel panel;
        panel.setFindings(sample());
        QCOMPARE(panel.summaryText(), u"2 errors, 2 warnings"_s);
        const QAbstractItemModel* shown = panel.view()->model();
        // In check order until sorted; then errors come first.
        QCOMPARE(column(shown, FindingsModel::RuleColumn),
                 (QStringList{u"facts-unknown"_s, u"large-table"_s, u"unique"_s, u"out-of-range"_s}));
        panel.view()->sortByColumn(FindingsModel::LevelColumn, Qt::AscendingOrder);
        QCOMPARE(column(shown, FindingsModel::LevelColumn),
                 (QStringList{u"error"_s, u"error"_s, u"warning"_s, u"warning"_s}));

        // One slot's own findings, as the editor shows them: not the table's.
        panel.showSlot(3);
        QCOMPARE(column(shown, FindingsModel::RuleColumn), (QStringList{u"unique"_s, u"large-table"_s}));
        QCOMPARE(panel.summaryText(), u"1 error, 1 warning"_s);
        panel.showSlot(4);
        QCOMPARE(shown->rowCount(), 0);
        QCOMPARE(panel.summaryText(), u"No findings"_s);
        panel.showSlot(-1);
        QCOMPARE(shown->rowCount(), 4);
    }

    void activatingARowNamesItsSlot()
    {
        FindingsPanel panel;
        panel.setFindings(sample());
        QSignalSpy spy(&panel, &FindingsPanel::slotActivated);
        Q_EMIT panel.view()->activated(panel.view()->model()->index(3, 0));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 5);
    }

    void asksOnlyWithErrors()
    {
        Findings warnings = sample().mid(0, 2);
        QCOMPARE(ui::ProceedQuestion(warnings, u"Run SQL"_s), QString());
        const QString question = ui::ProceedQuestion(sample(), u"Run SQL"_s);
        QVERIFY(question.contains(u"2 errors, 2 warnings"_s));
        QVERIFY(question.endsWith(u"Run SQL anyway?"_s));
    }
};

QTEST_MAIN(TestFindings)
#include "test_findings.moc"
