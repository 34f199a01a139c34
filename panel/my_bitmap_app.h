#pragma once
// CMyBitmapApp: the picture painter of the main window. A store of the module's bitmap resources
// (":/bitmaps/<id>.bmp", e.g. 227 the dark port LED) that draws them unscaled at a point of any paint
// device, plus AnonymousPositions, the 100 position records the panel reader fills for objects with
// ID "0". One object per process (BitmapApp()); used on the user-interface thread only.

#include <QImage>
#include <QPoint>
#include <QString>
#include <array>
#include <list>

class QPainter;

struct PositionRecord {
    unsigned char flag = 0;
    QPoint first;  // filled by the panel reader for anonymous objects
    QPoint second;
};

class CMyBitmapApp {
public:
    static constexpr int kPositions = 100;
    static constexpr int kAtFirstPosition = 0x80;  // flag bit of the record number in DrawAtPosition
    using Positions = std::array<PositionRecord, kPositions>;

    // Resource name of a bitmap id.
    static QString ResourceName(int id) { return QStringLiteral(":/bitmaps/%1.bmp").arg(id); }

    // Appends the bitmap resource `id`; false when there is no such resource.
    bool Load(int id);
    bool IsLoaded(int id) const { return Find(id) != nullptr; }
    QSize BitmapSize(int id) const;
    // Copies the whole bitmap `id` unscaled to (x, y); nothing when it was never loaded.
    void Draw(QPainter& painter, int id, int x, int y) const;
    // The record number is the low 7 bits of `record`; with kAtFirstPosition set the picture goes to the
    // record's first position, else to its second. Draws on `painter`, or on the target set by
    // SetTarget when `painter` is null.
    void DrawAtPosition(int record, int id, QPainter* painter = nullptr) const;
    // The main window's painter while it paints (nullptr otherwise).
    void SetTarget(QPainter* painter) { m_target = painter; }

    Positions& AnonymousPositions() { return m_positions; }
    const Positions& AnonymousPositions() const { return m_positions; }
    // Running count of anonymous objects read so far: the next record the reader writes.
    int AnonymousCount() const { return m_anonymousCount; }
    void SetAnonymousCount(int count) { m_anonymousCount = count; }
    // All records back to 0 and the count to 0 (when the panel window is built).
    void ResetPositions();
    // Drops the loaded bitmaps.
    void Clear() { m_entries.clear(); }

private:
    struct Entry {
        int id;
        QImage image;
    };
    const Entry* Find(int id) const;

    std::list<Entry> m_entries;
    Positions m_positions{};
    int m_anonymousCount = 0;
    QPainter* m_target = nullptr;
};

// The process's painter.
CMyBitmapApp& BitmapApp();
