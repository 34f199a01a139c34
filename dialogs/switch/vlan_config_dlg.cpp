#include "dialogs/switch/vlan_config_dlg.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "dialogs/common/apply_sequence.h"
#include "dialogs/common/user_prompt.h"
#include "dialogs/switch/port_vid_dlg.h"
#include "dialogs/switch/vlan_add_edit_dlg.h"

namespace {

std::string Instance(int index) {
    return "." + std::to_string(index);
}

CListFormDialog::Frame VlanFrame() {
    CListFormDialog::Frame f;
    f.title = QStringLiteral("802.1Q VLAN Configuration");
    f.objectName = QStringLiteral("vlanConfigDialog");
    f.listGroup = QStringLiteral("802.1Q VLAN Information");
    f.columns = {{QStringLiteral("VLAN ID"), 80},
                 {QStringLiteral("VLAN Name"), 120},
                 {QStringLiteral("No.of Ports"), 100},
                 {QStringLiteral("Egress Port Member"), 220},
                 {QStringLiteral("Untag Port Member"), 220}};
    f.buttons = CListFormDialog::kAdd | CListFormDialog::kEdit | CListFormDialog::kDelete |
                CListFormDialog::kRefresh | CListFormDialog::kClose;
    f.sideButtons = true;
    return f;
}

// More rows than a switch can hold means the agent repeats itself; the walk stops there.
constexpr int kVlanWalkBound = kMaxVlanRows + 16;

}  // namespace

CVlanConfigDlg::CVlanConfigDlg(QWidget* parent)
    : CListFormDialog(VlanFrame(), parent),
      m_cCommonSNMP(AddSession("m_cCommonSNMP")),
      m_cCommonSNMPTable(AddSession("m_cCommonSNMPTable")),
      m_cCommonSNMPVoiceVlan(AddSession("m_cCommonSNMPVoiceVlan")),
      m_cCommonSNMPTableVlan(AddSession("m_cCommonSNMPTableVlan")),
      m_cCommonSNMPTableVlanDelete(AddSession("m_cCommonSNMPTableVlanDelete")),
      m_portCount(Settings().PortCount > 0 ? Settings().PortCount : 0),
      m_pvids(m_portCount, 0) {
    List()->setObjectName(QStringLiteral("vlanList"));
    List()->setMinimumSize(760, 260);

    auto* modeGroup = new QGroupBox(QStringLiteral("802.1Q Asymmetric VLAN Configuration "), this);
    modeGroup->setObjectName(QStringLiteral("asymmetricGroup"));
    m_asymmetric = new QCheckBox(QStringLiteral("Enable Asymmetric VLAN"), modeGroup);
    m_asymmetric->setObjectName(QStringLiteral("enableAsymmetricVlan"));
    m_applyMode = new QPushButton(QStringLiteral("&Apply"), modeGroup);
    m_applyMode->setObjectName(QStringLiteral("applyButton"));
    m_applyMode->setAutoDefault(false);
    AddBusy(m_applyMode);
    auto* modeLayout = new QHBoxLayout(modeGroup);
    modeLayout->addWidget(m_asymmetric);
    modeLayout->addStretch(1);
    modeLayout->addWidget(m_applyMode);
    TopArea()->addWidget(modeGroup);

    m_pvid = AddButton(QStringLiteral("&PVID"), "pvidButton");
    connect(m_applyMode, &QPushButton::clicked, this, &CVlanConfigDlg::OnApplyMode);
    connect(m_pvid, &QPushButton::clicked, this, &CVlanConfigDlg::OnPvid);
    DisableWithoutWriteAccess({StandardButton(kAdd), StandardButton(kEdit), StandardButton(kDelete), m_pvid});
    resize(900, 480);
}

void CVlanConfigDlg::ReadAll() {
    StartGet(
        m_cCommonSNMPVoiceVlan,
        {VlanOid::kVoiceState, VlanOid::kVoiceId, VlanOid::kSurveillanceState, VlanOid::kSurveillanceId},
        [this](const std::vector<SnmpBinding>& b) { m_voice = VoiceSurveillanceFromAnswer(b); }, {},
        BusyButtons());
    m_records.clear();
    ReadMode();
    // The delete rules look at every port's PVID: the buttons stay disabled until this walk has ended
    // too, so no rule ever runs on PVIDs not read yet.
    m_pvids.assign(m_portCount, 0);
    StartWalk(
        m_cCommonSNMPTable, {VlanOid::kPvid},
        [this](const WalkRow& row) {
            if (row.index < m_portCount) m_pvids[row.index] = LeadingInt(row.bindings[0].value);
        },
        {}, BusyButtons(), WalkOptions{1, m_portCount, 0});
    WalkList(m_cCommonSNMPTableVlan,
             {VlanOid::kStaticName, VlanOid::kStaticEgressPorts, VlanOid::kStaticUntaggedPorts,
              VlanOid::kForbiddenEgressPorts, VlanOid::kStaticRowState},
             WalkOptions{5, kVlanWalkBound, 0});
}

