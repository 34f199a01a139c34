// The panel description reader on small descriptions written for the cases that matter.

#include "panel_test_support.h"

namespace {

std::string V(const std::string& id, int left = 0, int top = 0, int width = 10, int height = 10) {
    return "<ID>" + id + "</ID><LEFT>" + std::to_string(left) + "</LEFT><TOP>" + std::to_string(top) +
           "</TOP><WIDTH>" + std::to_string(width) + "</WIDTH><HEIGHT>" + std::to_string(height) +
           "</HEIGHT>";
}
const std::string kNoPortPictures = "<BMPLINK100/><BMPLINK10/><BMPDISABLE/><BMPENABLE/><BMPEMPTY/>";

std::string Port(const std::string& id, const std::string& attrs = "") {
    return "<PORT" + attrs + ">" + V(id) + kNoPortPictures + "</PORT>";
}

// A description whose DEVICEPANEL holds `body` in its container.
std::string Panel(const std::string& body, const std::string& trailer = "") {
    return "<DESC><DEVICEPANEL c=\"LIST\">" + V("dev", 0, 0, 640, 140) + "<BMP>bg.bmp</BMP><LIST>" + body +
           "</LIST></DEVICEPANEL>" + trailer + "</DESC>";
}

// The DEVICEPANEL's own values go to the root. What each attribute of a PANEL selects; P2 carries the extra
// attribute. Only the root's direct ports count as ports of the panel.
TEST(PanelReader, AttributesNameContainers) {
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"", "", ""},                                      // no attributes: no children
        {" a=\"PORTS\" b=\"PORTS\"", "", "1,2,3,1,2,3"},   // named twice: read twice
        {" a=\"@a\" b=\"ID/text()\" c=\"NOPE\"", "", ""},  // nothing that holds elements
        // An invalid location path ends the list that holds the element; the panel's next attribute is
        // read all the same.
        {" a=\"PORTS\" b=\"MORE\"", " bad=\"[[\" good=\"X\"", "1,2,4"},
        {" a=\"PORTS\" b=\"MORE\"", " bad=\"1+1\"", "1,2,4"},  // valid XPath, but no nodes
    };
    for (const auto& [panelAttrs, port2Attrs, children] : cases) {
        Reading r;
        r.Read(Panel("<PANEL" + panelAttrs + ">" + V("n", 5, 6, 600, 100) + "<PORTS>" + Port("1") +
                     Port("2", port2Attrs) + Port("3") + "</PORTS><MORE>" + Port("4") + "</MORE></PANEL>" +
                     Port("5")));
        EXPECT_TRUE(r.result && r.messages.empty()) << (r.messages.empty() ? "" : r.messages[0]);
        ASSERT_EQ(Reading::Ids(&r.root), "n,5") << panelAttrs;
        EXPECT_EQ(Reading::Ids(r.Child(0)), children) << panelAttrs << port2Attrs;
        EXPECT_EQ(
            std::tuple(r.root.GetIdentifier() + "/" + r.root.GetPictureName(), r.root.GetRect(),
                       r.Child(0)->GetRect(), r.root.FindChildByClass("CPort", 0),
                       r.root.FindChildByClass("CPort", 1)),
            std::tuple("dev/bg.bmp", QRect(0, 0, 640, 140), QRect(5, 6, 600, 100), r.Child(1), nullptr));
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
    std::string modules;
    for (const auto& m : r.modules) modules += m->GetIdentifier() + ",";
    EXPECT_EQ(modules, "inner,m,outer,");
}

// Records are filled in reading order, a lamp inside a port after the port, from the running count on.
TEST(PanelReader, AnonymousObjectsFillPositionRecordsInReadingOrder) {
    Reading r;
    r.painter.SetAnonymousCount(97);
    r.Read(Panel("<PORT c=\"L\">" + V("0", 11, 12) + kNoPortPictures + "<L><LAMP>" + V("0", 21, 22) +
                 "</LAMP></L></PORT>" + Port("named") + "<SLOT>" + V("0", 31, 32) + "</SLOT>"));
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(r.painter.AnonymousCount(), 100);
    const auto& p = r.painter.AnonymousPositions();
    EXPECT_EQ((std::vector<QPoint>{p[96].first, p[97].first, p[98].first, p[99].first}),
              (std::vector<QPoint>{{0, 0}, {11, 12}, {21, 22}, {31, 32}}));
    EXPECT_EQ(Reading::Ids(&r.root), ",named,");
}

