#include "panel_test_support.h"

#include <QDir>
#include <QFile>
#include <QImage>

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
