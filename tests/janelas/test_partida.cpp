// Whole games played through real mouse events on the offscreen platform. The QWindow
// overloads of QTest route each event through the piece masks as a real pointer does.
#include "ambiente_teste.h"
#include "Som.h"
#include "Superficie.h"
#include "play/encaixe.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

using namespace zelpo;
using zelpo::teste::JanelaDeTeste;

namespace {

// A point of the window over the body of a piece: the centre of its grid cell.
QPoint CentroDaPeca(frmZelpo& w, int peca)
{
    const int centro = w.geo.m() + w.geo.TamanhoParte / 2;
    return w.picParte(peca)->mapTo(&w, QPoint(centro, centro));
}

QWindow* Janela(frmZelpo& w)
{
    return w.windowHandle();
}

void Clicar(frmZelpo& w, int peca)
{
    QTest::mouseClick(Janela(w), Qt::LeftButton, {}, CentroDaPeca(w, peca));
}

// Drags a piece with the left button so that its picture's top-left corner lands at `alvo`.
void Arrastar(frmZelpo& w, int peca, QPoint alvo)
{
    const QPoint inicio = CentroDaPeca(w, peca);
    const QPoint pega = inicio - w.picParte(peca)->mapTo(&w, QPoint(0, 0));
    const QPoint fim = w.superficie()->mapTo(&w, alvo) + pega;
    QTest::mousePress(Janela(w), Qt::LeftButton, {}, inicio);
    QTest::mouseMove(Janela(w), (inicio + fim) / 2);
    QTest::mouseMove(Janela(w), fim);
    QTest::mouseRelease(Janela(w), Qt::LeftButton, {}, fim);
}

std::vector<int> PecasNaBandeja(const frmZelpo& w)
{
    std::vector<int> pecas;
    for (int i = 0; i < w.jogo.PartesNaRolagem; ++i)
        pecas.push_back(w.jogo.PartesRolagem[i]);
    return pecas;
}

bool Visivel(frmZelpo& w, int peca)
{
    return w.picParte(peca)->isVisible();
}

} // namespace

