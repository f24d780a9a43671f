#include "ui/views/selectf.h"

#include "db/worker.h"
#include "ui/common/dialogs.h"
#include "ui/views/previewmodel.h"
#include "ui/views/previewsql.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace corvane {

namespace {

constexpr int RowHeight = 16;
constexpr int MaximumColumnCharacters = 40;
// Read at once even when the grid is not laid out yet, so that the first
// screen is full on any window size.
constexpr int MinimumFirstRows = 64;

// "fixture.dbo.Person (3 rows)"
QString withRowCount(const QString& caption, const QString& rows)
{
    return caption + QStringLiteral(" (") + rows +
           (rows == QStringLiteral("1") ? QStringLiteral(" row)") : QStringLiteral(" rows)"));
}

} // namespace

TSelectF::TSelectF(QWidget* parent)
    : QWidget(parent), m_grid(new QTableView(this)),
      m_laTabel(new QLabel(QStringLiteral("Table name"), this)),
      m_btSelect(new QPushButton(QStringLiteral("Select table"), this)),
      m_model(new PreviewModel(this)), m_loader(new db::Worker(this))
{
    setObjectName(QStringLiteral("SelectF"));
    m_grid->setObjectName(QStringLiteral("StringGrid1"));
    m_laTabel->setObjectName(QStringLiteral("LaTabel"));
    m_btSelect->setObjectName(QStringLiteral("BtSelect"));

    m_grid->setModel(m_model);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Rows are 16 pixels high unless the font needs more.
    const int rowHeight = std::max(RowHeight, m_grid->fontMetrics().height() + 2);
    m_grid->verticalHeader()->setMinimumSectionSize(rowHeight);
    m_grid->verticalHeader()->setDefaultSectionSize(rowHeight);
    m_grid->horizontalHeader()->setMinimumSectionSize(0);
    m_grid->horizontalHeader()->setHighlightSections(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_grid, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_laTabel, 1);
    bottom->addWidget(m_btSelect);
    layout->addLayout(bottom);

    connect(m_btSelect, &QPushButton::clicked, this, &TSelectF::BtSelectClick);
}

TSelectF::~TSelectF() = default;

void TSelectF::SetTableSource(Workspace& workspace)
{
    m_workspace = &workspace;
}

void TSelectF::ShowTableName()
{
    if (!m_workspace)
        return;
    // Also what a preview that fails to connect leaves on show.
    m_shownLabel = m_workspace->currentTable().isEmpty() ? QStringLiteral("Table name")
                                                         : m_workspace->currentTable();
    m_laTabel->setText(m_shownLabel);
}

void TSelectF::BtSelectClick()
{
    if (!m_workspace)
        return;
    // All read now: a Login since the page was made changes the database,
    // and the catalogue may be replaced while the rows are read.
    const QString table = m_workspace->currentTable();
    std::optional<TColumnRec> source;
    if (const TColumnRec* found = TableSlot(m_workspace->catalogue(), table))
        source = *found;
    const int firstRows = std::max(MinimumFirstRows, m_grid->viewport()->height() / RowHeight + 1);
    setLoading(table);
    m_loader->start(
        [connect = m_workspace->connector(), connectionString = m_workspace->connectionString(),
         table, source, firstRows](db::CallControl& control) {
            return openPreview(connect, connectionString, table, source, firstRows, control);
        },
        [this, table](PreviewOpening opening) { showPreview(table, std::move(opening)); });
}

bool TSelectF::isLoading() const
{
    return m_loader->isRunning();
}

void TSelectF::setLoading(const QString& table)
{
    if (!isLoading())
        m_shownLabel = m_laTabel->text();
    if (!table.isEmpty())
        m_laTabel->setText(table + QStringLiteral(" (reading…)"));
    setCursor(Qt::BusyCursor);
}

void TSelectF::showPreview(const QString& table, PreviewOpening opening)
{
    unsetCursor();
    // The caption names the database as soon as it is known, also when the
    // table then fails.
    const QString caption = opening.database + u'.' + table;
    m_laTabel->setText(opening.database.isEmpty() ? m_shownLabel : caption);
    if (opening.error) {
        ui::showError(this, *opening.error);
        return;
    }
    if (!opening.cursor)
        return;

    // The grid keeps the last preview until the new one has its first rows.
    auto* model = new PreviewModel(this);
    // The count read before may be stale by the time the last row arrives.
    connect(model, &PreviewModel::endReached, this, [this, caption](qsizetype rows) {
        m_laTabel->setText(withRowCount(caption, QString::number(rows)));
    });
    connect(model, &PreviewModel::fetchFailed, this, [this](const Error& error) {
        // Reported once the view has finished asking for rows.
        QMetaObject::invokeMethod(
            this, [this, error] { ui::showError(this, error); }, Qt::QueuedConnection);
    });
    model->start(std::move(opening.cursor), std::move(opening.first));
    if (!model->atEnd())
        m_laTabel->setText(withRowCount(caption, opening.rowCount));

    PreviewModel* old = m_model;
    m_model = model;
    m_grid->setModel(model);
    delete old;
    fitColumns();
}

// Each column as wide as its heading and the values read so far, but no
// wider than a bound, so that one long text does not push the rest away.
void TSelectF::fitColumns()
{
    const QFontMetrics metrics = m_grid->fontMetrics();
    const int bound = metrics.averageCharWidth() * MaximumColumnCharacters;
    m_grid->resizeColumnsToContents();
    for (int i = 0; i < m_model->columnCount(); ++i)
        m_grid->setColumnWidth(i, std::min(m_grid->columnWidth(i), bound));
}

} // namespace corvane
