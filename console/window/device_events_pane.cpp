#include "console/window/device_events_pane.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "console/window/device_list_proxy.h"

DeviceEventsPane::DeviceEventsPane(QWidget* parent) : QWidget(parent) {
    m_title = new QLabel;
    m_title->setObjectName("eventsTitle");
    QFont big = m_title->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.15);
    m_title->setFont(big);
    m_title->setWordWrap(true);
    m_details = new QLabel;
    m_details->setObjectName("eventsDetails");
    m_details->setWordWrap(true);
    m_details->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_events = new QTreeWidget;
    m_events->setObjectName("events");
    m_events->setRootIsDecorated(false);
    m_events->setUniformRowHeights(true);
    m_events->setHeaderLabels({"Time", "Status"});
    m_events->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_events->header()->setStretchLastSection(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_title);
    layout->addWidget(m_details);
    auto* heading = new QLabel("Status changes (newest first):");
    layout->addWidget(heading);
    layout->addWidget(m_events, 1);
    showDevice(nullptr, {}, {}, false);
}

void DeviceEventsPane::showDevice(const ConsoleDevice* d, const DeviceStatus& status,
                                  const QList<StatusEvent>& events, bool moduleOpen) {
    m_events->clear();
    m_id = d ? d->id : QString();
    if (!d) {
        m_title->setText("No device chosen");
        m_details->setText("Choose a device in the list to see its status changes.");
        return;
    }
    m_title->setText(d->name);
    QString how = "SNMPv" + VersionText(d->version);
    if (d->version == 3)
        how += ", user " + d->userName.toHtmlEscaped() + ", " + SecurityLevelText(d->securityLevel);
    const QString state =
        status.state == Reachability::Unknown ? QStringLiteral("not polled yet") : status.text();
    QString since = status.since.isValid() ? " since " + status.since.toString("HH:mm:ss") : QString();
    QStringList rows = {
        QStringLiteral("<tr><td>Address:&nbsp;</td><td>%1 port %2</td></tr>").arg(d->address).arg(d->port),
        QStringLiteral("<tr><td>Asked by:&nbsp;</td><td>%1</td></tr>").arg(how),
        QStringLiteral("<tr><td>Model:&nbsp;</td><td>%1</td></tr>")
            .arg(d->model.isEmpty() ? "unknown" : d->model),
        QStringLiteral("<tr><td>Status:&nbsp;</td><td><b>%1</b>%2</td></tr>")
            .arg(state.toHtmlEscaped(), since),
        QStringLiteral("<tr><td>Module:&nbsp;</td><td>%1</td></tr>").arg(moduleOpen ? "open" : "not open")};
    if (status.lastSeen.isValid())
        rows.insert(4, QStringLiteral("<tr><td>Last seen:&nbsp;</td><td>%1 (up %2)</td></tr>")
                           .arg(status.lastSeen.toString("HH:mm:ss"), UptimeText(status.uptimeTicks)));
    m_details->setText("<table>" + rows.join("") + "</table>");
    for (auto it = events.crbegin(); it != events.crend(); ++it) {
        auto* item = new QTreeWidgetItem(m_events, {it->time.toString("yyyy-MM-dd HH:mm:ss"), it->text});
        item->setIcon(1, StatusIcon(it->state));
    }
}
