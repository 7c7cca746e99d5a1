// Saving and reopening games through the real main window.
#include "CommonDialogCls.h"
#include "Superficie.h"
#include "ambiente_teste.h"
#include "files/zpr.h"
#include "frmGerar.h"
#include "play/encaixe.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileDialog>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

using namespace zelpo;
using zelpo::teste::JanelaDeTeste;

namespace {

// Every save or open dialog answers with `caminho`.
struct RespostaDeArquivo {
    explicit RespostaDeArquivo(const QString& caminho)
    {
        CommonDialogCls::DefinirRespostaArquivo([caminho](QFileDialog& d) {
            d.selectFile(caminho);
            return caminho.isEmpty() ? int(QDialog::Rejected) : int(QDialog::Accepted);
        });
    }
    ~RespostaDeArquivo() { CommonDialogCls::DefinirRespostaArquivo({}); }
};

// Places the starting pieces and a few more, as a player would leave a game half done.
void JogarUmPouco(frmZelpo& w)
{
    for (int i = 0; i < 3; ++i)
        w.picParte_MouseDown(w.jogo.PartesRolagem[0], Qt::LeftButton, {}, QPointF(50, 50));
    for (int vez = 0; vez < 2; ++vez)
        for (int s = 0; s < w.jogo.PartesNaRolagem; ++s) {
            const int16_t p = w.jogo.PartesRolagem[s];
            if (!TemVizinhoEncaixado(w.jogo, w.modulo.Colunas, w.modulo.Linhas, p))
                continue;
            w.picParte_MouseDown(p, Qt::LeftButton, {}, QPointF(50, 50));
            const QPoint lugar = LugarVerdadeiro(w.jogo, w.geo, p);
            w.Form_MouseMove(Qt::LeftButton, {}, lugar + QPoint(50, 50));
            w.Form_MouseUp(Qt::LeftButton, {}, lugar + QPoint(50, 50));
            break;
        }
}

std::vector<int16_t> Bandeja(const frmZelpo& w)
{
    return {w.jogo.PartesRolagem.begin(), w.jogo.PartesRolagem.begin() + w.jogo.PartesNaRolagem};
}

} // namespace

