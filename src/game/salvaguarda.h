#pragma once
// The copy of the game in play that the next start offers back when this program does
// not end the orderly way: a crash, a kill, the end of the desktop session, a power cut.
// It owns this program's copy file (files/recuperacao.h) and decides when it is written
// and when it goes:
//  - while a game is in play (choosing the starting pieces or playing) a copy exists. It
//    is written when play starts, again whenever anything but the clock changed (a fitted
//    piece, a starting piece, a restart, a new deal, a save under another name), and when
//    the clock alone has run INTERVALO_COPIA seconds past the copy;
//  - when the game leaves play (complete, or the screen cleared for another game or file)
//    the copy is deleted; so it is when the player leaves through the exit question, and
//    no copy is made after that;
//  - when the program is ended from outside, the copy is written one last time and waited
//    for, and no copy is made or deleted after that.
// The record is encoded on the calling thread, which costs a copy of the picture bytes;
// the disk is left to a GravadorAssincrono, so a drop never waits on it. The main window
// calls Atualizar once its command is over, Tique with its clock, and the ends.

#include "files/gravador.h"
#include "records/jogo.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

class QLockFile;

namespace zelpo {

class Partida;
struct Recuperacao;

inline constexpr int32_t INTERVALO_COPIA = 30; // seconds of play a copy may fall behind

// The record as the copy carries it: with the picture's bytes even if never saved.
Recuperacao RecuperacaoDe(const Partida& partida);

class Salvaguarda {
public:
    // `pasta`: where the copies live (PastaRecuperacao() for the player's own).
    explicit Salvaguarda(QString pasta);
    // Waits for the writes under way; the copy stays, and its lock is released.
    ~Salvaguarda();
    Salvaguarda(const Salvaguarda&) = delete;
    Salvaguarda& operator=(const Salvaguarda&) = delete;

    // After a command: a copy of a game in play, up to date but for the clock; none otherwise.
    void Atualizar(const Partida& partida);
    // The clock moved.
    void Tique(const Partida& partida);
    // The desktop session is ending: the copy, whole and current, on disk before returning.
    void GravarAgora(const Partida& partida);
    // The program is being ended from outside: as GravarAgora, and the copy is final.
    void Finalizar(const Partida& partida);
    // The player left the game the orderly way: the copy goes, and no other is made.
    void Descartar();
    // Returns once the disk holds what was asked.
    void Esperar();

    const QString& Pasta() const { return pasta_; }
    // This program's copy ("" until the first one is written).
    const QString& Arquivo() const { return arquivo_; }

private:
    // What the copy holds, but for the picture (fixed for a game) and the clock (which has
    // a rule of its own).
    struct Marca {
        JogoSalvo jogo;
        QString arquivoJogo;
        bool operator==(const Marca&) const = default;
    };
    static Marca MarcaDe(const Partida& partida);
    void Gravar(const Partida& partida);
    void Apagar();

    QString pasta_;
    QString arquivo_;
    std::unique_ptr<QLockFile> trava_;
    std::optional<Marca> copia_; // none: there is no copy on disk
    int32_t segundosDaCopia_ = 0;
    bool encerrada_ = false;
    GravadorAssincrono gravador_; // last: it finishes its work before the lock is let go
};

} // namespace zelpo
