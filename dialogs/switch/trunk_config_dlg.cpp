#include "dialogs/switch/trunk_config_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "core/text_number.h"
#include "dialogs/common/apply_sequence.h"
#include "dialogs/common/user_prompt.h"
#include "dialogs/switch/trunk_member_dlg.h"
#include "dialogs/switch/trunk_rules.h"
#include "snmp/encodings.h"

namespace {
// The switch has 8 trunks; the walk stops at twice that on a device that lists more.
constexpr int kMaxTrunkRows = 16;

CListFormDialog::Frame TrunkFrame() {
    CListFormDialog::Frame f;
    f.title = QStringLiteral("Trunk Configuration");
    f.objectName = QStringLiteral("trunkConfigDialog");
    f.listGroup = QStringLiteral("Trunk Information");
    f.columns = {{QStringLiteral("TrunkID    "), 0},
                 {QStringLiteral("PortChannelMode    "), 0},
                 {QStringLiteral("PortMember                            "), 0}};
    f.buttons = CListFormDialog::kApply | CListFormDialog::kRefresh | CListFormDialog::kClose;
    return f;
}

}  // namespace

CTrunkConfigDlg::CTrunkConfigDlg(QWidget* parent)
    : CListFormDialog(TrunkFrame(), parent),
      m_cCommonSNMP(AddSession("m_cCommonSNMP")),
      m_cCommonSNMPTable(AddSession("m_cCommonSNMPTable")),
      m_cCommonSNMPSet(AddSession("m_cCommonSNMPSet")),
      m_portCount(Settings().PortCount > 0 ? Settings().PortCount : 0) {
    auto* stateGroup = new QGroupBox(QStringLiteral("Trunk status"), this);
    m_enable = new QCheckBox(QStringLiteral("Enable Trunk"), stateGroup);
    m_enable->setObjectName(QStringLiteral("enableTrunk"));
    m_stateApply = new QPushButton(QStringLiteral("&Apply"), stateGroup);
    m_stateApply->setObjectName(QStringLiteral("stateApplyButton"));
    m_stateApply->setAutoDefault(false);
    AddBusy(m_stateApply);
    auto* stateLayout = new QHBoxLayout(stateGroup);
    stateLayout->addWidget(m_enable);
    stateLayout->addStretch(1);
    stateLayout->addWidget(m_stateApply);
    TopArea()->addWidget(stateGroup);

    auto* configGroup = new QGroupBox(QStringLiteral("Trunk Configuration"), this);
    m_trunkId = new QLineEdit(configGroup);
    m_trunkId->setObjectName(QStringLiteral("trunkId"));
    m_mode = new QComboBox(configGroup);
    m_mode->setObjectName(QStringLiteral("portChannelMode"));
    AddChoices(m_mode, kTrunkModeChoices);
    auto* form = new QFormLayout(configGroup);
    form->addRow(QStringLiteral("Trunk ID:"), m_trunkId);
    form->addRow(QStringLiteral("PortChannelMode:"), m_mode);
    FormArea()->addWidget(configGroup);

    // Enabled by the reading, not by the walk's busy handling: it depends on the state read.
    m_portMember = AddButton(QStringLiteral("&PortMember"), "portMemberButton", false);
    m_portMember->setEnabled(false);

    connect(m_stateApply, &QPushButton::clicked, this, &CTrunkConfigDlg::OnStateApply);
    connect(m_portMember, &QPushButton::clicked, this, &CTrunkConfigDlg::OnPortMember);
    DisableWithoutWriteAccess({m_stateApply, StandardButton(kApply)});
    resize(560, 460);
}

void CTrunkConfigDlg::ReadAll() {
    m_portMember->setEnabled(false);
    StartGet(
        m_cCommonSNMP, {TrunkOid::kState},
        [this](const std::vector<SnmpBinding>& b) {
            m_stateEnabled = !b.empty() && b[0].value == "1";
            m_enable->setChecked(m_stateEnabled);
            WalkTrunks();
        },
        [this](int) {
            m_stateEnabled = false;
            m_enable->setChecked(false);
            WalkTrunks();
        },
        BusyButtons());
}

void CTrunkConfigDlg::WalkTrunks() {
    WalkList(m_cCommonSNMPTable, {kTrunkMemberListOid, kTrunkModeOid}, WalkOptions{2, kMaxTrunkRows, 0});
}

std::optional<QStringList> CTrunkConfigDlg::LineFromRow(const WalkRow& row) {
    if (row.bindings.size() < 2 || row.suffixes.empty()) return std::nullopt;
    const int trunk = LeadingInt(row.suffixes[0].empty() ? std::string() : row.suffixes[0].substr(1));
    return QStringList{QString::number(trunk),
                       QString::fromLatin1(TrunkModeText(LeadingInt(row.bindings[1].value))),
                       QString::fromStdString(PortListToText(row.bindings[0].value, m_portCount))};
}

void CTrunkConfigDlg::OnListRead(int) {
    m_portMember->setEnabled(m_stateEnabled && Settings().WriteAccess);
}

void CTrunkConfigDlg::OnLineSelected(QTreeWidgetItem* item) {
    m_trunkId->setText(item->text(0));
    m_mode->setCurrentIndex(TrunkModeItem(item->text(1).toStdString()));
}

void CTrunkConfigDlg::OnStateApply() {
    const bool on = m_enable->isChecked();
    RunApply(this, {.write =
                        [this, on] {
                            return SetNow(m_cCommonSNMP,
                                          {{TrunkOid::kState, kBindInteger, kTrunkStateValues.TextOf(on)}});
                        },
                    .pauseMs = 10,
                    .reread = [this] { Refresh(); },
                    .failureText = QStringLiteral("The switch did not accept the trunk state."),
                    .rereadOnFailure = true});
}

void CTrunkConfigDlg::OnPortMember() {
    QTreeWidgetItem* line = RequireSelection(QString::fromLatin1(TrunkText::kSelectTrunk),
                                             QString::fromLatin1(TrunkText::kSelectTrunk));
    if (!line) return;
    if (line->text(1) == QLatin1String("Disable")) {
        Inform(this, QString::fromLatin1(TrunkText::kStateDisabled));
        return;
    }
    CTrunkMemberDlg dlg(this, line->text(0).toInt(), line->text(1), m_portCount);
    if (dlg.exec() == QDialog::Accepted) Refresh();
}

void CTrunkConfigDlg::OnApply() {
    const std::string field = m_trunkId->text().toStdString();
    const int item = m_mode->currentIndex();
    RunApply(this, {.check =
                        [this, field] {
                            std::vector<int> withMembers;
                            for (int i = 0; i < LineCount(); ++i) {
                                QTreeWidgetItem* line = List()->topLevelItem(i);
                                if (!line->text(2).isEmpty()) withMembers.push_back(line->text(0).toInt());
                            }
                            const std::string refusal = TrunkModeRefusal(field, withMembers);
                            if (Refuse(this, refusal)) return true;
                            if (refusal == TrunkText::kTrunkIdRange) {
                                m_trunkId->setFocus();
                                m_trunkId->selectAll();
                            }
                            return false;
                        },
                    .write =
                        [this, field, item] {
                            const std::string oid =
                                std::string(kTrunkModeOid) + "." + std::to_string(LeadingInt(field));
                            return SetNow(
                                m_cCommonSNMPSet,
                                {{oid, kBindInteger, ValueText(ChoiceValue(kTrunkModeChoices, item))}});
                        },
                    .pauseMs = 50,
                    .reread = [this] { Refresh(); },
                    .failureText = QStringLiteral("The switch did not accept the channel mode."),
                    .rereadOnFailure = true});
}
