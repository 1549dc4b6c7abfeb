#include "platform/pictures_ui.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace {

struct TJpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

void JpegFail(j_common_ptr info) {
    // libjpeg would exit the process; return to the decoder instead.
    std::longjmp(reinterpret_cast<TJpegError*>(info->err)->jump, 1);
}

void JpegSilence(j_common_ptr) {}

const char* const kSchemeNames[6] = {"Green", "Gold", "Aqua", "Blue", "Purple", "Silver"};

} // namespace

QImage DecodeJpeg(const QByteArray& bytes) {
    if (bytes.isEmpty()) return {};
    jpeg_decompress_struct info{};
    TJpegError err{};
    info.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = JpegFail;
    err.mgr.output_message = JpegSilence;
    // Everything the jump can skip lives outside this frame's locals.
    QImage* image = new QImage;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        delete image;
        return {};
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    *image = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB888);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image->scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    QImage result = image->convertToFormat(QImage::Format_RGB32);
    delete image;
    return result;
}

void RegisterArtwork() {
    static bool done = false;
    if (done) return;
    done = true;
    Q_INIT_RESOURCE(assets);
}

QByteArray ArtworkBytes(const QString& name) {
    RegisterArtwork();
    QFile f(QStringLiteral(":/assets/") + name);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

QImage Artwork(const QString& name) {
    QByteArray bytes = ArtworkBytes(name);
    if (bytes.isEmpty()) return {};
    if (name.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive)) return DecodeJpeg(bytes);
    return QImage::fromData(bytes);
}

QImage WallpaperTile(int colorScheme) {
    if (colorScheme < 0 || colorScheme > 5) colorScheme = 0;
    return Artwork(QStringLiteral("Wallpaper%1.png").arg(QLatin1String(kSchemeNames[colorScheme])));
}

QImage BannerPicture(int colorWordHL) {
    if (colorWordHL < 0 || colorWordHL > 5) colorWordHL = 0;
    return Artwork(QStringLiteral("Banner%1.png").arg(QLatin1String(kSchemeNames[colorWordHL])));
}
