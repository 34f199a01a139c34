#pragma once
// A click on a port is announced to other programs of the desktop. The original broadcast the registered
// window message "{6FD9BA9B-9875-4c53-A57D-5E76258D10BE}"; here the same name travels as the first
// argument of a D-Bus signal on the session bus:
//   path kPortClickPath, interface kPortClickInterface, member kPortClickMember,
//   arguments (string message name, uint first parameter = 0, uint second parameter = 0).
// Without a reachable session bus nothing is sent and nothing is reported.

inline constexpr const char* kPortClickMessage = "{6FD9BA9B-9875-4c53-A57D-5E76258D10BE}";
inline constexpr const char* kPortClickPath = "/org/kms/Module/Panel";
inline constexpr const char* kPortClickInterface = "org.kms.Module.Panel";
inline constexpr const char* kPortClickMember = "PortClicked";

// True when the signal was handed to the bus.
bool AnnouncePortClick();
