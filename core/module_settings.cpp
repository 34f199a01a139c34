#include "core/module_settings.h"

ModuleSettings& Settings() {
    static ModuleSettings settings;
    return settings;
}

bool IsPoeModel(const std::string& deviceName) {
    // The two E-models carry PoE although their names have no "P".
    if (deviceName == "KMS-7300-08E" || deviceName == "KMS-7300-28E") return true;
    return deviceName.find_first_of("pP") != std::string::npos;
}

std::string InstanceName(const ModuleSettings& s) { return "Module:" + s.DeviceName + s.DeviceAddress; }
