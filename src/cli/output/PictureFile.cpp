#include "cli/output/PictureFile.h"

#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPicture>
#include <algorithm>
#include <cctype>
#include <filesystem>

#include "cli/options/Arguments.h"

namespace dyno::cli {

namespace {

constexpr int kJpegQuality = 95;

std::string lowerExtension(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

bool writePdf(const std::string& path, QSize size, const std::function<void(QPainter&)>& paint) {
    // Fail early and plainly when the file cannot be created: the writer itself only
    // says so through a painter that will not begin.
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) return false;
    QPdfWriter writer(&file);
    // The page's resolution is the recorded pictures' own, so they replay at one
    // device unit per pixel; the page is the picture's size.
    const int dotsPerInch = QPicture().logicalDpiX();
    writer.setResolution(dotsPerInch);
    const QSizeF points = QSizeF(size) * (72.0 / dotsPerInch);
    writer.setPageLayout(
        QPageLayout(QPageSize(points, QPageSize::Point), QPageLayout::Portrait, QMarginsF()));
    writer.setCreator("dynotool");
    QPainter painter;
    if (!painter.begin(&writer)) return false;
    paint(painter);
    return painter.end();
}

}  // namespace

PictureFormat pictureFormatOf(const std::string& path) {
    const std::string extension = lowerExtension(path);
    if (extension == ".png") return PictureFormat::Png;
    if (extension == ".jpg") return PictureFormat::Jpeg;
    if (extension == ".bmp") return PictureFormat::Bmp;
    if (extension == ".pdf") return PictureFormat::Pdf;
    throw UsageError("--out must end in .png, .jpg, .bmp or .pdf, not '" + path + "'");
}

bool writePicture(const std::string& path, PictureFormat format, QSize size,
                  const std::function<void(QPainter&)>& paint) {
    if (format == PictureFormat::Pdf) return writePdf(path, size, paint);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        paint(painter);
    }
    const char* name = format == PictureFormat::Png    ? "PNG"
                       : format == PictureFormat::Jpeg ? "JPG"
                                                       : "BMP";
    return image.save(QString::fromStdString(path), name,
                      format == PictureFormat::Jpeg ? kJpegQuality : -1);
}

}  // namespace dyno::cli
