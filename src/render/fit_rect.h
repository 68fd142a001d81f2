// Fitting a picture's aspect into a box.
#pragma once

#include <QRect>

// The largest rectangle of the picture's aspect (w : h) centred in a W x H box. Returns false and
// leaves `r` as it was when H or h is 0.
bool FitRect(long long W, long long H, long long w, long long h, QRect& r);
