// Keeps a switch's secrets out of a recording: what a user attaches to a bug report must not let
// anyone into their network.
#pragma once

#include <string>
#include <vector>

#include "sim/value.h"

namespace kmssim {

// Stands for a removed password or key.
inline constexpr const char* kRemovedSecret = "removed";

// Replaces the recorded switch's secrets by placeholders: the RADIUS shared key and the passwords of
// the agent's users become kRemovedSecret; each community name becomes "community1", "community2"...
// in the community table's index and name alike, and so does the community of each SNMPv1/v2c
// trap host (the same name, the same placeholder). Any other text holding one of `secrets` (the
// credentials the recording was made with) becomes kRemovedSecret, and an object whose index holds
// one is left out. Returns the number of values replaced or left out.
int ScrubCredentials(Store& s, const std::vector<std::string>& secrets);

}  // namespace kmssim
