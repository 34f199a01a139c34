#pragma once
// The side pane of the console's window: the chosen device at a glance and its reachability changes,
// newest first, with their times (the monitor keeps the last ones while the console runs).

#include <QWidget>

#include "console/device_list.h"
#include "console/reachability.h"

class QLabel;
class QTreeWidget;

class DeviceEventsPane : public QWidget {
    Q_OBJECT
public:
    explicit DeviceEventsPane(QWidget* parent = nullptr);

    // `device` null: nothing chosen.
    void showDevice(const ConsoleDevice* device, const DeviceStatus& status, const QList<StatusEvent>& events,
                    bool moduleOpen);
    QString deviceId() const { return m_id; }

private:
    QString m_id;
    QLabel* m_title;
    QLabel* m_details;
    QTreeWidget* m_events;
};
