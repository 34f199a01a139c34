// Replaying a recording (kms-sim --record): the device objects of a real switch, without kms-sim's
// control subtree. The control objects are inferred from what the switch showed, so that the values
// kms-sim derives (links, speeds, PoE status) come out as recorded.
#pragma once

#include <string>

#include "sim/schema.h"
#include "sim/value.h"

namespace kmssim {

// True when the store holds no object of the control subtree: a recording, not kms-sim's own data.
bool IsRecording(const Store& s);

// The model a recording was taken from: "28E" when it has a 28th port, "08E" otherwise (also when
// the file cannot be read; loading it reports that).
std::string RecordedModel(const std::string& path);

// Fills the control subtree: the model's own (`stock`, kms-sim's data of the model: knobs at rest,
// counters at zero), then from the recorded device objects each port's cable and partner speed from
// its link state and speed, the PoE status texts and draw, the power value and the fan.
void AdoptRecording(const DeviceShape& shape, const Store& stock, Store& s);

// After the first derivation: the recorded values of every object outside the configuration come
// back (a real switch measures voltage and current, kms-sim only models them), and derived objects
// the switch did not have go.
void RestoreRecordedStatus(const Schema& schema, const Store& recorded, Store& s);

}  // namespace kmssim
