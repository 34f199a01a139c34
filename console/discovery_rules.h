#pragma once
// The pure rules of discovery: address ranges, which addresses are skipped, and which model an agent's
// system objects name.

#include <QString>
#include <QtGlobal>

// Dotted IPv4 text ("192.0.2.7": four decimal parts 0..255, nothing else) to a host-order number.
bool ParseIpv4(const QString& text, quint32& address);
QString Ipv4Text(quint32 address);

struct AddressRange {
    quint32 first = 0;
    quint32 last = 0;
    int prefix = -1;  // the CIDR prefix length; -1 for a first-last range
    quint64 Count() const { return quint64(last) - first + 1; }
};

// The most addresses one discovery may cover.
inline constexpr quint64 kMaxDiscoveryAddresses = 65536;

// "192.0.2.0/24" (the address's host bits may be set: the network is taken) or "192.0.2.10-192.0.2.20";
// a single address is a range of one. False with a message for people when the text is not a range,
// the first address is above the last, or the range holds more than kMaxDiscoveryAddresses addresses.
bool ParseAddressRange(const QString& text, AddressRange& range, QString& error);

// True for the addresses discovery does not ask: the network and broadcast addresses of a CIDR range
// (prefixes up to /30; /31 and /32 have none), for a first-last range those of each /24 it crosses
// (x.y.z.0 and x.y.z.255), and anywhere 0.0.0.0/8, multicast (224.0.0.0/4) and 240.0.0.0/4.
bool IsSkippedAddress(quint32 address, const AddressRange& range);

// The model an agent's sysObjectID.0 (dotted, without a leading dot) and sysDescr.0 name:
// "KMS-7300-08E", "KMS-7300-28E", or empty when neither does.
QString RecognisedModel(const QString& sysObjectId, const QString& sysDescr);
