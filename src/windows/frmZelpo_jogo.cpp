// The life of one puzzle: clearing the screen, a new game from a random picture, cutting
// the picture into shaped pieces, starting play and restarting.
#include "frmZelpo.h"

#include "Mensagem.h"
#include "PecaWidget.h"
#include "Superficie.h"
#include "files/arquivos.h"
#include "pictures/figura.h"

#include <QScrollBar>

namespace zelpo {

void frmZelpo::NovoJogo()
{
    const QString pasta = PastaDaDificuldade(amb_.pastaPrograma, modulo_.opcoes.Dificuldade);
    fileImagem_.Path = pasta;
    const QString erro = fileImagem_.Refresh();
    if (!erro.isEmpty()) {
        MostrarMensagem(this, QMessageBox::Warning, QStringLiteral("Erro"), ComCaminho(erro, pasta));
        return;
    }
    if (fileImagem_.ListCount() == 0) {
        MostrarMensagem(this, QMessageBox::Information, QStringLiteral("Novo"),
                        ComCaminho(QStringLiteral("Não foi encontrada nenhuma figura na pasta abaixo:"), pasta));
        return;
    }
    CursorEspera espera;
    LimparTela();
    FormarDaFigura(pasta + fileImagem_.List(EscolherFigura(fileImagem_.ListCount(), rnd_)));
}

// A new puzzle from a picture file: read, cut, random state, pieces, play.
void frmZelpo::FormarDaFigura(const QString& arquivo)
{
    const Leitura lida = LerArquivo(arquivo, TAMANHO_MAXIMO_FIGURA);
    partida_.NovaFigura(arquivo, lida.bytes, modulo_.opcoes);
    AbrirImagem(arquivo, lida.bytes, lida.erro, std::nullopt);
    SortearPartes();
    ColarImagens();
    MontarJogo();
}

void frmZelpo::SortearPartes()
{
    if (!amb_.semente)
        rnd_.SemearPeloRelogio();
    partida_.SortearPartes(rnd_);
    setWindowTitle(LegendaDoProduto());
}

void frmZelpo::IniciarJogo()
{
    partida_.IniciarJogo(Ticks());
    const JogoSalvo& j = partida_.Jogo();
    if (j.PartesNaRolagem == 0) {
        ExibirHora(j.SegundosJogo);
        return;
    }
    TextoPartesIniciais();
    AtualizarRolagem();
    if (j.PartesRolagem[0] != VAZIO)
        picParte_[j.PartesRolagem[0]]->setFocus();
    tmrHora_Timer();
}

void frmZelpo::ReiniciarJogo()
{
    tela_->repaint();
    vsbPartes_->setEnabled(false);
    for (int i = 0; i < partida_.Jogo().Pecas(); ++i)
        picParte_[i]->hide();
    partida_.Reiniciar();
    AreaDeJogo(); // erases the pasted pieces
    tela_->repaint();
    IniciarJogo();
}

void frmZelpo::LimparTela()
{
    for (PecaWidget* peca : picParte_) {
        peca->hide();
        peca->setGeometry(0, 0, 8, 8);
        peca->Limpar();
    }
    partida_.LimparTela();
    textoRecorde_.clear();
    TextoPartesIniciais();
    arrasto_ = Arrasto();
    vsbPartes_->setEnabled(false);
    ExibirHora(0);
    tela_->repaint();
}

// `bytes` is the picture file's content, or `erroLeitura` says why it could not be read.
// A saved game brings its grid, and names its own file in the message of a bad picture.
void frmZelpo::AbrirImagem(const QString& P_Arquivo, const QByteArray& bytes, const QString& erroLeitura,
                           std::optional<QSize> gradeSalva)
{
    const JogoSalvo& j = partida_.Jogo();
    vsbPartes_->setPageStep(j.Geo().LinhasRolagem);
    Opcoes corteOpcoes = modulo_.opcoes; // the border colour is the player's; the rest, the game's
    corteOpcoes.Pequenas = j.Pequenas;
    corteOpcoes.Adaptar = j.Adaptar;

    const bool metarquivo = EhMetarquivo(P_Arquivo);
    ResultadoFigura lida = erroLeitura.isEmpty() ? CarregarFiguraDeBytes(bytes, AjusteDaFigura(corteOpcoes, metarquivo))
                                                 : ResultadoFigura{{}, erroLeitura};
    QImage imagem;
    if (lida.figura) {
        imagem = std::move(lida.figura->imagem);
    } else {
        const QString& dono = partida_.SessaoAtual().ArquivoJogo;
        QString motivo = lida.erro;
        if (!motivo.isEmpty())
            motivo[0] = motivo[0].toUpper();
        MostrarMensagem(this, QMessageBox::Information, QStringLiteral("Figura inválida"),
                        ComCaminho(motivo, dono.isEmpty() ? P_Arquivo : dono));
        imagem = FiguraInvalida(); // the player gets a puzzle of those words
    }

    corte_ = CortarFigura(imagem, metarquivo, corteOpcoes, gradeSalva);
    partida_.Cortada(corte_.Colunas, corte_.Linhas, corte_.TopoTabuleiro, corte_.EsquerdaTabuleiro);
    PintarMiniatura(picPreview_, corte_);
    AreaDeJogo();
    tela_->update();
}

void frmZelpo::ColarImagens()
{
    const JogoSalvo& j = partida_.Jogo();
    const Geometria g = j.Geo();
    pecas_ = PecasMontadas();
    pecas_.figuras = QuadradosDasPecas(corte_.canvas, j.Colunas, j.Linhas, g);
    for (int r = 0; r < j.Linhas; ++r)
        for (int c = 0; c < j.Colunas; ++c) {
            PecaWidget* peca = picParte_[j.Colunas * r + c];
            peca->setGeometry(0, 0, g.TamanhoCelula, g.TamanhoCelula);
            peca->raise();
        }
    corte_ = Corte();
}

void frmZelpo::MontarJogo()
{
    const JogoSalvo& j = partida_.Jogo();
    MontarPecas(pecas_, j.Partes, j.Colunas, j.Linhas, j.Geo());
    for (int i = 0; i < j.Pecas(); ++i) {
        picParte_[i]->DefinirFigura(std::move(pecas_.figuras[i]));
        picParte_[i]->setMask(pecas_.formas[i]);
    }
    picMask_ = std::move(pecas_.mascara);
    pecas_ = PecasMontadas();
    IniciarJogo();
}

} // namespace zelpo
