#pragma once
// Discovery of the switches of an address range: one get of sysObjectID.0, sysDescr.0 and sysName.0
// per address, many addresses in flight at once from one worker thread (MultiRequester), credential
// sets tried in order until one brings an answer.

#include <QList>
#include <QMetaType>
#include <QObject>
#include <QString>
#include <atomic>
#include <memory>

#include "console/device_list.h"
#include "console/discovery_rules.h"
#include "console/secret_store.h"
#include "snmp/snmp_engine.h"
#include "snmp/snmp_failure.h"

class MultiRequester;
class QThread;

// One way of asking: a community (SNMPv1 or v2c) or an SNMPv3 user.
struct CredentialSet {
    int version = 2;  // 1, 2 (SNMPv2c) or 3
    QString community;
    QString userName;
    int securityLevel = 1;  // 1..3
    int authProtocol = 1;   // the module's codes (see ConsoleDevice)
    QString authPassword;
    int privProtocol = 1;
    QString privPassword;
    // For people, never with a secret: "SNMPv2c community 1", "SNMPv3 user admin".
    QString label(int index) const;
};

// The engine's target for one address and port with one credential set.
EngineTarget MakeTarget(const QString& address, int port, const CredentialSet& credentials);
// How a listed device is asked (reads: its read community).
CredentialSet DeviceCredentials(const ConsoleDevice& device, const DeviceSecrets& secrets);

struct DiscoveryOptions {
    AddressRange range;
    int port = 161;
    QList<CredentialSet> credentials;
    int timeoutMs = 1000;
    int retries = 1;
};

struct DiscoveredDevice {
    QString address;
    int port = 161;
    QString name;              // sysName.0
    QString description;       // sysDescr.0
    QString objectId;          // sysObjectID.0
    QString model;             // RecognisedModel(): "KMS-7300-08E", "KMS-7300-28E" or empty
    int credentialIndex = -1;  // the set that answered, or the first the agent refused
    // None: it answered. Otherwise an SNMPv3 agent refused every set; this is its reason for the
    // first one it refused (SnmpFailureText names it).
    SnmpFailure failure = SnmpFailure::None;
};
Q_DECLARE_METATYPE(DiscoveredDevice)

class DiscoveryScan : public QObject {
    Q_OBJECT
public:
    explicit DiscoveryScan(DiscoveryOptions options, QObject* parent = nullptr);
    ~DiscoveryScan() override;  // stops a running scan and waits for its worker

    // Runs the scan on a worker thread of its own; the signals arrive queued in the receiver's thread.
    void start();
    // Ends a running scan at once (requests in flight are dropped); finished(true) follows. Any thread.
    void stop();
    bool isRunning() const { return m_running.load(); }
    // Runs the scan on the calling thread to its end (for the command line). The signals are emitted
    // on this thread. False when stopped or when the SNMP engine cannot start.
    bool run();

    const DiscoveryOptions& options() const { return m_options; }

signals:
    // An agent that answered, or an SNMPv3 agent that refused every credential set.
    void found(const DiscoveredDevice& device);
    // `done` of `total` addresses settled (skipped addresses count as done at once).
    void progress(qint64 done, qint64 total);
    void finished(bool stopped);

private:
    DiscoveryOptions m_options;
    std::unique_ptr<MultiRequester> m_requester;
    QThread* m_thread = nullptr;
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_stopRequested{false};
};
