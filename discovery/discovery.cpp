#include "discovery/discovery.h"

#include "discovery/classifier.h"
#include "discovery/labels.h"
#include "discovery/sampling.h"
#include "discovery/values.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>

namespace corvane::discovery {

namespace {

constexpr int InvalidObjectName = 208;

} // namespace

DiscoveryReport Discover(const TData& catalogue, db::Connection* connection,
                         const DiscoveryRequest& request,
                         const std::function<bool(int, int)>& progress)
{
    DiscoveryReport report;
    report.findings = ClassifyCatalogue(catalogue, request.columnSlots.isEmpty() ? nullptr : &request.columnSlots);
    if (!connection)
        return report;

    auto labels = ReadSensitivityLabels(*connection);
    if (labels) {
        ApplyLabels(report.findings, catalogue, *labels, request.columnSlots);
    } else if (labels.error().code != InvalidObjectName) {
        report.notes << QStringLiteral("Sensitivity labels not read: ") +
                            labels.error().message.simplified();
    }

    if (request.sampleRows <= 0 || request.sampleSlots.isEmpty())
        return report;
    QHash<int, int> findingOfSlot;
    for (int i = 0; i < report.findings.size(); ++i)
        findingOfSlot.insert(report.findings.at(i).slot, i);
    bool carryOn = true;
    const auto step = [&](int done, int total) {
        if (progress && carryOn)
            carryOn = progress(done, total);
        return carryOn;
    };
    const QVector<TableSample> samples =
        SampleTables(*connection, catalogue, request.sampleSlots, request.sampleRows, step);
    report.stopped = !carryOn;
    const QDate today = request.today.isValid() ? request.today : QDate::currentDate();
    QVector<Finding> added;
    for (const TableSample& table : samples) {
        if (!table.error.isEmpty()) {
            report.notes << table.stab + QStringLiteral(": values not read: ") +
                                table.error.simplified();
            continue;
        }
        for (int c = 0; c < table.columnSlots.size(); ++c) {
            const int slot = table.columnSlots.at(c);
            Finding f;
            f.slot = slot;
            const auto it = findingOfSlot.constFind(slot);
            if (it != findingOfSlot.cend())
                f = report.findings.at(*it);
            AddValueEvidence(f, catalogue.at(slot), table.values.at(c), today);
            if (it != findingOfSlot.cend())
                report.findings[*it] = f;
            else if (f.isPersonal())
                added.append(f); // the values alone tell it
        }
    }
    if (!added.isEmpty()) {
        report.findings += added;
        std::sort(report.findings.begin(), report.findings.end(),
                  [](const Finding& a, const Finding& b) { return a.slot < b.slot; });
    }
    return report;
}

QVector<int> SlotsOfTables(const TData& catalogue, const QString& patterns)
{
    struct Pattern
    {
        QRegularExpression expression;
        bool qualified;
    };
    QList<Pattern> list;
    for (const QString& p : patterns.split(u',', Qt::SkipEmptyParts)) {
        const QString text = p.trimmed();
        if (text.isEmpty())
            continue;
        list.append({QRegularExpression(QRegularExpression::wildcardToRegularExpression(
                                            text, QRegularExpression::UnanchoredWildcardConversion),
                                        QRegularExpression::CaseInsensitiveOption),
                     text.contains(u'.')});
        list.last().expression.setPattern(u"^(?:" + list.last().expression.pattern() + u")$");
    }
    QVector<int> columnSlots;
    for (int slot = 0; slot < catalogue.size(); ++slot) {
        const TColumnRec& c = catalogue.at(slot);
        if (c.col.isEmpty())
            continue;
        for (const Pattern& p : list) {
            const QString subject = p.qualified ? c.stab : (c.tab.isEmpty() ? c.stab : c.tab);
            if (p.expression.match(subject).hasMatch()) {
                columnSlots.append(slot);
                break;
            }
        }
    }
    return columnSlots;
}

} // namespace corvane::discovery
