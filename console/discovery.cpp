#include "console/discovery.h"

#include <QElapsedTimer>
#include <QThread>
#include <deque>
#include <unordered_map>

#include "core/debug_out.h"
#include "snmp/multi_request.h"

namespace {

// sysDescr.0, sysObjectID.0, sysName.0
const OidArcs kSysDescr = {1, 3, 6, 1, 2, 1, 1, 1, 0};
const OidArcs kSysObjectId = {1, 3, 6, 1, 2, 1, 1, 2, 0};
const OidArcs kSysName = {1, 3, 6, 1, 2, 1, 1, 5, 0};

QString TextValue(const std::vector<SnmpBinding>& bindings, const OidArcs& oid) {
    const std::string name = OidArcsText(oid);
    for (const SnmpBinding& b : bindings)
        if (b.oid == name && (b.type == kSnmpOctetString || b.type == kSnmpObjectId))
            return QString::fromUtf8(b.value.data(), qsizetype(b.value.size()));
    return {};
}

}  // namespace

QString CredentialSet::label(int index) const {
    if (version == 3) return "SNMPv3 user " + userName;
    return QStringLiteral("SNMPv%1 community %2").arg(version == 2 ? "2c" : "1").arg(index + 1);
}

EngineTarget MakeTarget(const QString& address, int port, const CredentialSet& c) {
    EngineTarget t;
    t.host = address.toStdString();
    t.port = port;
    t.peer = "udp:" + t.host + ":" + std::to_string(port);
    t.version = c.version;
    t.community = c.community.toStdString();
    t.userName = c.userName.toStdString();
    t.securityLevel = c.securityLevel;
    t.authCode = c.authProtocol;
    t.privCode = c.privProtocol;
    t.authPassword = c.authPassword.toStdString();
    t.privPassword = c.privPassword.toStdString();
    return t;
}

CredentialSet DeviceCredentials(const ConsoleDevice& d, const DeviceSecrets& s) {
    CredentialSet c;
    c.version = d.version;
    c.community = s.readCommunity;
    c.userName = d.userName;
    c.securityLevel = d.securityLevel;
    c.authProtocol = d.authProtocol;
    c.authPassword = s.authPassword;
    c.privProtocol = d.privProtocol;
    c.privPassword = s.privPassword;
    return c;
}

DiscoveryScan::DiscoveryScan(DiscoveryOptions options, QObject* parent)
    : QObject(parent), m_options(std::move(options)), m_requester(std::make_unique<MultiRequester>()) {
    qRegisterMetaType<DiscoveredDevice>();
}

DiscoveryScan::~DiscoveryScan() {
    stop();
    if (m_thread) {
        m_thread->wait();
        delete m_thread;
    }
}

void DiscoveryScan::start() {
    if (m_running.load() || m_thread) return;
    m_running = true;
    m_thread = QThread::create([this] { run(); });
    m_thread->start();
}

void DiscoveryScan::stop() {
    m_stopRequested = true;
    m_requester->Stop();
}

bool DiscoveryScan::run() {
    m_running = true;
    const DiscoveryOptions& o = m_options;
    const qint64 total = qint64(o.range.Count());
    DebugOut(QStringLiteral("discovery: %1 to %2, %3 addresses, %4 credential sets, %5 in flight")
                 .arg(Ipv4Text(o.range.first), Ipv4Text(o.range.last))
                 .arg(total)
                 .arg(o.credentials.size())
                 .arg(m_requester->MaxInFlight())
                 .toStdString());
    qint64 settled = 0;
    quint64 nextAddress = o.range.first;
    std::deque<MultiGet> followUps;  // the next credential set for an address the last one did not reach
    // The first refusal of each address still being tried, by address.
    std::unordered_map<quint32, std::pair<SnmpFailure, int>> refusals;
    QElapsedTimer sinceProgress;
    sinceProgress.start();
    auto settle = [&](bool force = false) {
        ++settled;
        if (force || settled == total || sinceProgress.elapsed() >= 50) {
            emit progress(settled, total);
            sinceProgress.restart();
        }
    };
    auto makeGet = [&](quint32 address, int set) {
        MultiGet g;
        g.tag = (quint64(address) << 8) | quint64(set);
        g.target = MakeTarget(Ipv4Text(address), o.port, o.credentials[set]);
        g.oids = {kSysObjectId, kSysDescr, kSysName};
        g.timeoutMs = static_cast<unsigned long>(qMax(1, o.timeoutMs));
        g.retries = qMax(0, o.retries);
        return g;
    };
    auto next = [&](MultiGet& g) {
        if (!followUps.empty()) {
            g = std::move(followUps.front());
            followUps.pop_front();
            return true;
        }
        while (nextAddress <= o.range.last && !o.credentials.isEmpty()) {
            const auto address = quint32(nextAddress++);
            if (IsSkippedAddress(address, o.range)) {
                settle();
                continue;
            }
            g = makeGet(address, 0);
            return true;
        }
        return false;
    };
    auto done = [&](MultiGetResult&& r) {
        const auto address = quint32(r.tag >> 8);
        const int set = int(r.tag & 0xFF);
        DiscoveredDevice d;
        d.address = Ipv4Text(address);
        d.port = o.port;
        if (r.failure == SnmpFailure::None) {
            refusals.erase(address);
            d.objectId = TextValue(r.bindings, kSysObjectId);
            d.description = TextValue(r.bindings, kSysDescr);
            d.name = TextValue(r.bindings, kSysName);
            d.model = RecognisedModel(d.objectId, d.description);
            d.credentialIndex = set;
            DebugOut(("discovery: " + d.address + " answered (" + o.credentials[set].label(set) +
                      "), model " + (d.model.isEmpty() ? QStringLiteral("unknown") : d.model))
                         .toStdString());
            emit found(d);
            return settle();
        }
        if (IsSecurityRefusal(r.failure) && !refusals.count(address)) refusals[address] = {r.failure, set};
        if (set + 1 < o.credentials.size()) return followUps.push_back(makeGet(address, set + 1));
        auto refused = refusals.find(address);
        if (refused != refusals.end()) {
            d.failure = refused->second.first;
            d.credentialIndex = refused->second.second;
            refusals.erase(refused);
            DebugOut(("discovery: " + d.address + " refused: " + SnmpFailureText(d.failure)).toStdString());
            emit found(d);
        }
        settle();
    };
    const bool completed = m_requester->Run(next, done);
    const bool stopped = m_requester->Stopped() || m_stopRequested.load();
    DebugOut(stopped ? "discovery: stopped" : "discovery: finished");
    m_running = false;
    emit finished(stopped);
    return completed && !stopped;
}
