// framewright-sidepicture <resources folder>: writes sidepicture.jpg and icons/framewright-<size>.png
// into that folder. Renders on the offscreen platform, so it runs without a display.
#include <cstdio>

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include "appicon.h"
#include "jpegencoder.h"
#include "sidepicture.h"

namespace {

constexpr int kJpegQuality = 90;
constexpr int kIconSizesPx[] = {16, 32, 48, 64, 128, 256};

int fail(const QString &message)
{
    std::fprintf(stderr, "framewright-sidepicture: %s\n", qPrintable(message));
    return 1;
}

bool writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size();
}

} // namespace

int main(int argc, char *argv[])
{
    // Offscreen rendering keeps the output independent of any display; fonts come from fontconfig.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2) {
        return fail(QStringLiteral("usage: framewright-sidepicture <resources folder>"));
    }
    const QDir resources(arguments.at(1));
    if (!resources.mkpath(QStringLiteral("icons"))) {
        return fail(QStringLiteral("cannot create %1").arg(resources.filePath(QStringLiteral("icons"))));
    }

    const art::SidePicture picture = art::drawSidePicture();
    if (picture.image.isNull()) {
        return fail(picture.error);
    }
    const art::EncodedJpeg jpeg = art::encodeJpeg(picture.image, kJpegQuality);
    if (!jpeg.ok()) {
        return fail(QStringLiteral("JPEG encoding failed: %1").arg(jpeg.error));
    }
    const QString picturePath = resources.filePath(QStringLiteral("sidepicture.jpg"));
    if (!writeFile(picturePath, jpeg.data)) {
        return fail(QStringLiteral("cannot write %1").arg(picturePath));
    }

    for (const int sizePx : kIconSizesPx) {
        const QString iconPath = resources.filePath(QStringLiteral("icons/framewright-%1.png").arg(sizePx));
        if (!art::drawAppIcon(sizePx).save(iconPath, "PNG")) {
            return fail(QStringLiteral("cannot write %1").arg(iconPath));
        }
    }
    return 0;
}
