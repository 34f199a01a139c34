// Port Configuration's pure rules: Apply's refusals in their order on a 28-port switch (24 copper 10/100
// ports, two gigabit ports, a 1000Base-x and a 100Base-x SFP), and the list texts.

#include "dialogs/switch/port_config_rules.h"

#include <gtest/gtest.h>

namespace {

PortApplyInput TwentyEight() {
    PortApplyInput in;
    in.speed.assign(28, 6);
    in.medium.assign(28, 1);
    in.medium[24] = in.medium[25] = 0;
    in.medium[26] = 4;
    in.medium[27] = 3;
    in.speed[27] = 2;
    in.trunkOf.assign(28, 0);
    return in;
}

TEST(PortConfigRules, ApplyRefusalsInOrder) {
    // What the case shows, a change to the 28 ports, the port and the speed code; the refusal.
    const std::tuple<const char*, void (*)(PortApplyInput&), int, int, std::string> cases[] = {
        {"no port", nullptr, 0, 6, "Please Select one port !"},
        {"1000M on 10/100 copper", nullptr, 3, 1, "Port3 can not support 1000M speed."},
        {"1000M with IsAllGiga", [](PortApplyInput& in) { in.allGiga = true; }, 3, 1, ""},
        {"1000M on gigabit copper", nullptr, 25, 1, ""},
        {"auto on 100Base-x", nullptr, 28, 6,
         "Fiber Port28 with 100Base-x SFP Module can not support in Auto mode."},
        {"1000M on 100Base-x", nullptr, 28, 1,
         "Fiber Port28 with 100Base-x SFP Module can not support this speed."},
        {"100M-Half on 100Base-x", nullptr, 28, 3, ""},
        {"10M-Half on 1000Base-x", nullptr, 27, 5,
         "Fiber Port27 with 1000Base-x SFP Module can not support this speed."},
        {"auto on 1000Base-x", nullptr, 27, 6, ""},
        {"disable the last port", [](PortApplyInput& in) { in.speed.assign(28, 7), in.speed[4] = 6; }, 5, 7,
         "Sorry, you cannot disable all ports."},
        {"disable one of two",
         [](PortApplyInput& in) { in.speed.assign(28, 7), in.speed[4] = in.speed[8] = 6; }, 5, 7, ""},
        {"trunk speed differs", [](PortApplyInput& in) { in.trunkOf[2] = in.trunkOf[3] = 1; }, 3, 2,
         "LA port can not support in different speed."},
        {"trunk half, others differ", [](PortApplyInput& in) { in.trunkOf[2] = in.trunkOf[3] = 1; }, 3, 5,
         "LA port can not support in different speed."},
        {"trunk half, others alike",
         [](PortApplyInput& in) { in.trunkOf[2] = in.trunkOf[3] = 1, in.speed[3] = 5; }, 3, 5,
         "LA port3 can not support in half-duplex mode."},
        {"trunk same speed", [](PortApplyInput& in) { in.trunkOf[2] = in.trunkOf[3] = 1; }, 4, 6, ""},
        {"trunk speed before medium", [](PortApplyInput& in) { in.trunkOf[2] = in.trunkOf[3] = 2; }, 3, 1,
         "LA port can not support in different speed."},
    };
    for (const auto& [name, change, port, speed, expected] : cases) {
        PortApplyInput in = TwentyEight();
        if (change) change(in);
        EXPECT_EQ(PortApplyRefusal(in, port, speed), expected) << name;
    }
    for (int speed = 1; speed <= 7; ++speed) EXPECT_EQ(IsForcedSpeed(speed), speed <= 5) << speed;
}

TEST(PortConfigRules, SpeedTexts) {
    const char* const plain[] = {"1000MFull", "100MFull", "100MHalf", "10MFull",
                                 "10MHalf",   "Auto",     "Disable"};
    for (int code = 1; code <= 7; ++code) EXPECT_EQ(SpeedText(code, false, false, 4), plain[code - 1]);
    EXPECT_EQ(SpeedText(0, true, false, 0), "Down");
    // Combination ports name the medium, fiber (codes 3, 4) or copper; there is no 10M fiber.
    const std::tuple<int, int, const char*> combination[] = {
        {1, 4, "1000M F Full"}, {1, 0, "1000M C Full"}, {2, 3, "100M F Full"}, {3, 3, "100M F Half"},
        {3, 1, "100M C Half"},  {4, 3, "10M C Full"},   {5, 0, "10M C Half"},  {6, 4, "Auto"}};
    for (auto [code, medium, text] : combination) EXPECT_EQ(SpeedText(code, false, true, medium), text);
    for (auto [ports, combo] : {std::pair{8, 0}, {10, 2}, {16, 4}, {24, 4}, {28, 0}, {48, 4}, {52, 0}})
        EXPECT_EQ(CombinationPortCount(ports), combo) << ports;
}

}  // namespace
