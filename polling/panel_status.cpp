#include "polling/panel_status.h"

#include <cstdio>

#include "core/debug_out.h"

namespace {
const char* const kWalkColumns[] = {kIfTypeOid,       kIfSpeedOid,    kIfAdminStatusOid,
                                    kIfOperStatusOid, kVendorPortOid, kPoePortStatusOid};

bool StartsWithColumn(const std::string& oid, const char* column) {
    std::string prefix = std::string(column) + ".";
    return oid.compare(0, prefix.size(), prefix) == 0;
}

std::string Format(const char* fmt, int a, int b) {
    char buf[128];
    std::snprintf(buf, sizeof buf, fmt, a, b);
    return buf;
}
}  // namespace

CPanelStatus::CPanelStatus(const PanelPollConfig& config, const ModuleSettings& settings)
    : m_guard(std::make_shared<CallbackGuard>()),
      m_config(config),
      m_fan(std::make_unique<CCommonSNMP>(settings)),
      m_poe(std::make_unique<CCommonSNMP>(settings)),
      m_devStat(std::make_unique<CCommonSNMP>(settings)),
      m_poeStat(std::make_unique<CCommonSNMP>(settings)) {
    SetAllCodesUnknown();
    m_guard->self = this;
}

CPanelStatus::~CPanelStatus() {
    {
        // Waits for a callback under way; later ones find nobody.
        std::lock_guard<std::recursive_mutex> lock(m_guard->mutex);
        m_guard->self = nullptr;
    }
    // Sessions go before the fields their callbacks touch.
    m_poeStat.reset();
    m_devStat.reset();
    m_poe.reset();
    m_fan.reset();
}

void CPanelStatus::SetView(IPanelStatusView* view) {
    std::lock_guard<std::mutex> lock(m_viewMutex);
    m_view = view;
}

void CPanelStatus::SetAllCodesUnknown() {
    for (int i = 0; i < kMaxPorts; ++i) {
        linkStatus[i] = kLinkUnknown;
        poeStatus[i] = kPoeUnknown;
    }
}

StatusLists CPanelStatus::ListsCopy() const {
    std::lock_guard<std::mutex> lock(m_listsMutex);
    return m_lists;
}

std::vector<PoeMeasurement> CPanelStatus::MeasurementsCopy() const {
    std::lock_guard<std::mutex> lock(m_listsMutex);
    return m_measurements;
}

void CPanelStatus::GetFanStatus() {
    DebugOut("======GetGetFanStatus======");
    if (!m_fan->Open(kSnmpGet)) return;
    m_fan->AddValue(std::string(kFanStateOid) + ".0", kBindNull, nullptr);
    std::unique_ptr<CSnmp> answer;
    if (m_fan->GetNext(answer, m_config.fanTimeoutMs) != 0 || !answer) return;
    fanStatus = answer->getValue(0) == "1" ? '1' : '2';
}

int CPanelStatus::GetPoePower() {
    DebugOut("Get10PPOEOrLinkStatus");
    if (walkInFlight && m_skipCounter < 3) {
        ++m_skipCounter;
        return -1;
    }
    m_skipCounter = 0;
    walkInFlight = true;
    if (!m_poe->Open(kSnmpGet)) return 0;
    m_poe->AddValue(std::string(kPoePowerOid) + ".0", kBindNull, nullptr);
    std::unique_ptr<CSnmp> answer;
    if (m_poe->GetNext(answer, m_config.poeTimeoutMs) != 0 || !answer) return 0;
    if (IsPowerAtLimit(answer->getValue(0))) {
        powMax = true;
        DebugOut("pThis->m_BIsPowMax = TRUE");
    } else {
        powMax = false;
        DebugOut("pThis->m_BIsPowMax = FALSE");
    }
    return 0;
}

bool CPanelStatus::GetDevStatus() {
    DebugOut("---------GetDevStatus--------");
    {
        std::lock_guard<std::mutex> lock(m_listsMutex);
        m_lists.Clear();
    }
    if (!m_devStat->Open(kSnmpGetNext)) return false;
    for (const char* column : kWalkColumns) m_devStat->AddValue(column, kBindNull, nullptr);
    // The walk stops at the first interface past the last port.
    m_devStat->LimitWalkRows(m_config.portCount + 1);
    return StartWalkStep() == 0;
}

void CPanelStatus::GetPoeMeasurements() {
    std::vector<int> ports;
    {
        std::lock_guard<std::mutex> lock(m_listsMutex);
        ports = m_poePorts;
    }
    std::vector<PoeMeasurement> read;
    for (std::size_t first = 0; first < ports.size(); first += kMeasuredPortsPerGet) {
        const std::size_t end = std::min(ports.size(), first + kMeasuredPortsPerGet);
        if (!m_poeStat->Open(kSnmpGet)) break;
        for (std::size_t i = first; i < end; ++i)
            for (const char* column : {kPoeWattsOid, kPoeVoltsOid, kPoeMilliampsOid})
                m_poeStat->AddValue(std::string(column) + ".1." + std::to_string(ports[i]), kBindNull,
                                    nullptr);
        std::unique_ptr<CSnmp> answer;
        const auto expected = static_cast<int>(3 * (end - first));
        if (m_poeStat->Send(answer, m_config.poeTimeoutMs) != 0 || !answer ||
            answer->getValuesCount() != expected)
            break;
        for (std::size_t i = first; i < end; ++i) {
            const int at = static_cast<int>(3 * (i - first));
            read.push_back(
                {ports[i], answer->getValue(at), answer->getValue(at + 1), answer->getValue(at + 2)});
        }
    }
    // A read that failed part-way shows nothing rather than a mix of two polls.
    if (read.size() != ports.size()) read.clear();
    {
        std::lock_guard<std::mutex> lock(m_listsMutex);
        m_measurements = read;
    }
    std::lock_guard<std::mutex> lock(m_viewMutex);
    if (m_view) m_view->OnPoeMeasured(read);
}

