#pragma once

#include "base/result.h"
#include "db/connection.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <QVector>

#include <memory>

namespace corvane {

// The rows of one preview, read from an open query as the view asks for them.
// SQL NULL shows as a dimmed, italic NULL; an empty text shows as nothing.
// The model owns the connection and the query until the last row is read;
// then it closes both. Without a query it is the blank grid of a page that
// has not previewed yet: two empty columns and one empty row.
class PreviewModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int FetchBatch = 256;
    // True for a value that is SQL NULL.
    static constexpr int IsNullRole = Qt::UserRole + 1;

    explicit PreviewModel(QObject* parent = nullptr);
    ~PreviewModel() override;

    // Takes over `query` (running on `connection`) and reads its first
    // `firstRows` rows at once. Fails when reading them fails.
    Status start(std::unique_ptr<db::Connection> connection, std::unique_ptr<db::Query> query,
                 int firstRows);

    bool atEnd() const { return !m_query; }
    qsizetype fetchedRows() const { return m_rows.size(); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

Q_SIGNALS:
    // The last row has been read; `rows` is the number of rows of the result.
    void endReached(qsizetype rows);
    // Reading further rows failed; the rows read so far stay.
    void fetchFailed(const corvane::Error& error);

private:
    // Reads up to `count` rows into `out`; stops early at the end of the rows.
    struct Row
    {
        QStringList values;
        QList<bool> nulls; // per value; empty when the row holds no NULL
    };
    Status read(int count, QVector<Row>& out);
    void finish();

    std::unique_ptr<db::Connection> m_connection;
    std::unique_ptr<db::Query> m_query;
    QStringList m_fields;
    QVector<Row> m_rows;
    bool m_started = false;
};

} // namespace corvane
