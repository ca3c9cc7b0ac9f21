#include "plot_image_io.h"

#include "atomic_file.h"
#include "path_for_files.h"

#include <QBuffer>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>

namespace morvane {

Message NoPlotMessage() {
    return Message{"Plot", "There is no plot yet: choose Plot > Produce Plot first.",
                   MessageIcon::Information, MessageButtons::Ok};
}

void copyPlotToClipboard(const QImage& picture) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setImage(picture);
}

QByteArray encodePlotImage(const QImage& picture, const QString& path,
                           const std::string& svgDocument) {
    if (path.endsWith(".svg", Qt::CaseInsensitive))
        return QByteArray::fromStdString(svgDocument);
    if (picture.isNull())
        return {};
    const char* format = path.endsWith(".png", Qt::CaseInsensitive) ? "PNG" : "BMP";
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, format))
        return {};
    return bytes;
}

QImage newPlotImage(QSize size, qreal devicePixelRatio) {
    QImage image(size.expandedTo(QSize(1, 1)) * devicePixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

bool savePlotImage(const QImage& picture, const QString& path, const std::string& svgDocument) {
    const QByteArray bytes = encodePlotImage(picture, path, svgDocument);
    if (bytes.isEmpty())
        return false;
    const std::string error =
        WriteFileAtomically(PathForFiles(path), std::string_view(bytes.data(), bytes.size()));
    return error.empty();
}

} // namespace morvane
