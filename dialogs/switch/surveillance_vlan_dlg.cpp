#include "dialogs/switch/surveillance_vlan_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/module_settings.h"
#include "core/text_number.h"
#include "dialogs/common/address_checks.h"
#include "dialogs/common/apply_sequence.h"
#include "dialogs/common/user_prompt.h"
#include "dialogs/switch/surveillance_oui_dlg.h"
#include "dialogs/switch/vlan_rules.h"

namespace {

CListFormDialog::Frame SettingsFrame() {
    CListFormDialog::Frame f;
    f.title = QStringLiteral("Auto Surveillance VLAN Settings");
    f.objectName = QStringLiteral("surveillanceVlanDialog");
    f.columns = {{QStringLiteral("Component Type"), 220},
                 {QStringLiteral("Description"), 170},
                 {QStringLiteral("MAC Address"), 150}};
    f.buttons = CListFormDialog::kAdd | CListFormDialog::kDelete | CListFormDialog::kRefresh |
                CListFormDialog::kClose;
    f.sideButtons = true;
    return f;
}

// The list walks component type, description, address and row status, in this order.
std::vector<std::string> SettingsColumns() {
    return {SurveillanceOid::kOuiType, SurveillanceOid::kOuiDescription, SurveillanceOid::kOuiAddress,
            SurveillanceOid::kOuiStatus};
}

QComboBox* Combo(const char* name, Choices items, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    AddChoices(box, items);
    return box;
}

}  // namespace

CSurveillanceVlanDlg::CSurveillanceVlanDlg(QWidget* parent)
    : COuiListDialog(SettingsFrame(), OuiForm::Settings, SettingsColumns(), 2, parent),
      m_cCommonSNMP(AddSession("m_cCommonSNMP")),
      m_cCommonSNMPVlan(AddSession("m_cCommonSNMPVlan")) {
    auto* global = new QGroupBox(QStringLiteral("Auto Surveillance VLAN Global Settings"), this);
    global->setObjectName(QStringLiteral("globalGroup"));
    m_enable = new QCheckBox(QStringLiteral("Enable Auto Surveillance VLAN"), global);
    m_enable->setObjectName(QStringLiteral("enableSurveillance"));
    m_vlanId = new QComboBox(global);
    m_vlanId->setObjectName(QStringLiteral("vlanId"));
    m_vlanId->setMinimumContentsLength(6);
    m_priority = Combo("priority", kSurveillancePriorityChoices, global);
    m_apply = new QPushButton(QStringLiteral("&Apply"), global);
    m_apply->setObjectName(QStringLiteral("applyButton"));
    m_apply->setAutoDefault(false);
    auto* globalRow = new QHBoxLayout(global);
    globalRow->addWidget(m_enable);
    globalRow->addSpacing(16);
    globalRow->addWidget(new QLabel(QStringLiteral("Vlan ID"), global));
    globalRow->addWidget(m_vlanId);
    globalRow->addSpacing(16);
    globalRow->addWidget(new QLabel(QStringLiteral("Priority"), global));
    globalRow->addWidget(m_priority);
    globalRow->addStretch(1);
    globalRow->addWidget(m_apply);

    auto* user = new QGroupBox(QStringLiteral("User-defined MAC Settings "), this);
    user->setObjectName(QStringLiteral("userGroup"));
    m_type = Combo("componentType", kComponentTypeChoices, user);
    auto* userLayout = new QVBoxLayout(user);
    userLayout->addWidget(new QLabel(
        QStringLiteral(
            "To add more device(s) for Auto Surveillance VLAN by user-defined configuration as below "),
        user));
    userLayout->addWidget(new QLabel(QStringLiteral("Note:Maximum user defined OUI:5"), user));
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Component Type "), m_type);
    fields->addRow(QStringLiteral("Description"), m_description);
    fields->addRow(QStringLiteral("MAC Address(XX-XX-XX-XX-XX-XX)"), m_mac);
    userLayout->addLayout(fields);

    TopArea()->addWidget(global);
    TopArea()->addWidget(user);

    QPushButton* ouiTable = AddButton(QStringLiteral("OUI &Table..."), "ouiTableButton");
    connect(ouiTable, &QPushButton::clicked, this, &CSurveillanceVlanDlg::OnOuiTable);
    connect(m_apply, &QPushButton::clicked, this, &CSurveillanceVlanDlg::OnApplyGlobal);
    if (!Settings().WriteAccess) m_apply->setEnabled(false);
    resize(760, 560);
}

