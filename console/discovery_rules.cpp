#include "console/discovery_rules.h"

#include <QStringList>

bool ParseIpv4(const QString& text, quint32& address) {
    const QStringList parts = text.split('.');
    if (parts.size() != 4) return false;
    quint32 value = 0;
    for (const QString& part : parts) {
        if (part.isEmpty() || part.size() > 3) return false;
        for (QChar c : part)
            if (c < '0' || c > '9') return false;
        const int n = part.toInt();
        if (n > 255) return false;
        value = (value << 8) | quint32(n);
    }
    address = value;
    return true;
}

QString Ipv4Text(quint32 a) {
    return QStringLiteral("%1.%2.%3.%4")
        .arg(a >> 24)
        .arg((a >> 16) & 0xFF)
        .arg((a >> 8) & 0xFF)
        .arg(a & 0xFF);
}

bool ParseAddressRange(const QString& input, AddressRange& range, QString& error) {
    const QString text = input.trimmed();
    AddressRange r;
    const int slash = text.indexOf('/');
    const int dash = text.indexOf('-');
    if (slash >= 0) {
        bool ok = false;
        const QString bits = text.mid(slash + 1);
        r.prefix = bits.toInt(&ok);
        quint32 base;
        if (!ok || bits.isEmpty() || !bits[0].isDigit() || r.prefix < 0 || r.prefix > 32 ||
            !ParseIpv4(text.left(slash), base)) {
            error = QStringLiteral("\"%1\" is not a range: write 192.0.2.0/24 or 192.0.2.10-192.0.2.20.")
                        .arg(text);
            return false;
        }
        const quint32 mask = r.prefix == 0 ? 0 : ~quint32(0) << (32 - r.prefix);
        r.first = base & mask;
        r.last = r.first | ~mask;
    } else {
        quint32 first, last;
        const bool ok = dash >= 0 ? ParseIpv4(text.left(dash).trimmed(), first) &&
                                        ParseIpv4(text.mid(dash + 1).trimmed(), last)
                                  : ParseIpv4(text, first) && ParseIpv4(text, last);
        if (!ok) {
            error = QStringLiteral("\"%1\" is not a range: write 192.0.2.0/24 or 192.0.2.10-192.0.2.20.")
                        .arg(text);
            return false;
        }
        if (first > last) {
            error = QStringLiteral("The range %1 begins above its end.").arg(text);
            return false;
        }
        r.first = first;
        r.last = last;
    }
    if (r.Count() > kMaxDiscoveryAddresses) {
        error =
            QStringLiteral("The range %1 holds %2 addresses; one discovery covers at most 65,536 (a /16).")
                .arg(text)
                .arg(r.Count());
        return false;
    }
    range = r;
    return true;
}

bool IsSkippedAddress(quint32 a, const AddressRange& range) {
    if ((a >> 24) == 0 || (a >> 28) >= 0xE) return true;
    if (range.prefix >= 0) {
        if (range.prefix > 30) return false;
        return a == range.first || a == range.last;
    }
    return (a & 0xFF) == 0 || (a & 0xFF) == 0xFF;
}

QString RecognisedModel(const QString& sysObjectId, const QString& sysDescr) {
    static const char* const kModels[][2] = {{"1.3.6.1.4.1.32473.10.75.1.8", "KMS-7300-08E"},
                                             {"1.3.6.1.4.1.32473.10.75.1.28", "KMS-7300-28E"}};
    for (const auto& m : kModels)
        if (sysObjectId == QLatin1String(m[0])) return m[1];
    for (const auto& m : kModels)
        if (sysDescr.startsWith(QLatin1String(m[1]))) return m[1];
    return {};
}
