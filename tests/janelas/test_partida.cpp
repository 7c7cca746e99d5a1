// Games played through real key and mouse events on the offscreen platform; the QWindow
// overloads of QTest route each event as a real pointer does. (The random walk in
// test_modelo.cpp plays on through every other command.)
#include "ambiente_teste.h"

#include <QWheelEvent>

using namespace zelpo;
using zelpo::teste::JanelaDeTeste;

// A whole game without a mouse event: the starting pieces by Enter on the focused piece,
// the others by Tab, Enter, the arrows and Space, a wrong cell and Esc on the way; the
// focus mark shows once the keyboard was used, and the tray does not scroll under a
// piece in hand.
TEST(Partida, JogoCompletoPeloTeclado)
{
    JanelaDeTeste t(192, 192, 2);
    frmZelpo& w = t.w();
    w.Iniciar({});
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QImage antes = w.grab().toImage();
    t.Tecla(Qt::Key_Return); // the piece of the first slot has the keyboard
    EXPECT_NE(w.grab().toImage(), antes) << "a piece placed and the focus mark shown";
    EXPECT_EQ(t.som()->UltimoSom(), QStringLiteral("ENCAIXE"));
    t.Tecla(Qt::Key_Space);
    ASSERT_EQ(w.partida().Estado(), EstadoJogo::Jogando);
    t.Passar(65);
    const int16_t primeira = w.tabuleiro().Foco();
    t.Tecla(Qt::Key_Tab);
    EXPECT_NE(w.tabuleiro().Foco(), primeira);
    t.Tecla(Qt::Key_Backtab);
    EXPECT_EQ(w.tabuleiro().Foco(), primeira) << "Shift+Tab walks back";
    Q_EMIT t.Tela()->escalaMudou(); // moved to a screen of another scale: drawn anew, the focus kept
    EXPECT_EQ(w.tabuleiro().Foco(), primeira);

    // a piece taken waits on the grid's first cell; a wrong cell sends it back to its slot
    const int peca = t.PecaQueEncaixa();
    const QPoint bandeja = t.Canto(peca);
    for (int i = 0; i <= MAX_PECAS && w.tabuleiro().Foco() != peca; ++i)
        t.Tecla(Qt::Key_Tab);
    t.Tecla(Qt::Key_Return);
    EXPECT_EQ(w.tabuleiro().Posicao(int16_t(peca)), figuras_de_teste::LugarNaGrade(t.jogo(), 0));
    t.Tecla(Qt::Key_Escape);
    EXPECT_TRUE(t.Canto(peca) == bandeja && !t.jogo().Partes[peca].Encaixada);
    t.Tecla(Qt::Key_Return);
    // the grid's far edge holds it, and a click elsewhere on the board neither drops nor moves it
    const JogoSalvo& j = t.jogo();
    for (int i = 0; i <= std::max(j.Colunas, j.Linhas); ++i) {
        t.Tecla(Qt::Key_Right);
        t.Tecla(Qt::Key_Down);
    }
    const QPoint ultima = figuras_de_teste::LugarNaGrade(j, j.Pecas() - 1);
    EXPECT_EQ(w.tabuleiro().Posicao(int16_t(peca)), ultima);
    QTest::mouseClick(w.windowHandle(), Qt::LeftButton, {}, t.Tela()->mapTo(&w, figuras_de_teste::LugarNaGrade(j, 0)));
    EXPECT_TRUE(w.tabuleiro().Posicao(int16_t(peca)) == ultima && !j.Partes[peca].Encaixada);
    t.Tecla(Qt::Key_Escape);
    t.Tecla(Qt::Key_Return);
    t.Tecla(Qt::Key_Left); // the grid's near edge holds it too
    t.Tecla(Qt::Key_Up);
    EXPECT_EQ(w.tabuleiro().Posicao(int16_t(peca)), figuras_de_teste::LugarNaGrade(j, 0));
    t.Tecla(Qt::Key_Return); // dropped on a cell not its own (the fixed seed never takes the first piece)
    EXPECT_EQ(t.Canto(peca), bandeja);
    while (t.jogo().PartesNaRolagem > 0 && !testing::Test::HasFailure())
        t.ColocarPeloTeclado(t.PecaQueEncaixa());
    EXPECT_EQ(w.partida().Estado(), EstadoJogo::Completo);
    EXPECT_TRUE(t.som()->UltimoSom() == QStringLiteral("FIM1") || t.som()->UltimoSom() == QStringLiteral("FIM2"));
    t.Passar(10); // the clock stays where it stopped
    EXPECT_EQ(t.Hora()->text(), QStringLiteral("00:01:05"));
}

