#pragma once
// The main window: the application itself. It owns the game record, the options shared
// with the dialogs, every piece widget, the tray's scroll bar, the clock and the menus,
// and runs the life of a puzzle from a new picture or an opened file to the last piece.
// Its procedures keep the game's names and order of steps; the rules they apply live in
// the core folders (game, pieces, play, files). The procedures are split by subsystem:
// start-up, menus and exit here; new game in frmZelpo_jogo.cpp; tray and dragging in
// frmZelpo_bandeja.cpp; board drawing and clock in frmZelpo_desenho.cpp; saving and
// opening in frmZelpo_arquivos.cpp.

#include "game/aleatorio.h"
#include "game/jogo.h"
#include "game/novojogo.h"

#include <QImage>
#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QLabel;
class QMenu;
class QScrollBar;
class QSettings;
class QTimer;

namespace zelpo {

class PecaWidget;
class Som;
class Superficie;

// What the window takes from its surroundings; tests replace each part.
struct Ambiente {
    QString pastaPrograma;                 // holds the Facil/, Medio/ and Dificil/ folders
    std::optional<uint64_t> semente;       // fixed: the generator is never reseeded from the clock
    std::function<int32_t()> ticks;        // milliseconds since boot; ContagemTicks when empty
    std::function<std::unique_ptr<QSettings>()> configuracao; // the per-user store
    bool associar = true;                  // register the .zpr type on a start without a file
    QString programa;                      // the running executable, for the association
    QString icone;                         // the program's icon (a file or a theme name)
};

// The state of a drag in progress.
struct Arrasto {
    int16_t ParteArrastada = -1;
    int32_t PegaX = 0;
    int32_t PegaY = 0;
};

class frmZelpo : public QMainWindow {
    Q_OBJECT
public:
    explicit frmZelpo(Ambiente ambiente, QWidget* pai = nullptr);
    ~frmZelpo() override;

    // Start-up after the window is shown: the command-line path, or a random game.
    void Iniciar(const QString& linhaDeComando);

    // --- game state, read by tests and the dialogs -----------------------------------
    Jogo jogo;
    ModuloZelpo modulo;
    Geometria geo;
    Arrasto arrasto;
    Aleatorio rnd;

    // --- controls --------------------------------------------------------------------
    Superficie* superficie() const { return tela_; }
    PecaWidget* picParte(int i) const { return picParte_[i]; }
    QScrollBar* vsbPartes = nullptr;
    QLabel* picHora = nullptr;
    QTimer* tmrHora = nullptr;
    QImage picMask;
    QImage picPreview;
    ListaArquivos fileImagem;
    Som* som = nullptr;

    // --- menus -----------------------------------------------------------------------
    QMenu* mnuJogo = nullptr;
    QAction* mnuJogoNovo = nullptr;
    QAction* mnuJogoAbrir = nullptr;
    std::array<QAction*, 2> mnuJogoSalvar{};
    QAction* mnuJogoVisualizar = nullptr;
    QAction* mnuJogoReiniciar = nullptr;
    QAction* mnuJogoSair = nullptr;
    QMenu* mnuAjuda = nullptr;
    QAction* mnuAjudaAutor = nullptr;

    // --- procedures ------------------------------------------------------------------
    void mnuJogo_Click();
    void mnuJogoNovo_Click();
    void mnuJogoAbrir_Click();
    void mnuJogoSalvar_Click(int Index);
    void mnuJogoVisualizar_Click();
    void mnuJogoReiniciar_Click();
    void mnuJogoSair_Click();
    void mnuAjudaAutor_Click();

    void NovoJogo();
    void SortearPartes();
    void IniciarJogo();
    void ReiniciarJogo();
    void LimparTela();
    void AbrirImagem(const QString& P_Arquivo);
    void ColarImagens();
    void MontarJogo();

    void Rolagem(int P_Value);
    void AtualizarRolagem();
    void RemoverParteRolagem(int16_t P_Index);
    void vsbPartes_Change();
    void vsbPartes_Scroll();
    void Form_KeyDown(int tecla, Qt::KeyboardModifiers shift);

    void picParte_MouseDown(int16_t Index, Qt::MouseButton botao, Qt::KeyboardModifiers shift, QPointF ponto);
    void Form_MouseMove(Qt::MouseButtons botoes, Qt::KeyboardModifiers shift, QPoint ponto);
    void Form_MouseUp(Qt::MouseButton botao, Qt::KeyboardModifiers shift, QPoint ponto);
    void VerificarOK();
    void ParteOk(int16_t P_Index);
    void ExibirPartesOK();

    void TextoPartesIniciais();
    void DesenharArea(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2);
    void AreaInicial();
    void AreaDeJogo();
    void ExibirHora(int32_t P_Segundos);
    void tmrHora_Timer();

    void AbrirJogo(QString P_Arquivo);
    static QString NomeDeExibicao(const QString& caminho);
    bool LerZPR();
    bool SalvarZPR();
    void ImagemParaBytes();
    bool BytesParaImagem(const QString& P_Arquivo);
    QString GetTempFileName() const;
    QString PedirNomeArquivo(const QString& P_Filter, bool P_SalvarComo);

    static QString LegendaDoProduto();
    QFont FonteJanela() const;

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void CriarMenus();
    void CriarControles();
    void DesenharMoldura();
    bool Form_Unload();
    void AtualizarLegenda();
    int32_t Ticks() const;
    std::unique_ptr<QSettings> Configuracao() const;
    void PosicionarJanela();

    Ambiente amb_;
    Superficie* tela_ = nullptr;
    std::array<PecaWidget*, MAX_PECAS> picParte_{};
    QImage picResize_; // the canvas, from the cut until the pieces are filled
    bool fechando_ = false;
};

} // namespace zelpo
