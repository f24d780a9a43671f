#include "ui/discovery/personaldatamodel.h"

#include "catalogue/workspace.h"
#include "discovery/workspacefindings.h"
#include "ui/discovery/categoryicon.h"

namespace corvane::ui {

using namespace discovery;

PersonalDataModel::PersonalDataModel(Workspace& workspace, const WorkspaceFindings& findings,
                             QObject* parent)
    : QAbstractTableModel(parent), m_workspace(workspace), m_findings(findings)
{
    connect(&findings, &WorkspaceFindings::findingsChanged, this, [this] {
        beginResetModel();
        endResetModel();
    });
    connect(&workspace, &Workspace::methodChanged, this,
            [this](int slot) { rowChanged(m_findings.rowOf(slot)); });
    connect(&workspace, &Workspace::choicesReplaced, this, [this] {
        if (rowCount() > 0)
            Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
    });
}

const QVector<Finding>& PersonalDataModel::findings() const
{
    return m_findings.findings();
}

Suggestion PersonalDataModel::suggestion(int row) const
{
    const Finding& f = finding(row);
    return Suggest(f, m_workspace.catalogue().at(f.slot));
}

bool PersonalDataModel::applySuggestion(int row)
{
    if (row < 0 || row >= rowCount())
        return false;
    const Suggestion s = suggestion(row);
    if (!s.isValid())
        return false;
    const int slot = finding(row).slot;
    m_workspace.editSlot(slot, [&s](TColumnRec& column) { ApplySuggestion(column, s); });
    Q_EMIT suggestionApplied(slot);
    return true;
}

void PersonalDataModel::rowChanged(int row)
{
    if (row >= 0 && row < rowCount())
        Q_EMIT dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

int PersonalDataModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(findings().size());
}

int PersonalDataModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PersonalDataModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Finding& f = finding(index.row());
    const TColumnRec& c = m_workspace.catalogue().at(f.slot);
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

QVariant PersonalDataModel::headerData(int section, Qt::Orientation orientation, int role) const
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
