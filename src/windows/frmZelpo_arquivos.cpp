// Saving and opening: the Abrir and Salvar commands, the .zpr file and the picture it
// carries, and opening whatever the player names (a saved game or a picture).
#include "frmZelpo.h"

#include "CommonDialogCls.h"
#include "Mensagem.h"
#include "PecaWidget.h"
#include "Superficie.h"
#include "files/zpr.h"
#include "frmGerar.h"

#include <QFile>
#include <QFileInfo>

namespace zelpo {

namespace {

const QString FILTRO_ABRIR = QStringLiteral(
    "Todos (*.zpr;*.bmp;*.ico;*.cur;*.rle;*.wmf;*.emf;*.gif;*.jpg)|*.zpr;*.bmp;*.ico;*.cur;*.rle;*.wmf;*.emf;*.gif;*.jpg"
    "|Zelpora (*.zpr)|*.zpr"
    "|Bitmap do Windows (*.bmp)|*.bmp"
    "|Ícone (*.ico)|*.ico"
    "|Cursor (*.cur)|*.cur"
    "|Windows RLE (*.rle)|*.rle"
    "|Metarquivo do Windows (*.wmf)|*.wmf"
    "|Metarquivo avançado do Windows (*.emf)|*.emf"
    "|GIF (*.gif)|*.gif"
    "|JPEG (*.jpg)|*.jpg");
const QString FILTRO_ZPR = QStringLiteral("Zelpora (*.zpr)|*.zpr");

bool EhJogoSalvo(const QString& caminho)
{
    return caminho.right(4).toLower() == QLatin1String(".zpr");
}

} // namespace

void frmZelpo::AtualizarLegenda()
{
    setWindowTitle(QString::fromUtf8(TITULO_APLICACAO) + QStringLiteral(" - [") + jogo.ArquivoJogo + QLatin1Char(']'));
}

void frmZelpo::mnuJogoAbrir_Click()
{
    const QString nome = Dialogo().GetOpenName(QStringLiteral("Abrir"), FILTRO_ABRIR, QString(), this);
    if (!nome.isEmpty())
        AbrirJogo(nome);
}

void frmZelpo::mnuJogoSalvar_Click(int Index)
{
    tela_->repaint();
    if (jogo.ArquivoJogo.isEmpty())
        ImagemParaBytes();
    if (Index == 0) {
        if (jogo.ArquivoJogo.isEmpty())
            jogo.ArquivoJogo = PedirNomeArquivo(FILTRO_ZPR, false);
        if (jogo.ArquivoJogo.isEmpty())
            return;
        CursorEspera espera;
        if (SalvarZPR())
            AtualizarLegenda();
        return;
    }
    const QString extensao = jogo.ExtensaoFigura.trimmed();
    const QString filtro = FILTRO_ZPR + QStringLiteral("|Figura do zelpora (*") + extensao + QStringLiteral(")|*") + extensao;
    const QString nome = PedirNomeArquivo(filtro, true);
    if (nome.isEmpty())
        return;
    if (!EhJogoSalvo(nome)) {
        // the picture itself, under the name the player gave; the game keeps its own file
        tela_->repaint();
        CursorEspera espera;
        BytesParaImagem(nome);
        return;
    }
    jogo.ArquivoJogo = nome;
    tela_->repaint();
    CursorEspera espera;
    if (SalvarZPR())
        AtualizarLegenda();
}

QString frmZelpo::PedirNomeArquivo(const QString& P_Filter, bool P_SalvarComo)
{
    const QString nome = Dialogo().GetSaveName(P_SalvarComo ? QStringLiteral("Salvar como...") : QStringLiteral("Salvar"),
                                               P_Filter, QStringLiteral("zpr"), QStringLiteral("Zelpora"), this);
    if (!nome.isEmpty())
        tela_->repaint();
    return nome;
}

void frmZelpo::ImagemParaBytes()
{
    const FiguraLida lida = zelpo::ImagemParaBytes(jogo.ArquivoFigura);
    jogo.ExtensaoFigura = lida.extensao;
    if (lida.encontrada) {
        jogo.BytesFigura = lida.bytes;
        return;
    }
    MostrarMensagem(this, QMessageBox::Warning, QStringLiteral("Erro"),
                    jogo.ArquivoFigura + QStringLiteral("\n\nFigura não encontrada!"));
    jogo.BytesFigura = Jogo::Marcador();
}

bool frmZelpo::BytesParaImagem(const QString& P_Arquivo)
{
    const QString erro = zelpo::BytesParaImagem(P_Arquivo, jogo.BytesFigura);
    if (erro.isEmpty())
        return true;
    MostrarMensagem(this, QMessageBox::Warning, QStringLiteral("Erro"), ComCaminho(erro, P_Arquivo));
    return false;
}

QString frmZelpo::GetTempFileName() const
{
    return zelpo::GetTempFileName(jogo.ExtensaoFigura.trimmed());
}

bool frmZelpo::SalvarZPR()
{
    const QString erro = GravarArquivoZPR(jogo.ArquivoJogo, MontarJogoSalvo(jogo, modulo));
    if (erro.isEmpty())
        return true;
    MostrarMensagem(this, QMessageBox::Warning, QStringLiteral("Erro"), erro);
    return false;
}

bool frmZelpo::LerZPR()
{
    ResultadoZPR lido = LerArquivoZPR(jogo.ArquivoJogo);
    if (!lido.jogo) {
        jogo.ArquivoFigura.clear();
        AreaInicial();
        const QString motivo = lido.versaoIncorreta ? QStringLiteral("Versão incorreta do zelpora!") : lido.erro;
        MostrarMensagem(this, QMessageBox::Information, QString::fromUtf8(TITULO_APLICACAO),
                        jogo.ArquivoJogo + QStringLiteral("\n\n") + motivo);
        return false;
    }
    RestaurarJogoSalvo(*lido.jogo, jogo, modulo);
    return true;
}

QString frmZelpo::NomeDeExibicao(const QString& caminho)
{
    // The file manager shows a file under its own name, so the display name is the path.
    return QFileInfo(caminho).absoluteFilePath();
}

void frmZelpo::AbrirJogo(QString P_Arquivo)
{
    if (!EhJogoSalvo(P_Arquivo)) {
        SelecionarDificuldade(modulo, this);
        if (modulo.Cancelado)
            return;
        CursorEspera espera;
        LimparTela();
        jogo.PartesIniciais = PartesIniciaisPara(modulo.opcoes.Dificuldade);
        jogo.ArquivoFigura = P_Arquivo;
        AbrirImagem(jogo.ArquivoFigura);
        SortearPartes();
        ColarImagens();
        MontarJogo();
        return;
    }

    CursorEspera espera;
    P_Arquivo = NomeDeExibicao(P_Arquivo);
    LimparTela();
    jogo.ArquivoJogo = P_Arquivo;
    AtualizarLegenda();
    if (!LerZPR())
        return;
    const int16_t colunasSalvas = modulo.Colunas, linhasSalvas = modulo.Linhas;
    jogo.ArquivoFigura = GetTempFileName();
    BytesParaImagem(jogo.ArquivoFigura);
    AbrirImagem(jogo.ArquivoFigura);
    QFile::remove(jogo.ArquivoFigura);
    if (modulo.Colunas != colunasSalvas || modulo.Linhas != linhasSalvas) {
        // the stored picture no longer cuts into the saved grid: nothing of it can be trusted
        const QString arquivo = jogo.ArquivoJogo;
        LimparTela();
        jogo = Jogo();
        jogo.ArquivoJogo = arquivo;
        AreaInicial();
        MostrarMensagem(this, QMessageBox::Information, QString::fromUtf8(TITULO_APLICACAO),
                        arquivo + QStringLiteral("\n\nA figura do jogo salvo não corresponde à sua grade."));
        return;
    }
    ColarImagens();
    MontarJogo();
    tela_->repaint();
    ExibirPartesOK();
}

} // namespace zelpo
