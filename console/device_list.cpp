#include "console/device_list.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QStandardPaths>
#include <QStringList>
#include <QUuid>

#include "console/discovery_rules.h"

namespace {

const int kFormat = 1;

const char* const kAuthNames[] = {"none", "MD5", "SHA-1", "SHA-224", "SHA-256", "SHA-384", "SHA-512"};

QString Escape(const QString& value) {
    QString out;
    for (QChar c : value) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

bool Unescape(const QString& value, QString& out) {
    out.clear();
    for (int i = 0; i < value.size(); ++i) {
        if (value[i] != '\\') {
            out += value[i];
            continue;
        }
        if (++i == value.size()) return false;
        if (value[i] == '\\')
            out += '\\';
        else if (value[i] == 'n')
            out += '\n';
        else if (value[i] == 'r')
            out += '\r';
        else
            return false;
    }
    return true;
}

// One [device] block being read.
struct Block {
    ConsoleDevice device;
    int line = 0;
    QSet<QString> keys;
};

// Applies one key of a block; the reason when the value is not one the key takes.
QString ApplyKey(ConsoleDevice& d, const QString& key, const QString& value) {
    bool ok = true;
    if (key == "id")
        d.id = value;
    else if (key == "name")
        d.name = value;
    else if (key == "address")
        d.address = value;
    else if (key == "port")
        d.port = value.toInt(&ok);
    else if (key == "version")
        ok = (d.version = VersionCode(value)) != 0;
    else if (key == "user")
        d.userName = value;
    else if (key == "level")
        ok = (d.securityLevel = SecurityLevelCode(value)) != 0;
    else if (key == "auth")
        ok = (d.authProtocol = AuthProtocolCode(value)) != 0;
    else if (key == "priv")
        ok = (d.privProtocol = PrivProtocolCode(value)) != 0;
    else if (key == "model")
        d.model = value;
    else if (key == "write") {
        ok = value == "yes" || value == "no";
        d.writeAccess = value == "yes";
    } else if (key == "note")
        d.note = value;
    else
        return QStringLiteral("unknown key \"%1\"").arg(key);
    return ok ? QString() : QStringLiteral("\"%1\" is not a value of %2").arg(value, key);
}

}  // namespace

QString NewDeviceId() {
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

QString VersionText(int version) {
    switch (version) {
        case 1:
            return "1";
        case 2:
            return "2c";
        case 3:
            return "3";
        default:
            return {};
    }
}

int VersionCode(const QString& text) {
    const QString t = text.toLower();
    return t == "1" ? 1 : (t == "2c" || t == "2") ? 2 : t == "3" ? 3 : 0;
}

QString SecurityLevelText(int level) {
    switch (level) {
        case 1:
            return "noAuthNoPriv";
        case 2:
            return "authNoPriv";
        case 3:
            return "authPriv";
        default:
            return {};
    }
}

int SecurityLevelCode(const QString& text) {
    for (int level = 1; level <= 3; ++level)
        if (text.compare(SecurityLevelText(level), Qt::CaseInsensitive) == 0 ||
            text == QString::number(level))
            return level;
    return 0;
}

QString AuthProtocolText(int code) {
    if (code == 1) return kAuthNames[0];
    return code >= 2 && code <= 7 ? kAuthNames[code - 1] : QString();
}

int AuthProtocolCode(const QString& text) {
    if (text.compare("SHA", Qt::CaseInsensitive) == 0) return 3;
    for (int code = 1; code <= 7; ++code)
        if (text.compare(AuthProtocolText(code), Qt::CaseInsensitive) == 0) return code;
    return 0;
}

QString PrivProtocolText(int code) {
    switch (code) {
        case 1:
            return "none";
        case 2:
            return "DES";
        case 4:
            return "AES-128";
        default:
            return {};
    }
}

int PrivProtocolCode(const QString& text) {
    if (text.compare("AES", Qt::CaseInsensitive) == 0) return 4;
    for (int code : {1, 2, 4})
        if (text.compare(PrivProtocolText(code), Qt::CaseInsensitive) == 0) return code;
    return 0;
}

QString DeviceProblem(const ConsoleDevice& d) {
    quint32 address;
    if (d.id.trimmed().isEmpty()) return "The device has no id.";
    if (!ParseIpv4(d.address, address)) return "The address must be an IPv4 address such as 192.0.2.7.";
    if (d.port < 1 || d.port > 65535) return "The UDP port must be between 1 and 65535.";
    if (VersionText(d.version).isEmpty()) return "The SNMP version must be 1, 2c or 3.";
    if (d.version != 3) return {};
    if (d.userName.isEmpty()) return "An SNMPv3 device needs a user name.";
    if (SecurityLevelText(d.securityLevel).isEmpty()) return "The security level must be 1, 2 or 3.";
    if (d.securityLevel >= 2 && (d.authProtocol < 2 || AuthProtocolText(d.authProtocol).isEmpty()))
        return "This security level needs an authentication protocol.";
    if (d.securityLevel == 3 && d.privProtocol != 2 && d.privProtocol != 4)
        return "This security level needs a privacy protocol.";
    return {};
}

QString FormatDeviceList(const QList<ConsoleDevice>& devices) {
    QString out;
    out +=
        "# kms-console device list: one [device] block per switch, \"key = value\" lines.\n"
        "# Passwords and communities are not kept here. See kms-console's README for the keys.\n";
    out += QStringLiteral("format = %1\n").arg(kFormat);
    for (const ConsoleDevice& d : devices) {
        out += "\n[device]\n";
        auto put = [&out](const char* key, const QString& value) {
            out += QStringLiteral("%1 = %2\n").arg(QLatin1String(key), Escape(value));
        };
        put("id", d.id);
        put("name", d.name);
        put("address", d.address);
        put("port", QString::number(d.port));
        put("version", VersionText(d.version));
        if (d.version == 3) {
            put("user", d.userName);
            put("level", SecurityLevelText(d.securityLevel));
            put("auth", AuthProtocolText(d.authProtocol));
            put("priv", PrivProtocolText(d.privProtocol));
        }
        put("model", d.model);
        put("write", d.writeAccess ? "yes" : "no");
        if (!d.note.isEmpty()) put("note", d.note);
    }
    return out;
}

bool ParseDeviceList(const QString& text, QList<ConsoleDevice>& devices, int& errorLine, QString& error) {
    devices.clear();
    QList<Block> blocks;
    const QStringList lines = text.split('\n');
    auto fail = [&](int line, const QString& why) {
        errorLine = line;
        error = why;
        devices.clear();
        return false;
    };
    for (int i = 0; i < lines.size(); ++i) {
        const int lineNo = i + 1;
        QString line = lines[i];
        if (line.endsWith('\r')) line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith('#')) continue;
        if (trimmed == "[device]") {
            blocks.append(Block{{}, lineNo, {}});
            continue;
        }
        const int eq = trimmed.indexOf('=');
        if (eq <= 0) return fail(lineNo, "expected \"[device]\" or \"key = value\"");
        const QString key = trimmed.left(eq).trimmed();
        QString value;
        if (!Unescape(trimmed.mid(eq + 1).trimmed(), value)) return fail(lineNo, "a bad \\ escape");
        if (blocks.isEmpty()) {
            if (key != "format")
                return fail(lineNo, QStringLiteral("\"%1\" outside a [device] block").arg(key));
            bool ok = false;
            const int format = value.toInt(&ok);
            if (!ok || format < 1) return fail(lineNo, "a bad format number");
            if (format > kFormat)
                return fail(lineNo, "written by a newer kms-console (format " + value + ")");
            continue;
        }
        Block& b = blocks.last();
        if (b.keys.contains(key)) return fail(lineNo, QStringLiteral("\"%1\" given twice").arg(key));
        b.keys.insert(key);
        const QString why = ApplyKey(b.device, key, value);
        if (!why.isEmpty()) return fail(lineNo, why);
    }
    QSet<QString> ids;
    for (const Block& b : blocks) {
        const QString problem = DeviceProblem(b.device);
        if (!problem.isEmpty()) return fail(b.line, problem);
        if (ids.contains(b.device.id)) return fail(b.line, "the id " + b.device.id + " is given twice");
        ids.insert(b.device.id);
        devices.append(b.device);
    }
    return true;
}

QString ConsoleConfigFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/kms-console";
}

