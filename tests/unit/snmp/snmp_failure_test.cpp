#include "snmp/snmp_failure.h"

#include <gtest/gtest.h>

#include "snmp/oid_text.h"

namespace {

SnmpFailure Of(const char* oid) {
    OidArcs arcs;
    EXPECT_TRUE(ParseOidText(oid, arcs)) << oid;
    return UsmReportFailure(arcs.data(), arcs.size());
}

TEST(SnmpFailure, ReportReasonsByTheirCounter) {
    const struct {
        const char* oid;
        const char* text;
    } cases[] = {
        {"1.3.6.1.6.3.15.1.1.1.0", "unsupported security level"},
        {"1.3.6.1.6.3.15.1.1.2.0", "not in time window"},
        {"1.3.6.1.6.3.15.1.1.3.0", "unknown user"},
        {"1.3.6.1.6.3.15.1.1.4.0", "unknown engine ID"},
        {"1.3.6.1.6.3.15.1.1.5.0", "wrong digest (authentication failure)"},
        {"1.3.6.1.6.3.15.1.1.6.0", "decryption error (privacy failure)"},
        // Anything else a report may carry is no reason we can name.
        {"1.3.6.1.6.3.15.1.1.7.0", "no answer"},
        {"1.3.6.1.6.3.15.1.1.3", "no answer"},
        {"1.3.6.1.6.3.15.1.1.3.1", "no answer"},
        {"1.3.6.1.6.3.11.2.1.3.0", "no answer"},  // snmpUnknownPDUHandlers
    };
    for (const auto& c : cases) EXPECT_STREQ(SnmpFailureText(Of(c.oid)), c.text) << c.oid;
    EXPECT_TRUE(IsSecurityRefusal(Of("1.3.6.1.6.3.15.1.1.3.0")));
    EXPECT_FALSE(IsSecurityRefusal(SnmpFailure::NoAnswer));
    EXPECT_EQ(UsmReportFailure(nullptr, 0), SnmpFailure::NoAnswer);
}

}  // namespace
