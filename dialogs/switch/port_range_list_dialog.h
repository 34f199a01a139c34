#pragma once
// CPortRangeListDialog: the frame of the per-port setting dialogs (DHCP server screening, multicast
// filtering): one list line per port, a "From Port" / "To Port" range with one setting to apply to it,
// and the trunk membership read again with every refresh for the dialogs' trunk rules. Choosing a line
// puts its port and setting into the form.

#include "dialogs/common/choices.h"
#include "dialogs/common/list_form_dialog.h"
#include "dialogs/common/trunk_membership.h"

class CPortRange;
class QComboBox;

class CPortRangeListDialog : public CListFormDialog {
    Q_OBJECT
protected:
    // Columns "Port" and `valueLabel`; the setting's combo is named `valueName` and offers `items`.
    CPortRangeListDialog(Frame frame, const QString& valueLabel, const char* valueName, Choices items,
                         QWidget* parent);

    // Starts reading the trunk membership (call from ReadAll).
    void ReadTrunks();
    // False until the trunks of the last refresh were read.
    bool TrunksRead() const { return m_trunksRead; }
    const TrunkMembership& Trunks() const { return m_trunks; }

    void OnLineSelected(QTreeWidgetItem* item) override;

    CCommonSNMP& m_cCommonSNMP;       // the settings
    CCommonSNMP& m_cCommonSNMPTrunk;  // the trunk members
    CCommonSNMP& m_cCommonSNMPSet;    // Apply
    const int m_portCount;
    CPortRange* m_range = nullptr;
    QComboBox* m_value = nullptr;

private:
    TrunkMembership m_trunks;
    bool m_trunksRead = false;
};
