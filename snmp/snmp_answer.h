#pragma once
// The answer of one SNMP request, as callbacks and synchronous callers receive it.

#include <string>
#include <vector>

// BER tags of the values an answer can carry.
enum SnmpValueType : int {
    kSnmpInteger = 0x02,
    kSnmpOctetString = 0x04,
    kSnmpNull = 0x05,
    kSnmpObjectId = 0x06,
    kSnmpIpAddress = 0x40,
    kSnmpCounter32 = 0x41,
    kSnmpGauge32 = 0x42,
    kSnmpTimeTicks = 0x43,
    kSnmpOpaque = 0x44,
    kSnmpCounter64 = 0x46,
    kSnmpNoSuchObject = 0x80,
    kSnmpNoSuchInstance = 0x81,
    kSnmpEndOfMibView = 0x82,
};

struct SnmpBinding {
    std::string oid;  // dotted text without a leading dot, e.g. "1.3.6.1.2.1.1.5.0"
    int type = kSnmpNull;
    // Numbers, addresses, TimeTicks, counters and OIDs as text ("42", "10.0.0.1", "1.3.6.1.4.1.8072");
    // octet strings as their raw bytes (size() is the length; the bytes may hold zeros).
    std::string value;
};

class CSnmp {
public:
    CSnmp() = default;
    CSnmp(std::vector<SnmpBinding> bindings, int requestId, long errorStatus = 0,
          unsigned long errorIndex = 0)
        : m_bindings(std::move(bindings)),
          m_requestId(requestId),
          m_errorStatus(errorStatus),
          m_errorIndex(errorIndex) {}
    virtual ~CSnmp() = default;

    int getValuesCount() const { return static_cast<int>(m_bindings.size()); }
    // Empty text / kSnmpNull when the index is out of range.
    std::string getOid(int index) const { return Valid(index) ? m_bindings[index].oid : std::string(); }
    std::string getValue(int index) const { return Valid(index) ? m_bindings[index].value : std::string(); }
    int getValueType(int index) const { return Valid(index) ? m_bindings[index].type : kSnmpNull; }
    int getRequestID() const { return m_requestId; }
    void getErrorInfo(long& status, unsigned long& index) const {
        status = m_errorStatus;
        index = m_errorIndex;
    }
    const std::vector<SnmpBinding>& Bindings() const { return m_bindings; }

private:
    bool Valid(int index) const { return index >= 0 && index < getValuesCount(); }
    std::vector<SnmpBinding> m_bindings;
    int m_requestId = 0;
    long m_errorStatus = 0;
    unsigned long m_errorIndex = 0;
};
