// The panel description reader on small descriptions written for the cases that matter.

#include "panel/panel_reader.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <string>

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

std::string Port(const std::string& id, const std::string& attrs = "") {
    return "<PORT" + attrs + ">" + V(id) + kNoPortPictures + "</PORT>";
}
std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
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
    // Identifiers of `parent`'s children, comma-joined.
    static std::string Ids(const CVirtualDev* parent) {
        std::string out;
        for (int i = 0; i < parent->ChildCount(); ++i)
            out += (i ? "," : "") + parent->GetChild(i)->GetIdentifier();
        return out;
    }
};

TEST(PanelReader, DevicePanelValuesGoToTheRootAndContainersGiveChildren) {
    Reading r;
    r.Read(Panel("<PANEL p=\"PORTS\">" + V("front", 5, 6, 600, 100) + "<PORTS>" + Port("1") + Port("2") +
                 "</PORTS></PANEL>" + Port("3")));
    EXPECT_TRUE(r.result);
    EXPECT_EQ(r.root.GetIdentifier(), "dev");
    EXPECT_EQ(r.root.GetRect(), QRect(0, 0, 640, 140));
    EXPECT_EQ(r.root.GetPictureName(), "bg.bmp");
    ASSERT_EQ(Reading::Ids(&r.root), "front,3");
    EXPECT_EQ(r.Child(0)->GetRect(), QRect(5, 6, 600, 100));
    EXPECT_EQ(Reading::Ids(r.Child(0)), "1,2");
    // Only the root's direct ports count as ports of the panel.
    EXPECT_EQ(r.root.FindChildByClass("CPort", 0), r.Child(1));
    EXPECT_EQ(r.root.FindChildByClass("CPort", 1), nullptr);
}

TEST(PanelReader, EveryObjectElementMakesItsClassWithItsDefaultName) {
    const struct {
        const char *element, *className, *name;
        std::string extra;
    } cases[] = {{"PANEL", "CPanel", "VirtualDev", ""}, {"PORT", "CPort", "VirtualDev", kNoPortPictures},
                 {"LAMP", "CLamp", "Lamp", ""},         {"SLOT", "CSlot", "VirtualDev", ""},
                 {"CONSOLE", "CCom", "VirtualDev", ""}, {"MASTER", "CCom", "VirtualDev", ""},
                 {"RPS", "CCom", "VirtualDev", ""},     {"FAN", "CCom", "VirtualDev", ""},
                 {"POWER", "CPower", "VirtualDev", ""}, {"LED", "CLed", "Led", kNoLedPictures}};
    for (const auto& c : cases) {
        Reading r;
        const std::string e = c.element;
        r.Read(Panel("<" + e + ">" + V("x") + c.extra + "</" + e + "><BOGUS>" + V("y") + "</BOGUS><" + e +
                     ">" + V("z") + c.extra + "<NAME> Fan tray </NAME></" + e + ">"));
        ASSERT_EQ(r.root.ChildCount(), 2) << e;
        EXPECT_STREQ(r.Child(0)->ClassName(), c.className) << e;
        EXPECT_EQ(r.Child(0)->GetName(), c.name) << e;
        EXPECT_EQ(r.Child(1)->GetName(), "Fan tray") << e;
    }
}

// What each attribute of a PANEL selects; P2 carries the extra attribute.
TEST(PanelReader, AttributesNameContainers) {
    const struct {
        std::string panelAttrs, port2Attrs, children;
    } cases[] = {
        {"", "", ""},                                      // no attributes: no children
        {" a=\"PORTS\" b=\"PORTS\"", "", "1,2,3,1,2,3"},   // named twice: read twice
        {" a=\"@a\" b=\"ID/text()\" c=\"NOPE\"", "", ""},  // nothing that holds elements
        // An invalid location path ends the list that holds the element; the panel's next attribute is
        // read all the same.
        {" a=\"PORTS\" b=\"MORE\"", " bad=\"[[\" good=\"X\"", "1,2,4"},
        {" a=\"PORTS\" b=\"MORE\"", " bad=\"1+1\"", "1,2,4"},
        {" a=\"PORTS\" b=\"MORE\"", " bad=\"\"", "1,2,4"},
    };
    for (const auto& c : cases) {
        Reading r;
        r.Read(Panel("<PANEL" + c.panelAttrs + ">" + V("n") + "<PORTS>" + Port("1") +
                     Port("2", c.port2Attrs) + Port("3") + "</PORTS><MORE>" + Port("4") + "</MORE></PANEL>" +
                     Port("5")));
        EXPECT_TRUE(r.result);
        EXPECT_TRUE(r.messages.empty());
        ASSERT_EQ(Reading::Ids(&r.root), "n,5") << c.panelAttrs;
        EXPECT_EQ(Reading::Ids(r.Child(0)), c.children) << c.panelAttrs << c.port2Attrs;
    }
}

