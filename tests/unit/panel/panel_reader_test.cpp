// The panel description reader on small descriptions written for the cases that matter.

#include "core/text_number.h"
#include "panel/panel_reader.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <climits>
#include <string>

#include "core/debug_out.h"
#include "panel/my_bitmap_app.h"
#include "panel_test_support.h"

namespace {

std::string V(const std::string& id, int left = 0, int top = 0, int width = 10, int height = 10) {
    return "<ID>" + id + "</ID><LEFT>" + std::to_string(left) + "</LEFT><TOP>" + std::to_string(top) +
           "</TOP><WIDTH>" + std::to_string(width) + "</WIDTH><HEIGHT>" + std::to_string(height) +
           "</HEIGHT>";
}
const std::string kNoPortPictures = "<BMPLINK100/><BMPLINK10/><BMPDISABLE/><BMPENABLE/><BMPEMPTY/>";
const std::string kNoLedPictures = "<BMP0/><BMP1/><BMP2/><BMP3/><BMP4/><BMP5/><BMP6/><BMP7/><BMP8/><BMP9/>";

std::string Port(const std::string& id, const std::string& extra = "", const std::string& attrs = "") {
    return "<PORT" + attrs + ">" + V(id) + kNoPortPictures + extra + "</PORT>";
}

// A description whose DEVICEPANEL holds `body` in its container.
std::string Panel(const std::string& body, const std::string& trailer = "") {
    return "<DESC><DEVICEPANEL c=\"LIST\">" + V("dev", 0, 0, 640, 140) + "<BMP>bg.bmp</BMP><LIST>" + body +
           "</LIST></DEVICEPANEL>" + trailer + "</DESC>";
}

struct Reading {
    CDevModule root;
    ModuleList modules;
    CMyBitmapApp painter;
    std::vector<std::string> messages;
    bool result = false;

