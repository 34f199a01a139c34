#include "dialogs/switch/lldp_remote_dlg.h"

#include <QPushButton>
#include <QTreeWidget>

#include "dialogs/common/table_reader.h"
#include "dialogs/common/user_prompt.h"
#include "dialogs/switch/lldp_rules.h"

namespace {

CListFormDialog::Frame RemoteFrame() {
    CListFormDialog::Frame f;
    f.title = QStringLiteral("LLDP Remote Port Information");
    f.objectName = QStringLiteral("lldpRemoteDialog");
    f.listGroup = QStringLiteral("  LLDP Remote Port Brief Table ");
    // The identifiers are usually MAC addresses, the subtypes' longest names are these.
    f.columns = {{QStringLiteral("Port")},
                 {QStringLiteral("Entity")},
                 {QStringLiteral("Chassis ID Subtype"), 0, Qt::AlignLeft, QStringLiteral("chassisComponent")},
                 {QStringLiteral("Chassis ID"), 150},
                 {QStringLiteral("Port ID Subtype"), 0, Qt::AlignLeft, QStringLiteral("agentCircuitld")},
                 {QStringLiteral("Port ID"), 0, Qt::AlignLeft, QStringLiteral("02-11-22-33-44-56")},
                 {QStringLiteral("Port Description"), 150},
                 {QStringLiteral("System Name"), 150},
                 {QStringLiteral("System Description"), 150}};
    f.buttons = CListFormDialog::kRefresh | CListFormDialog::kClose;
    f.counterLabel = QStringLiteral("Remote Entities Count: ");
    return f;
}

}  // namespace

CLldpRemoteDlg::CLldpRemoteDlg(QWidget* parent)
    : CListFormDialog(RemoteFrame(), parent),
      m_cCommonSNMPEnabled(AddSession("m_cCommonSNMPEnabled")),
      m_cCommonSNMP(AddSession("m_cCommonSNMP")) {}

void CLldpRemoteDlg::OnInitDialog() {
    // Read at once over SNMPv3 too: the sessions walk the same way in both versions, and an empty list
    // would tell a v3 user there were no neighbours.
    StartGet(
        m_cCommonSNMPEnabled, {LldpOid::kState},
        [this](const std::vector<SnmpBinding>& answer) {
            const bool on = answer.empty() || answer[0].value != "2";
            List()->setEnabled(on);
            StandardButton(kRefresh)->setEnabled(on);
            ReadAll();
        },
        [this](int) { Inform(this, QString::fromLatin1(LldpText::kRemoteGetFailed)); });
}

void CLldpRemoteDlg::ReadAll() {
    WalkList(m_cCommonSNMP, LldpOid::RemoteColumns(), WalkOptions{7, kMaxTableRows, 0});
}

std::optional<QStringList> CLldpRemoteDlg::LineFromRow(const WalkRow& row) {
    QStringList texts;
    for (const std::string& t :
         RemoteLine(row.suffixes.empty() ? std::string() : row.suffixes[0], row.bindings, row.index + 1))
        texts << QString::fromUtf8(t.data(), static_cast<int>(t.size()));
    return texts;
}

void CLldpRemoteDlg::OnListRead(int status) {
    if (status == kSnmpEndOfWalk && LineCount() == 0)
        Inform(this, QString::fromLatin1(LldpText::kNoRemotePort));
}
