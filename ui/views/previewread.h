#pragma once

#include "base/result.h"
#include "catalogue/consttypes.h"
#include "db/connection.h"
#include "db/worker.h"

#include <QList>
#include <QStringList>
#include <QVector>

#include <memory>
#include <optional>

// Reading a preview, off the window's thread: opening it, then its rows in
// batches. Nothing here touches the catalogue or a widget.
namespace corvane {

struct PreviewRow
{
    QStringList values;
    QList<bool> nulls; // per value; empty when the row holds no NULL
};

// What one read gave: the rows, whether the result ended with them, and the
// failure that stopped the read, if any.
struct PreviewBatch
{
    QVector<PreviewRow> rows;
    bool atEnd = false;
    Status status;
};

// The open query of one preview and the connection it runs on, read by one
// thread at a time. Both are closed once the last row has been read or a read
// failed, on the thread that read; otherwise when the cursor goes.
class PreviewCursor
{
public:
    PreviewCursor(std::unique_ptr<db::Connection> connection, std::unique_ptr<db::Query> query);
    ~PreviewCursor();
    PreviewCursor(const PreviewCursor&) = delete;
    PreviewCursor& operator=(const PreviewCursor&) = delete;

    const QStringList& fields() const { return m_fields; }
    // Reads up to `count` rows; fewer at the end of the rows.
    PreviewBatch read(int count);

private:
    void close();

    std::unique_ptr<db::Connection> m_connection;
    std::unique_ptr<db::Query> m_query;
    QStringList m_fields;
};

// A preview as far as it could be opened.
struct PreviewOpening
{
    QString database;                      // the connection's database; empty when it was not read
    std::optional<Error> error;            // what stopped the opening
    QString rowCount;                      // the server's count of the rows
    std::shared_ptr<PreviewCursor> cursor; // null after an error or without a table
    PreviewBatch first;                    // the first rows read from `cursor`
};

// Opens a connection and, when there is a table (`source`: its first slot),
// counts its rows, runs the preview query and reads the first `firstRows`
// rows. A table name without a slot fails once the database is known.
// `control` can cancel the statement that waits on the server.
PreviewOpening openPreview(const db::ConnectionFactory& connect, const QString& connectionString,
                           const QString& table, const std::optional<TColumnRec>& source,
                           int firstRows, db::CallControl& control);

} // namespace corvane
