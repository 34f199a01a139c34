#include "dialogs/switch/surveillance_oui_dlg.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "dialogs/common/address_checks.h"

namespace {

CListFormDialog::Frame OuiFrame() {
    CListFormDialog::Frame f;
    f.title = QStringLiteral("Auto Surveillance VLAN OUI Settings");
    f.objectName = QStringLiteral("surveillanceOuiDialog");
    f.listGroup = QStringLiteral("Auto Surveillance VLAN OUI Info");
    f.columns = {{QStringLiteral("Description"), 200},
                 {QStringLiteral("Surveillance OUI"), 150},
                 {QStringLiteral("OUI Mask"), 150}};
    f.buttons = CListFormDialog::kAdd | CListFormDialog::kDelete | CListFormDialog::kRefresh |
                CListFormDialog::kClose;
    f.sideButtons = true;
    return f;
}

}  // namespace

// The list walks description, address, mask and row status, in this order.
CSurveillanceOuiDlg::CSurveillanceOuiDlg(QWidget* parent)
    : COuiListDialog(OuiFrame(), OuiForm::OuiTable,
                     {SurveillanceOid::kOuiDescription, SurveillanceOid::kOuiAddress,
                      SurveillanceOid::kOuiMask, SurveillanceOid::kOuiStatus},
                     1, parent) {
    auto* user = new QGroupBox(this);
    user->setObjectName(QStringLiteral("userGroup"));
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Description"), m_description);
    fields->addRow(QStringLiteral("Surveillance OUI"), m_mac);
    fields->addRow(QString(), new QLabel(QStringLiteral("(XX-XX-XX-XX-XX-XX)"), user));
    auto* layout = new QVBoxLayout(user);
    layout->addWidget(new QLabel(QStringLiteral("User defined OUI \n(Camera or Server)"), user));
    layout->addLayout(fields);
    layout->addWidget(new QLabel(QStringLiteral("( Maximum user defined OUI:5)"), user));
    TopArea()->addWidget(user);
    resize(640, 480);
}

QStringList CSurveillanceOuiDlg::OuiLine(const WalkRow& row, const std::string& address) {
    return {QString::fromUtf8(row.bindings[0].value.data(), static_cast<int>(row.bindings[0].value.size())),
            QString::fromStdString(MacText(address)), QString::fromStdString(MacText(row.bindings[2].value))};
}

// Only the description: the switch gives a new entry the OUI mask FF-FF-FF-00-00-00 itself.
std::vector<CModuleDialog::SetItem> CSurveillanceOuiDlg::OuiColumns(const std::string& index) const {
    return {{SurveillanceOid::kOuiDescription + index, kBindOctets,
             m_description->text().toUtf8().toStdString()}};
}
