#include "discovery/workspacefindings.h"

#include "catalogue/workspace.h"
#include "discovery/classifier.h"

namespace corvane::discovery {

WorkspaceFindings::WorkspaceFindings(const Workspace& workspace, QObject* parent)
    : QObject(parent), m_workspace(workspace)
{
    connect(&workspace, &Workspace::catalogueReplaced, this, &WorkspaceFindings::catalogueReplaced);
    connect(&workspace, &Workspace::methodChanged, this, &WorkspaceFindings::methodChanged);
    connect(&workspace, &Workspace::choicesReplaced, this, [this] {
        recount();
        emit coverageChanged();
    });
    classify();
}

const Finding* WorkspaceFindings::findingOf(int slot) const
{
    const int row = rowOf(slot);
    return row < 0 ? nullptr : &m_findings.at(row);
}

int WorkspaceFindings::rowOf(int slot) const
{
    return slot < 0 || slot >= m_rowOfSlot.size() ? -1 : m_rowOfSlot.at(slot);
}

void WorkspaceFindings::catalogueReplaced()
{
    ++m_generation;
    classify();
}

void WorkspaceFindings::classify()
{
    replace(ClassifyCatalogue(m_workspace.catalogue()));
}

void WorkspaceFindings::replace(QVector<Finding> findings)
{
    const TData& catalogue = m_workspace.catalogue();
    // A finding without a slot of this catalogue would mark another column.
    findings.removeIf([&](const Finding& f) {
        return !f.isPersonal() || f.slot < 0 || f.slot >= catalogue.size();
    });
    m_findings = std::move(findings);
    m_rowOfSlot.fill(-1, catalogue.size());
    for (int row = 0; row < m_findings.size(); ++row)
        m_rowOfSlot[m_findings.at(row).slot] = row;
    recount();
    emit findingsChanged();
    emit coverageChanged();
}

void WorkspaceFindings::recount()
{
    const TData& catalogue = m_workspace.catalogue();
    m_masked.assign(m_findings.size(), false);
    m_coverage = {};
    for (int row = 0; row < m_findings.size(); ++row) {
        const int slot = m_findings.at(row).slot;
        // Two findings of one slot count once, as the mark shows one.
        if (m_rowOfSlot.at(slot) != row)
            continue;
        ++m_coverage.personal;
        m_masked[row] = IsMasked(catalogue.at(slot));
        m_coverage.masked += m_masked[row] ? 1 : 0;
    }
}

void WorkspaceFindings::methodChanged(int slot)
{
    const int row = rowOf(slot);
    if (row < 0 || slot >= m_workspace.catalogue().size())
        return;
    const bool masked = IsMasked(m_workspace.catalogue().at(slot));
    if (masked == m_masked[row])
        return;
    m_masked[row] = masked;
    m_coverage.masked += masked ? 1 : -1;
    emit coverageChanged();
}

} // namespace corvane::discovery