TEST(PanelReader, WithoutAParentOnlyModuleIsRecognised) {
    Reading r;
    // A MODULE inside a PORT goes to ModuleList, never to the port; a PORT or LAMP in DEVICEMODULE or under
    // an unknown element makes nothing; a DEVICEPANEL reached without a parent fills nothing.
    r.Read(Panel("<PORT m=\"MODS\">" + V("1") + kNoPortPictures + "<MODS><MODULE>" + V("inner") +
                     "</MODULE></MODS></PORT><GROUP c=\"L\">" + V("g") + "<L>" + Port("lost") + "<MODULE>" +
                     V("m") + "</MODULE><DEVICEPANEL>" + V("dp") + "</DEVICEPANEL></L></GROUP>",
                 "<DEVICEMODULE c=\"L\">" + V("dm") + "<L>" + Port("orphan") + "<MODULE>" + V("outer") +
                     "</MODULE><LAMP>" + V("l") + "</LAMP></L></DEVICEMODULE>"));
    EXPECT_TRUE(r.result);
    ASSERT_EQ(Reading::Ids(&r.root), "1");
    EXPECT_EQ(r.Child(0)->ChildCount(), 0);
    ASSERT_EQ(r.modules.size(), 3u);
    EXPECT_EQ(r.modules[0]->GetIdentifier(), "inner");
    EXPECT_EQ(r.modules[2]->GetIdentifier(), "outer");
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
    EXPECT_EQ(Reading::Ids(&r.root), ",named,");
    // The running count goes on from where it stood.
    Reading again;
    again.painter.SetAnonymousCount(98);
    again.Read(Panel("<SLOT>" + V("0", 1, 2) + "</SLOT><SLOT>" + V("0", 3, 4) + "</SLOT>"));
    EXPECT_TRUE(again.messages.empty());
    EXPECT_EQ(again.painter.AnonymousPositions()[99].first, QPoint(3, 4));
}

TEST(PanelReader, StatusTypeAndNumbers) {
    // STATUS on ports and lamps only, TYPE on lamps only; unknown keywords change nothing.
    const std::string ports[] = {"PORTLINK100", "PORTLINK10", "PORTDISABLED", "PORTENABLE",
                                 "PORTEMPTY",   "LAMPON",     "portempty"};
    const int portStates[] = {0, 1, 2, 3, 4, 3, 3};
    const std::string lamps[] = {"LAMPON", "LAMP1G", "LAMPOFF", "PORTEMPTY"};
    const std::string kinds[] = {"LINK", "S100M", "POWER", "CONSOLE", "FIBRE"};
    std::string body;
    for (const std::string& k : ports)
        body += "<PORT>" + V("p") + kNoPortPictures + "<STATUS>" + k + "</STATUS><TYPE>POWER</TYPE></PORT>";
    for (int i = 0; i < 5; ++i)
        body +=
            "<LAMP>" + V("l") + "<STATUS>" + lamps[i % 4] + "</STATUS><TYPE>" + kinds[i] + "</TYPE></LAMP>";
    body += "<SLOT>" + V("s") + "<STATUS>PORTEMPTY</STATUS></SLOT>";
    // Integers are the leading number of the text.
    body += "<SLOT><ID>n</ID><LEFT> 10 px</LEFT><TOP>x</TOP><WIDTH>-5</WIDTH><HEIGHT>7.9</HEIGHT></SLOT>";
    Reading r;
    r.Read(Panel(body));
    ASSERT_EQ(r.root.ChildCount(), 14);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(r.Child(i)->GetState(), portStates[i]) << ports[i];
    const int lampStates[] = {0, 1, 2, 2, 0}, lampKinds[] = {0, 1, 2, 3, 0};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(r.Child(7 + i)->GetState(), lampStates[i]) << lamps[i % 4];
        EXPECT_EQ(static_cast<CLamp*>(r.Child(7 + i))->GetType(), lampKinds[i]) << kinds[i];
    }
    EXPECT_EQ(r.Child(12)->GetState(), 0);
    EXPECT_EQ(r.Child(13)->GetRect(), QRect(QPoint(10, 0), QPoint(4, 6)));
}

