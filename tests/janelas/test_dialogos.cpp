// The small windows driven as a player would: the new-puzzle dialog, the file filters and
// the colour chooser (answered through its hook), the preview window and the about window.
// (The preview opened and closed from the main window by its keys is in the random walk.)
#include "Autor.h"
#include "ambiente_teste.h"
#include "frmComoJogar.h"

#include <QAbstractProxyModel>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QListView>
#include <QMenu>
#include <QSignalSpy>

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

// --- new-puzzle dialog ---------------------------------------------------------------

// The difficulty shown (one the dialog never writes shows as Difícil) and what each way
// out keeps: only OK writes the choices, and a colour dialog cancelled leaves the colour.
TEST_F(Dialogos, GerarMostraAsOpcoesESoOkGrava)
{
    using Fim = void (*)(frmGerar&); // none: OK
    const struct { int16_t dificuldade; const char* marcado; int16_t gravada; bool pequenas; int respostaCor; Fim fim; } casos[] = {
        {1, "optFacil", 1, true, QDialog::Accepted, nullptr},
        {2, "optMedio", 2, false, QDialog::Accepted, [](frmGerar& d) { d.btnCancelar_Click(); }},
        {3, "optDificil", 3, true, QDialog::Accepted, [](frmGerar& d) { QTest::keyClick(d.chkPequenas, Qt::Key_Escape); }},
        {7, "optDificil", 3, false, QDialog::Accepted, [](frmGerar& d) { d.close(); }},
        {0, "optDificil", 3, true, QDialog::Rejected, nullptr}}; // the colour dialog's -1 is no colour
    for (const auto& c : casos) {
        SCOPED_TRACE(testing::Message() << "case " << &c - casos);
        const Opcoes atuais{{c.dificuldade, c.pequenas, !c.pequenas}, 8388608.0, 72, 56};
        // the small pieces turned over, the colour chosen
        const Opcoes esperadas{{c.gravada, !c.pequenas, !c.pequenas}, c.respostaCor == QDialog::Accepted ? 255.0 : 8388608.0, 72, 56};
        CommonDialogCls::DefinirRespostaCor([&c](QColorDialog& d) {
            // opened on the current colour (0x00BBGGRR), with sixteen greys for custom colours
            // whatever the player left there the time before
            EXPECT_EQ(d.currentColor(), QColor(0, 0, 128));
            for (int i = 0; i < 16; ++i)
                EXPECT_EQ(QColorDialog::customColor(i), QColor(255 - 16 * i, 255 - 16 * i, 255 - 16 * i)) << i;
            QColorDialog::setCustomColor(3, Qt::red);
            return d.setCurrentColor(Qt::red), c.respostaCor;
        });
        frmGerar::DefinirExibicao([&](frmGerar& d) {
            Ativar(d);
            EXPECT_TRUE(d.findChild<QRadioButton*>(QLatin1String(c.marcado))->isChecked());
            d.chkPequenas->setChecked(!d.chkPequenas->isChecked());
            d.btnBorda_Click();
            c.fim ? c.fim(d) : d.btnOk_Click();
            EXPECT_FALSE(d.isVisible());
        });
        EXPECT_EQ(SelecionarDificuldade(atuais, nullptr), c.fim ? std::nullopt : std::optional(esperadas));
    }
}

TEST_F(Dialogos, GerarEnterFuncionaComoTab)
{
    frmGerar d(Opcoes{});
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
    // the colour button has a picture for a face: a screen reader needs its name
    EXPECT_EQ(QAccessible::queryAccessibleInterface(d.btnBorda)->text(QAccessible::Name), QStringLiteral("Cor da borda"));
}

// --- file and colour dialogs ------------------------------------------------------------

// The names the file list shows.
QStringList NomesMostrados(QFileDialog& d)
{
    const auto* lista = d.findChild<QListView*>(QStringLiteral("listView"));
    QStringList nomes;
    for (int i = 0; i < lista->model()->rowCount(lista->rootIndex()); ++i)
        nomes << lista->model()->index(i, 0, lista->rootIndex()).data().toString();
    nomes.sort(Qt::CaseInsensitive);
    return nomes;
}

