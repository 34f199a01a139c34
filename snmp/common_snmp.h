#pragma once
// CCommonSNMP: the module's SNMP request session. One request at a time: Open (kind), AddValue..., then
// GetNextAsync (answer through a callback on a worker thread), GetNext or Send (synchronous).
// Every owner of SNMP traffic holds its own sessions; all Net-SNMP calls of the process run on one
// engine, so sessions may be used from any thread.

#include <functional>
#include <memory>
#include <string>

#include "core/module_settings.h"
#include "snmp/snmp_answer.h"
#include "snmp/snmp_failure.h"

// Request kinds of Open.
enum SnmpRequestKind : int { kSnmpGet = 0, kSnmpGetNext = 1, kSnmpSet = 3 };

// Binding kinds of AddValue.
enum SnmpBindingKind : int {
    kBindInteger = 1,    // INTEGER as decimal text
    kBindOctets = 2,     // OCTET STRING: text, or bytes with an explicit length
    kBindNull = 4,       // placeholder of a get or get-next binding; value is null
    kBindIpAddress = 8,  // IpAddress as dotted text
    kBindUnsigned = 10,  // Unsigned32 (Gauge32) as decimal text
};

// Completion statuses handed to callbacks.
enum SnmpStatus : int { kSnmpOk = 0, kSnmpFailed = -1, kSnmpEndOfWalk = -2 };

// Result callback: (response, request id, parameter, status). Status 0 carries an answer with at least
// one binding; -1 failure or time-out (LastFailure tells which); -2 the walk has left the columns it started
// with (or the agent ended it with an error status or exception). The callback owns the response (null unless
// status 0). It runs on a thread other than the user-interface thread and may call the session again.
using SnmpResultCallback =
    std::function<unsigned(std::unique_ptr<CSnmp> response, int requestId, void* param, int status)>;

class CCommonSNMP {
public:
    explicit CCommonSNMP(const ModuleSettings& settings = Settings());
    virtual ~CCommonSNMP();
    CCommonSNMP(const CCommonSNMP&) = delete;
    CCommonSNMP& operator=(const CCommonSNMP&) = delete;

    // Starts a new request of the kind (0 get, 1 get-next, 3 set), discarding the previous bindings and
    // ending a finished walk worker. False for an unsupported version or kind.
    bool Open(int kind);

    // Appends a binding. `value` is decimal text (kinds 1, 10), text (2), dotted text (8) or null (4).
    // -1 when there is no open request.
    int AddValue(const std::string& oid, int kind, const char* value);
    // Octet string from raw bytes with an explicit length (port lists, engine IDs, MAC addresses).
    int AddValue(const std::string& oid, int kind, const char* value, unsigned long length);

    // Sends the prepared request asynchronously; the answer reaches `callback`. A callback that calls
    // GetNextAsync again continues the walk from the OIDs just answered, on the same worker.
    // Timeout 0 means the session time-out. -1 when refused (closed, no request, no bindings; the done
    // state is set then).
    int GetNextAsync(SnmpResultCallback callback, void* param, int reserved, unsigned long timeout);
    int GetNextAsync(SnmpResultCallback callback, void* param, unsigned long timeout);

    // Synchronous: sends the prepared request and waits. 0 with an answer, otherwise non-zero: -1 for a
    // time-out, a refused request or a transport failure; the agent's error status (> 0) when it
    // answered with one (an exception value in a get answer counts as noSuchName, 2). The next GetNext
    // continues from the answer's OIDs; like a walk's callback, a get-next answer holds only the bindings
    // still inside their columns, and -2 comes back once none is left. Send always asks from the OIDs
    // added since Open and leaves the walk where it is.
    int GetNext(std::unique_ptr<CSnmp>& response, unsigned long timeout);
    // Over SNMPv3 a walk travels as get-bulk (unless the settings say not to, or the agent answered one
    // wrongly or not at all: then this session walks with get-next for good), and still reaches the
    // caller one row per answer, exactly as with get-next. A walker that stops after some rows says so
    // here after Open, so that no get-bulk asks for more.
    void LimitWalkRows(int rows);
    int Send(std::unique_ptr<CSnmp>& response, unsigned long timeout);

    // Instance suffix of binding `index` of a walk answer after its column OID, with a leading dot
    // (".5" for ifSpeed.5). -1 when the binding or its column is unknown.
    int GetSuffix(int index, const CSnmp* response, std::string& suffix);

    // 1 when `id` was pending (and is now removed), 0 when the answer is stale.
    int RemoveRequestId(int id);
    // Declares the outstanding asynchronous request finished.
    void SetDone();
    // Marks the session closed, forgets the pending ids and waits at most timeout + 1000 ms for the
    // outstanding request to finish.
    void Close();

    int TimeoutMs() const;

    // Why the session's last request brought no answer: None when it was answered (an error status
    // included), the agent's refusal at its security check, or NoAnswer. Read it from the thread that
    // made the request: after GetNext or Send, or in the callback of an asynchronous request (a walk's
    // callback with -1 learns there why its step failed).
    SnmpFailure LastFailure() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// Process-wide initialisation of the SNMP engine (no MIB loading, no persistent state outside a
// directory we own, nothing read from /etc/snmp). Idempotent; false when the library cannot start.
bool SnmpEngineInit();
