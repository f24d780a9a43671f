#pragma once

#include "discovery/discovery.h"
#include "ui/discovery/personaldatamodel.h"

#include <QDialog>
#include <QStringList>

#include <atomic>
#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;
class QThread;

namespace corvane {
class Workspace;
namespace discovery {
class WorkspaceFindings;
}
} // namespace corvane

namespace corvane::ui {

// The "Discovery" window: the columns that hold personal data, found at once
// by names and types, their suggested methods and the coverage; values are
// read only on request, for the tables the operator chose, on a worker with
// its own connection to the workspace's database, with progress and Stop.
// Suggestions are stored through the workspace, so every page follows them.
class DiscoveryDialog : public QDialog
{
    Q_OBJECT

public:
    DiscoveryDialog(Workspace& workspace, discovery::WorkspaceFindings& findings,
                    QWidget* parent = nullptr);
    ~DiscoveryDialog() override;

    PersonalDataModel& model() { return m_model; }
    // The tables (schema.table as in the tree) whose values "Sample values"
    // reads when no finding is selected: those selected in the tree.
    void setSampleTables(const QStringList& tables);
    const QStringList& sampleTables() const { return m_sampleTables; }
    void setSampleRows(int rows) { m_sampleRows = rows; }

    // Starts reading values; false when there is nothing to read or a sampling runs.
    bool sampleValues();
    void stop();
    bool isSampling() const { return m_thread != nullptr; }
    // "Apply suggestion" for every selected row; returns how many were written.
    int applySelected();
    QString coverageText() const;
    QString notesText() const;

Q_SIGNALS:
    void suggestionApplied(int slot);
    void samplingFinished();

private:
    QStringList selectedTables() const;
    void finishSampling(const discovery::DiscoveryReport& report, const QString& failure,
                        int generation);
    void catalogueReplaced();
    // Tells the operator which suggested word lists the virtual_data folder lacks.
    void noteMissingWordLists(const QList<int>& appliedRows);
    void updateState();

    Workspace& m_workspace;
    discovery::WorkspaceFindings& m_findings;
    PersonalDataModel m_model;
    QStringList m_sampleTables;
    int m_sampleRows = 20;
    QStringList m_notes;
    QString m_wordListNote;

    QLabel* m_coverage;
    QTableView* m_view;
    QPushButton* m_sample;
    QPushButton* m_stop;
    QPushButton* m_apply;
    QProgressBar* m_progress;
    QLabel* m_noteLabel;

    QThread* m_thread = nullptr;
    std::shared_ptr<std::atomic_bool> m_stopRequested;
};

} // namespace corvane::ui
