// The shipped panel descriptions and their pictures.

#include "panel_test_support.h"

namespace {

// Reads a shipped description, which must be accepted silently, and checks its ports and pictures; the
// fixed indicators the repaint draws at `bare` must lie on bare panel.
void ReadShipped(Reading& s, const std::string& file, int count, std::initializer_list<QRect> bare) {
    s.ReadFile(SourcePath("assets/" + file));
    EXPECT_TRUE(s.result && s.messages.empty()) << file << (s.messages.empty() ? "" : s.messages[0]);
    int ports = 0;
    while (s.root.FindChildByClass("CPort", ports)) ++ports;
    ASSERT_EQ(ports, count);
    for (int i = 0; i < count; ++i) {
        auto* port = static_cast<CPort*>(s.root.FindChildByClass("CPort", i));
        ASSERT_EQ(std::tuple(port->GetIdentifier(), port->GetState(), port->ChildCount()),
                  std::tuple(std::to_string(i + 1), kPortEnabled, 3));
        // Children 0..2 are the LED positions: link (anonymous, record i), PoE, speed; all 7 x 6, inside
        // the panel and clear of the port picture.
        EXPECT_EQ(port->GetChild(0)->GetIdentifier(), "");
        EXPECT_EQ(s.painter.AnonymousPositions()[static_cast<std::size_t>(i)].first,
                  QPoint(port->GetChild(0)->Left(), port->GetChild(0)->Top()));
        for (int led = 0; led < 3; ++led) {
            const CVirtualDev* child = port->GetChild(led);
            EXPECT_STREQ(child->ClassName(), "CLamp");
            EXPECT_EQ(static_cast<const CLamp*>(child)->Subject(), port);
            EXPECT_EQ(child->GetRect().size(), QSize(7, 6));
            EXPECT_TRUE(s.root.GetRect().contains(child->GetRect())) << i << " " << led;
            EXPECT_FALSE(port->GetRect().intersects(child->GetRect())) << i << " " << led;
        }
        EXPECT_EQ(static_cast<CLamp*>(port->GetChild(0))->GetType(), kLampLink);
        EXPECT_EQ(static_cast<CLamp*>(port->GetChild(1))->GetType(), kLampPower);
        // Every state has a picture that fills the port.
        for (int state = 0; state < CPort::kStates; ++state) {
            port->SetState(state);
            EXPECT_TRUE(port->LoadPicture()) << i << " state " << state;
            EXPECT_EQ(port->Picture().size(), port->GetRect().size());
        }
    }
    EXPECT_EQ(s.painter.AnonymousCount(), count);
    for (const QRect& r : bare)
        for (int i = 0; i < s.root.ChildCount(); ++i)
            EXPECT_FALSE(s.root.GetChild(i)->GetRect().intersects(r));
    CSlot probe;
    probe.SetPictureDir(s.root.GetPictureDir());
    probe.SetPictureName(s.root.GetPictureName());
    ASSERT_TRUE(probe.LoadPicture());
    EXPECT_EQ(probe.Picture().size(), s.root.GetRect().size());
}

// The eight-port model's system and power-limit LEDs; the 28-port model's system, fan, power and console
// LEDs.
TEST(ShippedPanels, BothModels) {
    Reading s08, s28;
    ReadShipped(s08, "KMS-7300-08E.xml", 8, {QRect(35, 64, 15, 16), QRect(38, 87, 9, 9)});
    EXPECT_EQ(std::make_tuple(s08.root.GetRect(), s08.root.GetIdentifier(), s08.root.ChildCount()),
              std::make_tuple(QRect(0, 0, 640, 140), std::string("KMS-7300-08E"), 8));
    ReadShipped(s28, "KMS-7300-28E.xml", 28,
                {QRect(25, 23, 7, 8), QRect(107, 40, 5, 5), QRect(107, 51, 5, 5), QRect(63, 40, 5, 5),
                 QRect(63, 28, 5, 5)});
    EXPECT_TRUE(s28.root.FindChildByClass("CSlot", 3) && s28.root.FindChildByClass("CCom", 0));
}

}  // namespace