QString DefaultDeviceListPath() {
    return ConsoleConfigFolder() + "/devices.conf";
}

DeviceListLoad LoadDeviceList(const QString& path) {
    DeviceListLoad result;
    QFile file(path);
    if (!file.exists()) return result;
    if (!file.open(QIODevice::ReadOnly)) {
        result.ok = false;
        result.message = QStringLiteral("%1 cannot be read: %2").arg(path, file.errorString());
        return result;
    }
    const QByteArray bytes = file.readAll();
    file.close();
    int line = 0;
    QString why;
    const QString text = QString::fromUtf8(bytes);
    const bool valid = text.toUtf8() == bytes;  // not UTF-8: damaged
    if (valid && ParseDeviceList(text, result.devices, line, why)) return result;
    if (!valid) why = "the file is not UTF-8 text";
    result.ok = false;
    const QString stamp = QDateTime::currentDateTime().toString("yyyyMMdd-HHmmss");
    QString aside = path + ".damaged-" + stamp;
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = QStringLiteral("%1.damaged-%2-%3").arg(path, stamp).arg(n);
    const QString where = line > 0 ? QStringLiteral("%1 line %2: %3").arg(path).arg(line).arg(why)
                                   : QStringLiteral("%1: %2").arg(path, why);
    if (QFile::rename(path, aside)) {
        result.keptAs = aside;
        result.message = where + ". The file was kept as " + aside + "; the list starts empty.";
    } else {
        result.message = where + ". The file could not be moved aside and is left as it is.";
    }
    return result;
}

bool SaveDeviceList(const QList<ConsoleDevice>& devices, QString* message, const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    const QByteArray bytes = FormatDeviceList(devices).toUtf8();
    const bool ok = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    if (!ok && message)
        *message =
            QStringLiteral("The device list could not be saved to %1: %2").arg(path, file.errorString());
    return ok;
}
