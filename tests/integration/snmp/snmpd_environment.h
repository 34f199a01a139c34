#pragma once
// One snmpd for the whole test program (each test process gets its own agent on its own port).

#include <gtest/gtest.h>

#include "snmp/common_snmp.h"
#include "tests/fixtures/snmpd_fixture.h"

inline SnmpdFixture& Agent() {
    static SnmpdFixture* agent = [] {
        auto* a = new SnmpdFixture;
        std::string error;
        if (!a->start(&error)) ADD_FAILURE() << "snmpd fixture: " << error;
        return a;
    }();
    return *agent;
}

class AgentEnvironment : public ::testing::Environment {
public:
    void TearDown() override { Agent().stop(); }
};
inline const ::testing::Environment* const g_agentEnvironment =
    ::testing::AddGlobalTestEnvironment(new AgentEnvironment);

// "v1" or a v3 user of the fixture.
inline ModuleSettings SettingsFor(const std::string& who) {
    return who == "v1" ? Agent().SettingsV1() : Agent().SettingsV3(who);
}
