#pragma once
// The main window: the application itself. It holds the game (a Partida, which owns the
// puzzle record and its state) and the player's options, and wires the parts that do the
// work by role: the board (Tabuleiro), which draws the client area and the pieces; the
// tray (Bandeja), its scroll bar and keys; the piece interactor (Interator), which turns
// presses, moves and releases into the game's steps. What is left here are the player's
// commands, as short procedures under the names they have always had: start-up, the
// menus, opening and saving (frmZelpo_arquivos.cpp), the copy of the game in play and
// the best times (frmZelpo_recuperacao.cpp), and leaving. The menus, the clock and the
// message line follow the game's state after every step.
//
// Tests drive the window as a player does: through its actions (found by object name:
// mnuJogoNovo, mnuJogoAbrir, mnuJogoSalvar0, mnuJogoSalvar1, mnuJogoVisualizar,
// mnuJogoReiniciar, mnuJogoSair, mnuAjudaComoJogar, mnuAjudaAutor, mnuAjudaRecordes),
// mouse and key events,
// and the hooks of the dialogs and message boxes; they read the game through partida()
// and wait for the copy of the game on disk with ConcluirCopia().

#include "files/pastas.h"
#include "game/partida.h"
#include "game/salvaguarda.h"
#include "records/aleatorio.h"
#include "records/jogo.h"

#include <QImage>
#include <QMainWindow>

#include <array>
#include <functional>
#include <optional>

class QAction;
class QMenu;
class QTimer;

namespace zelpo {

class Bandeja;
class Interator;
class Som;
class Tabuleiro;
struct PecasMontadas;

// What the window takes from its surroundings; tests replace each part.
struct Ambiente {
    QString pastaPrograma;                 // holds the Facil/, Medio/ and Dificil/ folders
    std::optional<uint64_t> semente;       // fixed: the generator is never reseeded from the clock
    std::function<int32_t()> ticks;        // milliseconds since boot; ContagemTicks when empty
    QString arquivoConfiguracao;           // the settings file; the user's own when empty
    bool associar = true;                  // register the .zpr type on a start without a file
    bool tipoDoSistema = false;            // the system holds it: only drop the player's orphaned one
    QString programa;                      // the running executable, for the association
    QString icone;                         // the program's icon (a file or a theme name)
    QString pastaRecuperacao;              // copies of games in play; the user's state folder when empty
    QString arquivoRecordes;               // the best times; the user's data folder when empty

    int32_t Ticks() const;
    QString ArquivoConfiguracao() const;
    QString ArquivoRecordes() const;
    QString PastaRecuperacao() const;
};

// The caption of a window with no game file: the maker, " - " and the title.
QString LegendaDoProduto();
// The caption of a window whose game is the file `arquivo`: "Zelpora 3.0 - [path]".
QString TituloDoJogo(const QString& arquivo);

class frmZelpo : public QMainWindow {
    Q_OBJECT
public:
    explicit frmZelpo(Ambiente ambiente, QWidget* pai = nullptr);
    ~frmZelpo() override;

    // Start-up after construction: shows the window, then opens the command-line path
    // or starts a random game.
    void Iniciar(const QString& linhaDeComando);

    const Partida& partida() const { return partida_; }
    const Opcoes& opcoes() const { return opcoes_; }
    Tabuleiro& tabuleiro() const { return *tela_; }

    // The desktop session is ending: the game in play is on disk when this returns.
    void GravarCopia();
    // The program is ended from outside: the game in play is kept for the next start, and
    // the program closes without a question.
    void EncerrarPorSinal();
    // The copy of the game in play, brought up to date with the last command and written.
    void ConcluirCopia();

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private Q_SLOTS:
    void tmrHora_Timer();

private:
    enum class ResultadoSalvar { Salvo, Cancelado, Falhou };

    // start-up, the state, the menus, leaving
    void CriarMenus();
    void CriarControles();
    void PosicionarJanela();
    void AplicarEstado();
    void AplicarOpcoes(const Opcoes& opcoes);
    void mnuJogoNovo_Click();
    void mnuJogoAbrir_Click();
    ResultadoSalvar mnuJogoSalvar_Click(int Index);
    void mnuJogoVisualizar_Click();
    void mnuJogoReiniciar_Click();
    void mnuAjudaRecordes_Click();
    bool Form_Unload();
    void Form_KeyDown(int tecla, Qt::KeyboardModifiers shift);

    // a puzzle's life
    void NovoJogo();
    void FormarDaFigura(const QString& arquivo);
    void Mostrar(PecasMontadas pecas, QImage miniatura);
    void AreaDeJogo();
    void IniciarJogo();
    void ReiniciarJogo();
    void Redesenhar();
    void LimparTela();
    void AoJogar(Jogada jogada);

    // files
    void AbrirJogo(QString P_Arquivo);
    void MostrarSalvo(const QString& arquivoJogo, const QString& arquivoFigura, JogoSalvo salvo);

    // the copy of the game in play, taking it back, best times
    void AtualizarCopia();
    bool OferecerRecuperacao();
    void RegistrarRecorde();

    Ambiente amb_;
    Partida partida_;
    Salvaguarda salvaguarda_;
    Opcoes opcoes_;
    Aleatorio rnd_;
    ListaArquivos fileImagem_;
    QImage picPreview_;     // the thumbnail of the puzzle in play
    QString textoRecorde_;  // the message line of a complete puzzle

    Tabuleiro* tela_ = nullptr;
    Bandeja* bandeja_ = nullptr;
    Interator* interator_ = nullptr;
    QTimer* tmrHora_ = nullptr;
    QTimer* tmrCopia_ = nullptr; // brings the copy up to date once a command is over
    Som* som_ = nullptr;
    std::array<QAction*, 2> mnuJogoSalvar_{};
    QAction* mnuJogoVisualizar_ = nullptr;
    QAction* mnuJogoReiniciar_ = nullptr;
    bool fechando_ = false;
    bool somPreparado_ = false;
};

} // namespace zelpo
