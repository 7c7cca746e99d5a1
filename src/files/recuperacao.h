#pragma once
// The copies of games in play that outlive the program: after a crash, a kill, the end of
// the desktop session or a power cut, the next start finds them here. They live in the
// user's state folder, one copy per running program, each with a lock file beside it
// ("<copy>.lock") that its program holds while it runs. A copy whose lock can be taken
// belongs to a program that is gone; a copy whose lock is held belongs to a program still
// running and is never offered nor deleted by another. So a game opened from the command
// line, or a second program, never overwrites the copy that a crashed program left for
// the next plain start. A lock written on another machine cannot be checked for a live
// owner: it counts as left behind once it is a day old.
//
// A copy is two files. The state ("andamento-<time>-<pid>-<n>.zpr", a few kilobytes) is
// the saved game as CodificarZPR writes it with the two-byte placeholder for a picture,
// followed by one trailing record: the magic "ZPR REC2", then three texts, each a 32-bit
// little-endian byte count and UTF-8 bytes: the game's own ".zpr" file ("" when it never
// had one), the picture file it was cut from, and the name of the picture's file in the
// folder ("" for a game without picture bytes). That picture file
// ("<state>.<hash>.figura") holds the picture's bytes and is named after their SHA-256,
// so it is written once per picture and checked when read. The saved-game reader refuses
// the trailing bytes, so a copy is never mistaken for a player's game. Copies of the
// older, single-file layout (the whole game with its picture, then "ZPR REC " and two
// texts) are still read.
//
// Salvaguarda (game/salvaguarda.h) writes the copies; the main window looks for one left
// behind at a start without a file.

#include "records/jogo.h"

#include <QByteArray>
#include <QLockFile>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace zelpo {

inline constexpr char MAGICA_RECUPERACAO[] = "ZPR REC2"; // eight bytes, no terminator stored
inline constexpr char MAGICA_RECUPERACAO_ANTIGA[] = "ZPR REC ";
inline constexpr int TAMANHO_MAGICA_RECUPERACAO = 8;
inline constexpr int MAIOR_NOME_RECUPERACAO = 16 * 1024; // bytes of one stored file name
inline constexpr qint64 IDADE_TRAVA_ALHEIA_MS = 24LL * 3600 * 1000;

struct Recuperacao {
    JogoSalvo jogo;
    QString arquivoJogo;   // the game's own .zpr; "" if it was never saved
    QString arquivoFigura; // the picture it was cut from, for a game never saved
    bool operator==(const Recuperacao&) const = default;
};

// The state file of a copy whose picture is in the file `figura` of the same folder.
QByteArray CodificarEstado(const Recuperacao& copia, const QString& figura);
struct EstadoDaCopia {
    Recuperacao dados; // the picture bytes are the placeholder
    QString figura;    // "" for a game without picture bytes
};
std::optional<EstadoDaCopia> DecodificarEstado(const QByteArray& bytes);
// The name of the file that holds `bytes` as the picture of the copy `copia`.
QString ArquivoDaFigura(const QString& copia, const QByteArray& bytes);

// The older single-file layout. Nothing unless the whole file is a game the saved-game
// reader accepts plus the record.
QByteArray CodificarRecuperacao(const Recuperacao& copia);
std::optional<Recuperacao> DecodificarRecuperacao(const QByteArray& bytes);

// A copy on disk, of either layout, with its picture; nothing when it is damaged.
std::optional<Recuperacao> LerCopia(const QString& arquivo);
// The copy's files: its state and every picture file of it.
QStringList ArquivosDaCopia(const QString& arquivo);

// $XDG_STATE_HOME/Brumas Vivas/Zelpora 3.0 ($HOME/.local/state/... when it is not set).
QString PastaRecuperacao();

// A name for this program's next copy in `pasta`, never the name of another's.
QString NovoArquivoDeCopia(const QString& pasta);

// Taking the lock of a copy: taken; held by a running program; or the lock file cannot
// be made (a read-only folder), `erro` says why.
struct TravaDeCopia {
    std::unique_ptr<QLockFile> trava;
    bool emUso = false;
    QString erro;
};
TravaDeCopia TravarCopia(const QString& arquivo);

// A copy left behind by a program no longer running, locked by this one until it is
// deleted or let go (when the object goes, the copy stays for a later start). A copy in
// a folder where no lock can be made is offered without one.
class CopiaDeixada {
public:
    CopiaDeixada(QString arquivo, Recuperacao dados, std::unique_ptr<QLockFile> trava);
    CopiaDeixada(CopiaDeixada&&) noexcept;
    CopiaDeixada& operator=(CopiaDeixada&&) noexcept;
    ~CopiaDeixada();

    const Recuperacao& Dados() const { return dados_; }
    Recuperacao& Dados() { return dados_; }
    const QString& Arquivo() const { return arquivo_; }
    // The copy's files go, then its lock.
    void Apagar();
    // Lets the lock go, leaving the files.
    void Soltar();

private:
    QString arquivo_;
    Recuperacao dados_;
    std::unique_ptr<QLockFile> trava_;
};

// The newest copy in `pasta` that no running program holds. Damaged copies met on the
// way are deleted without a word, and the next one is tried.
std::optional<CopiaDeixada> ProcurarRecuperacao(const QString& pasta);

} // namespace zelpo
