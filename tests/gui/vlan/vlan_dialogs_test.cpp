// The VLAN list, add/edit and PVID dialogs against kms-sim. The switch starts with VLAN 1 "default"
// (egress 1-8, untagged 1-6) and VLAN 10 "video" (egress 5-8, untagged 7-8), PVIDs 1,1,1,1,1,1,10,10,
// asymmetric mode, voice and surveillance VLANs off, no trunks.

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <memory>

#include "core/debug_out.h"
#include "dialogs/common/dialog_registry.h"
#include "dialogs/common/user_prompt.h"
#include "dialogs/switch/port_vid_dlg.h"
#include "dialogs/switch/vlan_add_edit_dlg.h"
#include "dialogs/switch/vlan_config_dlg.h"
#include "snmp/common_snmp.h"
#include "snmp/encodings.h"
#include "tests/gui/common/gui_test_support.h"

using kmsgui::Click;
using kmsgui::Find;
using kmstest::RequestKind;

namespace {

std::string Oid(const char* column, int index) {
    return std::string(column) + "." + std::to_string(index);
}

std::vector<int> ListIds(CVlanConfigDlg& dlg) {
    std::vector<int> ids;
    auto* list = Find<QTreeWidget>(dlg, "vlanList");
    for (int i = 0; list && i < list->topLevelItemCount(); ++i)
        ids.push_back(list->topLevelItem(i)->text(0).toInt());
    return ids;
}

QStringList RowOf(CVlanConfigDlg& dlg, int vid) {
    auto* list = Find<QTreeWidget>(dlg, "vlanList");
    for (int i = 0; list && i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list->topLevelItem(i);
        if (item->text(0).toInt() != vid) continue;
        QStringList row;
        for (int c = 0; c < 5; ++c) row << item->text(c);
        return row;
    }
    return {};
}

void Select(CVlanConfigDlg& dlg, int vid) {
    auto* list = Find<QTreeWidget>(dlg, "vlanList");
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (list->topLevelItem(i)->text(0).toInt() == vid) {
            list->setCurrentItem(list->topLevelItem(i));
            return;
        }
    }
}

QStringList Texts(std::initializer_list<const char*> texts) {
    QStringList l;
    for (const char* t : texts) l << QString::fromLatin1(t);
    return l;
}

}  // namespace

class VlanDialogsTest : public QObject {
    Q_OBJECT
    kmstest::KmsSimFixture* m_sim = nullptr;
    std::unique_ptr<RecordingPrompt> m_prompt;

    SnmpReader Reader() const { return kmsgui::ReaderFor(*m_sim); }
    std::string Value(const std::string& oid) const { return Reader().Get(oid).value; }
    std::string HexValue(const std::string& oid) const { return BytesToHex(Reader().Get(oid).value); }
    long Count(RequestKind kind) const { return m_sim->RequestCount(kind); }
    long AllRequests() const {
        return Count(RequestKind::Get) + Count(RequestKind::GetNext) + Count(RequestKind::Set) +
               Count(RequestKind::GetBulk);
    }
    std::vector<int> ActiveVlans() const {
        std::vector<int> ids;
        for (const SnmpReadValue& v : Reader().Walk(VlanOid::kStaticRowState)) {
            if (v.value == "1") ids.push_back(std::stoi(v.oid.substr(v.oid.rfind('.') + 1)));
        }
        return ids;
    }
    std::unique_ptr<CVlanConfigDlg> Open() {
        auto dlg = std::make_unique<CVlanConfigDlg>();
        if (!kmsgui::OpenAndWait(*dlg)) return nullptr;
        return dlg;
    }
    // A VLAN made behind the dialogs' back, with the reader.
    bool MakeVlan(int vid, const std::string& egressHex, const std::string& name) const {
        SnmpReader r = Reader();
        return r.Set(Oid(VlanOid::kStaticRowState, vid), 'i', "5") &&
               r.Set(Oid(VlanOid::kStaticEgressPorts, vid), 'x', egressHex) &&
               r.Set(Oid(VlanOid::kStaticName, vid), 's', name) &&
               r.Set(Oid(VlanOid::kStaticRowState, vid), 'i', "1");
    }

private slots:
    void initTestCase() {
        QVERIFY(SnmpEngineInit());
        std::string error;
        m_sim = kmsgui::SharedSim(&error);
        QVERIFY2(m_sim, error.c_str());
    }
    void init() {
        QVERIFY(m_sim->Reset());
        kmsgui::UseSim(*m_sim);
        m_prompt = std::make_unique<RecordingPrompt>();
    }
    void cleanup() { m_prompt.reset(); }

