#pragma once

#include <QPainter>
#include <QSize>
#include <functional>
#include <string>

// Where a drawing command writes its picture: the format follows the extension of
// --out. Raster formats get an image drawn by the painter code; a PDF page of the
// picture's size gets the same painter code as vectors.
namespace dyno::cli {

enum class PictureFormat { Png, Jpeg, Bmp, Pdf };

// From the file name's extension (.png, .jpg, .bmp or .pdf, any case); a usage error
// for any other.
PictureFormat pictureFormatOf(const std::string& path);

// Draws a picture of `size` with `paint` into `path`; false when it cannot be written.
bool writePicture(const std::string& path, PictureFormat format, QSize size,
                  const std::function<void(QPainter&)>& paint);

}  // namespace dyno::cli
