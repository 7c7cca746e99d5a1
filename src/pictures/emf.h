#pragma once
// Enhanced metafiles (EMF), drawn through SVG: libemf2svg turns the records into an SVG
// document and Qt's SVG renderer draws it at the size the board keeps, never larger, so
// a shrunk picture is drawn anew rather than scaled. The records are checked here first
// (sizes, bounds, the end record), because the converter trusts them.
//
// The picture's natural size is its frame (rclFrame, hundredths of a millimetre) at 96
// pixels to the inch; see emf.cpp for why the frame rather than the bounds.

#include "pictures/ajuste.h"
#include "pictures/figura.h"

#include <QByteArray>

namespace zelpo {

inline constexpr quint32 ASSINATURA_EMF = 0x464D4520; // " EMF"

bool PareceEmf(const QByteArray& bytes);
ResultadoFigura DecodificarEmf(const QByteArray& bytes, const Ajuste& ajuste);

} // namespace zelpo
