#include "snmp/walk_cursor.h"

#include <algorithm>
#include <limits>

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
    m_columnTexts.push_back(OidArcsText(column));
    m_active.push_back(true);
    m_positions.push_back(column);
    m_valueBytes.push_back(0);
}

std::vector<EngineBinding> WalkCursor::Asked() const {
    std::vector<EngineBinding> bindings;
    AskedInto(bindings);
    return bindings;
}

void WalkCursor::AskedInto(std::vector<EngineBinding>& bindings) const {
    bindings.resize(m_open.size());
    EngineBinding* b = bindings.data();
    for (std::size_t i : m_open) {
        b->oid.assign(m_positions[i].begin(), m_positions[i].end());
        b->asnType = kSnmpNull;
        b->value.clear();
        ++b;
    }
}

std::size_t WalkCursor::RowBytes() const {
    std::size_t rowBytes = 0;
    for (std::size_t i : m_open) {
        rowBytes += BindingBytes(m_positions[i]) + (m_valueBytes[i] ? m_valueBytes[i] : kUnseenValueBytes);
        if (m_positions[i].size() == m_columns[i].size()) rowBytes += kUnseenIndexBytes;
    }
    return std::max<std::size_t>(rowBytes, 1);
}

long WalkCursor::Repetitions() const {
    long n = static_cast<long>(kBulkBytes / RowBytes());
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
        // Swapped, not moved: the answer's storage serves the next answer.
        m_positions[i].swap(a.oid);
        m_valueBytes[i] = std::max(m_valueBytes[i], a.binding.value.size() + 1);
        // The text is the column's and the instance's.
        a.binding.oid.reserve(m_columnTexts[i].size() + 11 * (m_positions[i].size() - m_columns[i].size()));
        a.binding.oid.assign(m_columnTexts[i]);
        AppendArcsText(a.binding.oid, m_positions[i], m_columns[i].size());
        row.push_back(std::move(a.binding));
    }
    if (ended) std::erase_if(m_open, [this](std::size_t i) { return !m_active[i]; });
    if (row.empty()) return Step::End;
    if (m_rowsLeft > 0) --m_rowsLeft;
    return Step::Row;
}

void WalkCursor::Release() {
    // The elements stay: their storage serves the next answer swapped in.
    m_heldEnd = 0;
    m_next = 0;
    m_guesses.clear();
}

WalkCursor::Step WalkCursor::TakeNext(std::vector<EngineAnswer>& answers, std::vector<SnmpBinding>& row) {
    Release();
    // An agent answers every binding it was asked, in order; anything else is no usable answer.
    if (answers.size() != m_open.size()) return Step::Failed;
    return Apply(answers, 0, m_open, row);
}

bool WalkCursor::HoldBulk(std::vector<EngineAnswer>& answers, long repetitions) {
    Release();
    m_asked = m_open;
    const std::size_t n = m_asked.size();
    if (n == 0 || answers.size() < n ||
        answers.size() > n * static_cast<std::size_t>(std::max(repetitions, 0L)))
        return false;
    m_held.swap(answers);
    m_heldEnd = m_held.size() / n * n;
    return true;
}

bool WalkCursor::Held() const {
    return m_next < m_heldEnd;
}

WalkCursor::Step WalkCursor::Take(std::vector<SnmpBinding>& row) {
    const Step step = Apply(m_held, m_next, m_asked, row);
    m_next += m_asked.size();
    const bool guessed = !m_guesses.empty();
    if (step == Step::Row && Held() && guessed && !GuessesHold()) {
        // The table has a gap here: go on from the true positions, and guess no further than this
        // answer proved right (not at all when it was wrong at once).
        if (!m_guessedStart) m_aheadCap = static_cast<long>(m_next / m_asked.size());
        Release();
    } else if (step != Step::Row || !Held()) {
        // An answer whose guesses all held lifts an earlier cap.
        if (step == Step::Row && guessed && m_aheadCap > 1) m_aheadCap = 0;
        Release();
    }
    return step;
}

bool WalkCursor::GuessesHold() const {
    std::size_t k = m_next;
    for (std::size_t i : m_asked) {
        if (m_active[i] && m_guesses[k] != m_positions[i]) return false;
        ++k;
    }
    return true;
}

long WalkCursor::RowsAhead() const {
    if (m_aheadCap == 1) return 1;
    long n = static_cast<long>(kAheadBytes / RowBytes());
    if (m_aheadCap > 0) n = std::min(n, m_aheadCap);
    if (m_rowsLeft >= 0) n = std::min<long>(n, m_rowsLeft);
    return std::max(n, 1L);
}

std::vector<EngineBinding> WalkCursor::AskedAhead(long rows) {
    Release();
    m_asked = m_open;
    m_guessedStart = false;
    std::vector<EngineBinding> bindings;
    bindings.reserve(static_cast<std::size_t>(std::max(rows, 1L)) * m_open.size());
    for (long j = 0; j < std::max(rows, 1L); ++j) {
        const std::size_t first = m_guesses.size();
        for (std::size_t i : m_open) {
            OidArcs from = m_positions[i];
            if (j > 0 && from.size() == m_columns[i].size()) {
                from.push_back(static_cast<std::uint32_t>(j));
                m_guessedStart = true;
            } else if (j > 0) {
                if (from.back() > std::numeric_limits<std::uint32_t>::max() - static_cast<std::uint32_t>(j)) {
                    // No instance follows the last one an arc can hold: ask for the rows before it.
                    m_guesses.resize(first);
                    bindings.resize(first);
                    return bindings;
                }
                from.back() += static_cast<std::uint32_t>(j);
            }
            bindings.push_back(EngineBinding{from, kSnmpNull, {}});
            m_guesses.push_back(std::move(from));
        }
    }
    return bindings;
}

bool WalkCursor::HoldAhead(std::vector<EngineAnswer>& answers) {
    m_heldEnd = 0;
    m_next = 0;
    // A get-next answers every binding it was asked, in order.
    if (m_guesses.empty() || answers.size() != m_guesses.size()) {
        m_guesses.clear();
        return false;
    }
    m_held.swap(answers);
    m_heldEnd = m_held.size();
    return true;
}

long WalkCursor::AheadRow(unsigned long errorIndex) const {
    if (errorIndex == 0 || errorIndex > m_guesses.size() || m_asked.empty()) return -1;
    return static_cast<long>((errorIndex - 1) / m_asked.size());
}

void WalkCursor::AheadRefused(long rows, long badRow) {
    Release();
    m_aheadCap = std::max(badRow > 0 ? std::min(badRow, rows / 2) : rows / 2, 1L);
}
