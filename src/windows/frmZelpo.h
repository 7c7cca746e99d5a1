#pragma once
// The main window: the application itself. It holds the game (a Partida, which owns the
// puzzle record and its state), the options shared with the dialogs, every piece widget,
// the tray's scroll bar, the clock and the menus. Its procedures keep the game's names
// and order of steps: they turn the player's events into the game's commands and the
// results into pixels and sounds; the rules live in the core folders. The menus and the
// clock follow the game's state after every command. The procedures are split by
// subsystem: start-up, menus and exit here; new game and the cut in frmZelpo_jogo.cpp;
// tray, keys and dragging in frmZelpo_bandeja.cpp; board drawing and clock in
// frmZelpo_desenho.cpp; saving and opening in frmZelpo_arquivos.cpp; the copy of the
// game in play, the offer to take it back and the best times in frmZelpo_recuperacao.cpp.
//
// Tests drive the window as a player does: through its actions (found by object name:
// mnuJogoNovo, mnuJogoAbrir, mnuJogoSalvar0, mnuJogoSalvar1, mnuJogoVisualizar,
// mnuJogoReiniciar, mnuJogoSair, mnuAjudaAutor, mnuAjudaRecordes), mouse and key events,
// and the hooks of the dialogs and message boxes; they read the game through partida()
// and wait for the copy of the game on disk with ConcluirCopia().

#include "records/aleatorio.h"
#include "records/jogo.h"
#include "files/pastas.h"
#include "play/novojogo.h"
#include "game/partida.h"
#include "game/salvaguarda.h"
#include "pieces/corte.h"
#include "pieces/formas.h"

#include <QImage>
#include <QMainWindow>

#include <array>
#include <functional>
#include <optional>

class QAction;
class QMimeData;
class QLabel;
class QMenu;
class QScrollBar;
class QTimer;
class QWheelEvent;

namespace zelpo {

class PecaWidget;
class Som;
class Superficie;

// What the window takes from its surroundings; tests replace each part.
struct Ambiente {
    QString pastaPrograma;                 // holds the Facil/, Medio/ and Dificil/ folders
    std::optional<uint64_t> semente;       // fixed: the generator is never reseeded from the clock
    std::function<int32_t()> ticks;        // milliseconds since boot; ContagemTicks when empty
    QString arquivoConfiguracao;           // the settings file; the user's own when empty
    bool associar = true;                  // register the .zpr type on a start without a file
    QString programa;                      // the running executable, for the association
    QString icone;                         // the program's icon (a file or a theme name)
    QString pastaRecuperacao;              // copies of games in play; the user's state folder when empty
    QString arquivoRecordes;               // the best times; the user's data folder when empty
};

class frmZelpo : public QMainWindow {
    Q_OBJECT
public:
    explicit frmZelpo(Ambiente ambiente, QWidget* pai = nullptr);
    ~frmZelpo() override;

    // Start-up after construction: shows the window, then opens the command-line path
    // or starts a random game.
    void Iniciar(const QString& linhaDeComando);

    const Partida& partida() const { return partida_; }

    // The desktop session is ending: the game in play is on disk when this returns.
    void GravarCopia();
    // The program is ended from outside: the game in play is kept for the next start, and
    // the program closes without a question.
    void EncerrarPorSinal();
    // The copy of the game in play, brought up to date with the last command and written.
    void ConcluirCopia();
    const Opcoes& opcoes() const { return modulo_.opcoes; }

    static QString LegendaDoProduto();
    static QFont FonteJanela();

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private Q_SLOTS:
    void tmrHora_Timer();

private:
    // The state of a drag in progress: the piece held and where it was taken.
    struct Arrasto {
        int16_t ParteArrastada = -1;
        int32_t PegaX = 0;
        int32_t PegaY = 0;
    };
    enum class ResultadoSalvar { Salvo, Cancelado, Falhou };

