#pragma once
// A main window on a temporary program folder, a fixed seed, a clock the test moves by
// hand, a temporary settings file, the copies of games in play and the best times in a
// folder of their own (so that a test of the program folder never sees them), and every
// message box answered by the test; and the ways a player reaches the window: its
// actions, its widgets, the mouse. It also brings in the headers the window tests share.

#include "../core/figuras_de_teste.h"
#include "CommonDialogCls.h"
#include "CoresSistema.h"
#include "Mensagem.h"
#include "Som.h"
#include "Tabuleiro.h"
#include "files/recuperacao.h"
#include "frmGerar.h"
#include "frmPreview.h"
#include "frmZelpo.h"
#include "fontes.h"
#include "play/encaixe.h"
#include "play/textos.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QProcess>
#include <QRadioButton>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include <sys/stat.h>

namespace zelpo::teste {

// A w x h picture in a few colours, so that every piece differs from its neighbours.
inline QImage FiguraDeTeste(int w, int h)
{
    return figuras_de_teste::Pintada(w, h, [w, h](int x, int y) { return qRgb(x * 255 / w, y * 255 / h, (x ^ y) & 0xFF); },
                                     QImage::Format_RGB32);
}

// Every file dialog until this goes out of scope answers with `caminho` ("" cancels).
struct RespostaDeArquivo {
    explicit RespostaDeArquivo(const QString& caminho)
    {
        CommonDialogCls::DefinirRespostaArquivo([caminho](const PedidoArquivo&) { return caminho; });
    }
    ~RespostaDeArquivo() { CommonDialogCls::DefinirRespostaArquivo({}); }
};

using figuras_de_teste::Conteudo;
using figuras_de_teste::Gravar;

// The caption of the main window while it shows the game of `arquivo`.
inline QString Titulo(const QString& arquivo) { return QStringLiteral("Zelpora 3.0 - [") + arquivo + QLatin1Char(']'); }

// The same game, but for the clock.
inline bool MesmoJogoForaDoRelogio(JogoSalvo a, const JogoSalvo& b)
{
    a.SegundosJogo = b.SegundosJogo;
    return a == b;
}

// Centred within a pixel each way.
inline testing::AssertionResult Centrado(const QRect& dentro, const QRect& fora)
{
    // the gap left minus the gap right, and above minus below
    const QPoint d = dentro.topLeft() + dentro.bottomRight() - fora.topLeft() - fora.bottomRight();
    if (std::abs(d.x()) <= 1 && std::abs(d.y()) <= 1)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "the gaps differ by " << d.x() << " across and " << d.y() << " down";
}

struct JanelaDeTeste {
    QTemporaryDir pasta;
    // The copies of games in play are written after every change and each write waits for
    // the disk, so a memory-backed folder keeps the tests fast.
    QTemporaryDir estado{(QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm")
                                                                             : QDir::tempPath())
                         + QStringLiteral("/zelpo_estado-XXXXXX")};
    QString pastaRecuperacao = estado.path() + QStringLiteral("/recuperacao");
    int32_t ticks = 5'000'000;
    std::vector<PedidoMensagem> mensagens;
    QMessageBox::StandardButton resposta = QMessageBox::Yes;
    std::unique_ptr<frmZelpo> janela;

    // A program folder whose difficulty folders hold one w x h picture each.
    explicit JanelaDeTeste(int w = 192, int h = 192, int dificuldade = 1, uint64_t semente = 7)
    {
        const QImage figura = FiguraDeTeste(w, h);
        for (const char* sub : {"Facil", "Medio", "Dificil"}) {
            QDir(pasta.path()).mkpath(QString::fromLatin1(sub));
            figura.save(pasta.path() + QLatin1Char('/') + QLatin1String(sub) + QStringLiteral("/figura.bmp"));
        }
        QSettings(ArquivoConfiguracao(), QSettings::IniFormat)
            .setValue(QStringLiteral("Zelpora 3.0/Dificuldade"), QString::number(dificuldade));
        DefinirRespondedor([this](const PedidoMensagem& m) {
            mensagens.push_back(m);
            return resposta;
        });
        Criar(semente);
    }
    ~JanelaDeTeste()
    {
        resposta = QMessageBox::No; // leave without saving
        if (janela)
            janela->close();
        janela.reset();
        DefinirRespondedor({});
    }
    // A fresh start of the program on the same folders.
    void Criar(uint64_t semente = 7)
    {
        Ambiente amb;
        amb.pastaPrograma = pasta.path();
        amb.semente = semente;
        amb.ticks = [this] { return ticks; };
        amb.arquivoConfiguracao = ArquivoConfiguracao();
        amb.associar = false;
        amb.pastaRecuperacao = pastaRecuperacao;
        amb.arquivoRecordes = ArquivoRecordes();
        janela = std::make_unique<frmZelpo>(amb);
    }
    QString ArquivoConfiguracao() const { return pasta.path() + QStringLiteral("/config.ini"); }
    QString ArquivoRecordes() const { return estado.path() + QStringLiteral("/recordes.json"); }
    // The copies of games in play on disk, once the window has written what it meant to.
    QStringList Copias()
    {
        if (janela)
            janela->ConcluirCopia();
        QStringList copias;
        for (const QFileInfo& f : QDir(pastaRecuperacao).entryInfoList({QStringLiteral("*.zpr")}, QDir::Files))
            copias.append(f.absoluteFilePath());
        return copias;
    }

