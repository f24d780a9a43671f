#pragma once

#include "catalogue/consttypes.h"
#include "base/result.h"
#include "db/connection.h"
#include "discovery/finding.h"

#include <QVector>

namespace corvane::discovery {

// A column's entry in the database's own sensitivity classification.
struct SensitivityLabel
{
    QString schema;
    QString table;
    QString column;
    QString label;
    QString informationType;
};

// The query over sys.sensitivity_classifications (SQL Server 2019 and later).
QString SensitivityLabelQuery();

// The database's labels. Servers before 2019 have no such view and answer
// with an error: the caller reports it and goes on without labels.
Result<QVector<SensitivityLabel>> ReadSensitivityLabels(db::Connection& connection);

// Every column of `columnSlots` (every column when empty) that carries a
// label is reported with it: the category its information type names, else
// the one from the names, else "other personal data". Findings stay in slot
// order.
void ApplyLabels(QVector<Finding>& findings, const TData& catalogue,
                 const QVector<SensitivityLabel>& labels, const QVector<int>& columnSlots = {});

} // namespace corvane::discovery
