#include "dialogs/switch/arp_spoofing_dlg.h"

#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/module_settings.h"
#include "dialogs/common/apply_sequence.h"
#include "dialogs/common/user_prompt.h"
#include "dialogs/switch/arp_spoofing_add_dlg.h"
#include "dialogs/switch/security_filter_rules.h"
#include "snmp/encodings.h"

namespace {

CListFormDialog::Frame ArpFrame() {
    CListFormDialog::Frame f;
    f.title = QStringLiteral("ARP Spoofing Prevention Setting");
    f.objectName = QStringLiteral("arpSpoofingDialog");
    f.columns = {{QStringLiteral("Index"), 60},
                 {QStringLiteral("Router/Gateway IP Address"), 190},
                 {QStringLiteral("Router/Gateway MAC Address"), 200},
                 {QStringLiteral("Ports"), 160}};
    f.buttons = CListFormDialog::kAdd | CListFormDialog::kDelete | CListFormDialog::kRefresh |
                CListFormDialog::kClose;
    f.counterLabel = QStringLiteral("Total Entries:");
    return f;
}

}  // namespace

CArpSpoofingDlg::CArpSpoofingDlg(QWidget* parent)
    : CListFormDialog(ArpFrame(), parent),
      m_cCommonSNMP(AddSession("m_cCommonSNMP")),
      m_cCommonSNMPSet(AddSession("m_cCommonSNMPSet")),
      m_portCount(std::max(Settings().PortCount, 0)) {
    FormArea()->addWidget(new QLabel(QStringLiteral("( Note:64 Entries Maximum ) "), this));
    DisableWithoutWriteAccess({StandardButton(kAdd), StandardButton(kDelete)});
}

void CArpSpoofingDlg::ReadAll() {
    m_indexes.clear();
    WalkList(m_cCommonSNMP,
             {FilterOid::kArpAddress, FilterOid::kArpMac, FilterOid::kArpPorts, FilterOid::kArpStatus},
             WalkOptions{4, kMaxArpEntries, 0});
}

std::optional<QStringList> CArpSpoofingDlg::LineFromRow(const WalkRow& row) {
    if (row.bindings.size() < 4 || row.suffixes.empty()) return std::nullopt;
    m_indexes.push_back(row.suffixes[0]);
    return QStringList{QString::number(m_indexes.size()), QString::fromStdString(row.bindings[0].value),
                       QString::fromStdString(MacText(row.bindings[1].value)),
                       QString::fromStdString(PortListToText(row.bindings[2].value, m_portCount))};
}

void CArpSpoofingDlg::OnAdd() {
    if (LineCount() >= kMaxArpEntries) {
        Inform(this, QString::fromLatin1(FilterText::kArpFull));
        return;
    }
    CArpSpoofingAddDlg add(this);
    add.exec();
    Refresh();
}

void CArpSpoofingDlg::OnDelete() {
    const QString select = QString::fromLatin1(FilterText::kArpSelectDelete);
    QTreeWidgetItem* item = RequireSelection(select, select);
    if (!item) return;
    const int line = List()->indexOfTopLevelItem(item);
    if (line < 0 || line >= static_cast<int>(m_indexes.size())) return;
    const std::string status = FilterOid::kArpStatus + m_indexes[line];
    ApplyPlan plan;
    plan.write = [&] { return SetNow(m_cCommonSNMPSet, {{status, kBindInteger, "6"}}); };
    plan.pauseMs = 50;
    plan.reread = [this] { Refresh(); };
    RunApply(this, plan);
}
