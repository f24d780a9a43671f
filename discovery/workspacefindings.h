#pragma once

#include "discovery/finding.h"
#include "discovery/suggestion.h"

#include <QObject>
#include <QVector>

#include <vector>

namespace corvane {
class Workspace;
}

namespace corvane::discovery {

// The findings of the workspace's catalogue, kept with it for every page that
// shows them: classified by names and types once per catalogue (names do not
// change with the methods), replaced by what a sampling found, and the
// coverage counted along, one slot at a time, as methods change.
class WorkspaceFindings : public QObject
{
    Q_OBJECT
public:
    explicit WorkspaceFindings(const Workspace& workspace, QObject* parent = nullptr);

    // The columns with personal data, in slot order.
    const QVector<Finding>& findings() const { return m_findings; }
    // The finding of a catalogue slot; null when the slot has none.
    const Finding* findingOf(int slot) const;
    // The finding's position in findings(), -1 when the slot has none.
    int rowOf(int slot) const;
    Coverage coverage() const { return m_coverage; }
    // Counts the catalogues taken over: a result worked out for an earlier
    // one addresses other columns and is to be dropped.
    int generation() const { return m_generation; }

    // By names and types anew (what a sampling added is dropped).
    void classify();
    // Findings worked out elsewhere for the current catalogue, e.g. with the
    // labels and values read from the server.
    void replace(QVector<Finding> findings);

signals:
    // The set of findings changed: marks and lists are to be drawn again.
    void findingsChanged();
    void coverageChanged();

private:
    void catalogueReplaced();
    void methodChanged(int slot);
    void recount();

    const Workspace& m_workspace;
    QVector<Finding> m_findings;
    QVector<int> m_rowOfSlot;   // per catalogue slot
    std::vector<bool> m_masked; // per finding, as last counted
    Coverage m_coverage;
    int m_generation = 0;
};

} // namespace corvane::discovery
