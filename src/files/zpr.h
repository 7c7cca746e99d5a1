#pragma once
// The saved puzzle file (".zpr") and the picture bytes that travel inside it.
// A .zpr file is a flat little-endian record: the magic "ZPR 2.0 ", the two tray lists,
// the piece records, the grid, the board origin, the whole picture file, its extension,
// the progress and the three options that shaped the puzzle; 1508 bytes plus the picture.
// This module owns the layout and every check made on a file before it may replace the
// game in play: the reader decodes into a JogoSalvo of its own and hands it back only
// when the game can be shown and played safely; anything this program writes passes.
// frmZelpo's SalvarZPR and LerZPR call the file functions below and show the messages.

#include "records/jogo.h"

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
inline constexpr int16_t MAIOR_GRADE = 9;            // small pieces
inline constexpr int16_t MAIOR_GRADE_NORMAL = 6;
inline constexpr int16_t MENOR_GRADE = 2;

// A saved game by name: ".zpr" at the end, in any case.
bool EhJogoSalvo(const QString& caminho);

struct ResultadoZPR {
    std::optional<JogoSalvo> jogo;  // set only when the whole file was accepted
    bool versaoIncorreta = false;   // no file, too short, or not our magic
    QString erro;                   // otherwise: what is wrong, without the path
};

// An empty BytesFigura is written as the two-byte placeholder: a picture of zero bytes
// cannot be told apart from a missing one, and N must stay positive.
QByteArray CodificarZPR(const JogoSalvo& jogo);
ResultadoZPR DecodificarZPR(const QByteArray& bytes);

// "" on success; otherwise what went wrong, without the path. The previous file stays
// intact until the new one is complete.
QString GravarArquivoZPR(const QString& caminho, const JogoSalvo& jogo);
// Reads at most a saved game's largest size; anything else is refused before it is read.
ResultadoZPR LerArquivoZPR(const QString& caminho);

// The system's temporary folder, ending in "/".
QString CaminhoTemp();

// CaminhoTemp + "Tmp_" + tick count + the extension trimmed of spaces: the name an opened
// game's picture goes by. Nothing is written under it; the picture is decoded from the
// saved bytes. Characters that cannot stand in a file name ("/", "\", control
// characters) are replaced by "_": a stored extension is never a path.
QString GetTempFileName(const QString& extensao, int32_t ticks);

} // namespace zelpo