// STATUS on ports and lamps only, each with its own keywords; TYPE on lamps only; unknown keywords change
// nothing. Integers are the leading number of the text.
TEST(PanelReader, StatusTypeAndNumbers) {
    const std::tuple<std::string, std::string, std::string, int, int> cases[] = {
        {"PORT", "PORTLINK100", "POWER", 0, -1}, {"PORT", "PORTLINK10", "", 1, -1},
        {"PORT", "PORTDISABLED", "", 2, -1},     {"PORT", "PORTENABLE", "", 3, -1},
        {"PORT", "PORTEMPTY", "", 4, -1},        {"PORT", "LAMPON", "", 3, -1},
        {"PORT", "portempty", "", 3, -1},        {"LAMP", "LAMPON", "LINK", 0, 0},
        {"LAMP", "LAMP1G", "S100M", 1, 1},       {"LAMP", "LAMPOFF", "POWER", 2, 2},
        {"LAMP", "PORTEMPTY", "CONSOLE", 2, 3},  {"LAMP", "LAMPON", "FIBRE", 0, 0},
        {"SLOT", "PORTEMPTY", "", 0, -1}};
    for (const auto& [element, status, type, state, kind] : cases) {
        Reading r;
        r.Read(Panel("<" + element + ">" + V("x") + (element == "PORT" ? kNoPortPictures : "") + "<STATUS>" +
                     status + "</STATUS><TYPE>" + type + "</TYPE></" + element + ">"));
        ASSERT_EQ(r.root.ChildCount(), 1);
        EXPECT_EQ(r.Child(0)->GetState(), state) << element << " " << status;
        EXPECT_EQ(element == "LAMP" ? static_cast<CLamp*>(r.Child(0))->GetType() : -1, kind) << type;
    }
    Reading r;
    r.Read(
        Panel("<SLOT><ID>n</ID><LEFT> 10 px</LEFT><TOP>x</TOP><WIDTH>-5</WIDTH><HEIGHT>7.9</HEIGHT></SLOT>"));
    EXPECT_EQ(r.Child(0)->GetRect(), QRect(QPoint(10, 0), QPoint(4, 6)));
}

// Each object element makes its class (unknown ones nothing); a port names a picture per state, a LED one
// per digit; lamps listen to ports and connectors only.
TEST(PanelReader, ObjectClassesPictureNamesAndLamps) {
    Reading r;
    const std::string lamps =
        "<L><LAMP>" + V("a") + "<TYPE>LINK</TYPE></LAMP><LAMP>" + V("b") + "</LAMP></L>";
    r.Read(Panel("<PORT c=\"L\">" + V("1") +
                 "<BMPLINK100>a.bmp</BMPLINK100><BMPLINK10>b.bmp</BMPLINK10><BMPDISABLE></BMPDISABLE>"
                 "<BMPENABLE>d.bmp</BMPENABLE><BMPEMPTY>e.bmp</BMPEMPTY>" +
                 lamps + "</PORT><LED>" + V("2") +
                 "<BMP0/><BMP1/><BMP2></BMP2><BMP3>three.bmp</BMP3><BMP4/><BMP5/><BMP6/><BMP7/>"
                 "<BMP8/><BMP9>nine.bmp</BMP9></LED><CONSOLE c=\"L\">" +
                 V("c") + lamps + "</CONSOLE><PANEL c=\"L\">" + V("n") + lamps + "</PANEL><BOGUS>" + V("y") +
                 "</BOGUS><MASTER>" + V("m") + "</MASTER><RPS>" + V("r") + "</RPS><FAN>" + V("f") +
                 "<NAME> Fan tray </NAME></FAN><POWER>" + V("p") + "</POWER><SLOT>" + V("s") + "</SLOT>"));
    ASSERT_EQ(Reading::Ids(&r.root), "1,2,c,n,m,r,f,p,s");
    std::string classes;
    for (int i = 0; i < r.root.ChildCount(); ++i) classes += r.Child(i)->ClassName() + std::string(" ");
    EXPECT_EQ(classes, "CPort CLed CCom CPanel CCom CCom CCom CPower CSlot ");
    EXPECT_EQ(r.Child(0)->GetName() + "/" + r.Child(1)->GetName() + "/" + r.Child(0)->GetChild(0)->GetName() +
                  "/" + r.Child(6)->GetName(),
              "VirtualDev/Led/Lamp/Fan tray");
    auto* port = static_cast<CPort*>(r.Child(0));
    auto* led = static_cast<CLed*>(r.Child(1));
    EXPECT_EQ(port->GetStatePictureName(0) + "|" + port->GetStatePictureName(2) + "|" +
                  port->GetStatePictureName(4) + "|" + led->GetIndexPictureName(2) + "|" +
                  led->GetIndexPictureName(9),
              "a.bmp||e.bmp||nine.bmp");
    EXPECT_EQ(port->Observers().size(), 2u);
    EXPECT_EQ(static_cast<CCom*>(r.Child(2))->Observers().size(), 2u);
    EXPECT_EQ(static_cast<CLamp*>(r.Child(3)->GetChild(0))->Subject(), nullptr);
}

