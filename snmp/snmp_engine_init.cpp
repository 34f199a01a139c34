// clang-format off
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
// clang-format on

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <system_error>

#include "snmp/common_snmp.h"
#include "snmp/snmp_engine.h"

namespace {

std::string& PrivateDir() {
    static std::string dir;
    return dir;
}

void RemovePrivateDir() {
    std::error_code ec;
    if (!PrivateDir().empty()) std::filesystem::remove_all(PrivateDir(), ec);
}

}  // namespace

bool SnmpEngineInit() {
    // A plain mutex rather than call_once: every thread that sees `initialised` set has synchronised
    // with the one that set it, in a way race checkers understand.
    static std::mutex once;
    static bool initialised = false;
    static bool ok = false;
    std::lock_guard<std::mutex> onceLock(once);
    if (initialised) return ok;
    initialised = true;
    {
        std::lock_guard<std::mutex> lock(EngineLock());
        // The library's persistent and configuration directories point into a directory of our own,
        // so nothing is read from /etc/snmp or ~/.snmp and nothing is written anywhere else.
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/kms-snmp-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) return false;
        PrivateDir() = pattern;
        // Made here so that the library does not announce making it.
        std::error_code ec;
        std::filesystem::create_directory(pattern + "/cert_indexes", ec);
        std::atexit(RemovePrivateDir);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_READ_CONFIGS, 1);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_PERSIST_STATE, 1);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_SAVE, 1);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_LOAD_HOST_FILES, 1);
        netsnmp_ds_set_string(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_PERSISTENT_DIR, pattern.c_str());
        netsnmp_ds_set_string(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_CONFIGURATION_DIR, pattern.c_str());
        // We speak numeric OIDs only: no MIB is looked for or loaded. The library takes its module
        // list from the environment only, and an empty list loads nothing.
        setenv("MIBS", "", 1);
        netsnmp_set_mib_directory(pattern.c_str());
        init_snmp("kms-module");
        ok = true;
    }
    return ok;
}
