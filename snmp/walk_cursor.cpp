#include "snmp/walk_cursor.h"

#include <algorithm>

#include "core/debug_out.h"

namespace {

bool IsException(int type) {
    return type == kSnmpNoSuchObject || type == kSnmpNoSuchInstance || type == kSnmpEndOfMibView;
}

// Bytes of a binding of this OID in an answer, without its value: sequence, name and value headers
// and the arcs in base 128 (the first two share a byte).
std::size_t BindingBytes(const OidArcs& oid) {
    std::size_t bytes = 6;
    for (std::uint32_t arc : oid)
        bytes += 1 + (arc >= 1u << 7) + (arc >= 1u << 14) + (arc >= 1u << 21) + (arc >= 1u << 28);
    return oid.empty() ? bytes : bytes - 1;
}

// A value size to plan with before a column has shown one.
constexpr std::size_t kUnseenValueBytes = 16;
// The instance arcs to plan with while a column has not moved past its own OID.
constexpr std::size_t kUnseenIndexBytes = 6;

}  // namespace

void WalkCursor::Clear() {
    *this = WalkCursor();
}

void WalkCursor::AddColumn(const OidArcs& column) {
    m_open.push_back(m_columns.size());
    m_columns.push_back(column);
    m_active.push_back(true);
    m_positions.push_back(column);
    m_valueBytes.push_back(0);
}

std::vector<EngineBinding> WalkCursor::Asked() const {
    std::vector<EngineBinding> bindings;
    bindings.reserve(m_open.size());
    for (std::size_t i : m_open) bindings.push_back(EngineBinding{m_positions[i], kSnmpNull, {}});
    return bindings;
}

long WalkCursor::Repetitions() const {
    std::size_t rowBytes = 0;
    for (std::size_t i : m_open) {
        rowBytes += BindingBytes(m_positions[i]) + (m_valueBytes[i] ? m_valueBytes[i] : kUnseenValueBytes);
        if (m_positions[i].size() == m_columns[i].size()) rowBytes += kUnseenIndexBytes;
    }
    long n = static_cast<long>(kBulkBytes / std::max<std::size_t>(rowBytes, 1));
    if (m_repetitionCap > 0) n = std::min(n, m_repetitionCap);
    if (m_rowsLeft >= 0) n = std::min<long>(n, m_rowsLeft);
    return std::max(n, 1L);
}

bool WalkCursor::Shrink(long asked) {
    if (asked <= 1) return false;
    m_repetitionCap = asked / 2;
    return true;
}

WalkCursor::Step WalkCursor::Apply(std::vector<EngineAnswer>& answers, std::size_t first,
                                   const std::vector<std::size_t>& asked, std::vector<SnmpBinding>& row) {
    row.clear();
    row.reserve(asked.size());
    auto inside = [&](std::size_t i, const EngineAnswer& a) {
        return !IsException(a.binding.type) && OidIsBelow(a.oid, m_columns[i]);
    };
    std::size_t k = first;
    for (std::size_t i : asked) {
        const EngineAnswer& a = answers[k++];
        if (!m_active[i] || !inside(i, a)) continue;
        // An agent that answers the OID asked for, or one before it, would walk for ever.
        if (!(m_positions[i] < a.oid)) {
            // The column, not the index: indexes of some tables spell community names.
            DebugOut("OID not increasing in column " + OidArcsText(m_columns[i]) +
                     (a.oid == m_positions[i] ? " (the same row again)" : " (an earlier row)"));
            return Step::Failed;
        }
    }
    k = first;
    bool ended = false;
    for (std::size_t i : asked) {
        EngineAnswer& a = answers[k++];
        if (!m_active[i]) continue;
        if (!inside(i, a)) {
            m_active[i] = false;
            ended = true;
            continue;
        }
        m_positions[i] = std::move(a.oid);
        m_valueBytes[i] = std::max(m_valueBytes[i], a.binding.value.size() + 1);
        row.push_back(std::move(a.binding));
    }
    if (ended) std::erase_if(m_open, [this](std::size_t i) { return !m_active[i]; });
    if (row.empty()) return Step::End;
    if (m_rowsLeft > 0) --m_rowsLeft;
    return Step::Row;
}

WalkCursor::Step WalkCursor::TakeNext(std::vector<EngineAnswer>& answers, std::vector<SnmpBinding>& row) {
    m_held.clear();
    m_next = 0;
    // An agent answers every binding it was asked, in order; anything else is no usable answer.
    if (answers.size() != m_open.size()) return Step::Failed;
    return Apply(answers, 0, m_open, row);
}

bool WalkCursor::HoldBulk(std::vector<EngineAnswer> answers, long repetitions) {
    m_held.clear();
    m_next = 0;
    m_asked = m_open;
    const std::size_t n = m_asked.size();
    if (n == 0 || answers.size() < n ||
        answers.size() > n * static_cast<std::size_t>(std::max(repetitions, 0L)))
        return false;
    answers.resize(answers.size() / n * n);
    m_held = std::move(answers);
    return true;
}

WalkCursor::Step WalkCursor::Take(std::vector<SnmpBinding>& row) {
    const Step step = Apply(m_held, m_next, m_asked, row);
    m_next += m_asked.size();
    if (step != Step::Row || !Held()) {
        m_held.clear();
        m_next = 0;
    }
    return step;
}
