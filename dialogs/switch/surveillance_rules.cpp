#include "dialogs/switch/surveillance_rules.h"

#include <array>

#include "core/text_number.h"
#include "dialogs/common/address_checks.h"
#include "snmp/encodings.h"

namespace {

// The description is UTF-8 from an edit box: the name check, no control characters, and no longer than
// the switch keeps.
bool AcceptableDescription(const std::string& text) {
    for (unsigned char c : text)
        if (c < 0x20) return false;
    return Utf8Characters(text) <= static_cast<std::size_t>(kMaxOuiDescription) && IsValidName(text);
}

}  // namespace

std::string SurveillanceApplyRefusal(int asymmetricState, int voiceState, int voiceVlanId, int chosenVlanId) {
    if (asymmetricState == 1) return SurveillanceText::kAsymmetric;
    if (voiceState == 1 && voiceVlanId == chosenVlanId) return SurveillanceText::kVoiceVlanId;
    return "";
}

bool IsDefaultOui(const std::string& addressBytes) {
    return addressBytes.size() >= 3 && static_cast<unsigned char>(addressBytes[0]) == 0x5A &&
           static_cast<unsigned char>(addressBytes[1]) == 0xC2 &&
           static_cast<unsigned char>(addressBytes[2]) == 0x91;
}

int UserOuiCount(const std::vector<std::string>& listed) {
    int n = 0;
    for (const std::string& a : listed) n += IsDefaultOui(a) ? 0 : 1;
    return n;
}

std::string OuiAddRefusal(OuiForm form, const std::string& description, const std::string& macText,
                          const std::vector<std::string>& listed) {
    const bool settings = form == OuiForm::Settings;
    if (!AcceptableDescription(description))
        return settings ? SurveillanceText::kInvalidDescription : SurveillanceText::kInvalidVlanDescription;
    std::array<unsigned char, 6> mac{};
    switch (CheckStationMac(macText, &mac)) {
        case MacProblem::Format:
            return SurveillanceText::kMacFormat;
        case MacProblem::Broadcast:
            return settings ? SurveillanceText::kBroadcast : SurveillanceText::kMulticastOuiDialog;
        case MacProblem::Multicast:
            return settings ? SurveillanceText::kMulticast : SurveillanceText::kMulticastOuiDialog;
        case MacProblem::None:
            break;
    }
    const std::string bytes(mac.begin(), mac.end());
    // Every address of the default OUI is covered by the default entry (its mask is FF-FF-FF-00-00-00).
    if (IsDefaultOui(bytes)) return SurveillanceText::kDefaultOui;
    for (const std::string& a : listed)
        if (a == bytes) return SurveillanceText::kExists;
    if (UserOuiCount(listed) >= kMaxUserOuis) return SurveillanceText::kFull;
    return "";
}

std::string OuiIndex(const std::string& addressBytes) {
    if (addressBytes.size() != 6) return "";
    std::string index;
    for (unsigned char b : addressBytes) index += "." + std::to_string(b);
    return index;
}

std::string OuiBytesFromIndex(const std::string& suffix) {
    std::string bytes;
    std::size_t at = 0;
    while (at < suffix.size()) {
        if (suffix[at] != '.') return "";
        const std::size_t end = suffix.find('.', at + 1);
        const std::string part = suffix.substr(at + 1, end == std::string::npos ? end : end - at - 1);
        if (part.empty() || part.size() > 3 || part.find_first_not_of("0123456789") != std::string::npos)
            return "";
        const int value = LeadingInt(part);
        if (value > 255) return "";
        bytes += static_cast<char>(value);
        at = end == std::string::npos ? suffix.size() : end;
    }
    return bytes.size() == 6 ? bytes : "";
}

std::string ComponentTypeText(int type) {
    for (const Choice& c : kComponentTypeChoices)
        if (c.value == type) return c.text;
    return type == 5 ? "Veltra_Surveillance_Device" : std::to_string(type);
}
