#pragma once
// Helpers of the panel tests: pictures written on the fly, a host that records what the model asks.

#include <QColor>
#include <QRect>
#include <QString>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "panel/panel_host.h"

// A solid BMP of `size` written into `dir`; returns its path.
std::string WriteSolidBmp(const QTemporaryDir& dir, const QString& name, QColor colour, QSize size = {10, 8});
// Writes `text` to `name` in `dir`; returns its path.
std::string WriteTextFile(const QTemporaryDir& dir, const QString& name, const std::string& text);
std::string SourcePath(const std::string& relative);

class RecordingHost : public CPanelHost {
public:
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
