#include "ui/check/findingspanel.h"

#include "ui/check/findingsmodel.h"

#include <QHeaderView>
#include <QLabel>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

namespace corvane::ui {

namespace {

// Keeps the findings of one slot, or all of them.
class SlotFilter : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void setSlot(int slot)
    {
        m_slot = slot;
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override
    {
        if (m_slot < 0)
            return true;
        const QModelIndex index = sourceModel()->index(row, 0, parent);
        return index.data(FindingsModel::SlotRole).toInt() == m_slot &&
               !sourceModel()
                    ->index(row, FindingsModel::ColumnColumn, parent)
                    .data()
                    .toString()
                    .isEmpty();
    }

private:
    int m_slot = -1;
};

} // namespace

FindingsPanel::FindingsPanel(QWidget* parent)
    : QWidget(parent), m_model(new FindingsModel(this)), m_proxy(new SlotFilter(this)),
      m_summary(new QLabel(this)), m_view(new QTableView(this))
{
    m_proxy->setSourceModel(m_model);
    m_proxy->setSortRole(FindingsModel::SortRole);
    m_view->setModel(m_proxy);
    m_view->setSortingEnabled(true);
    m_view->sortByColumn(-1, Qt::AscendingOrder); // check order until the operator sorts
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->verticalHeader()->hide();
    m_view->horizontalHeader()->setStretchLastSection(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_summary);
    layout->addWidget(m_view);

    connect(m_view, &QTableView::activated, this, [this](const QModelIndex& index) {
        Q_EMIT slotActivated(index.data(FindingsModel::SlotRole).toInt());
    });
    updateSummary();
}

void FindingsPanel::setFindings(const check::Findings& findings)
{
    m_model->setFindings(findings);
    updateSummary();
}

void FindingsPanel::showSlot(int slot)
{
    m_slot = slot;
    static_cast<SlotFilter*>(m_proxy)->setSlot(slot);
    updateSummary();
}

QString FindingsPanel::summaryText() const
{
    return m_summary->text();
}

void FindingsPanel::updateSummary()
{
    check::Findings shown;
    for (const check::Finding& f : m_model->findings())
        if (m_slot < 0 || (f.slot == m_slot && !f.column.isEmpty()))
            shown << f;
    m_summary->setText(check::Summary(shown));
}

QString ProceedQuestion(const check::Findings& findings, const QString& action)
{
    if (!check::HasErrors(findings))
        return {};
    return QObject::tr("The check found %1: the server will refuse the columns with errors "
                       "(see the Check column). %2 anyway?")
        .arg(check::Summary(findings), action);
}

} // namespace corvane::ui
