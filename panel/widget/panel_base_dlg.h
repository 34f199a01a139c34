#pragma once
// CPanelBaseDlg: the panel base window that the main panel window derives from. It owns the device model
// (the root CDevModule and ModuleList), reads the panel description into it, sizes itself to the panel
// picture, paints the background and then the root's direct children, and hands mouse moves and clicks to
// the model.
//
// Layout: a vertical box with no margins holding the panel view (object name "panelView"). A menu bar goes
// in with PanelLayout()->setMenuBar(bar), above the panel.
//
// Scale: the model and everything drawn over it stay in panel coordinates (the description's pixels). The
// view shows the panel as large as it fits, keeping its aspect ratio, centred; it starts at a size that
// reads well on the screen (up to twice the description's size) and follows the window as it is resized.
// Mouse points are mapped back to panel coordinates before the model sees them, so hit-testing scales
// with the picture. Painting goes straight to the widget, so a high-density screen gets its full detail.
//
// Painting: the view paints, in order, the background (mode 1: stretched, then the tree; 2: centred; other:
// tiled), then PaintPanelOverlay on the derived class (the LEDs), with BitmapApp()'s target set to the
// view's painter meanwhile. The tree part runs under CVirtualDev::TreeMutex(); the overlay runs outside it,
// so the overlay may take the status lock that the polling side holds while it calls CPort::SetStatus.
//
// Threads: InvalidatePanelRect and SetAllPorts may be called from any thread; the repaint they ask for is
// posted to the view's thread. Everything else belongs to the user-interface thread.

#include <QDialog>
#include <QImage>

#include "panel/panel_host.h"
#include "panel/panel_reader.h"
#include "panel/virtual_dev.h"

class QBoxLayout;
class CPanelView;

class CPanelBaseDlg : public QDialog, public CPanelHost {
    Q_OBJECT
public:
    explicit CPanelBaseDlg(QWidget* parent = nullptr);
    ~CPanelBaseDlg() override;

    // Reads the description into the model (once, when the window initialises), sets background mode 1,
    // loads the root's picture as the background and sizes the panel view to the root's rectangle.
    // Returns the reader's result; a rejected file has been reported through ReportPanelError.
    bool LoadPanel(const QString& fileName);

    CDevModule& Root() { return m_root; }
    const CDevModule& Root() const { return m_root; }
    ModuleList& Modules() { return m_modules; }
    const QImage& Background() const { return m_background; }
    int BackgroundMode() const { return m_backgroundMode; }
    void SetBackgroundMode(int mode);

    QWidget* PanelView() const;
    QBoxLayout* PanelLayout() const { return m_layout; }

    // Port n of the panel (from 0, the root's direct ports in description order), or nullptr.
    CPort* Port(int n) const;
    // The number (from 0) of a port among the root's direct ports, -1 when it is none of them.
    int PortIndex(const CPort& port) const;
    // Every port at once (ports 1-48 enabled, 49-52 empty, ports inside modules enabled). Any thread.
    void SetAllPorts();

    // Paints the whole panel (background, tree, overlay) in panel coordinates.
    void RenderPanel(QPainter& painter);
    // The panel as the view shows it now, at the description's size.
    QImage RenderToImage();

    // The panel's size in panel coordinates, and where the view shows it now (view coordinates).
    QSize PanelSize() const;
    QRectF PanelRectInView() const;
    // A view point in panel coordinates (may lie outside the panel).
    QPoint ToPanel(const QPoint& viewPoint) const;
    // The port (from 0) under a view point, -1 when none; a port's rectangle in the view.
    int PortAt(const QPoint& viewPoint) const;
    QRect PortRectInView(int index) const;

    // CPanelHost
    QRect PanelClientRect() const override;
    void InvalidatePanelRect(const QRect& rect) override;
    void SetPanelCursor(PanelCursor cursor) override;
    void PortClicked(CPort& port) override;
    void ComClicked(CCom& com) override;

signals:
    // A click inside port `index` (from 0), before OpenPortConfiguration runs.
    void portClicked(int index);

protected:
    // Drawn over the panel on every paint (the LEDs of the main window).
    virtual void PaintPanelOverlay(QPainter& painter);
    // Opens the port configuration dialog for a clicked port.
    virtual void OpenPortConfiguration(CPort& port);
    // Opens a Telnet session for a clicked console connector.
    virtual void OpenTelnet(CCom& com);
    // Shows why a panel description was rejected. The main window routes this through the prompt seam.
    virtual void ReportPanelError(const QString& text);
    // The tooltip of port `index` (from 0); empty for none.
    virtual QString PortToolTip(int index) const;

private:
    friend class CPanelView;
    void ViewMouseMove(int x, int y);
    void ViewClick(int x, int y);

    QImage m_background;
    QSize m_panelSize;
    int m_backgroundMode = 0;
    CDevModule m_root;
    ModuleList m_modules;
    QBoxLayout* m_layout = nullptr;
    CPanelView* m_view = nullptr;
};