    // start-up, menus, exit
    void CriarMenus();
    void CriarControles();
    void DesenharMoldura();
    void PosicionarJanela();
    void AplicarEstado();
    void mnuJogoNovo_Click();
    void mnuJogoAbrir_Click();
    ResultadoSalvar mnuJogoSalvar_Click(int Index);
    void mnuJogoVisualizar_Click();
    void mnuJogoReiniciar_Click();
    void mnuJogoSair_Click();
    void mnuAjudaAutor_Click();
    void mnuAjudaRecordes_Click();
    bool Form_Unload();

    // new game and the cut
    void NovoJogo();
    void FormarDaFigura(const QString& arquivo);
    void SortearPartes();
    void IniciarJogo();
    void ReiniciarJogo();
    void LimparTela();
    void AbrirImagem(const QString& P_Arquivo, const QByteArray& bytes, const QString& erroLeitura,
                     std::optional<QSize> gradeSalva);
    void ColarImagens();
    void MontarJogo();

    // tray, keys, dragging
    void Rolagem(int P_Value);
    void AtualizarRolagem();
    void vsbPartes_Change();
    void Form_KeyDown(int tecla, Qt::KeyboardModifiers shift);
    void picParte_MouseDown(int16_t Index, QPointF ponto);
    void Form_MouseMove(Qt::MouseButtons botoes, QPoint ponto);
    void Form_MouseUp();
    void Form_Wheel(QWheelEvent* evento);
    void VerificarOK();
    void ParteOk(int16_t P_Index);
    void ExibirPartesOK();

    // board drawing and clock
    void TextoPartesIniciais();
    void DesenharArea(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2);
    void AreaInicial();
    void AreaDeJogo();
    void ExibirHora(int32_t P_Segundos);

    // files
    void AbrirJogo(QString P_Arquivo);
    static QString ArquivoSolto(const QMimeData* dados);
    static QString NomeDeExibicao(const QString& caminho);
    bool SalvarZPR(const QString& caminho);
    void ImagemParaBytes();
    bool BytesParaImagem(const QString& P_Arquivo);
    QString PedirNomeArquivo(const QString& P_Filter, bool P_SalvarComo);
    void AtualizarLegenda(const QString& arquivo);
    void MostrarSalvo(const QString& arquivoJogo, const QString& arquivoFigura, JogoSalvo salvo);

    // the copy of the game in play, taking it back, best times
    void CriarSalvaguarda();
    void AtualizarCopia();
    bool OferecerRecuperacao();
    void RegistrarRecorde();
    QString ArquivoRecordes() const;

    int32_t Ticks() const;
    QString ArquivoConfiguracao() const;

    Ambiente amb_;
    Partida partida_;
    Salvaguarda salvaguarda_;
    ModuloZelpo modulo_;
    Arrasto arrasto_;
    Aleatorio rnd_;
    ListaArquivos fileImagem_;

    // caches rebuilt with every puzzle
    Corte corte_;             // the canvas, from the cut until the pieces are filled
    PecasMontadas pecas_;     // the piece pictures, from the fill until they are shaped
    QImage picMask_;
    QImage picPreview_;
    QString textoRecorde_;    // the message line of a complete puzzle

    // controls
    Superficie* tela_ = nullptr;
    std::array<PecaWidget*, MAX_PECAS> picParte_{};
    QScrollBar* vsbPartes_ = nullptr;
    QLabel* picHora_ = nullptr;
    QTimer* tmrHora_ = nullptr;
    QTimer* tmrCopia_ = nullptr; // brings the copy up to date once a command is over
    Som* som_ = nullptr;
    QMenu* mnuJogo_ = nullptr;
    QAction* mnuJogoNovo_ = nullptr;
    QAction* mnuJogoAbrir_ = nullptr;
    std::array<QAction*, 2> mnuJogoSalvar_{};
    QAction* mnuJogoVisualizar_ = nullptr;
    QAction* mnuJogoReiniciar_ = nullptr;
    QAction* mnuJogoSair_ = nullptr;
    QAction* mnuAjudaAutor_ = nullptr;
    QAction* mnuAjudaRecordes_ = nullptr;
    bool fechando_ = false;
};

} // namespace zelpo
