#include "ui/views/listf.h"

#include <QHeaderView>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>

namespace corvane {

namespace {

constexpr int ColumnCount = 6;
constexpr int RowHeight = 16;

void setCell(QTableWidget* grid, int row, int column, const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    grid->setItem(row, column, item);
}

} // namespace

TListF::TListF(QWidget* parent) : QWidget(parent), m_grid(new QTableWidget(1, ColumnCount, this))
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
    // The heading row stays blank until a refresh walks the first slot.
    for (int c = 0; c < ColumnCount; ++c)
        m_grid->setHorizontalHeaderItem(c, new QTableWidgetItem(QString()));
    const int widths[ColumnCount] = {57, 124, 138, 160, 142, 127};
    for (int c = 0; c < ColumnCount; ++c)
        m_grid->setColumnWidth(c, widths[c]);
}

void TListF::SetCatalogue(TData& catalogue)
{
    m_catalogue = &catalogue;
}

void TListF::RefreshList()
{
    m_refreshOnShow = false;
    static const QStringList headings = {
        QStringLiteral("Column ID"),          QStringLiteral("Column name"),
        QStringLiteral("Table name"),         QStringLiteral("Anonymization type"),
        QStringLiteral("Parameter 1"),        QStringLiteral("Parameter 2"),
    };

    QList<qsizetype> listed;
    QStringList names;
    if (m_catalogue) {
        for (qsizetype i = 1; i < m_catalogue->size(); ++i) {
            QString name = GetMethodName(m_catalogue->at(i).method);
            if (name != NoMaskName) {
                listed.append(i);
                names.append(std::move(name));
            }
        }
    }

    // Filling tens of thousands of rows item by item would repaint and
    // re-layout after each one.
    m_grid->setUpdatesEnabled(false);
    m_grid->clearContents();
    m_grid->setRowCount(std::max<qsizetype>(1, listed.size()));
    if (m_catalogue && m_catalogue->size() > 1)
        m_grid->setHorizontalHeaderLabels(headings);
    for (qsizetype r = 0; r < listed.size(); ++r) {
        const qsizetype i = listed.at(r);
        const TColumnRec& slot = m_catalogue->at(i);
        const int row = int(r);
        setCell(m_grid, row, 0, QString::number(i));
        setCell(m_grid, row, 1, slot.col);
        setCell(m_grid, row, 2, slot.stab);
        setCell(m_grid, row, 3, names.at(r));
        setCell(m_grid, row, 4, slot.param1);
        setCell(m_grid, row, 5, slot.param2);
    }
    m_grid->setUpdatesEnabled(true);
}

void TListF::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // A window coming back from the task bar shows nothing new.
    if (event->spontaneous())
        return;
    // The main window rebuilds the list itself when it turns to this page,
    // right after the page is shown; one rebuild of a big catalogue is enough.
    m_refreshOnShow = true;
    QMetaObject::invokeMethod(this, &TListF::FormShow, Qt::QueuedConnection);
}

void TListF::FormShow()
{
    if (m_refreshOnShow)
        RefreshList();
}

} // namespace corvane
