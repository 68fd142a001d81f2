// Text forms of the values stored in documents, settings and tables.
#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

#include "render/gdi_types.h"

// Process-wide decimal separator used when writing reals (readers accept "," and ".").
QChar DecimalSeparator();
void SetDecimalSeparator(QChar sep);

// Display unit: millimetres per display unit and its name.
double U2M();
void SetU2M(double mmPerUnit);
QString UnitName();
void SetUnitName(const QString& name);

QString WriteInt(long long v);
QString WriteBool(bool v);
QString WriteReal(double v);
QString WriteColorRGB(TColor c);
QString WritePen(const TPen& p);
QString WriteBrush(const TBrush& b);
QString WriteFont(const TFont& f);
QString WriteMesure(double mm);

int ReadInt(const QString& s);
// ReadInt with a default for empty or malformed text.
int ReadIntDef(const QString& s, int def);
bool ReadBool(const QString& s);
double ReadReal(const QString& s);
TColor ReadColorRGB(const QString& s);
void ReadPen(const QString& s, TPen& p);
void ReadBrush(const QString& s, TBrush& b);
void ReadFont(const QString& s, TFont& f);

// Border record of an image object: tile width and height in millimetres, enabled flag, style.
struct TBordure {
  bool Enabled = false;
  double Width = 12;
  double Height = 12;
  int Style = 2;
  bool operator==(const TBordure&) const = default;
};
TBordure ReadBordure(const QString& s);
QString WriteBordure(const TBordure& b);

double UnitToMm(double x);
double MmToUnit(double x);

// Cuts a text at every separator; at most 1001 fields.
QStringList SplitFields(const QString& s, QChar sep);

// Nearest integer, an exact half going to the even neighbour.
long long RoundEven(double v);
