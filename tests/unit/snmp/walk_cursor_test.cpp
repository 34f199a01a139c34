// The walk cursor without an agent: get-bulk answers handed out one row at a time exactly as get-next
// answers would be, answers cut short or out of order, and how many repetitions it asks for.

#include "snmp/walk_cursor.h"

#include <gtest/gtest.h>

#include <iterator>
#include <sstream>
#include <tuple>

namespace {

using Step = WalkCursor::Step;

// The table walked: columns 1.3.6.1.9.1.1 and .2; OIDs below are written short, "1.2" for row 2 of
// column 1.
const std::string kTable = "1.3.6.1.9.1.";

OidArcs Arcs(const std::string& text) {
    OidArcs arcs;
    EXPECT_TRUE(ParseOidText(text, arcs)) << text;
    return arcs;
}

EngineAnswer Answer(const std::string& at, const std::string& value = "v", int type = kSnmpOctetString) {
    return EngineAnswer{Arcs(kTable + at), SnmpBinding{kTable + at, type, value}};
}

WalkCursor TwoColumns() {
    WalkCursor c;
    c.AddColumn(Arcs(kTable + "1"));
    c.AddColumn(Arcs(kTable + "2"));
    return c;
}

// Where the next request goes on from.
std::vector<std::string> Asked(const std::vector<EngineBinding>& asked) {
    std::vector<std::string> out;
    for (const EngineBinding& b : asked) out.push_back(OidArcsText(b.oid).substr(kTable.size()));
    return out;
}

// The rows the cursor hands out, as "oid oid|oid|..." texts, then the final step.
std::string Drain(WalkCursor& c) {
    std::string out;
    std::vector<SnmpBinding> row;
    while (c.Held()) {
        const Step step = c.Take(row);
        if (step != Step::Row) return out + (step == Step::End ? "end" : "failed");
        for (const SnmpBinding& b : row) out += b.oid.substr(kTable.size()) + " ";
        out += "|";
    }
    return out;
}

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    return {std::istream_iterator<std::string>(in), {}};
}

// Answers by short OID; "~2.1" is endOfMibView at 2.1.
std::vector<EngineAnswer> Answers(const std::string& oids) {
    std::vector<EngineAnswer> out;
    for (const std::string& w : Words(oids))
        out.push_back(w[0] == '~' ? Answer(w.substr(1), "", kSnmpEndOfMibView) : Answer(w));
    return out;
}

// What the cursor hands out, then where its next request goes on from: "1.1 2.1 |1.2 |end asks 1.2".
std::string Outcome(WalkCursor& c) {
    std::string out = Drain(c) + " asks";
    for (const std::string& a : Asked(c.Asked())) out += " " + a;
    return out;
}

TEST(WalkCursor, BulkAnswersComeOutAsGetNextRows) {
    const std::tuple<const char*, const char*, long, const char*> cases[] = {
        {"column 2 ends in the second repetition, column 1 goes on", "1.1 2.1 1.2 3.1 1.3 3.2", 3,
         "1.1 2.1 |1.2 |1.3 | asks 1.3"},
        {"the end of the MIB ends both columns mid-answer", "1.1 2.1 2.1 ~2.1 ~2.1 ~2.1", 3,
         "1.1 2.1 |end asks"},
        {"a last repetition cut short waits for the next request", "1.1 2.1 1.2", 4,
         "1.1 2.1 | asks 1.1 2.1"},
        {"an OID that does not increase drops the rest", "1.5 2.5 1.5 2.6", 2,
         "1.5 2.5 |failed asks 1.5 2.5"},
    };
    for (const auto& [what, answer, repetitions, outcome] : cases) {
        WalkCursor c = TwoColumns();
        ASSERT_TRUE(c.HoldBulk(Answers(answer), repetitions)) << what;
        EXPECT_EQ(Outcome(c), outcome) << what;
        EXPECT_FALSE(c.Held()) << what;
    }
}

TEST(WalkCursor, AnswersThatCannotServeTheRequestAreRefused) {
    WalkCursor c = TwoColumns();
    // Less than one repetition, or more than asked for.
    EXPECT_FALSE(c.HoldBulk({Answer("1.1")}, 5));
    EXPECT_FALSE(c.HoldBulk({Answer("1.1"), Answer("2.1"), Answer("1.2"), Answer("2.2")}, 1));
    EXPECT_FALSE(c.Held());
    // A get-next answer must answer each open column.
    std::vector<EngineAnswer> one = {Answer("1.1")};
    std::vector<SnmpBinding> row;
    EXPECT_EQ(c.TakeNext(one, row), Step::Failed);
}

