#include "ui/views/previewread.h"

#include "ui/views/previewsql.h"

namespace corvane {

PreviewCursor::PreviewCursor(std::unique_ptr<db::Connection> connection,
                             std::unique_ptr<db::Query> query)
    : m_connection(std::move(connection)), m_query(std::move(query))
{
    for (int i = 0; i < m_query->fieldCount(); ++i)
        m_fields.append(m_query->fieldName(i));
}

PreviewCursor::~PreviewCursor()
{
    close();
}

void PreviewCursor::close()
{
    // The query belongs to the connection and must go first.
    m_query.reset();
    if (m_connection)
        m_connection->close();
    m_connection.reset();
}

PreviewBatch PreviewCursor::read(int count)
{
    PreviewBatch batch;
    if (!m_query) {
        batch.atEnd = true;
        return batch;
    }
    const qsizetype fields = m_fields.size();
    for (int n = 0; n < count; ++n) {
        const Result<bool> more = m_query->next();
        if (!more) {
            batch.status = more.error();
            close();
            return batch;
        }
        if (!*more) {
            batch.atEnd = true;
            close();
            return batch;
        }
        PreviewRow row;
        row.values.reserve(fields);
        for (int i = 0; i < fields; ++i) {
            row.values.append(m_query->value(i));
            if (m_query->isNull(i)) {
                row.nulls.resize(fields);
                row.nulls[i] = true;
            }
        }
        batch.rows.append(std::move(row));
    }
    return batch;
}

PreviewOpening openPreview(const db::ConnectionFactory& connect, const QString& connectionString,
                           const QString& table, const std::optional<TColumnRec>& source,
                           int firstRows, db::CallControl& control)
{
    PreviewOpening opening;
    auto opened = db::openConnection(connect, connectionString);
    if (!opened) {
        opening.error = opened.error();
        return opening;
    }
    std::unique_ptr<db::Connection> connection = std::move(*opened);
    if (table.isEmpty() || control.isCancelled()) {
        connection->close();
        return opening;
    }
    // Declared before the watch, so that the watch ends first.
    std::shared_ptr<PreviewCursor> cursor;
    const db::CallControl::Watch watch(control, *connection);
    const Result<QString> database = connection->databaseName();
    if (!database) {
        opening.error = database.error();
        return opening;
    }
    opening.database = *database;
    if (!source) {
        connection->close();
        opening.error =
            Error::failure(QStringLiteral("Table %1 is not in the catalogue.").arg(table));
        return opening;
    }
    const Result<db::Rows> count = connection->queryAll(RowCountQuery(*source));
    if (!count) {
        opening.error = count.error();
        return opening;
    }
    opening.rowCount = count->rows.value(0).value(0);
    if (control.isCancelled())
        return opening;
    Result<std::unique_ptr<db::Query>> query = connection->query(PreviewQuery(*source));
    if (!query) {
        opening.error = query.error();
        return opening;
    }
    cursor = std::make_shared<PreviewCursor>(std::move(connection), std::move(*query));
    opening.first = cursor->read(std::max(1, firstRows));
    if (!opening.first.status) {
        opening.error = opening.first.status.error();
        return opening;
    }
    opening.cursor = std::move(cursor);
    return opening;
}

} // namespace corvane
