#pragma once
// Process-wide settings of the module: filled once at start-up from the console's command line and
// User.ini, read-only afterwards.

#include <string>

struct ModuleSettings {
    std::string FirstParameter;  // item 1: kept, nothing reads it
    std::string DeviceAddress;   // item 2: dotted IPv4 text
    std::string ReadCommunity = "rdcomm";
    std::string WriteCommunity = "wrcomms";
    bool WriteAccess = true;
    std::string SnmpVersion = "1";     // "1" SNMPv1, "2" SNMPv2c, "3" SNMPv3
    std::string SnmpPort = "161";      // UDP port every request goes to
    std::string TenthParameter = "1";  // kept, nothing reads it
    std::string SecurityLevel = "1";   // "1" noAuthNoPriv, "2" authNoPriv, "3" authPriv
    std::string UserName;
    std::string AuthPassword;
    std::string PrivPassword;
    std::string AuthProtocol = "1";        // "2" MD5, "3" SHA-1, "4".."7" SHA-224..512, other none
    std::string PrivProtocol = "1";        // "2" DES, "4" AES-128, other none
    std::string SnmpTimeoutText = "3000";  // milliseconds
    bool UseGetBulk = true;                // SNMPv3 walks may travel as get-bulk
    bool ReadAhead = true;                 // get-next walks may ask for the rows ahead too
    // From User.ini (read when the main window opens).
    std::string DeviceName;
    int PortCount = 28;
    bool AllGiga = false;
    bool HasFan = false;
};

// The one instance of the process. Written only during start-up.
ModuleSettings& Settings();

// True for the models that carry PoE (and LLDP) menus and polls: a name containing "p" or "P", and the
// two E-models whose names lack the letter.
bool IsPoeModel(const std::string& deviceName);

// "Module:" + DeviceName + DeviceAddress: names the single-instance lock and the activation channel.
std::string InstanceName(const ModuleSettings& s);