TEST(WalkCursor, RepetitionsFitTheDatagramTheRowBoundAndTooBig) {
    WalkCursor c = TwoColumns();
    EXPECT_GT(c.Repetitions(), 25);  // small rows: many fit
    // Rows of two 1000-byte values: four of them fill 8 KB.
    const std::string big(1000, 'x');
    std::vector<EngineAnswer> answer = {Answer("1.1", big), Answer("2.1", big)};
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
    ASSERT_TRUE(bounded.HoldBulk({Answer("1.1"), Answer("2.1")}, 3));
    EXPECT_EQ(Drain(bounded), "1.1 2.1 |");
    EXPECT_EQ(bounded.Repetitions(), 2);
}

// Answers a read-ahead get-next as an agent holding `rows` (short OIDs, in order) would.
std::vector<EngineAnswer> AnswerFrom(const std::vector<EngineBinding>& asked, const std::string& rows) {
    std::vector<EngineAnswer> answers;
    for (const EngineBinding& b : asked) {
        std::string next = "3.1";  // past both columns
        for (const std::string& r : Words(rows)) {
            if (b.oid < Arcs(kTable + r)) {
                next = r;
                break;
            }
        }
        answers.push_back(Answer(next));
    }
    return answers;
}

TEST(WalkCursor, ReadAheadHandsOutExactlyTheRowsOfAOneRowWalk) {
    // What it is, the agent's rows, how many rows are asked ahead, the outcome, how many rows the next
    // request may ask ahead at least.
    const std::tuple<const char*, const char*, long, const char*, long> cases[] = {
        {"consecutive rows from the start", "1.1 1.2 1.3 1.4 2.1 2.2 2.3 2.4", 3,
         "1.1 2.1 |1.2 2.2 |1.3 2.3 | asks 1.3 2.3", 8},
        {"a gap: the row after it is the walk's, the guesses after it are dropped",
         "1.1 1.2 1.5 1.6 2.1 2.2 2.5 2.6", 4, "1.1 2.1 |1.2 2.2 |1.5 2.5 | asks 1.5 2.5", 8},
        {"column 2 ends first; column 1 goes on alone", "1.1 1.2 1.3 2.1", 3, "1.1 2.1 |1.2 |1.3 | asks 1.3",
         8},
        {"both end inside the answer", "1.1 2.1", 3, "1.1 2.1 |end asks", 1},
        {"instances that do not start at 1 (a table indexed .unit.port)", "1.1.1 1.1.2 2.1.1 2.1.2", 3,
         "1.1.1 2.1.1 | asks 1.1.1 2.1.1", 8},
    };
    for (const auto& [what, rows, ahead, outcome, rowsAhead] : cases) {
        WalkCursor c = TwoColumns();
        const std::vector<EngineBinding> asked = c.AskedAhead(ahead);
        ASSERT_EQ(asked.size(), static_cast<std::size_t>(2 * ahead)) << what;
        ASSERT_TRUE(c.HoldAhead(AnswerFrom(asked, rows))) << what;
        EXPECT_EQ(Outcome(c), outcome) << what;
        EXPECT_GE(c.RowsAhead(), rowsAhead) << what;
    }
    // Sparse rows (VLANs 1, 10): after a wrong guess past the start the walk asks for one row at a time.
    WalkCursor c = TwoColumns();
    ASSERT_TRUE(c.HoldAhead(AnswerFrom(c.AskedAhead(1), "1.1 2.1")));
    EXPECT_EQ(Drain(c), "1.1 2.1 |");
    const std::vector<EngineBinding> sparse = c.AskedAhead(4);
    EXPECT_EQ(Asked(sparse)[2], "1.2");  // the row after 1 guessed at 2
    ASSERT_TRUE(c.HoldAhead(AnswerFrom(sparse, "1.1 1.10 1.20 2.1 2.10 2.20")));
    EXPECT_EQ(Drain(c), "1.10 2.10 |");
    EXPECT_EQ(c.RowsAhead(), 1);
    // Refused (too big): half as many from then on; a row bound caps it too.
    WalkCursor refused = TwoColumns();
    refused.AheadRefused(8);
    EXPECT_EQ(refused.RowsAhead(), 4);
    refused.LimitRows(3);
    EXPECT_EQ(refused.RowsAhead(), 3);
}

}  // namespace
