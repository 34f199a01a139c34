#include "panel/widget/panel_base_dlg.h"

#include <QMessageBox>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <mutex>

#include "panel/my_bitmap_app.h"
#include "panel/panel_picture.h"

class CPanelView : public QWidget {
public:
    explicit CPanelView(CPanelBaseDlg* owner) : QWidget(owner), m_owner(owner) {
        setObjectName(QStringLiteral("panelView"));
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFixedSize(320, 80);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        m_owner->RenderPanel(painter);
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        unsetCursor();
        const QPoint p = event->position().toPoint();
        m_owner->ViewMouseMove(p.x(), p.y());
        QWidget::mouseMoveEvent(event);
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) {
            const QPoint p = event->position().toPoint();
            m_owner->ViewClick(p.x(), p.y());
        }
        QWidget::mousePressEvent(event);
    }

private:
    CPanelBaseDlg* m_owner;
};

CPanelBaseDlg::CPanelBaseDlg(QWidget* parent) : QDialog(parent) {
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_layout->setSizeConstraint(QLayout::SetFixedSize);
    m_view = new CPanelView(this);
    m_layout->addWidget(m_view);
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
    if (size.width() > 0 && size.height() > 0) m_view->setFixedSize(size.boundedTo(QSize(8192, 8192)));
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
    const QRect area = m_view->rect();
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
    QImage image(m_view->size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    RenderPanel(painter);
    return image;
}

QRect CPanelBaseDlg::PanelClientRect() const {
    return m_view->rect();
}

void CPanelBaseDlg::InvalidatePanelRect(const QRect& rect) {
    // Any thread: only post. The view's own thread repaints; a view gone by then drops the request.
    CPanelView* view = m_view;
    QMetaObject::invokeMethod(
        view, [view, rect] { view->update(rect); }, Qt::QueuedConnection);
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

void CPanelBaseDlg::ReportPanelError(const QString& text) {
    QMessageBox::warning(this, windowTitle(), text);
}

void CPanelBaseDlg::ViewMouseMove(int x, int y) {
    m_root.OnMouseMove(x, y);
}
void CPanelBaseDlg::ViewClick(int x, int y) {
    m_root.OnClick(x, y);
}