    void theListShowsTheActiveVlansOnly() {
        // A row left in createAndWait is on the switch but not in service.
        QVERIFY(Reader().Set(Oid(VlanOid::kStaticRowState, 20), 'i', "5"));
        QCOMPARE(Reader().Get(Oid(VlanOid::kStaticRowState, 20)).ok, true);
        auto dlg = Open();
        QVERIFY(dlg);
        QCOMPARE(ListIds(*dlg), ActiveVlans());
        QCOMPARE(ListIds(*dlg), (std::vector<int>{1, 10}));
        QCOMPARE(RowOf(*dlg, 1), (QStringList{"1", "default", "8", "1,2,3,4,5,6,7,8", "1,2,3,4,5,6"}));
        QCOMPARE(RowOf(*dlg, 10), (QStringList{"10", "video", "4", "5,6,7,8", "7,8"}));
        QCOMPARE(dlg->Records().size(), size_t(2));
        QCOMPARE(dlg->Pvids(), (std::vector<int>{1, 1, 1, 1, 1, 1, 10, 10}));
        QVERIFY(!Find<QCheckBox>(*dlg, "enableAsymmetricVlan")->isChecked());
        for (const char* b : {"applyButton", "addButton", "editButton", "deleteButton", "pvidButton",
                              "refreshButton", "closeButton"})
            QVERIFY2(Find<QPushButton>(*dlg, b)->isEnabled(), b);
        QVERIFY(m_prompt->texts.isEmpty());

        // The mode box follows the switch on Refresh.
        QVERIFY(Reader().Set(VlanOid::kAsymmetricMode, 'i', "1"));
        Click(Find<QPushButton>(*dlg, "refreshButton"));
        QVERIFY(kmsgui::WaitIdle(*dlg));
        QVERIFY(Find<QCheckBox>(*dlg, "enableAsymmetricVlan")->isChecked());
        QCOMPARE(ListIds(*dlg), ActiveVlans());
    }

    void theListReadsTheSameOverSnmpV3() {
        Settings() = m_sim->SettingsV3("kmsshaaes");  // SHA + AES-128, authPriv
        auto dlg = Open();
        QVERIFY(dlg);
        QCOMPARE(ListIds(*dlg), (std::vector<int>{1, 10}));
        QCOMPARE(RowOf(*dlg, 10), (QStringList{"10", "video", "4", "5,6,7,8", "7,8"}));
        QCOMPARE(dlg->Pvids(), (std::vector<int>{1, 1, 1, 1, 1, 1, 10, 10}));
    }

    void theMenuCommandOpensTheVlanDialog() {
        RegisterSwitchDialogs();
        DialogFactory factory = FindDialog(32834);
        QVERIFY(factory);
        std::unique_ptr<QDialog> dlg = factory(nullptr);
        QVERIFY(qobject_cast<CVlanConfigDlg*>(dlg.get()));
        QCOMPARE(dlg->windowTitle(), QStringLiteral("802.1Q VLAN Configuration"));
    }

