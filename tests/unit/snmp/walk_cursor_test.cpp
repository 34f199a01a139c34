// The walk cursor without an agent: get-bulk answers handed out one row at a time exactly as get-next
// answers would be, answers cut short or out of order, and how many repetitions it asks for.

#include "snmp/walk_cursor.h"

#include <gtest/gtest.h>

namespace {

using Step = WalkCursor::Step;

OidArcs Arcs(const std::string& text) {
    OidArcs arcs;
    EXPECT_TRUE(ParseOidText(text, arcs)) << text;
    return arcs;
}

EngineAnswer Answer(const std::string& oid, const std::string& value = "v", int type = kSnmpOctetString) {
    return EngineAnswer{Arcs(oid), SnmpBinding{oid, type, value}};
}

WalkCursor TwoColumns() {
    WalkCursor c;
    c.AddColumn(Arcs("1.3.6.1.9.1.1"));
    c.AddColumn(Arcs("1.3.6.1.9.1.2"));
    return c;
}

// The rows the cursor hands out, as "oid oid|oid|..." texts, then the final step.
std::string Drain(WalkCursor& c) {
    std::string out;
    std::vector<SnmpBinding> row;
    while (c.Held()) {
        const Step step = c.Take(row);
        if (step != Step::Row) return out + (step == Step::End ? "end" : "failed");
        for (const SnmpBinding& b : row) out += b.oid + " ";
        out += "|";
    }
    return out;
}

TEST(WalkCursor, BulkAnswersComeOutAsGetNextRows) {
    struct Case {
        const char* what;
        std::vector<EngineAnswer> answer;
        long repetitions;
        std::string rows;
        std::vector<std::string> askedNext;  // where the next request goes on from
    };
    const std::vector<Case> cases = {
        {"column 2 ends in the second repetition, column 1 goes on",
         {Answer("1.3.6.1.9.1.1.1"), Answer("1.3.6.1.9.1.2.1"), Answer("1.3.6.1.9.1.1.2"),
          Answer("1.3.6.1.9.1.3.1"), Answer("1.3.6.1.9.1.1.3"), Answer("1.3.6.1.9.1.3.2")},
         3,
         "1.3.6.1.9.1.1.1 1.3.6.1.9.1.2.1 |1.3.6.1.9.1.1.2 |1.3.6.1.9.1.1.3 |",
         {"1.3.6.1.9.1.1.3"}},
        {"the end of the MIB ends both columns mid-answer",
         {Answer("1.3.6.1.9.1.1.1"), Answer("1.3.6.1.9.1.2.1"), Answer("1.3.6.1.9.1.2.1"),
          Answer("1.3.6.1.9.1.2.1", "", kSnmpEndOfMibView), Answer("1.3.6.1.9.1.2.1", "", kSnmpEndOfMibView),
          Answer("1.3.6.1.9.1.2.1", "", kSnmpEndOfMibView)},
         3,
         "1.3.6.1.9.1.1.1 1.3.6.1.9.1.2.1 |end",
         {}},
        {"a last repetition cut short waits for the next request",
         {Answer("1.3.6.1.9.1.1.1"), Answer("1.3.6.1.9.1.2.1"), Answer("1.3.6.1.9.1.1.2")},
         4,
         "1.3.6.1.9.1.1.1 1.3.6.1.9.1.2.1 |",
         {"1.3.6.1.9.1.1.1", "1.3.6.1.9.1.2.1"}},
        {"an OID that does not increase drops the rest",
         {Answer("1.3.6.1.9.1.1.5"), Answer("1.3.6.1.9.1.2.5"), Answer("1.3.6.1.9.1.1.5"),
          Answer("1.3.6.1.9.1.2.6")},
         2,
         "1.3.6.1.9.1.1.5 1.3.6.1.9.1.2.5 |failed",
         {"1.3.6.1.9.1.1.5", "1.3.6.1.9.1.2.5"}},
    };
    for (const Case& k : cases) {
        WalkCursor c = TwoColumns();
        ASSERT_TRUE(c.HoldBulk(std::vector<EngineAnswer>(k.answer), k.repetitions)) << k.what;
        EXPECT_EQ(Drain(c), k.rows) << k.what;
        EXPECT_FALSE(c.Held()) << k.what;
        std::vector<std::string> asked;
        for (const EngineBinding& b : c.Asked()) asked.push_back(OidArcsText(b.oid));
        EXPECT_EQ(asked, k.askedNext) << k.what;
    }
}

TEST(WalkCursor, AnswersThatCannotServeTheRequestAreRefused) {
    WalkCursor c = TwoColumns();
    // Less than one repetition, or more than asked for.
    EXPECT_FALSE(c.HoldBulk({Answer("1.3.6.1.9.1.1.1")}, 5));
    EXPECT_FALSE(c.HoldBulk({Answer("1.3.6.1.9.1.1.1"), Answer("1.3.6.1.9.1.2.1"), Answer("1.3.6.1.9.1.1.2"),
                             Answer("1.3.6.1.9.1.2.2")},
                            1));
    EXPECT_FALSE(c.Held());
    // A get-next answer must answer each open column.
    std::vector<EngineAnswer> one = {Answer("1.3.6.1.9.1.1.1")};
    std::vector<SnmpBinding> row;
    EXPECT_EQ(c.TakeNext(one, row), Step::Failed);
}

TEST(WalkCursor, RepetitionsFitTheDatagramTheRowBoundAndTooBig) {
    WalkCursor c = TwoColumns();
    EXPECT_GT(c.Repetitions(), 25);  // small rows: many fit
    // Rows of two 1000-byte values: four of them fill 8 KB.
    const std::string big(1000, 'x');
    std::vector<EngineAnswer> answer = {Answer("1.3.6.1.9.1.1.1", big), Answer("1.3.6.1.9.1.2.1", big)};
    std::vector<SnmpBinding> row;
    ASSERT_EQ(c.TakeNext(answer, row), Step::Row);
    EXPECT_GE(c.Repetitions(), 3);
    EXPECT_LE(c.Repetitions(), 4);
    // The agent found 4 too big: 2 from now on, then 1, and no less.
    EXPECT_TRUE(c.Shrink(4));
    EXPECT_EQ(c.Repetitions(), 2);
    EXPECT_TRUE(c.Shrink(2));
    EXPECT_FALSE(c.Shrink(1));
    EXPECT_EQ(c.Repetitions(), 1);
    // A walker that takes 3 more rows never has more asked for.
    WalkCursor bounded = TwoColumns();
    bounded.LimitRows(3);
    EXPECT_EQ(bounded.Repetitions(), 3);
    ASSERT_TRUE(bounded.HoldBulk({Answer("1.3.6.1.9.1.1.1"), Answer("1.3.6.1.9.1.2.1")}, 3));
    EXPECT_EQ(Drain(bounded), "1.3.6.1.9.1.1.1 1.3.6.1.9.1.2.1 |");
    EXPECT_EQ(bounded.Repetitions(), 2);
}

}  // namespace

