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
        ASSERT_TRUE(c.HoldBulk(k.answer, k.repetitions)) << k.what;
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