    void addWritesExactlyTheChosenMemberships() {
        // Ports 5 and 6 untagged nowhere, so this VLAN may have them untagged.
        QVERIFY(Reader().Set(Oid(VlanOid::kStaticUntaggedPorts, 1), 'x', "F0000000"));
        auto dlg = Open();
        QVERIFY(dlg);
        QStringList boxState;
        auto ran = kmsgui::WhenModal<CVlanAddEditDlg>([&](CVlanAddEditDlg& add) {
            kmsgui::WaitIdle(add);
            QTest::keyClicks(Find<QLineEdit>(add, "vlanName"), "lab-net 1");
            QTest::keyClicks(Find<QLineEdit>(add, "vlanId"), "4094");
            for (const char* box :
                 {"tagPort3", "tagPort4", "untagPort5", "untagPort6", "tagPort3", "untagPort1"})
                Click(Find<QCheckBox>(add, box));
            // Port 3 stays tagged; port 1 is untagged in VLAN 1, so its click is undone.
            boxState << QString::number(Find<QCheckBox>(add, "tagPort3")->isChecked())
                     << QString::number(Find<QCheckBox>(add, "untagPort1")->isChecked())
                     << QString::number(Find<QCheckBox>(add, "notMemberPort1")->isChecked());
            Click(Find<QPushButton>(add, "okButton"));
            if (add.isVisible()) add.reject();
        });
        Click(Find<QPushButton>(*dlg, "addButton"));
        QVERIFY(*ran);
        QCOMPARE(boxState, (QStringList{"1", "0", "1"}));
        QCOMPARE(m_prompt->texts, QStringList());
        QVERIFY(kmsgui::WaitIdle(*dlg));

        QCOMPARE(Value(Oid(VlanOid::kStaticRowState, 4094)), std::string("1"));
        QCOMPARE(Value(Oid(VlanOid::kStaticName, 4094)), std::string("lab-net 1"));
        QCOMPARE(HexValue(Oid(VlanOid::kStaticEgressPorts, 4094)), std::string("3C000000"));
        QCOMPARE(HexValue(Oid(VlanOid::kStaticUntaggedPorts, 4094)), std::string("0C000000"));
        QCOMPARE(RowOf(*dlg, 4094), (QStringList{"4094", "lab-net 1", "4", "3,4,5,6", "5,6"}));
        QCOMPARE(ListIds(*dlg), ActiveVlans());
    }

    void anUnappliedModeChangeDoesNotLoosenTheRules() {
        // Port 8 is untagged in VLAN 10 only; ticking the box without Apply leaves the switch symmetric.
        QVERIFY(Reader().Set(Oid(VlanOid::kStaticUntaggedPorts, 10), 'x', "01000000"));
        auto dlg = Open();
        QVERIFY(dlg);
        Click(Find<QCheckBox>(*dlg, "enableAsymmetricVlan"));
        bool untagged = true;
        auto ran = kmsgui::WhenModal<CVlanAddEditDlg>([&](CVlanAddEditDlg& add) {
            kmsgui::WaitIdle(add);
            Click(Find<QCheckBox>(add, "untagPort8"));
            untagged = Find<QCheckBox>(add, "untagPort8")->isChecked();
            add.reject();
        });
        Click(Find<QPushButton>(*dlg, "addButton"));
        QVERIFY(*ran);
        QVERIFY(!untagged);
        // Nor does it protect PVID VLANs: VLAN 10 (PVID of ports 7, 8) may go.
        Select(*dlg, 10);
        Click(Find<QPushButton>(*dlg, "deleteButton"));
        QVERIFY(kmsgui::WaitIdle(*dlg));
        QCOMPARE(m_prompt->texts, QStringList());
        QCOMPARE(ActiveVlans(), (std::vector<int>{1}));
    }

