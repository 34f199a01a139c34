#include "panel/panel_picture.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include "core/debug_out.h"

bool LoadDibFile(const std::string& path, QImage& image) {
    image = QImage();
    if (path.empty()) return false;
    const QString name = QString::fromStdString(path);
    // Resources (":/...") are files too; device nodes and folders are not pictures.
    const QFileInfo info(name);
    if (!info.exists() || (!info.isFile() && !name.startsWith(QLatin1Char(':')))) return false;

    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray header = file.read(18);
    if (header.size() < 18 || header[0] != 'B' || header[1] != 'M') {
        DebugOut("Error:Unexpected file type, not a DIB");
        return false;
    }
    const auto infoSize = static_cast<quint32>(static_cast<quint8>(header[14])) |
                          static_cast<quint32>(static_cast<quint8>(header[15])) << 8 |
                          static_cast<quint32>(static_cast<quint8>(header[16])) << 16 |
                          static_cast<quint32>(static_cast<quint8>(header[17])) << 24;
    if (infoSize == 12) {
        DebugOut("Error:OS2 PM BMP Format not supported");
        return false;
    }
    file.seek(0);
    QImageReader reader(&file, "BMP");
    QImage read;
    if (!reader.read(&read) || read.isNull()) {
        DebugOut("could not allocate data storage");
        return false;
    }
    image = read;
    return true;
}