TEST(Partida, JogoCompletoComOMouse)
{
    JanelaDeTeste t;
    frmZelpo& w = t.w();
    w.Iniciar({});
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    ASSERT_EQ(w.modulo.Colunas, 3);
    ASSERT_EQ(w.modulo.Linhas, 3);
    EXPECT_EQ(w.jogo.PartesIniciais, 3);
    EXPECT_TRUE(w.tmrHora->isActive());
    EXPECT_EQ(w.jogo.PartesRolagem, w.jogo.PartesRolagemInicio);

    // Three starting pieces, each placed by a click wherever it lies in the tray.
    for (int escolha = 0; escolha < 3; ++escolha) {
        const int peca = w.jogo.PartesRolagem[0];
        Clicar(w, peca);
        EXPECT_EQ(w.jogo.Partes[peca].Encaixada, VERDADEIRO);
        EXPECT_FALSE(Visivel(w, peca));
        EXPECT_EQ(w.som->UltimoSom(), QStringLiteral("ENCAIXE"));
    }
    EXPECT_EQ(w.jogo.PartesIniciais, 0);
    EXPECT_EQ(w.jogo.PartesNaRolagem, 6);
    // the tray closed its gaps: the six loose pieces are the first six slots
    EXPECT_EQ(PecasNaBandeja(w).size(), 6u);
    EXPECT_EQ(w.jogo.PartesRolagem[6], VAZIO);

    // A piece with no placed neighbour does not fit even on its true place.
    for (int peca : PecasNaBandeja(w)) {
        if (TemVizinhoEncaixado(w.jogo, 3, 3, peca))
            continue;
        const QPoint tray = w.picParte(peca)->pos();
        Arrastar(w, peca, LugarVerdadeiro(w.jogo, w.geo, peca));
        EXPECT_EQ(w.jogo.Partes[peca].Encaixada, FALSO);
        EXPECT_EQ(w.picParte(peca)->pos(), tray);
    }

    bool testouLimites = false, testouDireito = false;
    t.ticks += 65'000;
    w.tmrHora_Timer(); // the tick a second would bring
    while (w.jogo.PartesNaRolagem > 0) {
        int peca = -1;
        for (int p : PecasNaBandeja(w))
            if (TemVizinhoEncaixado(w.jogo, 3, 3, p)) {
                peca = p;
                break;
            }
        ASSERT_GE(peca, 0);
        const QPoint lugar = LugarVerdadeiro(w.jogo, w.geo, peca);
        if (!testouDireito) {
            // A right-button drag ends at the first move, back in the tray.
            const QPoint tray = w.picParte(peca)->pos();
            const QPoint inicio = CentroDaPeca(w, peca);
            QTest::mousePress(Janela(w), Qt::RightButton, {}, inicio);
            QTest::mouseMove(Janela(w), inicio + QPoint(60, 0));
            QTest::mouseRelease(Janela(w), Qt::RightButton, {}, inicio + QPoint(60, 0));
            EXPECT_EQ(w.picParte(peca)->pos(), tray);
            EXPECT_EQ(w.jogo.Partes[peca].Encaixada, FALSO);
            EXPECT_EQ(w.arrasto.ParteArrastada, -1);
            testouDireito = true;
        }
        if (!testouLimites) {
            Arrastar(w, peca, lugar + QPoint(21, 0));
            EXPECT_EQ(w.jogo.Partes[peca].Encaixada, FALSO) << "21 px off must not fit";
            EXPECT_TRUE(Visivel(w, peca));
            Arrastar(w, peca, lugar + QPoint(20, -20));
            EXPECT_EQ(w.jogo.Partes[peca].Encaixada, VERDADEIRO) << "20 px off fits";
            testouLimites = true;
            continue;
        }
        Arrastar(w, peca, lugar);
        ASSERT_EQ(w.jogo.Partes[peca].Encaixada, VERDADEIRO);
    }
    EXPECT_FALSE(w.tmrHora->isActive());
    EXPECT_EQ(w.jogo.SegundosJogo, 65);
    EXPECT_TRUE(w.som->UltimoSom() == QStringLiteral("FIM1") || w.som->UltimoSom() == QStringLiteral("FIM2"));
    t.ticks += 10'000; // the clock stays where it stopped
    QTest::qWait(1100);
    EXPECT_EQ(w.jogo.SegundosJogo, 65);
    EXPECT_EQ(w.picHora->text(), QStringLiteral("00:01:05"));
    // the whole picture is on the board now
    const QImage tela = w.superficie()->tela();
    const QPoint canto = LugarVerdadeiro(w.jogo, w.geo, 0) + QPoint(w.geo.m() + 30, w.geo.m() + 30);
    EXPECT_NE(tela.pixelColor(canto), QColor(128, 128, 128));
}

TEST(Partida, ReiniciarEOrdemDaGrade)
{
    JanelaDeTeste t;
    frmZelpo& w = t.w();
    w.Iniciar({});
    const ListaRolagem distribuicao = w.jogo.PartesRolagemInicio;
    Clicar(w, w.jogo.PartesRolagem[2]);
    t.resposta = QMessageBox::Yes;
    w.mnuJogoReiniciar_Click();
    EXPECT_EQ(w.jogo.PartesRolagem, distribuicao);
    EXPECT_EQ(w.jogo.PartesIniciais, 3);
    EXPECT_TRUE(Visivel(w, distribuicao[0]));

    // Shift+Ctrl+Alt+G: the dealt list in grid order, then the restart question.
    const auto acorde = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
    t.resposta = QMessageBox::No;
    QTest::keyClick(w.windowHandle(), Qt::Key_G, acorde);
    EXPECT_EQ(w.jogo.PartesRolagem, distribuicao) << "declined: the game goes on";
    t.resposta = QMessageBox::Yes;
    QTest::keyClick(w.windowHandle(), Qt::Key_G, acorde);
    for (int i = 0; i < SLOTS_ROLAGEM; ++i)
        EXPECT_EQ(w.jogo.PartesRolagem[i], i < 9 ? i : VAZIO);
}

