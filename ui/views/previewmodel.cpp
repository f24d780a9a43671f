#include "ui/views/previewmodel.h"

#include <QFont>
#include <QPalette>

namespace corvane {

namespace {

constexpr int BlankColumns = 2;

} // namespace

PreviewModel::PreviewModel(QObject* parent) : QAbstractTableModel(parent) {}

PreviewModel::~PreviewModel()
{
    // The query belongs to the connection and must go first.
    m_query.reset();
    m_connection.reset();
}

Status PreviewModel::start(std::unique_ptr<db::Connection> connection,
                           std::unique_ptr<db::Query> query, int firstRows)
{
    beginResetModel();
    m_started = true;
    m_connection = std::move(connection);
    m_query = std::move(query);
    m_fields.clear();
    m_rows.clear();
    for (int i = 0; i < m_query->fieldCount(); ++i)
        m_fields.append(m_query->fieldName(i));
    const Status status = read(std::max(1, firstRows), m_rows);
    endResetModel();
    if (!status)
        finish();
    else if (atEnd())
        emit endReached(m_rows.size());
    return status;
}

Status PreviewModel::read(int count, QVector<Row>& out)
{
    const int fields = m_fields.size();
    for (int n = 0; n < count; ++n) {
        const Result<bool> more = m_query->next();
        if (!more)
            return more.error();
        if (!*more) {
            finish();
            return {};
        }
        Row row;
        row.values.reserve(fields);
        for (int i = 0; i < fields; ++i) {
            row.values.append(m_query->value(i));
            if (m_query->isNull(i)) {
                row.nulls.resize(fields);
                row.nulls[i] = true;
            }
        }
        out.append(std::move(row));
    }
    return {};
}

void PreviewModel::finish()
{
    m_query.reset();
    if (m_connection)
        m_connection->close();
    m_connection.reset();
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
    const Row& row = m_rows.at(index.row());
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
    return !parent.isValid() && m_query != nullptr;
}

void PreviewModel::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid() || !m_query)
        return;
    // start() read at least one row or reached the end, so the rows of this
    // batch go below rows already shown.
    Q_ASSERT(!m_rows.isEmpty());
    QVector<Row> batch;
    const Status status = read(FetchBatch, batch);
    if (!batch.isEmpty()) {
        const int first = int(m_rows.size());
        beginInsertRows({}, first, first + int(batch.size()) - 1);
        m_rows.append(std::move(batch));
        endInsertRows();
    }
    if (!status) {
        finish();
        emit fetchFailed(status.error());
    } else if (atEnd()) {
        emit endReached(m_rows.size());
    }
}

} // namespace corvane
