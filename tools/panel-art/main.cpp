// kms-panel-art: draws the panel pictures, the panel descriptions and the LED bitmaps under assets/.
//
//   kms-panel-art <assets dir> [--preview <dir>]
//
// Everything is drawn from the numbers below, so the files come out the same on every run (text uses
// DejaVu Sans; another font on another machine changes only the lettering). --preview also renders each
// panel through the panel reader, with a few ports linked and LEDs lit, into PNG files for a look.

#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>
#include <cstdio>
#include <map>

#include "panel/my_bitmap_app.h"
#include "panel/panel_reader.h"
#include "panel/virtual_dev.h"

namespace {

const QColor kFace(0xc6, 0xc7, 0xc9);      // chassis face; also the ground of the LED pictures
const QColor kFaceDark(0x8a, 0x8d, 0x91);  // chassis edge
const QColor kPrint(0x2b, 0x2e, 0x33);     // printed labels
const QColor kBrand(0x1d, 0x4f, 0x91);
const QColor kRecess(0x20, 0x20, 0x20);

QString g_out;

bool Save(const QImage& image, const QString& rel) {
    const QString path = QDir(g_out).filePath(rel);
    QDir().mkpath(QFileInfo(path).absolutePath());
    // 24 bits per pixel: drop alpha first.
    if (!image.convertToFormat(QImage::Format_RGB888).save(path, "BMP")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

QFont Font(int pixels, bool bold = false) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

void Text(QPainter& p, const QRect& r, const QString& s, int px, bool bold = false, QColor c = kPrint,
          int flags = Qt::AlignCenter) {
    p.setFont(Font(px, bold));
    p.setPen(c);
    p.drawText(r, flags, s);
}

// --- LED bitmaps -----------------------------------------------------------------------------------

QImage Solid(int w, int h, QColor c) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

QImage Edged(int w, int h, QColor edge, QColor fill) {
    QImage img = Solid(w, h, edge);
    QPainter p(&img);
    p.fillRect(1, 1, w - 2, h - 2, fill);
    return img;
}

// A round lamp on the face colour, with a small white highlight.
QImage Dot(int w, int h, QColor c, bool highlight) {
    QImage img = Solid(w, h, kFace);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(c.darker(160), 0.8));
    p.setBrush(c);
    p.drawEllipse(QRectF(0.5, 0.5, w - 1.0, h - 1.0));
    if (highlight) {
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(w * 0.25, h * 0.2, w * 0.25, h * 0.25));
    }
    return img;
}

bool WriteBitmaps() {
    std::map<int, QImage> b;
    b[227] = Solid(7, 6, Qt::black);
    b[228] = Solid(7, 6, QColor(0x00, 0xff, 0x00));
    b[229] = Solid(7, 6, QColor(0xff, 0x99, 0x00));
    b[232] = Dot(9, 9, QColor(0xff, 0x00, 0x00), true);
    b[237] = Dot(9, 9, Qt::black, true);
    {
        QImage img = Solid(15, 16, kFace);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        QRadialGradient g(QPointF(6, 6), 8);
        g.setColorAt(0, QColor(0xc8, 0xff, 0xc8));
        g.setColorAt(0.35, QColor(0x00, 0xff, 0x00));
        g.setColorAt(1, QColor(0x00, 0xb0, 0x00));
        p.setPen(QPen(QColor(0x60, 0x64, 0x68), 1));
        p.setBrush(g);
        p.drawEllipse(QRectF(1, 1.5, 13, 13));
        b[234] = img;
    }
    b[158] = Edged(7, 8, QColor(0x80, 0x80, 0x80), QColor(0x00, 0xff, 0x00));
    b[215] = Dot(5, 5, QColor(0x00, 0xff, 0x00), false);
    b[216] = Dot(5, 5, QColor(0xff, 0x00, 0x00), false);
    b[219] = Dot(5, 5, QColor(0xff, 0x00, 0x00), false);
    b[225] = Dot(5, 5, Qt::black, false);
    b[159] = b[160] = Edged(5, 4, QColor(0xc0, 0xc0, 0xc0), Qt::black);
    b[161] = b[162] = Edged(6, 4, QColor(0x80, 0x80, 0x80), QColor(0x00, 0xff, 0x00));
    b[163] = b[164] = Edged(6, 4, QColor(0x80, 0x80, 0x80), QColor(0xed, 0x9a, 0x22));
    b[190] = Edged(6, 5, QColor(0xff, 0xc0, 0xcb), QColor(0xff, 0x00, 0x00));
    b[191] = Edged(6, 5, QColor(0x98, 0xfb, 0x98), QColor(0x00, 0xff, 0x00));
    bool ok = true;
    for (const auto& [id, img] : b) ok = Save(img, QStringLiteral("bitmaps/%1.bmp").arg(id)) && ok;
    return ok;
}

// --- panel parts -----------------------------------------------------------------------------------

// Chassis face with a bevelled edge and two screws.
void Chassis(QPainter& p, int w, int h) {
    p.fillRect(0, 0, w, h, kFaceDark);
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, kFace.lighter(108));
    g.setColorAt(0.08, kFace);
    g.setColorAt(0.92, kFace);
    g.setColorAt(1, kFace.darker(112));
    p.fillRect(2, 2, w - 4, h - 4, g);
    p.setPen(kFace.lighter(118));
    p.drawLine(2, 2, w - 3, 2);
    p.setPen(kFace.darker(130));
    p.drawLine(2, h - 3, w - 3, h - 3);
    p.setRenderHint(QPainter::Antialiasing);
    for (int x : {10, w - 18}) {
        for (int y : {8, h - 16}) {
            p.setPen(QPen(QColor(0x70, 0x72, 0x75), 1));
            p.setBrush(QColor(0xa8, 0xaa, 0xad));
            p.drawEllipse(QRectF(x, y, 8, 8));
            p.drawLine(QPointF(x + 2, y + 4), QPointF(x + 6, y + 4));
        }
    }
    p.setRenderHint(QPainter::Antialiasing, false);
}

