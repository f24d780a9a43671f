#include "check/checkstate.h"

#include "catalogue/workspace.h"

#include <algorithm>

namespace corvane::check {

namespace {

const QString NotRead = QStringLiteral("the facts were not read with this catalogue");

bool sameTable(const TColumnRec& a, const TColumnRec& b)
{
    return a.stab == b.stab && a.schema == b.schema && a.tab == b.tab;
}

} // namespace

CheckState::CheckState(Workspace& workspace, Options options, QObject* parent)
    : QObject(parent), m_workspace(workspace), m_options(std::move(options)),
      m_facts(Facts::unknown(NotRead))
{
    connect(&workspace, &Workspace::catalogueReplaced, this, &CheckState::catalogueReplaced);
    connect(&workspace, &Workspace::choicesReplaced, this, &CheckState::recheck);
    connect(&workspace, &Workspace::methodChanged, this, &CheckState::slotChanged);
    m_findings = Check(m_workspace.catalogue(), m_facts, m_options);
}

void CheckState::setNextFacts(Facts facts)
{
    m_next = std::move(facts);
}

void CheckState::catalogueReplaced()
{
    // Facts of another database would name other tables, or the same names
    // with other columns: only those read with this catalogue count.
    m_facts = m_next ? std::move(*m_next) : Facts::unknown(NotRead);
    m_next.reset();
    recheck();
}

void CheckState::recheck()
{
    m_findings = Check(m_workspace.catalogue(), m_facts, m_options);
    emit findingsChanged();
}

std::pair<int, int> CheckState::tableOf(int slot) const
{
    const TData& catalogue = m_workspace.catalogue();
    int first = slot;
    while (first > 1 && sameTable(catalogue.at(first - 1), catalogue.at(slot)))
        --first;
    int last = slot + 1;
    while (last < catalogue.size() && sameTable(catalogue.at(last), catalogue.at(slot)))
        ++last;
    return {first, last};
}

void CheckState::slotChanged(int slot)
{
    const TData& catalogue = m_workspace.catalogue();
    if (slot < 1 || slot >= catalogue.size())
        return;
    // A table's findings depend on its other masked columns (the table
    // finding stands at the first of them): the whole table is checked again.
    const auto [first, last] = tableOf(slot);
    const Findings fresh = CheckRange(catalogue, first, last, m_facts, m_options);
    const auto bySlot = [](const Finding& f, int s) { return f.slot < s; };
    const auto from = std::lower_bound(m_findings.cbegin(), m_findings.cend(), first, bySlot);
    const auto to = std::lower_bound(from, m_findings.cend(), last, bySlot);
    qsizetype at = from - m_findings.cbegin();
    m_findings.remove(at, to - from);
    for (const Finding& f : fresh)
        m_findings.insert(at++, f);
    emit findingsChanged();
}

Findings CheckState::findingsOf(int slot) const
{
    Findings out;
    forEachOf(slot, [&out](const Finding& f) { out << f; });
    return out;
}

SlotVerdict CheckState::verdictOf(int slot) const
{
    SlotVerdict verdict;
    forEachOf(slot, [&verdict](const Finding& f) {
        ++(f.level == Level::Error ? verdict.errors : verdict.warnings);
    });
    return verdict;
}

void CheckState::forEachOf(int slot, const std::function<void(const Finding&)>& use) const
{
    const auto from = std::lower_bound(m_findings.cbegin(), m_findings.cend(), slot,
                                       [](const Finding& f, int s) { return f.slot < s; });
    for (auto it = from; it != m_findings.cend() && it->slot == slot; ++it)
        if (!it->column.isEmpty())
            use(*it);
}

} // namespace corvane::check
