// The small windows driven as a player would: the new-puzzle dialog, the file and colour
// choosers (answered through their hooks), the preview window and the about window.
#include "Autor.h"
#include "CommonDialogCls.h"
#include "CoresSistema.h"
#include "Mensagem.h"
#include "frmGerar.h"
#include "frmPreview.h"
#include "game/fontes.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QPointer>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace zelpo;

namespace {

class Janelas : public ::testing::Test {
protected:
    void TearDown() override
    {
        CommonDialogCls::DefinirRespostaArquivo({});
        CommonDialogCls::DefinirRespostaCor({});
        frmGerar::DefinirExibicao({});
        Autor::DefinirAbridor({});
        DefinirRespondedor({});
        LiberarDialogo();
    }
};

void Ativar(QWidget& w)
{
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
}

// Lets deleteLater() run, so a closed window with WA_DeleteOnClose is really gone.
void ProcessarExclusoes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// --- new-puzzle dialog ---------------------------------------------------------------

TEST_F(Janelas, GerarShowsDifficultyAndOkStoresItBack)
{
    struct Caso {
        int16_t dificuldade;
        const char* marcado;
        int16_t gravada;
    } casos[] = {{1, "optFacil", 1}, {2, "optMedio", 2}, {3, "optDificil", 3}, {0, "optDificil", 3}, {7, "optDificil", 3}};
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.dificuldade);
        ModuloZelpo m;
        m.opcoes.Dificuldade = c.dificuldade;
        m.opcoes.Pequenas = true;
        m.opcoes.Adaptar = false;
        m.opcoes.BorderColor = 255.0;
        frmGerar d(m);
        auto* marcado = d.findChild<QRadioButton*>(QString::fromLatin1(c.marcado));
        ASSERT_NE(marcado, nullptr);
        EXPECT_TRUE(marcado->isChecked());
        EXPECT_TRUE(d.chkPequenas->isChecked());
        EXPECT_FALSE(d.chkAdaptar->isChecked());
        EXPECT_EQ(d.btnBorda->CorAtual(), 255);
        d.btnOk_Click();
        EXPECT_EQ(m.opcoes.Dificuldade, c.gravada);
        EXPECT_FALSE(m.Cancelado);
        EXPECT_TRUE(m.opcoes.Pequenas);
        EXPECT_FALSE(m.opcoes.Adaptar);
        EXPECT_EQ(m.opcoes.BorderColor, 255.0);
    }
}

TEST_F(Janelas, GerarEnterMovesFocusLikeTabAndWraps)
{
    ModuloZelpo m;
    m.opcoes.Dificuldade = 3;
    frmGerar d(m);
    Ativar(d);
    // the option buttons are one stop: Tab enters at the chosen one, Enter leaves them
    d.btnCancelar->setFocus();
    QTest::keyClick(d.btnCancelar, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), d.optDificil);
    for (QRadioButton* opcao : {d.optFacil, d.optDificil}) {
        opcao->setFocus();
        QTest::keyClick(opcao, Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), d.btnBorda) << opcao->objectName().toStdString();
    }

    d.chkPequenas->setFocus();
    QTest::keyClick(d.chkPequenas, Qt::Key_Enter);
    EXPECT_EQ(QApplication::focusWidget(), d.chkAdaptar);
    const bool adaptar = d.chkAdaptar->isChecked();
    QTest::keyClick(d.chkAdaptar, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), d.btnOk);
    EXPECT_EQ(d.chkAdaptar->isChecked(), adaptar) << "Enter must not toggle the check box";
    EXPECT_TRUE(d.isVisible()) << "Enter must not close the dialog";
    EXPECT_TRUE(m.Cancelado);
}