// A recess in the face where an LED picture goes.
void LedHole(QPainter& p, int x, int y, int w, int h) {
    p.fillRect(x - 1, y - 1, w + 2, h + 2, kFace.darker(135));
    p.fillRect(x, y, w, h, Qt::black);
}

enum class Plug { None, Blue, Green, Cover };

// Front view of an RJ-45 jack; `latchDown` puts the latch slot at the bottom.
QImage Jack(int w, int h, bool latchDown, Plug plug, bool disabled) {
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    // Metal shield.
    QLinearGradient shield(0, 0, 0, h);
    shield.setColorAt(0, QColor(0xe4, 0xe6, 0xe8));
    shield.setColorAt(1, QColor(0xa9, 0xad, 0xb1));
    p.fillRect(0, 0, w, h, shield);
    p.setPen(QColor(0x6e, 0x72, 0x76));
    p.drawRect(0, 0, w - 1, h - 1);
    // Opening: the wide body and the narrower latch slot.
    const int mx = w / 8, slotW = w * 3 / 8, slotH = h / 5;
    const int bodyTop = latchDown ? h / 6 : h / 6 + slotH, bodyH = h * 2 / 3 - slotH + h / 12;
    const QRect body(mx, bodyTop, w - 2 * mx, bodyH);
    const QRect slot((w - slotW) / 2, latchDown ? body.bottom() + 1 : body.top() - slotH, slotW, slotH);
    const QColor hole = disabled ? QColor(0x2a, 0x10, 0x10) : QColor(0x14, 0x14, 0x16);
    p.fillRect(body, hole);
    p.fillRect(slot, hole);
    // Eight gold contacts on the side away from the latch.
    const int cy = latchDown ? body.top() + 1 : body.bottom() - 3;
    for (int i = 0; i < 8; ++i) {
        const int x = body.left() + 2 + i * (body.width() - 4) / 8;
        p.fillRect(x, cy, std::max(1, (body.width() - 4) / 16), 3, QColor(0xd4, 0xa8, 0x3c));
    }
    if (plug == Plug::Blue || plug == Plug::Green) {
        // The plug's rear: clear plastic filling the opening, the cable boot in front of it.
        p.fillRect(body.adjusted(1, 1, -1, -1), QColor(0xb8, 0xcc, 0xd8));
        p.fillRect(slot.adjusted(1, 0, -1, 0), QColor(0x9a, 0xb0, 0xbe));
        const QColor boot = plug == Plug::Blue ? QColor(0x2f, 0x6d, 0xb5) : QColor(0x3f, 0x9a, 0x4e);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(boot.darker(150), 1));
        p.setBrush(boot);
        const QRectF b(body.center().x() - body.width() * 0.3, body.top() + 2, body.width() * 0.6,
                       body.height() - 4);
        p.drawRoundedRect(b, 3, 3);
        p.setBrush(QColor(0x30, 0x30, 0x34));
        const qreal r = std::min(b.width(), b.height()) * 0.28;
        p.drawEllipse(b.center(), r, r);
        p.setRenderHint(QPainter::Antialiasing, false);
    } else if (plug == Plug::Cover) {
        // A grey dust cover.
        p.fillRect(body, QColor(0x5c, 0x5f, 0x63));
        p.fillRect(slot, QColor(0x5c, 0x5f, 0x63));
        p.setPen(QColor(0x78, 0x7b, 0x7f));
        p.drawLine(body.left() + 2, body.center().y(), body.right() - 2, body.center().y());
    }
    if (disabled) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0xd0, 0x20, 0x20), std::max(2, w / 16), Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(body.left() + 3, body.bottom() - 2), QPointF(body.right() - 3, body.top() + 2));
    }
    return img;
}

