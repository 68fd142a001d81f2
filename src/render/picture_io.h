// The shared raster loader: picks the codec by the file's extension and always yields a 24-bit
// picture or a null image.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// ".PNG", ".JPG"/".JPEG" and ".BMP" (any letter case); any other extension and every loading error
// give a null image. The result is QImage::Format_RGB888. jpegAtLeast lets a JPEG be decoded
// smaller (see LoadJpeg), for thumbnails.
QImage LoadPicture(const QString& path, QSize jpegAtLeast = QSize());

// The same for bytes already in memory (an archive entry); name only supplies the extension.
QImage DecodePicture(const QByteArray& bytes, const QString& name, QSize jpegAtLeast = QSize());