    void addRefusalsSendNothing() {
        auto dlg = Open();
        QVERIFY(dlg);
        long requests = -1;
        QString typed;
        auto ran = kmsgui::WhenModal<CVlanAddEditDlg>([&](CVlanAddEditDlg& add) {
            kmsgui::WaitIdle(add);
            m_sim->ClearCounters();
            auto* vid = Find<QLineEdit>(add, "vlanId");
            auto* name = Find<QLineEdit>(add, "vlanName");
            for (const char* id : {"1", "4095", "0", "10"}) {
                vid->setText(QString::fromLatin1(id));
                Click(Find<QPushButton>(add, "okButton"));
            }
            vid->setText("20");
            name->setText("a.b");
            Click(Find<QPushButton>(add, "okButton"));
            // Names are cut to 20 characters as they are typed.
            name->clear();
            QTest::keyClicks(name, "abcdefghijklmnopqrstuvwxyz");
            typed = name->text();
            requests = AllRequests();
            Click(Find<QPushButton>(add, "cancelButton"));
            if (add.isVisible()) add.reject();
        });
        Click(Find<QPushButton>(*dlg, "addButton"));
        QVERIFY(*ran);
        QCOMPARE(m_prompt->texts,
                 Texts({VlanText::kVlanIdRange, VlanText::kVlanIdRange, VlanText::kVlanIdRange,
                        VlanText::kVlanIdUsed, VlanText::kInvalidName}));
        QCOMPARE(requests, 0L);
        QCOMPARE(typed, QStringLiteral("abcdefghijklmnopqrst"));
        QCOMPARE(Count(RequestKind::Set), 0L);
        QCOMPARE(ActiveVlans(), (std::vector<int>{1, 10}));
    }

    void editOfVlan1KeepsItInService() {
        auto dlg = Open();
        QVERIFY(dlg);
        long sets = -1;
        QStringList shown;
        Select(*dlg, 1);
        auto ran = kmsgui::WhenModal<CVlanAddEditDlg>([&](CVlanAddEditDlg& edit) {
            kmsgui::WaitIdle(edit);
            auto* vid = Find<QLineEdit>(edit, "vlanId");
            shown << edit.windowTitle() << vid->text() << QString::number(vid->isEnabled())
                  << Find<QLineEdit>(edit, "vlanName")->text()
                  << QString::number(Find<QCheckBox>(edit, "untagPort1")->isChecked())
                  << QString::number(Find<QCheckBox>(edit, "tagPort7")->isChecked());
            Find<QLineEdit>(edit, "vlanName")->setText("core");
            Click(Find<QCheckBox>(edit, "tagPort6"));
            m_sim->ClearCounters();
            Click(Find<QPushButton>(edit, "okButton"));
            sets = Count(RequestKind::Set);
            if (edit.isVisible()) edit.reject();
        });
        Click(Find<QPushButton>(*dlg, "editButton"));
        QVERIFY(*ran);
        QCOMPARE(shown, (QStringList{"Edit VLAN", "1", "0", "default", "1", "1"}));
        // Untagged list, egress list, name, active: no notInService and no "all ports" list.
        QCOMPARE(sets, 4L);
        QCOMPARE(Value(Oid(VlanOid::kStaticName, 1)), std::string("core"));
        QCOMPARE(HexValue(Oid(VlanOid::kStaticUntaggedPorts, 1)), std::string("F8000000"));
        QCOMPARE(HexValue(Oid(VlanOid::kStaticEgressPorts, 1)), std::string("FF000000"));
        QCOMPARE(Value(Oid(VlanOid::kStaticRowState, 1)), std::string("1"));
        QVERIFY(kmsgui::WaitIdle(*dlg));
        QCOMPARE(RowOf(*dlg, 1), (QStringList{"1", "core", "8", "1,2,3,4,5,6,7,8", "1,2,3,4,5"}));

        // Any other VLAN goes out of service, gets every port first, then its own lists.
        Select(*dlg, 10);
        ran = kmsgui::WhenModal<CVlanAddEditDlg>([&](CVlanAddEditDlg& edit) {
            kmsgui::WaitIdle(edit);
            Click(Find<QCheckBox>(edit, "notMemberPort5"));
            m_sim->ClearCounters();
            Click(Find<QPushButton>(edit, "okButton"));
            sets = Count(RequestKind::Set);
            if (edit.isVisible()) edit.reject();
        });
        // A double-click on the row edits it (the press first, as a real double-click has one).
        auto* list = Find<QTreeWidget>(*dlg, "vlanList");
        const QPoint at = list->visualItemRect(list->currentItem()).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        QVERIFY(*ran);
        QCOMPARE(sets, 6L);
        QCOMPARE(HexValue(Oid(VlanOid::kStaticEgressPorts, 10)), std::string("07000000"));
        QCOMPARE(HexValue(Oid(VlanOid::kStaticUntaggedPorts, 10)), std::string("03000000"));
        QCOMPARE(Value(Oid(VlanOid::kStaticRowState, 10)), std::string("1"));
        QCOMPARE(m_prompt->texts, QStringList());
    }