struct JackSet {
    QString prefix;  // file names: <prefix>_<state>.bmp
    int w, h;
    bool latchDown;
};

const char* const kStateFiles[] = {"link100", "link10", "disabled", "enabled", "empty"};

bool WriteJacks(const QString& dir, const JackSet& s) {
    const QImage pics[] = {
        Jack(s.w, s.h, s.latchDown, Plug::Blue, false), Jack(s.w, s.h, s.latchDown, Plug::Green, false),
        Jack(s.w, s.h, s.latchDown, Plug::None, true), Jack(s.w, s.h, s.latchDown, Plug::None, false),
        Jack(s.w, s.h, s.latchDown, Plug::Cover, false)};
    bool ok = true;
    for (int i = 0; i < 5; ++i)
        ok = Save(pics[i], QStringLiteral("%1/%2_%3.bmp").arg(dir, s.prefix, kStateFiles[i])) && ok;
    return ok;
}

// --- descriptions ----------------------------------------------------------------------------------

struct PortPlace {
    int x, y, w, h;
    QPoint led[3];     // link (anonymous), PoE, speed
    QString pictures;  // <dir>/<prefix>
};

QString Values(const QString& id, int l, int t, int w, int h, const QString& indent) {
    return QStringLiteral("%6<ID>%1</ID><LEFT>%2</LEFT><TOP>%3</TOP><WIDTH>%4</WIDTH><HEIGHT>%5</HEIGHT>\n")
        .arg(id)
        .arg(l)
        .arg(t)
        .arg(w)
        .arg(h)
        .arg(indent);
}

