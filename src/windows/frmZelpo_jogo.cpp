// The life of one puzzle: clearing the screen, a new game from a random picture, cutting
// the picture into shaped pieces, starting play and restarting.
#include "frmZelpo.h"

#include "Mensagem.h"
#include "PecaWidget.h"
#include "Superficie.h"
#include "pieces/corte.h"
#include "pieces/figura.h"
#include "pieces/formas.h"
#include "play/encaixe.h"
#include "play/relogio.h"

#include <QScrollBar>
#include <QTimer>

namespace zelpo {

void frmZelpo::NovoJogo()
{
    const QString pasta = PastaDaDificuldade(amb_.pastaPrograma, modulo.opcoes.Dificuldade);
    fileImagem.Path = pasta;
    const QString erro = fileImagem.Refresh();
    if (!erro.isEmpty()) {
        MostrarMensagem(this, QMessageBox::Warning, QStringLiteral("Erro"), ComCaminho(erro, pasta));
        return;
    }
    if (fileImagem.ListCount() == 0) {
        MostrarMensagem(this, QMessageBox::Information, QStringLiteral("Novo"),
                        ComCaminho(QStringLiteral("Não foi encontrada nenhuma figura na pasta abaixo:"), pasta));
        return;
    }
    CursorEspera espera;
    LimparTela();
    jogo.PartesIniciais = PartesIniciaisPara(modulo.opcoes.Dificuldade);
    jogo.ArquivoFigura = pasta + fileImagem.List(EscolherFigura(fileImagem.ListCount(), rnd));
    AbrirImagem(jogo.ArquivoFigura);
    SortearPartes();
    ColarImagens();
    MontarJogo();
}

void frmZelpo::SortearPartes()
{
    if (!amb_.semente)
        rnd.SemearPeloRelogio();
    FormarEstado(jogo, modulo.Colunas, modulo.Linhas, rnd);
    setWindowTitle(LegendaDoProduto());
}

void frmZelpo::IniciarJogo()
{
    if (jogo.PartesNaRolagem == 0) {
        ExibirHora(jogo.SegundosJogo);
        return;
    }
    TextoPartesIniciais();
    AtualizarRolagem();
    if (jogo.PartesRolagem[0] != VAZIO)
        picParte_[jogo.PartesRolagem[0]]->setFocus();
    jogo.InicioRelogio = InicioDoRelogio(Ticks(), jogo.SegundosJogo);
    tmrHora->start();
    tmrHora_Timer();
    mnuJogo_Click();
}

void frmZelpo::ReiniciarJogo()
{
    tela_->repaint();
    vsbPartes->setEnabled(false);
    const int n = modulo.Colunas * modulo.Linhas;
    for (int i = 0; i < n; ++i)
        picParte_[i]->hide();
    Reiniciar(jogo, modulo.Colunas, modulo.Linhas, modulo.opcoes.Dificuldade);
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
    jogo.PartesIniciais = 0;
    TextoPartesIniciais();
    arrasto.ParteArrastada = -1;
    vsbPartes->setEnabled(false);
    ExibirHora(0);
    tmrHora->stop();
    tela_->repaint();
    mnuJogo_Click();
}

void frmZelpo::AbrirImagem(const QString& P_Arquivo)
{
    geo = GeometriaPara(modulo.opcoes.Pequenas);
    vsbPartes->setPageStep(geo.LinhasRolagem);

    QImage imagem;
    const bool metarquivo = EhMetarquivo(P_Arquivo);
    ResultadoFigura lida = CarregarFigura(P_Arquivo, AjusteDaFigura(modulo.opcoes, metarquivo));
    if (lida.figura) {
        imagem = std::move(lida.figura->imagem);
    } else {
        MostrarMensagem(this, QMessageBox::Information, QStringLiteral("Figura inválida"),
                        ComCaminho(lida.erro, P_Arquivo));
        imagem = FiguraInvalida(); // the player gets a puzzle of those words
    }

    Corte corte = CortarFigura(imagem, metarquivo, modulo.opcoes);
    modulo.Colunas = corte.Colunas;
    modulo.Linhas = corte.Linhas;
    jogo.TopoTabuleiro = corte.TopoTabuleiro;
    jogo.EsquerdaTabuleiro = corte.EsquerdaTabuleiro;
    PintarMiniatura(picPreview, corte);
    picResize_ = std::move(corte.canvas);
    AreaDeJogo();
    tela_->update();
}

void frmZelpo::ColarImagens()
{
    const int c = geo.TamanhoCelula;
    for (int r = 0; r < modulo.Linhas; ++r)
        for (int col = 0; col < modulo.Colunas; ++col) {
            PecaWidget* peca = picParte_[modulo.Colunas * r + col];
            peca->setGeometry(0, 0, c, c);
            peca->DefinirFigura(QuadradoDaPeca(picResize_, col, r, geo));
            peca->raise();
        }
    picResize_ = QImage();
}

void frmZelpo::MontarJogo()
{
    const int n = modulo.Colunas * modulo.Linhas;
    PecasMontadas pecas;
    pecas.figuras.reserve(n);
    for (int i = 0; i < n; ++i)
        pecas.figuras.push_back(std::move(picParte_[i]->figura()));
    MontarPecas(pecas, jogo.Partes, modulo.Colunas, modulo.Linhas, geo, modulo.opcoes.Pequenas);
    for (int i = 0; i < n; ++i) {
        picParte_[i]->DefinirFigura(std::move(pecas.figuras[i]));
        picParte_[i]->setMask(pecas.formas[i]);
    }
    picMask = std::move(pecas.mascara);
    IniciarJogo();
}

} // namespace zelpo
