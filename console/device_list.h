#pragma once
// The console's device list and its file. The file is plain text in the user's configuration folder
// (see console/README.md, "The device list file"); it never holds a password or a community: those live
// in the SecretStore, keyed by the device's id.

#include <QList>
#include <QString>

struct ConsoleDevice {
    QString id;  // stable key of the device's secrets, made when the device is added
    QString name;
    QString address;  // dotted IPv4
    int port = 161;
    int version = 1;  // 1, 2 (SNMPv2c) or 3
    // SNMPv3: level 1 noAuthNoPriv, 2 authNoPriv, 3 authPriv; protocols as the module's codes: auth 2
    // MD5, 3 SHA-1, 4..7 SHA-224..512; priv 2 DES, 4 AES-128; 1 none.
    QString userName;
    int securityLevel = 1;
    int authProtocol = 1;
    int privProtocol = 1;
    QString model;  // "KMS-7300-08E", "KMS-7300-28E", or empty: unknown
    bool writeAccess = true;
    QString note;

    bool operator==(const ConsoleDevice&) const = default;
};

// A fresh id for a new device.
QString NewDeviceId();

// The texts the file uses for the codes, and back. Unknown codes give an empty text; unknown texts
// (case-insensitive) give 0.
QString VersionText(int version);  // "1", "2c", "3"
int VersionCode(const QString& text);
QString SecurityLevelText(int level);  // "noAuthNoPriv", "authNoPriv", "authPriv"
int SecurityLevelCode(const QString& text);
QString AuthProtocolText(int code);  // "none", "MD5", "SHA-1", "SHA-224" .. "SHA-512"
int AuthProtocolCode(const QString& text);
QString PrivProtocolText(int code);  // "none", "DES", "AES-128"
int PrivProtocolCode(const QString& text);

// Why a device cannot be kept as it is (for people), or empty when it can.
QString DeviceProblem(const ConsoleDevice& device);

// The file's text for the list, and the list from a file's text. On a fault ParseDeviceList returns
// false with the 1-based line number and the reason.
QString FormatDeviceList(const QList<ConsoleDevice>& devices);
bool ParseDeviceList(const QString& text, QList<ConsoleDevice>& devices, int& errorLine, QString& error);

// $XDG_CONFIG_HOME/kms-console (~/.config/kms-console when unset).
QString ConsoleConfigFolder();
// ConsoleConfigFolder() + "/devices.conf".
QString DefaultDeviceListPath();

struct DeviceListLoad {
    bool ok = true;                // false: the file could not be read or was damaged
    QList<ConsoleDevice> devices;  // empty unless ok
    QString message;               // for people when !ok: what, where, and where the file went
    QString keptAs;                // a damaged file's new name
};

// Reads the list. A missing file is an empty list. A damaged file is renamed aside (to
// "devices.conf.damaged-YYYYMMDD-HHMMSS", never over another file) so the next save cannot overwrite it.
DeviceListLoad LoadDeviceList(const QString& path = DefaultDeviceListPath());
// Writes the list to a temporary file beside `path` and renames it over `path`, so a crash while
// saving leaves the old list or the new one, never a mix. False with a message on failure.
bool SaveDeviceList(const QList<ConsoleDevice>& devices, QString* message = nullptr,
                    const QString& path = DefaultDeviceListPath());
