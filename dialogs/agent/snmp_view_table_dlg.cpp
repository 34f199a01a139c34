#include "dialogs/agent/snmp_view_table_dlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>

#include "dialogs/agent/agent_widgets.h"

CSnmpViewTableDlg::CSnmpViewTableDlg(QWidget* parent)
    : CAgentTableDlg({QStringLiteral("SNMP View Table Configuration"),
                      QStringLiteral("snmpViewDialog"),
                      QStringLiteral("View Table Info"),
                      {{QStringLiteral("View Name"), 100},
                       {QStringLiteral("Subtree OID"), 220},  // wide enough for a vendor subtree
                       {QStringLiteral("OID Mask"), 100},
                       {QStringLiteral("View Type"), 100}},
                      kDelete | kApply | kRefresh | kClose,
                      QString(),
                      false},
                     parent) {
    QWidget* form = FormGrid(QStringLiteral("View Table Setting"))->parentWidget();
    m_viewName = NameEdit(form, "viewName");
    m_subtree = NameEdit(form, "subtreeOid");
    m_mask = NameEdit(form, "oidMask", 64);
    m_type = ChoiceCombo(form, "viewType", kViewTypeChoices);
    AddField(QStringLiteral("View Name "), m_viewName);
    AddField(QStringLiteral("Subtree OID "), m_subtree);
    AddField(QStringLiteral("OID Mask "), m_mask);
    AddField(QStringLiteral("View Type"), m_type);
}

void CSnmpViewTableDlg::ReadAll() {
    auto line = [](const AgentViewRow& r) {
        return QStringList{Text(r.name), Text(r.subtree), Text(r.mask), Text(r.type)};
    };
    Access().ReadViewTable(ListRows(m_rows, line), {}, BusyButtons());
}

void CSnmpViewTableDlg::OnApply() {
    const ViewEntry e{Typed(m_viewName, true), Typed(m_subtree, false), Typed(m_mask, false),
                      ChoiceValue(kViewTypeChoices, m_type->currentIndex())};
    std::vector<std::uint32_t> subtree;
    std::string mask;
    ApplyNewRow([&] { return Refuse(this, ViewRefusal(e, m_rows, &subtree, &mask)); }, QStringLiteral("view"),
                [&](RowCreateResult* made) { return Access().AddView(e.name, subtree, mask, e.type, made); });
}

void CSnmpViewTableDlg::OnDelete() {
    const int line = SelectedLine(QString::fromLatin1(AgentText::kSelecteDelete));
    if (line < 0) return;
    const AgentViewRow& r = m_rows[line];
    std::vector<std::uint32_t> subtree;
    ParseSubtree(r.subtree, &subtree);
    DestroyRow(AgentColumn(AgentOid::kViewColumn, 5, ViewIndex(r.name, subtree)));
}

void CSnmpViewTableDlg::ResetForm() {
    for (QLineEdit* e : {m_viewName, m_subtree, m_mask}) e->clear();
    m_type->setCurrentIndex(0);
}