    void selectionMessagesAndTheDefaultVlan() {
        auto dlg = Open();
        QVERIFY(dlg);
        QVERIFY(m_sim->ClearCounters());
        Find<QTreeWidget>(*dlg, "vlanList")->clearSelection();
        Click(Find<QPushButton>(*dlg, "editButton"));
        Click(Find<QPushButton>(*dlg, "deleteButton"));
        Select(*dlg, 1);
        Click(Find<QPushButton>(*dlg, "deleteButton"));
        QCOMPARE(m_prompt->texts,
                 Texts({VlanText::kSelectVlan, VlanText::kSelectDelete, VlanText::kDefaultVlan}));
        QCOMPARE(m_prompt->icons,
                 (QList<PromptIcon>{PromptIcon::Information, PromptIcon::Information, PromptIcon::None}));
        QCOMPARE(AllRequests(), 0L);
        QCOMPARE(ActiveVlans(), (std::vector<int>{1, 10}));
    }

    void aPvidVlanGoesOnlyWithoutAsymmetricMode() {
        {
            auto dlg = Open();
            QVERIFY(dlg);
            Select(*dlg, 10);  // the PVID of ports 7 and 8
            Click(Find<QPushButton>(*dlg, "deleteButton"));
            QVERIFY(kmsgui::WaitIdle(*dlg));
            QCOMPARE(m_prompt->texts, QStringList());
            QCOMPARE(ActiveVlans(), (std::vector<int>{1}));
            QCOMPARE(ListIds(*dlg), (std::vector<int>{1}));
        }
        // Asymmetric mode on (which resets the VLANs), then VLAN 20 as the PVID of port 7.
        QVERIFY(Reader().Set(VlanOid::kAsymmetricMode, 'i', "1"));
        QVERIFY(MakeVlan(20, "0F000000", "cams"));
        QVERIFY(Reader().Set(Oid(VlanOid::kPvid, 7), 'u', "20"));
        auto dlg = Open();
        QVERIFY(dlg);
        QVERIFY(Find<QCheckBox>(*dlg, "enableAsymmetricVlan")->isChecked());
        QVERIFY(m_sim->ClearCounters());
        Select(*dlg, 20);
        Click(Find<QPushButton>(*dlg, "deleteButton"));
        QCOMPARE(m_prompt->texts, Texts({VlanText::kIsPvid}));
        QCOMPARE(Count(RequestKind::Set), 0L);
        QCOMPARE(ActiveVlans(), (std::vector<int>{1, 20}));
    }

    void surveillanceVlanBlocksTheModeAndItsDeletion() {
        QVERIFY(Reader().Set(VlanOid::kSurveillanceState, 'i', "1"));  // its ID is 10
        auto dlg = Open();
        QVERIFY(dlg);
        QVERIFY(m_sim->ClearCounters());
        Click(Find<QCheckBox>(*dlg, "enableAsymmetricVlan"));
        Click(Find<QPushButton>(*dlg, "applyButton"));
        QVERIFY(!Find<QCheckBox>(*dlg, "enableAsymmetricVlan")->isChecked());  // the switch's state again
        Select(*dlg, 10);
        Click(Find<QPushButton>(*dlg, "deleteButton"));
        QCOMPARE(m_prompt->texts, Texts({VlanText::kSurveillanceBlocksMode, VlanText::kIsSurveillance}));
        QCOMPARE(Count(RequestKind::Set), 0L);
        QCOMPARE(Value(VlanOid::kAsymmetricMode), std::string("2"));
    }

