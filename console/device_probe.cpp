#include "console/device_probe.h"

#include <memory>

void ProbeDevice(const QString& address, int port, const CredentialSet& credentials, QObject* context,
                 std::function<void(const DiscoveredDevice&)> done, int timeoutMs, int retries) {
    DiscoveryOptions o;
    quint32 a = 0;
    ParseIpv4(address, a);
    o.range = {a, a, 32};  // one address, never skipped as a network or broadcast address
    o.port = port;
    o.credentials = {credentials};
    o.timeoutMs = timeoutMs;
    o.retries = retries;
    auto result = std::make_shared<DiscoveredDevice>();
    result->address = address;
    result->port = port;
    result->failure = SnmpFailure::NoAnswer;
    // Owned by the context: when it goes first, the scan is stopped and nothing is called.
    auto* scan = new DiscoveryScan(o, context);
    QObject::connect(scan, &DiscoveryScan::found, context,
                     [result](const DiscoveredDevice& d) { *result = d; });
    QObject::connect(scan, &DiscoveryScan::finished, context, [scan, result, done] {
        scan->deleteLater();
        done(*result);
    });
    scan->start();
}
