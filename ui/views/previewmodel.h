#pragma once

#include "base/result.h"
#include "ui/views/previewread.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <QVector>

#include <memory>

namespace corvane {

namespace db {
class Worker;
}

// The rows of one preview, read from an open cursor as the view asks for
// them. Each further batch is read off the window's thread; while one is on
// its way, asking for more does nothing. SQL NULL shows as a dimmed, italic
// NULL; an empty text shows as nothing. Without a cursor it is the blank grid
// of a page that has not previewed yet: two empty columns and one empty row.
class PreviewModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int FetchBatch = 256;
    // True for a value that is SQL NULL.
    static constexpr int IsNullRole = Qt::UserRole + 1;

    explicit PreviewModel(QObject* parent = nullptr);
    ~PreviewModel() override;

    // Shows `first`, the rows already read from `cursor`, and reads the rest
    // from `cursor` on demand.
    void start(std::shared_ptr<PreviewCursor> cursor, PreviewBatch first);

    bool atEnd() const { return !m_cursor; }
    bool isFetching() const;
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
    void append(PreviewBatch batch);
    void reportEnd(const PreviewBatch& batch);

    std::shared_ptr<PreviewCursor> m_cursor;
    db::Worker* m_fetcher;
    QStringList m_fields;
    QVector<PreviewRow> m_rows;
    bool m_started = false;
};

} // namespace corvane
