#include "dialogs/switch/device_config_dlg.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/data_paths.h"
#include "dialogs/common/apply_sequence.h"
#include "dialogs/common/user_prompt.h"
#include "dialogs/switch/device_config_rules.h"

namespace {

// The file's items are read and written with SNMPv1 and the two communities, 3 s per request, whatever
// the module was started with.
ModuleSettings Version1(ModuleSettings s) {
    s.SnmpVersion = "1";
    s.SnmpTimeoutText = "3000";
    return s;
}

QTreeWidget* MakeList(const char* name, const QStringList& headings, std::initializer_list<int> widths,
                      QWidget* parent) {
    auto* list = new QTreeWidget(parent);
    list->setObjectName(QLatin1String(name));
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAlternatingRowColors(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setColumnCount(static_cast<int>(widths.size()));
    list->setHeaderLabels(headings);
    int i = 0;
    for (int w : widths) list->setColumnWidth(i++, w);
    return list;
}

QPushButton* MakeButton(const QString& text, const char* name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

}  // namespace

QString CDeviceConfigDlg::DefaultFileName() {
    return QString::fromStdString(FindDataFile(CDeviceConfigFile::kDefaultFileName));
}

CDeviceConfigDlg::CDeviceConfigDlg(QWidget* parent, const QString& fileName)
    : CModuleDialog(parent),
      m_cCommonSNMP(AddSession("m_cCommonSNMP", Version1(Settings()))),
      m_fileName(fileName.isEmpty() ? DefaultFileName() : fileName),
      m_canTalk(!Settings().DeviceAddress.empty() && !Settings().ReadCommunity.empty() &&
                !Settings().WriteCommunity.empty()) {
    setObjectName(QStringLiteral("deviceConfigDialog"));
    setWindowTitle(QStringLiteral("Device Configure"));

    auto* configGroup = new QGroupBox(QStringLiteral("Configuration Options"), this);
    m_configList =
        MakeList("configList", {QStringLiteral("  Config Name  "), QStringLiteral("  Status     ")},
                 {200, 80}, configGroup);
    m_configList->viewport()->installEventFilter(this);
    m_option = new QComboBox(configGroup);
    m_option->setObjectName(QStringLiteral("option"));
    m_apply = MakeButton(QStringLiteral("&Apply"), "applyButton", configGroup);
    m_apply->setEnabled(false);
    auto* optionRow = new QHBoxLayout;
    optionRow->addWidget(m_option, 1);
    optionRow->addWidget(m_apply);
    auto* configLayout = new QVBoxLayout(configGroup);
    configLayout->addWidget(m_configList, 1);
    configLayout->addLayout(optionRow);

    auto* infoGroup = new QGroupBox(QStringLiteral("Device Info"), this);
    m_infoList = MakeList("infoList", {QString(), QString()}, {160, 118}, infoGroup);
    m_infoList->setHeaderHidden(true);
    (new QVBoxLayout(infoGroup))->addWidget(m_infoList);

    m_refresh = MakeButton(QStringLiteral("&Refresh"), "refreshButton", this);
    QPushButton* close = MakeButton(QStringLiteral("&Close"), "closeButton", this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_refresh);
    buttons->addWidget(close);

    auto* lists = new QHBoxLayout;
    lists->addWidget(configGroup, 2);
    lists->addWidget(infoGroup, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);

    connect(m_configList, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { OnConfigLine(item); });
    connect(m_apply, &QPushButton::clicked, this, &CDeviceConfigDlg::OnApply);
    connect(m_refresh, &QPushButton::clicked, this, &CDeviceConfigDlg::Refresh);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    if (!Settings().WriteAccess) m_apply->setEnabled(false);
    resize(820, 360);
}

void CDeviceConfigDlg::OnInitDialog() {
    const std::string file = m_fileName.toStdString();
    if (!m_info.Open("DEVINFO", file)) Inform(this, QStringLiteral("No TRV6420_CFG.XML !"));
    m_config.Open("DEVCFG", file);
    Refresh();
}

void CDeviceConfigDlg::Refresh() {
    if (SessionsClosed() || !m_canTalk) return;
    ReadSection(m_info, m_infoList, [this] { ReadSection(m_config, m_configList, {}); });
}

void CDeviceConfigDlg::ReadSection(const CDeviceConfigFile& file, QTreeWidget* list,
                                   std::function<void()> then) {
    list->clear();
    if (list == m_configList) OnConfigLine(nullptr);
    const std::vector<std::string> oids = file.ItemOids("0");
    if (oids.empty()) {
        if (then) then();
        return;
    }
    StartGet(
        m_cCommonSNMP, oids,
        [this, &file, list, then](const std::vector<SnmpBinding>& answer) {
            for (const SnmpBinding& b : answer) {
                const std::string name = DeviceConfigItemOf(b.oid);
                const std::vector<std::string> items = file.ItemOids();
                if (std::find(items.begin(), items.end(), name) == items.end()) continue;  // not asked for
                const std::string label = file.Desc(name);
                auto* line = new QTreeWidgetItem(list);
                line->setText(0, QString::fromStdString(label));
                line->setText(
                    1, QString::fromStdString(DeviceConfigValueText(label, file.ValuePairs(name), b.value)));
                line->setToolTip(1, line->text(1));
                line->setData(0, Qt::UserRole, QString::fromStdString(name));
            }
            Later(then);
        },
        [this, then](int) { Later(then); }, {m_refresh, m_apply, m_option});
}

void CDeviceConfigDlg::Later(const std::function<void()>& then) {
    // After this get has ended: the next read on the same session must not cut it short.
    if (then) QMetaObject::invokeMethod(this, then, Qt::QueuedConnection);
}

void CDeviceConfigDlg::OnConfigLine(QTreeWidgetItem* item) {
    m_option->clear();
    m_apply->setEnabled(item != nullptr && Settings().WriteAccess);
    if (!item) return;
    for (const auto& [label, value] :
         m_config.ValuePairs(item->data(0, Qt::UserRole).toString().toStdString()))
        m_option->addItem(QString::fromStdString(label));
}

bool CDeviceConfigDlg::eventFilter(QObject* watched, QEvent* event) {
    // A click beside the lines lets go of the chosen line.
    if (watched == m_configList->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (!m_configList->itemAt(mouse->position().toPoint())) {
            m_configList->clearSelection();
            m_configList->setCurrentItem(nullptr);
            OnConfigLine(nullptr);
        }
    }
    return CModuleDialog::eventFilter(watched, event);
}

void CDeviceConfigDlg::OnApply() {
    QTreeWidgetItem* line = m_configList->currentItem();
    if (!line) return;
    const std::string name = line->data(0, Qt::UserRole).toString().toStdString();
    std::string value;
    if (!DeviceConfigValueOf(m_config.ValuePairs(name), m_option->currentText().toStdString(), value)) return;
    // The list read after the write shows what the device holds, so a failed write needs no message.
    RunApply(this, {.write =
                        [this, name, value] {
                            return SetNow(m_cCommonSNMP, {{name + ".0", kBindInteger, value}});
                        },
                    .pauseMs = 2000,
                    .reread =
                        [this] {
                            m_option->clear();
                            ReadSection(m_config, m_configList, {});
                        },
                    .rereadOnFailure = true});
}