    void Read(const std::string& xml) {
        PanelReadOptions options;
        options.positions = &painter;
        options.reportError = [this](const std::string& m) { messages.push_back(m); };
        result = ReadPanelDescriptionFromBuffer(xml.data(), xml.size(), root, modules, options, "test.xml");
    }
    CVirtualDev* Child(int i) const { return root.GetChild(i); }
};

TEST(PanelReader, DevicePanelValuesGoToTheRootAndContainersGiveChildren) {
    Reading r;
    r.Read(Panel("<PANEL p=\"PORTS\">" + V("front", 5, 6, 600, 100) + "<PORTS>" + Port("1") + Port("2") +
                 "</PORTS></PANEL>" + Port("3")));
    EXPECT_TRUE(r.result);
    EXPECT_EQ(r.root.GetIdentifier(), "dev");
    EXPECT_EQ(r.root.GetRect(), QRect(0, 0, 640, 140));
    EXPECT_EQ(r.root.GetPictureName(), "bg.bmp");
    ASSERT_EQ(r.root.ChildCount(), 2);
    EXPECT_STREQ(r.Child(0)->ClassName(), "CPanel");
    EXPECT_EQ(r.Child(0)->GetRect(), QRect(5, 6, 600, 100));
    EXPECT_EQ(r.Child(0)->ChildCount(), 2);
    EXPECT_EQ(r.Child(0)->GetChild(1)->GetIdentifier(), "2");
    EXPECT_STREQ(r.Child(1)->ClassName(), "CPort");
    // Only the root's direct ports count as ports of the panel.
    EXPECT_EQ(r.root.FindChildByClass("CPort", 0), r.Child(1));
    EXPECT_EQ(r.root.FindChildByClass("CPort", 1), nullptr);
}

TEST(PanelReader, EveryObjectElementMakesItsClass) {
    const struct {
        const char* element;
        const char* className;
        std::string extra;
    } cases[] = {{"PANEL", "CPanel", ""}, {"PORT", "CPort", kNoPortPictures},
                 {"LAMP", "CLamp", ""},   {"SLOT", "CSlot", ""},
                 {"CONSOLE", "CCom", ""}, {"MASTER", "CCom", ""},
                 {"RPS", "CCom", ""},     {"FAN", "CCom", ""},
                 {"POWER", "CPower", ""}, {"LED", "CLed", kNoLedPictures}};
    for (const auto& c : cases) {
        Reading r;
        const std::string e = c.element;
        r.Read(Panel("<" + e + ">" + V("x") + c.extra + "</" + e + "><BOGUS>" + V("y") + "</BOGUS>"));
        ASSERT_EQ(r.root.ChildCount(), 1) << e;
        EXPECT_STREQ(r.Child(0)->ClassName(), c.className) << e;
    }
}

TEST(PanelReader, ElementWithoutAttributesHasNoChildren) {
    Reading r;
    r.Read(Panel("<PANEL>" + V("p") + "<PORTS>" + Port("1") + "</PORTS></PANEL>"));
    ASSERT_EQ(r.root.ChildCount(), 1);
    EXPECT_EQ(r.Child(0)->ChildCount(), 0);
}

TEST(PanelReader, TwoAttributesNamingTheSameContainerReadItTwice) {
    Reading r;
    r.Read(Panel("<PANEL a=\"PORTS\" b=\"PORTS\" c=\"NOTHERE\">" + V("p") + "<PORTS>" + Port("1") +
                 Port("2") + "</PORTS></PANEL>"));
    ASSERT_EQ(r.root.ChildCount(), 1);
    ASSERT_EQ(r.Child(0)->ChildCount(), 4);
    EXPECT_EQ(r.Child(0)->GetChild(0)->GetIdentifier(), "1");
    EXPECT_EQ(r.Child(0)->GetChild(2)->GetIdentifier(), "1");
    EXPECT_EQ(r.Child(0)->GetChild(3)->GetIdentifier(), "2");
}

TEST(PanelReader, NoParentRecognisesOnlyModule) {
    Reading r;
    // A PORT directly in DEVICEMODULE makes nothing; MODULE anywhere goes to ModuleList, never to a parent.
    r.Read(Panel("<PORT m=\"MODS\">" + V("1") + kNoPortPictures + "<MODS><MODULE>" + V("inner") +
                     "</MODULE></MODS></PORT>",
                 "<DEVICEMODULE c=\"L\">" + V("dm") + "<L>" + Port("orphan") + "<MODULE>" + V("outer") +
                     "</MODULE><LAMP>" + V("l") + "</LAMP></L></DEVICEMODULE>"));
    EXPECT_TRUE(r.result);
    ASSERT_EQ(r.root.ChildCount(), 1);
    EXPECT_EQ(r.Child(0)->ChildCount(), 0);
    ASSERT_EQ(r.modules.size(), 2u);
    EXPECT_EQ(r.modules[0]->GetIdentifier(), "inner");
    EXPECT_EQ(r.modules[1]->GetIdentifier(), "outer");
    EXPECT_STREQ(r.modules[1]->ClassName(), "CModule");
}

TEST(PanelReader, UnknownElementReadsItsContainersWithNoParent) {
    Reading r;
    r.Read(Panel("<GROUP c=\"L\">" + V("g") + "<L>" + Port("lost") + "<MODULE>" + V("m") +
                 "</MODULE></L></GROUP>"));
    EXPECT_EQ(r.root.ChildCount(), 0);
    EXPECT_EQ(r.modules.size(), 1u);
}

TEST(PanelReader, DevicePanelReachedWithoutParentFillsNothing) {
    Reading r;
    // The inner DEVICEPANEL is also found as a list item (then it fills the root); reached through GROUP's
    // container it has no object to fill and must not crash.
    r.Read("<DESC><GROUP c=\"L\">" + V("g") + "<L><DEVICEPANEL>" + V("inner", 1, 2, 3, 4) +
           "</DEVICEPANEL></L></GROUP></DESC>");
    EXPECT_TRUE(r.result);
    EXPECT_EQ(r.root.GetIdentifier(), "inner");
    EXPECT_EQ(r.root.ChildCount(), 0);
}

TEST(PanelReader, AnonymousObjectsFillPositionRecordsInReadingOrder) {
    Reading r;
    r.Read(Panel("<PORT c=\"L\">" + V("0", 11, 12) + kNoPortPictures + "<L><LAMP>" + V("0", 21, 22) +
                 "</LAMP></L></PORT>" + Port("named") + "<SLOT>" + V("0", 31, 32) + "</SLOT>"));
    EXPECT_EQ(r.painter.AnonymousCount(), 3);
    const auto& p = r.painter.AnonymousPositions();
    EXPECT_EQ(p[0].first, QPoint(11, 12));
    EXPECT_EQ(p[1].first, QPoint(21, 22));
    EXPECT_EQ(p[2].first, QPoint(31, 32));
    EXPECT_EQ(p[3].first, QPoint(0, 0));
    EXPECT_EQ(r.Child(0)->GetIdentifier(), "");
    EXPECT_EQ(r.Child(0)->GetChild(0)->GetIdentifier(), "");
    EXPECT_EQ(r.Child(1)->GetIdentifier(), "named");
    // The running count goes on from where it stood.
    Reading again;
    again.painter.SetAnonymousCount(98);
    again.Read(Panel("<SLOT>" + V("0", 1, 2) + "</SLOT><SLOT>" + V("0", 3, 4) + "</SLOT>"));
    EXPECT_TRUE(again.messages.empty());
    EXPECT_EQ(again.painter.AnonymousPositions()[99].first, QPoint(3, 4));
}

TEST(PanelReader, StatusAndTypeKeywords) {
    const struct {
        std::string element, extra;
        int state, kind;  // kind -1: not a lamp
    } cases[] = {
        {"PORT", "<STATUS>PORTLINK100</STATUS>", 0, -1},
        {"PORT", "<STATUS>PORTLINK10</STATUS>", 1, -1},
        {"PORT", "<STATUS>PORTDISABLED</STATUS>", 2, -1},
        {"PORT", "<STATUS>PORTENABLE</STATUS>", 3, -1},
        {"PORT", "<STATUS>PORTEMPTY</STATUS>", 4, -1},
        {"PORT", "<STATUS>LAMPON</STATUS>", 3, -1},
        {"PORT", "<STATUS>portempty</STATUS>", 3, -1},
        {"PORT", "<TYPE>POWER</TYPE>", 3, -1},
        {"LAMP", "<STATUS>LAMPON</STATUS>", 0, 0},
        {"LAMP", "<STATUS>LAMP1G</STATUS>", 1, 0},
        {"LAMP", "<STATUS>LAMPOFF</STATUS><TYPE>S100M</TYPE>", 2, 1},
        {"LAMP", "<STATUS>PORTEMPTY</STATUS><TYPE>POWER</TYPE>", 2, 2},
        {"LAMP", "<TYPE>CONSOLE</TYPE>", 2, 3},
        {"LAMP", "<TYPE>FIBRE</TYPE>", 2, 0},
        {"SLOT", "<STATUS>PORTEMPTY</STATUS>", 0, -1},
    };
    for (const auto& c : cases) {
        Reading r;
        const std::string pictures = c.element == "PORT" ? kNoPortPictures : "";
        r.Read(Panel("<" + c.element + ">" + V("x") + pictures + c.extra + "</" + c.element + ">"));
        ASSERT_EQ(r.root.ChildCount(), 1) << c.extra;
        EXPECT_EQ(r.Child(0)->GetState(), c.state) << c.element << " " << c.extra;
        if (c.kind >= 0) {
            auto* lamp = dynamic_cast<CLamp*>(r.Child(0));
            ASSERT_NE(lamp, nullptr);
            EXPECT_EQ(lamp->GetType(), c.kind) << c.extra;
        }
    }
}

TEST(PanelReader, NamesAndDefaults) {
    Reading r;
    r.Read(Panel("<SLOT>" + V("a") + "</SLOT><LAMP>" + V("b") + "</LAMP><LED>" + V("c") + kNoLedPictures +
                 "</LED><SLOT>" + V("d") + "<NAME> Fan tray </NAME></SLOT>"));
    ASSERT_EQ(r.root.ChildCount(), 4);
    EXPECT_EQ(r.Child(0)->GetName(), "VirtualDev");
    EXPECT_EQ(r.Child(1)->GetName(), "Lamp");
    EXPECT_EQ(r.Child(2)->GetName(), "Led");
    EXPECT_EQ(r.Child(3)->GetName(), "Fan tray");
}

TEST(PanelReader, IntegerConversionTakesTheLeadingNumber) {
    const struct {
        const char* text;
        int value;
    } cases[] = {{"12", 12},
                 {"  42px", 42},
                 {"-7", -7},
                 {"+8", 8},
                 {"abc", 0},
                 {"", 0},
                 {"- 3", 0},
                 {"3.9", 3},
                 {"0x10", 0},
                 {"99999999999", INT_MAX},
                 {"-99999999999", INT_MIN},
                 {"\t\n5", 5}};
    for (const auto& c : cases) EXPECT_EQ(LeadingInt(c.text), c.value) << c.text;
    Reading r;
    r.Read(
        Panel("<SLOT><ID>s</ID><LEFT> 10 px</LEFT><TOP>x</TOP><WIDTH>-5</WIDTH><HEIGHT>7.9</HEIGHT></SLOT>"));
    ASSERT_EQ(r.root.ChildCount(), 1);
    EXPECT_EQ(r.Child(0)->Left(), 10);
    EXPECT_EQ(r.Child(0)->Top(), 0);
    EXPECT_EQ(r.Child(0)->Width(), -5);
    EXPECT_EQ(r.Child(0)->Height(), 7);
}

TEST(PanelReader, EmptyPictureNamesLeavePicturesUnset) {
    Reading r;
    r.Read(Panel("<PORT>" + V("1") +
                 "<BMPLINK100>a.bmp</BMPLINK100><BMPLINK10>b.bmp</BMPLINK10><BMPDISABLE></BMPDISABLE>"
                 "<BMPENABLE>d.bmp</BMPENABLE><BMPEMPTY>e.bmp</BMPEMPTY></PORT>"
                 "<LED>" +
                 V("2") +
                 "<BMP0/><BMP1/><BMP2></BMP2><BMP3>three.bmp</BMP3><BMP4/><BMP5/><BMP6/><BMP7/>"
                 "<BMP8/><BMP9>nine.bmp</BMP9></LED>"));
    ASSERT_EQ(r.root.ChildCount(), 2);
    auto* port = dynamic_cast<CPort*>(r.Child(0));
    ASSERT_NE(port, nullptr);
    EXPECT_EQ(port->GetStatePictureName(0), "a.bmp");
    EXPECT_EQ(port->GetStatePictureName(2), "");
    EXPECT_EQ(port->GetStatePictureName(4), "e.bmp");
    auto* led = dynamic_cast<CLed*>(r.Child(1));
    ASSERT_NE(led, nullptr);
    EXPECT_EQ(led->GetIndexPictureName(2), "");
    EXPECT_EQ(led->GetIndexPictureName(3), "three.bmp");
    EXPECT_EQ(led->GetIndexPictureName(9), "nine.bmp");
}

TEST(PanelReader, LampsListenToPortsAndConnectorsOnly) {
    Reading r;
    const std::string lamps =
        "<L><LAMP>" + V("a") + "<TYPE>LINK</TYPE></LAMP><LAMP>" + V("b") + "</LAMP></L>";
    r.Read(Panel("<PORT c=\"L\">" + V("p") + kNoPortPictures + lamps + "</PORT><CONSOLE c=\"L\">" + V("c") +
                 lamps + "</CONSOLE><PANEL c=\"L\">" + V("n") + lamps + "</PANEL>"));
    ASSERT_EQ(r.root.ChildCount(), 3);
    auto* port = dynamic_cast<CPort*>(r.Child(0));
    auto* com = dynamic_cast<CCom*>(r.Child(1));
    auto* panel = dynamic_cast<CPanel*>(r.Child(2));
    ASSERT_TRUE(port && com && panel);
    EXPECT_EQ(port->Observers().size(), 2u);
    EXPECT_EQ(com->Observers().size(), 2u);
    EXPECT_EQ(panel->Observers().size(), 0u);
    EXPECT_EQ(dynamic_cast<CLamp*>(panel->GetChild(0))->Subject(), nullptr);
    EXPECT_EQ(panel->GetChild(0)->Parent(), panel);
}

TEST(PanelReader, InvalidLocationPathEndsTheList) {
    for (const char* path : {"[[", "1+1", "", "$nothing", "PORTS/"}) {
        Reading r;
        // P1 is read; P2's bad attribute ends the list of the container: P3 is never read. The panel's
        // second attribute is read all the same.
        r.Read(Panel("<PANEL a=\"PORTS\" b=\"MORE\">" + V("n") + "<PORTS>" + Port("1") +
                     Port("2", "", std::string(" bad=\"") + path + "\" good=\"X\"") + Port("3") +
                     "</PORTS><MORE>" + Port("4") + "</MORE></PANEL>" + Port("5")));
        EXPECT_TRUE(r.result) << path;
        EXPECT_TRUE(r.messages.empty()) << path;
        ASSERT_EQ(r.root.ChildCount(), 2) << path;
        const CVirtualDev* panel = r.Child(0);
        ASSERT_EQ(panel->ChildCount(), 3) << path;
        EXPECT_EQ(panel->GetChild(0)->GetIdentifier(), "1");
        EXPECT_EQ(panel->GetChild(1)->GetIdentifier(), "2");
        EXPECT_EQ(panel->GetChild(2)->GetIdentifier(), "4");
        EXPECT_EQ(r.Child(1)->GetIdentifier(), "5");
    }
}

TEST(PanelReader, PathsSelectingNonElementsReadNothing) {
    Reading r;
    r.Read(Panel("<PANEL a=\"@a\" b=\"ID/text()\" c=\"NOPE\">" + V("n") + "</PANEL>"));
    ASSERT_EQ(r.root.ChildCount(), 1);
    EXPECT_EQ(r.Child(0)->ChildCount(), 0);
    EXPECT_TRUE(r.messages.empty());
}

TEST(PanelReader, MissingOrNonXmlFileGivesAnEmptyTreeSilently) {
    QTemporaryDir dir;
    const std::string notXml = WriteTextFile(dir, "bad.xml", "<DESC><DEVICEPANEL>" + V("d") + "<oops");
    const std::string binary = WriteTextFile(dir, "bin.xml", std::string("\x00\xff\x10garbage", 10));
    for (const std::string& file :
         {notXml, binary, dir.filePath("missing.xml").toStdString(), dir.path().toStdString()}) {
        CDevModule root;
        ModuleList modules;
        CMyBitmapApp painter;
        std::vector<std::string> messages;
        PanelReadOptions options;
        options.positions = &painter;
        options.reportError = [&](const std::string& m) { messages.push_back(m); };
        ReadPanelDescription(file, root, modules, options);
        EXPECT_EQ(root.ChildCount(), 0) << file;
        EXPECT_EQ(root.GetIdentifier(), "") << file;
        EXPECT_TRUE(modules.empty());
        EXPECT_TRUE(messages.empty()) << file;
    }
}

TEST(PanelReader, DebugLinesCountTheLists) {
    std::vector<std::string> lines;
    SetDebugSink([&](const std::string& l) { lines.push_back(l); });
    Reading r;
    r.Read(Panel(
        "", "<DEVICEMODULE>" + V("a") + "</DEVICEMODULE><X><DEVICEMODULE>" + V("b") + "</DEVICEMODULE></X>"));
    SetDebugSink({});
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "node num = 1");
    EXPECT_EQ(lines[1], "node num = 2");
}

