// The panel objects: port states and their lamps, hit testing, drawing, the picture painter.

#include <gtest/gtest.h>

#include <QPainter>
#include <QTemporaryDir>
#include <atomic>
#include <thread>

#include "panel/my_bitmap_app.h"
#include "panel/virtual_dev.h"
#include "panel_test_support.h"

namespace {

CPort* AddPort(CVirtualDev& parent, const std::string& id, QRect rect) {
    auto port = std::make_unique<CPort>();
    port->SetIdentifier(id);
    port->SetRect(rect.x(), rect.y(), rect.width(), rect.height());
    CPort* raw = port.get();
    parent.AddChild(std::move(port));
    return raw;
}

CLamp* AddLamp(CPort& port, int kind) {
    auto lamp = std::make_unique<CLamp>();
    lamp->SetType(kind);
    CLamp* raw = lamp.get();
    port.AddChild(std::move(lamp));
    SubscribeLamp(*raw, &port);
    return raw;
}

TEST(PanelModel, FindChildByClassCountsDirectChildrenOfThatClass) {
    CDevModule root;
    auto panel = std::make_unique<CPanel>();
    AddPort(*panel, "inside", {0, 0, 10, 10});
    root.AddChild(std::move(panel));
    for (int i = 1; i <= 5; ++i) AddPort(root, std::to_string(i), {i * 20, 0, 10, 10});
    ASSERT_NE(root.FindChildByClass("CPort", 3), nullptr);
    EXPECT_EQ(root.FindChildByClass("CPort", 3)->GetIdentifier(), "4");
    EXPECT_EQ(root.FindChildByClass("CPort", 5), nullptr);
    EXPECT_EQ(root.FindChildByClass("CPort", -1), nullptr);
    EXPECT_EQ(root.FindChildByClass("CPanel", 0), root.GetChild(0));
    EXPECT_EQ(root.FindChildByClass("CLamp", 0), nullptr);
    EXPECT_EQ(root.FindChild("CPort", "2"), root.GetChild(2));
    EXPECT_EQ(root.FindChild("CPort", "inside"), nullptr);
    EXPECT_EQ(root.GetChild(6), nullptr);
}

TEST(PanelModel, SetStatusTellsTheLampsByKind) {
    // Lamp kinds in subscription order: LINK, S100M, POWER, CONSOLE.
    const struct {
        int portState;
        int lamps[4];
    } cases[] = {
        {0, {0, 0, 2, 2}}, {1, {1, 1, 2, 2}}, {2, {2, 2, 2, 2}}, {4, {2, 2, 2, 2}}, {0, {0, 0, 2, 2}}};
    CDevModule root;
    CPort* port = AddPort(root, "1", {0, 0, 10, 10});
    CLamp* lamps[4];
    for (int k = 0; k < 4; ++k) lamps[k] = AddLamp(*port, k);
    for (const auto& c : cases) {
        port->SetStatus(c.portState, nullptr);
        EXPECT_EQ(port->GetState(), c.portState);
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(lamps[k]->GetState(), c.lamps[k]) << c.portState << " kind " << k;
    }
}

TEST(PanelModel, SetStatusToTheSameStateChangesAndInvalidatesNothing) {
    CDevModule root;
    CPort* port = AddPort(root, "1", {40, 50, 20, 10});
    CLamp* lamp = AddLamp(*port, kLampLink);
    RecordingHost host;
    port->SetStatus(1, &host);
    ASSERT_EQ(host.invalidated.size(), 1u);
    EXPECT_EQ(host.invalidated[0], QRect(40, 50, 20, 10));
    EXPECT_TRUE(port->IsDirty());
    port->ClearDirty();
    lamp->SetState(kLampOff);  // would be set to 1 again by any notification
    port->SetStatus(1, &host);
    EXPECT_EQ(host.invalidated.size(), 1u);
    EXPECT_FALSE(port->IsDirty());
    EXPECT_EQ(lamp->GetState(), kLampOff);
}

TEST(PanelModel, PortWithoutPictureForAStateShowsNothingAndPublishesNothing) {
    QTemporaryDir dir;
    CPort port;
    port.SetStatePictureName(3, WriteSolidBmp(dir, "on.bmp", Qt::green));
    port.SetState(3);
    EXPECT_TRUE(port.LoadPicture());
    EXPECT_EQ(port.Published(), 3);
    EXPECT_FALSE(port.Picture().isNull());
    port.SetState(2);  // BMPDISABLE was empty
    EXPECT_FALSE(port.LoadPicture());
    EXPECT_TRUE(port.Picture().isNull());
    EXPECT_EQ(port.Published(), 3);
    port.SetState(7);
    EXPECT_FALSE(port.LoadPicture());
}

TEST(PanelModel, PicturesThatAreNoWindowsBitmapsAreRefused) {
    QTemporaryDir dir;
    CSlot slot;
    const std::string png = dir.filePath("p.png").toStdString();
    QImage(4, 4, QImage::Format_RGB32).save(QString::fromStdString(png), "PNG");
    for (const std::string& name :
         {png, WriteTextFile(dir, "t.bmp", "BMnot really"), dir.path().toStdString(),
          std::string("/dev/null"), std::string("missing.bmp"), std::string()}) {
        slot.SetPictureName(name);
        EXPECT_FALSE(slot.LoadPicture()) << name;
        EXPECT_TRUE(slot.Picture().isNull()) << name;
    }
    EXPECT_FALSE(slot.SetPictureName(std::string(100, 'a')));
}

TEST(PanelModel, ClickHitsOnlyStrictlyInsideTheShrunkRectangle) {
    CDevModule root;
    CPort* port = AddPort(root, "1", {100, 50, 40, 30});  // x 100..139, y 50..79
    auto panel = std::make_unique<CPanel>();
    AddPort(*panel, "hidden", {100, 50, 40, 30});
    root.AddChild(std::move(panel));
    RecordingHost host;
    root.Attach(&host);
    const struct {
        int x, y;
        bool hit;
    } cases[] = {{102, 65, false}, {103, 65, true}, {137, 65, true},  {138, 65, false},
                 {120, 52, false}, {120, 53, true}, {120, 78, false}, {120, 77, true},
                 {10, 10, false},  {103, 53, true}, {102, 52, false}};
    for (const auto& c : cases) {
        host.portClicks.clear();
        host.cursors.clear();
        root.OnClick(c.x, c.y);
        root.OnMouseMove(c.x, c.y);
        // Only the root's own port answers; the one inside the panel is never clicked.
        EXPECT_EQ(host.portClicks.size(), c.hit ? 1u : 0u) << c.x << "," << c.y;
        if (c.hit) {
            EXPECT_EQ(host.portClicks[0], port);
            ASSERT_EQ(host.cursors.size(), 1u);
            EXPECT_EQ(host.cursors[0], PanelCursor::Port);
        } else {
            EXPECT_TRUE(host.cursors.empty());
        }
    }
}

TEST(PanelModel, ScaledRectangleFollowsTheDrawingArea) {
    CDevModule root;
    CPort* port = AddPort(root, "1", {100, 50, 40, 30});
    RecordingHost host;
    root.Attach(&host);
    EXPECT_EQ(port->ScaledRect(), QRect(100, 50, 40, 30));
    // Unattached objects (no reference size) hit-test unscaled instead of dividing by zero.
    CPort lone;
    lone.SetRect(0, 0, 10, 10);
    EXPECT_EQ(lone.ScaledRect(), QRect(0, 0, 10, 10));
    EXPECT_TRUE(lone.HitTest(5, 5));
    EXPECT_EQ(ScaleCoordinate(100, 1280, 640), 200);
    EXPECT_EQ(ScaleCoordinate(INT_MAX, 4, 1), INT_MAX);
    EXPECT_EQ(ScaleCoordinate(7, 5, 0), 7);
}

TEST(PanelModel, ConnectorsTakeTheirOwnClicksAndCursor) {
    CDevModule root;
    auto com = std::make_unique<CCom>();
    com->SetRect(0, 0, 20, 20);
    CCom* raw = com.get();
    root.AddChild(std::move(com));
    auto slot = std::make_unique<CSlot>();
    slot->SetRect(30, 0, 20, 20);
    root.AddChild(std::move(slot));
    RecordingHost host;
    root.Attach(&host);
    root.OnClick(10, 10);
    root.OnMouseMove(10, 10);
    root.OnMouseMove(40, 10);
    ASSERT_EQ(host.comClicks.size(), 1u);
    EXPECT_EQ(host.comClicks[0], raw);
    ASSERT_EQ(host.cursors.size(), 2u);
    EXPECT_EQ(host.cursors[0], PanelCursor::Port);
    EXPECT_EQ(host.cursors[1], PanelCursor::Arrow);
}

TEST(PanelModel, SetAllPortsByPositionAndInsideModules) {
    CDevModule root;
    std::vector<CPort*> ports;
    for (int i = 1; i <= 53; ++i) {
        if (i == 10) root.AddChild(std::make_unique<CSlot>());
        ports.push_back(AddPort(root, std::to_string(i), {i, 0, 1, 1}));
    }
    ports[52]->SetState(kPortLink100);
    auto module = std::make_unique<CModule>();
    auto panel = std::make_unique<CPanel>();
    CPort* deep = AddPort(*panel, "deep", {0, 0, 1, 1});
    deep->SetState(kPortDisabled);
    module->AddChild(std::move(panel));
    root.AddChild(std::move(module));
    auto other = std::make_unique<CPanel>();
    CPort* notInModule = AddPort(*other, "p", {0, 0, 1, 1});
    notInModule->SetState(kPortDisabled);
    root.AddChild(std::move(other));
    for (CPort* p : ports) p->SetState(kPortLink10);
    ports[52]->SetState(kPortLink100);
    RecordingHost host;
    SetAllPorts(root, &host);
    for (int i = 0; i < 48; ++i) EXPECT_EQ(ports[static_cast<std::size_t>(i)]->GetState(), kPortEnabled) << i;
    for (int i = 48; i < 52; ++i) EXPECT_EQ(ports[static_cast<std::size_t>(i)]->GetState(), kPortEmpty) << i;
    EXPECT_EQ(ports[52]->GetState(), kPortLink100);
    EXPECT_EQ(deep->GetState(), kPortEnabled);
    EXPECT_EQ(notInModule->GetState(), kPortDisabled);
    EXPECT_EQ(host.invalidated.size(), 53u);
}

TEST(PanelModel, ReplaceChildKeepsPlaceAndRectAndDropsTheOldLamp) {
    CDevModule root;
    CPort* port = AddPort(root, "1", {0, 0, 10, 10});
    CLamp* old = AddLamp(*port, kLampLink);
    old->SetIdentifier("L");
    old->SetRect(3, 4, 5, 6);
    AddLamp(*port, kLampPower);
    auto fresh = std::make_unique<CLed>();
    CLed* raw = fresh.get();
    EXPECT_TRUE(port->ReplaceChild("CLamp", "L", std::move(fresh)));
    EXPECT_EQ(port->GetChild(0), raw);
    EXPECT_EQ(raw->GetRect(), QRect(3, 4, 5, 6));
    EXPECT_EQ(raw->Parent(), port);
    // The deleted lamp left the port's observers.
    ASSERT_EQ(port->Observers().size(), 1u);
    port->SetStatus(kPortLink100, nullptr);
    EXPECT_EQ(static_cast<CLamp*>(port->GetChild(1))->GetState(), kLampOff);
    EXPECT_FALSE(port->ReplaceChild("CLamp", "nope", std::make_unique<CLed>()));
}

TEST(PanelModel, LedPicturesFollowTheIndex) {
    QTemporaryDir dir;
    CLed led;
    led.SetIndexPictureName(3, WriteSolidBmp(dir, "three.bmp", Qt::red));
    led.SetIndex(3);
    EXPECT_EQ(led.Picture().pixelColor(0, 0), QColor(Qt::red));
    led.SetIndex(12);  // outside 0..9: the picture stays
    EXPECT_EQ(led.Picture().pixelColor(0, 0), QColor(Qt::red));
    led.SetIndex(2);
    EXPECT_TRUE(led.Picture().isNull());
}

// Background first, then each direct child's picture for its current state.
TEST(PanelModel, DrawingPutsPicturesWhereTheyBelong) {
    QTemporaryDir dir;
    const QColor stateColours[5] = {Qt::blue, Qt::cyan, Qt::red, Qt::green, Qt::gray};
    CDevModule root;
    root.SetRect(0, 0, 100, 50);
    CPort* port = AddPort(root, "1", {20, 10, 30, 20});
    for (int s = 0; s < 5; ++s)
        port->SetStatePictureName(
            s, WriteSolidBmp(dir, QStringLiteral("s%1.bmp").arg(s), stateColours[s], {6, 4}));
    auto panel = std::make_unique<CPanel>();
    CPort* hidden = AddPort(*panel, "h", {60, 10, 20, 20});
    hidden->SetStatePictureName(3, port->GetStatePictureName(3));
    hidden->LoadPicture();
    root.AddChild(std::move(panel));
    port->LoadPicture();

    auto render = [&] {
        QImage image(100, 50, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        painter.fillRect(image.rect(), QColor(0xc6, 0xc7, 0xc9));  // the background
        root.SetTargetDC(&painter);
        root.DrawChildren();
        root.SetTargetDC(nullptr);
        return image;
    };
    QImage image = render();
    EXPECT_EQ(image.pixelColor(5, 5), QColor(0xc6, 0xc7, 0xc9));
    EXPECT_EQ(image.pixelColor(20, 10), QColor(Qt::green));  // stretched over the whole rectangle
    EXPECT_EQ(image.pixelColor(49, 29), QColor(Qt::green));
    EXPECT_EQ(image.pixelColor(50, 30), QColor(0xc6, 0xc7, 0xc9));
    EXPECT_EQ(image.pixelColor(70, 20), QColor(0xc6, 0xc7, 0xc9));  // ports inside a panel are not drawn
    EXPECT_FALSE(port->IsDirty());
    for (int s : {0, 1, 2, 4}) {
        port->SetStatus(s, nullptr);
        image = render();
        EXPECT_EQ(image.pixelColor(35, 20), stateColours[s]) << s;
    }
}

TEST(PanelModel, StatusChangesFromAnotherThreadWhilePainting) {
    QTemporaryDir dir;
    CDevModule root;
    std::vector<CPort*> ports;
    for (int i = 0; i < 8; ++i) {
        CPort* p = AddPort(root, std::to_string(i), {i * 10, 0, 10, 10});
        for (int s = 0; s < 5; ++s)
            p->SetStatePictureName(
                s, WriteSolidBmp(dir, QStringLiteral("%1.bmp").arg(s), QColor(s * 50, 0, 0), {2, 2}));
        AddLamp(*p, kLampLink);
        p->LoadPicture();
        ports.push_back(p);
    }
    RecordingHost host;
    std::atomic<bool> stop{false};
    std::thread poller([&] {
        for (int n = 0; n < 3000 || !stop; ++n) {
            ports[static_cast<std::size_t>(n % 8)]->SetStatus(n % 5, nullptr);
            if (n % 50 == 0) SetAllPorts(root, nullptr);
        }
    });
    QImage image(80, 10, QImage::Format_RGB32);
    for (int frame = 0; frame < 200; ++frame) {
        QPainter painter(&image);
        std::lock_guard<std::recursive_mutex> lock(CVirtualDev::TreeMutex());
        root.Attach(&host);
        root.SetTargetDC(&painter);
        root.DrawChildren();
        root.SetTargetDC(nullptr);
    }
    stop = true;
    poller.join();
    // Every port shows the picture of the state it ended in.
    for (int i = 0; i < 8; ++i) {
        const int s = ports[static_cast<std::size_t>(i)]->GetState();
        ASSERT_FALSE(ports[static_cast<std::size_t>(i)]->Picture().isNull())
            << i << " state " << s << " " << ports[static_cast<std::size_t>(i)]->GetStatePictureName(s);
        EXPECT_EQ(ports[static_cast<std::size_t>(i)]->Picture().pixelColor(0, 0), QColor(s * 50, 0, 0));
    }
}

// --- picture painter -------------------------------------------------------------------------------

TEST(BitmapApp, ResourcesHaveTheirSizesAndColours) {
    const struct {
        int id;
        QSize size;
        QPoint at;
        QColor colour;
    } cases[] = {
        {227, {7, 6}, {3, 3}, QColor(0, 0, 0)},          {228, {7, 6}, {3, 3}, QColor(0, 0xff, 0)},
        {229, {7, 6}, {3, 3}, QColor(0xff, 0x99, 0)},    {232, {9, 9}, {6, 6}, QColor(0xff, 0, 0)},
        {237, {9, 9}, {6, 6}, QColor(0, 0, 0)},          {234, {15, 16}, {9, 10}, QColor(0, 0xff, 0)},
        {158, {7, 8}, {3, 4}, QColor(0, 0xff, 0)},       {215, {5, 5}, {2, 2}, QColor(0, 0xff, 0)},
        {216, {5, 5}, {2, 2}, QColor(0xff, 0, 0)},       {219, {5, 5}, {2, 2}, QColor(0xff, 0, 0)},
        {225, {5, 5}, {2, 2}, QColor(0, 0, 0)},          {159, {5, 4}, {2, 1}, QColor(0, 0, 0)},
        {160, {5, 4}, {0, 0}, QColor(0xc0, 0xc0, 0xc0)}, {161, {6, 4}, {2, 1}, QColor(0, 0xff, 0)},
        {162, {6, 4}, {2, 2}, QColor(0, 0xff, 0)},       {163, {6, 4}, {2, 1}, QColor(0xed, 0x9a, 0x22)},
        {164, {6, 4}, {3, 2}, QColor(0xed, 0x9a, 0x22)}, {190, {6, 5}, {2, 2}, QColor(0xff, 0, 0)},
        {191, {6, 5}, {2, 2}, QColor(0, 0xff, 0)},
    };
    CMyBitmapApp app;
    for (const auto& c : cases) {
        ASSERT_TRUE(app.Load(c.id)) << c.id;
        EXPECT_EQ(app.BitmapSize(c.id), c.size) << c.id;
        QImage image(20, 20, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        app.Draw(painter, c.id, 1, 1);
        painter.end();
        const QColor got = image.pixelColor(c.at + QPoint(1, 1));
        // Round lamps are drawn with smoothing: allow a little.
        EXPECT_LE(std::abs(got.red() - c.colour.red()) + std::abs(got.green() - c.colour.green()) +
                      std::abs(got.blue() - c.colour.blue()),
                  60)
            << c.id << " " << got.name().toStdString();
        EXPECT_EQ(image.pixelColor(1 + c.size.width(), 1 + c.size.height()), QColor(Qt::white)) << c.id;
    }
    EXPECT_FALSE(app.Load(999));
    EXPECT_FALSE(app.IsLoaded(999));
}

TEST(BitmapApp, DrawAtPositionUsesTheRecordTheFlagNames) {
    CMyBitmapApp app;
    ASSERT_TRUE(app.Load(228));
    app.AnonymousPositions()[5].first = QPoint(10, 2);
    app.AnonymousPositions()[5].second = QPoint(30, 2);
    QImage image(50, 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    app.DrawAtPosition(5 | CMyBitmapApp::kAtFirstPosition, 228, &painter);
    app.DrawAtPosition(120 | CMyBitmapApp::kAtFirstPosition, 228, &painter);  // no such record
    app.DrawAtPosition(5, 999, &painter);                                     // never loaded
    app.DrawAtPosition(5, 228);                                               // no target set
    app.SetTarget(&painter);
    app.DrawAtPosition(5, 228);
    app.SetTarget(nullptr);
    painter.end();
    EXPECT_EQ(image.pixelColor(11, 3), QColor(0, 0xff, 0));
    EXPECT_EQ(image.pixelColor(31, 3), QColor(0, 0xff, 0));
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(45, 3), QColor(Qt::white));
    app.ResetPositions();
    EXPECT_EQ(app.AnonymousPositions()[5].first, QPoint());
    EXPECT_EQ(app.AnonymousCount(), 0);
}

}  // namespace
