#include "run/runsqlf.h"

#include "catalogue/workspace.h"
#include "check/checkstate.h"
#include "project/textfile.h"
#include "ui/check/findingspanel.h"
#include "ui/common/dialogs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace corvane {

namespace {

QString clockText(qint64 ms)
{
    const qint64 s = ms / 1000;
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600)
        .arg((s / 60) % 60, 2, 10, QChar(u'0'))
        .arg(s % 60, 2, 10, QChar(u'0'));
}

} // namespace

TRunSQLF::TRunSQLF(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("RunSQLF"));
    setWindowTitle(QStringLiteral("RunSQLF"));

    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel2"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(panel);

    // Read-only but selectable: the operator reads, scrolls and copies the
    // log while the run goes on. Long reason lines scroll, never get cut.
    Memo1 = new QPlainTextEdit(panel);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    LaStatus = new QLabel(panel);
    LaStatus->setObjectName(QStringLiteral("LaStatus"));
    LaStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);

    ProgressBar1 = new QProgressBar(panel);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));

    BtSaveLog = new QPushButton(QStringLiteral("Save log"), panel);
    BtSaveLog->setObjectName(QStringLiteral("BtSaveLog"));
    BtStop = new QPushButton(QStringLiteral("Stop"), panel);
    BtStop->setObjectName(QStringLiteral("BtStop"));
    BtStop->setEnabled(false);
    Button7 = new QPushButton(QStringLiteral("Run SQL"), panel);
    Button7->setObjectName(QStringLiteral("Button7"));
    Button7->setMinimumWidth(161);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(ProgressBar1, 1);
    bottom->addSpacing(40);
    bottom->addWidget(BtSaveLog);
    bottom->addWidget(BtStop);
    bottom->addWidget(Button7);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(40, 16, 40, 16);
    layout->addWidget(Memo1, 1);
    layout->addWidget(LaStatus);
    layout->addLayout(bottom);

    m_tick.setInterval(1000);
    connect(&m_tick, &QTimer::timeout, this, &TRunSQLF::showStatus);
    connect(Button7, &QPushButton::clicked, this, &TRunSQLF::Button7Click);
    connect(BtStop, &QPushButton::clicked, this, &TRunSQLF::stopClick);
    connect(BtSaveLog, &QPushButton::clicked, this, &TRunSQLF::saveLogClick);
    // The runner reports from its worker thread: queued onto this one.
    connect(&m_runner, &run::Runner::lineAdded, this, &TRunSQLF::addLine);
    connect(&m_runner, &run::Runner::progressed, this, &TRunSQLF::showProgress);
    connect(&m_runner, &run::Runner::columnStarted, this, &TRunSQLF::columnStarted);
    connect(&m_runner, &run::Runner::finished, this, &TRunSQLF::runFinished);

    FormCreate();
}

TRunSQLF::~TRunSQLF()
{
    // The runner waits for its worker; the worker's last queued signals must
    // then find no page.
    m_runner.disconnect(this);
}

void TRunSQLF::FormCreate()
{
    Memo1->clear();
    showProgress(0, 0);
}

void TRunSQLF::SetSource(Workspace& workspace)
{
    m_workspace = &workspace;
}

void TRunSQLF::Button7Click()
{
    // A second click while a run goes on is refused, not queued.
    if (!m_workspace || m_runner.isRunning())
        return;
    const run::MaskedCount count = run::CountMasked(m_workspace->catalogue());
    if (count.columns == 0) {
        ui::dialogs().information(this, QStringLiteral("No column is masked: there is nothing to run."));
        return;
    }
    QString checked;
    if (m_check) {
        m_check->recheck();
        const QString question = ui::ProceedQuestion(m_check->findings(), Button7->text());
        if (!question.isEmpty() && !ui::dialogs().confirm(this, question, Button7->text()))
            return;
        // The log says what the run was confirmed past.
        if (!question.isEmpty())
            checked = QStringLiteral("The check found ") + check::Summary(m_check->findings()) +
                      QStringLiteral("; run as confirmed.");
    }
    const QString target =
        run::TargetLine(m_workspace->serverName(), m_workspace->databaseName(), count);
    if (!ui::dialogs().confirm(this,
                               target + QStringLiteral("\n\nThe data of these columns is changed "
                                                       "on the server and cannot be restored."),
                               QStringLiteral("Run")))
        return;

    m_plan = {m_workspace->catalogue(), m_workspace->seed(), m_workspace->connectionString(),
              m_workspace->connector()};
    Memo1->clear();
    addLine(target);
    if (!checked.isEmpty())
        addLine(checked);
    m_failed = 0;
    m_current.clear();
    ProgressBar1->setStyleSheet(QString());
    if (!m_runner.start(m_plan))
        return;
    m_clock.start();
    m_tick.start();
    Button7->setEnabled(false);
    BtStop->setEnabled(true);
    emit runningChanged(true);
}

