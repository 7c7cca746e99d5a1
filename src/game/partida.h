#pragma once
// The game in play: the one owner of the puzzle record, its session and the state of the
// game, and the rules of every command the player gives. The main window turns events
// into these commands and their results into pixels and sounds; it never writes the
// record itself. Qt Core and Gui only, so tests drive it without a window.
//
// States: no game (nothing loaded, or the screen was cleared), choosing the starting
// pieces, playing, complete. A puzzle is loaded from the moment play starts
// (IniciarJogo) until the screen is cleared; while it is formed the state stays "no
// game". After every command that may change the state, the observer is called, so the
// window can set its menus and its clock from Estado() and nothing else.
//
// A new puzzle from a picture:  LimparTela, NovaFigura, Cortada, SortearPartes, IniciarJogo.
// A saved game:                 LimparTela, AbrirSalvo, Cortada, IniciarJogo.
// A drop:                       VerificarOK, then AtualizarRolagem.

#include "records/jogo.h"

#include <QPoint>

#include <functional>

namespace zelpo {

class Aleatorio;

enum class EstadoJogo { SemJogo, EscolhendoPecas, Jogando, Completo };

// The items of the Jogo menu that depend on the game; Novo, Abrir and Sair never do.
struct MenusJogo {
    bool Salvar = false;
    bool SalvarComo = false;
    bool Visualizar = false;
    bool Reiniciar = false;
    bool operator==(const MenusJogo&) const = default;
};
MenusJogo MenusPara(EstadoJogo estado);

class Partida {
public:
    void AoMudar(std::function<void()> observador) { observador_ = std::move(observador); }

    const JogoSalvo& Jogo() const { return jogo_; }
    const Sessao& SessaoAtual() const { return sessao_; }
    Geometria Geo() const { return jogo_.Geo(); }
    EstadoJogo Estado() const;
    // Choosing or playing: the clock runs and leaving the game asks to save it.
    bool EmJogo() const;

    // --- forming a puzzle -------------------------------------------------------------
    // No game until the next puzzle starts; the record and the session are emptied.
    void LimparTela();
    // A puzzle about to be cut from the picture file `arquivo` (a new game, or a picture
    // the player opened), with the bytes read from it ("" if it could not be read) and
    // the options that shape it.
    void NovaFigura(const QString& arquivo, QByteArray bytes, const Opcoes& opcoes);
    // A saved game accepted: its record replaces the game and its three options become
    // the player's. `arquivoFigura` is the name its picture goes by.
    void AbrirSalvo(const QString& arquivoJogo, const QString& arquivoFigura, JogoSalvo salvo,
                    Opcoes& opcoes);
    // The picture was cut: the grid and where the board stands in the window.
    void Cortada(int16_t colunas, int16_t linhas, int32_t topo, int32_t esquerda);
    // The random state of a new puzzle: edge codes, the deal, no time, no file.
    void SortearPartes(Aleatorio& rnd);
    // The pieces are ready: play starts, or resumes from the record's time.
    void IniciarJogo(int32_t ticks);

    // --- play -------------------------------------------------------------------------
    // Seconds played at this tick count. The tick count wraps after 24.8 days; the clock
    // then starts again from where it was rather than running backwards.
    int32_t Tique(int32_t ticks);
    // The piece dropped (or chosen) with its picture's top-left corner at `posicao`: true
    // when it fits, and it is then placed and out of its tray slot.
    bool VerificarOK(int16_t peca, QPoint posicao);
    // A starting piece was chosen.
    void ParteInicialEscolhida();
    // Closes the tray's gap; true when that emptied the tray: the puzzle is complete.
    bool AtualizarRolagem();
    // Back to the deal, same picture and edges.
    void Reiniciar();
    // The dealt list in grid order, for the next restart.
    void DistribuirEmOrdem();

    // --- saving -----------------------------------------------------------------------
    // The bytes of the picture the puzzle was cut from: the record's, or, for a game never
    // saved, those read when it was formed. The placeholder when neither was ever read.
    QByteArray BytesDaFigura() const;
    // The picture's bytes into the record, for a game never saved: those read when the
    // puzzle was formed, else the picture file read now. False when neither could be read:
    // the record then holds the two-byte placeholder.
    bool ImagemParaBytes();
    // The record was written whole to the saved game `caminho`.
    void Salvo(const QString& caminho);

private:
    void Mudou();

    JogoSalvo jogo_;
    Sessao sessao_;
    bool carregado_ = false;
    std::function<void()> observador_;
};

} // namespace zelpo
