#include "console/console_command.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

#include "console/device_list.h"

namespace {

bool IntOption(const QCommandLineParser& p, const char* name, int low, int high, int& value, QString& error) {
    if (!p.isSet(name)) return true;
    bool ok = false;
    value = p.value(name).toInt(&ok);
    if (ok && value >= low && value <= high) return true;
    error = QStringLiteral("--%1 takes a number from %2 to %3.").arg(name).arg(low).arg(high);
    return false;
}

QString Flat(QString text) {
    for (QChar& c : text)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return text;
}

void SortByAddress(QList<DiscoveredDevice>& devices) {
    std::sort(devices.begin(), devices.end(), [](const DiscoveredDevice& a, const DiscoveredDevice& b) {
        quint32 x = 0, y = 0;
        ParseIpv4(a.address, x);
        ParseIpv4(b.address, y);
        return x != y ? x < y : a.port < b.port;
    });
}

// The SNMPv3 set of the command line, when it names a user.
bool V3Set(const QCommandLineParser& p, const QProcessEnvironment& env, CredentialSet& c, QString& error) {
    c.version = 3;
    c.userName = p.value("user");
    c.authPassword = p.isSet("auth-pass") ? p.value("auth-pass") : env.value("KMS_AUTH_PASSWORD");
    c.privPassword = p.isSet("priv-pass") ? p.value("priv-pass") : env.value("KMS_PRIV_PASSWORD");
    c.securityLevel = p.isSet("priv") ? 3 : p.isSet("auth") ? 2 : 1;
    if (p.isSet("level")) {
        c.securityLevel = SecurityLevelCode(p.value("level"));
        if (c.securityLevel == 0) {
            error = "--level takes 1 (noAuthNoPriv), 2 (authNoPriv) or 3 (authPriv).";
            return false;
        }
    }
    c.authProtocol = c.securityLevel >= 2 ? AuthProtocolCode(p.value("auth")) : 1;
    if (c.securityLevel >= 2 && c.authProtocol < 2) {
        error = "SNMPv3 with authentication needs --auth MD5, SHA, SHA-224, SHA-256, SHA-384 or SHA-512.";
        return false;
    }
    if (c.securityLevel >= 2 && c.authPassword.isEmpty()) {
        error = "SNMPv3 with authentication needs --auth-pass or KMS_AUTH_PASSWORD.";
        return false;
    }
    c.privProtocol = c.securityLevel == 3 ? PrivProtocolCode(p.value("priv")) : 1;
    if (c.securityLevel == 3 && c.privProtocol < 2) {
        error = "SNMPv3 with privacy needs --priv DES or AES.";
        return false;
    }
    if (c.securityLevel == 3 && c.privPassword.isEmpty()) {
        error = "SNMPv3 with privacy needs --priv-pass or KMS_PRIV_PASSWORD.";
        return false;
    }
    return true;
}

}  // namespace

void AddConsoleOptions(QCommandLineParser& p) {
    p.setApplicationDescription("Finds, keeps and watches the KMS-7300 switches of a network.");
    p.addHelpOption();
    p.addVersionOption();
    p.addOptions({
        {"discover",
         "Find the SNMP agents of RANGE (192.0.2.0/24 or 192.0.2.10-192.0.2.20) and print them; no window.",
         "RANGE"},
        {"port", "UDP port of the agents (default 161).", "N"},
        {"community",
         "Community to try (SNMPv1, or v2c with --v2c); may be given more than once. Default: "
         "$KMS_COMMUNITY.",
         "TEXT"},
        {"v2c", "Ask with SNMPv2c instead of SNMPv1."},
        {"user", "SNMPv3 user.", "U"},
        {"level", "SNMPv3 security level: 1 noAuthNoPriv, 2 authNoPriv, 3 authPriv.", "1-3"},
        {"auth", "SNMPv3 authentication: MD5, SHA, SHA-224, SHA-256, SHA-384, SHA-512.", "PROTO"},
        {"auth-pass", "SNMPv3 authentication password. Default: $KMS_AUTH_PASSWORD.", "P"},
        {"priv", "SNMPv3 privacy: DES or AES.", "PROTO"},
        {"priv-pass", "SNMPv3 privacy password. Default: $KMS_PRIV_PASSWORD.", "P"},
        {"timeout", "Milliseconds to wait for each answer (default 1000).", "MS"},
        {"retries", "Sends after a time-out (default 1).", "N"},
        {"json", "Print JSON."},
    });
}

