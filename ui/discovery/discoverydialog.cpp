#include "ui/discovery/discoverydialog.h"

#include "catalogue/methods.h"
#include "catalogue/workspace.h"
#include "discovery/workspacefindings.h"
#include "project/wordlist.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QThread>
#include <QVBoxLayout>

namespace corvane::ui {

using namespace discovery;

namespace {

// Where the word lists shipped with the program were installed, if found.
QString installedWordLists()
{
    const QString folder = QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                                  QStringLiteral("corvane/virtual_data"),
                                                  QStandardPaths::LocateDirectory);
    return folder.isEmpty() ? QStringLiteral("share/corvane/virtual_data") : folder;
}

} // namespace

DiscoveryDialog::DiscoveryDialog(Workspace& workspace, WorkspaceFindings& findings, QWidget* parent)
    : QDialog(parent), m_workspace(workspace), m_findings(findings), m_model(workspace, findings),
      m_coverage(new QLabel(this)), m_view(new QTableView(this)),
      m_sample(new QPushButton(QStringLiteral("Sample values"), this)),
      m_stop(new QPushButton(QStringLiteral("Stop"), this)),
      m_apply(new QPushButton(QStringLiteral("Apply suggestion"), this)),
      m_progress(new QProgressBar(this)), m_noteLabel(new QLabel(this))
{
    setWindowTitle(QStringLiteral("Discovery"));
    resize(980, 560);
    m_view->setModel(&m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setSortingEnabled(false);
    m_view->verticalHeader()->hide();
    m_view->horizontalHeader()->setStretchLastSection(true);
    m_sample->setToolTip(QStringLiteral(
        "Reads a few rows of the tables of the selected findings, or of the tables "
        "selected in the tree, and checks their values"));
    m_progress->setTextVisible(true);
    m_noteLabel->setWordWrap(true);

    auto* sampling = new QHBoxLayout;
    sampling->addWidget(m_sample);
    sampling->addWidget(m_stop);
    sampling->addWidget(m_progress, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addButton(m_apply, QDialogButtonBox::ActionRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_coverage);
    layout->addWidget(m_view, 1);
    layout->addLayout(sampling);
    layout->addWidget(m_noteLabel);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_sample, &QPushButton::clicked, this, &DiscoveryDialog::sampleValues);
    connect(m_stop, &QPushButton::clicked, this, &DiscoveryDialog::stop);
    connect(m_apply, &QPushButton::clicked, this, &DiscoveryDialog::applySelected);
    connect(&m_model, &PersonalDataModel::suggestionApplied, this,
            &DiscoveryDialog::suggestionApplied);
    connect(&m_findings, &WorkspaceFindings::coverageChanged, this, &DiscoveryDialog::updateState);
    connect(&m_findings, &WorkspaceFindings::findingsChanged, this, &DiscoveryDialog::updateState);
    connect(&m_workspace, &Workspace::catalogueReplaced, this, &DiscoveryDialog::catalogueReplaced);
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &DiscoveryDialog::updateState);
    updateState();
}

DiscoveryDialog::~DiscoveryDialog()
{
    // The worker reads its own copy of the catalogue; it only has to end
    // before the callbacks it posts here would find no dialog.
    if (m_thread) {
        m_stopRequested->store(true);
        m_thread->wait();
    }
}

void DiscoveryDialog::setSampleTables(const QStringList& tables)
{
    m_sampleTables = tables;
    updateState();
}

void DiscoveryDialog::catalogueReplaced()
{
    // The tables and notes named the old database; a sampling of it still
    // running is stopped and its result dropped when it comes.
    stop();
    m_sampleTables.clear();
    m_notes.clear();
    m_wordListNote.clear();
    updateState();
}

QStringList DiscoveryDialog::selectedTables() const
{
    QStringList tables;
    for (const QModelIndex& index : m_view->selectionModel()->selectedRows()) {
        const QString& stab = m_workspace.catalogue().at(m_model.finding(index.row()).slot).stab;
        if (!tables.contains(stab))
            tables << stab;
    }
    return tables.isEmpty() ? m_sampleTables : tables;
}