    void voiceVlanBlocksTheModeAndItsDeletion() {
        // The voice VLAN is read-only over SNMP: a switch whose data has it on, with ID 10.
        QTemporaryDir dir;
        const std::string data = kmsgui::SimDataWith(dir, {{"1.3.6.1.4.1.32473.10.75.13.21.1.2.0", "2|1"},
                                                           {"1.3.6.1.4.1.32473.10.75.13.21.1.3.0", "2|10"}});
        QVERIFY(!data.empty());
        kmstest::KmsSimFixture::Options options;
        options.extraArgs = {"--data", data};
        kmstest::KmsSimFixture voiceSim(options);
        QVERIFY2(voiceSim.Start(), voiceSim.LastError().c_str());
        kmsgui::UseSim(voiceSim);
        auto dlg = Open();
        QVERIFY(dlg);
        QVERIFY(voiceSim.ClearCounters());
        Click(Find<QCheckBox>(*dlg, "enableAsymmetricVlan"));
        Click(Find<QPushButton>(*dlg, "applyButton"));
        QVERIFY(!Find<QCheckBox>(*dlg, "enableAsymmetricVlan")->isChecked());
        Select(*dlg, 10);
        Click(Find<QPushButton>(*dlg, "deleteButton"));
        QCOMPARE(m_prompt->texts, Texts({VlanText::kVoiceBlocksMode, VlanText::kIsVoice}));
        QCOMPARE(voiceSim.RequestCount(RequestKind::Set), 0L);
        dlg.reset();
        voiceSim.Stop();
    }

    void theModeChangeAsksFirst() {
        auto dlg = Open();
        QVERIFY(dlg);
        QVERIFY(m_sim->ClearCounters());
        auto* box = Find<QCheckBox>(*dlg, "enableAsymmetricVlan");
        Click(box);
        m_prompt->answers = {false};
        Click(Find<QPushButton>(*dlg, "applyButton"));
        QCOMPARE(m_prompt->texts, Texts({VlanText::kResetQuestion}));
        QCOMPARE(Count(RequestKind::Set), 0L);
        QCOMPARE(Value(VlanOid::kAsymmetricMode), std::string("2"));

        m_prompt->answers = {true};
        Click(Find<QPushButton>(*dlg, "applyButton"));
        QCOMPARE(Count(RequestKind::Set), 1L);
        QCOMPARE(Value(VlanOid::kAsymmetricMode), std::string("1"));
        QVERIFY(kmsgui::WaitIdle(*dlg));
        QVERIFY(box->isChecked());
        QCOMPARE(ListIds(*dlg), ActiveVlans());  // the switch reset its VLANs; the list was read again
    }

    void pvidChecksRefuseWithoutWriting() {
        QVERIFY(Reader().Set(Oid(VlanOid::kTrunkMembers, 1), 'x', "C0000000"));  // trunk 1: ports 1, 2
        QVERIFY(MakeVlan(30, "00000000", "empty"));
        auto dlg = Open();
        QVERIFY(dlg);
        QStringList loaded;
        std::vector<int> trunks;
        long sets = -1;
        auto ran = kmsgui::WhenModal<CPortVidDlg>([&](CPortVidDlg& pvid) {
            kmsgui::WaitIdle(pvid);
            for (int p = 1; p <= 8; ++p)
                loaded << Find<QLineEdit>(pvid, qPrintable(QStringLiteral("pvidPort%1").arg(p)))->text();
            trunks = pvid.TrunkOfPort();
            m_sim->ClearCounters();
            auto set = [&](std::vector<const char*> values) {
                for (int p = 0; p < 8; ++p)
                    Find<QLineEdit>(pvid, qPrintable(QStringLiteral("pvidPort%1").arg(p + 1)))
                        ->setText(values[p]);
                Click(Find<QPushButton>(pvid, "applyButton"));
            };
            set({"1", "10", "1", "1", "1", "1", "10", "10"});
            set({"10", "10", "1", "1", "1", "1", "10", "10"});
            set({"1", "1", "99", "1", "1", "1", "10", "10"});
            set({"1", "1", "x", "1", "1", "1", "10", "10"});
            set({"1", "1", "30", "1", "1", "1", "10", "10"});
            sets = Count(RequestKind::Set);
            Click(Find<QPushButton>(pvid, "cancelButton"));
            if (pvid.isVisible()) pvid.reject();
        });
        Click(Find<QPushButton>(*dlg, "pvidButton"));
        QVERIFY(*ran);
        QCOMPARE(loaded, (QStringList{"1", "1", "1", "1", "1", "1", "10", "10"}));
        QCOMPARE(trunks, (std::vector<int>{1, 1, 0, 0, 0, 0, 0, 0}));
        QCOMPARE(m_prompt->texts,
                 Texts({VlanText::kTrunkSamePvid, VlanText::kTrunkPvidUnsupported, VlanText::kInvalidPvid,
                        VlanText::kInvalidPvid, VlanText::kEmptyPvidVlan}));
        QCOMPARE(sets, 0L);
    }

