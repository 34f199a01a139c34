#include "dialogs/mib/mib_value_maps.h"

#include <gtest/gtest.h>

#include "dialogs/mib/stp_port_table_dlg.h"

namespace {

using namespace std::string_literals;

// Each text map on the values that matter: the values, and the texts they must give.
TEST(MibValueMaps, TextsOfValues) {
    using Texts = std::vector<std::string>;
    const std::tuple<std::string (*)(const std::string&), Texts, Texts> cases[] = {
        {LinkStatusText,
         {"1", "2", "3", "4", "", "11"},
         {"Connected", "UnConnected", "Test", "Unknown", "Unknown", "Unknown"}},
        // In whole megabits; 4294967295 is the Gauge32 maximum: beyond a signed 32-bit int.
        {SpeedText,
         {"10000000", "1000000000", "999999", "1999999", "4294967295", "", "abc"},
         {"10M", "1000M", "0M", "1M", "4294M", "0M", "0M"}},
        {TcpStateText,
         {"2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "1", "0", "13", "", "x", "20"},
         {"listen", "synSent", "synReceived", "established", "finWait1", "finWait2", "closeWait", "lastAck",
          "closing", "timeWait", "deleteTCB", "closed", "closed", "closed", "closed", "closed", "closed"}},
        // By the first character.
        {FdbStatusText,
         {"1", "2", "3", "4", "5", "6", ""},
         {"Other", "Invalid", "Learn", "Own", "Static", "6", ""}},
        // From the end of the index.
        {MacFromIndex,
         {".1.0.17.34.51.68.85", ".4095.255.254.10.11.12.171", "0.1.2.3.4.5", ".7.8", "",
          ".1.0.17.34.51.68.256", ".1.0.17.x.51.68.85"},
         {"00-11-22-33-44-55", "FF-FE-0A-0B-0C-AB", "00-01-02-03-04-05", "07-08", "", "", ""}},
        {[](const std::string& ticks) { return UpTimeText(std::stoull(ticks)); },
         {"0", "5999", "6000", "359999", "360000", "4294967295"},
         {"0 Hour 0 Min", "0 Hour 0 Min", "0 Hour 1 Min", "0 Hour 59 Min", "1 Hour 0 Min",
          "11930 Hour 27 Min"}},
        {[](const std::string& ticks) { return UpTimeText(ticks); },
         {"360000", ""},
         {"1 Hour 0 Min", "0 Hour 0 Min"}},
        {StpPortStateText,
         {"1", "2", "3", "4", "5", "6", "7", "0"},
         {"Disabled", "Blocked", "Monitored", "Learn", "Forward", "Token", "7", "0"}},
        {StpEnableText, {""}, {"N"}},  // "1" enabled, anything else not (the table row below shows both)
        {BridgeIdText,
         {"\x80\x00\x00\x11\x22\x33\xAB\xCD"s, "\x80\x00\x00\x11\x22\x33\xAB\xCD\xEF"s, "\x01\x02"s, ""},
         {"80:00:00:11:22:33:AB:CD", "80:00:00:11:22:33:AB:CD", "01:02", ""}},
        {DesignatedPortText, {"\x80\x05"s, "\x0f"s}, {"80 05", "0F"}},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& [map, values, texts] = cases[i];
        Texts got;
        for (const std::string& v : values) got.push_back(map(v));
        EXPECT_EQ(got, texts) << "map " << i;
    }
}

// Whole rows are compared in the dialog's list against kms-sim's bridge; here a port off, blocked, and
// a short answer giving the texts it has.
TEST(MibValueMaps, StpTableRowMapsEachColumn) {
    std::vector<SnmpBinding> b;
    for (const char* v : {"3", "128", "20000", "2", "2"}) b.push_back({"", kSnmpInteger, v});
    EXPECT_EQ(StpPortRowTexts(b), (QStringList{"3", "128", "20000", "N", "Blocked"}));
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