// The real Abrir dialog, with the main window's own filter text, in Portuguese: each type
// shows its files whatever the case of their names.
TEST_F(Dialogos, AbrirFiltraOsTiposSemDistinguirCaixa)
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
    auto* pastas = qobject_cast<QFileSystemModel*>(d->proxyModel()->sourceModel());
    QSignalSpy carregadas(pastas, &QFileSystemModel::directoryLoaded);
    d->setDirectory(pasta.path());
    d->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return carregadas.contains(QVariantList{pasta.path()}); }, 10000));
    QCoreApplication::processEvents();

    // the list speaks Portuguese whatever the system's language: types and dates
    const auto coluna = [&](const char* nome, int c) {
        return d->proxyModel()->mapFromSource(pastas->index(pasta.filePath(QLatin1String(nome)), c)).data().toString();
    };
    EXPECT_EQ(coluna("sub.jpg", 2), QStringLiteral("Pasta"));
    EXPECT_EQ(coluna("Foto.JPG", 2), QStringLiteral("Imagem JPEG"));
    const QDateTime modificada = QFileInfo(pasta.filePath(QStringLiteral("Foto.JPG"))).lastModified();
    EXPECT_EQ(coluna("Foto.JPG", 3), modificada.toString(QStringLiteral("dd/MM/yyyy HH:mm")));

    // the player goes down the list of types with the keyboard
    const std::map<int, QStringList> mostrados{
        {0, {"Figura.Bmp", "Foto.JPG", "foto2.jpg", "jogo.ZPR", "sub.jpg"}},
        {1, {"jogo.ZPR", "sub.jpg"}}, {2, {"Figura.Bmp", "sub.jpg"}},
        {9, {"Foto.JPG", "foto2.jpg", "sub.jpg"}}, {10, {"outra.jpeg", "sub.jpg"}}};
    tipos->setFocus();
    for (const auto& [indice, nomes] : mostrados) {
        for (int i = tipos->currentIndex(); i < indice; ++i)
            QTest::keyClick(tipos, Qt::Key_Down);
        ASSERT_EQ(tipos->currentIndex(), indice);
        EXPECT_EQ(NomesMostrados(*d), nomes) << tipos->itemText(indice).toStdString();
    }
}

// --- preview window ------------------------------------------------------------------

// The client area by the grid, the picture's corners in it, the button face around; on
// screen the recessed frame around the 5 x 4 picture at (4, 4), 120 x 96: dark outline
// (1,1)-(127,103), light one (0,0)-(126,102). The window shows where the options say,
// but never off the screen, and closes on a click or F9 keeping where it was moved to.
TEST_F(Dialogos, PreviewDesenhoPosicaoEFecho)
{
    const struct { int colunas, linhas; QSize cliente; QPoint canto, guardada, mostrada; bool tecla; } casos[] = {
        {9, 9, {224, 224}, {4, 4}, {10, 5000}, {10, 72}, false},
        {3, 2, {129, 65}, {28, 8}, {5000, 100}, {56, 100}, true},
        {5, 4, {129, 104}, {4, 4}, {30, 40}, {30, 40}, false}};
    const QImage mini = teste::FiguraDeTeste(216, 216); // larger than any grid shows
    const QColor sombra = Cor(CorSistema::SombraBotao), realce = Cor(CorSistema::Realce3D), face = Cor(CorSistema::FaceBotao);
    for (const auto& c : casos) {
        SCOPED_TRACE(testing::Message() << c.colunas << "x" << c.linhas);
        QPointer<frmPreview> p = new frmPreview(c.guardada, mini, c.colunas, c.linhas, nullptr);
        QSignalSpy fechada(p, &frmPreview::fechada);
        EXPECT_EQ(p->size(), c.cliente);
        const QImage& d = p->Desenho();
        const QPoint fim(c.colunas * 24 - 1, c.linhas * 24 - 1);
        EXPECT_EQ(d.pixel(c.canto), mini.pixel(0, 0));
        EXPECT_EQ(d.pixel(c.canto + fim), mini.pixel(fim));
        EXPECT_EQ(QColor(d.pixel(c.canto + fim + QPoint(1, 0))), face);
        EXPECT_EQ(QColor(d.pixel(c.canto + fim + QPoint(0, 1))), face);
        Ativar(*p);
        EXPECT_EQ(p->frameGeometry().topLeft(), c.mostrada);
        if (c.colunas == 5) {
            const QImage tela = p->grab().toImage();
            const std::pair<QPoint, QColor> pontos[] = {{{0, 0}, realce}, {{126, 50}, realce}, {{50, 102}, realce},
                {{1, 50}, sombra}, {{127, 103}, sombra}, {{127, 1}, sombra}, {{127, 0}, face}, {{2, 50}, face}};
            for (const auto& [q, cor] : pontos)
                EXPECT_EQ(QColor(tela.pixel(q)), cor) << q.x() << "," << q.y();
        }
        p->move(140, 90);
        if (c.tecla)
            QTest::keyClick(p, Qt::Key_F9);
        else
            QTest::mouseClick(p, Qt::LeftButton, {}, QPoint(60, 50));
        EXPECT_EQ(fechada, QList<QVariantList>{{QPoint(140, 90)}}) << "once, where it was moved to";
        ProcessarExclusoes();
        EXPECT_TRUE(p.isNull()) << "closed and deleted";
    }
}

