#pragma once
// Where a walk of some columns stands: which columns still have rows, where each goes on from, and the
// rows of a get-bulk answer the caller has not taken yet. Bookkeeping only, no wire: the session asks
// from Asked(), hands each answer back, and gives its caller one row per step either way, so a walk
// that travels as get-bulk reaches the caller exactly as a get-next walk would.

#include <cstddef>
#include <vector>

#include "snmp/snmp_engine.h"

class WalkCursor {
public:
    // Bytes of bindings a get-bulk answer is planned for: a few Ethernet fragments. Agents cap their bulk
    // answers themselves (Net-SNMP at 100 bindings), and a lost fragment loses the whole answer.
    static constexpr std::size_t kBulkBytes = 8192;

    // No columns, no row bound, nothing held.
    void Clear();
    // One more column, walked from its start.
    void AddColumn(const OidArcs& column);
    // The caller takes at most this many more rows (negative: no bound); get-bulk asks for no more.
    void LimitRows(int rows) { m_rowsLeft = rows; }
    const std::vector<OidArcs>& Columns() const { return m_columns; }

    // The bindings of the next request: the positions of the columns that still have rows, in column
    // order, with null values. Empty once every column has ended.
    std::vector<EngineBinding> Asked() const;
    // Max-repetitions of a get-bulk from here: the rows of the open columns that fit kBulkBytes (sizes
    // as seen so far), at least one, at most the rows left and never more than an agent's tooBig allowed.
    long Repetitions() const;
    // The agent found `asked` repetitions too big: ask for half as many from now on. False at one.
    bool Shrink(long asked);

    enum class Step {
        Row,    // `row` holds the bindings still inside their columns, in column order
        End,    // no column has rows left
        Failed  // an OID that does not increase, or an answer that does not match the request
    };
    // A get-next answer to Asked().
    Step TakeNext(std::vector<EngineAnswer>& answers, std::vector<SnmpBinding>& row);
    // Keeps a get-bulk answer to Asked() with `repetitions` for Take. False when it cannot be one: no
    // complete repetition, or more than was asked for. A last repetition cut short is left out.
    bool HoldBulk(std::vector<EngineAnswer> answers, long repetitions);
    bool Held() const { return m_next < m_held.size(); }
    // The next held repetition, taken as a get-next answer would be. Failed drops the rest.
    Step Take(std::vector<SnmpBinding>& row);

private:
    // Applies one answer per column of `asked`, from answers[first]: the bindings still inside their
    // columns advance them and go to `row`; a column whose answer left it has ended.
    Step Apply(std::vector<EngineAnswer>& answers, std::size_t first, const std::vector<std::size_t>& asked,
               std::vector<SnmpBinding>& row);

    std::vector<OidArcs> m_columns;
    std::vector<bool> m_active;             // the column still has rows
    std::vector<std::size_t> m_open;        // the columns with rows, in order
    std::vector<OidArcs> m_positions;       // where the column goes on from
    std::vector<std::size_t> m_valueBytes;  // largest value seen in the column
    std::vector<std::size_t> m_asked;       // columns of the held answer, in binding order
    std::vector<EngineAnswer> m_held;       // complete repetitions of the held answer
    std::size_t m_next = 0;                 // first binding of the next held repetition
    long m_repetitionCap = 0;               // after a tooBig; 0 none
    int m_rowsLeft = -1;
};