QString PortXml(int number, const PortPlace& pp) {
    QString s;
    QTextStream o(&s);
    const QString in = QStringLiteral("        ");
    o << "      <PORT lamps=\"LAMPLIST\">\n" << Values(QString::number(number), pp.x, pp.y, pp.w, pp.h, in);
    o << in << "<STATUS>PORTENABLE</STATUS><NAME>Port " << number << "</NAME>\n";
    o << in << "<BMPLINK100>" << pp.pictures << "_link100.bmp</BMPLINK100>\n";
    o << in << "<BMPLINK10>" << pp.pictures << "_link10.bmp</BMPLINK10>\n";
    o << in << "<BMPDISABLE>" << pp.pictures << "_disabled.bmp</BMPDISABLE>\n";
    o << in << "<BMPENABLE>" << pp.pictures << "_enabled.bmp</BMPENABLE>\n";
    o << in << "<BMPEMPTY>" << pp.pictures << "_empty.bmp</BMPEMPTY>\n";
    o << in << "<LAMPLIST>\n";
    static const char* const kinds[] = {"LINK", "POWER", "S100M"};
    static const char* const names[] = {"Link", "PoE", "Speed"};
    for (int i = 0; i < 3; ++i) {
        const QString id = i == 0 ? QStringLiteral("0") : QStringLiteral("%1-%2").arg(number).arg(names[i]);
        o << in << "  <LAMP>" << Values(id, pp.led[i].x(), pp.led[i].y(), 7, 6, QString()).trimmed()
          << "<TYPE>" << kinds[i] << "</TYPE><STATUS>LAMPOFF</STATUS><NAME>" << names[i]
          << "</NAME></LAMP>\n";
    }
    o << in << "</LAMPLIST>\n      </PORT>\n";
    return s;
}

bool WriteText(const QString& rel, const QString& text) {
    QFile f(QDir(g_out).filePath(rel));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    f.write(text.toUtf8());
    return true;
}

QString Header(const QString& model, int w, int h, const QString& extraAttrs) {
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<!-- Front panel of the %1, drawn by tools/panel-art (edit the generator, not this file).\n"
               "     Each PORT's first three children are its LED positions: link (ID 0, so position record\n"
               "     n holds port n's link LED), PoE, speed. -->\n"
               "<DEVICEDESCRIPTION>\n"
               "  <DEVICEPANEL ports=\"PORTLIST\"%5>\n"
               "    <ID>%1</ID><LEFT>0</LEFT><TOP>0</TOP><WIDTH>%2</WIDTH><HEIGHT>%3</HEIGHT>\n"
               "    <BMP>%4/panel.bmp</BMP><NAME>%1</NAME>\n"
               "    <PORTLIST>\n")
        .arg(model)
        .arg(w)
        .arg(h)
        .arg(model, extraAttrs);
}

// --- KMS-7300-08E ------------------------------------------------------------------------------------

constexpr int k08W = 640, k08H = 140;

std::vector<PortPlace> Ports08E() {
    std::vector<PortPlace> v;
    for (int i = 0; i < 8; ++i) {
        const int x = 206 + i * 52;
        v.push_back({x,
                     60,
                     42,
                     34,
                     {QPoint(x + 4, 50), QPoint(x + 31, 50), QPoint(x + 17, 100)},
                     QStringLiteral("KMS-7300-08E/port")});
    }
    return v;
}