TEST(Salvar, SalvarFecharEAbrirVoltaOndeEstava)
{
    JanelaDeTeste t(320, 256, 2);
    frmZelpo& w = t.w();
    w.Iniciar({});
    JogarUmPouco(w);
    ASSERT_EQ(w.jogo.PartesNaRolagem, 20 - 4);
    t.ticks += 600'000;
    w.tmrHora_Timer();
    ASSERT_EQ(w.jogo.SegundosJogo, 600);

    const QString arquivo = t.pasta.path() + QStringLiteral("/partida.zpr");
    {
        RespostaDeArquivo resposta(arquivo);
        w.mnuJogoSalvar_Click(0);
    }
    const QByteArray figura = [&] {
        QFile f(t.pasta.path() + QStringLiteral("/Medio/figura.bmp"));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    EXPECT_EQ(QFileInfo(arquivo).size(), 1508 + figura.size());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Zelpora 3.0 - [") + arquivo + QLatin1Char(']'));

    const QImage tabuleiro = w.superficie()->tela().copy(242, 20, 388, 414);
    const auto bandeja = Bandeja(w);
    const auto partes = w.jogo.Partes;

    // Another game in between, then the saved one again, an hour later.
    w.NovoJogo();
    EXPECT_NE(Bandeja(w), bandeja);
    t.ticks += 3'600'000;
    w.AbrirJogo(arquivo);
    EXPECT_EQ(Bandeja(w), bandeja);
    EXPECT_EQ(w.jogo.Partes, partes);
    EXPECT_EQ(w.jogo.SegundosJogo, 600);
    EXPECT_EQ(w.picHora->text(), QStringLiteral("00:10:00"));
    EXPECT_TRUE(w.tmrHora->isActive());
    EXPECT_EQ(w.superficie()->tela().copy(242, 20, 388, 414), tabuleiro);
    EXPECT_EQ(w.jogo.ArquivoJogo, arquivo);
    EXPECT_FALSE(QFile::exists(w.jogo.ArquivoFigura)) << "the temporary picture is gone";

    // Saved again under another name: the same bytes.
    const QString copia = t.pasta.path() + QStringLiteral("/copia.zpr");
    {
        RespostaDeArquivo resposta(copia);
        w.mnuJogoSalvar_Click(1);
    }
    QFile a(arquivo), b(copia);
    ASSERT_TRUE(a.open(QIODevice::ReadOnly));
    ASSERT_TRUE(b.open(QIODevice::ReadOnly));
    EXPECT_EQ(a.readAll(), b.readAll());
    EXPECT_EQ(w.jogo.ArquivoJogo, copia);
}

TEST(Salvar, SalvarComoFiguraGravaAFiguraENaoMudaOJogo)
{
    JanelaDeTeste t;
    frmZelpo& w = t.w();
    w.Iniciar({});
    const QString figura = t.pasta.path() + QStringLiteral("/saida.bmp");
    QFile::remove(figura);
    {
        QFile velho(figura);
        ASSERT_TRUE(velho.open(QIODevice::WriteOnly));
        velho.write("old content that must be replaced");
    }
    {
        RespostaDeArquivo resposta(figura);
        w.mnuJogoSalvar_Click(1);
    }
    QFile original(t.pasta.path() + QStringLiteral("/Facil/figura.bmp")), escrita(figura);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    ASSERT_TRUE(escrita.open(QIODevice::ReadOnly));
    EXPECT_EQ(original.readAll(), escrita.readAll());
    EXPECT_TRUE(w.jogo.ArquivoJogo.isEmpty());
    EXPECT_EQ(w.windowTitle(), frmZelpo::LegendaDoProduto());
    // cancelling the save dialog leaves everything as it was
    {
        RespostaDeArquivo resposta({});
        w.mnuJogoSalvar_Click(0);
    }
    EXPECT_TRUE(w.jogo.ArquivoJogo.isEmpty());
}

TEST(Salvar, ArquivoRecusadoDeixaATelaLimpa)
{
    JanelaDeTeste t;
    frmZelpo& w = t.w();
    w.Iniciar({});
    const QString bom = t.pasta.path() + QStringLiteral("/bom.zpr");
    {
        RespostaDeArquivo resposta(bom);
        w.mnuJogoSalvar_Click(0);
    }
    QFile f(bom);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    f.close();

    // A file cut short and one of another version: a message naming the file, a clean screen.
    QByteArray magicaMinuscula = bytes;
    magicaMinuscula.replace(0, 3, "zpr");
    const std::pair<QByteArray, QString> casos[] = {{bytes.left(700), QString()},
                                                    {magicaMinuscula, QStringLiteral("Versão incorreta do zelpora!")}};
    for (const auto& [conteudo, mensagem] : casos) {
        const QString caminho = t.pasta.path() + QStringLiteral("/ruim.zpr");
        QFile saida(caminho);
        ASSERT_TRUE(saida.open(QIODevice::WriteOnly | QIODevice::Truncate));
        saida.write(conteudo);
        saida.close();
        t.mensagens.clear();
        w.AbrirJogo(caminho);
        ASSERT_EQ(t.mensagens.size(), 1u);
        EXPECT_TRUE(t.mensagens[0].texto.startsWith(caminho));
        EXPECT_TRUE(t.mensagens[0].texto.endsWith(mensagem));
        EXPECT_TRUE(w.jogo.ArquivoFigura.isEmpty());
        EXPECT_FALSE(w.tmrHora->isActive());
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Zelpora 3.0 - [") + caminho + QLatin1Char(']'));
    }
    // A good file afterwards opens normally.
    t.mensagens.clear();
    w.AbrirJogo(bom);
    EXPECT_TRUE(t.mensagens.empty());
    EXPECT_TRUE(w.tmrHora->isActive());
}

TEST(Salvar, AbrirFiguraPassaPeloDialogo)
{
    JanelaDeTeste t;
    frmZelpo& w = t.w();
    w.Iniciar({});
    const ListaRolagem antes = w.jogo.PartesRolagem;
    const QString figura = t.pasta.path() + QStringLiteral("/Medio/figura.bmp");
    frmGerar::DefinirExibicao([](frmGerar& d) { d.btnCancelar_Click(); });
    w.AbrirJogo(figura);
    EXPECT_EQ(w.jogo.PartesRolagem, antes) << "cancelled: the game stays";
    EXPECT_NE(w.jogo.ArquivoFigura, figura);

    frmGerar::DefinirExibicao([](frmGerar& d) {
        d.optDificil->setChecked(true);
        d.chkPequenas->setChecked(true);
        d.btnOk_Click();
    });
    w.AbrirJogo(figura);
    frmGerar::DefinirExibicao({});
    EXPECT_EQ(w.jogo.ArquivoFigura, figura);
    EXPECT_EQ(w.modulo.opcoes.Dificuldade, 3);
    EXPECT_EQ(w.jogo.PartesIniciais, 1);
    EXPECT_EQ(w.geo.TamanhoParte, 42);
    EXPECT_EQ(w.modulo.Colunas, 5); // 192 px of 42-px cells
    EXPECT_TRUE(w.tmrHora->isActive());
}
