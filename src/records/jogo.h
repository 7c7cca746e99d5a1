#pragma once
// The records of the game, each fact in one place:
//  - JogoSalvo: the puzzle itself, everything a saved game (".zpr") carries: the grid, the
//    edge codes, the two tray lists, the progress, the three options that shaped it and
//    the picture file's bytes. The .zpr codec reads and writes this record as it is.
//  - OpcoesJogo: those three options (difficulty, small pieces, fitting the picture),
//    which both the puzzle and the player's preferences hold.
//  - Opcoes: the player's preferences, persisted in the settings store: the three above,
//    the border colour and where the preview window goes.
//  - Geometria: the piece size and tray layout, which follow from the small-pieces flag
//    it carries, so that the two can never disagree.
// Partida (game/partida.h) owns the puzzle in play and is its only writer; the main window
// owns the player's preferences and is theirs.

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

namespace zelpo {

inline constexpr int MAX_PECAS = 81;          // 9 x 9 small pieces
inline constexpr int SLOTS_ROLAGEM = 82;      // the tray list keeps one empty slot past the last piece
inline constexpr int16_t VAZIO = -1;          // 65535 in the tray list: an empty slot
inline constexpr int16_t VERDADEIRO = -1;     // flags are 16-bit: -1 true, 0 false
inline constexpr int16_t FALSO = 0;
inline constexpr int16_t MAIOR_CODIGO_LADO = 52; // 13 groups of four outlines
inline constexpr int TOLERANCIA_ENCAIXE = 20; // px on each axis around a piece's true place

// The main window's drawing surface and the board area on it.
inline constexpr int LARGURA_CLIENTE = 632;
inline constexpr int ALTURA_CLIENTE = 434;
inline constexpr int ESQUERDA_AREA = 242;     // the board area spans x = 242 to 630
inline constexpr int DIREITA_AREA = 630;
inline constexpr int TOPO_ROLAGEM = 11;       // top edge of the tray's first row
inline constexpr int CELULA_MINIATURA = 24;   // one grid cell in the preview picture
inline constexpr int LADO_MINIATURA = 9 * CELULA_MINIATURA;

// The largest picture file a puzzle is cut from, and so the largest one a saved game carries.
inline constexpr qint64 TAMANHO_MAXIMO_FIGURA = 64LL * 1024 * 1024;

// First-run values of the options.
inline constexpr int32_t COR_BORDA_PADRAO = 0x800000; // dark blue, 0x00BBGGRR
inline constexpr int32_t TOPO_PREVIEW_PADRAO = 72;
inline constexpr int32_t ESQUERDA_PREVIEW_PADRAO = 56;

struct Parte {
    int16_t Cima = 0;
    int16_t Baixo = 0;
    int16_t Direita = 0;
    int16_t Esquerda = 0;
    int16_t Coluna = 0;
    int16_t Linha = 0;
    int16_t Encaixada = FALSO;
    bool operator==(const Parte&) const = default;
};

using TabelaPartes = std::array<Parte, MAX_PECAS>;
using ListaRolagem = std::array<int16_t, SLOTS_ROLAGEM>;

ListaRolagem ListaVazia();
// The two zero bytes that stand for a picture that was never read.
inline QByteArray MarcadorFigura() { return QByteArray(2, '\0'); }

// Piece size and tray layout.
struct Geometria {
    bool Pequenas = false;
    int16_t TamanhoParte = 64;   // T: grid pitch and piece body
    int16_t MargemParte = 50;    // M: band for the knobs
    int16_t TamanhoCelula = 114; // C = T + M: side of a piece picture
    int32_t LadoMaximo = 384;    // S: largest picture side, 6 x T or 9 x T
    int32_t LinhasRolagem = 4;
    int32_t ColunasRolagem = 2;
    int32_t EspacoRolagem = 12;
    int32_t LarguraRolagem = 88;
    int32_t AlturaRolagem = 99;
    std::array<int16_t, 6> CoordBase{1, 24, 25, 87, 88, 112};
    bool operator==(const Geometria&) const = default;

    int m() const { return MargemParte / 2 - 1; } // the baseline of a straight side
};

Geometria GeometriaPara(bool pequenas);

// The options that shape a puzzle: a new puzzle takes the player's, and opening a saved
// game makes the player's those of the game.
struct OpcoesJogo {
    int16_t Dificuldade = 2;
    bool Pequenas = false;
    bool Adaptar = true;
    bool operator==(const OpcoesJogo&) const = default;
};

// The player's options: the settings store holds them between runs.
struct Opcoes : OpcoesJogo {
    double BorderColor = COR_BORDA_PADRAO; // 0x00BBGGRR held in a double
    int32_t PreviewTop = TOPO_PREVIEW_PADRAO;
    int32_t PreviewLeft = ESQUERDA_PREVIEW_PADRAO;
    bool operator==(const Opcoes&) const = default;
};

// The puzzle as a saved game holds it, field for field (the options are written last).
struct JogoSalvo : OpcoesJogo {
    ListaRolagem PartesRolagem = ListaVazia();
    ListaRolagem PartesRolagemInicio = ListaVazia();
    int16_t PartesNaRolagem = 0;
    TabelaPartes Partes{};
    int16_t Colunas = 0;
    int16_t Linhas = 0;
    int32_t TopoTabuleiro = 0;
    int32_t EsquerdaTabuleiro = 0;
    QByteArray BytesFigura = MarcadorFigura();
    QString ExtensaoFigura; // at most 8 characters, dot included; stored padded
    int16_t PartesIniciais = 0;
    int32_t SegundosJogo = 0;
    bool operator==(const JogoSalvo&) const = default;

    Geometria Geo() const { return GeometriaPara(Pequenas); }
    int Pecas() const { return Colunas * Linhas; }
};

// The extension of a picture path from its last dot, cut to eight characters.
QString ExtensaoDe(const QString& caminho);

// Difficulty name as the board caption and the dialogs show it ("" outside 1..3).
QString NomeDificuldade(int dificuldade);

// Starting pieces for a difficulty: 3, 2 or 1; any value other than 1 and 2 plays as hard.
int16_t PartesIniciaisPara(int dificuldade);

} // namespace zelpo