bool Write08E() {
    const QString dir = QStringLiteral("KMS-7300-08E");
    const auto ports = Ports08E();
    QImage img(k08W, k08H, QImage::Format_RGB32);
    {
        QPainter p(&img);
        Chassis(p, k08W, k08H);
        Text(p, QRect(22, 14, 120, 28), QStringLiteral("KMS"), 24, true, kBrand,
             Qt::AlignLeft | Qt::AlignVCenter);
        Text(p, QRect(22, 42, 120, 12), QStringLiteral("KMS-7300-08E"), 10, true, kPrint, Qt::AlignLeft);
        Text(p, QRect(22, 108, 160, 12), QStringLiteral("8-Port PoE Managed Switch"), 9, false, kPrint,
             Qt::AlignLeft);
        // System LED at (35, 64), power-limit LED at (38, 87): the window draws them.
        p.fillRect(34, 63, 17, 18, kFace.darker(120));
        p.fillRect(35, 64, 15, 16, kFace);
        LedHole(p, 38, 87, 9, 9);
        Text(p, QRect(58, 64, 60, 16), QStringLiteral("SYS"), 10, true, kPrint,
             Qt::AlignLeft | Qt::AlignVCenter);
        Text(p, QRect(58, 84, 80, 14), QStringLiteral("PoE MAX"), 10, true, kPrint,
             Qt::AlignLeft | Qt::AlignVCenter);
        // Legend beside the port row.
        Text(p, QRect(130, 47, 64, 12), QStringLiteral("LINK  PoE"), 8, true, kPrint,
             Qt::AlignRight | Qt::AlignVCenter);
        Text(p, QRect(130, 97, 64, 12), QStringLiteral("SPEED"), 8, true, kPrint,
             Qt::AlignRight | Qt::AlignVCenter);
        // Port block frame.
        p.setPen(kFace.darker(125));
        p.setBrush(kFace.darker(112));
        p.drawRoundedRect(QRect(200, 30, 418, 80), 3, 3);
        const QImage jack = Jack(42, 34, true, Plug::None, false);
        for (int i = 0; i < 8; ++i) {
            const PortPlace& pp = ports[static_cast<std::size_t>(i)];
            Text(p, QRect(pp.x, 33, pp.w, 14), QString::number(i + 1), 11, true);
            p.drawImage(pp.x, pp.y, jack);
            for (const QPoint& led : pp.led) LedHole(p, led.x(), led.y(), 7, 6);
        }
        Text(p, QRect(200, 114, 418, 14), QStringLiteral("10/100/1000BASE-T  PoE+ (IEEE 802.3at)"), 9, false);
    }
    bool ok = Save(img, dir + "/panel.bmp");
    ok = WriteJacks(dir, {QStringLiteral("port"), 42, 34, true}) && ok;
    QString xml = Header(QStringLiteral("KMS-7300-08E"), k08W, k08H, QString());
    for (int i = 0; i < 8; ++i) xml += PortXml(i + 1, ports[static_cast<std::size_t>(i)]);
    xml += QStringLiteral("    </PORTLIST>\n  </DEVICEPANEL>\n</DEVICEDESCRIPTION>\n");
    return WriteText(QStringLiteral("KMS-7300-08E.xml"), xml) && ok;
}

// --- KMS-7300-28E ------------------------------------------------------------------------------------

constexpr int k28W = 860, k28H = 130;

std::vector<PortPlace> Ports28E() {
    std::vector<PortPlace> v;
    // 24 copper ports in pairs, odd on top, in three groups of four columns; then the four combo ports.
    for (int n = 1; n <= 28; ++n) {
        const int col = n <= 24 ? (n - 1) / 2 : (n - 25) / 2;
        const bool top = (n % 2) == 1;
        const int x = n <= 24 ? 176 + col * 30 + (col / 4) * 10 : 580 + col * 32;
        const int y = top ? 40 : 70;
        const int ly = top ? 31 : 95;
        v.push_back({x,
                     y,
                     26,
                     22,
                     {QPoint(x + 1, ly), QPoint(x + 10, ly), QPoint(x + 18, ly)},
                     QStringLiteral("KMS-7300-28E/%1").arg(top ? "port_top" : "port_bottom")});
    }
    return v;
}

