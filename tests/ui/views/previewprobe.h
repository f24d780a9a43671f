#pragma once

#include "catalogue/workspace.h"

#include "ui/views/selectf.h"

#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QTableView>
#include <QTest>

namespace corvane::test {

// What the preview page shows, read through its designer names.
inline QTableView* grid(TSelectF& page)
{
    return page.findChild<QTableView*>(QStringLiteral("StringGrid1"));
}

inline QString label(TSelectF& page)
{
    return page.findChild<QLabel*>(QStringLiteral("LaTabel"))->text();
}

// Presses "Select table" and returns at once.
inline void startSelect(TSelectF& page)
{
    QTest::mouseClick(page.findChild<QPushButton*>(QStringLiteral("BtSelect")), Qt::LeftButton);
}

// Presses "Select table" and waits until the preview is shown (or refused).
inline void clickSelect(TSelectF& page)
{
    startSelect(page);
    QVERIFY(QTest::qWaitFor([&] { return !page.isLoading(); }, 30000));
}

// Reads the rest of the rows, as a view scrolled on to the end would.
inline void fetchAll(QAbstractItemModel* model)
{
    QVERIFY(QTest::qWaitFor(
        [model] {
            if (model->canFetchMore({}))
                model->fetchMore({});
            return !model->canFetchMore({});
        },
        30000));
}

inline QStringList headings(QTableView* view)
{
    QStringList out;
    for (int c = 0; c < view->model()->columnCount(); ++c)
        out << view->model()->headerData(c, Qt::Horizontal).toString();
    return out;
}

// Each row's cells joined by '|'.
inline QStringList cells(QTableView* view)
{
    QStringList out;
    const QAbstractItemModel* model = view->model();
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < model->columnCount(); ++c)
            row << model->index(r, c).data().toString();
        out << row.join(u'|');
    }
    return out;
}

// Gives `state` a catalogue that holds one column of each table, named by
// schema and table apart as the schema query returns them.
inline void useTables(Workspace& state, const QList<std::pair<QString, QString>>& tables)
{
    TData catalogue = {TColumnRec{}};
    for (const auto& [schema, tab] : tables) {
        catalogue.append(TColumnRec{});
        TColumnRec column;
        column.stab = schema + u'.' + tab;
        column.schema = schema;
        column.tab = tab;
        column.col = QStringLiteral("c");
        catalogue.append(column);
    }
    state.replace({catalogue, SchemaTree{}, state.connectionString()});
}

} // namespace corvane::test
