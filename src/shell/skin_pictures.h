// Pictures derived from the skin's own.
#pragma once

#include <QImage>

// The disabled look of a button picture: its drawing turned grey and faded towards the background,
// so that it reads as unavailable beside the enabled buttons. Each row's background is the colour
// of its leftmost pixel (skin buttons lie on horizontal bands) and stays as it is; magenta pixels,
// the skin's transparent colour, stay magenta.
QImage DisabledSkinPicture(const QImage& normal);
