// OIDs of kms-sim's control subtree, for tests and demos. Only the write community and the control
// user may read or write them; other requests neither see them nor count towards the counters.
// Requests that touch only the control subtree are always answered, even while the agent is told
// to delay, drop or stay silent, so a test can always reset the device.
#pragma once

namespace kmssim::ctl {

inline constexpr const char* kRoot = "1.3.6.1.4.1.32473.99";

// Per-port rows, instance = port number (1..N).
inline constexpr const char* kPortIndex = "1.3.6.1.4.1.32473.99.1.1.1";  // INTEGER, read
// INTEGER 1 link up, 2 no link (the cable). The port's admin state comes from its speed setting.
inline constexpr const char* kPortLink = "1.3.6.1.4.1.32473.99.1.1.2";
// INTEGER 10, 100 or 1000: the Mbit/s the link partner offers; the port links at the lower of
// this, the port's top speed and its configured speed.
inline constexpr const char* kPortPartnerSpeed = "1.3.6.1.4.1.32473.99.1.1.3";
// OCTET STRING: PoE status text without the two-character prefix ("POWER ON", "POWER OFF",
// "Time-based OFF", "OVERLOAD" or any other text). A port whose PoE state is disabled reports
// "POWER OFF" whatever this holds.
inline constexpr const char* kPoeStatusText = "1.3.6.1.4.1.32473.99.1.1.4";
// INTEGER 0..30: watts the powered device draws while its port reports "POWER ON".
inline constexpr const char* kPoeDraw = "1.3.6.1.4.1.32473.99.1.1.5";

// Scalars (instance .0).
inline constexpr const char* kPowerValue = "1.3.6.1.4.1.32473.99.2.1.0";  // OCTET STRING, e.g. "45.2"
inline constexpr const char* kFanState = "1.3.6.1.4.1.32473.99.2.2.0";    // INTEGER 1 normal, 2 fault
inline constexpr const char* kDelayMs = "1.3.6.1.4.1.32473.99.2.3.0";     // INTEGER 0..60000
inline constexpr const char* kDropEvery = "1.3.6.1.4.1.32473.99.2.4.0";   // INTEGER 0 off, N: drop every Nth
// INTEGER: 0 answering; N > 0 silent for N seconds; -1 silent until 0 is written here or SIGUSR1.
inline constexpr const char* kSilentSeconds = "1.3.6.1.4.1.32473.99.2.5.0";
inline constexpr const char* kReset = "1.3.6.1.4.1.32473.99.2.6.0";          // INTEGER write 1: initial state
inline constexpr const char* kGetCount = "1.3.6.1.4.1.32473.99.2.7.0";       // Counter32
inline constexpr const char* kGetNextCount = "1.3.6.1.4.1.32473.99.2.8.0";   // Counter32
inline constexpr const char* kSetCount = "1.3.6.1.4.1.32473.99.2.9.0";       // Counter32
inline constexpr const char* kGetBulkCount = "1.3.6.1.4.1.32473.99.2.10.0";  // Counter32
inline constexpr const char* kClearCounters = "1.3.6.1.4.1.32473.99.2.11.0";  // INTEGER write 1
inline constexpr const char* kDynamics = "1.3.6.1.4.1.32473.99.2.12.0";       // INTEGER 1 on, 2 off
inline constexpr const char* kRebootCount = "1.3.6.1.4.1.32473.99.2.13.0";    // Counter32
inline constexpr const char* kSaveCount = "1.3.6.1.4.1.32473.99.2.14.0";      // Counter32
// INTEGER 0..600: seconds a TFTP transfer stays "in progress" (2) before it ends (default 3).
inline constexpr const char* kTftpBusySeconds = "1.3.6.1.4.1.32473.99.2.15.0";

// OCTET STRING: an snmprec line "OID|TYPE|VALUE" (TYPE as in the data files: 2, 4, 4x, 64, 66...) of
// any object outside the control subtree. The device takes the value as it stands, without the rules
// that guard a manager's write, as if it had been configured on the switch itself: settings that the
// module only reads (port security, rate control, mirroring, LBD...) get test values this way. Values
// the device derives (link, operating mode) are derived again at once. Malformed lines: wrongValue.
inline constexpr const char* kForceValue = "1.3.6.1.4.1.32473.99.5.1.0";

// Misbehaviour on demand: what broken firmware and a bad network do. Each applies to every request
// (or its answer) that is not only for the control subtree. 0 (or "") switches a mode off.
// INTEGER 1: a get-next of an existing instance answers that same instance again.
inline constexpr const char* kRepeatOid = "1.3.6.1.4.1.32473.99.2.16.0";
// INTEGER 1: a get-next of any but the first instance of a column answers the column's first again.
inline constexpr const char* kGoBackwards = "1.3.6.1.4.1.32473.99.2.17.0";
// INTEGER 1: columns never end: past its last row a column goes on with made-up rows (index + 1).
inline constexpr const char* kEndlessColumns = "1.3.6.1.4.1.32473.99.2.18.0";
// INTEGER 0..10: every answer is sent this many more times.
inline constexpr const char* kDuplicateAnswers = "1.3.6.1.4.1.32473.99.2.19.0";
// INTEGER 1: SNMPv1/v2c answers lack their last binding.
inline constexpr const char* kDropLastBinding = "1.3.6.1.4.1.32473.99.2.20.0";
// INTEGER N: every Nth answer is replaced by as many garbage bytes.
inline constexpr const char* kGarbageEvery = "1.3.6.1.4.1.32473.99.2.21.0";
// INTEGER N: every Nth answer is cut to half its length.
inline constexpr const char* kTruncateEvery = "1.3.6.1.4.1.32473.99.2.22.0";
// OCTET STRING, decimal: SNMPv1/v2c answers carry this error status (any 64-bit number, e.g.
// "-2" or "4294967296"); "" off.
inline constexpr const char* kErrorStatus = "1.3.6.1.4.1.32473.99.2.23.0";
// INTEGER 0..100: each request is lost with this probability, in percent.
inline constexpr const char* kLossPercent = "1.3.6.1.4.1.32473.99.2.24.0";
// INTEGER: the SNMPv3 engine boots the agent reports now; a write sets them (a device whose boots
// counter was lost goes back to 1 at its next start).
inline constexpr const char* kEngineBoots = "1.3.6.1.4.1.32473.99.2.25.0";
// TFTP transfers (issue area "transfer"): the status a started transfer reports first (3 or 4), the
// milliseconds it reports it before "in progress" (0..60000, default 1000), and whether gets of the two
// status objects go unanswered (1 silent, 2 answered), as a switch busy flashing would.
inline constexpr const char* kTftpStartedCode = "1.3.6.1.4.1.32473.99.9.1.0";
inline constexpr const char* kTftpStatusSilent = "1.3.6.1.4.1.32473.99.9.2.0";
inline constexpr const char* kTftpStartedMs = "1.3.6.1.4.1.32473.99.9.3.0";

// Get-bulk (walks over SNMPv3): 0 answered; 1 get-bulk requests go unanswered; 2 they are refused with
// genErr. What an agent that does not take get-bulk does.
inline constexpr const char* kBulkRefusal = "1.3.6.1.4.1.32473.99.10.1.0";

// LLDP neighbours, instance = local port . remote index. Column 1 is the RowStatus (createAndGo 4,
// createAndWait 5, active 1, notInService 2, destroy 6); columns 4..10 are those of lldpRemTable
// (chassis ID subtype and ID, port ID subtype and ID, port description, system name and description).
// Every active row appears in lldpRemTable as 0.port.index while LLDP is enabled.
inline constexpr const char* kLldpNeighbour = "1.3.6.1.4.1.32473.99.7.1.1";
// The local chassis ID subtype (INTEGER 1..7) and chassis ID (OCTET STRING 1..255 bytes).
inline constexpr const char* kLldpLocalChassisSubtype = "1.3.6.1.4.1.32473.99.7.2.1.0";
inline constexpr const char* kLldpLocalChassisId = "1.3.6.1.4.1.32473.99.7.2.2.0";

// Refused writes (1.3.6.1.4.1.32473.99.6). OCTET STRING: a dotted OID prefix ("1.3.6.1.4.1.32473.10.75.13.
// 22.1.1.3.1.4"); a set request with a binding at or under it is refused with genErr naming that binding,
// as a switch does when its hardware does not take a setting. Empty: nothing refused.
inline constexpr const char* kRefuseWritesUnder = "1.3.6.1.4.1.32473.99.6.1.0";

// The two-character prefix in front of every PoE status text (the module drops it).
inline constexpr const char* kPoePrefix = "  ";

}  // namespace kmssim::ctl