TEST_F(Janelas, GerarColourChosenThenCancelledLeavesOptionAlone)
{
    ModuloZelpo m;
    m.opcoes.BorderColor = 8388608.0;
    QColor inicial;
    CommonDialogCls::DefinirRespostaCor([&](QColorDialog& c) {
        inicial = c.currentColor();
        c.setCurrentColor(QColor(255, 0, 0));
        return int(QDialog::Accepted);
    });
    frmGerar::DefinirExibicao([](frmGerar& d) {
        d.btnBorda_Click();
        EXPECT_EQ(d.btnBorda->CorAtual(), 255);
        d.btnCancelar_Click();
    });
    SelecionarDificuldade(m, nullptr);
    EXPECT_EQ(inicial, QColor(0, 0, 128));
    EXPECT_TRUE(m.Cancelado);
    EXPECT_EQ(m.opcoes.BorderColor, 8388608.0);

    // the next showing starts from the old colour again; a cancelled colour dialog
    // keeps the button's colour
    CommonDialogCls::DefinirRespostaCor([](QColorDialog& c) {
        c.setCurrentColor(Qt::green);
        return int(QDialog::Rejected);
    });
    frmGerar::DefinirExibicao([](frmGerar& d) {
        EXPECT_EQ(d.btnBorda->CorAtual(), 8388608);
        d.btnBorda_Click();
        EXPECT_EQ(d.btnBorda->CorAtual(), 8388608);
        d.btnOk_Click();
    });
    SelecionarDificuldade(m, nullptr);
    EXPECT_FALSE(m.Cancelado);
    EXPECT_EQ(m.opcoes.BorderColor, 8388608.0);
}

TEST_F(Janelas, GerarCloseBoxAndEscapeCancel)
{
    for (int modo = 0; modo < 2; ++modo) {
        SCOPED_TRACE(modo == 0 ? "close box" : "Escape");
        ModuloZelpo m;
        m.Cancelado = false;
        const Opcoes antes = m.opcoes;
        frmGerar::DefinirExibicao([modo](frmGerar& d) {
            Ativar(d);
            d.optFacil->setChecked(true);
            d.chkPequenas->setChecked(true);
            if (modo == 0)
                d.close();
            else
                QTest::keyClick(d.chkPequenas, Qt::Key_Escape);
            EXPECT_FALSE(d.isVisible());
            EXPECT_EQ(d.result(), QDialog::Rejected);
        });
        SelecionarDificuldade(m, nullptr);
        EXPECT_TRUE(m.Cancelado);
        EXPECT_EQ(m.opcoes, antes);
    }
}

TEST_F(Janelas, GerarColourShowsAroundTheOval)
{
    ModuloZelpo m;
    m.opcoes.BorderColor = double(0x00336699);
    frmGerar d(m);
    d.show();
    const QImage botao = d.btnBorda->grab().toImage();
    ASSERT_EQ(botao.size(), QSize(105, 52));
    const QPoint figura((105 - 56) / 2, (52 - 40) / 2);
    EXPECT_EQ(QColor(botao.pixel(figura + QPoint(1, 1))), QColor(0x99, 0x66, 0x33)) << "transparent corner";
    EXPECT_EQ(QColor(botao.pixel(figura + QPoint(4, 20))), QColor(Qt::white)) << "inside the oval";
    EXPECT_EQ(QColor(botao.pixel(0, 0)), Cor(CorSistema::Realce3D));
    EXPECT_EQ(QColor(botao.pixel(104, 51)), Cor(CorSistema::SombraEscura3D));
}

// --- file and colour choosers --------------------------------------------------------

const QString FILTRO_ABRIR = QStringLiteral(
    "Todos (*.zpr;*.bmp;*.gif)|*.zpr;*.bmp;*.gif|Zelpora (*.zpr)|*.zpr|GIF (*.gif)|*.gif");

