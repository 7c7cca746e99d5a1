// Saving and opening: the Abrir and Salvar commands, the .zpr file and the picture it
// carries, and opening whatever the player names (a saved game or a picture).
#include "frmZelpo.h"

#include "CommonDialogCls.h"
#include "Mensagem.h"
#include "Tabuleiro.h"
#include "files/arquivos.h"
#include "files/zpr.h"
#include "frmGerar.h"
#include "game/formacao.h"
#include "records/produto.h"
#include "records/tipos.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>

namespace zelpo {

namespace {


// The file manager shows a file under its own name, so the display name is the path.
QString NomeDeExibicao(const QString& caminho)
{
    return QFileInfo(caminho).absoluteFilePath();
}

// One local file that Abrir would offer: a saved game or a picture; "" for anything else.
QString ArquivoSolto(const QMimeData* dados)
{
    if (!dados || !dados->hasUrls() || dados->urls().size() != 1 || !dados->urls().first().isLocalFile())
        return {};
    const QString caminho = dados->urls().first().toLocalFile();
    for (const QString& e : SufixosAbertos())
        if (caminho.endsWith(e, Qt::CaseInsensitive) && QFileInfo(caminho).isFile())
            return caminho;
    return {};
}

// A whole file written from `bytes` (a saved game, or the picture itself); a failure is
// told to the player with the file's name, and the old file stays as it was.
bool Gravar(QWidget* dono, const QString& caminho, const QByteArray& bytes)
{
    const QString erro = GravarArquivo(caminho, bytes);
    if (erro.isEmpty())
        return true;
    MostrarMensagem(dono, QMessageBox::Warning, QStringLiteral("Erro"), MensagemDeGravacao(caminho, erro));
    return false;
}

QString PedirNomeArquivo(const QString& P_Filter, bool P_SalvarComo, QWidget* dono)
{
    const QString nome = Dialogo().GetSaveName(P_SalvarComo ? QStringLiteral("Salvar como...") : QStringLiteral("Salvar"),
                                               P_Filter, QStringLiteral("zpr"), QStringLiteral("Zelpora"), dono);
    if (!nome.isEmpty())
        dono->repaint();
    return nome;
}

} // namespace

QString TituloDoJogo(const QString& arquivo)
{
    return QString::fromUtf8(TITULO_APLICACAO) + QStringLiteral(" - [") + arquivo + QLatin1Char(']');
}

void frmZelpo::mnuJogoAbrir_Click()
{
    const QString nome = Dialogo().GetOpenName(QStringLiteral("Abrir"), FiltroAbrir(), QString(), this);
    if (!nome.isEmpty())
        AbrirJogo(nome);
}

// Salvar (0) and Salvar como... (1). The game's file changes only once a save to it
// succeeded; a failed write leaves the game, its file and the caption as they were.
frmZelpo::ResultadoSalvar frmZelpo::mnuJogoSalvar_Click(int Index)
{
    if (partida_.Estado() == EstadoJogo::SemJogo)
        return ResultadoSalvar::Cancelado;
    tela_->repaint();
    if (partida_.SessaoAtual().ArquivoJogo.isEmpty() && !partida_.ImagemParaBytes())
        MostrarMensagem(this, QMessageBox::Warning, QStringLiteral("Erro"),
                        partida_.SessaoAtual().ArquivoFigura + QStringLiteral("\n\nFigura não encontrada!"));
    QString nome;
    if (Index == 0) {
        nome = partida_.SessaoAtual().ArquivoJogo;
        if (nome.isEmpty())
            nome = PedirNomeArquivo(FiltroJogo(), false, this);
        if (nome.isEmpty())
            return ResultadoSalvar::Cancelado;
    } else {
        nome = PedirNomeArquivo(FiltroSalvarComo(partida_.Jogo().ExtensaoFigura.trimmed()), true, this);
        if (nome.isEmpty())
            return ResultadoSalvar::Cancelado;
        if (!EhJogoSalvo(nome)) {
            // the picture itself, under the name the player gave; the game keeps its own file
            tela_->repaint();
            CursorEspera espera;
            return Gravar(this, nome, partida_.Jogo().BytesFigura) ? ResultadoSalvar::Salvo : ResultadoSalvar::Falhou;
        }
        tela_->repaint();
    }
    CursorEspera espera;
    if (!Gravar(this, nome, CodificarZPR(partida_.Jogo())))
        return ResultadoSalvar::Falhou;
    partida_.Salvar(nome);
    setWindowTitle(TituloDoJogo(nome));
    return ResultadoSalvar::Salvo;
}

void frmZelpo::dragEnterEvent(QDragEnterEvent* e)
{
    if (!ArquivoSolto(e->mimeData()).isEmpty())
        e->acceptProposedAction();
}

// A file dropped on the window opens as Abrir would open it, once the drop is over (the
// new-puzzle dialog must not run inside the drag).
void frmZelpo::dropEvent(QDropEvent* e)
{
    const QString caminho = ArquivoSolto(e->mimeData());
    if (caminho.isEmpty())
        return;
    e->acceptProposedAction();
    QTimer::singleShot(0, this, [this, caminho] { AbrirJogo(caminho); });
}

void frmZelpo::AbrirJogo(QString P_Arquivo)
{
    if (!EhJogoSalvo(P_Arquivo)) {
        const std::optional<Opcoes> escolhidas = SelecionarDificuldade(opcoes_, this);
        if (!escolhidas)
            return;
        AplicarOpcoes(*escolhidas);
        CursorEspera espera;
        LimparTela();
        FormarDaFigura(P_Arquivo);
        return;
    }

    CursorEspera espera;
    P_Arquivo = NomeDeExibicao(P_Arquivo);
    LimparTela();
    setWindowTitle(TituloDoJogo(P_Arquivo));
    // LerZPR: the file is read and checked whole before anything of it is used.
    ResultadoZPR lido = LerArquivoZPR(P_Arquivo);
    if (!lido.jogo) {
        tela_->AreaInicial();
        const QString motivo = lido.versaoIncorreta ? QStringLiteral("Versão incorreta do zelpora!") : lido.erro;
        MostrarMensagem(this, QMessageBox::Information, QString::fromUtf8(TITULO_APLICACAO),
                        P_Arquivo + QStringLiteral("\n\n") + motivo);
        return;
    }
    // The picture goes by a temporary name, the sign that a game is loaded.
    const QString figura = GetTempFileName(lido.jogo->ExtensaoFigura, amb_.Ticks());
    MostrarSalvo(P_Arquivo, figura, std::move(*lido.jogo));
}

// A saved game accepted whole takes the place of the game: its options become the
// player's, its picture is cut on its grid, its pieces shaped, the placed ones pasted,
// and play resumes where it was left.
void frmZelpo::MostrarSalvo(const QString& arquivoJogo, const QString& arquivoFigura, JogoSalvo salvo)
{
    Opcoes opcoes = opcoes_;
    static_cast<OpcoesJogo&>(opcoes) = salvo;
    AplicarOpcoes(opcoes);
    QuebraCabeca qc = FormarSalvo(std::move(salvo), opcoes_.BorderColor, tela_->Escala());
    if (!qc.recusa.isEmpty())
        MostrarMensagem(this, QMessageBox::Information, QStringLiteral("Figura inválida"),
                        ComCaminho(qc.recusa, arquivoJogo.isEmpty() ? arquivoFigura : arquivoJogo));
    partida_.AbrirSalvo(arquivoJogo, arquivoFigura, std::move(qc.jogo), amb_.Ticks());
    Mostrar(std::move(qc.pecas), std::move(qc.miniatura));
}

} // namespace zelpo
