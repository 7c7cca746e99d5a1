#pragma once
// The best times, kept between runs: for each puzzle the five best, each with the moment
// it was made. A puzzle is its picture (a SHA-256 of the picture file's bytes), its grid,
// its piece size and its difficulty, so the same picture cut into another grid is another
// puzzle. Times rank by the clock; an equal time ranks after the one made before it.
//
// The table is one JSON file in the user's data folder, written whole through
// GravarArquivo under a lock file ("<table>.lock"), so that two programs finishing at once
// keep both times. A record that cannot be understood is skipped and the rest kept; a
// table that cannot be understood at all is moved aside under a dated ".danificado" name
// before a new one is begun, and the player is told. A table grown past MAIOR_TABELA
// keeps the puzzles played most recently, each with its best times. The main window
// registers the time of every completed puzzle and shows the table in frmRecordes.

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace zelpo {

inline constexpr int RECORDES_POR_QUEBRA_CABECA = 5;
inline constexpr int RECORDES_RECENTES = 10;
inline constexpr qint64 MAIOR_TABELA = 4 * 1024 * 1024;   // bytes a table is kept under
inline constexpr qint64 MAIOR_TABELA_LIDA = 4 * MAIOR_TABELA; // past this, a table is damaged
inline constexpr int ESPERA_TRAVA_RECORDES_MS = 5000;

struct Recorde {
    QString Chave;          // the puzzle
    int32_t Segundos = 0;
    QDateTime Data;         // when it was made, in UTC
    QString Nome;           // the picture's or the saved game's file name, for the list
    int16_t Dificuldade = 0;
    int16_t Colunas = 0;
    int16_t Linhas = 0;
    bool Pequenas = false;
    bool operator==(const Recorde&) const = default;
};

QString ChaveDoQuebraCabeca(const QByteArray& figura, int colunas, int linhas, bool pequenas, int dificuldade);

class TabelaRecordes {
public:
    // Enters a time: its place among its puzzle's best, 1 to 5; 0 when it is not among
    // them, and then it is not kept. A time that enters pushes out the sixth.
    int Registrar(const Recorde& recorde);
    // A puzzle's best, best first.
    std::vector<Recorde> Melhores(const QString& chave) const;
    // The newest records of every puzzle, newest first, at most RECORDES_RECENTES.
    std::vector<Recorde> Recentes() const;
    const std::vector<Recorde>& Todos() const { return recordes_; }

    QByteArray Codificar() const;
    // Nothing when the bytes are not a table of this program; its records that cannot be
    // read are left out.
    static std::optional<TabelaRecordes> Decodificar(const QByteArray& bytes);
    // Keeps, within about `bytes` of file, the puzzles whose newest time is newest; true
    // when any was dropped.
    bool Aparar(qint64 bytes);

private:
    void Podar();
    std::vector<Recorde> recordes_;
};

// $XDG_DATA_HOME/Brumas Vivas/Zelpora 3.0/recordes.json.
QString CaminhoRecordes();
// An empty table when there is none or it cannot be read.
TabelaRecordes LerRecordes(const QString& arquivo);
// "" on success; otherwise what went wrong, without the path.
QString GravarRecordes(const QString& arquivo, const TabelaRecordes& tabela);

struct ResultadoRecorde {
    int posicao = 0;       // as TabelaRecordes::Registrar
    QString erro;          // the table could not be read or written
    QString guardadaComo;  // where a damaged table was moved aside, to be told
};
// Reads the table, enters the time, and writes the table back when the time was kept.
ResultadoRecorde RegistrarRecorde(const QString& arquivo, const Recorde& recorde);

} // namespace zelpo