    void pvidApplyWritesEveryPort() {
        auto dlg = Open();
        QVERIFY(dlg);
        int result = -1;
        auto ran = kmsgui::WhenModal<CPortVidDlg>([&](CPortVidDlg& pvid) {
            kmsgui::WaitIdle(pvid);
            m_sim->ClearCounters();
            const char* values[] = {"1", "1", "1", "1", "10", "10", "10", "1"};
            for (int p = 0; p < 8; ++p)
                Find<QLineEdit>(pvid, qPrintable(QStringLiteral("pvidPort%1").arg(p + 1)))
                    ->setText(values[p]);
            Click(Find<QPushButton>(pvid, "applyButton"));
            result = pvid.result();
            if (pvid.isVisible()) pvid.reject();
        });
        Click(Find<QPushButton>(*dlg, "pvidButton"));
        QVERIFY(*ran);
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(Count(RequestKind::Set), 8L);
        std::vector<std::string> pvids;
        for (int p = 1; p <= 8; ++p) pvids.push_back(Value(Oid(VlanOid::kPvid, p)));
        QCOMPARE(pvids, (std::vector<std::string>{"1", "1", "1", "1", "10", "10", "10", "1"}));
        QVERIFY(kmsgui::WaitIdle(*dlg));
        QCOMPARE(dlg->Pvids(), (std::vector<int>{1, 1, 1, 1, 10, 10, 10, 1}));
        QCOMPARE(m_prompt->texts, QStringList());
    }

    void readOnlyUsersCannotChangeVlans() {
        Settings().WriteAccess = false;
        auto dlg = Open();
        QVERIFY(dlg);
        for (const char* b : {"addButton", "editButton", "deleteButton", "pvidButton"})
            QVERIFY2(!Find<QPushButton>(*dlg, b)->isEnabled(), b);
        for (const char* b : {"applyButton", "refreshButton", "closeButton"})
            QVERIFY2(Find<QPushButton>(*dlg, b)->isEnabled(), b);
    }

    void theVlanLimitStopsAdd() {
        // 254 more VLANs (100..353) make 256, in a few requests of many bindings each.
        for (int first = 100; first < 354; first += 40) {
            std::vector<std::string> args = {"snmpset", "-v1", "-c", m_sim->WriteCommunity(),
                                             m_sim->Endpoint()};
            for (int v = first; v < std::min(first + 40, 354); ++v) {
                args.insert(args.end(), {Oid(VlanOid::kStaticRowState, v), "i", "4"});
            }
            std::string out, err;
            QVERIFY2(m_sim->RunTool(args, &out, &err) == 0, err.c_str());
        }
        auto dlg = Open();
        QVERIFY(dlg);
        QCOMPARE(int(ListIds(*dlg).size()), kMaxVlanRows);
        auto ran = kmsgui::WhenModal<CVlanAddEditDlg>([](CVlanAddEditDlg& add) { add.reject(); }, 500);
        Click(Find<QPushButton>(*dlg, "addButton"));
        QCOMPARE(m_prompt->texts, Texts({VlanText::kOverLimit}));
        QTest::qWait(600);
        QVERIFY(!*ran);
    }

