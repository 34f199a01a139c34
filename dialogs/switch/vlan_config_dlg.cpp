#include "dialogs/switch/vlan_config_dlg.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QThread>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "dialogs/common/user_prompt.h"
#include "dialogs/switch/port_vid_dlg.h"
#include "dialogs/switch/vlan_add_edit_dlg.h"

namespace {

QPushButton* Button(const QString& text, const char* name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

std::string Instance(int index) {
    return "." + std::to_string(index);
}

}  // namespace

CVlanConfigDlg::CVlanConfigDlg(QWidget* parent)
    : CModuleDialog(parent),
      m_cCommonSNMP(AddSession("m_cCommonSNMP")),
      m_cCommonSNMPTable(AddSession("m_cCommonSNMPTable")),
      m_cCommonSNMPVoiceVlan(AddSession("m_cCommonSNMPVoiceVlan")),
      m_cCommonSNMPTableVlan(AddSession("m_cCommonSNMPTableVlan")),
      m_cCommonSNMPTableVlanDelete(AddSession("m_cCommonSNMPTableVlanDelete")),
      m_portCount(Settings().PortCount > 0 ? Settings().PortCount : 0),
      m_pvids(m_portCount, 0) {
    setObjectName(QStringLiteral("vlanConfigDialog"));
    setWindowTitle(QStringLiteral("802.1Q VLAN Configuration"));

    auto* modeGroup = new QGroupBox(QStringLiteral("802.1Q Asymmetric VLAN Configuration "), this);
    modeGroup->setObjectName(QStringLiteral("asymmetricGroup"));
    m_asymmetric = new QCheckBox(QStringLiteral("Enable Asymmetric VLAN"), modeGroup);
    m_asymmetric->setObjectName(QStringLiteral("enableAsymmetricVlan"));
    m_apply = Button(QStringLiteral("&Apply"), "applyButton", modeGroup);
    auto* modeLayout = new QHBoxLayout(modeGroup);
    modeLayout->addWidget(m_asymmetric);
    modeLayout->addStretch(1);
    modeLayout->addWidget(m_apply);

    auto* listGroup = new QGroupBox(QStringLiteral("802.1Q VLAN Information"), this);
    listGroup->setObjectName(QStringLiteral("vlanGroup"));
    m_list = new QTreeWidget(listGroup);
    m_list->setObjectName(QStringLiteral("vlanList"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAlternatingRowColors(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setHeaderLabels({QStringLiteral("VLAN ID"), QStringLiteral("VLAN Name"),
                             QStringLiteral("No.of Ports"), QStringLiteral("Egress Port Member"),
                             QStringLiteral("Untag Port Member")});
    const int widths[] = {80, 120, 100, 220, 220};
    for (int i = 0; i < 5; ++i) m_list->header()->resizeSection(i, widths[i]);
    m_list->header()->setStretchLastSection(true);
    m_list->setMinimumSize(760, 260);

    m_pvid = Button(QStringLiteral("&PVID"), "pvidButton", listGroup);
    m_add = Button(QStringLiteral("&Add"), "addButton", listGroup);
    m_edit = Button(QStringLiteral("&Edit"), "editButton", listGroup);
    m_delete = Button(QStringLiteral("&Delete"), "deleteButton", listGroup);
    m_refresh = Button(QStringLiteral("&Refresh"), "refreshButton", listGroup);
    auto* actions = new QVBoxLayout;
    for (QPushButton* b : {m_add, m_edit, m_delete, m_pvid}) actions->addWidget(b);
    actions->addStretch(1);
    actions->addWidget(m_refresh);
    auto* listLayout = new QHBoxLayout(listGroup);
    listLayout->addWidget(m_list, 1);
    listLayout->addLayout(actions);

    m_close = Button(QStringLiteral("&Close"), "closeButton", this);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(m_close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(modeGroup);
    layout->addWidget(listGroup, 1);
    layout->addLayout(bottom);

    connect(m_apply, &QPushButton::clicked, this, &CVlanConfigDlg::OnApply);
    connect(m_add, &QPushButton::clicked, this, &CVlanConfigDlg::OnAdd);
    connect(m_edit, &QPushButton::clicked, this, &CVlanConfigDlg::OnEdit);
    connect(m_delete, &QPushButton::clicked, this, &CVlanConfigDlg::OnDelete);
    connect(m_pvid, &QPushButton::clicked, this, &CVlanConfigDlg::OnPvid);
    connect(m_refresh, &QPushButton::clicked, this, &CVlanConfigDlg::Refresh);
    connect(m_close, &QPushButton::clicked, this, &CVlanConfigDlg::accept);
    // A double-click edits, as long as editing is allowed at all.
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (m_edit->isEnabled()) OnEdit();
    });

    if (!Settings().WriteAccess) {
        for (QPushButton* b : {m_add, m_edit, m_delete, m_pvid}) b->setEnabled(false);
    }
}

void CVlanConfigDlg::OnInitDialog() {
    m_asymmetric->setChecked(false);
    Refresh();
}

void CVlanConfigDlg::Refresh() {
    if (SessionsClosed()) return;
    StartGet(m_cCommonSNMPVoiceVlan,
             {VlanOid::kVoiceState, VlanOid::kVoiceId, VlanOid::kSurveillanceState, VlanOid::kSurveillanceId},
             [this](const std::vector<SnmpBinding>& b) { m_voice = VoiceSurveillanceFromAnswer(b); });

    m_records.clear();
    ReadMode();

    StartWalk(
        m_cCommonSNMPTable, {VlanOid::kPvid},
        [this](const WalkRow& row) {
            if (row.index < m_portCount && !row.bindings.empty())
                m_pvids[row.index] = LeadingInt(row.bindings[0].value);
        },
        {}, {}, WalkOptions{1, m_portCount, 0});

    m_list->clear();
    StartWalk(
        m_cCommonSNMPTableVlan,
        {VlanOid::kStaticName, VlanOid::kStaticEgressPorts, VlanOid::kStaticUntaggedPorts,
         VlanOid::kForbiddenEgressPorts, VlanOid::kStaticRowState},
        [this](const WalkRow& row) { AddRow(row); }, {},
        // The switch keeps at most 256 VLANs; the margin tolerates a firmware that shows a few more.
        {m_apply, m_add, m_edit, m_delete, m_pvid, m_refresh, m_close}, WalkOptions{5, 256 + 16, 0});
}

void CVlanConfigDlg::ReadMode() {
    std::vector<SnmpBinding> answer;
    if (GetNow(m_cCommonSNMP, {VlanOid::kAsymmetricMode}, answer) == 0 && !answer.empty()) {
        m_deviceAsymmetric = answer[0].value == "1";
        m_asymmetric->setChecked(m_deviceAsymmetric);
    }
}

void CVlanConfigDlg::AddRow(const WalkRow& row) {
    VlanRecord r;
    if (!VlanRecordFromRow(row.suffixes.empty() ? std::string() : row.suffixes[0], row.bindings, m_portCount,
                           r))
        return;
    m_records.push_back(r);
    auto* item = new QTreeWidgetItem(m_list);
    item->setText(0, QString::number(r.vlanId));
    item->setText(1, QString::fromUtf8(r.name.data(), static_cast<int>(r.name.size())));
    item->setText(2, QString::number(r.egressCount));
    item->setText(3, QString::fromStdString(r.egressText));
    item->setText(4, QString::fromStdString(r.untaggedText));
}

void CVlanConfigDlg::OnApply() {
    if (std::string refusal = AsymmetricApplyRefusal(m_voice); !refusal.empty()) {
        Inform(this, QString::fromStdString(refusal));
        ReadMode();  // the box shows the device's mode again
        return;
    }
    if (!Confirm(this, QString::fromLatin1(VlanText::kResetQuestion))) return;
    WaitCursor wait;
    if (SetNow(m_cCommonSNMP,
               {{VlanOid::kAsymmetricMode, kBindInteger, m_asymmetric->isChecked() ? "1" : "2"}}) != 0)
        return;
    QThread::msleep(50);
    Refresh();
}

void CVlanConfigDlg::OnAdd() {
    if (m_list->topLevelItemCount() >= kMaxVlanRows) {
        Inform(this, QString::fromLatin1(VlanText::kOverLimit));
        return;
    }
    CVlanAddEditDlg dlg(this, m_portCount, m_deviceAsymmetric ? 1 : 2, m_records);
    if (dlg.exec() == QDialog::Accepted) Refresh();
}

void CVlanConfigDlg::OnEdit() {
    if (m_list->topLevelItemCount() == 0) {
        Inform(this, QString::fromLatin1(VlanText::kSelectVlan));
        return;
    }
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty()) {
        Inform(this, QString::fromLatin1(VlanText::kSelectVlan), PromptIcon::Information);
        return;
    }
    const int vid = LeadingInt(selected.first()->text(0).toStdString());
    if (vid <= 0) {
        Inform(this, QString::fromLatin1(VlanText::kInvalidVlanIdShort));
        return;
    }
    CVlanAddEditDlg dlg(this, m_portCount, m_deviceAsymmetric ? 1 : 2, m_records, vid);
    if (dlg.exec() == QDialog::Accepted) Refresh();
}

void CVlanConfigDlg::OnDelete() {
    if (m_list->topLevelItemCount() == 0) {
        Inform(this, QString::fromLatin1(VlanText::kSelectDelete));
        return;
    }
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty()) {
        Inform(this, QString::fromLatin1(VlanText::kSelectDelete), PromptIcon::Information);
        return;
    }
    const std::string text = selected.first()->text(0).toStdString();
    VlanDeleteVerdict verdict = CheckVlanDelete(text, m_deviceAsymmetric, m_pvids, m_voice);
    if (!verdict.message.empty()) Inform(this, QString::fromStdString(verdict.message));
    if (!verdict.proceed) return;
    WaitCursor wait;
    const std::string oid = std::string(VlanOid::kStaticRowState) + Instance(LeadingInt(text));
    if (SetNow(m_cCommonSNMPTableVlanDelete, {{oid, kBindInteger, std::to_string(kRowDestroy)}}) == 0)
        Refresh();
}

void CVlanConfigDlg::OnPvid() {
    CPortVidDlg dlg(this, JoinVlanIds(m_records), m_list->topLevelItemCount(), m_records);
    dlg.exec();
    Refresh();
}
