#pragma once
// The rules of a new game and of a restart: the random state of a new puzzle (edge codes
// and the deal into the tray), the restart back to the deal, the pick of a random picture
// and the lister of a difficulty's picture folder. Partida applies them to its record.

#include "game/jogo.h"

#include <QString>
#include <QStringList>

namespace zelpo {

class Aleatorio;

// Folder of a difficulty's pictures under `base`: Facil, Medio, or Dificil for any other value.
QString PastaDaDificuldade(const QString& base, int dificuldade);

inline constexpr char PADRAO_FIGURAS[] = "*.bmp;*.ico;*.cur;*.rle;*.wmf;*.emf;*.gif;*.jpg";

// The hidden file list of a picture folder: a path, a pattern, and the sorted names.
class ListaArquivos {
public:
    QString Path;
    QString Pattern = QString::fromLatin1(PADRAO_FIGURAS);
    // Reads the folder again; returns "" or a description of why it cannot be read.
    QString Refresh();
    int ListCount() const { return static_cast<int>(nomes_.size()); }
    QString List(int i) const { return nomes_.value(i); }

private:
    QStringList nomes_;
};

// Entry number CLng(Rnd * (n * 100)) mod n: uniform for any n (the product is 32-bit).
int EscolherFigura(int n, Aleatorio& rnd);

// The random state of a new puzzle of the record's grid: edge codes, deal, counts, the
// time at zero; the picture bytes become the placeholder.
void FormarEstado(JogoSalvo& jogo, Aleatorio& rnd);

// Deals pieces 0..n-1 into random empty slots of both tray lists.
void Distribuir(JogoSalvo& jogo, int n, Aleatorio& rnd);

// Back to the deal: every piece loose, the time at zero, the starting pieces asked again.
void Reiniciar(JogoSalvo& jogo);

// The dealt list in grid order (the Shift+Ctrl+Alt+G command).
void DistribuirEmOrdem(JogoSalvo& jogo);

} // namespace zelpo
