#pragma once
// The copy of the game in play that the next start offers back when this program does
// not end the orderly way: a crash, a kill, the end of the desktop session, a power cut.
// It owns this program's copy (files/recuperacao.h) and decides when it is written and
// when it goes:
//  - while a game is in play (choosing the starting pieces or playing) a copy exists. Its
//    picture file is written once per picture; its state (a few kilobytes) is written
//    when play starts, again whenever anything but the clock changed (a fitted piece, a
//    starting piece, a restart, a new deal, a save under another name), and when the
//    clock alone has run INTERVALO_COPIA seconds past the copy;
//  - when the game leaves play (complete, or the screen cleared for another game or file)
//    the copy is deleted; so it is when the player leaves through the exit question, and
//    no copy is made after that;
//  - when the program is ended from outside, the copy is written one last time and waited
//    for, and no copy is made or deleted after that;
//  - a copy left behind that the player took back (Adotar) stays on disk until this
//    program's copy of the game is there, then goes; so a crash at any moment leaves
//    one or the other.
// The disk is left to a GravadorAssincrono, so a drop never waits on it. A copy that
// cannot be written, locked or given a folder is told once per run (TomarAviso). The main
// window calls Atualizar once its command is over, Tique with its clock, and the ends.

#include "files/gravador.h"
#include "files/recuperacao.h"
#include "records/jogo.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

class QLockFile;

namespace zelpo {

class Partida;

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

    // After a command: a copy of the game in play, up to date but for the clock; none
    // when no game is in play.
    void Atualizar(const Partida& partida);
    // The clock moved.
    void Tique(const Partida& partida);
    // The desktop session is ending: the copy, whole and current, on disk before returning.
    void GravarAgora(const Partida& partida);
    // The program is being ended from outside: as GravarAgora, and the copy is final.
    void Finalizar(const Partida& partida);
    // The player left the game the orderly way: the copy goes, and no other is made.
    void Descartar();
    // The copy left behind whose game the player took back: it goes once this program's
    // copy is on disk, or with it.
    void Adotar(CopiaDeixada copia);
    // Returns once the disk holds what was asked.
    void Esperar();
    // Why no copy can be kept ("Não foi possível guardar..." with the folder and the
    // reason), once per run: the first call after the first failure; nothing otherwise.
    std::optional<QString> TomarAviso();

    const QString& Pasta() const { return pasta_; }
    // This program's copy ("" until the first one is written).
    const QString& Arquivo() const { return arquivo_; }

private:
    // `emJogo`: a game is in play; `jogo`: its record, picture bytes included, with the
    // game's own file and its picture's.
    void Atualizar(bool emJogo, const JogoSalvo& jogo, const QString& arquivoJogo, const QString& arquivoFigura);
    void Tique(bool emJogo, const JogoSalvo& jogo, const QString& arquivoJogo, const QString& arquivoFigura);
    void GravarAgora(bool emJogo, const JogoSalvo& jogo, const QString& arquivoJogo, const QString& arquivoFigura);
    void Finalizar(bool emJogo, const JogoSalvo& jogo, const QString& arquivoJogo, const QString& arquivoFigura);
    // What the copy holds, but for the picture bytes and the clock (which has a rule of
    // its own).
    struct Marca {
        JogoSalvo jogo;
        QString arquivoJogo;
        QString arquivoFigura;
        bool operator==(const Marca&) const = default;
    };
    static Marca MarcaDe(const JogoSalvo& jogo, const QString& arquivoJogo, const QString& arquivoFigura);
    void Gravar(const JogoSalvo& jogo, const QString& arquivoJogo, const QString& arquivoFigura);
    void Apagar();
    bool PrepararArquivo();
    QString ArquivoDaFiguraDe(const QByteArray& bytes);
    // Deletions that wait for the next request to succeed, then the adopted copy's.
    void AcrescentarLimpeza(std::vector<OperacaoDeDisco>& operacoes);
    void ConferirLimpeza();
    void Avisar(const QString& motivo);

    QString pasta_;
    QString arquivo_;
    std::unique_ptr<QLockFile> trava_;
    std::optional<Marca> copia_; // none: there is no copy on disk
    int32_t segundosDaCopia_ = 0;
    bool encerrada_ = false;
    QString figura_;              // the picture file the copy's state names
    QByteArray bytesDaFigura_;    // the bytes last hashed, so that the hash is taken once
    QString figuraCalculada_;     // and the name they give
    QStringList aApagar_;         // files to delete once a request succeeds
    std::optional<CopiaDeixada> adotada_;
    uint64_t pedidoDaLimpeza_ = 0; // the first request that carries aApagar_ and adotada_
    std::optional<QString> aviso_;
    bool avisou_ = false;
    GravadorAssincrono gravador_; // last: it finishes its work before the locks are let go
};

} // namespace zelpo
