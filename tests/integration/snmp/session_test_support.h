#pragma once
// Helpers shared by the session tests: a walk driven the way every dialog drives it (callback removes
// its request id, stops on a non-zero status, otherwise reads the row and asks for the next one), and
// one synchronous request.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "snmp/common_snmp.h"

inline const char kSysName[] = "1.3.6.1.2.1.1.5.0";
inline const char kSysLocation[] = "1.3.6.1.2.1.1.6.0";
inline const char kIfIndex[] = "1.3.6.1.2.1.2.2.1.1";

struct WalkRow {
    std::string oid;
    int type = 0;
    std::string value;
    std::string suffix;
    int answer = 0;  // which answer of the walk carried it, from 1
    bool operator==(const WalkRow&) const = default;
};

class WalkRecorder {
public:
    explicit WalkRecorder(CCommonSNMP& session) : m_session(session) {}

    // Starts a walk of the columns; every row's bindings go into rows in answer order.
    int Start(const std::vector<std::string>& columns) {
        if (!m_session.Open(kSnmpGetNext)) return -1;
        for (const std::string& c : columns) m_session.AddValue(c, kBindNull, nullptr);
        return Next();
    }

    // Waits for the end of the walk; false when it did not end in time. The results below may be read once
    // it returned true.
    bool Wait(std::chrono::milliseconds limit = std::chrono::seconds(60)) {
        std::unique_lock<std::mutex> l(m_mutex);
        return m_cv.wait_for(l, limit, [this] { return m_finished; });
    }

    std::vector<WalkRow> rows;
    int finalStatus = 0;
    int answers = 0;
    std::vector<std::thread::id> threads;  // where each answer was handled

private:
    int Next() {
        return m_session.GetNextAsync(
            [this](std::unique_ptr<CSnmp> r, int id, void*, int s) { return OnAnswer(std::move(r), id, s); },
            this, 0);
    }
    unsigned OnAnswer(std::unique_ptr<CSnmp> response, int id, int status) {
        {
            std::lock_guard<std::mutex> l(m_mutex);
            threads.push_back(std::this_thread::get_id());
        }
        if (m_session.RemoveRequestId(id) == 0) return 0;  // stale
        if (status != 0) m_session.SetDone();
        std::vector<WalkRow> got;
        for (int i = 0; status == 0 && i < response->getValuesCount(); ++i) {
            got.push_back({response->getOid(i), response->getValueType(i), response->getValue(i), {}, 0});
            m_session.GetSuffix(i, response.get(), got.back().suffix);
        }
        {
            std::lock_guard<std::mutex> l(m_mutex);
            if (status != 0) {
                finalStatus = status;
                m_finished = true;
                m_cv.notify_all();
                return 0;
            }
            ++answers;
            for (WalkRow& r : got) r.answer = answers;
            rows.insert(rows.end(), got.begin(), got.end());
        }
        Next();
        return 0;
    }

    CCommonSNMP& m_session;
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_finished = false;
};

// What a whole walk gave: every row (with the answer that carried it), the final status (99 when the walk
// did not end in time) and the number of answers with rows.
struct Walked {
    std::vector<WalkRow> rows;
    int status = 99;
    int answers = 0;
    bool operator==(const Walked&) const = default;
};

inline Walked WalkOf(CCommonSNMP& session, const std::vector<std::string>& columns,
                     std::chrono::milliseconds limit = std::chrono::seconds(60)) {
    WalkRecorder walk(session);
    if (walk.Start(columns) != 0 || !walk.Wait(limit)) return {};
    return {walk.rows, walk.finalStatus, walk.answers};
}

// A whole walk of `columns` in a session of its own, with get-bulk allowed or not.
inline Walked WalkWith(ModuleSettings settings, bool bulk, const std::vector<std::string>& columns) {
    settings.UseGetBulk = bulk;
    CCommonSNMP session(settings);
    return WalkOf(session, columns);
}

// One binding of a request: a get's or get-next's OID alone, a set's with its kind and value.
struct Binding {
    std::string oid;
    int kind = kBindNull;
    const char* value = nullptr;
};

// One synchronous request of `kind`: GetNext for reads, Send for sets. Its status (99: Open refused).
inline int Request(CCommonSNMP& session, int kind, const std::vector<Binding>& bindings,
                   std::unique_ptr<CSnmp>& answer, unsigned long timeout = 0) {
    if (!session.Open(kind)) return 99;
    for (const Binding& b : bindings) session.AddValue(b.oid, b.kind, b.value);
    return kind == kSnmpSet ? session.Send(answer, timeout) : session.GetNext(answer, timeout);
}