TEST(PanelReader, MissingOrNonXmlFileGivesAnEmptyTreeSilently) {
    QTemporaryDir dir;
    for (const std::string& file : {WriteTextFile(dir, "bad.xml", "<DESC><DEVICEPANEL>" + V("d") + "<oops"),
                                    WriteTextFile(dir, "bin.xml", std::string("\x00\xff\x10garbage", 10)),
                                    dir.filePath("missing.xml").toStdString(), dir.path().toStdString()}) {
        Reading r;
        r.ReadFile(file);
        EXPECT_EQ(r.root.ChildCount() + r.modules.size() + r.messages.size(), 0u) << file;
        EXPECT_EQ(r.root.GetIdentifier(), "") << file;
    }
}

// Rejected whole, with one message naming the file, and nothing of it kept.
TEST(PanelReader, MalformedFilesAreRejectedWithOneMessage) {
    const std::string longName(100, 'x');
    const std::string box = "<LEFT>1</LEFT><TOP>1</TOP><WIDTH>1</WIDTH><HEIGHT>1</HEIGHT>";
    const std::pair<std::string, const char*> cases[] = {
        {Panel("<SLOT>" + box + "</SLOT>"), "no ID value"},
        {"<D><DEVICEPANEL><LEFT>0</LEFT></DEVICEPANEL></D>", "DEVICEPANEL element"},
        {Panel("<PORT>" + V("1") + "<BMPLINK100/><BMPLINK10/><BMPDISABLE/><BMPENABLE/></PORT>"),
         "no BMPEMPTY value"},
        {Panel(Repeat("<SLOT>" + V("0") + "</SLOT>", 101)), "more than 100"},
        {Panel("<PORT>" + V("1") + "<BMPLINK100/><BMPLINK10/><BMPDISABLE>" + longName +
               "</BMPDISABLE><BMPENABLE/><BMPEMPTY/></PORT>"),
         "BMPDISABLE of the PORT element"},
        {Panel("<PANEL c=\"..\">" + V("p") + "</PANEL>"), "loop"},
        {Panel(Repeat("<PANEL c=\"L\">" + V("p") + "<L>", 40) + Repeat("</L></PANEL>", 40)), "deep"},
        {Panel(Repeat("<PANEL a=\"L\" b=\"L\">" + V("p") + "<L>", 20) + Repeat("</L></PANEL>", 20)), "loop"},
        {"<D>\n<DEVICEPANEL c=\"L\">\n" + V("d") + "\n<L>\n<SLOT><ID>s</ID></SLOT>\n</L></DEVICEPANEL></D>",
         "SLOT element on line 5"},
    };
    for (const auto& [xml, inMessage] : cases) {
        Reading r;
        r.root.SetIdentifier("before");
        r.root.AddChild(std::make_unique<CSlot>());
        r.modules.push_back(std::make_unique<CModule>());
        r.Read(xml);
        EXPECT_FALSE(r.result) << inMessage;
        ASSERT_EQ(r.messages.size(), 1u) << inMessage;
        EXPECT_TRUE(r.messages[0].find(inMessage) != std::string::npos &&
                    r.messages[0].find("test.xml") != std::string::npos)
            << r.messages[0];
        EXPECT_EQ(std::tuple(r.root.GetIdentifier(), r.root.ChildCount(), r.modules.size(),
                             r.painter.AnonymousCount()),
                  std::tuple("before", 1, 1u, 0))
            << inMessage;
    }
    // The limits themselves are fine.
    Reading r;
    r.Read(Panel(Repeat("<SLOT>" + V("0", 1, 1) + "</SLOT>", 100) + "<SLOT>" + V("s") + "<BMP>" +
                 std::string(99, 'y') + "</BMP></SLOT>" + Repeat("<PANEL c=\"L\">" + V("p") + "<L>", 30) +
                 Repeat("</L></PANEL>", 30)));
    EXPECT_TRUE(r.result && r.messages.empty()) << (r.messages.empty() ? "" : r.messages[0]);
    EXPECT_EQ(r.root.ChildCount(), 102);
}

}  // namespace