// --- malformed descriptions: rejected whole, one message, nothing kept ------------------------------

std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

TEST(PanelReader, MalformedFilesAreRejectedWithOneMessage) {
    const std::string longName(100, 'x');
    const std::string okName(99, 'y');
    const struct {
        const char* what;
        std::string xml;
        const char* inMessage;
    } cases[] = {
        {"no ID", Panel("<SLOT><LEFT>1</LEFT><TOP>1</TOP><WIDTH>1</WIDTH><HEIGHT>1</HEIGHT></SLOT>"),
         "no ID value"},
        {"no LEFT", Panel("<SLOT><ID>s</ID><TOP>1</TOP><WIDTH>1</WIDTH><HEIGHT>1</HEIGHT></SLOT>"),
         "no LEFT value"},
        {"no TOP", Panel("<SLOT><ID>s</ID><LEFT>1</LEFT><WIDTH>1</WIDTH><HEIGHT>1</HEIGHT></SLOT>"),
         "no TOP value"},
        {"no WIDTH", Panel("<SLOT><ID>s</ID><LEFT>1</LEFT><TOP>1</TOP><HEIGHT>1</HEIGHT></SLOT>"),
         "no WIDTH value"},
        {"no HEIGHT", Panel("<SLOT><ID>s</ID><LEFT>1</LEFT><TOP>1</TOP><WIDTH>1</WIDTH></SLOT>"),
         "no HEIGHT value"},
        {"DEVICEPANEL without ID", "<D><DEVICEPANEL><LEFT>0</LEFT></DEVICEPANEL></D>", "DEVICEPANEL element"},
        {"MODULE without WIDTH",
         Panel("", "<DEVICEMODULE c=\"L\">" + V("m") +
                       "<L><MODULE><ID>m</ID><LEFT>1</LEFT><TOP>1</TOP><HEIGHT>1</HEIGHT>"
                       "</MODULE></L></DEVICEMODULE>"),
         "MODULE element"},
        {"port picture missing",
         Panel("<PORT>" + V("1") + "<BMPLINK100/><BMPLINK10/><BMPDISABLE/><BMPENABLE/></PORT>"),
         "no BMPEMPTY value"},
        {"LED picture missing",
         Panel("<LED>" + V("1") + "<BMP0/><BMP1/><BMP2/><BMP3/><BMP4/><BMP5/><BMP6/><BMP7/><BMP8/></LED>"),
         "no BMP9 value"},
        {"101 anonymous objects", Panel(Repeat("<SLOT>" + V("0") + "</SLOT>", 101)), "more than 100"},
        {"long BMP", Panel("<SLOT>" + V("s") + "<BMP>" + longName + "</BMP></SLOT>"), "longer than 99"},
        {"long port picture",
         Panel("<PORT>" + V("1") + "<BMPLINK100/><BMPLINK10/><BMPDISABLE>" + longName +
               "</BMPDISABLE><BMPENABLE/><BMPEMPTY/></PORT>"),
         "BMPDISABLE"},
        {"long LED picture",
         Panel("<LED>" + V("1") + "<BMP0>" + longName +
               "</BMP0><BMP1/><BMP2/><BMP3/><BMP4/>"
               "<BMP5/><BMP6/><BMP7/><BMP8/><BMP9/></LED>"),
         "BMP0"},
        {"long background", "<D><DEVICEPANEL>" + V("d") + "<BMP>" + longName + "</BMP></DEVICEPANEL></D>",
         "BMP"},
        {"container loop", Panel("<PANEL c=\"..\">" + V("p") + "</PANEL>"), "loop"},
        {"nesting too deep",
         Panel(Repeat("<PANEL c=\"L\">" + V("p") + "<L>", 40) + Repeat("</L></PANEL>", 40)), "deep"},
        {"exponential containers",
         Panel(Repeat("<PANEL a=\"L\" b=\"L\">" + V("p") + "<L>", 20) + Repeat("</L></PANEL>", 20)), "loop"},
    };
    for (const auto& c : cases) {
        Reading r;
        r.root.SetIdentifier("before");
        r.root.SetRect(1, 2, 3, 4);
        r.root.AddChild(std::make_unique<CSlot>());
        r.modules.push_back(std::make_unique<CModule>());
        r.painter.SetAnonymousCount(0);
        r.Read(c.xml);
        EXPECT_FALSE(r.result) << c.what;
        ASSERT_EQ(r.messages.size(), 1u) << c.what;
        EXPECT_NE(r.messages[0].find(c.inMessage), std::string::npos) << c.what << ": " << r.messages[0];
        EXPECT_NE(r.messages[0].find("test.xml"), std::string::npos) << r.messages[0];
        // Nothing of the file is kept.
        EXPECT_EQ(r.root.GetIdentifier(), "before") << c.what;
        EXPECT_EQ(r.root.GetRect(), QRect(1, 2, 3, 4)) << c.what;
        EXPECT_EQ(r.root.ChildCount(), 1) << c.what;
        EXPECT_EQ(r.modules.size(), 1u) << c.what;
        EXPECT_EQ(r.painter.AnonymousCount(), 0) << c.what;
        EXPECT_EQ(r.painter.AnonymousPositions()[0].first, QPoint(0, 0)) << c.what;
    }
    // The limits themselves are fine.
    Reading r;
    r.Read(Panel(Repeat("<SLOT>" + V("0", 1, 1) + "</SLOT>", 100) + "<SLOT>" + V("s") + "<BMP>" + okName +
                 "</BMP></SLOT>" + Repeat("<PANEL c=\"L\">" + V("p") + "<L>", 30) +
                 Repeat("</L></PANEL>", 30)));
    EXPECT_TRUE(r.result);
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(r.root.ChildCount(), 102);
    EXPECT_EQ(r.painter.AnonymousCount(), 100);
}

