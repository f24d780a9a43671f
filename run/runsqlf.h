#pragma once

#include "catalogue/sharedstate.h"
#include "run/runner.h"

#include <QWidget>

class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace corvane {

// The "Run SQL" page: anonymises the database directly, column by column.
class TRunSQLF : public QWidget
{
    Q_OBJECT
public:
    explicit TRunSQLF(QWidget* parent = nullptr);

    // Hand-over: catalogue, seed and connection are read from `state` at each run.
    void SetSource(SharedState& state);
    void Button7Click();

    run::Runner& runner() { return m_runner; }

private:
    void FormCreate();
    void addLine(const QString& line);
    void showProgress(int done, int columns);

    SharedState* m_state = nullptr;
    run::Runner m_runner;
    bool m_running = false;

    QPlainTextEdit* Memo1 = nullptr;
    QPushButton* Button7 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
};

} // namespace corvane
