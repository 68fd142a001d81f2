// Picture codecs: JPEG (libjpeg-turbo), PNG (libpng) and BMP. Every decoder returns a 24-bit
// picture (QImage::Format_RGB888) or a null image; broken or hostile input never gets further than
// that. Transparency is flattened onto white.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <cstddef>
#include <cstdint>

// Largest picture a decoder accepts, in pixels (width x height as the file declares it, whatever
// size a decoder is asked for). The declared size is checked before anything is allocated, and so
// is whether the file holds enough data to describe that many pixels. The default is 100 million
// pixels (286 MiB at 24 bits).
qint64 MaxPicturePixels();
void SetMaxPicturePixels(qint64 pixels);
// Largest width or height accepted by any decoder.
constexpr int kMaxPictureSide = 32767;

// JPEG. With atLeast set, the decoder may shrink the picture by a factor n/8 (DCT scaling) as long
// as it stays at least that wide and that high; a picture smaller than atLeast is decoded whole.
QImage DecodeJpeg(const uint8_t* data, size_t size, QSize atLeast = QSize());
QImage LoadJpeg(const QString& path, QSize atLeast = QSize());
// Baseline 24-bit JPEG; empty on failure. The defaults are the library's own (quality 75, no
// density, standard Huffman tables).
struct JpegOptions {
  int quality = 75;
  int dotsPerInch = 0;    // written into the header when above 0
  bool optimize = false;  // optimised Huffman tables: smaller files, slower
};
QByteArray EncodeJpeg(const QImage& image, const JpegOptions& options = {});
bool SaveJpeg(const QImage& image, const QString& path);

// PNG of any colour type and bit depth; 16-bit samples are rounded to 8 bits.
QImage DecodePng(const uint8_t* data, size_t size);
QImage LoadPng(const QString& path);

// BMP: 1, 2, 4, 8 bits with a palette (RLE4 and RLE8 too), 16 and 32 bits (default or bit-field
// masks), 24 bits; Windows and OS/2 headers; bottom-up or top-down. Any alpha channel is ignored.
QImage DecodeBmp(const uint8_t* data, size_t size);
QImage LoadBmp(const QString& path);
// Uncompressed bottom-up 24-bit BMP; empty on failure.
QByteArray EncodeBmp(const QImage& image);
bool SaveBmp(const QImage& image, const QString& path);

// Whole file contents for the decoders; false when the file cannot be read.
bool ReadPictureFile(const QString& path, QByteArray& bytes);
// Replaces the file at path atomically by bytes.
bool WritePictureFile(const QString& path, const QByteArray& bytes);
