#pragma once
// "Auto Surveillance VLAN OUI Settings": the OUI table with each entry's description, OUI and mask; adds
// user-defined OUIs (camera or server) and deletes them. Opened from the settings dialog's
// "OUI Table..." button.

#include "dialogs/switch/oui_list_dialog.h"

class CSurveillanceOuiDlg : public COuiListDialog {
    Q_OBJECT
public:
    explicit CSurveillanceOuiDlg(QWidget* parent = nullptr);

protected:
    void ReadAll() override { ReadOuiList(); }
    QStringList OuiLine(const WalkRow& row, const std::string& address) override;
    std::vector<SetItem> OuiColumns(const std::string& index) const override;
};
