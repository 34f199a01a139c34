#pragma once
// What the Device Configure dialog decides without a widget or a request: the text a line shows for an
// item of the device configuration command file and the device's answer, and the value Apply writes.

#include <string>
#include <utility>
#include <vector>

using ValuePairs = std::vector<std::pair<std::string, std::string>>;  // (label, device value)

// The shown value: for a label containing "Time" the answer in hundredths of a second as hours and
// minutes ("5 Hour3 Min"); for an item with a value list the label of the pair whose value equals the
// answer; otherwise (and for an answer no pair names) the answer itself.
std::string DeviceConfigValueText(const std::string& label, const ValuePairs& pairs,
                                  const std::string& answer);

// The item an answer belongs to: the answer's object without its instance ".0".
std::string DeviceConfigItemOf(const std::string& answerOid);

// The value of the pair labelled `label`; false when the list has none.
bool DeviceConfigValueOf(const ValuePairs& pairs, const std::string& label, std::string& value);