TEST(PanelReader, PictureNamesAndLamps) {
    Reading r;
    const std::string lamps =
        "<L><LAMP>" + V("a") + "<TYPE>LINK</TYPE></LAMP><LAMP>" + V("b") + "</LAMP></L>";
    r.Read(Panel("<PORT c=\"L\">" + V("1") +
                 "<BMPLINK100>a.bmp</BMPLINK100><BMPLINK10>b.bmp</BMPLINK10><BMPDISABLE></BMPDISABLE>"
                 "<BMPENABLE>d.bmp</BMPENABLE><BMPEMPTY>e.bmp</BMPEMPTY>" +
                 lamps + "</PORT><LED>" + V("2") +
                 "<BMP0/><BMP1/><BMP2></BMP2><BMP3>three.bmp</BMP3><BMP4/><BMP5/><BMP6/><BMP7/>"
                 "<BMP8/><BMP9>nine.bmp</BMP9></LED><CONSOLE c=\"L\">" +
                 V("c") + lamps + "</CONSOLE><PANEL c=\"L\">" + V("n") + lamps + "</PANEL>"));
    ASSERT_EQ(r.root.ChildCount(), 4);
    auto* port = dynamic_cast<CPort*>(r.Child(0));
    auto* led = dynamic_cast<CLed*>(r.Child(1));
    auto* com = dynamic_cast<CCom*>(r.Child(2));
    auto* panel = dynamic_cast<CPanel*>(r.Child(3));
    ASSERT_TRUE(port && led && com && panel);
    EXPECT_EQ(port->GetStatePictureName(0), "a.bmp");
    EXPECT_EQ(port->GetStatePictureName(2), "");
    EXPECT_EQ(port->GetStatePictureName(4), "e.bmp");
    EXPECT_EQ(led->GetIndexPictureName(2), "");
    EXPECT_EQ(led->GetIndexPictureName(9), "nine.bmp");
    // Lamps listen to ports and connectors only.
    EXPECT_EQ(port->Observers().size(), 2u);
    EXPECT_EQ(com->Observers().size(), 2u);
    EXPECT_EQ(panel->Observers().size(), 0u);
    EXPECT_EQ(dynamic_cast<CLamp*>(panel->GetChild(0))->Subject(), nullptr);
}

TEST(PanelReader, MissingOrNonXmlFileGivesAnEmptyTreeSilently) {
    QTemporaryDir dir;
    for (const std::string& file : {WriteTextFile(dir, "bad.xml", "<DESC><DEVICEPANEL>" + V("d") + "<oops"),
                                    WriteTextFile(dir, "bin.xml", std::string("\x00\xff\x10garbage", 10)),
                                    dir.filePath("missing.xml").toStdString(), dir.path().toStdString()}) {
        Reading r;
        PanelReadOptions options;
        options.positions = &r.painter;
        options.reportError = [&](const std::string& m) { r.messages.push_back(m); };
        ReadPanelDescription(file, r.root, r.modules, options);
        EXPECT_EQ(r.root.ChildCount(), 0) << file;
        EXPECT_EQ(r.root.GetIdentifier(), "") << file;
        EXPECT_TRUE(r.modules.empty());
        EXPECT_TRUE(r.messages.empty()) << file;
    }
}