    frmZelpo& w() { return *janela; }
    const JogoSalvo& jogo() { return janela->partida().Jogo(); }
    Geometria geo() { return janela->partida().Geo(); }
    QAction* Acao(const char* nome) { return janela->findChild<QAction*>(QLatin1String(nome)); }
    // The command as the player gives it: nothing happens while its item is greyed.
    void Comando(const char* nome) { Acao(nome)->trigger(); }
    // The command with every file dialog it opens answered `arquivo` ("" cancels).
    void Comando(const char* nome, const QString& arquivo)
    {
        RespostaDeArquivo respostaDeArquivo(arquivo);
        Comando(nome);
    }
    // Jogo > Novo, the dialog answered OK.
    void Novo()
    {
        frmGerar::DefinirExibicao([](frmGerar& d) { d.btnOk_Click(); });
        Comando("mnuJogoNovo");
        frmGerar::DefinirExibicao({});
    }
    // The program dies: its files stay as they are on disk.
    void Cair()
    {
        janela->ConcluirCopia();
        janela.reset();
    }
    // Whether a loose piece shows, and where its picture's top-left corner stands in the window.
    bool Visivel(int i) { return Tela()->Visivel(static_cast<int16_t>(i)); }
    QPoint Canto(int i) { return Tela()->mapTo(janela.get(), Tela()->Posicao(static_cast<int16_t>(i))); }
    QScrollBar* Rolagem() { return janela->findChild<QScrollBar*>(QStringLiteral("vsbPartes")); }
    QLabel* Hora() { return janela->findChild<QLabel*>(QStringLiteral("picHora")); }
    zelpo::Tabuleiro* Tela() { return &janela->tabuleiro(); }
    // The board and the caption under it, below the message line.
    QImage Tabuleiro() { return Tela()->Tela().copy(242, 20, 388, 414); }
    Som* som() { return janela->findChild<Som*>(); }
    // `segundos` go by, and the clock's timer fires.
    void Passar(int segundos)
    {
        ticks += segundos * 1000;
        QMetaObject::invokeMethod(janela.get(), "tmrHora_Timer");
    }

    // A point of the window over the body of a piece: the centre of its grid cell.
    QPoint CentroDaPeca(int peca)
    {
        const int centro = geo().m() + geo().TamanhoParte / 2;
        return Canto(peca) + QPoint(centro, centro);
    }
    void Clicar(int peca) { QTest::mouseClick(janela->windowHandle(), Qt::LeftButton, {}, CentroDaPeca(peca)); }
    // Drags a piece with the left button so that its picture's top-left corner lands at `alvo`.
    void Arrastar(int peca, QPoint alvo)
    {
        QWindow* janelaQt = janela->windowHandle();
        const QPoint inicio = CentroDaPeca(peca);
        const QPoint fim = inicio - Canto(peca) + Tela()->mapTo(janela.get(), alvo);
        QTest::mousePress(janelaQt, Qt::LeftButton, {}, inicio);
        QTest::mouseMove(janelaQt, (inicio + fim) / 2);
        QTest::mouseMove(janelaQt, fim);
        QTest::mouseRelease(janelaQt, Qt::LeftButton, {}, fim);
    }
    std::vector<int> PecasNaBandeja()
    {
        const JogoSalvo& j = jogo();
        return {j.PartesRolagem.begin(), j.PartesRolagem.begin() + j.PartesNaRolagem};
    }
    // A key as the player presses it, to whatever has the keyboard.
    void Tecla(Qt::Key tecla, Qt::KeyboardModifiers m = {}) { QTest::keyClick(janela->windowHandle(), tecla, m); }
    // By keys alone: Tab to the piece, Enter to take it, the arrows to its cell, Enter to drop it.
    void ColocarPeloTeclado(int peca)
    {
        for (int i = 0; i <= MAX_PECAS && janela->tabuleiro().Foco() != peca; ++i)
            Tecla(Qt::Key_Tab);
        ASSERT_EQ(janela->tabuleiro().Foco(), peca) << "Tab never reached the piece";
        Tecla(Qt::Key_Return);
        const JogoSalvo& j = jogo();
        for (int c = 0; c < peca % j.Colunas; ++c)
            Tecla(Qt::Key_Right);
        for (int l = 0; l < peca / j.Colunas; ++l)
            Tecla(Qt::Key_Down);
        Tecla(Qt::Key_Space);
        ASSERT_EQ(jogo().Partes[peca].Encaixada, VERDADEIRO) << "dropped on its cell, piece " << peca << " did not fit";
    }
    // A loose piece that would fit on its place now, or -1.
    int PecaQueEncaixa()
    {
        for (int p : PecasNaBandeja())
            if (figuras_de_teste::TemVizinhaColocada(jogo(), p))
                return p;
        return -1;
    }
    // A game of this folder with `pecas` pieces fitted and `segundos` on the clock, saved as
    // partida.zpr; the file's path.
    QString SalvarMeioJogo(int pecas, int segundos)
    {
        janela->Iniciar({});
        Jogar(pecas);
        Passar(segundos);
        const QString arquivo = pasta.path() + QStringLiteral("/partida.zpr");
        Comando("mnuJogoSalvar0", arquivo);
        return arquivo;
    }
    // The starting pieces chosen and `n` more pieces fitted (all of them with -1).
    void Jogar(int n)
    {
        for (int i = 0; i < MAX_PECAS && jogo().PartesIniciais > 0 && jogo().PartesNaRolagem > 0; ++i)
            Clicar(jogo().PartesRolagem[0]);
        for (int i = 0; (n < 0 || i < n) && jogo().PartesNaRolagem > 0; ++i) {
            const int peca = PecaQueEncaixa();
            ASSERT_GE(peca, 0);
            Arrastar(peca, figuras_de_teste::LugarNaGrade(jogo(), peca));
            ASSERT_EQ(jogo().Partes[peca].Encaixada, VERDADEIRO) << "dropped on its place, piece " << peca << " did not fit";
        }
    }
};

} // namespace zelpo::teste
