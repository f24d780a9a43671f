#include "ui/views/previewmodel.h"

#include "db/worker.h"

#include <QFont>
#include <QPalette>

namespace corvane {

namespace {

constexpr int BlankColumns = 2;

} // namespace

PreviewModel::PreviewModel(QObject* parent)
    : QAbstractTableModel(parent), m_fetcher(new db::Worker(this))
{
}

PreviewModel::~PreviewModel()
{
    // A result with rows left unread is wound up on a worker: closing it may
    // have to wait for what the server has already sent.
    if (m_cursor)
        m_fetcher->start([cursor = std::move(m_cursor)](db::CallControl&) { return 0; },
                         [](int) {});
}

void PreviewModel::start(std::shared_ptr<PreviewCursor> cursor, PreviewBatch first)
{
    beginResetModel();
    m_started = true;
    m_fields = cursor->fields();
    m_rows = std::move(first.rows);
    m_cursor = first.atEnd || !first.status ? nullptr : std::move(cursor);
    endResetModel();
    reportEnd(first);
}

bool PreviewModel::isFetching() const
{
    return m_fetcher->isRunning();
}

void PreviewModel::append(PreviewBatch batch)
{
    // Decided before the rows go in: a view that asks for more from inside
    // the insertion must learn whether there is any.
    if (batch.atEnd || !batch.status)
        m_cursor.reset();
    if (!batch.rows.isEmpty()) {
        const int first = int(m_rows.size());
        beginInsertRows({}, first, first + int(batch.rows.size()) - 1);
        m_rows.append(std::move(batch.rows));
        endInsertRows();
    }
    reportEnd(batch);
}

void PreviewModel::reportEnd(const PreviewBatch& batch)
{
    if (!batch.status)
        emit fetchFailed(batch.status.error());
    else if (batch.atEnd)
        emit endReached(m_rows.size());
}

int PreviewModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    // An empty result still shows one empty row under the headings.
    return std::max<int>(1, int(m_rows.size()));
}

int PreviewModel::columnCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return m_started ? int(m_fields.size()) : BlankColumns;
}

QVariant PreviewModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const PreviewRow& row = m_rows.at(index.row());
    const bool null = row.nulls.value(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return null ? QStringLiteral("NULL") : row.values.value(index.column());
    case Qt::FontRole:
        if (null) {
            QFont font;
            font.setItalic(true);
            return font;
        }
        return {};
    case Qt::ForegroundRole:
        return null ? QVariant(QPalette().brush(QPalette::Disabled, QPalette::Text)) : QVariant();
    case IsNullRole:
        return null;
    default:
        return {};
    }
}

QVariant PreviewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return m_fields.value(section);
    return QString();
}

bool PreviewModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && m_cursor != nullptr;
}

void PreviewModel::fetchMore(const QModelIndex& parent)
{
    // Not re-entrant: the view (or a model tester) may ask again from inside
    // the insertion of the last batch, or while the next one is on its way.
    if (parent.isValid() || !m_cursor || m_fetcher->isRunning())
        return;
    m_fetcher->start([cursor = m_cursor](db::CallControl&) { return cursor->read(FetchBatch); },
                     [this](PreviewBatch batch) { append(std::move(batch)); });
}

} // namespace corvane
