#include "dialogs/switch/dot1x_rules.h"

#include "core/text_number.h"

std::string RadiusAddressRefusal(const Ipv4Fields& address) {
    if (address.AllZero() || address.FirstIs0Or255() || address.LastIs0Or255())
        return Dot1xText::kInvalidServer;
    return {};
}

std::string KeyRefusal(const std::string& key, const std::string& confirmation) {
    if (key.empty()) return Dot1xText::kInvalidKey;
    if (key != confirmation) return Dot1xText::kConfirmKey;
    return {};
}

std::string Dot1xTimerRefusal(const Dot1xTimerTexts& t) {
    struct Check {
        const std::string& text;
        std::uint64_t low, high;
        const char* message;
    };
    const Check checks[] = {
        {t.quietPeriod, 0, 65535, "Invalid QuietPeriod (0-65535)"},
        {t.txPeriod, 1, 65535, "Invalid TxPeriod (1-65535)"},
        {t.suppTimeout, 1, 65535, "Invalid SuppTimeout (1-65535)"},
        {t.serverTimeout, 1, 65535, "Invalid ServerTimeout (1-65535)"},
        {t.maxReq, 1, 10, "Invalid MaxReq (1-10)"},
        {t.reAuthPeriod, 1, 4294967295ULL, "Invalid ReAuthPeriod (1-4294967295)"},
    };
    for (const Check& c : checks) {
        // Only plain digits are a number here: an empty field, letters or other digits would otherwise
        // go out as 0.
        std::uint64_t value = 0;
        if (!ParseUnsigned(c.text, value) || value < c.low || value > c.high) return c.message;
    }
    return {};
}

std::string Dot1xApplyRefusal(const Ipv4Fields& server, const std::string& key,
                              const std::string& confirmation, const Dot1xTimerTexts& timers) {
    std::string refusal = RadiusAddressRefusal(server);
    if (refusal.empty()) refusal = KeyRefusal(key, confirmation);
    if (refusal.empty()) refusal = Dot1xTimerRefusal(timers);
    return refusal;
}

std::string AllPortsRefusal(const std::vector<int>& portControl, int from, int to, int newCode) {
    if (newCode != kForceUnauthorized && newCode != kAuto) return {};
    int outside = 0, forceUnauthorized = 0, automatic = 0;
    for (int p = 1; p <= static_cast<int>(portControl.size()); ++p) {
        if (p >= from && p <= to) continue;
        ++outside;
        forceUnauthorized += portControl[p - 1] == kForceUnauthorized;
        automatic += portControl[p - 1] == kAuto;
    }
    if (newCode == kForceUnauthorized && forceUnauthorized == outside)
        return Dot1xText::kAllForceUnauthorized;
    if (newCode == kAuto && automatic == outside) return Dot1xText::kAllAuto;
    if (forceUnauthorized + automatic == outside) return Dot1xText::kAllAutoOrForceUnauthorized;
    return {};
}

std::vector<std::vector<int>> PortControlBatches(int from, int to) {
    std::vector<std::vector<int>> batches;
    std::vector<int> batch;
    for (int p = from; p <= to; ++p) {
        batch.push_back(p);
        if ((p - from) % 30 == 0) {
            batches.push_back(batch);
            batch.clear();
        }
    }
    if (!batch.empty()) batches.push_back(std::move(batch));
    return batches;
}

std::string PortStatusText(int status) {
    return status == 1 ? "authorized" : status == 2 ? "unauthorized" : "other";
}

std::string PortControlText(int control) {
    switch (control) {
        case kForceUnauthorized:
            return "forceUnauthorized";
        case kAuto:
            return "auto";
        case kForceAuthorized:
            return "forceAuthorized";
        default:
            return "other";
    }
}
