#include "panel_test_support.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <cstdlib>

std::string WriteSolidBmp(const QTemporaryDir& dir, const QString& name, QColor colour, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    const QString path = dir.filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    image.save(path, "BMP");
    return path.toStdString();
}

std::string WriteTextFile(const QTemporaryDir& dir, const QString& name, const std::string& text) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(text.data(), static_cast<qint64>(text.size()));
    return path.toStdString();
}

std::string SourcePath(const std::string& relative) {
    return std::string(KMS_SOURCE_DIR) + "/" + relative;
}

int ColourDistance(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
}

PanelReadOptions Reading::Options() {
    PanelReadOptions options;
    options.positions = &painter;
    options.reportError = [this](const std::string& m) { messages.push_back(m); };
    return options;
}

void Reading::Read(const std::string& xml) {
    result = ReadPanelDescriptionFromBuffer(xml.data(), xml.size(), root, modules, Options(), "test.xml");
}

void Reading::ReadFile(const std::string& path) {
    result = ReadPanelDescription(path, root, modules, Options());
}

std::string Reading::Ids(const CVirtualDev* parent) {
    std::string out;
    for (int i = 0; i < parent->ChildCount(); ++i)
        out += (i ? "," : "") + parent->GetChild(i)->GetIdentifier();
    return out;
}
