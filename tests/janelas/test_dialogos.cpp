// The small windows driven as a player would: the new-puzzle dialog, the file filters and
// the colour chooser (answered through its hook), the preview window and the about window.
#include "Autor.h"
#include "CommonDialogCls.h"
#include "ambiente_teste.h"
#include "CoresSistema.h"
#include "frmGerar.h"
#include "frmPreview.h"

#include <QAbstractProxyModel>
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QPointer>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <map>

#include <gtest/gtest.h>

using namespace zelpo;

namespace {

class Dialogos : public ::testing::Test {
protected:
    void TearDown() override
    {
        CommonDialogCls::DefinirRespostaCor({});
        frmGerar::DefinirExibicao({});
        Autor::DefinirAbridor({});
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

// Every colour dialog until reset answers `retorno`, with `cor` chosen.
void ResponderCor(QColor cor, int retorno)
{
    CommonDialogCls::DefinirRespostaCor([=](QColorDialog& c) { return c.setCurrentColor(cor), retorno; });
}

// A thumbnail whose every pixel differs from its neighbours, larger than any grid shows.
QImage Miniatura()
{
    QImage img(216, 216, QImage::Format_RGB32);
    for (int y = 0; y < 216; ++y)
        for (int x = 0; x < 216; ++x)
            img.setPixel(x, y, qRgb(x, y, (x * 7 + y * 13) & 0xFF));
    return img;
}

// --- new-puzzle dialog ---------------------------------------------------------------

TEST_F(Dialogos, GerarMostraAsOpcoesEOkGrava)
{
    const struct { int16_t dificuldade; const char* marcado; int16_t gravada; bool pequenas; } casos[] = {
        {1, "optFacil", 1, true}, {2, "optMedio", 2, false}, {3, "optDificil", 3, true},
        {0, "optDificil", 3, false}, {7, "optDificil", 3, true}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.dificuldade);
        ModuloZelpo m;
        m.opcoes = Opcoes{c.dificuldade, c.pequenas, !c.pequenas, 255.0, 72, 56};
        Opcoes esperadas = m.opcoes;
        esperadas.Dificuldade = c.gravada;
        frmGerar d(m);
        EXPECT_TRUE(d.findChild<QRadioButton*>(QLatin1String(c.marcado))->isChecked());
        d.btnOk_Click();
        EXPECT_FALSE(m.Cancelado);
        EXPECT_EQ(m.opcoes, esperadas);
    }
}

TEST_F(Dialogos, GerarEnterFuncionaComoTab)
{
    ModuloZelpo m;
    m.opcoes.Dificuldade = 3;
    frmGerar d(m);
    Ativar(d);
    // Enter leaves the option buttons as one stop, and moves on from the check boxes
    const bool adaptar = d.chkAdaptar->isChecked();
    const std::tuple<QWidget*, Qt::Key, QWidget*> passos[] = {{d.optFacil, Qt::Key_Return, d.btnBorda},
        {d.chkPequenas, Qt::Key_Enter, d.chkAdaptar}, {d.chkAdaptar, Qt::Key_Return, d.btnOk}};
    for (auto [de, tecla, para] : passos) {
        de->setFocus();
        QTest::keyClick(de, tecla);
        EXPECT_EQ(QApplication::focusWidget(), para) << de->objectName().toStdString();
    }
    EXPECT_EQ(d.chkAdaptar->isChecked(), adaptar) << "Enter must not toggle the check box";
    EXPECT_TRUE(d.isVisible()) << "Enter must not close the dialog";
}

TEST_F(Dialogos, GerarSoOkGravaEscolhasECor)
{
    const struct { const char* nome; int respostaCor; bool ok; void (*fim)(frmGerar&); } casos[] = {
        {"Cancel", QDialog::Accepted, false, [](frmGerar& d) { d.btnCancelar_Click(); }},
        {"Escape", QDialog::Accepted, false, [](frmGerar& d) { QTest::keyClick(d.chkPequenas, Qt::Key_Escape); }},
        {"close box", QDialog::Accepted, false, [](frmGerar& d) { d.close(); }},
        {"Ok, colour cancelled", QDialog::Rejected, true, [](frmGerar& d) { d.btnOk_Click(); }},
        {"Ok", QDialog::Accepted, true, [](frmGerar& d) { d.btnOk_Click(); }}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        ModuloZelpo m;
        m.Cancelado = false;
        Opcoes esperadas = m.opcoes;
        if (c.ok) // a cancelled colour dialog answers -1, which must not become the colour
            esperadas = {1, true, esperadas.Adaptar, c.respostaCor == QDialog::Accepted ? 255.0 : 8388608.0, 72, 56};
        ResponderCor(Qt::red, c.respostaCor);
        frmGerar::DefinirExibicao([&](frmGerar& d) {
            Ativar(d);
            d.optFacil->setChecked(true);
            d.chkPequenas->setChecked(true);
            d.btnBorda_Click();
            c.fim(d);
            EXPECT_FALSE(d.isVisible());
        });
        SelecionarDificuldade(m, nullptr);
        EXPECT_EQ(m.Cancelado, !c.ok);
        EXPECT_EQ(m.opcoes, esperadas);
    }
}

// The classic group box: its caption is set into the top line of its frame, which stops
// at the caption and goes on after it.
TEST_F(Dialogos, GerarLegendaDoQuadroNaLinhaDoQuadro)
{
    ModuloZelpo m;
    frmGerar d(m);
    d.show();
    const QImage img = d.grab().toImage();
    const QRect quadro = d.Frame1->geometry();
    const auto linhaEm = [&](int x, int y) { return img.pixelColor(x, y) == Cor(CorSistema::SombraBotao); };
    int linha = -1;
    for (int y = quadro.top(); y < quadro.top() + 16 && linha < 0; ++y)
        if (linhaEm(quadro.right() - 4, y))
            linha = y;
    ASSERT_GE(linha, 0) << "no top line";
    // the caption's black pixels
    int topo = img.height(), base = -1, direita = -1;
    for (int y = quadro.top(); y < quadro.top() + 16; ++y)
        for (int x = quadro.left() + 4; x < quadro.right() - 8; ++x)
            if (qGray(img.pixel(x, y)) < 64) {
                topo = std::min(topo, y);
                base = std::max(base, y);
                direita = std::max(direita, x);
            }
    EXPECT_LT(topo, linha);
    EXPECT_GT(base, linha);
    EXPECT_FALSE(linhaEm((quadro.left() + direita) / 2, linha)) << "the line runs through the caption";
    EXPECT_TRUE(linhaEm(direita + 6, linha)) << "the line goes on after the caption";
}

// --- filters and colour chooser --------------------------------------------------------

TEST_F(Dialogos, FiltrosComoOsChamadoresEscrevem)
{
    const QString todos = QStringLiteral("Todos (*.zpr;*.bmp;*.gif)|*.zpr;*.bmp;*.gif|GIF (*.gif)|*.gif");
    const QList<FiltroArquivo> esperado{
        {QStringLiteral("Todos (*.zpr;*.bmp;*.gif)"), {QStringLiteral("*.zpr"), QStringLiteral("*.bmp"), QStringLiteral("*.gif")}},
        {QStringLiteral("GIF (*.gif)"), {QStringLiteral("*.gif")}}};
    const std::pair<QString, QList<FiltroArquivo>> casos[] = {{todos, esperado}, {todos + QLatin1Char('|'), esperado},
        {QStringLiteral("|*.bmp; *.jpg"), {{QStringLiteral("*.bmp; *.jpg"), {QStringLiteral("*.bmp"), QStringLiteral("*.jpg")}}}},
        {QString(), {}}};
    for (const auto& [filtro, filtros] : casos)
        EXPECT_EQ(Filtros(filtro), filtros) << filtro.toStdString();
}

// The names the file list shows, folders with a "/".
QStringList NomesMostrados(QFileDialog& d)
{
    const auto* lista = d.findChild<QListView*>(QStringLiteral("listView"));
    QStringList nomes;
    for (int i = 0; i < lista->model()->rowCount(lista->rootIndex()); ++i) {
        const QModelIndex item = lista->model()->index(i, 0, lista->rootIndex());
        const bool pasta = QFileInfo(item.data(QFileSystemModel::FilePathRole).toString()).isDir();
        nomes << item.data().toString() + (pasta ? QStringLiteral("/") : QString());
    }
    nomes.sort(Qt::CaseInsensitive);
    return nomes;
}

// The real Abrir dialog, with the main window's own filter text: the types read exactly
// as written, and each shows its files whatever the case of their names.
TEST_F(Dialogos, AbrirMostraOsTiposComoEscritosEFiltraSemDistinguirCaixa)
{
    PedidoArquivo pedido;
    {
        teste::JanelaDeTeste t;
        CommonDialogCls::DefinirRespostaArquivo([&](const PedidoArquivo& p) { return pedido = p, QString(); });
        t.Comando("mnuJogoAbrir");
        CommonDialogCls::DefinirRespostaArquivo({});
    }
    QTemporaryDir pasta;
    for (const char* nome : {"jogo.ZPR", "Foto.JPG", "foto2.jpg", "outra.jpeg", "Figura.Bmp", "leia.txt"})
        QFile(pasta.filePath(QLatin1String(nome))).open(QIODevice::WriteOnly);
    QDir(pasta.path()).mkdir(QStringLiteral("sub.jpg"));

    const auto d = CriarDialogoArquivo(pedido, nullptr);
    auto* tipos = d->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(tipos, nullptr);
    ASSERT_EQ(tipos->count(), 11);
    const std::pair<int, const char*> textos[] = {
        {0, "Todos (*.zpr;*.bmp;*.ico;*.cur;*.rle;*.wmf;*.emf;*.gif;*.jpg)"}, {1, "Zelpora (*.zpr)"},
        {7, "Metarquivo avançado do Windows (*.emf)"}, {9, "JPEG (*.jpg)"},
        {10, "Outras figuras (*.png;*.jpeg;*.jpe;*.jfif;*.webp;*.tif;*.tiff)"}};
    for (const auto& [i, texto] : textos)
        EXPECT_EQ(tipos->itemText(i), QString::fromUtf8(texto));

    auto* pastas = qobject_cast<QFileSystemModel*>(d->proxyModel()->sourceModel());
    QSignalSpy carregadas(pastas, &QFileSystemModel::directoryLoaded);
    d->setDirectory(pasta.path());
    d->show();
    while (!carregadas.contains(QVariantList{pasta.path()}))
        ASSERT_TRUE(carregadas.wait(10000)) << "the folder never loaded";
    QCoreApplication::processEvents();

    // the player goes down the list of types with the keyboard
    const std::map<int, QStringList> mostrados{
        {0, {"Figura.Bmp", "Foto.JPG", "foto2.jpg", "jogo.ZPR", "sub.jpg/"}},
        {1, {"jogo.ZPR", "sub.jpg/"}}, {2, {"Figura.Bmp", "sub.jpg/"}},
        {9, {"Foto.JPG", "foto2.jpg", "sub.jpg/"}}, {10, {"outra.jpeg", "sub.jpg/"}}};
    tipos->setFocus();
    for (int i = 0; i < tipos->count(); ++i) {
        if (i > 0)
            QTest::keyClick(tipos, Qt::Key_Down);
        ASSERT_EQ(tipos->currentIndex(), i);
        if (const auto esperado = mostrados.find(i); esperado != mostrados.end()) {
            EXPECT_EQ(NomesMostrados(*d), esperado->second) << tipos->itemText(i).toStdString();
        }
    }
}

TEST_F(Dialogos, CorComDezesseisCinzasEMenosUmAoCancelar)
{
    QColor recebida;
    CommonDialogCls::DefinirRespostaCor([&](QColorDialog& d) {
        recebida = d.currentColor();
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(QColorDialog::customColor(i), QColor(255 - 16 * i, 255 - 16 * i, 255 - 16 * i)) << i;
        QColorDialog::setCustomColor(3, Qt::red); // the player's own, lost next time
        return d.setCurrentColor(QColor(10, 20, 30)), int(QDialog::Accepted);
    });
    EXPECT_EQ(Dialogo().PickColor(0x00336699), 0x001E140A);
    EXPECT_EQ(recebida, QColor(0x99, 0x66, 0x33));
    EXPECT_EQ(Dialogo().PickColor(255), 0x001E140A); // checks the greys again
    ResponderCor(Qt::black, QDialog::Rejected);
    EXPECT_EQ(Dialogo().PickColor(255), -1);
}

// --- preview window ------------------------------------------------------------------

TEST_F(Dialogos, PreviewTamanhoEPosicaoDaFigura)
{
    const struct { int colunas, linhas; QSize cliente; QPoint canto; } casos[] = {
        {5, 4, {129, 104}, {4, 4}}, {9, 9, {224, 224}, {4, 4}}, {3, 2, {129, 65}, {28, 8}}};
    const QImage mini = Miniatura();
    for (const auto& c : casos) {
        SCOPED_TRACE(testing::Message() << c.colunas << "x" << c.linhas);
        ModuloZelpo m;
        frmPreview p(m, mini, c.colunas, c.linhas, nullptr);
        EXPECT_EQ(p.size(), c.cliente);
        const QImage& d = p.Desenho();
        const QPoint fim(c.colunas * 24 - 1, c.linhas * 24 - 1);
        EXPECT_EQ(d.pixel(c.canto), mini.pixel(0, 0));
        EXPECT_EQ(d.pixel(c.canto + fim), mini.pixel(fim));
        EXPECT_EQ(QColor(d.pixel(c.canto + fim + QPoint(1, 0))), Cor(CorSistema::FaceBotao));
        EXPECT_EQ(QColor(d.pixel(c.canto + fim + QPoint(0, 1))), Cor(CorSistema::FaceBotao));
    }
}

TEST_F(Dialogos, PreviewMolduraGravada)
{
    ModuloZelpo m;
    frmPreview p(m, Miniatura(), 5, 4, nullptr);
    p.show();
    const QImage d = p.grab().toImage();
    const QColor sombra = Cor(CorSistema::SombraBotao), realce = Cor(CorSistema::Realce3D),
                 face = Cor(CorSistema::FaceBotao);
    // picture at (4, 4), 120 x 96: dark outline (1,1)-(127,103), light one (0,0)-(126,102)
    const std::pair<QPoint, QColor> pontos[] = {{{0, 0}, realce}, {{126, 50}, realce}, {{50, 102}, realce},
        {{1, 50}, sombra}, {{127, 103}, sombra}, {{127, 1}, sombra}, {{127, 0}, face}, {{2, 50}, face}};
    for (const auto& [q, cor] : pontos)
        EXPECT_EQ(QColor(d.pixel(q)), cor) << q.x() << "," << q.y();
}

TEST_F(Dialogos, PreviewFicaNaTelaEFechaGuardandoAPosicao)
{
    // (left, top) in the options -> where the window shows; closed by a click or by F9
    const struct { QPoint guardada, mostrada; bool tecla; } casos[] = {
        {{10, 5000}, {10, 72}, false}, {{5000, 100}, {56, 100}, true}};
    for (const auto& c : casos) {
        SCOPED_TRACE(testing::Message() << c.guardada.x() << "," << c.guardada.y());
        ModuloZelpo m;
        m.opcoes.PreviewLeft = c.guardada.x();
        m.opcoes.PreviewTop = c.guardada.y();
        QPointer<frmPreview> p = new frmPreview(m, Miniatura(), 5, 4, nullptr);
        Ativar(*p);
        EXPECT_EQ(p->frameGeometry().topLeft(), c.mostrada);
        p->move(140, 90);
        if (c.tecla)
            QTest::keyClick(p, Qt::Key_F9);
        else
            QTest::mouseClick(p, Qt::LeftButton, {}, QPoint(60, 50));
        EXPECT_EQ(QPoint(m.opcoes.PreviewLeft, m.opcoes.PreviewTop), QPoint(140, 90));
        ProcessarExclusoes();
        EXPECT_TRUE(p.isNull()) << "closed and deleted";
    }
}

// --- about window --------------------------------------------------------------------

TEST_F(Dialogos, AutorTextoDaVersao)
{
    const std::tuple<int, int, int, const char*> casos[] = {
        {3, 6, 263, "Versão 3.0.6.263"}, {3, 12, 5, "Versão 3.1.2.5"}, {3, 0, 5, "Versão 3.0.0.5"}};
    for (const auto& [maior, menor, revisao, texto] : casos)
        EXPECT_EQ(TextoVersao(maior, menor, revisao), QString::fromUtf8(texto));
    EXPECT_EQ(Autor().lblVersion->text(), QStringLiteral("Versão 3.0.6.263"));
}

TEST_F(Dialogos, AutorEnterEEscapeFecham)
{
    QWidget principal;
    Ativar(principal);
    for (Qt::Key tecla : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        SCOPED_TRACE(tecla);
        QPointer<Autor> a = new Autor(&principal);
        Ativar(*a);
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : a.data(), tecla);
        ProcessarExclusoes();
        EXPECT_TRUE(a.isNull());
    }
}

TEST_F(Dialogos, AutorLinksAbremCorreioEPagina)
{
    QList<QUrl> abertos;
    Autor::DefinirAbridor([&](const QUrl& u) { abertos << u; });
    Autor a;
    Ativar(a);
    for (QLabel* l : {a.lblEmail, a.lblHomePage, a.lblFone}) {
        QTest::mouseClick(l, Qt::LeftButton, {}, QPoint(3, 3));
        EXPECT_EQ(l->cursor().shape() == Qt::BitmapCursor, l != a.lblFone) << "hand only on the links";
    }
    EXPECT_EQ(abertos, (QList<QUrl>{QUrl(QStringLiteral("mailto:zelpora@example.org")),
                           QUrl(QStringLiteral("http://www.example.org/zelpora"))}));
}

} // namespace
