#pragma once

#include "check/facts.h"
#include "check/rules.h"

#include <QObject>

#include <functional>
#include <optional>

namespace corvane {

class Workspace;

namespace check {

// The check of the workspace's choices, current at every moment: it keeps the
// facts read with the catalogue and checks again whatever the workspace says
// has changed, one table at a time for a single edit.
class CheckState : public QObject
{
    Q_OBJECT
public:
    explicit CheckState(Workspace& workspace, Options options = {}, QObject* parent = nullptr);

    // The facts read with the catalogue that the workspace takes next; they
    // become this state's facts when it does. A catalogue taken without them
    // is checked as one whose facts are unknown.
    void setNextFacts(Facts facts);

    const Facts& facts() const { return m_facts; }
    const Findings& findings() const { return m_findings; }
    // The findings of one column, without those of its table.
    Findings findingsOf(int slot) const;
    SlotVerdict verdictOf(int slot) const;
    bool hasErrors() const { return HasErrors(m_findings); }

    // Checks every column again; word lists are read afresh.
    void recheck();

signals:
    void findingsChanged();

private:
    void catalogueReplaced();
    void slotChanged(int slot);
    // The slots [first, last) of the table that holds `slot`.
    std::pair<int, int> tableOf(int slot) const;
    // Each of the column findings of `slot` (a binary search: the list is in slot order).
    void forEachOf(int slot, const std::function<void(const Finding&)>& use) const;

    Workspace& m_workspace;
    Options m_options;
    Facts m_facts;
    std::optional<Facts> m_next;
    Findings m_findings; // in slot order, as Check gives them
};

} // namespace check
} // namespace corvane
