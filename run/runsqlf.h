#pragma once

#include "run/runner.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace corvane {

class Workspace;

namespace check {
class CheckState;
}

// The "Run SQL" page: anonymises the database directly, column by column, on
// a worker thread; the page stays usable for reading and copying the log.
class TRunSQLF : public QWidget
{
    Q_OBJECT
public:
    explicit TRunSQLF(QWidget* parent = nullptr);
    ~TRunSQLF() override;

    // Catalogue, seed and database are read from `workspace` at each run.
    void SetSource(Workspace& workspace);
    // The check of the workspace: a run asks before it goes on with errors found.
    void SetCheck(check::CheckState& check) { m_check = &check; }
    // Asks the operator to confirm the target, then starts the run.
    void Button7Click();
    void stopClick();
    void saveLogClick();

    bool isRunning() const { return m_runner.isRunning(); }
    run::Runner& runner() { return m_runner; }

signals:
    // A run started (true) or ended (false); the window locks what would
    // change the catalogue meanwhile.
    void runningChanged(bool running);

private:
    void FormCreate();
    void addLine(const QString& line);
    void showProgress(int done, int columns);
    void columnStarted(int slot);
    void runFinished(const run::RunSummary& summary);
    void showStatus();

    Workspace* m_workspace = nullptr;
    check::CheckState* m_check = nullptr;
    run::Runner m_runner;
    run::RunPlan m_plan;
    int m_done = 0;
    int m_columns = 0;
    int m_failed = 0;
    QString m_current; // the column now running, as table and column
    QElapsedTimer m_clock;
    QTimer m_tick;

    QPlainTextEdit* Memo1 = nullptr;
    QPushButton* Button7 = nullptr;
    QPushButton* BtStop = nullptr;
    QPushButton* BtSaveLog = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* LaStatus = nullptr;
};

} // namespace corvane
