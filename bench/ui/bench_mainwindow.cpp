// The main window on a big schema: the Login command that loads the tree,
// expanding and collapsing it whole, and selecting nodes across it. Runs on
// the offscreen platform unless told otherwise.
#include "ui/common/dialogs.h"
#include "ui/main/loginf.h"
#include "ui/main/mainf.h"
#include "ui/main/schematreemodel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <ctime>

using namespace corvane;

namespace {

class RowsQuery final : public db::Query
{
public:
    explicit RowsQuery(const db::Rows& rows) : m_rows(rows) {}
    int fieldCount() const override { return m_rows.fields.size(); }
    QString fieldName(int index) const override { return m_rows.fields.value(index); }
    Result<bool> next() override { return ++m_row < m_rows.rows.size(); }
    QString value(int index) const override { return m_rows.rows.at(m_row).value(index); }

private:
    const db::Rows& m_rows;
    qsizetype m_row = -1;
};

// A server that has the one schema and answers every query with it.
class SchemaConnection final : public db::Connection
{
public:
    explicit SchemaConnection(const db::Rows& rows) : m_rows(rows) {}
    Status open(const QString&) override
    {
        m_open = true;
        return {};
    }
    Status open(const QString& s, const QString&, const QString&) override { return open(s); }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    Result<QString> databaseName() override { return QStringLiteral("Bench"); }
    Result<std::unique_ptr<db::Query>> query(const QString&) override
    {
        return std::unique_ptr<db::Query>(new RowsQuery(m_rows));
    }
    Status execute(const QString&) override { return {}; }
    void setLoginTimeout(int) override {}
    void setCommandTimeout(int) override {}

private:
    const db::Rows& m_rows;
    bool m_open = false;
};

db::Rows schemaRows(int tables, int columnsPerTable)
{
    db::Rows rows;
    rows.fields = {QStringLiteral("stab"),
                   QStringLiteral("col"),
                   QStringLiteral("PK_table"),
                   QStringLiteral("PK_column"),
                   QStringLiteral("Constraint_Name"),
                   QStringLiteral("PK"),
                   QStringLiteral("isnull"),
                   QStringLiteral("typ"),
                   QStringLiteral("char_max")};
    rows.rows.reserve(tables * columnsPerTable);
    for (int t = 0; t < tables; ++t) {
        const QString table = QStringLiteral("dbo.Table%1").arg(t, 5, 10, QLatin1Char('0'));
        for (int c = 0; c < columnsPerTable; ++c) {
            const QString col = QStringLiteral("Column%1").arg(c);
            const bool key = c == 1;
            rows.rows.append({table, col, key ? QStringLiteral("Parent") : QString(),
                              key ? QStringLiteral("Id") : QString(),
                              key ? QStringLiteral("FK_") + col : QString(),
                              c == 0 ? col : QString(), QStringLiteral("YES"),
                              c % 2 ? QStringLiteral("varchar") : QStringLiteral("int"),
                              c % 2 ? QStringLiteral("50") : QString()});
        }
    }
    return rows;
}

// Messages would open modal boxes that nobody closes.
class SilentDialogs final : public ui::Dialogs
{
public:
    void message(QWidget*, const QString&) override {}
    void information(QWidget*, const QString&) override {}
    void warning(QWidget*, const QString&) override {}
    bool confirm(QWidget*, const QString&, const QString&) override { return false; }
    void error(QWidget*, const QString& text) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(text));
    }
    QString saveFileName(QWidget*, const ui::FileDialogOptions&) override { return {}; }
    QString openFileName(QWidget*, const ui::FileDialogOptions&) override { return {}; }
};

// CPU time of this thread, which a busy machine does not stretch as it does
// the wall clock.
double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double ms(const QElapsedTimer& timer)
{
    return timer.nsecsElapsed() / 1e6;
}

void report(const char* name, int size, double milliseconds)
{
    std::printf("%s\t%d\t%.1f\n", name, size, milliseconds);
}

void run(int tables)
{
    const int size = tables * 20;
    const db::Rows rows = schemaRows(tables, 20);
    TMainF window([&rows] { return std::make_unique<SchemaConnection>(rows); });
    window.setDialogRunner([](QDialog& dialog) {
        if (auto* login = qobject_cast<TLoginF*>(&dialog)) {
            login->EdServerName->setText(QStringLiteral("srv"));
            login->EdDatabaseName->setText(QStringLiteral("Bench"));
            login->EdLogin->setText(QStringLiteral("sa"));
            login->testConnection();
            while (login->isTesting())
                QApplication::processEvents(QEventLoop::WaitForMoreEvents);
            login->Button1Click();
        }
        return dialog.result();
    });
    window.show();
    QApplication::processEvents();

    QElapsedTimer timer;
    timer.start();
    window.Button1Click();
    while (window.isBusy())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QApplication::processEvents();
    report("login and tree load", size, ms(timer));

    timer.restart();
    window.Fullexpand1Click();
    QApplication::processEvents();
    report("expand all", size, ms(timer));

    // Nodes spread over the whole tree, tables and columns alike.
    const int nodes = window.treeModel()->tree().nodes.size();
    const int selections = 1000;
    double slowest = 0;
    timer.restart();
    for (int i = 0; i < selections; ++i) {
        QElapsedTimer one;
        one.start();
        const QModelIndex index =
            window.treeModel()->indexOf(int(qint64(i) * (nodes - 1) / (selections - 1)));
        window.TreeView1->setCurrentIndex(index);
        window.TreeView1->scrollTo(index);
        QApplication::processEvents();
        slowest = std::max(slowest, ms(one));
    }
    report("select 1000 nodes, expanded tree", size, ms(timer));
    report("slowest single selection", size, slowest);

    timer.restart();
    window.Minimize1Click();
    QApplication::processEvents();
    report("collapse all", size, ms(timer));

    timer.restart();
    for (int i = 0; i < selections; ++i) {
        const QModelIndex index =
            window.treeModel()->indexOf(int(qint64(i) * (nodes - 1) / (selections - 1)));
        window.TreeView1->setCurrentIndex(index);
        QApplication::processEvents();
    }
    report("select 1000 nodes, collapsed tree", size, ms(timer));

    // Typing into the filter box: each keystroke narrows the whole tree and
    // shows the matches expanded. "Column1" matches 11 of the 20 columns of
    // every table, "Table0012" one table whole.
    double slowestKey = 0;
    double slowestKeyCpu = 0;
    for (const QString& text : {QStringLiteral("Column1"), QStringLiteral("Table0012")}) {
        window.TreeFilter->clear();
        QApplication::processEvents();
        for (const QChar c : text) {
            QElapsedTimer key;
            key.start();
            const double cpu = threadCpuMs();
            window.TreeFilter->insert(QString(c));
            QApplication::processEvents();
            slowestKey = std::max(slowestKey, ms(key));
            slowestKeyCpu = std::max(slowestKeyCpu, threadCpuMs() - cpu);
        }
    }
    report("tree filter, slowest keystroke", size, slowestKey);
    report("tree filter, slowest keystroke, CPU", size, slowestKeyCpu);
    timer.restart();
    window.TreeFilter->clear();
    QApplication::processEvents();
    report("tree filter cleared", size, ms(timer));
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SilentDialogs silent;
    ui::setDialogs(&silent);
    for (const int tables : {500, 5000})
        run(tables);
    return 0;
}
