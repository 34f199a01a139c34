#pragma once
// Helpers of the panel tests (GoogleTest comes with them): pictures written on the fly, a host that records
// what the model asks, and a reading of a description that collects the messages.

#include <gtest/gtest.h>

#include <QColor>
#include <QFile>
#include <QImage>
#include <QRect>
#include <QString>
#include <QTemporaryDir>
#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include "../unit_test_support.h"
#include "panel/my_bitmap_app.h"
#include "panel/panel_host.h"
#include "panel/panel_reader.h"

// A solid BMP of `size` written into `dir`; returns its path.
inline std::string WriteSolidBmp(const QTemporaryDir& dir, const QString& name, QColor colour,
                                 QSize size = {10, 8}) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    image.save(dir.filePath(name), "BMP");
    return dir.filePath(name).toStdString();
}

// Writes `text` to `name` in `dir`; returns its path.
inline std::string WriteTextFile(const QTemporaryDir& dir, const QString& name, const std::string& text) {
    QFile file(dir.filePath(name));
    if (file.open(QIODevice::WriteOnly)) file.write(text.data(), static_cast<qint64>(text.size()));
    return file.fileName().toStdString();
}

inline std::string SourcePath(const std::string& relative) {
    return std::string(KMS_SOURCE_DIR) + "/" + relative;
}

inline void PrintTo(const QRect& r, std::ostream* os) {
    *os << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
}

// The colours at these points of the picture, as "#rrggbb" texts joined by blanks.
inline std::string ColoursAt(const QImage& image, std::initializer_list<QPoint> points) {
    std::string out;
    for (const QPoint& p : points) out += (out.empty() ? "" : " ") + image.pixelColor(p).name().toStdString();
    return out;
}

// Sum of the channel differences: smoothed and scaled pictures are compared within a tolerance.
inline int ColourDistance(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
}

struct RecordingHost : CPanelHost {
    QRect client{0, 0, 640, 140};
    std::vector<QRect> invalidated;
    std::vector<PanelCursor> cursors;
    std::vector<CPort*> portClicks;
    std::vector<CCom*> comClicks;

    QRect PanelClientRect() const override { return client; }
    void InvalidatePanelRect(const QRect& rect) override { invalidated.push_back(rect); }
    void SetPanelCursor(PanelCursor cursor) override { cursors.push_back(cursor); }
    void PortClicked(CPort& port) override { portClicks.push_back(&port); }
    void ComClicked(CCom& com) override { comClicks.push_back(&com); }
};

// One reading into a fresh tree with its own position records.
struct Reading {
    CDevModule root;
    ModuleList modules;
    CMyBitmapApp painter;
    std::vector<std::string> messages;
    bool result = false;

    PanelReadOptions Options() {
        PanelReadOptions options;
        options.positions = &painter;
        options.reportError = [this](const std::string& m) { messages.push_back(m); };
        return options;
    }
    // From a buffer the messages call "test.xml".
    void Read(const std::string& xml) {
        result = ReadPanelDescriptionFromBuffer(xml.data(), xml.size(), root, modules, Options(), "test.xml");
    }
    void ReadFile(const std::string& path) { result = ReadPanelDescription(path, root, modules, Options()); }
    CVirtualDev* Child(int i) const { return root.GetChild(i); }
    // Identifiers of `parent`'s children, comma-joined.
    static std::string Ids(const CVirtualDev* parent) {
        std::string out;
        for (int i = 0; i < parent->ChildCount(); ++i)
            out += (i ? "," : "") + parent->GetChild(i)->GetIdentifier();
        return out;
    }
};
