#include "ui/discovery/findingsmodel.h"

#include "ui/discovery/categoryicon.h"

namespace corvane::ui {

using namespace discovery;

FindingsModel::FindingsModel(TData& catalogue, QObject* parent)
    : QAbstractTableModel(parent), m_catalogue(catalogue)
{
}

void FindingsModel::setFindings(QVector<Finding> findings)
{
    beginResetModel();
    m_findings = std::move(findings);
    // A finding whose slot a new login took away would address another
    // column: keep only those that still fit the catalogue.
    m_findings.removeIf([&](const Finding& f) {
        return !f.isPersonal() || f.slot < 0 || f.slot >= m_catalogue.size();
    });
    endResetModel();
}

Suggestion FindingsModel::suggestion(int row) const
{
    const Finding& f = m_findings.at(row);
    return Suggest(f, m_catalogue.at(f.slot));
}

bool FindingsModel::applySuggestion(int row)
{
    if (row < 0 || row >= m_findings.size())
        return false;
    const Suggestion s = suggestion(row);
    if (!s.isValid())
        return false;
    const int slot = m_findings.at(row).slot;
    ApplySuggestion(m_catalogue[slot], s);
    Q_EMIT dataChanged(index(row, 0), index(row, ColumnCount - 1));
    Q_EMIT suggestionApplied(slot);
    return true;
}

void FindingsModel::slotChanged(int slot)
{
    for (int row = 0; row < m_findings.size(); ++row)
        if (m_findings.at(row).slot == slot)
            Q_EMIT dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

Coverage FindingsModel::coverage() const
{
    return CoverageOf(m_catalogue, m_findings);
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
    const Finding& f = m_findings.at(index.row());
    const TColumnRec& c = m_catalogue.at(f.slot);
    if (role == Qt::ToolTipRole)
        return FindingToolTip(f);
    if (role == Qt::DecorationRole && index.column() == CategoryColumn)
        return CategoryIcon(f.category);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case TableColumn:
        return c.stab;
    case ColumnColumn:
        return c.col;
    case CategoryColumn:
        return CategoryCaption(f.category);
    case ConfidenceColumn:
        return QStringLiteral("%1%").arg(qRound(f.confidence * 100));
    case SuggestionColumn: {
        const Suggestion s = Suggest(f, c);
        if (!s.isValid())
            return QString();
        QString text = GetMethodName(s.code);
        if (!s.param1.isEmpty())
            text += QStringLiteral(": ") + s.param1;
        if (!s.param2.isEmpty())
            text += QStringLiteral(" - ") + s.param2;
        return text;
    }
    case MaskedColumn:
        return IsMasked(c) ? GetMethodName(c.method) : QString();
    case EvidenceColumn:
        return f.evidenceText();
    }
    return {};
}

QVariant FindingsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case TableColumn: return QStringLiteral("Table");
    case ColumnColumn: return QStringLiteral("Column");
    case CategoryColumn: return QStringLiteral("Category");
    case ConfidenceColumn: return QStringLiteral("Confidence");
    case SuggestionColumn: return QStringLiteral("Suggestion");
    case MaskedColumn: return QStringLiteral("Masked by");
    case EvidenceColumn: return QStringLiteral("Evidence");
    }
    return {};
}

} // namespace corvane::ui
