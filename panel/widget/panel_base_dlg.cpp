#include "panel/widget/panel_base_dlg.h"

#include <QHelpEvent>
#include <QMessageBox>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QToolTip>
#include <QVBoxLayout>
#include <cmath>
#include <mutex>

#include "panel/my_bitmap_app.h"
#include "panel/panel_picture.h"

class CPanelView : public QWidget {
public:
    explicit CPanelView(CPanelBaseDlg* owner) : QWidget(owner), m_owner(owner) {
        setObjectName(QStringLiteral("panelView"));
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }
    // The size the panel opens with: the description's size times a scale that reads well on the screen.
    void SetStartScale(double scale) {
        m_startScale = scale;
        updateGeometry();
    }
    QSize sizeHint() const override { return m_owner->PanelSize() * m_startScale; }
    QSize minimumSizeHint() const override { return m_owner->PanelSize() / 2; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QRectF at = m_owner->PanelRectInView();
        painter.fillRect(rect(), palette().window());
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.translate(at.topLeft());
        painter.scale(at.width() / m_owner->PanelSize().width(), at.height() / m_owner->PanelSize().height());
        m_owner->RenderPanel(painter);
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        unsetCursor();
        const QPoint p = m_owner->ToPanel(event->position().toPoint());
        m_owner->ViewMouseMove(p.x(), p.y());
        QWidget::mouseMoveEvent(event);
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) {
            const QPoint p = m_owner->ToPanel(event->position().toPoint());
            m_owner->ViewClick(p.x(), p.y());
        }
        QWidget::mousePressEvent(event);
    }
    bool event(QEvent* event) override {
        if (event->type() != QEvent::ToolTip) return QWidget::event(event);
        auto* help = static_cast<QHelpEvent*>(event);
        const int port = m_owner->PortAt(help->pos());
        const QString text = port < 0 ? QString() : m_owner->PortToolTip(port);
        if (text.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), text, this, m_owner->PortRectInView(port));
        }
        return true;
    }

private:
    CPanelBaseDlg* m_owner;
    double m_startScale = 1.0;
};

namespace {
// Up to twice the description's size, in quarter steps, as long as the panel stays well inside the screen.
double StartScale(QSize panel, const QScreen* screen) {
    if (!screen || panel.isEmpty()) return 1.0;
    const QSize room = screen->availableSize();
    const double fit = std::min(0.9 * room.width() / panel.width(), 0.5 * room.height() / panel.height());
    return std::max(1.0, std::floor(std::min(2.0, fit) * 4) / 4);
}
}  // namespace

CPanelBaseDlg::CPanelBaseDlg(QWidget* parent) : QDialog(parent), m_panelSize(320, 80) {
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_view = new CPanelView(this);
    m_layout->addWidget(m_view, 1);
}

CPanelBaseDlg::~CPanelBaseDlg() {
    // The tree's objects may still hold this window as their host.
    std::lock_guard<std::recursive_mutex> lock(CVirtualDev::TreeMutex());
    m_root.Attach(nullptr);
}

QWidget* CPanelBaseDlg::PanelView() const {
    return m_view;
}

bool CPanelBaseDlg::LoadPanel(const QString& fileName) {
    // The message waits until the tree is unlocked: a message box runs its own event loop.
    std::string rejection;
    PanelReadOptions options;
    options.reportError = [&rejection](const std::string& text) { rejection = text; };
    bool ok;
    {
        std::lock_guard<std::recursive_mutex> lock(CVirtualDev::TreeMutex());
        ok = ReadPanelDescription(fileName.toStdString(), m_root, m_modules, options);
        m_backgroundMode = 1;
        LoadDibFile(m_root.ResolvePicturePath(m_root.GetPictureName()), m_background);
    }
    if (!rejection.empty()) ReportPanelError(QString::fromStdString(rejection));
    QSize size(m_root.Width(), m_root.Height());
    if (size.width() <= 0 || size.height() <= 0) size = m_background.size();
    // A description with absurd sizes must not ask for an absurd window.
    if (size.width() > 0 && size.height() > 0) m_panelSize = size.boundedTo(QSize(8192, 8192));
    m_view->SetStartScale(StartScale(m_panelSize, m_view->screen()));
    // Explicitly: left to itself a window opens at most two thirds of the screen wide.
    resize(sizeHint());
    {
        // Clicks may come before the first paint attaches the tree.
        std::lock_guard<std::recursive_mutex> lock(CVirtualDev::TreeMutex());
        m_root.Attach(this);
    }
    m_view->update();
    return ok;
}

void CPanelBaseDlg::SetBackgroundMode(int mode) {
    m_backgroundMode = mode;
    m_view->update();
}

CPort* CPanelBaseDlg::Port(int n) const {
    return static_cast<CPort*>(m_root.FindChildByClass("CPort", n));
}