TEST_F(Janelas, FiltersBecomeQtNameFilters)
{
    const QStringList esperado{QStringLiteral("Todos (*.zpr *.bmp *.gif)"), QStringLiteral("Zelpora (*.zpr)"),
                               QStringLiteral("GIF (*.gif)")};
    EXPECT_EQ(FiltrosQt(FILTRO_ABRIR), esperado);
    EXPECT_EQ(FiltrosQt(FILTRO_ABRIR + QLatin1Char('|')), esperado);
    EXPECT_EQ(FiltrosQt(QStringLiteral("Figuras|*.bmp; *.jpg")), QStringList{QStringLiteral("Figuras (*.bmp *.jpg)")});
    EXPECT_EQ(FiltrosQt(QStringLiteral("Jogo (salvo)|*.zpr")), QStringList{QStringLiteral("Jogo (salvo) (*.zpr)")});
    EXPECT_TRUE(FiltrosQt({}).isEmpty());
}

TEST_F(Janelas, OpenDialogIsPreparedAndAnswers)
{
    QTemporaryDir pasta;
    const QString arquivo = pasta.filePath(QStringLiteral("jogo.zpr"));
    QFile f(arquivo);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();

    int resposta = QDialog::Accepted;
    CommonDialogCls::DefinirRespostaArquivo([&](QFileDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Abrir"));
        EXPECT_EQ(d.nameFilters().size(), 3);
        EXPECT_EQ(d.selectedNameFilter(), QStringLiteral("Todos (*.zpr *.bmp *.gif)"));
        EXPECT_EQ(d.acceptMode(), QFileDialog::AcceptOpen);
        EXPECT_EQ(d.fileMode(), QFileDialog::ExistingFile);
        EXPECT_TRUE(d.testOption(QFileDialog::DontUseNativeDialog));
        EXPECT_EQ(QDir(d.directory()).canonicalPath(), QDir::current().canonicalPath());
        d.selectFile(arquivo);
        return resposta;
    });
    EXPECT_EQ(Dialogo().GetOpenName(QStringLiteral("Abrir"), FILTRO_ABRIR), arquivo);
    resposta = QDialog::Rejected;
    EXPECT_EQ(Dialogo().GetOpenName(QStringLiteral("Abrir"), FILTRO_ABRIR), QString());
}

