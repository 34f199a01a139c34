// kms-sim --record: walks every subtree the module reads on a real switch, through the module's own
// SNMP layer, and writes a snmprec file that kms-sim --data replays. Credentials never reach the file.
#pragma once

#include <string>
#include <vector>

#include "core/module_settings.h"
#include "sim/value.h"

namespace kmssim {

// The subtrees the module reads: the LLDP MIB, the mib-2 groups of its viewers and polls (system,
// interfaces, ip, tcp, udp, bridge) and the switch's own subtree. Never kms-sim's control subtree.
const std::vector<std::string>& RecordedSubtrees();

// Walks each subtree into `out`. False with a reason (never a credential) when the switch does not
// answer or answers out of order; `skipped` counts values of types kms-sim cannot serve.
bool RecordSwitch(const ModuleSettings& target, Store* out, int* skipped, std::string* error);

// The whole --record command line (see Usage in recorder.cpp); returns the exit status.
int RecordMain(int argc, char** argv);

}  // namespace kmssim