bool Write28E() {
    const QString dir = QStringLiteral("KMS-7300-28E");
    const auto ports = Ports28E();
    const QImage sfp = [] {
        QImage s(30, 16, QImage::Format_RGB32);
        QPainter p(&s);
        p.fillRect(0, 0, 30, 16, QColor(0xb9, 0xbd, 0xc1));
        p.setPen(QColor(0x6e, 0x72, 0x76));
        p.drawRect(0, 0, 29, 15);
        p.fillRect(3, 4, 24, 9, QColor(0x18, 0x18, 0x1a));
        p.fillRect(12, 1, 6, 2, QColor(0x8a, 0x8d, 0x91));
        return s;
    }();
    QImage img(k28W, k28H, QImage::Format_RGB32);
    {
        QPainter p(&img);
        Chassis(p, k28W, k28H);
        // The window draws 158 at (25, 23), 219 at (63, 28), 216 at (63, 40), 215 at (107, 40), 225 at (107,
        // 51).
        LedHole(p, 25, 23, 7, 8);
        Text(p, QRect(18, 32, 22, 10), QStringLiteral("PWR"), 7, true);
        for (const QPoint& at : {QPoint(63, 28), QPoint(63, 40), QPoint(107, 40), QPoint(107, 51)})
            LedHole(p, at.x(), at.y(), 5, 5);
        Text(p, QRect(71, 25, 30, 10), QStringLiteral("FAN"), 7, true, kPrint,
             Qt::AlignLeft | Qt::AlignVCenter);
        Text(p, QRect(71, 37, 30, 10), QStringLiteral("MAX"), 7, true, kPrint,
             Qt::AlignLeft | Qt::AlignVCenter);
        Text(p, QRect(115, 37, 30, 10), QStringLiteral("SYS"), 7, true, kPrint,
             Qt::AlignLeft | Qt::AlignVCenter);
        Text(p, QRect(115, 48, 30, 10), QStringLiteral("DIAG"), 7, true, kPrint,
             Qt::AlignLeft | Qt::AlignVCenter);
        Text(p, QRect(20, 66, 120, 24), QStringLiteral("KMS"), 20, true, kBrand,
             Qt::AlignLeft | Qt::AlignVCenter);
        Text(p, QRect(20, 90, 140, 12), QStringLiteral("KMS-7300-28E"), 9, true, kPrint, Qt::AlignLeft);
        Text(p, QRect(20, 102, 150, 12), QStringLiteral("24+4G PoE Managed"), 8, false, kPrint,
             Qt::AlignLeft);
        // Console connector (a CONSOLE object; clicking it opens Telnet).
        p.drawImage(112, 74, Jack(26, 22, true, Plug::None, false));
        Text(p, QRect(104, 97, 42, 10), QStringLiteral("CONSOLE"), 6, true);
        p.setBrush(kFace.darker(112));
        for (int g = 0; g < 3; ++g) {
            p.setPen(kFace.darker(125));
            p.drawRoundedRect(QRect(172 + g * 130, 17, 124, 98), 3, 3);
        }
        p.drawRoundedRect(QRect(575, 17, 70, 98), 3, 3);
        p.drawRoundedRect(QRect(660, 17, 80, 98), 3, 3);
        const QImage top = Jack(26, 22, false, Plug::None, false),
                     bottom = Jack(26, 22, true, Plug::None, false);
        for (int i = 0; i < 28; ++i) {
            const PortPlace& pp = ports[static_cast<std::size_t>(i)];
            const bool isTop = (i % 2) == 0;
            p.drawImage(pp.x, pp.y, isTop ? top : bottom);
            for (const QPoint& led : pp.led) LedHole(p, led.x(), led.y(), 7, 6);
            Text(p, QRect(pp.x, isTop ? 20 : 102, pp.w, 10), QString::number(i + 1), 8, true);
        }
        for (int i = 0; i < 4; ++i) {
            const int x = 667 + (i / 2) * 36, y = i % 2 == 0 ? 40 : 74;
            p.drawImage(x, y, sfp);
            Text(p, QRect(x, i % 2 == 0 ? 28 : 92, 30, 10), QStringLiteral("%1F").arg(25 + i), 7, true);
        }
        Text(p, QRect(750, 50, 100, 30), QStringLiteral("COMBO\n25-28"), 8, true, kPrint, Qt::AlignCenter);
    }
    bool ok = Save(img, dir + "/panel.bmp");
    ok = Save(sfp, dir + "/sfp.bmp") && ok;
    ok = WriteJacks(dir, {QStringLiteral("port_top"), 26, 22, false}) && ok;
    ok = WriteJacks(dir, {QStringLiteral("port_bottom"), 26, 22, true}) && ok;
    QString xml = Header(QStringLiteral("KMS-7300-28E"), k28W, k28H, QStringLiteral(" slots=\"SLOTLIST\""));
    for (int i = 0; i < 28; ++i) xml += PortXml(i + 1, ports[static_cast<std::size_t>(i)]);
    xml += QStringLiteral("    </PORTLIST>\n    <SLOTLIST>\n");
    for (int i = 0; i < 4; ++i) {
        const int x = 667 + (i / 2) * 36, y = i % 2 == 0 ? 40 : 74;
        xml += QStringLiteral("      <SLOT>") +
               Values(QStringLiteral("SFP%1").arg(25 + i), x, y, 30, 16, QString()).trimmed() +
               QStringLiteral("<BMP>KMS-7300-28E/sfp.bmp</BMP><NAME>SFP %1</NAME></SLOT>\n").arg(25 + i);
    }
    xml += QStringLiteral("      <CONSOLE>") +
           Values(QStringLiteral("CONSOLE"), 112, 74, 26, 22, QString()).trimmed() +
           QStringLiteral("<NAME>Console</NAME></CONSOLE>\n");
    xml += QStringLiteral("    </SLOTLIST>\n  </DEVICEPANEL>\n</DEVICEDESCRIPTION>\n");
    return WriteText(QStringLiteral("KMS-7300-28E.xml"), xml) && ok;
}

