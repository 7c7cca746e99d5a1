#pragma once
// The copies of games in play that outlive the program: after a crash, a kill, the end of
// the desktop session or a power cut, the next start finds them here. They live in the
// user's state folder, one file per running program ("andamento-<time>-<pid>-<n>.zpr"),
// each with a lock file beside it ("<copy>.lock") that its program holds while it runs.
// A copy whose lock can be taken belongs to a program that is gone; a copy whose lock is
// held belongs to a program still running and is never offered nor deleted by another.
// So a game opened from the command line, or a second program, never overwrites the copy
// that a crashed program left for the next plain start.
//
// A copy is a saved game exactly as CodificarZPR writes it, picture bytes included,
// followed by one trailing record: the magic "ZPR REC ", then two texts, each a 32-bit
// little-endian byte count and UTF-8 bytes: the game's own ".zpr" file ("" when it never
// had one) and the picture file it was cut from. Game and names are replaced together in
// one write, so they never disagree; the saved-game reader refuses the trailing bytes, so
// a copy is never mistaken for a player's game, and only DecodificarRecuperacao reads it.
//
// Salvaguarda (game/salvaguarda.h) writes the copies; the main window looks for one left
// behind at a start without a file.

#include "records/jogo.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

class QLockFile;

namespace zelpo {

inline constexpr char MAGICA_RECUPERACAO[] = "ZPR REC "; // eight bytes, no terminator stored
inline constexpr int TAMANHO_MAGICA_RECUPERACAO = 8;
inline constexpr int MAIOR_NOME_RECUPERACAO = 16 * 1024; // bytes of one stored file name

struct Recuperacao {
    JogoSalvo jogo;
    QString arquivoJogo;   // the game's own .zpr; "" if it was never saved
    QString arquivoFigura; // the picture it was cut from, for a game never saved
    bool operator==(const Recuperacao&) const = default;
};

QByteArray CodificarRecuperacao(const Recuperacao& copia);
// Nothing unless the whole file is a game the saved-game reader accepts plus the record.
std::optional<Recuperacao> DecodificarRecuperacao(const QByteArray& bytes);

// $XDG_STATE_HOME/Brumas Vivas/Zelpora 3.0 ($HOME/.local/state/... when it is not set).
QString PastaRecuperacao();

// A name for this program's next copy in `pasta`, never the name of another's.
QString NovoArquivoDeCopia(const QString& pasta);
// The lock of a copy, taken now; nothing when another running program holds it.
std::unique_ptr<QLockFile> TravarCopia(const QString& arquivo);

// A copy left behind by a program no longer running, locked by this one until it is
// deleted or let go (when the object goes, the copy stays for a later start).
class CopiaDeixada {
public:
    CopiaDeixada(QString arquivo, Recuperacao dados, std::unique_ptr<QLockFile> trava);
    CopiaDeixada(CopiaDeixada&&) noexcept;
    CopiaDeixada& operator=(CopiaDeixada&&) noexcept;
    ~CopiaDeixada();

    const Recuperacao& Dados() const { return dados_; }
    Recuperacao& Dados() { return dados_; }
    const QString& Arquivo() const { return arquivo_; }
    void Apagar();

private:
    QString arquivo_;
    Recuperacao dados_;
    std::unique_ptr<QLockFile> trava_;
};

// The newest copy in `pasta` that no running program holds. Damaged copies met on the
// way are deleted without a word, and the next one is tried.
std::optional<CopiaDeixada> ProcurarRecuperacao(const QString& pasta);

} // namespace zelpo
