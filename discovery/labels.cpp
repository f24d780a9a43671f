#include "discovery/labels.h"

#include <QHash>

#include <algorithm>

namespace corvane::discovery {

namespace {

Category categoryOf(const QString& informationType)
{
    static const QHash<QString, Category> types = {
        {QStringLiteral("name"), Category::PersonName},
        {QStringLiteral("credit card"), Category::PaymentCard},
        {QStringLiteral("banking"), Category::BankAccount},
        {QStringLiteral("national id"), Category::NationalId},
        {QStringLiteral("ssn"), Category::NationalId},
        {QStringLiteral("date of birth"), Category::BirthDate},
        {QStringLiteral("networking"), Category::IpAddress},
    };
    return types.value(informationType.trimmed().toLower(), Category::None);
}

QString key(const QString& schema, const QString& table, const QString& column)
{
    return schema + u'\x1f' + table + u'\x1f' + column;
}

} // namespace

QString SensitivityLabelQuery()
{
    // System views' column names are lower case; [label] is bracketed, as it
    // is a keyword in some editions.
    return QStringLiteral(
        "select s.name as [schema], o.name as tab, c.name as col, sc.[label] as [label], "
        "sc.information_type as information_type "
        "from sys.sensitivity_classifications as sc "
        "join sys.objects as o on o.object_id = sc.major_id "
        "join sys.schemas as s on s.schema_id = o.schema_id "
        "join sys.columns as c on c.object_id = sc.major_id and c.column_id = sc.minor_id "
        "where sc.class = 1");
}

Result<QVector<SensitivityLabel>> ReadSensitivityLabels(db::Connection& connection)
{
    auto rows = connection.queryAll(SensitivityLabelQuery());
    if (!rows)
        return rows.error();
    QVector<SensitivityLabel> labels;
    labels.reserve(rows->rows.size());
    for (int r = 0; r < rows->rows.size(); ++r)
        labels.append({rows->value(r, QStringLiteral("schema")),
                       rows->value(r, QStringLiteral("tab")),
                       rows->value(r, QStringLiteral("col")),
                       rows->value(r, QStringLiteral("label")),
                       rows->value(r, QStringLiteral("information_type"))});
    return labels;
}

void ApplyLabels(QVector<Finding>& findings, const TData& catalogue,
                 const QVector<SensitivityLabel>& labels, const QVector<int>& columnSlots)
{
    if (labels.isEmpty())
        return;
    QHash<QString, const SensitivityLabel*> byColumn;
    for (const SensitivityLabel& l : labels)
        byColumn.insert(key(l.schema, l.table, l.column), &l);
    QHash<int, int> findingOfSlot;
    for (int i = 0; i < findings.size(); ++i)
        findingOfSlot.insert(findings.at(i).slot, i);

    const auto label = [&](int slot) {
        const TColumnRec& c = catalogue.at(slot);
        const SensitivityLabel* l = byColumn.value(key(c.schema, c.tab, c.col));
        if (!l)
            return;
        int index = findingOfSlot.value(slot, -1);
        if (index < 0) {
            Finding added;
            added.slot = slot;
            findings.append(added);
            index = int(findings.size() - 1);
        }
        Finding& f = findings[index];
        const Category named = categoryOf(l->informationType);
        if (named != Category::None && named != f.category) {
            f.category = named;
            f.detail = named == Category::PersonName ? Detail::FullName : Detail::Any;
        } else if (f.category == Category::None) {
            f.category = Category::Other;
        }
        f.confidence = 1.0;
        f.label = l->label.isEmpty() ? l->informationType : l->label;
        QString phrase = u"label \"" + l->label + u'"';
        if (!l->informationType.isEmpty())
            phrase += u" (" + l->informationType + u')';
        f.evidence.prepend(phrase);
    };
    if (columnSlots.isEmpty()) {
        for (int slot = 0; slot < catalogue.size(); ++slot)
            if (!catalogue.at(slot).col.isEmpty())
                label(slot);
    } else {
        for (int slot : columnSlots)
            if (slot >= 0 && slot < catalogue.size() && !catalogue.at(slot).col.isEmpty())
                label(slot);
    }
    std::sort(findings.begin(), findings.end(),
              [](const Finding& a, const Finding& b) { return a.slot < b.slot; });
}

} // namespace corvane::discovery
