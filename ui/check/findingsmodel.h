#pragma once

#include "check/rules.h"

#include <QAbstractTableModel>
#include <QIcon>

namespace corvane::ui {

// The icon of a level, the same in every list that shows findings.
QIcon LevelIcon(check::Level level);

// The findings of a check, one row each: level (icon and text), table,
// column, method, rule, message. The level sorts errors before warnings by
// SortRole; every other column sorts by its text.
class FindingsModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column {
        LevelColumn,
        TableColumn,
        ColumnColumn,
        MethodColumn,
        RuleColumn,
        MessageColumn,
        ColumnCount
    };
    static constexpr int SortRole = Qt::UserRole;
    static constexpr int SlotRole = Qt::UserRole + 1; // the catalogue slot of the row

    explicit FindingsModel(QObject* parent = nullptr);

    void setFindings(const check::Findings& findings);
    const check::Findings& findings() const { return m_findings; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    check::Findings m_findings;
};

} // namespace corvane::ui
