#pragma once
// What the panel objects need from the window that shows them. The panel library knows no widgets: the
// panel base window (panel/widget) implements this, tests implement it with plain recorders.

#include <QRect>

class CPort;
class CCom;

enum class PanelCursor {
    Arrow,  // the standard arrow
    Port,   // the panel's own pointer over ports and connectors (cursor resource 398)
};

class CPanelHost {
public:
    virtual ~CPanelHost() = default;

    // Client rectangle of the drawing area; read by Attach on the user-interface thread.
    virtual QRect PanelClientRect() const = 0;

    // Asks for a repaint of `rect` (panel coordinates). Called from any thread, also while the panel
    // mutex is held: an implementation must only post the request, never paint or block here.
    virtual void InvalidatePanelRect(const QRect& rect) = 0;

    // Mouse feedback and clicks, all on the user-interface thread.
    virtual void SetPanelCursor(PanelCursor cursor) = 0;
    // A click inside a port: the port configuration dialog opens from here.
    virtual void PortClicked(CPort& port) = 0;
    // A click inside a console connector: a Telnet session to the device opens from here.
    virtual void ComClicked(CCom& com) = 0;
};