int CPanelBaseDlg::PortIndex(const CPort& port) const {
    int index = 0;
    for (int i = 0; i < m_root.ChildCount(); ++i) {
        const CVirtualDev* child = m_root.GetChild(i);
        if (!child->IsClass("CPort")) continue;
        if (child == &port) return index;
        ++index;
    }
    return -1;
}

void CPanelBaseDlg::SetAllPorts() {
    ::SetAllPorts(m_root, this);
}

void CPanelBaseDlg::RenderPanel(QPainter& painter) {
    const QRect area(QPoint(0, 0), m_panelSize);
    {
        std::lock_guard<std::recursive_mutex> lock(CVirtualDev::TreeMutex());
        if (!m_background.isNull()) {
            if (m_backgroundMode == 1) {
                painter.drawImage(area, m_background);
                m_root.Attach(this);
                m_root.SetTargetDC(&painter);
                m_root.DrawChildren();
                m_root.SetTargetDC(nullptr);
            } else if (m_backgroundMode == 2) {
                painter.fillRect(area, palette().window());
                const QPoint at((area.width() - m_background.width()) / 2,
                                (area.height() - m_background.height()) / 2);
                painter.drawImage(at, m_background);
            } else {
                painter.drawTiledPixmap(area, QPixmap::fromImage(m_background));
            }
        } else {
            painter.fillRect(area, palette().window());
        }
    }
    BitmapApp().SetTarget(&painter);
    PaintPanelOverlay(painter);
    BitmapApp().SetTarget(nullptr);
}

QImage CPanelBaseDlg::RenderToImage() {
    QImage image(m_panelSize, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    RenderPanel(painter);
    return image;
}

QRect CPanelBaseDlg::PanelClientRect() const {
    // The model works in panel coordinates; the view maps its points into them.
    return QRect(QPoint(0, 0), m_panelSize);
}

QSize CPanelBaseDlg::PanelSize() const {
    return m_panelSize;
}

QRectF CPanelBaseDlg::PanelRectInView() const {
    const QSizeF shown = QSizeF(m_panelSize).scaled(QSizeF(m_view->size()), Qt::KeepAspectRatio);
    return QRectF(QPointF((m_view->width() - shown.width()) / 2, (m_view->height() - shown.height()) / 2),
                  shown);
}

QPoint CPanelBaseDlg::ToPanel(const QPoint& viewPoint) const {
    const QRectF at = PanelRectInView();
    if (at.isEmpty()) return viewPoint;
    return QPoint(
        static_cast<int>(std::floor((viewPoint.x() - at.x()) * m_panelSize.width() / at.width())),
        static_cast<int>(std::floor((viewPoint.y() - at.y()) * m_panelSize.height() / at.height())));
}

QRect CPanelBaseDlg::PortRectInView(int index) const {
    const CPort* port = Port(index);
    if (!port) return {};
    const QRectF at = PanelRectInView();
    const double sx = at.width() / m_panelSize.width(), sy = at.height() / m_panelSize.height();
    const QRect r = port->GetRect();
    return QRectF(at.x() + r.x() * sx, at.y() + r.y() * sy, r.width() * sx, r.height() * sy).toAlignedRect();
}

int CPanelBaseDlg::PortAt(const QPoint& viewPoint) const {
    const QPoint p = ToPanel(viewPoint);
    for (int n = 0; const CPort* port = Port(n); ++n)
        if (port->HitTest(p.x(), p.y())) return n;
    return -1;
}

void CPanelBaseDlg::InvalidatePanelRect(const QRect&) {
    // Any thread: only post. The view's own thread repaints (the whole view: the rectangle would have to be
    // scaled, and a repaint of the small panel costs next to nothing); a view gone by then drops it.
    CPanelView* view = m_view;
    QMetaObject::invokeMethod(
        view, [view] { view->update(); }, Qt::QueuedConnection);
}

void CPanelBaseDlg::SetPanelCursor(PanelCursor cursor) {
    m_view->setCursor(cursor == PanelCursor::Port ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void CPanelBaseDlg::PortClicked(CPort& port) {
    emit portClicked(PortIndex(port));
    OpenPortConfiguration(port);
}

void CPanelBaseDlg::ComClicked(CCom& com) {
    OpenTelnet(com);
}

void CPanelBaseDlg::PaintPanelOverlay(QPainter&) {}
void CPanelBaseDlg::OpenPortConfiguration(CPort&) {}
void CPanelBaseDlg::OpenTelnet(CCom&) {}

QString CPanelBaseDlg::PortToolTip(int) const {
    return {};
}

void CPanelBaseDlg::ReportPanelError(const QString& text) {
    QMessageBox::warning(this, windowTitle(), text);
}

void CPanelBaseDlg::ViewMouseMove(int x, int y) {
    m_root.OnMouseMove(x, y);
}
void CPanelBaseDlg::ViewClick(int x, int y) {
    m_root.OnClick(x, y);
}