// --- about window --------------------------------------------------------------------

// The version as major.minor.revision with the minor's two digits split; the Ok button
// framed as the default one; Enter and Escape close the window; the e-mail and the home page open, with a hand over them, the
// phone number does nothing.
TEST_F(Dialogos, AutorVersaoTeclasELinks)
{
    EXPECT_EQ(TextoVersao(3, 12, 5), QStringLiteral("Versão 3.1.2.5"));
    QList<QUrl> abertos;
    Autor::DefinirAbridor([&](const QUrl& u) { abertos << u; });
    QWidget principal;
    Ativar(principal);
    for (Qt::Key tecla : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        SCOPED_TRACE(tecla);
        QPointer<Autor> a = new Autor(&principal);
        Ativar(*a);
        EXPECT_EQ(a->lblVersion->text(), QStringLiteral("Versão 3.0.6.263"));
        // the default button's dark frame runs round its whole 65 x 25 rectangle
        const QImage ok = a->btnOk->grab().toImage();
        for (QPoint canto : {QPoint(0, 0), QPoint(64, 0), QPoint(0, 24), QPoint(64, 24), QPoint(32, 24), QPoint(64, 12)})
            EXPECT_EQ(QColor(ok.pixel(canto)), Cor(CorSistema::SombraEscura3D)) << canto.x() << "," << canto.y();
        for (QLabel* l : {a->lblEmail, a->lblHomePage, a->lblFone}) {
            QTest::mouseClick(l, Qt::LeftButton, {}, QPoint(3, 3));
            EXPECT_EQ(l->cursor().shape() == Qt::BitmapCursor, l != a->lblFone) << "hand only on the links";
        }
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : a.data(), tecla);
        ProcessarExclusoes();
        EXPECT_TRUE(a.isNull());
    }
    const QList<QUrl> links{QUrl(QStringLiteral("mailto:zelpora@example.org")), QUrl(QStringLiteral("http://www.example.org/zelpora"))};
    EXPECT_EQ(abertos, links + links + links);
}

// --- the rules -----------------------------------------------------------------------

// F1 on the main window shows the rules first in the Ajuda menu, centred on the window;
// F1 again keeps one window; Escape closes it for good.
TEST_F(Dialogos, ComoJogarComF1CentradaFechaComEsc)
{
    teste::JanelaDeTeste t;
    t.w().Iniciar({});
    Ativar(t.w());
    const auto* ajuda = qobject_cast<QMenu*>(t.Acao("mnuAjudaAutor")->associatedObjects().value(0));
    ASSERT_NE(ajuda, nullptr);
    EXPECT_EQ(ajuda->actions().value(0)->objectName(), QStringLiteral("mnuAjudaComoJogar"));
    QTest::keyClick(t.w().windowHandle(), Qt::Key_F1);
    QTest::keyClick(t.w().windowHandle(), Qt::Key_F1);
    const QList<frmComoJogar*> abertas = t.w().findChildren<frmComoJogar*>();
    ASSERT_EQ(abertas.size(), 1);
    QPointer<frmComoJogar> regras = abertas.first();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(regras));
    // without a window manager the client areas are centred, the odd pixel to the right
    EXPECT_TRUE(teste::Centrado(regras->geometry(), t.w().geometry()));
    EXPECT_TRUE(regras->lblRegras->text().contains(QStringLiteral("20 pixels")));
    QTest::keyClick(regras, Qt::Key_Escape);
    ProcessarExclusoes();
    EXPECT_TRUE(regras.isNull());
}

} // namespace