TEST(Partida, SairPerguntaSoComORelogioAndando)
{
    JanelaDeTeste t;
    frmZelpo& w = t.w();
    w.Iniciar({});
    w.modulo.opcoes.Dificuldade = 3;
    t.resposta = QMessageBox::Cancel;
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.tmrHora->isActive());
    ASSERT_FALSE(t.mensagens.empty());
    EXPECT_EQ(t.mensagens.back().texto, QStringLiteral("Você deseja salvar o jogo?"));
    {
        QSettings cfg(t.ArquivoConfiguracao(), QSettings::IniFormat);
        EXPECT_EQ(cfg.value(QStringLiteral("Zelpora 3.0/Dificuldade")).toString(), QStringLiteral("1"))
            << "cancelling the exit writes nothing";
    }
    t.resposta = QMessageBox::No;
    EXPECT_TRUE(w.close());
    QSettings cfg(t.ArquivoConfiguracao(), QSettings::IniFormat);
    EXPECT_EQ(cfg.value(QStringLiteral("Zelpora 3.0/Dificuldade")).toString(), QStringLiteral("3"));
}

TEST(Partida, PastaVaziaOuAusente)
{
    JanelaDeTeste t;
    frmZelpo& w = t.w();
    QDir(t.pasta.path() + QStringLiteral("/Facil")).removeRecursively();
    w.Iniciar({});
    ASSERT_EQ(t.mensagens.size(), 1u);
    EXPECT_EQ(t.mensagens[0].titulo, QStringLiteral("Erro"));
    EXPECT_TRUE(t.mensagens[0].texto.endsWith(QStringLiteral("/Facil/'")));
    QDir(t.pasta.path()).mkpath(QStringLiteral("Facil"));
    w.NovoJogo();
    ASSERT_EQ(t.mensagens.size(), 2u);
    EXPECT_EQ(t.mensagens[1].titulo, QStringLiteral("Novo"));
    EXPECT_TRUE(t.mensagens[1].texto.startsWith(QStringLiteral("Não foi encontrada nenhuma figura na pasta abaixo:\n\n'")));
    EXPECT_TRUE(w.jogo.ArquivoFigura.isEmpty());
}

TEST(Partida, BandejaRolaComTeclasERoda)
{
    JanelaDeTeste t(384, 320, 3); // 30 normal pieces, one starting piece
    frmZelpo& w = t.w();
    w.Iniciar({});
    ASSERT_TRUE(w.vsbPartes->isEnabled());
    EXPECT_EQ(w.vsbPartes->maximum(), 29 / 2 - 4 + 1);
    const auto primeiraVisivel = [&] {
        for (int s = 0; s < w.jogo.PartesNaRolagem; ++s)
            if (w.picParte(w.jogo.PartesRolagem[s])->isVisible())
                return s;
        return -1;
    };
    QTest::keyClick(w.windowHandle(), Qt::Key_Down);
    EXPECT_EQ(w.vsbPartes->value(), 1);
    EXPECT_EQ(primeiraVisivel(), 2);
    QTest::keyClick(w.windowHandle(), Qt::Key_End);
    EXPECT_EQ(w.vsbPartes->value(), 11);
    EXPECT_EQ(primeiraVisivel(), 22);
    // slot 22 sits in the first visible row, at the top of the tray
    EXPECT_EQ(w.picParte(w.jogo.PartesRolagem[22])->pos(), QPoint(12, 11));
    QTest::keyClick(w.windowHandle(), Qt::Key_PageUp);
    EXPECT_EQ(w.vsbPartes->value(), 7);

    QWheelEvent roda(QPointF(100, 100), w.superficie()->mapToGlobal(QPointF(100, 100)), {}, QPoint(0, 120),
                     Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(w.superficie(), &roda);
    EXPECT_LT(w.vsbPartes->value(), 7);
}

TEST(Partida, FiguraIlegivelViraQuebraCabecaDasPalavras)
{
    JanelaDeTeste t;
    frmZelpo& w = t.w();
    QFile::remove(t.pasta.path() + QStringLiteral("/Facil/figura.bmp"));
    QFile lixo(t.pasta.path() + QStringLiteral("/Facil/lixo.jpg"));
    ASSERT_TRUE(lixo.open(QIODevice::WriteOnly));
    lixo.write("not a picture at all");
    lixo.close();
    w.Iniciar({});
    ASSERT_EQ(t.mensagens.size(), 1u);
    EXPECT_EQ(t.mensagens[0].titulo, QStringLiteral("Figura inválida"));
    EXPECT_TRUE(t.mensagens[0].texto.endsWith(QStringLiteral("\n\n'") + lixo.fileName() + QLatin1Char('\'')));
    EXPECT_GE(w.modulo.Colunas, 5); // the words are wider than tall
    EXPECT_EQ(w.modulo.Linhas, 2);
    EXPECT_TRUE(w.tmrHora->isActive());
}
