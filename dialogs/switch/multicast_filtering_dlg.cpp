#include "dialogs/switch/multicast_filtering_dlg.h"

#include <QComboBox>

#include "core/text_number.h"
#include "dialogs/common/apply_sequence.h"
#include "dialogs/common/port_range.h"
#include "dialogs/switch/security_filter_rules.h"

namespace {

CListFormDialog::Frame MulticastFrame() {
    CListFormDialog::Frame f;
    f.title = QStringLiteral("Multicast Filtering Mode Configuration");
    f.objectName = QStringLiteral("multicastFilteringDialog");
    return f;
}

}  // namespace

CMulticastFilteringDlg::CMulticastFilteringDlg(QWidget* parent)
    : CPortRangeListDialog(MulticastFrame(), QStringLiteral("Multicast Filtering Mode"), "mode",
                           kMulticastModeChoices, parent) {
    resize(600, 480);
}

void CMulticastFilteringDlg::ReadAll() {
    ReadTrunks();
    WalkList(m_cCommonSNMP, {FilterOid::kMulticastPort, FilterOid::kMulticastMode},
             WalkOptions{2, m_portCount, 0});
}

std::optional<QStringList> CMulticastFilteringDlg::LineFromRow(const WalkRow& row) {
    if (row.bindings.size() < 2) return std::nullopt;
    return QStringList{QString::fromStdString(row.bindings[0].value),
                       QString::fromStdString(MulticastModeText(LeadingInt(row.bindings[1].value)))};
}

void CMulticastFilteringDlg::OnApply() {
    const int from = m_range->From(), to = m_range->To();
    const std::string mode = ValueText(ChoiceValue(kMulticastModeChoices, m_value->currentIndex()));
    ApplyPlan plan;
    plan.check = [&] {
        if (!TrunksRead()) return Refuse(this, QString::fromLatin1(kSettingsNotReadText));
        return Refuse(this, MulticastRefusal(Trunks(), from, to));
    };
    plan.write = [&] {
        std::vector<SetItem> items;
        for (int p = from; p <= to; ++p)
            items.push_back({FilterOid::kMulticastMode + ("." + std::to_string(p)), kBindInteger, mode});
        return SetNow(m_cCommonSNMPSet, items);
    };
    plan.failureText = QStringLiteral("The switch did not accept the multicast filtering mode.");
    plan.reread = [this] { Refresh(); };
    plan.rereadOnFailure = true;
    RunApply(this, plan);
}