TEST_F(Janelas, SaveDialogProposesNameAddsExtensionAndNeedsTheFolder)
{
    QTemporaryDir pasta;
    QStringList avisos;
    DefinirRespondedor([&](const PedidoMensagem& p) {
        avisos << p.texto;
        return QMessageBox::Ok;
    });
    CommonDialogCls::DefinirRespostaArquivo([&](QFileDialog& d) {
        EXPECT_EQ(d.acceptMode(), QFileDialog::AcceptSave);
        EXPECT_FALSE(d.testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_TRUE(d.selectedFiles().value(0).endsWith(QStringLiteral("/Zelpora.zpr"))) << d.selectedFiles().value(0).toStdString();
        // a name in a folder that does not exist is refused and the dialog stays
        d.selectFile(pasta.filePath(QStringLiteral("nao/existe/jogo")));
        static_cast<QDialog&>(d).accept(); // as the player pressing the button
        EXPECT_NE(d.result(), QDialog::Accepted);
        EXPECT_EQ(avisos.size(), 1);
        d.selectFile(pasta.filePath(QStringLiteral("jogo")));
        static_cast<QDialog&>(d).accept(); // as the player pressing the button
        return d.result();
    });
    EXPECT_EQ(Dialogo().GetSaveName(QStringLiteral("Salvar"), QStringLiteral("Zelpora (*.zpr)|*.zpr"),
                                    QStringLiteral("zpr"), QStringLiteral("Zelpora")),
              pasta.filePath(QStringLiteral("jogo.zpr")));
    CommonDialogCls::DefinirRespostaArquivo([](QFileDialog&) { return int(QDialog::Rejected); });
    EXPECT_EQ(Dialogo().GetSaveName(), QString());
}

TEST_F(Janelas, ColourDialogStartsFromColourAndGreysEveryTime)
{
    QColor recebida;
    QColor resposta;
    int retorno = QDialog::Accepted;
    CommonDialogCls::DefinirRespostaCor([&](QColorDialog& d) {
        recebida = d.currentColor();
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(QColorDialog::customColor(i), QColor(255 - 16 * i, 255 - 16 * i, 255 - 16 * i)) << i;
        QColorDialog::setCustomColor(3, Qt::red); // the player's own, lost next time
        d.setCurrentColor(resposta);
        return retorno;
    });
    resposta = QColor(10, 20, 30);
    EXPECT_EQ(Dialogo().PickColor(0x00336699), 0x001E140A);
    EXPECT_EQ(recebida, QColor(0x99, 0x66, 0x33));
    resposta = Qt::black;
    EXPECT_EQ(Dialogo().PickColor(255), 0);
    retorno = QDialog::Rejected;
    EXPECT_EQ(Dialogo().PickColor(255), -1);
}

// --- preview window ------------------------------------------------------------------

// A thumbnail whose every pixel differs from its neighbours, larger than any grid shows.
QImage Miniatura()
{
    QImage img(216, 216, QImage::Format_RGB32);
    for (int y = 0; y < 216; ++y)
        for (int x = 0; x < 216; ++x)
            img.setPixel(x, y, qRgb(x, y, (x * 7 + y * 13) & 0xFF));
    return img;
}

TEST_F(Janelas, PreviewSizesAndPlacesThePicture)
{
    struct Caso {
        int colunas, linhas;
        QSize cliente;
        QPoint canto;
    } casos[] = {{5, 4, {129, 104}, {4, 4}}, {9, 9, {224, 224}, {4, 4}}, {3, 2, {129, 65}, {28, 8}},
                 {6, 3, {152, 80}, {4, 4}}};
    const QImage mini = Miniatura();
    for (const Caso& c : casos) {
        SCOPED_TRACE(testing::Message() << c.colunas << "x" << c.linhas);
        ModuloZelpo m;
        auto* p = new frmPreview(m, mini, c.colunas, c.linhas, nullptr);
        EXPECT_EQ(p->size(), c.cliente);
        EXPECT_EQ(p->CantoFigura(), c.canto);
        const QImage& d = p->Desenho();
        const int w = c.colunas * 24, h = c.linhas * 24;
        EXPECT_EQ(d.pixel(c.canto), mini.pixel(0, 0));
        EXPECT_EQ(d.pixel(c.canto + QPoint(w - 1, h - 1)), mini.pixel(w - 1, h - 1));
        EXPECT_EQ(QColor(d.pixel(c.canto + QPoint(w, 0))), Cor(CorSistema::FaceBotao));
        EXPECT_EQ(QColor(d.pixel(c.canto + QPoint(0, h))), Cor(CorSistema::FaceBotao));
        delete p;
    }
}

TEST_F(Janelas, PreviewEtchedFramePixels)
{
    ModuloZelpo m;
    frmPreview* p = new frmPreview(m, Miniatura(), 5, 4, nullptr);
    p->show();
    const QImage d = p->grab().toImage();
    const QColor sombra = Cor(CorSistema::SombraBotao), realce = Cor(CorSistema::Realce3D),
                 face = Cor(CorSistema::FaceBotao);
    // picture at (4, 4), 120 x 96: dark outline (1,1)-(127,103), light one (0,0)-(126,102)
    struct Ponto {
        int x, y;
        QColor cor;
    } pontos[] = {{0, 50, realce},   {50, 0, realce},   {126, 50, realce}, {50, 102, realce}, {126, 102, realce},
                  {0, 0, realce},    {1, 50, sombra},   {50, 1, sombra},   {127, 50, sombra}, {50, 103, sombra},
                  {127, 103, sombra}, {127, 1, sombra}, {127, 0, face},    {128, 50, face},   {2, 50, face},
                  {3, 50, face},     {124, 50, face},   {125, 50, face},   {50, 100, face},   {50, 101, face}};
    for (const Ponto& q : pontos)
        EXPECT_EQ(QColor(d.pixel(q.x, q.y)), q.cor) << q.x << "," << q.y;
    p->close();
}

TEST_F(Janelas, PreviewKeepsOnScreenAndStoresPositionOnClose)
{
    const QSize tela = QGuiApplication::primaryScreen()->geometry().size();
    struct Caso {
        int topo, esquerda, topoEsperado, esquerdaEsperada;
    } casos[] = {{5000, 10, 72, 10},
                 {tela.height() - 32, tela.width() - 32, tela.height() - 32, tela.width() - 32},
                 {100, 5000, 100, 56},
                 {-20, -30, -20, -30}};
    for (const Caso& c : casos) {
        SCOPED_TRACE(testing::Message() << c.topo << "," << c.esquerda);
        ModuloZelpo m;
        m.opcoes.PreviewTop = c.topo;
        m.opcoes.PreviewLeft = c.esquerda;
        QPointer<frmPreview> p = new frmPreview(m, Miniatura(), 5, 4, nullptr);
        EXPECT_EQ(m.opcoes.PreviewTop, c.topoEsperado);
        EXPECT_EQ(m.opcoes.PreviewLeft, c.esquerdaEsperada);
        p->show();
        EXPECT_EQ(p->frameGeometry().topLeft(), QPoint(c.esquerdaEsperada, c.topoEsperado));
        p->move(140, 90);
        p->close();
        EXPECT_EQ(m.opcoes.PreviewTop, 90);
        EXPECT_EQ(m.opcoes.PreviewLeft, 140);
        ProcessarExclusoes();
        EXPECT_TRUE(p.isNull()) << "deleted on close";
    }
}

TEST_F(Janelas, PreviewClosesOnClickKeyAndOurOtherWindows)
{
    QWidget principal;
    principal.resize(300, 200);
    Ativar(principal);
    ModuloZelpo m;
    const QImage mini = Miniatura();

    QPointer<frmPreview> p = new frmPreview(m, mini, 5, 4, &principal);
    Ativar(*p);
    QTest::mouseClick(p, Qt::LeftButton, {}, QPoint(60, 50));
    ProcessarExclusoes();
    EXPECT_TRUE(p.isNull()) << "click";

    p = new frmPreview(m, mini, 5, 4, &principal);
    Ativar(*p);
    QTest::keyClick(p, Qt::Key_F9);
    ProcessarExclusoes();
    EXPECT_TRUE(p.isNull()) << "key";

    p = new frmPreview(m, mini, 5, 4, &principal);
    Ativar(*p);
    QApplication::setActiveWindow(nullptr); // another program took the focus
    ProcessarExclusoes();
    ASSERT_FALSE(p.isNull()) << "switching to another program";
    EXPECT_TRUE(p->isVisible());
    Ativar(*p);
    QApplication::setActiveWindow(&principal);
    ProcessarExclusoes();
    EXPECT_TRUE(p.isNull()) << "main window activated";
}

// --- about window --------------------------------------------------------------------

TEST_F(Janelas, VersionText)
{
    EXPECT_EQ(TextoVersao(3, 6, 263), QStringLiteral("Versão 3.0.6.263"));
    EXPECT_EQ(TextoVersao(3, 12, 5), QStringLiteral("Versão 3.1.2.5"));
    EXPECT_EQ(TextoVersao(3, 0, 5), QStringLiteral("Versão 3.0.0.5"));
    EXPECT_EQ(TextoVersao(1, 123, 0), QStringLiteral("Versão 1.1.3.0"));
    Autor a;
    EXPECT_EQ(a.lblVersion->text(), QStringLiteral("Versão 3.0.6.263"));
    EXPECT_EQ(a.lblTitle->text(), QStringLiteral("Zelpora 3.0"));
}

TEST_F(Janelas, AutorEnterAndEscapeClose)
{
    QWidget principal;
    principal.setGeometry(100, 80, 640, 480);
    Ativar(principal);
    for (Qt::Key tecla : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        SCOPED_TRACE(tecla);
        QPointer<Autor> a = new Autor(&principal);
        Ativar(*a);
        EXPECT_EQ(a->size(), QSize(356, 420));
        const QPoint centro = principal.frameGeometry().center() - a->frameGeometry().center();
        EXPECT_LE(centro.manhattanLength(), 2) << "centred on the owner";
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : a.data(), tecla);
        ProcessarExclusoes();
        EXPECT_TRUE(a.isNull());
    }
}