// Rejected whole, with one message naming the file, and nothing of it kept.
TEST(PanelReader, MalformedFilesAreRejectedWithOneMessage) {
    const std::string longName(100, 'x');
    const std::string box = "<LEFT>1</LEFT><TOP>1</TOP><WIDTH>1</WIDTH><HEIGHT>1</HEIGHT>";
    const struct {
        std::string xml;
        const char* inMessage;
    } cases[] = {
        {Panel("<SLOT>" + box + "</SLOT>"), "no ID value"},
        {Panel("<SLOT><ID>s</ID><TOP>1</TOP><WIDTH>1</WIDTH><HEIGHT>1</HEIGHT></SLOT>"), "no LEFT value"},
        {Panel("<SLOT><ID>s</ID><LEFT>1</LEFT><TOP>1</TOP><WIDTH>1</WIDTH></SLOT>"), "no HEIGHT value"},
        {"<D><DEVICEPANEL><LEFT>0</LEFT></DEVICEPANEL></D>", "DEVICEPANEL element"},
        {Panel("", "<DEVICEMODULE c=\"L\">" + V("m") + "<L><MODULE><ID>m</ID></MODULE></L></DEVICEMODULE>"),
         "MODULE element"},
        {Panel("<PORT>" + V("1") + "<BMPLINK100/><BMPLINK10/><BMPDISABLE/><BMPENABLE/></PORT>"),
         "no BMPEMPTY value"},
        {Panel("<LED>" + V("1") + "<BMP0/><BMP1/><BMP2/><BMP3/><BMP4/><BMP5/><BMP6/><BMP7/><BMP8/></LED>"),
         "no BMP9 value"},
        {Panel(Repeat("<SLOT>" + V("0") + "</SLOT>", 101)), "more than 100"},
        {Panel("<SLOT>" + V("s") + "<BMP>" + longName + "</BMP></SLOT>"), "longer than 99"},
        {Panel("<PORT>" + V("1") + "<BMPLINK100/><BMPLINK10/><BMPDISABLE>" + longName +
               "</BMPDISABLE><BMPENABLE/><BMPEMPTY/></PORT>"),
         "BMPDISABLE"},
        {Panel("<LED>" + V("1") + "<BMP0>" + longName + "</BMP0>" + kNoLedPictures.substr(7) + "</LED>"),
         "BMP0"},
        {Panel("<PANEL c=\"..\">" + V("p") + "</PANEL>"), "loop"},
        {Panel(Repeat("<PANEL c=\"L\">" + V("p") + "<L>", 40) + Repeat("</L></PANEL>", 40)), "deep"},
        {Panel(Repeat("<PANEL a=\"L\" b=\"L\">" + V("p") + "<L>", 20) + Repeat("</L></PANEL>", 20)), "loop"},
        {"<D>\n<DEVICEPANEL c=\"L\">\n" + V("d") + "\n<L>\n<SLOT><ID>s</ID></SLOT>\n</L></DEVICEPANEL></D>",
         "SLOT element on line 5"},
    };
    for (const auto& c : cases) {
        Reading r;
        r.root.SetIdentifier("before");
        r.root.AddChild(std::make_unique<CSlot>());
        r.modules.push_back(std::make_unique<CModule>());
        r.Read(c.xml);
        EXPECT_FALSE(r.result) << c.inMessage;
        ASSERT_EQ(r.messages.size(), 1u) << c.inMessage;
        EXPECT_NE(r.messages[0].find(c.inMessage), std::string::npos) << r.messages[0];
        EXPECT_NE(r.messages[0].find("test.xml"), std::string::npos) << r.messages[0];
        EXPECT_EQ(r.root.GetIdentifier(), "before") << c.inMessage;
        EXPECT_EQ(r.root.ChildCount(), 1) << c.inMessage;
        EXPECT_EQ(r.modules.size(), 1u) << c.inMessage;
        EXPECT_EQ(r.painter.AnonymousCount(), 0) << c.inMessage;
    }
    // The limits themselves are fine.
    Reading r;
    r.Read(Panel(Repeat("<SLOT>" + V("0", 1, 1) + "</SLOT>", 100) + "<SLOT>" + V("s") + "<BMP>" +
                 std::string(99, 'y') + "</BMP></SLOT>" + Repeat("<PANEL c=\"L\">" + V("p") + "<L>", 30) +
                 Repeat("</L></PANEL>", 30)));
    EXPECT_TRUE(r.result);
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(r.root.ChildCount(), 102);
}

}  // namespace
