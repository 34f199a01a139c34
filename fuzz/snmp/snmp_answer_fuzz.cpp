// Feeds arbitrary bytes as the PDU of an answer to Net-SNMP's parser, and whatever it accepts through the
// layer's binding conversion, the instance suffixes of a walk, the walk cursor (as a get-bulk answer of
// the two columns, taken row by row) and the decoders the dialogs apply to answer values (port lists,
// hexadecimal text, UTF-8).

// clang-format off
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
// clang-format on

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "snmp/common_snmp.h"
#include "snmp/encodings.h"
#include "snmp/snmp_engine.h"
#include "snmp/walk_cursor.h"

namespace {

// A walk session of two columns, never sent: GetSuffix only needs the columns it asked for.
CCommonSNMP& Walker() {
    static CCommonSNMP* session = [] {
        auto* s = new CCommonSNMP(ModuleSettings{});
        s->Open(kSnmpGetNext);
        s->AddValue("1.3.6.1.2.1.2.2.1.5", kBindNull, nullptr);
        s->AddValue("1.3.6.1.4.1.32473.10.75.13.22.1.1.13", kBindNull, nullptr);
        return s;
    }();
    return *session;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = SnmpEngineInit();
    if (!ready) return 0;
    std::vector<u_char> bytes(data, data + size);
    size_t length = size;
    netsnmp_pdu* pdu = snmp_pdu_create(SNMP_MSG_RESPONSE);
    if (snmp_pdu_parse(pdu, bytes.data(), &length) == 0) {
        std::vector<SnmpBinding> bindings;
        std::vector<EngineAnswer> answers;
        for (const variable_list* v = pdu->variables; v; v = v->next_variable) {
            bindings.push_back(ConvertVariable(v));
            answers.push_back(EngineAnswer{OidArcs(v->name, v->name + v->name_length), bindings.back()});
        }
        WalkCursor cursor;
        for (const char* column : {"1.3.6.1.2.1.2.2.1.5", "1.3.6.1.4.1.32473.10.75.13.22.1.1.13"}) {
            OidArcs arcs;
            ParseOidText(column, arcs);
            cursor.AddColumn(arcs);
        }
        if (cursor.HoldBulk(answers, static_cast<long>(pdu->errindex))) {
            std::vector<SnmpBinding> row;
            while (cursor.Held() && cursor.Take(row) == WalkCursor::Step::Row) (void)cursor.Repetitions();
        }
        const CSnmp answer(bindings, 1, pdu->errstat, static_cast<unsigned long>(pdu->errindex));
        for (int i = 0; i < answer.getValuesCount(); ++i) {
            std::string suffix, text;
            Walker().GetSuffix(i, &answer, suffix);
            const std::string value = answer.getValue(i);
            int count = 0;
            (void)PortListToText(value, 52, &count);
            (void)HexToPortText(BytesToHex(value), &count);
            (void)PortTextToFlags(value, 28);
            (void)FromUtf8(value, text);
            (void)ToUtf8(value, 129);
            (void)HexToBytes(value);
        }
    }
    snmp_free_pdu(pdu);
    return 0;
}
