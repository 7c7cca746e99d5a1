// The main window as the player first sees it, checked pixel by pixel on its surface.
#include "ambiente_teste.h"

#include <QMenuBar>
#include <QRegularExpression>

using namespace zelpo;
using zelpo::teste::JanelaDeTeste;

// The player's own style wins over the classic one, from the command line or the
// environment; the window shows centred by its frame, or maximised on a screen exactly
// as wide as itself. The program reports them when started headless on a screen of the
// given size, with a fresh home so that no settings of the machine count.
TEST(Janela, EstiloClassicoSalvoEscolhaEJanelaCentradaOuMaximizada)
{
    const struct { QStringList argumentos; const char* ambiente; QSize tela; const char* estilo; bool maximizada; } casos[] = {
        {{}, "", {1024, 768}, "windows", false},
        {{QStringLiteral("-style"), QStringLiteral("fusion")}, "", {800, 600}, "fusion", false},
        {{}, "Fusion", {1024, 768}, "fusion", false},
        {{}, "", {640, 480}, "windows", true}};
    static const QRegularExpression relatorio(QStringLiteral(R"(estilo=(\S+) moldura=(-?\d+),(-?\d+),(\d+)x(\d+) maximizada=(\d))"));
    for (const auto& c : casos) {
        SCOPED_TRACE(testing::Message() << c.argumentos.join(QLatin1Char(' ')).toStdString() << " " << c.ambiente);
        QTemporaryDir casa;
        const QString configuracao = casa.filePath(QStringLiteral("tela.json"));
        ASSERT_TRUE(teste::Gravar(configuracao, QStringLiteral(R"({"screens": [{"name": "t", "width": %1, "height": %2}]})")
                                                    .arg(c.tela.width()).arg(c.tela.height()).toUtf8()));
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        ambiente.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + configuracao);
        for (const char* pasta : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"})
            ambiente.insert(QLatin1String(pasta), casa.path());
        ambiente.insert(QStringLiteral("ZELPO_RELATORIO"), QStringLiteral("1"));
        ambiente.remove(QStringLiteral("QT_STYLE_OVERRIDE"));
        if (*c.ambiente)
            ambiente.insert(QStringLiteral("QT_STYLE_OVERRIDE"), QString::fromLatin1(c.ambiente));
        QProcess programa;
        programa.setProcessEnvironment(ambiente);
        programa.start(QStringLiteral(ZELPO_BINARIOS "/zelpo"), c.argumentos);
        ASSERT_TRUE(programa.waitForFinished(120000));
        const QString saida = QString::fromLocal8Bit(programa.readAllStandardOutput());
        const QRegularExpressionMatch m = relatorio.match(saida);
        ASSERT_TRUE(m.hasMatch()) << saida.toStdString();
        EXPECT_EQ(m.captured(1), QLatin1String(c.estilo));
        EXPECT_EQ(m.captured(6) == QLatin1String("1"), c.maximizada);
        const QRect moldura(m.captured(2).toInt(), m.captured(3).toInt(), m.captured(4).toInt(), m.captured(5).toInt());
        if (c.maximizada) {
            EXPECT_EQ(moldura, QRect(QPoint(0, 0), c.tela));
        } else {
            EXPECT_TRUE(teste::Centrado(moldura, QRect(QPoint(0, 0), c.tela)));
        }
    }
}