int CPanelStatus::StartWalkStep() {
    return m_devStat->GetNextAsync(
        [guard = m_guard](std::unique_ptr<CSnmp> response, int requestId, void*, int status) -> unsigned {
            std::lock_guard<std::recursive_mutex> lock(guard->mutex);
            if (!guard->self) return 0;  // the status is gone: the answer is dropped
            return guard->self->WalkCallback(std::move(response), requestId, status);
        },
        this, 0, m_config.walkTimeoutMs);
}

unsigned CPanelStatus::WalkCallback(std::unique_ptr<CSnmp> response, int requestId, int status) {
    DebugOut("------snmpTable4wCBFun snmpTable4wCBFun-------");
    if (m_devStat->RemoveRequestId(requestId) == 0) return 0;  // stale: closed or superseded

    if (status == kSnmpOk && response) {
        StatusRow row;
        bool haveIndex = false;
        int rowIndex = 0;
        for (int i = 0; i < response->getValuesCount(); ++i) {
            const std::string oid = response->getOid(i);
            std::string value = response->getValue(i);
            if (oid.find(kIgnoredArc) != std::string::npos) continue;
            // Columns are told apart by their OIDs, not by position: a column that has ended drops out of
            // the answer and would shift the others.
            if (StartsWithColumn(oid, kIfTypeOid)) {
                std::string suffix;
                if (m_devStat->GetSuffix(i, response.get(), suffix) == 0) {
                    if (auto index = RowIndexFromSuffix(suffix)) {
                        haveIndex = true;
                        rowIndex = *index;
                        row.rowIndex = std::to_string(rowIndex);
                    }
                }
            } else if (StartsWithColumn(oid, kIfSpeedOid)) {
                row.speed = value;
            } else if (StartsWithColumn(oid, kIfAdminStatusOid)) {
                row.adminStatus = value;
            } else if (StartsWithColumn(oid, kIfOperStatusOid)) {
                row.operStatus = value;
            } else if (StartsWithColumn(oid, kVendorPortOid)) {
                row.vendor = value;
            } else if (StartsWithColumn(oid, kPoePortStatusOid)) {
                value = StripPoePrefix(value);
                row.poeText = value;
            }
            DebugOut("=====================================");
            DebugOut(value);
            DebugOut("zzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzz");
        }
        // The ifType column drives the walk: once it has ended, or has passed the last port, the walk is
        // over.
        if (haveIndex && rowIndex < m_config.portCount + 1) {
            std::size_t rows;
            {
                std::lock_guard<std::mutex> lock(m_listsMutex);
                m_lists.Append(row);
                rows = m_lists.rows.size();
            }
            // One row per port: a device whose indexes never pass the last port ends here.
            if (rows <= static_cast<std::size_t>(m_config.portCount)) {
                if (StartWalkStep() == 0) return 0;
                status = kSnmpFailed;  // refused: the session is closing
            } else {
                DebugOut("Status walk ended at its bound of " + std::to_string(m_config.portCount) + " rows");
            }
        }
    }
    if (status == kSnmpFailed)
        FailWalk(m_devStat->LastFailure());
    else
        FinishWalk();
    m_devStat->SetDone();
    walkInFlight = false;
    ++walksCompleted;
    return 0;
}

void CPanelStatus::FinishWalk() {
    const StatusLists lists = ListsCopy();
    std::vector<PortLinkResult> links = DeriveLinkCodes(lists, m_config.portCount, m_config.allGiga);
    for (const PortLinkResult& r : links) {
        DebugOut(
            Format("*************nPortIndex = %d, ------- portStatus =  %d******** \n", r.port - 1, r.code));
        linkStatus[r.port - 1] = r.code;
        vendorValue[r.port - 1] = r.vendor;
    }
    std::vector<PortPoeResult> poe = DerivePoeCodes(lists, m_config.portCount);
    for (const StatusRow& row : lists.rows) {
        DebugOut("YYYYYYYYYYYYYYYYYYYYYYYYYY");
        DebugOut(row.poeText.value_or(""));
    }
    std::vector<int> poePorts;
    for (const PortPoeResult& r : poe) {
        poeStatus[r.port - 1] = r.code;
        DebugOut(Format("TTTTTTTTTTTTTTTTm_uPOEPortStatus[%d] =  %d", r.port - 1, r.code));
        if (r.code != kPoeNone) poePorts.push_back(r.port);
    }
    {
        std::lock_guard<std::mutex> lock(m_listsMutex);
        m_poePorts = poePorts;
    }
    std::lock_guard<std::mutex> lock(m_viewMutex);
    if (m_view) m_view->OnWalkFinished(links, poe);
}

void CPanelStatus::FailWalk(SnmpFailure failure) {
    SetAllCodesUnknown();
    {
        std::lock_guard<std::mutex> lock(m_listsMutex);
        m_poePorts.clear();
    }
    std::lock_guard<std::mutex> lock(m_viewMutex);
    // A step refused before it was sent (the session closing) has no reason of its own.
    if (m_view) m_view->OnWalkFailed(failure == SnmpFailure::None ? SnmpFailure::NoAnswer : failure);
}
