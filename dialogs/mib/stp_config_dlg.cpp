#include "dialogs/mib/stp_config_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "dialogs/common/apply_sequence.h"
#include "dialogs/common/user_prompt.h"
#include "dialogs/mib/mib_value_maps.h"
#include "dialogs/mib/stp_port_table_dlg.h"

namespace {
const char* const kStpPriority = "1.3.6.1.2.1.17.2.2.0";
const char* const kBridgeMaxAge = "1.3.6.1.2.1.17.2.12.0";
const char* const kBridgeHelloTime = "1.3.6.1.2.1.17.2.13.0";
const char* const kBridgeForwardDelay = "1.3.6.1.2.1.17.2.14.0";
const std::string kRstpState = std::string("1.3.6.1.4.1.32473.10.75.13.6.1.1") + ".0";
const std::string kStpVersion = std::string("1.3.6.1.4.1.32473.10.75.13.6.1.2") + ".0";

QLineEdit* ReadOnlyLine(QWidget* parent, const char* name) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setReadOnly(true);
    return e;
}

QLineEdit* TimeField(QWidget* parent, const char* name) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setMaxLength(4);
    e->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,4}"), e));
    return e;
}

// Selects the entry showing `value`; a value outside the fixed list is added so the device's state shows.
void SelectByText(QComboBox* combo, const QString& value) {
    int i = combo->findText(value);
    if (i < 0) {
        combo->addItem(value);
        i = combo->count() - 1;
    }
    combo->setCurrentIndex(i);
}
}  // namespace

QString CheckBridgeTimes(long maxAge, long helloTime, long forwardDelay) {
    if (maxAge < 600 || maxAge > 4000)
        return QStringLiteral("Invalid Age Time value, the valid Age Time range is  (600-4000) ms !");
    if (forwardDelay < 400 || forwardDelay > 3000)
        return QStringLiteral(
            "Invalid Forward Delay value, the valid Forward Delay range is (400-3000) ms !");
    if (helloTime < 100 || helloTime > 1000)
        return QStringLiteral("Invalid Hello Time value, the valid Hello Time range is (100-1000) ms !");
    if (maxAge < 2 * helloTime + 200)
        return QStringLiteral(
            "To set the parameters Hello Time and Max Age the following relation is to be satisfied: \n"
            "Max Age >= (2*(Hello Time + 1.0))");
    if (2 * forwardDelay - 200 < maxAge)
        return QStringLiteral(
            "To set the parameters Forward Delay and Max Age, the following relation is to be satisfied: \n"
            "2*(Forward Delay - 1) >= Max Age");
    return QString();
}

CStpConfigDlg::CStpConfigDlg(QWidget* parent)
    : CModuleDialog(parent),
      m_cCommonSNMP(AddSession("m_cCommonSNMP")),
      m_cCommonSNMPSet(AddSession("m_cCommonSNMPSet")) {
    setObjectName("stpConfigDialog");
    setWindowTitle(" STP Configuration ");

    m_enableRstp = new QCheckBox(tr("Enable RSTP"), this);
    m_enableRstp->setObjectName("enableRstp");
    m_version = new QComboBox(this);
    m_version->setObjectName("stpVersion");
    AddChoices(m_version, kStpVersionChoices);
    m_priority = new QComboBox(this);
    m_priority->setObjectName("bridgePriority");
    for (int p = 0; p <= 61440; p += 4096) m_priority->addItem(QString::number(p));
    m_maxAge = TimeField(this, "maxAge");
    m_helloTime = TimeField(this, "helloTime");
    m_forwardDelay = TimeField(this, "forwardDelay");

    auto* bridge = new QGroupBox(tr("Bridge Settings"), this);
    auto* bridgeForm = new QFormLayout(bridge);
    bridgeForm->addRow(m_enableRstp);
    bridgeForm->addRow(tr("STP Version:"), m_version);
    bridgeForm->addRow(tr("Priority:"), m_priority);
    bridgeForm->addRow(tr("Age Time(600-4000):"), m_maxAge);
    bridgeForm->addRow(tr("Hello Time(100-1000):"), m_helloTime);
    bridgeForm->addRow(tr("Delay(400-3000):"), m_forwardDelay);
    auto* unit = new QLabel(tr("Time Unit: 1/100 Second"), this);
    unit->setEnabled(false);
    bridgeForm->addRow(unit);

    m_designatedRoot = ReadOnlyLine(this, "designatedRoot");
    m_designatedRoot->setMinimumWidth(
        m_designatedRoot->fontMetrics().horizontalAdvance("00:00:00:00:00:00:00:00") + 16);
    m_rootPort = ReadOnlyLine(this, "rootPort");
    m_topoChangeTime = ReadOnlyLine(this, "topoChangeTime");
    m_topoChanged = ReadOnlyLine(this, "topoChanged");
    m_currentHello = ReadOnlyLine(this, "currentHelloTime");
    m_holdTime = ReadOnlyLine(this, "holdTime");
    m_currentForwardDelay = ReadOnlyLine(this, "currentForwardDelay");

    auto* root = new QGroupBox(tr("Root Information"), this);
    auto* rootForm = new QFormLayout(root);
    rootForm->addRow(tr("Designated Root:"), m_designatedRoot);
    rootForm->addRow(tr("RootPort:"), m_rootPort);
    rootForm->addRow(tr("TopoChangeTime:"), m_topoChangeTime);
    rootForm->addRow(tr("TopoChanged:"), m_topoChanged);
    rootForm->addRow(tr("Hello Time:"), m_currentHello);
    rootForm->addRow(tr("Hold Time:"), m_holdTime);
    rootForm->addRow(tr("Forward Delay:"), m_currentForwardDelay);

    auto* groups = new QHBoxLayout;
    groups->addWidget(bridge, 1);
    groups->addWidget(root, 1);

    m_portSetting = new QPushButton(tr("Port Setting"), this);
    m_portSetting->setObjectName("portSettingButton");
    m_apply = new QPushButton(tr("&Apply"), this);
    m_apply->setObjectName("applyButton");
    m_close = new QPushButton(tr("&Close"), this);
    m_close->setObjectName("closeButton");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_portSetting);
    buttons->addStretch(1);
    buttons->addWidget(m_apply);
    buttons->addWidget(m_close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addStretch(1);
    layout->addLayout(buttons);

    connect(m_enableRstp, &QCheckBox::clicked, this, &CStpConfigDlg::EnableSettings);
    connect(m_apply, &QPushButton::clicked, this, &CStpConfigDlg::Apply);
    connect(m_portSetting, &QPushButton::clicked, this, &CStpConfigDlg::OpenPortTable);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);

    // Until the device says RSTP is on, nothing but the check box can be changed.
    m_priority->setCurrentIndex(0);
    m_version->setCurrentIndex(0);
    EnableSettings(false);
    m_portSetting->setEnabled(false);
}

