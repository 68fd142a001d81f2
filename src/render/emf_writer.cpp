#include "render/emf_writer.h"

#include <cmath>
#include <cstring>

#include "shell/textfile.h"

namespace {

// The reference device: 96 pixels per inch, 1920 x 1440 pixels.
constexpr int kRefPixelsX = 1920, kRefPixelsY = 1440;
constexpr int kRefMicronsX = 508000, kRefMicronsY = 381000;

void Append32(QByteArray& b, uint32_t v) {
  const char c[4] = {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char((v >> 24) & 0xFF)};
  b.append(c, 4);
}

uint32_t FloatBits(double v) {
  const float f = float(v);
  uint32_t u;
  std::memcpy(&u, &f, 4);
  return u;
}

bool FitsShort(std::span<const QPoint> pts) {
  for (const QPoint& p : pts)
    if (p.x() < -32768 || p.x() > 32767 || p.y() < -32768 || p.y() > 32767) return false;
  return true;
}

}  // namespace

TEmfWriter::TEmfWriter(QRect frame) : frame_(frame) {}

void TEmfWriter::Begin(uint32_t type) {
  recordStart_ = int(body_.size());
  Append32(body_, type);
  Append32(body_, 0);  // size, patched by End
}

void TEmfWriter::End() {
  while (body_.size() % 4) body_.append('\0');
  const uint32_t size = uint32_t(body_.size() - recordStart_);
  for (int i = 0; i < 4; ++i) body_[recordStart_ + 4 + i] = char((size >> (8 * i)) & 0xFF);
  ++records_;
  recordStart_ = -1;
}

void TEmfWriter::Put32(uint32_t v) {
  Append32(body_, v);
}
void TEmfWriter::Put16(uint16_t v) {
  body_.append(char(v & 0xFF));
  body_.append(char(v >> 8));
}

void TEmfWriter::Write32(uint32_t type, std::initializer_list<uint32_t> values) {
  Begin(type);
  for (uint32_t v : values) Put32(v);
  End();
}

void TEmfWriter::WriteBox(uint32_t type, int l, int t, int r, int b, std::initializer_list<uint32_t> extra) {
  Begin(type);
  for (int v : {l, t, r, b}) Put32(uint32_t(v));
  for (uint32_t v : extra) Put32(v);
  End();
}

void TEmfWriter::WriteArc(uint32_t type, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  Begin(type);
  for (int v : {l, t, r, b, xs, ys, xe, ye}) Put32(uint32_t(v));
  End();
}

void TEmfWriter::WriteBoundsOnly(uint32_t type) {
  Begin(type);
  for (int i = 0; i < 4; ++i) Put32(0);
  End();
}

void TEmfWriter::WritePoly(uint32_t type, uint32_t shortType, std::span<const QPoint> pts) {
  const bool small = shortPoints_ && FitsShort(pts);
  Begin(small ? shortType : type);
  for (int i = 0; i < 4; ++i) Put32(0);  // bounds: not needed for playing
  Put32(uint32_t(pts.size()));
  for (const QPoint& p : pts) {
    if (small) {
      Put16(uint16_t(p.x()));
      Put16(uint16_t(p.y()));
    } else {
      Put32(uint32_t(p.x()));
      Put32(uint32_t(p.y()));
    }
  }
  End();
}

void TEmfWriter::PolyPolygon(std::span<const QPoint> pts, std::span<const int> counts) {
  const bool small = shortPoints_ && FitsShort(pts);
  Begin(small ? EMR_POLYPOLYGON16 : EMR_POLYPOLYGON);
  for (int i = 0; i < 4; ++i) Put32(0);
  Put32(uint32_t(counts.size()));
  Put32(uint32_t(pts.size()));
  for (int c : counts) Put32(uint32_t(c));
  for (const QPoint& p : pts) {
    if (small) {
      Put16(uint16_t(p.x()));
      Put16(uint16_t(p.y()));
    } else {
      Put32(uint32_t(p.x()));
      Put32(uint32_t(p.y()));
    }
  }
  End();
}

void TEmfWriter::SetWorldTransform(const QTransform& t) {
  Write32(EMR_SETWORLDTRANSFORM, {FloatBits(t.m11()), FloatBits(t.m12()), FloatBits(t.m21()),
                                  FloatBits(t.m22()), FloatBits(t.dx()), FloatBits(t.dy())});
}

void TEmfWriter::ModifyWorldTransform(const QTransform& t, int mode) {
  Write32(EMR_MODIFYWORLDTRANSFORM,
          {FloatBits(t.m11()), FloatBits(t.m12()), FloatBits(t.m21()), FloatBits(t.m22()), FloatBits(t.dx()),
           FloatBits(t.dy()), uint32_t(mode)});
}

uint32_t TEmfWriter::NewHandle() {
  for (size_t i = 1; i < handles_.size(); ++i)
    if (!handles_[i]) {
      handles_[i] = true;
      return uint32_t(i);
    }
  handles_.push_back(true);
  return uint32_t(handles_.size() - 1);
}

void TEmfWriter::DeleteObject(uint32_t handle) {
  if (handle < handles_.size() && handle > 0) handles_[handle] = false;
  Write32(EMR_DELETEOBJECT, {handle});
}

uint32_t TEmfWriter::CreatePen(uint32_t style, int width, TColor color) {
  const uint32_t h = NewHandle();
  Write32(EMR_CREATEPEN, {h, style, uint32_t(width), 0, color});
  return h;
}

uint32_t TEmfWriter::ExtCreatePen(uint32_t style, int width, TColor color) {
  const uint32_t h = NewHandle();
  // No brush bitmap; a solid brush of the colour, no user dashes.
  Write32(EMR_EXTCREATEPEN, {h, 0, 0, 0, 0, style, uint32_t(width), 0, color, 0, 0});
  return h;
}

