#include "ui/views/listf.h"

#include "ui/views/listmodel.h"

#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

namespace corvane {

namespace {

constexpr int RowHeight = 16;

} // namespace

TListF::TListF(QWidget* parent) : QWidget(parent), m_grid(new QTableView(this))
{
    setObjectName(QStringLiteral("ListF"));
    m_grid->setObjectName(QStringLiteral("StringGrid1"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_grid);

    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setMinimumSectionSize(RowHeight);
    m_grid->verticalHeader()->setDefaultSectionSize(RowHeight);
    m_grid->horizontalHeader()->setHighlightSections(false);
}

void TListF::SetCatalogue(Workspace& workspace)
{
    delete m_model;
    m_model = new MaskedColumnsModel(workspace, this);
    m_grid->setModel(m_model);
    const int widths[MaskedColumnsModel::ColumnCount] = {57, 124, 138, 160, 142, 127};
    for (int c = 0; c < MaskedColumnsModel::ColumnCount; ++c)
        m_grid->setColumnWidth(c, widths[c]);
}

} // namespace corvane
