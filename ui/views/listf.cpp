#include "ui/views/listf.h"

#include "ui/views/listmodel.h"

#include "catalogue/methods.h"
#include "catalogue/workspace.h"
#include "check/checkstate.h"
#include "discovery/workspacefindings.h"

#include <QHeaderView>
#include <QLabel>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

namespace corvane {

namespace {

constexpr int RowHeight = 16;

} // namespace

TListF::TListF(QWidget* parent)
    : QWidget(parent), m_sorted(new QSortFilterProxyModel(this)), m_checkSummary(new QLabel(this)),
      m_grid(new QTableView(this)), m_coverage(new QLabel(this))
{
    setObjectName(QStringLiteral("ListF"));
    m_grid->setObjectName(QStringLiteral("StringGrid1"));
    m_checkSummary->setObjectName(QStringLiteral("LaCheck"));
    m_checkSummary->hide(); // until there is a check to sum up
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_checkSummary);
    m_coverage->setObjectName(QStringLiteral("Coverage"));
    m_coverage->setContentsMargins(4, 2, 4, 2);
    m_coverage->hide();
    layout->addWidget(m_coverage);
    layout->addWidget(m_grid);

    m_sorted->setSortRole(MaskedColumnsModel::SortRole);
    m_grid->setModel(m_sorted);
    m_grid->setSortingEnabled(true);
    m_grid->sortByColumn(-1, Qt::AscendingOrder); // slot order until the operator sorts

    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setMinimumSectionSize(RowHeight);
    m_grid->verticalHeader()->setDefaultSectionSize(RowHeight);
    m_grid->horizontalHeader()->setHighlightSections(false);

    connect(m_grid, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
        if (const int slot = slotOf(index); slot > 0)
            emit columnActivated(slot);
    });
    auto* unmask = new QShortcut(QKeySequence::Delete, m_grid);
    unmask->setContext(Qt::WidgetShortcut);
    connect(unmask, &QShortcut::activated, this, &TListF::unmaskSelected);
}

// Delete sets the selected rows' columns to their family's "No mask"; each
// row leaves the list as its column is changed.
void TListF::unmaskSelected()
{
    if (!m_model || !m_workspace)
        return;
    QList<int> chosen;
    for (const QModelIndex& index : m_grid->selectionModel()->selectedIndexes())
        if (const int slot = slotOf(index); slot > 0 && !chosen.contains(slot))
            chosen << slot;
    if (chosen.isEmpty() && m_grid->currentIndex().isValid())
        if (const int slot = slotOf(m_grid->currentIndex()); slot > 0)
            chosen << slot;
    for (const int slot : chosen)
        m_workspace->editSlot(
            slot, [](TColumnRec& rec) { rec.method = noMaskCode(GetTypeCategory(rec.typ)); });
}

int TListF::slotOf(const QModelIndex& index) const
{
    return m_model ? m_model->slotAt(m_sorted->mapToSource(index).row()) : -1;
}

void TListF::SetCatalogue(Workspace& workspace)
{
    delete m_model;
    m_workspace = &workspace;
    m_model = new MaskedColumnsModel(workspace, this);
    if (m_check)
        m_model->setCheck(*m_check);
    m_sorted->setSourceModel(m_model);
    const int widths[MaskedColumnsModel::ColumnCount] = {57, 124, 138, 160, 142, 127, 130};
    for (int c = 0; c < MaskedColumnsModel::ColumnCount; ++c)
        m_grid->setColumnWidth(c, widths[c]);
}

void TListF::SetCheck(check::CheckState& check)
{
    if (m_check)
        disconnect(m_check, nullptr, this, nullptr);
    m_check = &check;
    if (m_model)
        m_model->setCheck(check);
    connect(m_check, &check::CheckState::findingsChanged, this, &TListF::showCheckSummary);
    showCheckSummary();
    m_checkSummary->show();
}

void TListF::showCheckSummary()
{
    m_checkSummary->setText(check::Summary(m_check->findings()));
}

void TListF::ShowCoverage(const discovery::WorkspaceFindings& findings)
{
    const auto update = [this, &findings] {
        m_coverage->setText(discovery::CoverageText(findings.coverage()));
    };
    connect(&findings, &discovery::WorkspaceFindings::coverageChanged, m_coverage, update);
    update();
    m_coverage->show();
}

} // namespace corvane
