#pragma once
// The record of the one puzzle that is open, and the options that the dialogs share with
// the main window. frmZelpo owns one Jogo and one ModuloZelpo; the core functions of the
// other folders read and write their fields directly, as the main window's procedures do.
// Three kinds of data are kept apart here: what a saved game carries (Jogo), what the
// player chose (Opcoes, persisted in the settings store) and the geometry that follows
// from the piece size (Geometria, derived again whenever a picture is cut).

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
inline constexpr int TOLERANCIA_ENCAIXE = 20; // px on each axis around a piece's true place
inline constexpr int LARGURA_CLIENTE = 632;   // the main window's drawing surface
inline constexpr int ALTURA_CLIENTE = 434;
inline constexpr int TOPO_ROLAGEM = 11;       // top edge of the tray's first row
inline constexpr char TITULO_APLICACAO[] = "Zelpora 3.0";

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

// Piece size and tray layout; all follow from the small-pieces option.
struct Geometria {
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

// The player's options: the settings store holds them between runs.
struct Opcoes {
    int16_t Dificuldade = 2;
    bool Pequenas = false;
    bool Adaptar = true;
    double BorderColor = 8388608.0; // 0x00BBGGRR held in a double
    int32_t PreviewTop = 72;
    int32_t PreviewLeft = 56;
    bool operator==(const Opcoes&) const = default;
};

// Module-level state shared by the main window and its dialogs.
struct ModuloZelpo {
    int16_t Colunas = 0;
    int16_t Linhas = 0;
    Opcoes opcoes;
    bool Cancelado = true; // answer of the new-puzzle dialog
};

using ListaRolagem = std::array<int16_t, SLOTS_ROLAGEM>;

// The game record proper: what a saved game carries, plus the clock's zero.
struct Jogo {
    QString ArquivoJogo;
    ListaRolagem PartesRolagem = ListaVazia();
    ListaRolagem PartesRolagemInicio = ListaVazia();
    int16_t PartesNaRolagem = 0;
    std::array<Parte, MAX_PECAS> Partes{};
    int32_t TopoTabuleiro = 0;
    int32_t EsquerdaTabuleiro = 0;
    QString ArquivoFigura;
    QByteArray BytesFigura = Marcador();
    QString ExtensaoFigura; // at most 8 characters, dot included; stored padded
    int16_t PartesIniciais = 0;
    int32_t InicioRelogio = 0;
    int32_t SegundosJogo = 0;

    static ListaRolagem ListaVazia();
    static QByteArray Marcador() { return QByteArray(2, '\0'); } // a picture never read
};

// The extension of a picture path from its last dot, cut to eight characters.
QString ExtensaoDe(const QString& caminho);

// Difficulty name as the board caption and the dialogs show it ("" outside 1..3).
QString NomeDificuldade(int dificuldade);

} // namespace zelpo