bool DiscoverOptionsFrom(const QCommandLineParser& p, const QProcessEnvironment& env, DiscoveryOptions& o,
                         QString& error) {
    o = DiscoveryOptions{};
    if (!ParseAddressRange(p.value("discover"), o.range, error)) return false;
    if (!IntOption(p, "port", 1, 65535, o.port, error) ||
        !IntOption(p, "timeout", 1, 600000, o.timeoutMs, error) ||
        !IntOption(p, "retries", 0, 10, o.retries, error))
        return false;
    QStringList communities = p.values("community");
    if (communities.isEmpty() && !p.isSet("user") && env.contains("KMS_COMMUNITY"))
        communities.append(env.value("KMS_COMMUNITY"));
    for (const QString& community : communities) {
        CredentialSet c;
        c.version = p.isSet("v2c") ? 2 : 1;
        c.community = community;
        o.credentials.append(c);
    }
    if (p.isSet("user")) {
        CredentialSet c;
        if (!V3Set(p, env, c, error)) return false;
        o.credentials.append(c);
    }
    if (o.credentials.isEmpty()) {
        error = "Give --community TEXT (or KMS_COMMUNITY in the environment) or an SNMPv3 --user.";
        return false;
    }
    if (o.credentials.size() > 255) {
        error = "At most 255 credential sets may be tried.";
        return false;
    }
    return true;
}

QString FormatDiscoveredText(QList<DiscoveredDevice> devices) {
    SortByAddress(devices);
    QString out;
    for (const DiscoveredDevice& d : devices)
        out += QStringLiteral("%1\t%2\t%3\t%4\n")
                   .arg(d.address, d.model.isEmpty() ? QStringLiteral("unknown") : d.model, Flat(d.name),
                        Flat(d.description));
    return out;
}

QString FormatDiscoveredJson(QList<DiscoveredDevice> devices, const QList<CredentialSet>& sets) {
    SortByAddress(devices);
    QJsonArray array;
    for (const DiscoveredDevice& d : devices) {
        QJsonObject o;
        o["address"] = d.address;
        o["port"] = d.port;
        o["model"] = d.model.isEmpty() ? QJsonValue() : QJsonValue(d.model);
        o["name"] = d.name;
        o["description"] = d.description;
        o["objectId"] = d.objectId;
        if (d.credentialIndex >= 0 && d.credentialIndex < sets.size())
            o["credentials"] = sets[d.credentialIndex].label(d.credentialIndex);
        array.append(o);
    }
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented));
}

int RunDiscoverCommand(const QCommandLineParser& parser, QTextStream& out, QTextStream& err) {
    DiscoveryOptions options;
    QString error;
    if (!DiscoverOptionsFrom(parser, QProcessEnvironment::systemEnvironment(), options, error)) {
        err << "kms-console: " << error << "\n";
        return 2;
    }
    DiscoveryScan scan(options);
    QList<DiscoveredDevice> answered;
    QObject::connect(&scan, &DiscoveryScan::found, [&](const DiscoveredDevice& d) {
        if (d.failure == SnmpFailure::None) {
            answered.append(d);
            return;
        }
        err << "kms-console: " << d.address << ": authentication failure: " << SnmpFailureText(d.failure)
            << " (" << options.credentials[d.credentialIndex].label(d.credentialIndex) << ")\n";
    });
    if (!scan.run()) {
        err << "kms-console: the SNMP engine could not start.\n";
        return 1;
    }
    out << (parser.isSet("json") ? FormatDiscoveredJson(answered, options.credentials)
                                 : FormatDiscoveredText(answered));
    out.flush();
    err.flush();
    return 0;
}
