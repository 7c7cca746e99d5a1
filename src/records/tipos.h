#pragma once
// The kinds of picture the game opens, in one list: the Abrir dialog's filter, the
// pictures a difficulty's folder offers and the files a drop on the window accepts all
// come from it. The content decides how a file is decoded; these only say what is offered.

#include <QString>
#include <QStringList>

namespace zelpo {

struct TipoDeArquivo {
    const char* descricao;
    const char* padroes; // "*.png;*.jpeg"
};

// The classic kinds: each has its own entry in the dialog, and only these are picked for
// a random game.
inline constexpr TipoDeArquivo TIPOS_CLASSICOS[] = {
    {"Bitmap do Windows", "*.bmp"},
    {"Ícone", "*.ico"},
    {"Cursor", "*.cur"},
    {"Windows RLE", "*.rle"},
    {"Metarquivo do Windows", "*.wmf"},
    {"Metarquivo avançado do Windows", "*.emf"},
    {"GIF", "*.gif"},
    {"JPEG", "*.jpg"},
};
// What else the picture readers take, under one entry at the end of the list.
inline constexpr TipoDeArquivo OUTRAS_FIGURAS{"Outras figuras", "*.png;*.jpeg;*.jpe;*.jfif;*.webp;*.tif;*.tiff"};
inline constexpr TipoDeArquivo JOGO_ZELPORA{"Zelpora", "*.zpr"};

// "*.bmp;*.ico;*.cur;*.rle;*.wmf;*.emf;*.gif;*.jpg": the pictures of a difficulty's folder.
QString PadraoDasFiguras();

// The Abrir dialog's filter, "description|patterns|...": first every saved game and
// classic picture together, then the saved games, each classic kind, and the others.
QString FiltroAbrir();

// "Zelpora (*.zpr)|*.zpr": the filter of the saved games alone.
QString FiltroJogo();
// Salvar como...: a game, or the picture itself under its own extension.
QString FiltroSalvarComo(const QString& extensao);

// The endings of every file Abrir offers, ".zpr" and ".bmp" to ".tiff".
QStringList SufixosAbertos();

} // namespace zelpo
