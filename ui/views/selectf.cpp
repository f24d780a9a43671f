#include "ui/views/selectf.h"

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
      m_model(new PreviewModel(this))
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
    if (m_workspace)
        m_laTabel->setText(m_workspace->currentTable().isEmpty() ? QStringLiteral("Table name")
                                                                 : m_workspace->currentTable());
}

void TSelectF::BtSelectClick()
{
    if (!m_workspace)
        return;
    // Both are read now: a Login since the page was made changes the database.
    const QString table = m_workspace->currentTable();
    auto opened = db::openConnection(m_workspace->connector(), m_workspace->connectionString());
    if (!opened) {
        ui::showError(this, opened.error());
        return;
    }
    std::unique_ptr<db::Connection> connection = std::move(*opened);
    if (table.isEmpty()) {
        connection->close();
        return;
    }

    const Result<QString> database = connection->databaseName();
    if (!database) {
        ui::showError(this, database.error());
        return;
    }
    const QString caption = *database + u'.' + table;
    m_laTabel->setText(caption);
    // Copied: the catalogue may be replaced while the rows are read.
    const TColumnRec* found = TableSlot(m_workspace->catalogue(), table);
    if (!found) {
        connection->close();
        ui::showError(
            this, Error::failure(QStringLiteral("Table %1 is not in the catalogue.").arg(table)));
        return;
    }
    const TColumnRec source = *found;

    const Result<db::Rows> count = connection->queryAll(RowCountQuery(source));
    if (!count) {
        ui::showError(this, count.error());
        return;
    }
    Result<std::unique_ptr<db::Query>> query = connection->query(PreviewQuery(source));
    if (!query) {
        ui::showError(this, query.error());
        return;
    }

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
    const int firstRows = std::max(MinimumFirstRows, m_grid->viewport()->height() / RowHeight + 1);
    const Status started = model->start(std::move(connection), std::move(*query), firstRows);
    if (!started) {
        delete model;
        ui::showError(this, started.error());
        return;
    }
    if (!model->atEnd())
        m_laTabel->setText(withRowCount(caption, count->rows.value(0).value(0)));

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
