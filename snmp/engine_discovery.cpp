#include "snmp/engine_discovery.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <random>

namespace {

std::string Tlv(unsigned char tag, const std::string& body) {
    std::string out(1, static_cast<char>(tag));
    const std::size_t n = body.size();
    if (n < 0x80) {
        out += static_cast<char>(n);
    } else if (n < 0x100) {
        out += '\x81';
        out += static_cast<char>(n);
    } else {
        out += '\x82';
        out += static_cast<char>(n >> 8);
        out += static_cast<char>(n & 0xFF);
    }
    return out + body;
}

std::string Integer(std::int32_t v) {
    std::string bytes;
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes += static_cast<char>((static_cast<std::uint32_t>(v) >> shift) & 0xFF);
    // Minimal two's-complement form.
    while (bytes.size() > 1 &&
           ((bytes[0] == '\0' && !(bytes[1] & 0x80)) || (bytes[0] == '\xFF' && (bytes[1] & 0x80))))
        bytes.erase(0, 1);
    return Tlv(0x02, bytes);
}

// A forward-only BER reader over one buffer.
class Reader {
public:
    Reader(const std::string& data, std::size_t begin, std::size_t end)
        : m_data(data), m_pos(begin), m_end(end) {}
    // Reads one element; its contents are [begin, end) of the buffer.
    bool Next(unsigned char expectedTag, std::size_t& begin, std::size_t& end) {
        if (m_pos + 2 > m_end || static_cast<unsigned char>(m_data[m_pos]) != expectedTag) return false;
        std::size_t p = m_pos + 1;
        std::size_t len = static_cast<unsigned char>(m_data[p++]);
        if (len & 0x80) {
            const std::size_t octets = len & 0x7F;
            if (octets == 0 || octets > 2 || p + octets > m_end) return false;
            len = 0;
            for (std::size_t i = 0; i < octets; ++i)
                len = (len << 8) | static_cast<unsigned char>(m_data[p++]);
        }
        if (len > m_end - p) return false;
        begin = p;
        end = p + len;
        m_pos = end;
        return true;
    }
    bool Integer(std::int64_t& value) {
        std::size_t b, e;
        if (!Next(0x02, b, e) || e == b || e - b > 5) return false;
        value = static_cast<signed char>(m_data[b]);
        for (std::size_t i = b + 1; i < e; ++i) value = value * 256 + static_cast<unsigned char>(m_data[i]);
        return true;
    }

private:
    const std::string& m_data;
    std::size_t m_pos;
    std::size_t m_end;
};

}  // namespace

std::string BuildDiscoveryRequest(std::int32_t msgId) {
    const std::string globalData =
        Tlv(0x30, Integer(msgId) + Integer(65507) + Tlv(0x04, std::string(1, '\x04')) + Integer(3));
    const std::string usm =
        Tlv(0x30, Tlv(0x04, "") + Integer(0) + Integer(0) + Tlv(0x04, "") + Tlv(0x04, "") + Tlv(0x04, ""));
    const std::string pdu = Tlv(0xA0, Integer(msgId) + Integer(0) + Integer(0) + Tlv(0x30, ""));
    const std::string scoped = Tlv(0x30, Tlv(0x04, "") + Tlv(0x04, "") + pdu);
    return Tlv(0x30, Integer(3) + globalData + Tlv(0x04, usm) + scoped);
}

bool ParseDiscoveryReport(const std::string& message, std::int32_t msgId, std::string& engineId,
                          EngineClock* clock) {
    std::size_t b, e;
    Reader top(message, 0, message.size());
    if (!top.Next(0x30, b, e)) return false;
    Reader msg(message, b, e);
    std::int64_t version, id;
    if (!msg.Integer(version) || version != 3) return false;
    if (!msg.Next(0x30, b, e)) return false;
    Reader global(message, b, e);
    if (!global.Integer(id) || id != msgId) return false;
    if (!msg.Next(0x04, b, e)) return false;
    Reader secParams(message, b, e);
    if (!secParams.Next(0x30, b, e)) return false;
    Reader usm(message, b, e);
    if (!usm.Next(0x04, b, e) || e == b || e - b > 32) return false;
    std::int64_t boots = 0, time = 0;
    if (clock && (!usm.Integer(boots) || !usm.Integer(time) || boots < 0 || time < 0 || boots > INT32_MAX ||
                  time > INT32_MAX))
        return false;
    engineId = message.substr(b, e - b);
    if (clock) *clock = {static_cast<std::uint32_t>(boots), static_cast<std::uint32_t>(time)};
    return true;
}

bool DiscoverEngineId(const std::string& host, int port, std::chrono::steady_clock::time_point deadline,
                      int wakeFd, const std::function<bool()>& cancelled, std::string& engineId,
                      EngineClock* clock) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0 || !found) return false;
    const int fd = socket(found->ai_family, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const bool connected = fd >= 0 && connect(fd, found->ai_addr, found->ai_addrlen) == 0;
    freeaddrinfo(found);
    if (!connected) {
        if (fd >= 0) close(fd);
        return false;
    }
    static thread_local std::mt19937 random{std::random_device{}()};
    const auto msgId = static_cast<std::int32_t>(random() & 0x7FFFFFFF);
    const std::string request = BuildDiscoveryRequest(msgId);
    bool ok = send(fd, request.data(), request.size(), 0) == static_cast<ssize_t>(request.size());
    bool found_ = false;
    while (ok && !found_) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now())
                .count();
        if (left <= 0) break;
        pollfd pfd[2] = {{fd, POLLIN, 0}, {wakeFd, POLLIN, 0}};
        const int n = poll(pfd, wakeFd >= 0 ? 2 : 1, static_cast<int>(left));
        if (n < 0 && errno != EINTR) break;
        if (wakeFd >= 0 && (pfd[1].revents & POLLIN)) {
            std::uint64_t count;
            [[maybe_unused]] ssize_t r = read(wakeFd, &count, sizeof count);
            if (cancelled && cancelled()) break;
        }
        if (pfd[0].revents & (POLLIN | POLLERR)) {
            char buf[2048];
            const ssize_t got = recv(fd, buf, sizeof buf, 0);
            if (got < 0 && errno != EINTR && errno != EAGAIN) break;  // e.g. the port is closed
            if (got > 0)
                found_ = ParseDiscoveryReport(std::string(buf, static_cast<std::size_t>(got)), msgId,
                                              engineId, clock);
        }
    }
    close(fd);
    return found_;
}
