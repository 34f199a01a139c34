#include "sim/misbehaviour.h"

#include <cstdlib>

#include "sim/control_oids.h"

namespace kmssim {

namespace {

// A minimal BER reader and writer for the community-based message: enough to take an answer apart
// and put it together again with another error status or one binding less.
bool ReadTlv(const std::string& s, size_t& pos, uint8_t* tag, std::string* body) {
    if (pos + 2 > s.size()) return false;
    *tag = static_cast<uint8_t>(s[pos++]);
    size_t len = static_cast<uint8_t>(s[pos++]);
    if (len & 0x80) {
        const size_t n = len & 0x7f;
        if (n == 0 || n > 4 || pos + n > s.size()) return false;
        len = 0;
        for (size_t i = 0; i < n; ++i) len = (len << 8) | static_cast<uint8_t>(s[pos++]);
    }
    if (len > s.size() - pos) return false;
    *body = s.substr(pos, len);
    pos += len;
    return true;
}

std::string Tlv(uint8_t tag, const std::string& body) {
    std::string out(1, static_cast<char>(tag));
    const size_t n = body.size();
    if (n < 0x80) {
        out += static_cast<char>(n);
    } else {
        std::string len;
        for (size_t v = n; v; v >>= 8) len.insert(len.begin(), static_cast<char>(v & 0xff));
        out += static_cast<char>(0x80 | len.size());
        out += len;
    }
    return out + body;
}

std::string Integer(long long v) {
    std::string bytes;
    for (int shift = 56; shift >= 0; shift -= 8)
        bytes += static_cast<char>((static_cast<unsigned long long>(v) >> shift) & 0xff);
    while (bytes.size() > 1 &&
           ((bytes[0] == '\0' && !(bytes[1] & 0x80)) || (bytes[0] == '\xff' && (bytes[1] & 0x80))))
        bytes.erase(0, 1);
    return Tlv(0x02, bytes);
}

}  // namespace

bool Misbehaviour::Next(const Oid& asked, bool inclusive, bool misbehave, Binding* answer) const {
    const Device& dev = *m_device;
    const bool exists = dev.Get(asked) != nullptr;
    if (misbehave && exists && dev.Knob(ctl::kRepeatOid) == 1) inclusive = true;
    const auto* next = dev.Next(asked, inclusive);
    if (misbehave && !asked.empty()) {
        const Oid column(asked.begin(), asked.end() - 1);
        const auto* first = dev.Next(column, false);
        const bool inColumn = first && StartsWith(first->first, column) && first->first <= asked;
        if (exists && inColumn && first->first < asked && dev.Knob(ctl::kGoBackwards) == 1) {
            *answer = {first->first, first->second};
            return true;
        }
        if (inColumn && (!next || !StartsWith(next->first, column)) && asked.back() != UINT32_MAX &&
            dev.Knob(ctl::kEndlessColumns) == 1) {
            Oid made = asked;
            ++made.back();
            *answer = {made, first->second};
            return true;
        }
    }
    if (!next) return false;
    *answer = {next->first, next->second};
    return true;
}

bool Misbehaviour::LoseRequest() {
    const int64_t percent = m_device->Knob(ctl::kLossPercent);
    return percent > 0 && static_cast<int64_t>(m_rng() % 100) < percent;
}

std::string Misbehaviour::Rewrite(const std::string& message) const {
    const Value* status = m_device->Get(O(ctl::kErrorStatus));
    const bool setStatus = status && !status->bytes.empty();
    const bool dropLast = m_device->Knob(ctl::kDropLastBinding) == 1;
    if (!setStatus && !dropLast) return message;
    // SEQUENCE { version, community, PDU { request-id, error-status, error-index, bindings } }; a
    // message of another form (SNMPv3) goes out as it is.
    uint8_t tag;
    std::string top, version, community, pdu, reqid, errstat, errindex, bindings;
    size_t pos = 0;
    if (!ReadTlv(message, pos, &tag, &top) || tag != 0x30) return message;
    size_t p = 0;
    uint8_t pduTag;
    if (!ReadTlv(top, p, &tag, &version) || tag != 0x02 || !ReadTlv(top, p, &tag, &community) ||
        tag != 0x04 || !ReadTlv(top, p, &pduTag, &pdu))
        return message;
    size_t q = 0;
    if (!ReadTlv(pdu, q, &tag, &reqid) || !ReadTlv(pdu, q, &tag, &errstat) ||
        !ReadTlv(pdu, q, &tag, &errindex) || !ReadTlv(pdu, q, &tag, &bindings) || tag != 0x30)
        return message;
    std::string errorTlv = Tlv(0x02, errstat);
    if (setStatus) errorTlv = Integer(std::strtoll(status->bytes.c_str(), nullptr, 10));
    if (dropLast) {
        size_t b = 0, lastStart = 0;
        std::string one;
        while (b < bindings.size()) {
            lastStart = b;
            if (!ReadTlv(bindings, b, &tag, &one)) return message;
        }
        bindings.resize(lastStart);
    }
    const std::string newPdu =
        Tlv(pduTag, Tlv(0x02, reqid) + errorTlv + Tlv(0x02, errindex) + Tlv(0x30, bindings));
    return Tlv(0x30, Tlv(0x02, version) + Tlv(0x04, community) + newPdu);
}

int Misbehaviour::SendAnswer(const void* buf, int size, const std::function<int(const void*, int)>& send) {
    if (!m_armed || size <= 0) return send(buf, size);
    m_armed = false;
    ++m_answers;
    std::string out = Rewrite(std::string(static_cast<const char*>(buf), static_cast<size_t>(size)));
    const int64_t garbage = m_device->Knob(ctl::kGarbageEvery);
    const int64_t truncate = m_device->Knob(ctl::kTruncateEvery);
    if (garbage > 0 && m_answers % static_cast<uint64_t>(garbage) == 0) {
        for (char& c : out) c = static_cast<char>(m_rng());
    } else if (truncate > 0 && m_answers % static_cast<uint64_t>(truncate) == 0) {
        out.resize(out.size() / 2);
    }
    const int copies = 1 + static_cast<int>(m_device->Knob(ctl::kDuplicateAnswers));
    int rc = size;
    for (int i = 0; i < copies; ++i) {
        const int sent = send(out.data(), static_cast<int>(out.size()));
        if (i == 0 && sent < 0) rc = sent;
    }
    return rc;
}

}  // namespace kmssim
