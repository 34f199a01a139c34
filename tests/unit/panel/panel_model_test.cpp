// The panel objects: port states and their lamps, hit testing, drawing, the picture painter.

#include <QPainter>

#include "panel_test_support.h"

namespace {

template <class T = CPort>
T* Add(CVirtualDev& parent, const std::string& id, QRect rect) {
    auto object = std::make_unique<T>();
    object->SetIdentifier(id);
    object->SetRect(rect.x(), rect.y(), rect.width(), rect.height());
    T* raw = object.get();
    parent.AddChild(std::move(object));
    return raw;
}

TEST(PanelModel, SetStatusTellsTheLampsByKindAndOnlyOnAChange) {
    // Lamp kinds in subscription order: LINK, S100M, POWER, CONSOLE.
    const std::pair<int, std::array<int, 4>> cases[] = {
        {0, {0, 0, 2, 2}}, {1, {1, 1, 2, 2}}, {2, {2, 2, 2, 2}}, {4, {2, 2, 2, 2}}, {0, {0, 0, 2, 2}}};
    CDevModule root;
    CPort* port = Add(root, "1", {40, 50, 20, 10});
    CLamp* lamps[4];
    for (int k = 0; k < 4; ++k) {
        lamps[k] = Add<CLamp>(*port, "", {});
        lamps[k]->SetType(k);
        SubscribeLamp(*lamps[k], port);
    }
    RecordingHost host;
    for (const auto& [portState, wanted] : cases) {
        port->SetStatus(portState, &host);
        EXPECT_EQ(port->GetState(), portState);
        for (int k = 0; k < 4; ++k) EXPECT_EQ(lamps[k]->GetState(), wanted[k]) << portState << " kind " << k;
    }
    EXPECT_EQ(host.invalidated, std::vector<QRect>(5, QRect(40, 50, 20, 10)));
    // The same state again: nothing changes, nothing is told, nothing repainted.
    port->ClearDirty();
    lamps[0]->SetState(kLampOff);
    port->SetStatus(0, &host);
    EXPECT_EQ(std::tuple(host.invalidated.size(), port->IsDirty(), lamps[0]->GetState()),
              std::tuple(5u, false, kLampOff));
}

TEST(PanelModel, OnlyWindowsBitmapsInRegularFilesArePictures) {
    QTemporaryDir dir;
    CSlot slot;
    const std::string png = dir.filePath("p.png").toStdString();
    QImage(4, 4, QImage::Format_RGB32).save(QString::fromStdString(png), "PNG");
    for (const std::string& name :
         {png, WriteTextFile(dir, "t.bmp", "BMnot really"), dir.path().toStdString(),
          std::string("/dev/null"), std::string("missing.bmp")}) {
        slot.SetPictureName(name);
        EXPECT_FALSE(slot.LoadPicture()) << name;
    }
    EXPECT_FALSE(slot.SetPictureName(std::string(100, 'a')));
    CLed led;
    led.SetIndexPictureName(3, WriteSolidBmp(dir, "three.bmp", Qt::red));
    led.SetIndex(3);
    led.SetIndex(12);  // outside 0..9: the picture stays
    EXPECT_EQ(led.Picture().pixelColor(0, 0), QColor(Qt::red));
}

TEST(PanelModel, ClicksAndCursorOnlyStrictlyInsideTheShrunkRectangle) {
    CDevModule root;
    CPort* port = Add(root, "1", {100, 50, 40, 30});  // x 100..139, y 50..79
    Add(*Add<CPanel>(root, "p", {}), "hidden", {100, 50, 40, 30});
    CCom* com = Add<CCom>(root, "c", {0, 0, 20, 20});
    Add<CSlot>(root, "s", {30, 0, 20, 20});
    RecordingHost host;
    root.Attach(&host);
    const std::tuple<int, int, bool> cases[] = {{102, 65, false}, {103, 65, true},  {137, 65, true},
                                                {138, 65, false}, {120, 52, false}, {120, 53, true},
                                                {120, 78, false}, {120, 77, true},  {10, 40, false}};
    for (const auto& [x, y, hit] : cases) {
        host.portClicks.clear();
        host.cursors.clear();
        root.OnClick(x, y);
        root.OnMouseMove(x, y);
        // Only the root's own port answers; the one inside the panel is never clicked.
        EXPECT_EQ(host.portClicks, hit ? std::vector<CPort*>{port} : std::vector<CPort*>{}) << x << "," << y;
        EXPECT_EQ(host.cursors,
                  hit ? std::vector<PanelCursor>{PanelCursor::Port} : std::vector<PanelCursor>{});
    }
    // A connector takes its own clicks and the panel's pointer; other objects the arrow.
    host.cursors.clear();
    root.OnClick(10, 10);
    root.OnMouseMove(10, 10);
    root.OnMouseMove(40, 10);
    EXPECT_EQ(host.comClicks, std::vector<CCom*>{com});
    EXPECT_EQ(host.cursors, (std::vector<PanelCursor>{PanelCursor::Port, PanelCursor::Arrow}));
    // Unattached objects (no reference size) hit-test unscaled instead of dividing by zero.
    CPort lone;
    lone.SetRect(0, 0, 10, 10);
    EXPECT_TRUE(lone.HitTest(5, 5));
    EXPECT_EQ(ScaleCoordinate(INT_MAX, 4, 1), INT_MAX);
}

TEST(PanelModel, SetAllPortsByPositionAndInsideModules) {
    CDevModule root;
    std::vector<CPort*> ports;
    for (int i = 1; i <= 53; ++i) {
        if (i == 10) Add<CSlot>(root, "slot", {});
        ports.push_back(Add(root, std::to_string(i), {i, 0, 1, 1}));
        ports.back()->SetState(kPortLink10);
    }
    ports[52]->SetState(kPortLink100);
    CPort* deep = Add(*Add<CPanel>(*Add<CModule>(root, "m", {}), "p", {}), "deep", {0, 0, 1, 1});
    CPort* notInModule = Add(*Add<CPanel>(root, "other", {}), "p", {0, 0, 1, 1});
    deep->SetState(kPortDisabled);
    notInModule->SetState(kPortDisabled);
    RecordingHost host;
    SetAllPorts(root, &host);
    for (int i = 0; i < 53; ++i)
        EXPECT_EQ(ports[i]->GetState(), i < 48 ? kPortEnabled : i < 52 ? kPortEmpty : kPortLink100) << i;
    EXPECT_EQ(std::tuple(deep->GetState(), notInModule->GetState(), host.invalidated.size()),
              std::tuple(kPortEnabled, kPortDisabled, 53u));
}

// Each direct child's picture for its current state, stretched over its rectangle; ports inside a panel
// are not drawn. A state without a picture shows nothing and publishes nothing.
TEST(PanelModel, DrawingPutsPicturesWhereTheyBelong) {
    QTemporaryDir dir;
    const QColor background(0xc6, 0xc7, 0xc9);
    CDevModule root;
    CPort* port = Add(root, "1", {20, 10, 30, 20});
    port->SetStatePictureName(kPortEnabled, WriteSolidBmp(dir, "enable.bmp", Qt::green, {6, 4}));
    port->SetStatePictureName(kPortLink10, WriteSolidBmp(dir, "link10.bmp", Qt::red, {6, 4}));
    CPort* hidden = Add(*Add<CPanel>(root, "p", {}), "h", {60, 10, 20, 20});
    hidden->SetStatePictureName(kPortEnabled, port->GetStatePictureName(kPortEnabled));
    EXPECT_TRUE(hidden->LoadPicture());
    EXPECT_TRUE(port->LoadPicture());
    QImage image(100, 50, QImage::Format_RGB32);
    // As the window's paint does.
    auto render = [&] {
        image.fill(background);
        QPainter painter(&image);
        root.SetTargetDC(&painter);
        root.DrawChildren();
        root.SetTargetDC(nullptr);
    };
    render();
    EXPECT_EQ(ColoursAt(image, {{20, 10}, {49, 29}, {50, 30}, {70, 20}}), "#00ff00 #00ff00 #c6c7c9 #c6c7c9");
    EXPECT_FALSE(port->IsDirty());
    std::string shown;  // the colour in the port and the state it published, after each change
    for (int state : {kPortLink10, kPortDisabled}) {
        port->SetStatus(state, nullptr);
        render();
        shown += ColoursAt(image, {{35, 20}}) + " " + std::to_string(port->Published()) + " ";
    }
    EXPECT_EQ(shown, "#ff0000 1 #c6c7c9 1 ");
    port->SetState(7);
    EXPECT_FALSE(port->LoadPicture());
}

// --- picture painter -------------------------------------------------------------------------------

// The pictures the LED repaint draws: size and the colour at the centre; then drawn at the first or
// second position of a record, and nowhere for a record or picture that does not exist.
TEST(BitmapApp, ResourcesAndDrawingAtPositions) {
    const std::tuple<int, int, int, QRgb> cases[] = {
        {227, 7, 6, 0x000000}, {228, 7, 6, 0x00ff00},   {229, 7, 6, 0xff9900}, {232, 9, 9, 0xff0000},
        {237, 9, 9, 0x000000}, {234, 15, 16, 0x00ff00}, {158, 7, 8, 0x00ff00}, {215, 5, 5, 0x00ff00},
        {216, 5, 5, 0xff0000}, {219, 5, 5, 0xff0000},   {225, 5, 5, 0x000000}, {163, 6, 4, 0xed9a22},
        {191, 6, 5, 0x00ff00}};
    CMyBitmapApp app;
    for (const auto& [id, width, height, colour] : cases) {
        ASSERT_TRUE(app.Load(id)) << id;
        ASSERT_EQ(app.BitmapSize(id), QSize(width, height)) << id;
        QImage image(width, height, QImage::Format_RGB32);
        QPainter painter(&image);
        app.Draw(painter, id, 0, 0);
        painter.end();
        // Round lamps are drawn with smoothing: allow a little.
        EXPECT_LE(ColourDistance(image.pixelColor(width / 2, height / 2), QColor(colour)), 60) << id;
    }
    EXPECT_FALSE(app.Load(999));

    app.AnonymousPositions()[5] = {0, QPoint(10, 2), QPoint(30, 2)};
    QImage image(50, 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    app.DrawAtPosition(5 | CMyBitmapApp::kAtFirstPosition, 228, &painter);
    app.DrawAtPosition(120 | CMyBitmapApp::kAtFirstPosition, 228, &painter);  // no such record
    app.DrawAtPosition(5, 999, &painter);                                     // never loaded
    app.SetTarget(&painter);
    app.DrawAtPosition(5, 228);
    painter.end();
    EXPECT_EQ(ColoursAt(image, {{11, 3}, {31, 3}, {0, 0}, {45, 3}}), "#00ff00 #00ff00 #ffffff #ffffff");
}

}  // namespace
