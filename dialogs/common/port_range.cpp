#include "dialogs/common/port_range.h"

#include <QComboBox>
#include <QSignalBlocker>

#include "dialogs/common/user_prompt.h"

CPortRange::CPortRange(QComboBox* from, QComboBox* to, int firstPort, int lastPort, QWidget* dialog,
                       std::function<QString(int port)> itemText)
    : QObject(dialog), m_from(from), m_to(to), m_dialog(dialog), m_itemText(std::move(itemText)) {
    if (!m_itemText) m_itemText = [](int port) { return QString::number(port); };
    std::vector<int> ports;
    for (int p = firstPort; p <= lastPort; ++p) ports.push_back(p);
    SetPorts(ports);
    connect(m_from, &QComboBox::currentIndexChanged, this, &CPortRange::OnFromChanged);
    connect(m_to, &QComboBox::currentIndexChanged, this, &CPortRange::OnToChanged);
}

void CPortRange::SetPorts(const std::vector<int>& ports) {
    if (ports == m_ports) return;
    m_ports = ports;
    for (QComboBox* box : {m_from, m_to}) {
        QSignalBlocker block(box);
        box->clear();
        for (int p : ports) box->addItem(m_itemText(p), p);
    }
    if (!ports.empty()) Select(ports.front(), ports.back());
}

int CPortRange::From() const {
    return m_from->currentIndex() < 0 ? 0 : m_from->currentData().toInt();
}

int CPortRange::To() const {
    return m_to->currentIndex() < 0 ? 0 : m_to->currentData().toInt();
}

void CPortRange::Select(int from, int to) {
    QSignalBlocker blockFrom(m_from), blockTo(m_to);
    m_from->setCurrentIndex(m_from->findData(from));
    m_to->setCurrentIndex(m_to->findData(to));
}

void CPortRange::OnFromChanged() {
    QSignalBlocker block(m_to);
    m_to->setCurrentIndex(m_from->currentIndex());
}

void CPortRange::OnToChanged() {
    if (To() >= From()) return;
    Inform(m_dialog, QString::fromLatin1(kToPortSmallerText));
    QSignalBlocker block(m_to);
    m_to->setCurrentIndex(m_from->currentIndex());
}
