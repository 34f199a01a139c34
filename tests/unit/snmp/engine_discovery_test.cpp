#include "snmp/engine_discovery.h"

#include <gtest/gtest.h>

namespace {

std::string Tlv(unsigned char tag, const std::string& body) {
    std::string out(1, static_cast<char>(tag));
    if (body.size() >= 0x80) out += '\x81';
    return out + static_cast<char>(body.size()) + body;
}

// A report as an agent sends it: msgID 0x1234, engine ID, boots 3, time 77, usmStatsUnknownEngineIDs.
std::string Report(const std::string& engineId, const std::string& msgId = "\x12\x34") {
    const std::string global = Tlv(0x30, Tlv(0x02, msgId) + Tlv(0x02, "\x00\xFF\xE3") +
                                             Tlv(0x04, std::string(1, '\0')) + Tlv(0x02, "\x03"));
    const std::string usm = Tlv(0x30, Tlv(0x04, engineId) + Tlv(0x02, "\x03") + Tlv(0x02, "\x4D") +
                                          Tlv(0x04, "") + Tlv(0x04, "") + Tlv(0x04, ""));
    const std::string varbind =
        Tlv(0x30, Tlv(0x06, "\x2B\x06\x01\x06\x03\x0F\x01\x01\x04\x00") + Tlv(0x41, "\x01"));
    const std::string pdu = Tlv(0xA8, Tlv(0x02, msgId) + Tlv(0x02, std::string(1, '\0')) +
                                          Tlv(0x02, std::string(1, '\0')) + Tlv(0x30, varbind));
    return Tlv(0x30, Tlv(0x02, "\x03") + global + Tlv(0x04, usm) +
                         Tlv(0x30, Tlv(0x04, engineId) + Tlv(0x04, "") + pdu));
}

TEST(EngineDiscovery, RequestIsAReportableEmptyV3Get) {
    const std::string request = BuildDiscoveryRequest(0x1234);
    // version 3, msgID, max size, flags "reportable", USM.
    const std::string head("\x30", 1);
    EXPECT_EQ(request.substr(0, 1), head);
    EXPECT_NE(request.find(std::string("\x02\x01\x03\x30", 4)), std::string::npos);
    EXPECT_NE(request.find(std::string("\x02\x02\x12\x34", 4)), std::string::npos);
    EXPECT_NE(request.find(std::string("\x04\x01\x04\x02\x01\x03", 6)), std::string::npos);
    EXPECT_EQ(static_cast<std::size_t>(static_cast<unsigned char>(request[1])) + 2, request.size());
    // Our own reader understands what we build (the request's engine ID is empty, so it is refused).
    std::string id;
    EXPECT_FALSE(ParseDiscoveryReport(request, 0x1234, id));
}

TEST(EngineDiscovery, ReadsTheEngineIdOfTheMatchingReport) {
    const std::string engine("\x80\x00\x1F\x88\x80\x12\x34\x56\x78\x9A\xBC\xDE\xF0", 13);
    std::string id;
    EngineClock clock;
    ASSERT_TRUE(ParseDiscoveryReport(Report(engine), 0x1234, id, &clock));
    EXPECT_EQ(id, engine);
    EXPECT_EQ(clock.boots, 3u);
    EXPECT_EQ(clock.time, 77u);
    EXPECT_FALSE(ParseDiscoveryReport(Report(engine), 0x1235, id));                // another message
    EXPECT_FALSE(ParseDiscoveryReport(Report(""), 0x1234, id));                    // no engine ID
    EXPECT_FALSE(ParseDiscoveryReport(Report(std::string(33, 'x')), 0x1234, id));  // longer than allowed
    // Every truncation is refused without reading past the end.
    const std::string whole = Report(engine);
    for (std::size_t n = 0; n < whole.size(); ++n) {
        std::string cut = whole.substr(0, n);
        EXPECT_FALSE(ParseDiscoveryReport(cut, 0x1234, id)) << n;
    }
}

}  // namespace
