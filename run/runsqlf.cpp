#include "run/runsqlf.h"

#include "ui/common/dialogs.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace corvane {

TRunSQLF::TRunSQLF(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("RunSQLF"));
    setWindowTitle(QStringLiteral("RunSQLF"));

    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel2"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(panel);

    Memo1 = new QPlainTextEdit(panel);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    ProgressBar1 = new QProgressBar(panel);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));

    Button7 = new QPushButton(QStringLiteral("Run SQL"), panel);
    Button7->setObjectName(QStringLiteral("Button7"));
    Button7->setFixedSize(161, 25);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(ProgressBar1, 1);
    bottom->addSpacing(40);
    bottom->addWidget(Button7);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(40, 16, 40, 16);
    layout->addWidget(Memo1, 1);
    layout->addLayout(bottom);

    connect(Button7, &QPushButton::clicked, this, &TRunSQLF::Button7Click);
    connect(&m_runner, &run::Runner::lineAdded, this, &TRunSQLF::addLine);
    connect(&m_runner, &run::Runner::progressed, this, &TRunSQLF::showProgress);

    FormCreate();
}

void TRunSQLF::FormCreate()
{
    Memo1->clear();
    showProgress(0, 0);
}

void TRunSQLF::SetSource(SharedState& state)
{
    m_state = &state;
}

void TRunSQLF::Button7Click()
{
    if (!m_state || m_running)
        return;
    m_running = true;
    Button7->setEnabled(false);
    Memo1->clear();

    const Status outcome = m_runner.run(*m_state);
    if (outcome)
        ui::dialogs().information(this, QStringLiteral("Finished !"));
    else
        ui::showError(this, outcome.error());

    // Enabled only after the message: clicks queued while the run blocked
    // the window then find the button disabled instead of starting a second run.
    Button7->setEnabled(true);
    m_running = false;
}

void TRunSQLF::addLine(const QString& line)
{
    Memo1->appendPlainText(line);
}

void TRunSQLF::showProgress(int done, int columns)
{
    ProgressBar1->setRange(0, std::max(columns, 1));
    ProgressBar1->setValue(columns == 0 ? 0 : done);
    ProgressBar1->setFormat(QStringLiteral("%1 of %2 columns").arg(done).arg(columns));
    // The run keeps the user-interface thread; let the window repaint between
    // batches, but keep the operator's input until the run is over.
    if (m_running)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace corvane