    void closingDuringASlowWalkReturnsAndLateAnswersTouchNothing() {
        kmsgui::DebugCapture capture;
        QVERIFY(m_sim->SetDelay(300));
        auto dlg = std::make_unique<CVlanConfigDlg>();
        dlg->setWindowModality(Qt::NonModal);
        dlg->show();
        QVERIFY(dlg->ActiveWalks() > 0);
        QVERIFY(!Find<QPushButton>(*dlg, "closeButton")->isEnabled());
        QVERIFY(!Find<QPushButton>(*dlg, "addButton")->isEnabled());
        QTest::qWait(400);
        QVERIFY(dlg->ActiveWalks() > 0);  // answers are still on their way
        QElapsedTimer timer;
        timer.start();
        dlg->reject();
        const qint64 elapsed = timer.elapsed();
        qInfo("closing with requests in flight took %lld ms", static_cast<long long>(elapsed));
        const int rowsAtClose = Find<QTreeWidget>(*dlg, "vlanList")->topLevelItemCount();
        QTest::qWait(800);
        QCOMPARE(Find<QTreeWidget>(*dlg, "vlanList")->topLevelItemCount(), rowsAtClose);
        dlg.reset();
        QTest::qWait(500);  // answers still on the way find no window
        // At most the session time-out plus a second for each session with a request in flight.
        const qint64 bound = 3 * (std::stoll(Settings().SnmpTimeoutText) + 1000);
        QVERIFY2(elapsed < bound, qPrintable(QString::number(elapsed)));
        std::vector<std::string> lines;
        for (const std::string& l : capture.Lines())
            if (l.rfind("==================", 0) == 0) lines.push_back(l);
        QCOMPARE(lines, (std::vector<std::string>{
                            "==================DestroyWindow===============",
                            "==================m_cCommonSNMP.Close===============",
                            "==================m_cCommonSNMPTable.Close===============",
                            "==================m_cCommonSNMPVoiceVlan.Close===============",
                            "==================m_cCommonSNMPTableVlan.Close===============",
                            "==================m_cCommonSNMPTableVlanDelete.Close==============="}));
    }

    void screenshots() {
        QVERIFY(Reader().Set(Oid(VlanOid::kTrunkMembers, 1), 'x', "C0000000"));
        auto dlg = Open();
        QVERIFY(dlg);
        Select(*dlg, 10);
        QVERIFY(!kmsgui::Screenshot(*dlg, "vlan_config").isEmpty());
        auto add = kmsgui::WhenModal<CVlanAddEditDlg>([](CVlanAddEditDlg& d) {
            kmsgui::WaitIdle(d);
            kmsgui::Screenshot(d, "vlan_edit");
            d.reject();
        });
        Click(Find<QPushButton>(*dlg, "editButton"));
        QVERIFY(*add);
        add = kmsgui::WhenModal<CVlanAddEditDlg>([](CVlanAddEditDlg& d) {
            kmsgui::WaitIdle(d);
            kmsgui::Screenshot(d, "vlan_add");
            d.reject();
        });
        Click(Find<QPushButton>(*dlg, "addButton"));
        QVERIFY(*add);
        auto pvid = kmsgui::WhenModal<CPortVidDlg>([](CPortVidDlg& d) {
            kmsgui::WaitIdle(d);
            kmsgui::Screenshot(d, "port_vid");
            d.reject();
        });
        Click(Find<QPushButton>(*dlg, "pvidButton"));
        QVERIFY(*pvid);

        // The larger sibling's port rows (the list is read again after the PVID dialog).
        QVERIFY(kmsgui::WaitIdle(*dlg));
        for (int ports : {28, 52}) {
            CVlanAddEditDlg wide(nullptr, ports, 2, dlg->Records(), 1);
            QVERIFY(kmsgui::OpenAndWait(wide));
            QVERIFY(Find<QCheckBox>(wide, qPrintable(QStringLiteral("notMemberPort%1").arg(ports))));
            QVERIFY(!kmsgui::Screenshot(wide, QStringLiteral("vlan_edit_%1").arg(ports)).isEmpty());
        }
    }
};

QTEST_MAIN(VlanDialogsTest)
#include "vlan_dialogs_test.moc"