void CSurveillanceVlanDlg::ReadAll() {
    ReadVlans();
    ReadOuiList();
}

void CSurveillanceVlanDlg::ReadVlans() {
    m_vlanId->clear();
    // The combo offers the active VLANs; the global objects are shown once it is filled.
    StartWalk(
        m_cCommonSNMPVlan, {VlanOid::kStaticName, VlanOid::kStaticRowState},
        [this](const WalkRow& row) {
            if (row.bindings.size() < 2 || row.suffixes.empty() || row.bindings[1].value != "1") return;
            const int vid = LeadingInt(row.suffixes[0].substr(row.suffixes[0].empty() ? 0 : 1));
            if (vid > 0) m_vlanId->addItem(QString::number(vid), vid);
        },
        [this](int) { ReadGlobals(); }, {m_apply}, WalkOptions{2, kMaxVlanRows, 0});
}

void CSurveillanceVlanDlg::ReadGlobals() {
    StartGet(m_cCommonSNMP, {SurveillanceOid::kState, SurveillanceOid::kVlanId, SurveillanceOid::kPriority},
             [this](const std::vector<SnmpBinding>& answer) { ShowGlobals(answer); }, {}, {m_apply});
}

void CSurveillanceVlanDlg::ShowGlobals(const std::vector<SnmpBinding>& answer) {
    if (answer.size() < 3) return;
    m_enable->setChecked(answer[0].value == "1");
    const int vid = LeadingInt(answer[1].value);
    int at = m_vlanId->findData(vid);
    if (at < 0 && vid > 0) {
        // The switch names a VLAN the combo does not offer: show it as it is rather than another one.
        m_vlanId->addItem(QString::number(vid), vid);
        at = m_vlanId->count() - 1;
    }
    m_vlanId->setCurrentIndex(at);
    const int priority = LeadingInt(answer[2].value);
    if (priority >= 0 && priority < m_priority->count()) m_priority->setCurrentIndex(priority);
}

void CSurveillanceVlanDlg::OnApplyGlobal() {
    const int chosen = m_vlanId->currentData().toInt();
    ApplyPlan plan;
    plan.check = [this, chosen] {
        // The switch's modes as they are now, not as last shown.
        std::vector<SnmpBinding> mode;
        if (chosen <= 0 ||
            GetNow(m_cCommonSNMP, {VlanOid::kAsymmetricMode, VlanOid::kVoiceState, VlanOid::kVoiceId},
                   mode) != 0 ||
            mode.size() < 3)
            return Refuse(this, QString::fromLatin1(kSettingsNotReadText));
        const std::string refusal = SurveillanceApplyRefusal(
            LeadingInt(mode[0].value), LeadingInt(mode[1].value), LeadingInt(mode[2].value), chosen);
        if (refusal.empty()) return true;
        Inform(this, QString::fromStdString(refusal));
        Refresh();  // the controls show the switch's settings again
        return false;
    };
    plan.write = [this, chosen] {
        return SetNow(m_cCommonSNMP,
                      {{SurveillanceOid::kVlanId, kBindInteger, std::to_string(chosen)},
                       {SurveillanceOid::kPriority, kBindInteger,
                        ValueText(ChoiceValue(kSurveillancePriorityChoices, m_priority->currentIndex()))},
                       {SurveillanceOid::kState, kBindInteger,
                        kSurveillanceStateValues.TextOf(m_enable->isChecked())}});
    };
    plan.failureText = QStringLiteral("The switch did not accept the surveillance VLAN settings.");
    plan.reread = [this] { Refresh(); };
    plan.rereadOnFailure = true;
    RunApply(this, plan);
}

QStringList CSurveillanceVlanDlg::OuiLine(const WalkRow& row, const std::string& address) {
    return {QString::fromStdString(ComponentTypeText(LeadingInt(row.bindings[0].value))),
            QString::fromUtf8(row.bindings[1].value.data(), static_cast<int>(row.bindings[1].value.size())),
            QString::fromStdString(MacText(address))};
}

std::vector<CModuleDialog::SetItem> CSurveillanceVlanDlg::OuiColumns(const std::string& index) const {
    return {
        {SurveillanceOid::kOuiDescription + index, kBindOctets, m_description->text().toUtf8().toStdString()},
        {SurveillanceOid::kOuiType + index, kBindInteger,
         ValueText(ChoiceValue(kComponentTypeChoices, m_type->currentIndex()))}};
}

void CSurveillanceVlanDlg::OnOuiTable() {
    CSurveillanceOuiDlg table(this);
    table.exec();
    Refresh();
}
