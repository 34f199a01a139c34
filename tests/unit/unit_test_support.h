#pragma once
// Builders the unit test programs share: answer bindings, repeated texts and port flags.

#include <initializer_list>
#include <string>
#include <vector>

#include "snmp/snmp_answer.h"

// One value of a walk answer; the rules read values, not types.
inline SnmpBinding B(const std::string& value, int type = kSnmpOctetString) {
    return {"x", type, value};
}

inline std::string Repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

// One flag per port of a `count`-port switch, set for the ports listed (numbered from 1).
inline std::vector<int> Flags(std::initializer_list<int> ports, int count = 8) {
    std::vector<int> flags(count, 0);
    for (int p : ports) flags[p - 1] = 1;
    return flags;
}