namespace {

// Answers a read-ahead get-next as an agent holding `rows` of columns 1.3.6.1.9.1.1 and .2 would.
std::vector<EngineAnswer> AnswerFrom(const std::vector<EngineBinding>& asked,
                                     const std::vector<std::string>& rows) {
    std::vector<EngineAnswer> answers;
    for (const EngineBinding& b : asked) {
        std::string next = "1.3.6.1.9.2";  // past both columns
        for (const std::string& r : rows) {
            OidArcs arcs = Arcs(r);
            if (b.oid < arcs) {
                next = r;
                break;
            }
        }
        answers.push_back(Answer(next));
    }
    return answers;
}

}  // namespace

TEST(WalkCursor, ReadAheadHandsOutExactlyTheRowsOfAOneRowWalk) {
    struct Case {
        const char* what;
        std::vector<std::string> table;  // the agent's rows, in OID order
        long ahead;
        std::string rows;
        std::vector<std::string> askedNext;
        long rowsAheadNext;
    };
    const std::string c1 = "1.3.6.1.9.1.1.", c2 = "1.3.6.1.9.1.2.";
    const std::vector<Case> cases = {
        {"consecutive rows from the start",
         {c1 + "1", c1 + "2", c1 + "3", c1 + "4", c2 + "1", c2 + "2", c2 + "3", c2 + "4"},
         3,
         c1 + "1 " + c2 + "1 |" + c1 + "2 " + c2 + "2 |" + c1 + "3 " + c2 + "3 |",
         {c1 + "3", c2 + "3"},
         30},
        {"a gap: the row after it is the walk's, the guesses after it are dropped",
         {c1 + "1", c1 + "2", c1 + "5", c1 + "6", c2 + "1", c2 + "2", c2 + "5", c2 + "6"},
         4,
         c1 + "1 " + c2 + "1 |" + c1 + "2 " + c2 + "2 |" + c1 + "5 " + c2 + "5 |",
         {c1 + "5", c2 + "5"},
         30},
        {"column 2 ends first; column 1 goes on alone",
         {c1 + "1", c1 + "2", c1 + "3", c2 + "1"},
         3,
         c1 + "1 " + c2 + "1 |" + c1 + "2 |" + c1 + "3 |",
         {c1 + "3"},
         30},
        {"both end inside the answer", {c1 + "1", c2 + "1"}, 3, c1 + "1 " + c2 + "1 |end", {}, 1},
        {"instances that do not start at 1 (a table indexed .unit.port)",
         {c1 + "1.1", c1 + "1.2", c2 + "1.1", c2 + "1.2"},
         3,
         c1 + "1.1 " + c2 + "1.1 |",
         {c1 + "1.1", c2 + "1.1"},
         30},
    };
    for (const Case& k : cases) {
        WalkCursor c = TwoColumns();
        const std::vector<EngineBinding> asked = c.AskedAhead(k.ahead);
        ASSERT_EQ(asked.size(), static_cast<std::size_t>(2 * k.ahead)) << k.what;
        ASSERT_TRUE(c.HoldAhead(AnswerFrom(asked, k.table))) << k.what;
        EXPECT_EQ(Drain(c), k.rows) << k.what;
        std::vector<std::string> next;
        for (const EngineBinding& b : c.Asked()) next.push_back(OidArcsText(b.oid));
        EXPECT_EQ(next, k.askedNext) << k.what;
        EXPECT_GE(c.RowsAhead(), std::min(k.rowsAheadNext, 8L)) << k.what;
    }
    // Sparse rows (VLANs 1, 10): after a wrong guess past the start the walk asks for one row at a time.
    WalkCursor c = TwoColumns();
    ASSERT_TRUE(c.HoldAhead(AnswerFrom(c.AskedAhead(1), {c1 + "1", c2 + "1"})));
    EXPECT_EQ(Drain(c), c1 + "1 " + c2 + "1 |");
    const std::vector<EngineBinding> sparse = c.AskedAhead(4);
    EXPECT_EQ(OidArcsText(sparse[2].oid), c1 + "2");  // the row after 1 guessed at 2
    ASSERT_TRUE(
        c.HoldAhead(AnswerFrom(sparse, {c1 + "1", c1 + "10", c1 + "20", c2 + "1", c2 + "10", c2 + "20"})));
    EXPECT_EQ(Drain(c), c1 + "10 " + c2 + "10 |");
    EXPECT_EQ(c.RowsAhead(), 1);
    // Refused (too big): half as many from then on; a row bound caps it too.
    WalkCursor refused = TwoColumns();
    refused.AheadRefused(8);
    EXPECT_EQ(refused.RowsAhead(), 4);
    refused.LimitRows(3);
    EXPECT_EQ(refused.RowsAhead(), 3);
}