// --- preview -----------------------------------------------------------------------------------------

QImage Bitmap(int id) {
    return QImage(QDir(g_out).filePath(QStringLiteral("bitmaps/%1.bmp").arg(id)));
}

bool Preview(const QString& model, const QString& outDir) {
    CDevModule root;
    ModuleList modules;
    PanelReadOptions options;
    options.reportError = [](const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); };
    CMyBitmapApp positions;
    options.positions = &positions;
    if (!ReadPanelDescription(QDir(g_out).filePath(model + ".xml").toStdString(), root, modules, options))
        return false;
    // A few ports in each state: 1 link, 2 link at top speed, 3 disabled, 4 enabled, 5 empty.
    const int states[] = {0, 1, 2, 3, 4, 0, 1, 3};
    for (int i = 0; i < 8; ++i) {
        if (auto* port = static_cast<CPort*>(root.FindChildByClass("CPort", i)))
            port->SetStatus(states[i], nullptr);
    }
    QImage img(root.Width(), root.Height(), QImage::Format_RGB32);
    QPainter p(&img);
    p.drawImage(img.rect(), QImage(QString::fromStdString(root.ResolvePicturePath(root.GetPictureName()))));
    root.SetTargetDC(&p);
    root.DrawChildren();
    root.SetTargetDC(nullptr);
    for (int i = 0; root.FindChildByClass("CPort", i); ++i) {
        CVirtualDev* port = root.FindChildByClass("CPort", i);
        const int state = port->GetState();
        const bool link = state == 0 || state == 1;
        const int pics[3] = {link ? 228 : 227, link ? (i == 5 ? 229 : 228) : 227, state == 1 ? 228 : 227};
        for (int led = 0; led < 3 && led < port->ChildCount(); ++led)
            p.drawImage(port->GetChild(led)->Left(), port->GetChild(led)->Top(), Bitmap(pics[led]));
    }
    if (model.endsWith(QLatin1String("08E"))) {
        p.drawImage(35, 64, Bitmap(234));
        p.drawImage(38, 87, Bitmap(232));
    } else {
        p.drawImage(25, 23, Bitmap(158));
        p.drawImage(107, 40, Bitmap(215));
        p.drawImage(107, 51, Bitmap(225));
        p.drawImage(63, 40, Bitmap(216));
    }
    p.end();
    QDir().mkpath(outDir);
    return img.save(QDir(outDir).filePath(model + ".png"));
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: kms-panel-art <assets dir> [--preview <dir>]\n");
        return 2;
    }
    g_out = args[1];
    bool ok = WriteBitmaps();
    ok = Write08E() && ok;
    ok = Write28E() && ok;
    const int at = static_cast<int>(args.indexOf(QStringLiteral("--preview")));
    if (ok && at > 0 && at + 1 < args.size()) {
        for (const QString& model : {QStringLiteral("KMS-7300-08E"), QStringLiteral("KMS-7300-28E")})
            ok = Preview(model, args[at + 1]) && ok;
    }
    return ok ? 0 : 1;
}
