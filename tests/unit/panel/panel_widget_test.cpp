// The panel base window on the shipped eight-port panel, offscreen.

#include <QApplication>
#include <QMenuBar>
#include <QPainter>
#include <QTest>
#include <QVBoxLayout>
#include <thread>

#include "panel/widget/panel_base_dlg.h"
#include "panel_test_support.h"

namespace {

class TestPanel : public CPanelBaseDlg {
public:
    std::vector<QString> errors;
    std::vector<int> opened;
    int overlays = 0;

protected:
    void PaintPanelOverlay(QPainter& painter) override {
        ++overlays;
        BitmapApp().DrawAtPosition(0 | CMyBitmapApp::kAtFirstPosition, 228);  // port 1's link LED
        painter.fillRect(600, 130, 2, 2, Qt::magenta);
    }
    void OpenPortConfiguration(CPort& port) override { opened.push_back(PortIndex(port)); }
    void ReportPanelError(const QString& text) override { errors.push_back(text); }
};

// A rejected description is reported once and leaves an empty panel, drawn all the same. Then the shipped
// eight-port panel: the window starts at the panel's size, keeps its proportions when resized, draws the
// background, ports and overlay scaled, and hit-tests the shrunk port rectangle at the scale shown. Port
// states set on a polling thread are painted on the window's own.
TEST(PanelWindow, LoadsScalesTakesPortClicksAndRepaintsOnItsOwnThread) {
    BitmapApp().ResetPositions();
    BitmapApp().Clear();
    ASSERT_TRUE(BitmapApp().Load(228));
    QTemporaryDir dir;
    const std::string bad =
        WriteTextFile(dir, "bad.xml",
                      "<D><DEVICEPANEL c=\"L\"><ID>d</ID><LEFT>0</LEFT><TOP>0</TOP><WIDTH>64"
                      "</WIDTH><HEIGHT>14</HEIGHT><L><SLOT><ID>s</ID></SLOT></L></DEVICEPANEL></D>");
    TestPanel w;
    EXPECT_FALSE(w.LoadPanel(QString::fromStdString(bad)));
    ASSERT_EQ(w.errors.size(), 1u);
    EXPECT_TRUE(w.errors[0].contains(QStringLiteral("bad.xml")));
    EXPECT_EQ(w.Root().ChildCount(), 0);
    EXPECT_FALSE(w.RenderToImage().isNull());

    auto* bar = new QMenuBar(&w);
    bar->addMenu(QStringLiteral("&Device Manager   "));
    w.PanelLayout()->setMenuBar(bar);
    ASSERT_TRUE(w.LoadPanel(QString::fromStdString(SourcePath("assets/KMS-7300-08E.xml"))));
    EXPECT_EQ(std::tuple(w.errors.size(), w.BackgroundMode(), w.PanelSize(), w.Port(8)),
              std::tuple(1u, 1, QSize(640, 140), nullptr));
    ASSERT_NE(w.Port(7), nullptr);
    w.show();
    QApplication::processEvents();
    // The offscreen screen is 800 pixels wide: the panel starts at its own size, under the menu.
    EXPECT_EQ(w.PanelView()->size(), QSize(640, 140));
    EXPECT_EQ(w.PanelView()->y(), bar->sizeHint().height());
    // Wider and taller than the panel's proportions: as large as fits, centred.
    w.resize(1400, bar->sizeHint().height() + 400);
    QApplication::processEvents();
    ASSERT_EQ(w.PanelView()->size(), QSize(1400, 400));
    EXPECT_EQ(w.PanelRectInView(), QRectF(0, 200 - 140 * 1400.0 / 640 / 2, 1400, 140 * 1400.0 / 640));
    // At twice the size: background, ports, then the overlay, all scaled; the picture of the panel stays
    // at its own size.
    w.resize(1280, bar->sizeHint().height() + 280);
    QApplication::processEvents();
    ASSERT_EQ(w.PanelView()->size(), QSize(1280, 280));
    const QImage shown = w.PanelView()->grab().toImage();
    const QImage own = w.RenderToImage();
    ASSERT_EQ(own.size(), QSize(640, 140));
    const CVirtualDev* link = w.Port(0)->GetChild(0);
    const QRect port = w.Port(2)->GetRect();
    const QPoint ledAt(link->Left() + 3, link->Top() + 3), portAt = port.topLeft() + QPoint(20, 17),
                                                           bare(5, 70);
    EXPECT_EQ(ColoursAt(own, {ledAt, {601, 131}, bare, portAt}),
              "#00ff00 #ff00ff " + ColoursAt(w.Background(), {bare}) + " " +
                  ColoursAt(w.Port(2)->Picture(), {{20, 17}}));
    for (const QPoint& p : {ledAt, QPoint(601, 131), portAt, bare})
        EXPECT_LE(ColourDistance(shown.pixelColor(2 * p), own.pixelColor(p)), 48) << p.x() << "," << p.y();

    const QRect r = w.Port(4)->GetRect();
    const QPoint centre = r.center() * 2;
    EXPECT_EQ(w.PortRectInView(4), QRect(r.topLeft() * 2, r.size() * 2));
    QTest::mouseClick(w.PanelView(), Qt::LeftButton, {}, centre);
    QTest::mouseClick(w.PanelView(), Qt::LeftButton, {}, QPoint(2 * r.left() + 5, centre.y()));  // 2 inside
    QTest::mouseClick(w.PanelView(), Qt::RightButton, {}, centre);
    QTest::mouseClick(w.PanelView(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(w.opened, std::vector<int>{4});
    EXPECT_EQ(w.PortAt(QPoint(2 * r.left() + 7, centre.y())), 4);  // 3 inside
    EXPECT_EQ(w.PortAt(QPoint(10, 10)), -1);
    QTest::mouseMove(w.PanelView(), centre);
    EXPECT_EQ(w.PanelView()->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(w.PanelView(), QPoint(10, 10));
    EXPECT_EQ(w.PanelView()->cursor().shape(), Qt::ArrowCursor);

    const int before = w.overlays;
    std::thread poller([&] {
        w.Port(1)->SetStatus(kPortLink100, &w);
        w.SetAllPorts();
    });
    poller.join();
    EXPECT_EQ(w.Port(1)->GetState(), kPortEnabled);
    EXPECT_EQ(w.overlays, before);  // nothing painted on the polling thread
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.overlays > before; }, 400));
}

}  // namespace