bool DiscoveryDialog::sampleValues()
{
    if (m_thread || !m_workspace.connector())
        return false;
    const QStringList tables = selectedTables();
    const TData catalogue = m_workspace.catalogue(); // shared, never written while read
    DiscoveryRequest request;
    request.sampleRows = m_sampleRows;
    for (int slot = 0; slot < catalogue.size(); ++slot)
        if (!catalogue.at(slot).col.isEmpty() && tables.contains(catalogue.at(slot).stab))
            request.sampleSlots.append(slot);
    if (request.sampleSlots.isEmpty())
        return false;

    m_stopRequested = std::make_shared<std::atomic_bool>(false);
    const auto stopRequested = m_stopRequested;
    const db::ConnectionFactory connect = m_workspace.connector();
    const QString connectionString = m_workspace.connectionString();
    const int generation = m_findings.generation();
    m_thread = QThread::create([=, this]() {
        std::unique_ptr<db::Connection> connection = connect();
        QString failure;
        DiscoveryReport report;
        if (!connection) {
            failure = QStringLiteral("No database driver.");
        } else if (Status opened = connection->open(connectionString); !opened) {
            failure = QStringLiteral("Connection failed. ") + opened.error().message;
        } else {
            report = Discover(catalogue, connection.get(), request, [&](int done, int total) {
                QMetaObject::invokeMethod(
                    this,
                    [this, done, total]() {
                        m_progress->setRange(0, total);
                        m_progress->setValue(done);
                    },
                    Qt::QueuedConnection);
                return !stopRequested->load();
            });
            connection->close();
        }
        QMetaObject::invokeMethod(
            this,
            [this, report, failure, generation]() { finishSampling(report, failure, generation); },
            Qt::QueuedConnection);
    });
    m_progress->setRange(0, 0);
    m_thread->start();
    updateState();
    return true;
}

void DiscoveryDialog::stop()
{
    if (m_stopRequested)
        m_stopRequested->store(true);
}

void DiscoveryDialog::finishSampling(const DiscoveryReport& report, const QString& failure,
                                     int generation)
{
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    m_notes = report.notes;
    if (generation != m_findings.generation()) {
        // Its slots belong to the database logged in to before.
        m_notes = QStringList{QStringLiteral(
            "Another database was loaded while values were read: the sample was dropped.")};
    } else if (!failure.isEmpty()) {
        m_notes.prepend(failure);
    } else {
        // The report holds every finding of the catalogue anew, with the
        // server's labels and the sampled tables' values: it replaces the list.
        m_findings.replace(report.findings);
        if (report.stopped)
            m_notes.prepend(QStringLiteral("Stopped: the tables after the last one read keep what "
                                           "their names say."));
    }
    m_progress->setRange(0, 1);
    m_progress->setValue(failure.isEmpty() ? 1 : 0);
    updateState();
    Q_EMIT samplingFinished();
}

int DiscoveryDialog::applySelected()
{
    QList<int> applied;
    for (const QModelIndex& index : m_view->selectionModel()->selectedRows())
        if (m_model.applySuggestion(index.row()))
            applied << index.row();
    noteMissingWordLists(applied);
    updateState();
    return int(applied.size());
}

// The script reads word lists from the virtual_data folder alone: a list the
// operator has not copied there yet would fail the column at generation.
void DiscoveryDialog::noteMissingWordLists(const QList<int>& appliedRows)
{
    bool namesList = false;
    QStringList missing;
    for (const int row : appliedRows) {
        const Suggestion s = m_model.suggestion(row);
        const MethodInfo* method = methodInfo(s.code);
        if (!method || method->param1 != ParamKind::WordListName)
            continue;
        namesList = true;
        if (!missing.contains(s.param1) && !QFileInfo::exists(WordListPath(s.param1)))
            missing << s.param1;
    }
    if (!namesList)
        return;
    m_wordListNote.clear();
    if (!missing.isEmpty())
        m_wordListNote = QStringLiteral("The virtual_data folder here lacks the word lists ") +
                         missing.join(QStringLiteral(", ")) +
                         QStringLiteral(": copy them from the installed defaults (") +
                         installedWordLists() + QStringLiteral(") before generating SQL.");
}

QString DiscoveryDialog::coverageText() const
{
    return CoverageText(m_findings.coverage());
}

QString DiscoveryDialog::notesText() const
{
    QStringList notes = m_notes;
    if (!m_wordListNote.isEmpty())
        notes << m_wordListNote;
    return notes.join(u'\n');
}

void DiscoveryDialog::updateState()
{
    m_coverage->setText(coverageText());
    m_noteLabel->setText(notesText());
    m_noteLabel->setVisible(!m_noteLabel->text().isEmpty());
    const bool sampling = m_thread != nullptr;
    m_sample->setEnabled(!sampling && m_workspace.connector() && !selectedTables().isEmpty());
    m_stop->setEnabled(sampling);
    m_apply->setEnabled(!sampling && m_view->selectionModel()->hasSelection());
}

} // namespace corvane::ui
