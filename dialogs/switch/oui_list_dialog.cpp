#include "dialogs/switch/oui_list_dialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "dialogs/common/address_checks.h"
#include "dialogs/common/apply_sequence.h"
#include "dialogs/common/user_prompt.h"

COuiListDialog::COuiListDialog(const Frame& frame, OuiForm form, std::vector<std::string> columns,
                               int addressAt, QWidget* parent)
    : CListFormDialog(frame, parent),
      m_cCommonSNMPTable(AddSession("m_cCommonSNMPTable")),
      m_cCommonSNMPSet(AddSession("m_cCommonSNMPSet")),
      m_form(form),
      m_columns(std::move(columns)),
      m_addressAt(addressAt) {
    m_description = new QLineEdit(this);
    m_description->setObjectName(QStringLiteral("description"));
    m_mac = new QLineEdit(this);
    m_mac->setObjectName(QStringLiteral("macAddress"));
    m_mac->setPlaceholderText(QStringLiteral("XX-XX-XX-XX-XX-XX"));
    m_mac->setMinimumWidth(m_mac->fontMetrics().horizontalAdvance(QStringLiteral("XX-XX-XX-XX-XX-XX")) + 16);
    DisableWithoutWriteAccess({StandardButton(kAdd), StandardButton(kDelete)});
}

void COuiListDialog::ReadOuiList() {
    m_listed.clear();
    WalkList(m_cCommonSNMPTable, m_columns,
             WalkOptions{static_cast<int>(m_columns.size()), kOuiWalkLimit, 0});
}

std::optional<QStringList> COuiListDialog::LineFromRow(const WalkRow& row) {
    if (m_addressAt >= static_cast<int>(row.bindings.size())) return std::nullopt;
    // The address column, or the index it is the same six bytes as.
    std::string address = row.bindings[m_addressAt].value;
    if (address.size() != 6 && !row.suffixes.empty()) address = OuiBytesFromIndex(row.suffixes[0]);
    if (address.size() != 6) return std::nullopt;
    m_listed.push_back(address);
    return OuiLine(row, address);
}

void COuiListDialog::OnAdd() {
    const std::string description = m_description->text().toUtf8().toStdString();
    const std::string macText = m_mac->text().toStdString();
    RowCreateResult made;
    ApplyPlan plan;
    plan.check = [&] { return Refuse(this, OuiAddRefusal(m_form, description, macText, m_listed)); };
    plan.write = [&] {
        const auto mac = ParseMacText(macText);
        const std::string index = OuiIndex(std::string(mac->begin(), mac->end()));
        RowCreate row;
        row.statusOid = SurveillanceOid::kOuiStatus + index;
        row.columns = OuiColumns(index);
        row.pauseMs = 50;
        row.createAndGo = true;
        made = CreateRowReporting(*this, m_cCommonSNMPSet, row);
        return made.rc;
    };
    plan.pauseMs = 50;
    plan.reread = [this] { Refresh(); };
    plan.rereadOnFailure = true;
    plan.failureTextOf = [&made](int) { return RowCreateFailureText(made, QStringLiteral("OUI entry")); };
    if (RunApply(this, plan) == 0) {
        m_description->clear();
        m_mac->clear();
    }
}

void COuiListDialog::OnDelete() {
    const QString select = QString::fromLatin1(SurveillanceText::kSelectDelete);
    QTreeWidgetItem* item = RequireSelection(select, select);
    if (!item) return;
    const int line = List()->indexOfTopLevelItem(item);
    if (line < 0 || line >= static_cast<int>(m_listed.size())) return;
    const std::string address = m_listed[line];
    ApplyPlan plan;
    plan.check = [&] {
        return Refuse(this, std::string(IsDefaultOui(address) ? SurveillanceText::kDefaultDelete : ""));
    };
    plan.write = [&] {
        return SetNow(m_cCommonSNMPSet,
                      {{SurveillanceOid::kOuiStatus + OuiIndex(address), kBindInteger, "6"}});
    };
    plan.reread = [this] { Refresh(); };
    RunApply(this, plan);
}
