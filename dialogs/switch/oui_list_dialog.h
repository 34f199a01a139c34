#pragma once
// COuiListDialog: what the two auto surveillance VLAN dialogs share about the OUI table. The list walk
// keeps every listed entry's address; Add checks a new user-defined OUI with the dialog's own texts and
// makes the row (createAndGo, then the dialog's columns); Delete keeps the default entry. The dialogs
// add their columns, line texts and the rest of their form.

#include <string>
#include <vector>

#include "dialogs/common/list_form_dialog.h"
#include "dialogs/switch/surveillance_rules.h"

class QLineEdit;

class COuiListDialog : public CListFormDialog {
    Q_OBJECT
public:
    // Six address bytes of every listed entry, in list order.
    const std::vector<std::string>& Listed() const { return m_listed; }

protected:
    // `columns` are the OUI table columns the list walks, the address column at `addressAt`.
    COuiListDialog(const Frame& frame, OuiForm form, std::vector<std::string> columns, int addressAt,
                   QWidget* parent);

    // Walks the OUI table into the list.
    void ReadOuiList();
    // The texts of a walked row's line; `address` holds its six bytes.
    virtual QStringList OuiLine(const WalkRow& row, const std::string& address) = 0;
    // The columns written after the new row `index` (".90.194.145.0.0.1") was made.
    virtual std::vector<SetItem> OuiColumns(const std::string& index) const = 0;

    std::optional<QStringList> LineFromRow(const WalkRow& row) override;
    void OnAdd() override;
    void OnDelete() override;

    CCommonSNMP& m_cCommonSNMPTable;  // the OUI list walk
    CCommonSNMP& m_cCommonSNMPSet;    // adding and deleting entries
    QLineEdit* m_description = nullptr;
    QLineEdit* m_mac = nullptr;

private:
    OuiForm m_form;
    std::vector<std::string> m_columns;
    int m_addressAt;
    std::vector<std::string> m_listed;
};

// Most rows the OUI list walk takes: the default entry and the user-defined ones, with room to spare.
inline constexpr int kOuiWalkLimit = 16;