void TRunSQLF::stopClick()
{
    if (!m_runner.isRunning())
        return;
    BtStop->setEnabled(false);
    addLine(QStringLiteral("Stopping..."));
    m_runner.cancel();
}

void TRunSQLF::saveLogClick()
{
    const QString path = ui::saveTextFileName(this, QStringLiteral("Save the run's log"));
    if (path.isEmpty())
        return;
    QString text = Memo1->toPlainText();
    text.replace(u'\n', QStringLiteral("\r\n"));
    ui::succeeded(this, WriteTextFile(path, text + QStringLiteral("\r\n")));
}

void TRunSQLF::addLine(const QString& line)
{
    Memo1->appendPlainText(line);
}

void TRunSQLF::columnStarted(int slot)
{
    if (slot >= 0 && slot < m_plan.catalogue.size()) {
        const TColumnRec& rec = m_plan.catalogue.at(slot);
        m_current = rec.stab + QStringLiteral(" [") + rec.col + u']';
    }
    showStatus();
}

void TRunSQLF::showProgress(int done, int columns)
{
    m_done = done;
    m_columns = columns;
    ProgressBar1->setRange(0, std::max(columns, 1));
    ProgressBar1->setValue(columns == 0 ? 0 : done);
    ProgressBar1->setFormat(QStringLiteral("%1 of %2 columns").arg(done).arg(columns));
    if (m_runner.isRunning())
        showStatus();
}

void TRunSQLF::showStatus()
{
    if (!m_runner.isRunning())
        return;
    QString text = QStringLiteral("%1 of %2 columns, elapsed %3")
                       .arg(m_done)
                       .arg(m_columns)
                       .arg(clockText(m_clock.elapsed()));
    if (!m_current.isEmpty())
        text += QStringLiteral(", now ") + m_current;
    LaStatus->setText(text);
}

void TRunSQLF::runFinished(const run::RunSummary& summary)
{
    m_tick.stop();
    m_current.clear();
    Button7->setEnabled(true);
    BtStop->setEnabled(false);
    const QString counts = QStringLiteral("%1 of %2 columns succeeded, %3 failed")
                               .arg(summary.succeeded)
                               .arg(summary.columns)
                               .arg(summary.failed);
    LaStatus->setText(counts + QStringLiteral(", elapsed ") + clockText(summary.elapsedMs));
    if (!summary.complete()) {
        // The bar shows the failure, not a full green run.
        ProgressBar1->setStyleSheet(
            QStringLiteral("QProgressBar { text-align: center; } "
                           "QProgressBar::chunk { background-color: #c62828; }"));
        ProgressBar1->setFormat(QStringLiteral("%1 of %2 columns, %3 failed")
                                    .arg(m_done)
                                    .arg(summary.columns)
                                    .arg(summary.failed));
    }
    emit runningChanged(false);

    if (summary.error)
        ui::showError(this, *summary.error);
    else if (summary.stopped)
        ui::dialogs().warning(this, QStringLiteral("Stopped by the operator: ") + counts +
                                        QStringLiteral(", %1 not run.")
                                            .arg(summary.columns - summary.succeeded -
                                                 summary.failed));
    else if (summary.failed > 0)
        ui::dialogs().warning(this, QStringLiteral("Finished with failures: ") + counts +
                                        QStringLiteral("."));
    else
        ui::dialogs().information(this, QStringLiteral("Finished !"));
}

} // namespace corvane