void CVlanConfigDlg::ReadMode() {
    StartGet(
        m_cCommonSNMP, {VlanOid::kAsymmetricMode},
        [this](const std::vector<SnmpBinding>& answer) {
            if (answer.empty()) return;
            m_deviceAsymmetric = answer[0].value == "1";
            m_asymmetric->setChecked(m_deviceAsymmetric);
        },
        {}, BusyButtons());
}

std::optional<QStringList> CVlanConfigDlg::LineFromRow(const WalkRow& row) {
    VlanRecord r;
    if (!VlanRecordFromRow(row.suffixes.empty() ? std::string() : row.suffixes[0], row.bindings, m_portCount,
                           r))
        return std::nullopt;
    m_records.push_back(r);
    return QStringList{QString::number(r.vlanId), QString::fromUtf8(r.name.data(), qsizetype(r.name.size())),
                       QString::number(r.egressCount), QString::fromStdString(r.egressText),
                       QString::fromStdString(r.untaggedText)};
}

void CVlanConfigDlg::OnApplyMode() {
    RunApply(this, {.check =
                        [this] {
                            if (!Refuse(this, AsymmetricApplyRefusal(m_voice))) {
                                ReadMode();  // the box shows the device's mode again
                                return false;
                            }
                            return Confirm(this, QString::fromLatin1(VlanText::kResetQuestion));
                        },
                    .write =
                        [this] {
                            return SetNow(m_cCommonSNMP,
                                          {{VlanOid::kAsymmetricMode, kBindInteger,
                                            kAsymmetricModeValues.TextOf(m_asymmetric->isChecked())}});
                        },
                    .pauseMs = 50,
                    .reread = [this] { Refresh(); },
                    // The box would go on showing a mode the switch does not have.
                    .failureText = QStringLiteral("The switch did not accept the asymmetric VLAN mode."),
                    .rereadOnFailure = true});
}

void CVlanConfigDlg::OnAdd() {
    if (LineCount() >= kMaxVlanRows) {
        Inform(this, QString::fromLatin1(VlanText::kOverLimit));
        return;
    }
    CVlanAddEditDlg dlg(this, m_portCount, m_deviceAsymmetric ? 1 : 2, m_records);
    if (dlg.exec() == QDialog::Accepted) Refresh();
}

void CVlanConfigDlg::OnEdit() {
    const QString text = QString::fromLatin1(VlanText::kSelectVlan);
    QTreeWidgetItem* selected = RequireSelection(text, text);
    if (!selected) return;
    const int vid = LeadingInt(selected->text(0).toStdString());
    if (vid <= 0) {
        Inform(this, QString::fromLatin1(VlanText::kInvalidVlanIdShort));
        return;
    }
    CVlanAddEditDlg dlg(this, m_portCount, m_deviceAsymmetric ? 1 : 2, m_records, vid);
    if (dlg.exec() == QDialog::Accepted) Refresh();
}

void CVlanConfigDlg::OnDelete() {
    const QString text = QString::fromLatin1(VlanText::kSelectDelete);
    QTreeWidgetItem* selected = RequireSelection(text, text);
    if (!selected) return;
    const std::string vid = selected->text(0).toStdString();
    RunApply(this, {.check =
                        [&] {
                            VlanDeleteVerdict verdict =
                                CheckVlanDelete(vid, m_deviceAsymmetric, m_pvids, m_voice);
                            Refuse(this, verdict.message);
                            return verdict.proceed;
                        },
                    .write =
                        [&] {
                            const std::string oid = VlanOid::kStaticRowState + Instance(LeadingInt(vid));
                            return SetNow(m_cCommonSNMPTableVlanDelete,
                                          {{oid, kBindInteger, std::to_string(kRowDestroy)}});
                        },
                    .reread = [this] { Refresh(); }});
}

void CVlanConfigDlg::OnPvid() {
    CPortVidDlg dlg(this, JoinVlanIds(m_records), LineCount(), m_records);
    dlg.exec();
    Refresh();
}
