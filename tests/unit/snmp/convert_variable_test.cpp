// How Net-SNMP's decoded values become answer texts: numbers in decimal (unsigned types never
// negative), addresses dotted, OIDs as numeric text, octet strings as raw bytes.

// clang-format off
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
// clang-format on

#include <gtest/gtest.h>

#include "snmp/snmp_engine.h"

namespace {

template <typename T>
std::string Raw(T v) {
    return std::string(reinterpret_cast<const char*>(&v), sizeof v);
}

TEST(ConvertVariable, EveryValueType) {
    const oid objid[] = {1, 3, 6, 1, 4, 1, 8072, 3, 2, 10};
    counter64 big{};
    big.high = 1;
    big.low = 5;
    // The wire type, the value as snmp_set_var_value takes it, and the binding expected.
    const std::tuple<u_char, std::string, int, std::string> cases[] = {
        {ASN_INTEGER, Raw<long>(-42), kSnmpInteger, "-42"},
        {ASN_INTEGER, Raw<long>(2147483647), kSnmpInteger, "2147483647"},
        {ASN_COUNTER, Raw<long>(4294967295L), kSnmpCounter32, "4294967295"},
        {ASN_GAUGE, Raw<long>(1000000000), kSnmpGauge32, "1000000000"},
        {ASN_TIMETICKS, Raw<long>(12345), kSnmpTimeTicks, "12345"},
        {ASN_COUNTER64, Raw(big), kSnmpCounter64, "4294967301"},
        {ASN_IPADDRESS, std::string("\x0A\x00\x00\xFE", 4), kSnmpIpAddress, "10.0.0.254"},
        {ASN_OCTET_STR, std::string("a\0b\xFF", 4), kSnmpOctetString, std::string("a\0b\xFF", 4)},
        {ASN_OCTET_STR, "", kSnmpOctetString, ""},
        {ASN_OBJECT_ID, std::string(reinterpret_cast<const char*>(objid), sizeof objid), kSnmpObjectId,
         "1.3.6.1.4.1.8072.3.2.10"},
        {ASN_NULL, "", kSnmpNull, ""},
        {SNMP_NOSUCHINSTANCE, "", kSnmpNoSuchInstance, ""},
        {SNMP_ENDOFMIBVIEW, "", kSnmpEndOfMibView, ""},
    };
    const oid name[] = {1, 3, 6, 1, 2, 1, 1, 5, 0};
    for (const auto& [type, raw, expectType, expectValue] : cases) {
        netsnmp_variable_list* list = nullptr;
        snmp_varlist_add_variable(&list, name, OID_LENGTH(name), type, raw.empty() ? nullptr : raw.data(),
                                  raw.size());
        ASSERT_NE(list, nullptr);
        const SnmpBinding b = ConvertVariable(list);
        EXPECT_EQ(b.oid, "1.3.6.1.2.1.1.5.0");
        EXPECT_EQ(b.type, expectType) << int(type);
        EXPECT_EQ(b.value, expectValue) << int(type);
        snmp_free_varbind(list);
    }
}

}  // namespace
