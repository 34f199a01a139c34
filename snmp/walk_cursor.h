#pragma once
// Where a walk of some columns stands: which columns still have rows, where each goes on from, and the
// rows of a get-bulk (or read-ahead get-next) answer the caller has not taken yet. Bookkeeping only, no
// wire: the session asks from Asked() or AskedAhead(), hands each answer back, and gives its caller one
// row per step either way, so a walk that travels several rows a request reaches the caller exactly as a
// one-row get-next walk would.

#include <cstddef>
#include <string>
#include <vector>

#include "snmp/snmp_engine.h"

class WalkCursor {
public:
    // Bytes of bindings a get-bulk answer is planned for: a few Ethernet fragments. Agents cap their bulk
    // answers themselves (Net-SNMP at 100 bindings), and a lost fragment loses the whole answer.
    static constexpr std::size_t kBulkBytes = 8192;
    // Bytes of bindings a read-ahead get-next is planned for, request and answer alike: one datagram
    // on Ethernet with room for an SNMPv3 header, since an agent need not take a longer request.
    static constexpr std::size_t kAheadBytes = 1200;

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
    // The same into `bindings`, whose storage is reused.
    void AskedInto(std::vector<EngineBinding>& bindings) const;
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
    // The answers are swapped in: `answers` gets back storage for the next answer.
    bool HoldBulk(std::vector<EngineAnswer>& answers, long repetitions);
    bool HoldBulk(std::vector<EngineAnswer>&& answers, long repetitions) {
        return HoldBulk(answers, repetitions);
    }
    // True while a held row is there to take: for a read-ahead answer, only while every guess so far
    // proved right.
    bool Held() const;
    // The next held repetition, taken as a get-next answer would be. Failed drops the rest.
    Step Take(std::vector<SnmpBinding>& row);

    // Read-ahead over get-next (SNMPv1, or SNMPv3 without get-bulk): tables are mostly rows at
    // consecutive instances (ports 1..N, trunks, interfaces), so one get-next may also ask for the rows
    // after the next: for the j-th row ahead, each column is asked from its position with the last arc
    // plus j (the column itself is guessed to start at instance 1). A held row counts only while each
    // guess proved right (a column's true position is the OID its binding asked from); the first wrong
    // guess drops the rest, so the caller sees exactly the rows of a one-row walk.
    // Rows the next get-next may ask for: what fits kAheadBytes, the row bound, and what earlier
    // answers taught (1: one row, a plain get-next).
    long RowsAhead() const;
    // The bindings of a get-next for `rows` rows (row-major, the open columns in order).
    std::vector<EngineBinding> AskedAhead(long rows);
    // Keeps the answer to the last AskedAhead. False when it answers something else.
    bool HoldAhead(std::vector<EngineAnswer>& answers);
    bool HoldAhead(std::vector<EngineAnswer>&& answers) { return HoldAhead(answers); }
    // The row of the last read-ahead that binding `errorIndex` (counted from 1, as an agent names it)
    // belongs to; -1 when it names none.
    long AheadRow(unsigned long errorIndex) const;
    // The agent refused a read-ahead of `rows` rows (tooBig; SNMPv1's noSuchName for a guess past the end
    // of its MIB, naming row `badRow`): later ones ask for half as many at most, and for the rows before
    // the one named.
    void AheadRefused(long rows, long badRow = -1);

private:
    // Applies one answer per column of `asked`, from answers[first]: the bindings still inside their
    // columns advance them and go to `row`; a column whose answer left it has ended.
    Step Apply(std::vector<EngineAnswer>& answers, std::size_t first, const std::vector<std::size_t>& asked,
               std::vector<SnmpBinding>& row);
    // Bytes of one row's bindings in an answer, as planned from what the walk has seen so far.
    std::size_t RowBytes() const;
    // Every guess of the next held read-ahead row is the true position of its column.
    bool GuessesHold() const;
    // Holds nothing any more.
    void Release();

    std::vector<OidArcs> m_columns;
    std::vector<std::string> m_columnTexts;  // dotted, for the answers' texts
    std::vector<bool> m_active;              // the column still has rows
    std::vector<std::size_t> m_open;         // the columns with rows, in order
    std::vector<OidArcs> m_positions;        // where the column goes on from
    std::vector<std::size_t> m_valueBytes;   // largest value seen in the column
    std::vector<std::size_t> m_asked;        // columns of the held answer, in binding order
    std::vector<EngineAnswer> m_held;        // the held answer (storage kept between answers)
    std::size_t m_heldEnd = 0;               // end of its complete repetitions; 0 nothing held
    std::size_t m_next = 0;                  // first binding of the next held repetition
    long m_repetitionCap = 0;                // after a tooBig; 0 none
    std::vector<OidArcs> m_guesses;          // read-ahead: the OID each held binding asked from
    long m_aheadCap = 0;                     // read-ahead rows at most, after a wrong guess; 0 none
    bool m_guessedStart = false;             // the held read-ahead guessed where a column starts
    int m_rowsLeft = -1;
};
