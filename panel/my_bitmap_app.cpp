#include "panel/my_bitmap_app.h"

#include <QPainter>

#include "panel/panel_picture.h"

bool CMyBitmapApp::Load(int id) {
    QImage image;
    if (!LoadDibFile(ResourceName(id).toStdString(), image)) return false;
    m_entries.push_back(Entry{id, image});
    return true;
}

const CMyBitmapApp::Entry* CMyBitmapApp::Find(int id) const {
    for (const Entry& e : m_entries) {
        if (e.id == id) return &e;
    }
    return nullptr;
}

QSize CMyBitmapApp::BitmapSize(int id) const {
    const Entry* e = Find(id);
    return e ? e->image.size() : QSize();
}

void CMyBitmapApp::Draw(QPainter& painter, int id, int x, int y) const {
    if (const Entry* e = Find(id)) painter.drawImage(QPoint(x, y), e->image);
}

void CMyBitmapApp::DrawAtPosition(int record, int id, QPainter* painter) const {
    QPainter* target = painter ? painter : m_target;
    if (!target) return;
    const int index = record & 0x7f;
    if (index >= kPositions) return;  // 100..127 name no record
    const PositionRecord& r = m_positions[static_cast<std::size_t>(index)];
    const QPoint at = (record & kAtFirstPosition) ? r.first : r.second;
    Draw(*target, id, at.x(), at.y());
}

void CMyBitmapApp::ResetPositions() {
    m_positions = Positions{};
    m_anonymousCount = 0;
}

CMyBitmapApp& BitmapApp() {
    static CMyBitmapApp app;
    return app;
}
