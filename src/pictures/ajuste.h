#pragma once
// Fitting a picture to the board while it is being decoded, so that no decoder ever holds
// a large picture whole. The board keeps at most S pixels on a side: without fitting, the
// picture's top-left S x S; with fitting (and always for metafiles), the whole picture
// shrunk to trunc(w / ratio) x trunc(h / ratio). A decoder hands its rows, in any order,
// to a ReceptorDeLinhas, which keeps only the rows and columns of a crop, or folds each
// row into the shrunk picture at once.
//
// The shrink gives the same pixels as shrinking the whole decoded picture with
// QImage::scaled(..., Qt::SmoothTransformation), which is what the cut did before
// decoders knew the board: large pictures (and any shrunk to less than half) go through
// Qt's area-averaging scaler, whose fixed-point arithmetic the receptor repeats row by
// row; smaller ones are still decoded whole and scaled by Qt. The decoders (figura.cpp,
// bmp.cpp, jpeg.cpp) build one receptor per picture; the metafile players draw at
// TamanhoAjustado; the cut (corte.cpp) crops or shrinks through AjustarImagem what
// arrives whole.

#include <QImage>
#include <QSize>

#include <memory>

namespace zelpo {

struct Ajuste {
    int lado = 384;       // S
    bool reduzir = true;  // shrink to fit; otherwise keep the top-left S x S
};

// The size the board keeps of a picture of the given size; never enlarged, and never
// less than a pixel on a side, however narrow a panorama.
QSize TamanhoAjustado(QSize natural, const Ajuste& ajuste);

// The crop or shrink of a whole picture, ARGB32 in and out.
QImage AjustarImagem(const QImage& figura, const Ajuste& ajuste);

class ReceptorDeLinhas {
public:
    virtual ~ReceptorDeLinhas() = default;

    // The rows the result needs and how many columns from the left: a decoder may skip
    // the rest.
    virtual bool PrecisaDaLinha(int y) const = 0;
    virtual int Colunas() const = 0;

    // Row y of the picture, ARGB32 not premultiplied, of which only the pixels from x0 to
    // x1 - 1 are given: the others are transparent. Each row arrives at most once; a row
    // that never arrives is transparent.
    virtual void Receber(int y, const QRgb* linha, int x0, int x1) = 0;

    // The picture as the board keeps it, ARGB32.
    virtual QImage Resultado() = 0;
};

// A receptor for a picture of the given natural size; nothing when the crop or the
// shrink cannot be allocated.
std::unique_ptr<ReceptorDeLinhas> NovoReceptor(QSize natural, const Ajuste& ajuste);
// A receptor that shrinks rows of `origem` pixels by area averaging to exactly `destino`
// (a decoder that already shrank the picture by a whole factor on its way).
std::unique_ptr<ReceptorDeLinhas> NovoReceptorReduzido(QSize origem, QSize destino);

} // namespace zelpo
