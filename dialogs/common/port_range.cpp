#include "dialogs/common/port_range.h"

#include <QComboBox>
#include <QSignalBlocker>

#include "dialogs/common/user_prompt.h"

CPortRange::CPortRange(QComboBox* from, QComboBox* to, int firstPort, int lastPort, QWidget* dialog,
                       std::function<QString(int port)> itemText)
    : QObject(dialog), m_from(from), m_to(to), m_dialog(dialog), m_first(firstPort) {
    if (!itemText) itemText = [](int port) { return QString::number(port); };
    for (QComboBox* box : {m_from, m_to}) {
        QSignalBlocker block(box);
        box->clear();
        for (int p = firstPort; p <= lastPort; ++p) box->addItem(itemText(p), p);
    }
    Select(firstPort, lastPort);
    connect(m_from, &QComboBox::currentIndexChanged, this, &CPortRange::OnFromChanged);
    connect(m_to, &QComboBox::currentIndexChanged, this, &CPortRange::OnToChanged);
}

int CPortRange::From() const {
    return m_from->currentIndex() < 0 ? 0 : m_from->currentData().toInt();
}

int CPortRange::To() const {
    return m_to->currentIndex() < 0 ? 0 : m_to->currentData().toInt();
}

void CPortRange::Select(int from, int to) {
    QSignalBlocker blockFrom(m_from), blockTo(m_to);
    m_from->setCurrentIndex(from - m_first);
    m_to->setCurrentIndex(to - m_first);
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
