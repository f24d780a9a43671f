#include "ui/discovery/discoverydialog.h"

#include "discovery/classifier.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QThread>
#include <QVBoxLayout>

namespace corvane::ui {

using namespace discovery;

DiscoveryDialog::DiscoveryDialog(TData& catalogue, db::ConnectionFactory connectionFactory,
                                 QString connectionString, QWidget* parent)
    : QDialog(parent), m_catalogue(catalogue), m_connect(std::move(connectionFactory)),
      m_connectionString(std::move(connectionString)), m_model(catalogue),
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
    connect(&m_model, &FindingsModel::suggestionApplied, this,
            &DiscoveryDialog::suggestionApplied);
    connect(&m_model, &QAbstractItemModel::dataChanged, this, &DiscoveryDialog::updateState);
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &DiscoveryDialog::updateState);

    classify();
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

void DiscoveryDialog::classify()
{
    m_notes.clear();
    m_model.setFindings(ClassifyCatalogue(m_catalogue));
    updateState();
    Q_EMIT findingsChanged();
}

QStringList DiscoveryDialog::selectedTables() const
{
    QStringList tables;
    for (const QModelIndex& index : m_view->selectionModel()->selectedRows()) {
        const QString& stab = m_catalogue.at(m_model.finding(index.row()).slot).stab;
        if (!tables.contains(stab))
            tables << stab;
    }
    return tables.isEmpty() ? m_sampleTables : tables;
}

bool DiscoveryDialog::sampleValues()
{
    if (m_thread || !m_connect)
        return false;
    const QStringList tables = selectedTables();
    DiscoveryRequest request;
    request.sampleRows = m_sampleRows;
    for (int slot = 0; slot < m_catalogue.size(); ++slot)
        if (!m_catalogue.at(slot).col.isEmpty() && tables.contains(m_catalogue.at(slot).stab))
            request.sampleSlots.append(slot);
    if (request.sampleSlots.isEmpty())
        return false;

    m_stopRequested = std::make_shared<std::atomic_bool>(false);
    const auto stopRequested = m_stopRequested;
    const TData catalogue = m_catalogue; // shared, never written while read
    const db::ConnectionFactory connect = m_connect;
    const QString connectionString = m_connectionString;
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
            this, [this, report, failure]() { finishSampling(report, failure); },
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

void DiscoveryDialog::finishSampling(const DiscoveryReport& report, const QString& failure)
{
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    m_notes = report.notes;
    if (!failure.isEmpty()) {
        m_notes.prepend(failure);
    } else {
        // The report holds every finding of the catalogue anew, with the
        // server's labels and the sampled tables' values: it replaces the list.
        m_model.setFindings(report.findings);
        if (report.stopped)
            m_notes.prepend(QStringLiteral("Stopped: the tables after the last one read keep what "
                                           "their names say."));
        Q_EMIT findingsChanged();
    }
    m_progress->setRange(0, 1);
    m_progress->setValue(failure.isEmpty() ? 1 : 0);
    updateState();
    Q_EMIT samplingFinished();
}

int DiscoveryDialog::applySelected()
{
    int applied = 0;
    for (const QModelIndex& index : m_view->selectionModel()->selectedRows())
        applied += m_model.applySuggestion(index.row()) ? 1 : 0;
    updateState();
    return applied;
}

QString DiscoveryDialog::coverageText() const
{
    return CoverageText(m_model.coverage());
}

QString DiscoveryDialog::notesText() const
{
    return m_notes.join(u'\n');
}

void DiscoveryDialog::updateState()
{
    m_coverage->setText(coverageText());
    m_noteLabel->setText(notesText());
    m_noteLabel->setVisible(!m_notes.isEmpty());
    const bool sampling = m_thread != nullptr;
    m_sample->setEnabled(!sampling && m_connect && !selectedTables().isEmpty());
    m_stop->setEnabled(sampling);
    m_apply->setEnabled(!sampling && m_view->selectionModel()->hasSelection());
}

} // namespace corvane::ui
