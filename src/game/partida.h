#pragma once
// The game in play: the one owner of the puzzle record, its ties to the running program
// and the state of the game, and the rules of every step the player takes. The main
// window turns events into these commands and their results into pixels and sounds; it
// never writes the record itself. Qt Core and Gui only, so tests drive it without a window.
//
// States: no game (nothing loaded, or the screen was cleared), choosing the starting
// pieces, playing, complete. Each command is one step of the player's and tells the
// observer once, after the step is whole, so the window can set its menus, its clock and
// its message line from the state and nothing else.
//
// The puzzle itself is formed beforehand, in one call (game/formacao.h); Comecar and
// AbrirSalvo take its record.

#include "records/jogo.h"

#include <QPoint>
#include <QString>

#include <functional>

namespace zelpo {

enum class EstadoJogo { SemJogo, EscolhendoPecas, Jogando, Completo };

// What became of a piece the player picked up or dropped.
enum class Jogada {
    Recusada,  // nothing to do: no game in play, a placed piece, no such piece
    Segura,    // picked up: the player holds it
    Encaixada, // placed on the board
    DeVolta,   // dropped where it does not fit: back to its tray slot
    Completa,  // placed, and it was the last: the puzzle is complete
};

// The items of the Jogo menu that depend on the game; Novo, Abrir and Sair never do.
struct MenusJogo {
    bool Salvar = false;
    bool SalvarComo = false;
    bool Visualizar = false;
    bool Reiniciar = false;
    bool operator==(const MenusJogo&) const = default;
};
MenusJogo MenusPara(EstadoJogo estado);

// The puzzle's ties to the running program.
struct Sessao {
    QString ArquivoJogo;   // the .zpr it was opened from or last saved to; "" if never saved
    QString ArquivoFigura; // the picture it was cut from; "" when no game is loaded
    int32_t InicioRelogio = 0;
};

class Partida {
public:
    void AoMudar(std::function<void()> observador) { observador_ = std::move(observador); }

    const JogoSalvo& Jogo() const { return jogo_; }
    const Sessao& SessaoAtual() const { return sessao_; }
    Geometria Geo() const { return jogo_.Geo(); }
    EstadoJogo Estado() const;
    // Choosing or playing: the clock runs and leaving the game asks to save it.
    bool EmJogo() const;

    // --- the player's steps -------------------------------------------------------------
    // The screen is cleared: no game, until the next puzzle starts.
    void Limpar();
    // A new puzzle, formed from the picture `arquivoFigura`, starts: the clock at zero,
    // no file of its own yet.
    void Comecar(const QString& arquivoFigura, JogoSalvo formado, int32_t ticks);
    // A saved game resumes where it was left; `arquivoFigura` is the name its picture goes by.
    void AbrirSalvo(const QString& arquivoJogo, const QString& arquivoFigura, JogoSalvo salvo, int32_t ticks);
    // The player takes a loose piece. While the starting pieces are chosen, that places it.
    Jogada Pegar(int16_t peca);
    // The player lets go of the piece held, its picture's top-left corner at `posicao`.
    Jogada Soltar(int16_t peca, QPoint posicao);
    // Back to the deal, same picture and edges; the clock starts again from zero.
    void Reiniciar(int32_t ticks);
    // The dealt list in grid order, for the next restart.
    void DistribuirEmOrdem();
    // The game was written whole to the saved game `caminho`, which becomes its file.
    void Salvar(const QString& caminho);

    // Seconds played at this tick count. The tick count wraps after 24.8 days; the clock
    // then goes on from where it was rather than running backwards.
    int32_t Tique(int32_t ticks);
    // A game never saved whose picture could not be read when it was formed tries its
    // file again, before its first save. False when the picture is still missing: the
    // record then holds the two-byte placeholder.
    bool ImagemParaBytes();

private:
    void Iniciar(int32_t ticks);
    Jogada Encaixar(int16_t peca);
    bool Solta(int16_t peca) const;
    void Mudou();

    JogoSalvo jogo_;
    Sessao sessao_;
    bool carregado_ = false;
    std::function<void()> observador_;
};

} // namespace zelpo
