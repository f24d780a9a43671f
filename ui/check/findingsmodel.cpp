#include "ui/check/findingsmodel.h"

#include <QApplication>
#include <QIcon>
#include <QStyle>

namespace corvane::ui {

QIcon LevelIcon(check::Level level)
{
    return QApplication::style()->standardIcon(level == check::Level::Error
                                                   ? QStyle::SP_MessageBoxCritical
                                                   : QStyle::SP_MessageBoxWarning);
}

FindingsModel::FindingsModel(QObject* parent) : QAbstractTableModel(parent) {}

void FindingsModel::setFindings(const check::Findings& findings)
{
    beginResetModel();
    m_findings = findings;
    endResetModel();
}

int FindingsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_findings.size());
}

int FindingsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FindingsModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const check::Finding& f = m_findings.at(index.row());
    if (role == SlotRole)
        return f.slot;
    if (index.column() == LevelColumn && role == Qt::DecorationRole)
        return LevelIcon(f.level);
    if (index.column() == LevelColumn && role == SortRole)
        return f.level == check::Level::Error ? 0 : 1;
    if (role == Qt::ToolTipRole && index.column() == MessageColumn)
        return f.message;
    if (role != Qt::DisplayRole && role != SortRole)
        return {};
    switch (index.column()) {
    case LevelColumn:
        return check::LevelName(f.level);
    case TableColumn:
        return f.table;
    case ColumnColumn:
        return f.column;
    case MethodColumn:
        return f.method == NoMethodYet ? QString() : GetMethodName(f.method).trimmed();
    case RuleColumn:
        return f.rule;
    case MessageColumn:
        return f.message;
    default:
        return {};
    }
}

QVariant FindingsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case LevelColumn:
        return tr("Level");
    case TableColumn:
        return tr("Table");
    case ColumnColumn:
        return tr("Column");
    case MethodColumn:
        return tr("Method");
    case RuleColumn:
        return tr("Rule");
    case MessageColumn:
        return tr("What to do");
    default:
        return {};
    }
}

} // namespace corvane::ui
