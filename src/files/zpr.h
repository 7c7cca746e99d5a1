#pragma once
// The saved puzzle file (".zpr") and the picture bytes that travel inside it.
// A .zpr file is a flat little-endian record: the magic "ZPR 2.0 ", the two tray lists,
// the piece records, the grid, the board origin, the whole picture file, its extension,
// the progress and the three options that shaped the puzzle; 1508 bytes plus the picture.
// This module owns the layout and every check made on a file before it may replace the
// game in play: the reader decodes into a JogoSalvo of its own and hands it back only
// when every field is consistent. frmZelpo's SalvarZPR and LerZPR call the file
// functions below and show the messages; AbrirJogo uses GetTempFileName and
// BytesParaImagem to hand the stored picture to the picture loader.

#include "game/jogo.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

namespace zelpo {

inline constexpr char MAGICA_ZPR[] = "ZPR 2.0 ";     // eight bytes, no terminator stored
inline constexpr int TAMANHO_MAGICA_ZPR = 8;
inline constexpr int INICIO_FIGURA_ZPR = 1488;       // offset of the picture bytes
inline constexpr int TAMANHO_FIXO_ZPR = 1508;        // file length without the picture
inline constexpr int TAMANHO_EXTENSAO_ZPR = 8;       // the extension, padded with spaces
inline constexpr int16_t MAIOR_CODIGO_LADO = 52;
inline constexpr int16_t MAIOR_GRADE = 9;            // small pieces
inline constexpr int16_t MAIOR_GRADE_NORMAL = 6;
inline constexpr int16_t MENOR_GRADE = 2;

// Everything a .zpr file carries. Of `jogo`, the fields ArquivoJogo, ArquivoFigura and
// InicioRelogio are not stored: the reader leaves them empty and zero.
struct JogoSalvo {
    Jogo jogo;
    int16_t Colunas = 0;
    int16_t Linhas = 0;
    int16_t Dificuldade = 2;
    bool Pequenas = false;
    bool Adaptar = true;
};

// The stored part of the game in play, and its way back into the game.
JogoSalvo MontarJogoSalvo(const Jogo& jogo, const ModuloZelpo& modulo);
// Replaces the stored fields of the game and the three options; the rest is left alone.
void RestaurarJogoSalvo(const JogoSalvo& salvo, Jogo& jogo, ModuloZelpo& modulo);

struct ResultadoZPR {
    std::optional<JogoSalvo> jogo;  // set only when the whole file was accepted
    bool versaoIncorreta = false;   // no file, too short, or not our magic
    QString erro;                   // otherwise: what is wrong, without the path
};

// An empty BytesFigura is written as the two-byte placeholder: a picture of zero bytes
// cannot be told apart from a missing one, and N must stay positive.
QByteArray CodificarZPR(const JogoSalvo& salvo);
ResultadoZPR DecodificarZPR(const QByteArray& bytes);

// "" on success; otherwise a message naming the file and the problem. The previous
// file stays intact until the new one is complete.
QString GravarArquivoZPR(const QString& caminho, const JogoSalvo& salvo);
ResultadoZPR LerArquivoZPR(const QString& caminho);

// A picture file read for saving. When the file is missing or unreadable the bytes are
// the placeholder and `encontrada` is false; the caller then shows the path with
// "Figura não encontrada!" and saves anyway. A file of zero bytes is also stored as the
// placeholder, but counts as found.
struct FiguraLida {
    QByteArray bytes = Jogo::Marcador();
    QString extensao;  // from the last "." of the path, at most 8 characters
    bool encontrada = false;
};
FiguraLida ImagemParaBytes(const QString& caminho);

// Writes the picture bytes as a file of their own, replacing one that exists.
// "" on success, otherwise a message naming the file and the problem.
QString BytesParaImagem(const QString& caminho, const QByteArray& bytes);

// The system's temporary folder, ending in "/".
QString CaminhoTemp();

// CaminhoTemp + "Tmp_" + tick count + the extension trimmed of spaces. The count is
// raised until the name is free. Characters that cannot stand in a file name ("/", "\",
// control characters) are replaced by "_": a stored extension is never a path.
QString GetTempFileName(const QString& extensao);

} // namespace zelpo