TEST(PanelReader, MessageNamesTheLine) {
    Reading r;
    r.Read("<D>\n<DEVICEPANEL c=\"L\">\n" + V("d") +
           "\n<L>\n<SLOT><ID>s</ID></SLOT>\n</L></DEVICEPANEL></D>");
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_NE(r.messages[0].find("SLOT element on line 5"), std::string::npos) << r.messages[0];
}

TEST(PanelReader, PicturesAreLoadedBesideTheDescription) {
    QTemporaryDir dir;
    WriteSolidBmp(dir, "pics/bg.bmp", Qt::blue, {20, 10});
    WriteSolidBmp(dir, "pics/on.bmp", Qt::green);
    const std::string file = WriteTextFile(dir, "panel.xml",
                                           "<D><DEVICEPANEL c=\"L\">" + V("d", 0, 0, 20, 10) +
                                               "<BMP>pics/bg.bmp</BMP><L><PORT>" + V("1") +
                                               "<BMPLINK100/><BMPLINK10/><BMPDISABLE/><BMPENABLE>pics/on.bmp"
                                               "</BMPENABLE><BMPEMPTY/></PORT></L></DEVICEPANEL></D>");
    CDevModule root;
    ModuleList modules;
    CMyBitmapApp painter;
    PanelReadOptions options;
    options.positions = &painter;
    ASSERT_TRUE(ReadPanelDescription(file, root, modules, options));
    ASSERT_EQ(root.ChildCount(), 1);
    EXPECT_EQ(root.GetChild(0)->Picture().pixelColor(2, 2), QColor(Qt::green));
    EXPECT_EQ(root.ResolvePicturePath(root.GetPictureName()), dir.filePath("pics/bg.bmp").toStdString());
}

}  // namespace