uint32_t TEmfWriter::CreateBrush(uint32_t style, TColor color, uint32_t hatch) {
  const uint32_t h = NewHandle();
  Write32(EMR_CREATEBRUSHINDIRECT, {h, style, color, hatch});
  return h;
}

uint32_t TEmfWriter::CreateFont(const TLogFont& f) {
  const uint32_t h = NewHandle();
  Begin(EMR_EXTCREATEFONTINDIRECTW);
  Put32(h);
  for (int v : {f.Height, f.Width, f.Escapement, f.Orientation, f.Weight}) Put32(uint32_t(v));
  const char flags[8] = {char(f.Italic), char(f.Underline), char(f.StrikeOut), char(f.CharSet), 0, 0, 0, 0};
  body_.append(flags, 8);
  for (int i = 0; i < 32; ++i) Put16(i < f.FaceName.size() && i < 31 ? f.FaceName.at(i).unicode() : 0);
  End();
  return h;
}

void TEmfWriter::TextOut(int x, int y, const QString& text, std::span<const int> dx) {
  Begin(EMR_EXTTEXTOUTW);
  for (int i = 0; i < 4; ++i) Put32(0);  // bounds
  Put32(1);                              // GM_COMPATIBLE
  Put32(0);
  Put32(0);
  const uint32_t chars = uint32_t(text.size());
  const uint32_t offString = 76;
  const uint32_t stringBytes = (chars * 2 + 3) & ~3u;
  const bool withDx = dx.size() == chars && chars > 0;
  Put32(uint32_t(x));
  Put32(uint32_t(y));
  Put32(chars);
  Put32(offString);
  Put32(0x100);  // ETO_NO_RECT: the rectangle below is not used
  for (int i = 0; i < 4; ++i) Put32(0);
  Put32(withDx ? offString + stringBytes : 0);
  for (QChar ch : text) Put16(ch.unicode());
  while ((body_.size() - recordStart_) % 4) body_.append('\0');
  if (withDx)
    for (int d : dx) Put32(uint32_t(d));
  End();
}

void TEmfWriter::StretchDIBits(int x, int y, int w, int h, const QImage& image, uint32_t rop) {
  const QImage img = image.convertToFormat(QImage::Format_RGB888);
  const int iw = img.width(), ih = img.height();
  const uint32_t stride = uint32_t((iw * 3 + 3) & ~3);
  const uint32_t bitsSize = stride * uint32_t(ih);
  Begin(EMR_STRETCHDIBITS);
  for (int i = 0; i < 4; ++i) Put32(0);
  for (int v : {x, y, 0, 0, iw, ih}) Put32(uint32_t(v));
  Put32(80);  // offBmiSrc
  Put32(40);
  Put32(120);  // offBitsSrc
  Put32(bitsSize);
  Put32(0);  // DIB_RGB_COLORS
  Put32(rop);
  Put32(uint32_t(w));
  Put32(uint32_t(h));
  // BITMAPINFOHEADER, bottom-up 24 bits.
  for (uint32_t v : {40u, uint32_t(iw), uint32_t(ih)}) Put32(v);
  Put16(1);
  Put16(24);
  for (uint32_t v : {0u, bitsSize, 3780u, 3780u, 0u, 0u}) Put32(v);
  for (int row = ih - 1; row >= 0; --row) {
    const uchar* s = img.constScanLine(row);
    QByteArray line(int(stride), '\0');
    for (int i = 0; i < iw; ++i) {
      line[3 * i] = char(s[3 * i + 2]);
      line[3 * i + 1] = char(s[3 * i + 1]);
      line[3 * i + 2] = char(s[3 * i]);
    }
    body_.append(line);
  }
  End();
}

QByteArray TEmfWriter::Finish() const {
  constexpr uint32_t kHeaderSize = 108;
  QByteArray out;
  const uint32_t total = kHeaderSize + uint32_t(body_.size()) + 20;
  // Bounds in reference pixels from the frame.
  auto px = [](int hundredths, int pixels, int microns) {
    return int(std::lround(double(hundredths) * 10 * pixels / microns));
  };
  Append32(out, EMR_HEADER);
  Append32(out, kHeaderSize);
  for (int v :
       {px(frame_.left(), kRefPixelsX, kRefMicronsX), px(frame_.top(), kRefPixelsY, kRefMicronsY),
        px(frame_.right(), kRefPixelsX, kRefMicronsX), px(frame_.bottom(), kRefPixelsY, kRefMicronsY)})
    Append32(out, uint32_t(v));
  for (int v : {frame_.left(), frame_.top(), frame_.right(), frame_.bottom()}) Append32(out, uint32_t(v));
  Append32(out, 0x464D4520);  // " EMF"
  Append32(out, 0x10000);
  Append32(out, total);
  Append32(out, records_ + 2);
  const uint32_t handles = uint32_t(handles_.size());
  Append32(out, handles & 0xFFFF);  // handles and reserved
  Append32(out, 0);                 // description
  Append32(out, 0);
  Append32(out, 0);  // palette entries
  Append32(out, kRefPixelsX);
  Append32(out, kRefPixelsY);
  Append32(out, kRefMicronsX / 1000);
  Append32(out, kRefMicronsY / 1000);
  Append32(out, 0);  // pixel format
  Append32(out, 0);
  Append32(out, 0);  // OpenGL
  Append32(out, kRefMicronsX);
  Append32(out, kRefMicronsY);
  out.append(body_);
  for (uint32_t v : {uint32_t(EMR_EOF), 20u, 0u, 16u, 20u}) Append32(out, v);
  return out;
}

bool TEmfWriter::Save(const QString& fileName) const {
  return WriteFileAtomically(fileName, Finish());
}
