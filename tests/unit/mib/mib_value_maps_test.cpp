#include "dialogs/mib/mib_value_maps.h"

#include <gtest/gtest.h>

#include "dialogs/mib/stp_port_table_dlg.h"

namespace {

using Case = std::pair<const char*, const char*>;  // an input and the text it must give

TEST(MibValueMaps, LinkStatus) {
    const Case cases[] = {{"1", "Connected"}, {"2", "UnConnected"}, {"3", "Test"},
                          {"4", "Unknown"},   {"", "Unknown"},      {"11", "Unknown"}};
    for (const auto& [in, out] : cases) EXPECT_EQ(LinkStatusText(in), out) << in;
}

TEST(MibValueMaps, SpeedInWholeMegabits) {
    // 4294967295 is the Gauge32 maximum: beyond a signed 32-bit int.
    const Case cases[] = {{"10000000", "10M"}, {"1000000000", "1000M"}, {"999999", "0M"},
                          {"1999999", "1M"},   {"4294967295", "4294M"}, {"", "0M"},
                          {"abc", "0M"}};
    for (const auto& [in, out] : cases) EXPECT_EQ(SpeedText(in), out) << in;
}

TEST(MibValueMaps, TcpStates) {
    const char* names[] = {"listen",    "synSent", "synReceived", "established", "finWait1", "finWait2",
                           "closeWait", "lastAck", "closing",     "timeWait",    "deleteTCB"};
    for (int v = 2; v <= 12; ++v) EXPECT_EQ(TcpStateText(std::to_string(v)), names[v - 2]) << v;
    for (const char* other : {"1", "0", "13", "", "x", "20"})
        EXPECT_EQ(TcpStateText(other), "closed") << other;
}

TEST(MibValueMaps, ForwardingStatusByFirstCharacter) {
    const Case cases[] = {{"1", "Other"},  {"2", "Invalid"}, {"3", "Learn"}, {"4", "Own"},
                          {"5", "Static"}, {"6", "6"},       {"", ""}};
    for (const auto& [in, out] : cases) EXPECT_EQ(FdbStatusText(in), out) << in;
}

TEST(MibValueMaps, MacFromTheEndOfTheIndex) {
    const Case cases[] = {{".1.0.17.34.51.68.85", "00-11-22-33-44-55"},
                          {".4095.255.254.10.11.12.171", "FF-FE-0A-0B-0C-AB"},
                          {"0.1.2.3.4.5", "00-01-02-03-04-05"},
                          {".7.8", "07-08"},
                          {"", ""},
                          {".1.0.17.34.51.68.256", ""},
                          {".1.0.17.x.51.68.85", ""}};
    for (const auto& [in, out] : cases) EXPECT_EQ(MacFromIndex(in), out) << in;
}

TEST(MibValueMaps, UpTime) {
    const std::pair<std::uint64_t, const char*> cases[] = {
        {0, "0 Hour 0 Min"},       {5999, "0 Hour 0 Min"},   {6000, "0 Hour 1 Min"},
        {359999, "0 Hour 59 Min"}, {360000, "1 Hour 0 Min"}, {4294967295ULL, "11930 Hour 27 Min"}};
    for (const auto& [ticks, text] : cases) EXPECT_EQ(UpTimeText(ticks), text) << ticks;
    EXPECT_EQ(UpTimeText(std::string("360000")), "1 Hour 0 Min");
    EXPECT_EQ(UpTimeText(std::string("")), "0 Hour 0 Min");
}

// "1" enabled, anything else not (the table row below shows both).
TEST(MibValueMaps, StpPortStateAndEnable) {
    const Case cases[] = {{"1", "Disabled"}, {"2", "Blocked"}, {"3", "Monitored"}, {"4", "Learn"},
                          {"5", "Forward"},  {"6", "Token"},   {"7", "7"},         {"0", "0"}};
    for (const auto& [in, out] : cases) EXPECT_EQ(StpPortStateText(in), out) << in;
    EXPECT_EQ(StpEnableText(""), "N");
}

TEST(MibValueMaps, BridgeIdentifiersAndDesignatedPort) {
    using namespace std::string_literals;
    EXPECT_EQ(BridgeIdText("\x80\x00\x00\x11\x22\x33\xAB\xCD"s), "80:00:00:11:22:33:AB:CD");
    EXPECT_EQ(BridgeIdText("\x80\x00\x00\x11\x22\x33\xAB\xCD\xEF"s), "80:00:00:11:22:33:AB:CD");
    EXPECT_EQ(BridgeIdText("\x01\x02"s), "01:02");
    EXPECT_EQ(BridgeIdText(""), "");
    EXPECT_EQ(DesignatedPortText("\x80\x05"s), "80 05");
    EXPECT_EQ(DesignatedPortText("\x0f"s), "0F");
}

TEST(MibValueMaps, StpTableRowMapsEachColumn) {
    using namespace std::string_literals;
    std::vector<SnmpBinding> b(10);
    const std::string values[] = {"3",         "128",
                                  "20000",     "1",
                                  "5",         "\x80\x00\x00\x11\x22\x33\x44\x55"s,
                                  "4",         "\x80\x00\x00\x11\x22\x33\x44\x66"s,
                                  "\x80\x03"s, "17"};
    for (int i = 0; i < 10; ++i) b[i].value = values[i];
    QStringList row = StpPortRowTexts(b);
    QStringList want{
        "3",     "128", "20000", "Y", "Forward", "80:00:00:11:22:33:44:55", "4", "80:00:00:11:22:33:44:66",
        "80 03", "17"};
    EXPECT_EQ(row, want);
    b[3].value = "2";
    b[4].value = "2";
    b.resize(6);
    row = StpPortRowTexts(b);
    ASSERT_EQ(row.size(), 6);
    EXPECT_EQ(row[3], "N");
    EXPECT_EQ(row[4], "Blocked");
}

TEST(MibValueMaps, ParseUnsignedAndFieldValue) {
    std::uint64_t v = 0;
    EXPECT_TRUE(ParseUnsigned("200000000", v, 200000000));
    EXPECT_EQ(v, 200000000u);
    EXPECT_FALSE(ParseUnsigned("200000001", v, 200000000));
    EXPECT_FALSE(ParseUnsigned("", v));
    EXPECT_FALSE(ParseUnsigned("-1", v));
    EXPECT_FALSE(ParseUnsigned("99999999999999999999999", v));
    EXPECT_EQ(FieldValue("2000"), 2000);
    EXPECT_EQ(FieldValue(""), -1);
    EXPECT_EQ(FieldValue("12a"), -1);
}

}  // namespace