// Shift+Ctrl+Alt+F writes each piece's grid position on its picture: every pixel it
// touches takes the text colour, none a blend of text and picture.
TEST(Janela, AcordeFEscreveSemSuavizar)
{
    JanelaDeTeste t;
    t.w().Iniciar({});
    const int pecas = t.jogo().Pecas();
    std::vector<QImage> antes;
    for (int i = 0; i < pecas; ++i)
        antes.push_back(t.Tela()->Figura(static_cast<int16_t>(i)));
    QTest::keyClick(t.w().windowHandle(), Qt::Key_F, Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const int posicao = (t.geo().TamanhoCelula - 12) / 2;
    for (int i = 0; i < pecas; ++i) {
        SCOPED_TRACE(i);
        const QImage& depois = t.Tela()->Figura(static_cast<int16_t>(i));
        const QColor texto = t.Tela()->palette().color(QPalette::WindowText);
        QRect tocados;
        for (int y = 0; y < depois.height(); ++y)
            for (int x = 0; x < depois.width(); ++x)
                if (depois.pixel(x, y) != antes[i].pixel(x, y)) {
                    tocados |= QRect(x, y, 1, 1);
                    ASSERT_EQ(depois.pixelColor(x, y).rgb(), texto.rgb()) << x << "," << y;
                }
        ASSERT_FALSE(tocados.isEmpty());
        EXPECT_GE(tocados.left(), posicao);
        EXPECT_GE(tocados.top(), posicao);
    }
}

// The window without a game: the tray's sunken well left of the scroll bar (8..215 by
// 4..429), the rule under the message line, the mark beside the clock and the raised
// empty board (242, 32)-(628, 418), with no caption under it; the widgets where the layout
// puts them and the game's items greyed. The menu bar's titles are in the menus' normal
// weight; the window keeps its bold font for the messages it writes. (Dialogs centred on
// the window: test_posicao.cpp and the rules window in test_dialogos.cpp.)
TEST(Janela, JanelaSemJogo)
{
    JanelaDeTeste t;
    QDir(t.pasta.path() + QStringLiteral("/Facil")).removeRecursively(); // stay on the empty board
    t.w().Iniciar({});
    const QImage tela = t.Tela()->Tela();
    const QColor area = Cor(CorSistema::AreaDeTrabalho), sombra = Cor(CorSistema::SombraBotao),
                 realce = Cor(CorSistema::Realce3D), luz = Cor(CorSistema::Luz3D),
                 escura = Cor(CorSistema::SombraEscura3D), fundo = t.w().palette().color(QPalette::Window);
    const std::tuple<int, int, QColor> pontos[] = {
        {8, 100, sombra}, {9, 100, escura}, {215, 100, realce}, {214, 100, luz},
        {8, 429, realce}, // the bottom-left corner belongs to the light outline
        {100, 200, area}, {7, 100, fundo}, {216, 100, fundo}, {242, 19, sombra}, {629, 19, sombra}, {630, 19, fundo},
        {556, 12, sombra}, {576, 11, fundo}, {242, 100, realce}, {628, 100, sombra}, {242, 418, sombra},
        {243, 33, area}, {627, 417, area}, {300, 425, fundo}};
    for (const auto& [x, y, cor] : pontos)
        EXPECT_EQ(tela.pixelColor(x, y), cor) << x << "," << y;
    EXPECT_EQ(t.Hora()->text(), QStringLiteral("00:00:00"));
    EXPECT_FALSE(t.Rolagem()->isEnabled());
    EXPECT_FALSE(QFontInfo(t.w().menuBar()->font()).bold());
    EXPECT_EQ(QFontInfo(t.w().menuBar()->font()).family(), QFontInfo(QApplication::font("QMenu")).family());
    EXPECT_TRUE(QFontInfo(t.w().font()).bold());
    // the missing folder is said, under its name
    ASSERT_EQ(t.mensagens.size(), 1u);
    EXPECT_EQ(t.mensagens[0].titulo, QStringLiteral("Erro"));
    EXPECT_TRUE(t.mensagens[0].texto.endsWith(QStringLiteral("/Facil/'")));
}

TEST(Janela, AreaDeJogoELegendaCentrada)
{
    JanelaDeTeste t(384, 320, 2); // 6 x 5 normal pieces
    t.w().Iniciar({});
    ASSERT_TRUE(t.jogo().Colunas == 6 && t.jogo().Linhas == 5); // the board's place: test_corte.cpp
    const QImage tela = t.Tela()->Tela();
    EXPECT_EQ(tela.pixelColor(300, 57), Cor(CorSistema::Realce3D));
    EXPECT_EQ(tela.pixelColor(627, 100), Cor(CorSistema::SombraBotao));
    // The caption "Médio - 30 peças - 6 x 5" from y = 385, centred on 242..627.
    QRect legenda;
    for (int y = 379; y < 434; ++y)
        for (int x = 242; x <= 630; ++x)
            if (tela.pixelColor(x, y).lightness() < 60)
                legenda |= QRect(x, y, 1, 1);
    ASSERT_FALSE(legenda.isEmpty());
    EXPECT_GE(legenda.top(), 385);
    EXPECT_LE(std::abs(legenda.center().x() - (242 + 627) / 2), 3);
    // Every prompt fits before the clock mark. (How the line is drawn: test_recordes.cpp.)
    const QFontMetrics medidas(FonteJanela());
    for (int dificuldade = 1; dificuldade <= 3; ++dificuldade)
        for (int iniciais = 1; iniciais <= 3; ++iniciais)
            EXPECT_LE(medidas.horizontalAdvance(zelpo::TextoPartesIniciais(dificuldade, iniciais)), 545 - 242);
}