TEST_F(Janelas, AutorLinksOpenMailAndPage)
{
    QList<QUrl> abertos;
    Autor::DefinirAbridor([&](const QUrl& u) { abertos << u; });
    Autor a;
    Ativar(a);
    QTest::mouseClick(a.lblEmail, Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseClick(a.lblHomePage, Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseClick(a.lblFone, Qt::LeftButton, {}, QPoint(3, 3));
    ASSERT_EQ(abertos.size(), 2);
    EXPECT_EQ(abertos[0], QUrl(QStringLiteral("mailto:zelpora@example.org")));
    EXPECT_EQ(abertos[1], QUrl(QStringLiteral("http://www.example.org/zelpora")));
    EXPECT_EQ(Autor::EnderecoPagina(QStringLiteral("https://example.org/x")), QUrl(QStringLiteral("https://example.org/x")));
    for (QLabel* link : {a.lblEmail, a.lblHomePage}) {
        EXPECT_EQ(link->toolTip(), link->text());
        EXPECT_EQ(link->cursor().shape(), Qt::BitmapCursor);
        EXPECT_EQ(link->cursor().hotSpot(), QPoint(5, 0));
    }
    EXPECT_NE(a.lblFone->cursor().shape(), Qt::BitmapCursor);
}

TEST_F(Janelas, AutorFrameIsTwoSkyBlueOutlines)
{
    Autor a;
    a.show();
    const QImage d = a.grab().toImage();
    const QColor azul(0, 200, 255);
    for (QPoint q : {QPoint(0, 0), QPoint(1, 1), QPoint(355, 419), QPoint(354, 418), QPoint(0, 200), QPoint(354, 200),
                     QPoint(178, 1), QPoint(178, 419)})
        EXPECT_EQ(QColor(d.pixel(q)), azul) << q.x() << "," << q.y();
    EXPECT_EQ(QColor(d.pixel(2, 2)), QColor(Qt::white));
    EXPECT_EQ(QColor(d.pixel(353, 417)), QColor(Qt::white));
}

// Not a check: with ZELPO_CAPTURAS naming a folder, writes what the player sees.
TEST_F(Janelas, Capturas)
{
    const QString pasta = qEnvironmentVariable("ZELPO_CAPTURAS");
    if (pasta.isEmpty())
        GTEST_SKIP() << "ZELPO_CAPTURAS not set";
    QDir().mkpath(pasta);
    MapearFontes();
    ModuloZelpo m;
    frmGerar g(m);
    g.show();
    EXPECT_TRUE(g.grab().save(QDir(pasta).filePath(QStringLiteral("frmGerar.png"))));
    // a real picture when the tree has one, 24 pixels a cell
    QImage mini(QStringLiteral(ZELPO_FONTE "/pictures/Facil/flor.jpg"));
    mini = mini.isNull() ? Miniatura() : mini.scaled(216, 216, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    for (auto [c, l] : {std::pair{5, 4}, std::pair{9, 9}, std::pair{3, 2}}) {
        auto* p = new frmPreview(m, mini, c, l, nullptr);
        p->show();
        EXPECT_TRUE(p->grab().save(QDir(pasta).filePath(QStringLiteral("frmPreview_%1x%2.png").arg(c).arg(l))));
        p->close();
    }
    Autor a;
    a.show();
    EXPECT_TRUE(a.grab().save(QDir(pasta).filePath(QStringLiteral("Autor.png"))));
}

} // namespace