void CStpConfigDlg::OnInitDialog() {
    Read();
}

void CStpConfigDlg::EnableSettings(bool enable) {
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_version, m_priority, m_maxAge, m_helloTime, m_forwardDelay})
        w->setEnabled(enable);
}

void CStpConfigDlg::Read() {
    StartGet(
        m_cCommonSNMP,
        {kStpPriority, "1.3.6.1.2.1.17.2.3.0", "1.3.6.1.2.1.17.2.4.0", "1.3.6.1.2.1.17.2.5.0",
         "1.3.6.1.2.1.17.2.7.0", kBridgeMaxAge, kBridgeHelloTime, kBridgeForwardDelay, "1.3.6.1.2.1.17.2.9.0",
         "1.3.6.1.2.1.17.2.10.0", "1.3.6.1.2.1.17.2.11.0", kRstpState, kStpVersion},
        [this](const std::vector<SnmpBinding>& bindings) { Fill(bindings); });
}

void CStpConfigDlg::Fill(const std::vector<SnmpBinding>& b) {
    if (b.size() < 13) return;
    auto text = [&b](int i) { return QString::fromStdString(b[i].value); };
    SelectByText(m_priority, text(0));
    m_topoChangeTime->setText(text(1));
    m_topoChanged->setText(text(2));
    m_designatedRoot->setText(QString::fromStdString(BridgeIdText(b[3].value)));
    m_rootPort->setText(text(4));
    m_maxAge->setText(text(5));
    m_helloTime->setText(text(6));
    m_forwardDelay->setText(text(7));
    m_currentHello->setText(text(8));
    m_holdTime->setText(text(9));
    m_currentForwardDelay->setText(text(10));
    const bool rstp = b[11].value == "1";
    m_enableRstp->setChecked(rstp);
    if (b[12].value == "2")
        m_version->setCurrentIndex(0);
    else if (b[12].value == "0")
        m_version->setCurrentIndex(1);
    EnableSettings(rstp);
    m_portSetting->setEnabled(rstp);
}

void CStpConfigDlg::Apply() {
    const long priority = FieldValue(m_priority->currentText().toStdString());
    const long maxAge = FieldValue(m_maxAge->text().toStdString());
    const long forwardDelay = FieldValue(m_forwardDelay->text().toStdString());
    const long helloTime = FieldValue(m_helloTime->text().toStdString());
    const bool rstp = m_enableRstp->isChecked();
    RunApply(this, {.check =
                        [&] {
                            const QString error = CheckBridgeTimes(maxAge, helloTime, forwardDelay);
                            if (error.isEmpty()) return true;
                            Inform(this, error, PromptIcon::Warning);
                            return false;
                        },
                    .write =
                        [&] {
                            m_portSetting->setEnabled(rstp);
                            return SetNow(
                                m_cCommonSNMPSet,
                                {{kBridgeMaxAge, kBindInteger, std::to_string(maxAge)},
                                 {kBridgeHelloTime, kBindInteger, std::to_string(helloTime)},
                                 {kBridgeForwardDelay, kBindInteger, std::to_string(forwardDelay)},
                                 {kStpPriority, kBindInteger, std::to_string(std::max(priority, 0L))},
                                 {kStpVersion, kBindInteger,
                                  ValueText(ChoiceValue(kStpVersionChoices, m_version->currentIndex()))},
                                 {kRstpState, kBindInteger, kRstpStateValues.TextOf(rstp)}});
                        },
                    .pauseMs = 30,
                    .reread = [this] { Read(); },
                    .failureText = QStringLiteral("The switch did not accept the bridge settings."),
                    .rereadOnFailure = true});
}

void CStpConfigDlg::OpenPortTable() {
    CStpPortTableDlg table(this);
    table.exec();
}