// The difficulty's folder without a picture: said, and no game. (A missing folder: the
// window without a game, in test_janela.cpp.)
TEST(Partida, PastaVazia)
{
    JanelaDeTeste t;
    ASSERT_TRUE(QFile::remove(t.pasta.path() + QStringLiteral("/Facil/figura.bmp")));
    t.w().Iniciar({});
    ASSERT_EQ(t.mensagens.size(), 1u);
    EXPECT_EQ(t.mensagens[0].titulo, QStringLiteral("Novo"));
    EXPECT_TRUE(t.mensagens[0].texto.startsWith(QStringLiteral("Não foi encontrada nenhuma figura na pasta abaixo:\n\n'")));
    EXPECT_EQ(t.w().partida().Estado(), EstadoJogo::SemJogo);
}

TEST(Partida, BandejaRolaComTeclasERodaMasNaoComPecaNaMao)
{
    JanelaDeTeste t(384, 320, 3); // 30 normal pieces, one starting piece
    frmZelpo& w = t.w();
    w.Iniciar({});
    QScrollBar* rolagem = t.Rolagem();
    ASSERT_TRUE(rolagem->isEnabled());
    EXPECT_EQ(rolagem->maximum(), 29 / 2 - 4 + 1);
    // the first slot whose piece shows, and whether it sits at the top of the tray
    const auto primeiraVisivel = [&] {
        for (int s = 0; s < t.jogo().PartesNaRolagem; ++s)
            if (t.Visivel(t.jogo().PartesRolagem[s]))
                return t.Tela()->Posicao(t.jogo().PartesRolagem[s]) == QPoint(12, 11) ? s : -2;
        return -1;
    };
    // (key, scroll value, first slot shown): two pieces to a row, four rows to the page
    for (auto [tecla, valor, primeira] : {std::tuple{Qt::Key_Down, 1, 2}, {Qt::Key_End, 11, 22}, {Qt::Key_PageUp, 7, 14}}) {
        QTest::keyClick(w.windowHandle(), tecla);
        EXPECT_TRUE(rolagem->value() == valor && primeiraVisivel() == primeira) << tecla;
    }

    const auto rodar = [&](QWidget* alvo) {
        const QPointF ponto(5, 5);
        QWheelEvent roda(ponto, alvo->mapToGlobal(ponto), {}, QPoint(0, 120), Qt::NoButton, {},
                         Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(alvo, &roda);
    };
    rodar(t.Tela());
    EXPECT_LT(rolagem->value(), 7);
    // the scroll bar with the keyboard takes its keys itself, a step at a time
    rolagem->setFocus();
    const int antes = rolagem->value();
    QTest::keyClick(w.windowHandle(), Qt::Key_Down);
    EXPECT_EQ(rolagem->value(), antes + 1);

    // A piece in hand: the wheel over the tray, the piece or the scroll bar moves nothing.
    t.Clicar(t.jogo().PartesRolagem[0]); // the one starting piece
    const int valor = rolagem->value();
    const int peca = t.jogo().PartesRolagem[2 * valor];
    const QPoint inicio = t.CentroDaPeca(peca);
    QTest::mousePress(w.windowHandle(), Qt::LeftButton, {}, inicio);
    QTest::mouseMove(w.windowHandle(), inicio + QPoint(30, 0));
    for (QWidget* alvo : std::initializer_list<QWidget*>{t.Tela(), rolagem})
        rodar(alvo);
    EXPECT_EQ(rolagem->value(), valor);
    EXPECT_TRUE(t.Visivel(peca));
    QTest::mouseRelease(w.windowHandle(), Qt::LeftButton, {}, inicio + QPoint(30, 0));

    // a piece held by key stays in the hand while the scroll bar is clicked
    t.Tela()->setFocus();
    t.Tecla(Qt::Key_Tab); // the tray shows the piece with the keyboard
    const int16_t segura = w.tabuleiro().Foco();
    t.Tecla(Qt::Key_Return);
    rolagem->setValue(rolagem->value() == 0 ? 1 : 0);
    EXPECT_TRUE(t.Visivel(segura) && w.tabuleiro().Posicao(segura) == figuras_de_teste::LugarNaGrade(t.jogo(), 0));
}

// Only the body of a piece takes it, not the corners of its picture; the piece taken
// comes in front of every other; a move with a second button held is a drop.
TEST(Partida, AMaoPegaPeloContornoPoeNaFrenteESoltaComOutroBotao)
{
    JanelaDeTeste t(384, 320, 3);
    frmZelpo& w = t.w();
    w.Iniciar({});
    t.Clicar(t.jogo().PartesRolagem[0]); // the one starting piece
    QWindow* janela = w.windowHandle();
    const int a = t.jogo().PartesRolagem[0];
    const QPoint bandeja = t.Canto(a);
    QTest::mousePress(janela, Qt::LeftButton, {}, bandeja + QPoint(2, 2));
    QTest::mouseMove(janela, bandeja + QPoint(62, 2));
    EXPECT_EQ(t.Canto(a), bandeja) << "a press beside the outline took the piece";
    QTest::mouseRelease(janela, Qt::LeftButton, {}, bandeja + QPoint(62, 2));

    // a piece shown after `a` in the tray, so drawn over it until `a` is taken
    const std::vector<int> pecas = t.PecasNaBandeja();
    const auto depois = std::find_if(pecas.begin(), pecas.end(), [&](int p) { return p > a && t.Visivel(p); });
    ASSERT_NE(depois, pecas.end());
    const int b = *depois;
    QTest::mousePress(janela, Qt::LeftButton, {}, t.CentroDaPeca(a));
    QTest::mouseMove(janela, t.CentroDaPeca(b));
    const int centro = t.geo().m() + t.geo().TamanhoParte / 2;
    ASSERT_NE(t.Tela()->Figura(int16_t(a)).pixel(centro, centro), t.Tela()->Figura(int16_t(b)).pixel(centro, centro));
    EXPECT_EQ(w.grab().toImage().pixel(t.CentroDaPeca(b)), t.Tela()->Figura(int16_t(a)).pixel(centro, centro))
        << "the piece taken is in front";

    const QPoint ponto = t.Tela()->mapFrom(&w, t.CentroDaPeca(b));
    QMouseEvent dois(QEvent::MouseMove, ponto, t.Tela()->mapToGlobal(ponto), Qt::NoButton,
                     Qt::LeftButton | Qt::RightButton, Qt::NoModifier);
    QCoreApplication::sendEvent(t.Tela(), &dois);
    EXPECT_EQ(t.Canto(a), bandeja) << "dropped in the tray, back to its slot";
    QTest::mouseRelease(janela, Qt::LeftButton, {}, t.CentroDaPeca(b));
    // a right-button drag ends at its first move, the piece back in its slot
    QTest::mousePress(janela, Qt::RightButton, {}, t.CentroDaPeca(a));
    QTest::mouseMove(janela, t.CentroDaPeca(a) + QPoint(60, 0));
    EXPECT_EQ(t.Canto(a), bandeja);
    QTest::mouseRelease(janela, Qt::RightButton, {}, t.CentroDaPeca(a) + QPoint(60, 0));
}
