// A seeded random walk over the player's commands, through the real window: new games,
// opening good, damaged and missing saved games and pictures, choosing and dropping
// pieces, saves that succeed and saves that fail, restarts, the preview, the chord
// commands, leaving the program with every answer, and crashes followed by a start that
// takes the game back or not. A small model of the game's state says what each step must
// do; after every step the window is checked against it:
//  - no file on disk changed except the one a successful save named;
//  - the menus and the clock follow the state;
//  - a game in play changes only through the player's own choice;
//  - every file written reads back to the game's record;
//  - a copy of the game is on disk exactly while a game is in play, and holds it.
// The seed is new on every run and printed; ZELPO_SEMENTE=<n> repeats a run, and
// ZELPO_PASSOS=<n> sets its length.
#include "ambiente_teste.h"
#include "files/zpr.h"
#include "frmGerar.h"
#include "frmPreview.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDirIterator>
#include <QPointer>
#include <QRadioButton>

#include <chrono>
#include <iostream>
#include <map>
#include <optional>

#include <sys/stat.h>

using namespace zelpo;
using zelpo::teste::Conteudo;
using zelpo::teste::JanelaDeTeste;
using zelpo::teste::RespostaDeArquivo;

namespace {

using Fotografia = std::map<QString, QByteArray>;

enum class Passo {
    Novo, AbrirSalvo, AbrirDanificado, AbrirAusente, AbrirFigura, Escolher, SoltarCerto, SoltarErrado,
    Salvar, SalvarComo, SalvarComoFigura, Sabotar, Reiniciar, AcordeG, Visualizar, Sair, Cair, Total
};

EstadoJogo EstadoDe(const JogoSalvo& j)
{
    if (j.PartesNaRolagem == 0)
        return EstadoJogo::Completo;
    return j.PartesIniciais > 0 ? EstadoJogo::EscolhendoPecas : EstadoJogo::Jogando;
}

class Passeio {
public:
    explicit Passeio(uint64_t semente) : rnd_(semente), t_(96, 96, 1, semente)
    {
        const QString p = t_.pasta.path();
        // Pictures of other sizes beside the first, so grids and piece sizes vary.
        teste::FiguraDeTeste(200, 130).save(p + QStringLiteral("/Medio/outra.bmp"));
        teste::FiguraDeTeste(150, 260).save(p + QStringLiteral("/Dificil/alta.bmp"));
        Escrever(p + QStringLiteral("/lixo.jpg"), "not a picture");
        Escrever(p + QStringLiteral("/ruim.zpr"), QByteArray("ZPR 2.0 ") + QByteArray(900, '\x07'));
        Escrever(p + QStringLiteral("/bloqueio"), "a file where a folder should be");
        // The file dialogs open on the current folder and list it: make it a small one.
        QDir(p).mkdir(QStringLiteral("vazia"));
        QDir::setCurrent(p + QStringLiteral("/vazia"));
        // Settings may hold a difficulty the dialog never writes.
        const int dificuldades[] = {0, 1, 2, 3, 7};
        QSettings cfg(t_.ArquivoConfiguracao(), QSettings::IniFormat);
        cfg.setValue(QStringLiteral("Zelpora 3.0/Dificuldade"), QString::number(dificuldades[Sorteio(5)]));
        cfg.sync();
        Reabrir();
    }

    void Dar(int indice)
    {
        const auto passo = static_cast<Passo>(Sorteio(static_cast<int>(Passo::Total)));
        SCOPED_TRACE(testing::Message() << "step " << indice << ", command " << static_cast<int>(passo));
        antes_ = Tirar();
        jogoAntes_ = t_.jogo();
        tituloAntes_ = t_.w().windowTitle();
        t_.mensagens.clear();
        arquivoAntes_ = ArquivoJogo();
        salvoEm_.reset();
        mudouConfiguracao_ = false;
        mudouJogo_ = false;
        switch (passo) {
        case Passo::Novo: Novo(); break;
        case Passo::AbrirSalvo: AbrirSalvo(); break;
        case Passo::AbrirDanificado: AbrirRecusado(t_.pasta.path() + QStringLiteral("/ruim.zpr")); break;
        case Passo::AbrirAusente: AbrirRecusado(t_.pasta.path() + QStringLiteral("/sumiu.zpr")); break;
        case Passo::AbrirFigura: AbrirFigura(); break;
        case Passo::Escolher: Escolher(); break;
        case Passo::SoltarCerto: SoltarCerto(); break;
        case Passo::SoltarErrado: SoltarErrado(); break;
        case Passo::Salvar: Salvar(); break;
        case Passo::SalvarComo: SalvarComo(); break;
        case Passo::SalvarComoFigura: SalvarComoFigura(); break;
        case Passo::Sabotar: Sabotar(); break;
        case Passo::Reiniciar: Reiniciar(); break;
        case Passo::AcordeG: AcordeG(); break;
        case Passo::Visualizar: Visualizar(); break;
        case Passo::Sair: Sair(); break;
        case Passo::Cair: Cair(); break;
        case Passo::Total: break;
        }
        Verificar();
    }

private:
    int Sorteio(int n) { return static_cast<int>(rnd_.Rnd() * n); }
    bool Moeda() { return Sorteio(2) == 0; }
    frmZelpo& w() { return t_.w(); }
    EstadoJogo Estado() { return w().partida().Estado(); }
    bool EmJogo() { return Estado() == EstadoJogo::EscolhendoPecas || Estado() == EstadoJogo::Jogando; }
    bool Carregado() { return Estado() != EstadoJogo::SemJogo; }
    const QString& ArquivoJogo() { return w().partida().SessaoAtual().ArquivoJogo; }

    static void Escrever(const QString& caminho, const QByteArray& bytes)
    {
        QFile f(caminho);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size());
    }

    // Every file and folder under the test folder with what would change if it were
    // written: a replaced file has a new inode, one written in place a new time or size.
    Fotografia Tirar()
    {
        Fotografia f;
        QDirIterator it(t_.pasta.path(), QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString c = it.next();
            struct stat e {};
            ::stat(QFile::encodeName(c).constData(), &e);
            f[c] = QByteArray::number(qulonglong(e.st_ino)) + ' ' + QByteArray::number(qlonglong(e.st_size)) + ' '
                   + QByteArray::number(qlonglong(e.st_mtim.tv_sec)) + '.' + QByteArray::number(qlonglong(e.st_mtim.tv_nsec))
                   + (S_ISDIR(e.st_mode) ? " pasta" : "");
        }
        return f;
    }

    // A fresh start of the program, as after leaving it.
    void Reabrir()
    {
        t_.Criar(static_cast<uint64_t>(Sorteio(1 << 30)));
        w().Iniciar({});
        QApplication::setActiveWindow(&w()); // the keys of the steps go to the active window
        esperado_ = EstadoJogo::EscolhendoPecas;
    }

    // The new-puzzle dialog answers OK with random choices, or Cancel.
    void ResponderGerar(bool ok)
    {
        frmGerar::DefinirExibicao([this, ok](frmGerar& d) {
            ++dialogosGerar_;
            if (!ok)
                return d.btnCancelar_Click();
            QRadioButton* opcoes[] = {d.optFacil, d.optMedio, d.optDificil};
            opcoes[Sorteio(3)]->setChecked(true);
            d.chkPequenas->setChecked(Moeda());
            d.chkAdaptar->setChecked(Moeda());
            d.btnOk_Click();
        });
    }

    void Novo()
    {
        const bool ok = Moeda();
        ResponderGerar(ok);
        t_.Comando("mnuJogoNovo");
        frmGerar::DefinirExibicao({});
        if (ok)
            Mudou(EstadoJogo::EscolhendoPecas);
    }

    // The command changed the game, as it should, and left it in `estado`.
    void Mudou(EstadoJogo estado)
    {
        esperado_ = estado;
        mudouJogo_ = true;
    }

    std::vector<int> PecasVisiveis(bool soAsQueEncaixam)
    {
        std::vector<int> pecas;
        for (int p : t_.PecasNaBandeja())
            if (t_.Peca(p)->isVisible() && (!soAsQueEncaixam || TemVizinhoEncaixado(t_.jogo(), p)))
                pecas.push_back(p);
        return pecas;
    }

    int Qualquer(const std::vector<int>& pecas) { return pecas.empty() ? -1 : pecas[static_cast<size_t>(Sorteio(int(pecas.size())))]; }

    void AbrirSalvo()
    {
        if (salvos_.empty())
            return AbrirRecusado(t_.pasta.path() + QStringLiteral("/sumiu.zpr"));
        const QString arquivo = salvos_[static_cast<size_t>(Sorteio(static_cast<int>(salvos_.size())))];
        const ResultadoZPR lido = LerArquivoZPR(arquivo);
        if (!lido.jogo) // replaced by a folder since: refused like any bad file
            return AbrirRecusado(arquivo);
        {
            RespostaDeArquivo resposta(arquivo);
            t_.Comando("mnuJogoAbrir");
        }
        Mudou(EstadoDe(*lido.jogo));
        EXPECT_TRUE(t_.jogo() == *lido.jogo);
        EXPECT_EQ(ArquivoJogo(), arquivo);
        // the one message a saved game may bring: its picture could not be read
        for (const PedidoMensagem& m : t_.mensagens) {
            EXPECT_EQ(m.titulo, QStringLiteral("Figura inválida")) << m.texto.toStdString();
            EXPECT_TRUE(m.texto.endsWith(QLatin1Char('\'') + arquivo + QLatin1Char('\''))) << "names the player's file";
        }
    }

    void AbrirRecusado(const QString& arquivo)
    {
        {
            RespostaDeArquivo resposta(arquivo);
            t_.Comando("mnuJogoAbrir");
        }
        Mudou(EstadoJogo::SemJogo);
        ASSERT_EQ(t_.mensagens.size(), 1u);
        EXPECT_TRUE(t_.mensagens[0].texto.startsWith(arquivo + QStringLiteral("\n\n")));
        EXPECT_EQ(w().windowTitle(), QStringLiteral("Zelpora 3.0 - [") + arquivo + QLatin1Char(']'));
        tituloAntes_ = w().windowTitle();
    }

    // A good picture, one that is not a picture, or one that is gone.
    void AbrirFigura()
    {
        const QString nomes[] = {QStringLiteral("/Facil/figura.bmp"), QStringLiteral("/lixo.jpg"),
                                 QStringLiteral("/sumida.bmp")};
        const QString figura = t_.pasta.path() + nomes[Sorteio(3)];
        const bool ok = Moeda();
        ResponderGerar(ok);
        {
            RespostaDeArquivo resposta(figura);
            t_.Comando("mnuJogoAbrir");
        }
        frmGerar::DefinirExibicao({});
        if (ok)
            Mudou(EstadoJogo::EscolhendoPecas);
    }

    void Escolher()
    {
        if (Estado() != EstadoJogo::EscolhendoPecas)
            return;
        const int peca = Qualquer(PecasVisiveis(false));
        ASSERT_GE(peca, 0);
        t_.Clicar(peca);
        Mudou(EstadoDe(t_.jogo()));
        EXPECT_EQ(t_.jogo().Partes[peca].Encaixada, VERDADEIRO);
        EXPECT_EQ(t_.jogo().PartesIniciais, jogoAntes_.PartesIniciais - 1);
        EXPECT_EQ(t_.jogo().PartesNaRolagem, jogoAntes_.PartesNaRolagem - 1);
    }

    void SoltarCerto()
    {
        if (Estado() != EstadoJogo::Jogando)
            return;
        const int peca = Qualquer(PecasVisiveis(true));
        if (peca < 0)
            return;
        t_.Arrastar(peca, LugarVerdadeiro(t_.jogo(), peca) + QPoint(Sorteio(41) - 20, Sorteio(41) - 20));
        EXPECT_EQ(t_.jogo().Partes[peca].Encaixada, VERDADEIRO);
        Mudou(EstadoDe(t_.jogo()));
    }

    void SoltarErrado()
    {
        if (Estado() != EstadoJogo::Jogando)
            return;
        const int peca = Qualquer(PecasVisiveis(false));
        t_.Arrastar(peca, LugarVerdadeiro(t_.jogo(), peca) + QPoint(21 + Sorteio(60), 0));
        EXPECT_EQ(t_.jogo().Partes[peca].Encaixada, FALSO);
    }

    // The save dialog answers a new file, or one in a folder that cannot exist.
    QString NomeParaSalvar(const QString& extensao)
    {
        if (Sorteio(4) == 0)
            return t_.pasta.path() + QStringLiteral("/bloqueio/jogo") + extensao;
        return t_.pasta.path() + QStringLiteral("/jogo%1").arg(++contador_) + extensao;
    }

    bool PodeGravar(const QString& caminho) { return !caminho.contains(QStringLiteral("/bloqueio/")) && !QFileInfo(caminho).isDir(); }

    void Salvar()
    {
        const QString destino = ArquivoJogo().isEmpty() ? NomeParaSalvar(QStringLiteral(".zpr")) : ArquivoJogo();
        {
            RespostaDeArquivo resposta(destino);
            QTest::keyClick(w().windowHandle(), Qt::Key_S, Qt::ControlModifier);
        }
        Salvou(destino, true);
    }

    void SalvarComo()
    {
        const QString destino = NomeParaSalvar(QStringLiteral(".zpr"));
        {
            RespostaDeArquivo resposta(destino);
            t_.Comando("mnuJogoSalvar1");
        }
        Salvou(destino, true);
    }

    void SalvarComoFigura()
    {
        const QString destino = NomeParaSalvar(QStringLiteral(".bmp"));
        {
            RespostaDeArquivo resposta(destino);
            t_.Comando("mnuJogoSalvar1");
        }
        Salvou(destino, false);
    }

    // What a save must have done: written the whole file and named it, or changed nothing.
    void Salvou(const QString& destino, bool jogo)
    {
        if (!Carregado())
            return;
        if (!PodeGravar(destino)) {
            EXPECT_EQ(ArquivoJogo(), arquivoAntes_);
            EXPECT_EQ(w().windowTitle(), tituloAntes_);
            EXPECT_FALSE(t_.mensagens.empty()) << "a failed write is reported";
            return;
        }
        salvoEm_ = destino;
        if (!jogo) {
            EXPECT_EQ(Conteudo(destino), t_.jogo().BytesFigura);
            return;
        }
        const ResultadoZPR lido = LerArquivoZPR(destino);
        ASSERT_TRUE(lido.jogo) << lido.erro.toStdString();
        EXPECT_TRUE(*lido.jogo == t_.jogo()) << "the file holds the game";
        EXPECT_EQ(ArquivoJogo(), destino);
        EXPECT_EQ(w().windowTitle(), QStringLiteral("Zelpora 3.0 - [") + destino + QLatin1Char(']'));
        tituloAntes_ = w().windowTitle();
        if (std::find(salvos_.begin(), salvos_.end(), destino) == salvos_.end())
            salvos_.push_back(destino);
    }

    // The game's own file turns into a folder: the next save to it must fail and keep all.
    void Sabotar()
    {
        if (ArquivoJogo().isEmpty() || !QFileInfo(ArquivoJogo()).isFile())
            return;
        QFile::remove(ArquivoJogo());
        QDir().mkdir(ArquivoJogo());
        antes_ = Tirar();
    }

    void Reiniciar()
    {
        const bool sim = Moeda();
        t_.resposta = sim ? QMessageBox::Yes : QMessageBox::No;
        t_.Comando("mnuJogoReiniciar");
        if (sim && Carregado()) {
            Mudou(EstadoJogo::EscolhendoPecas);
            EXPECT_EQ(t_.jogo().PartesRolagem, t_.jogo().PartesRolagemInicio);
        }
    }

    // Shift+Ctrl+Alt+G: the deal in grid order, then the restart question.
    void AcordeG()
    {
        const bool sim = Moeda();
        t_.resposta = sim ? QMessageBox::Yes : QMessageBox::No;
        QTest::keyClick(w().windowHandle(), Qt::Key_G, Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
        QCoreApplication::processEvents();
        if (!Carregado())
            return;
        jogoAntes_.PartesRolagemInicio = t_.jogo().PartesRolagemInicio;
        if (sim) {
            Mudou(EstadoJogo::EscolhendoPecas);
            for (int i = 0; i < SLOTS_ROLAGEM; ++i)
                ASSERT_EQ(t_.jogo().PartesRolagem[i], i < t_.jogo().Pecas() ? i : VAZIO) << "the tray in grid order";
        }
    }

    // F9 shows the preview; while it is active, F2 or F9 only close it.
    void Visualizar()
    {
        QTest::keyClick(w().windowHandle(), Qt::Key_F9);
        QPointer<frmPreview> preview = w().findChild<frmPreview*>();
        if (!Carregado()) {
            EXPECT_TRUE(preview.isNull()) << "no game, nothing to preview";
            return;
        }
        ASSERT_FALSE(preview.isNull());
        QApplication::setActiveWindow(preview);
        const int gerar = dialogosGerar_;
        ResponderGerar(false);
        QTest::keyClick(preview->windowHandle(), Moeda() ? Qt::Key_F2 : Qt::Key_F9);
        frmGerar::DefinirExibicao({});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(preview.isNull()) << "the key closed the preview";
        EXPECT_EQ(w().findChildren<frmPreview*>().size(), 0);
        EXPECT_EQ(dialogosGerar_, gerar) << "and did nothing else";
        QApplication::setActiveWindow(&w());
    }

    // Leaving, with each answer to the question; a save that fails keeps the program open.
    void Sair()
    {
        const QMessageBox::StandardButton respostas[] = {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
        t_.resposta = respostas[Sorteio(3)];
        const bool perguntou = EmJogo();
        const QString destino = ArquivoJogo().isEmpty() ? NomeParaSalvar(QStringLiteral(".zpr")) : ArquivoJogo();
        bool fechou = false;
        {
            RespostaDeArquivo resposta(destino);
            fechou = w().close();
        }
        const bool salvar = perguntou && t_.resposta == QMessageBox::Yes;
        const bool deveFechar = !perguntou || t_.resposta == QMessageBox::No || (salvar && PodeGravar(destino));
        EXPECT_EQ(fechou, deveFechar);
        if (salvar)
            Salvou(destino, true);
        if (!fechou)
            return;
        mudouConfiguracao_ = true;
        Reabrir();
        mudouJogo_ = true;
    }

    // The program dies with the game as it stands; the next start offers it back, and the
    // answer is Sim or Não.
    void Cair()
    {
        const bool emJogo = EmJogo();
        std::optional<Recuperacao> copia;
        if (emJogo) {
            copia = DecodificarRecuperacao(Conteudo(t_.Copias().value(0)));
            ASSERT_TRUE(copia);
        }
        t_.janela.reset();
        const bool sim = Moeda();
        t_.resposta = sim ? QMessageBox::Yes : QMessageBox::No;
        Reabrir();
        mudouJogo_ = true;
        if (!emJogo) {
            EXPECT_TRUE(t_.mensagens.empty()) << "nothing to take back";
            return;
        }
        ASSERT_FALSE(t_.mensagens.empty());
        EXPECT_EQ(t_.mensagens[0].icone, QMessageBox::Question);
        if (!sim)
            return;
        esperado_ = EstadoDe(copia->jogo);
        EXPECT_TRUE(t_.jogo() == copia->jogo);
        EXPECT_EQ(ArquivoJogo(), copia->arquivoJogo);
    }

    void Verificar()
    {
        // Only the file a save named, and the settings at a real exit, may change.
        const Fotografia depois = Tirar();
        for (const auto& [caminho, resumo] : depois) {
            const auto antes = antes_.find(caminho);
            const bool mudou = antes == antes_.end() || antes->second != resumo;
            const bool permitido = (salvoEm_ && caminho == *salvoEm_)
                                   || (mudouConfiguracao_ && caminho == t_.ArquivoConfiguracao());
            EXPECT_TRUE(!mudou || permitido) << "changed: " << caminho.toStdString();
        }
        for (const auto& [caminho, resumo] : antes_)
            EXPECT_TRUE(depois.count(caminho)) << "removed: " << caminho.toStdString();

        // The state, the menus and the clock.
        ASSERT_EQ(Estado(), esperado_);
        const bool carregado = Carregado();
        for (const char* item : {"mnuJogoSalvar0", "mnuJogoSalvar1", "mnuJogoVisualizar", "mnuJogoReiniciar"})
            EXPECT_EQ(t_.Acao(item)->isEnabled(), carregado) << item;
        EXPECT_TRUE(t_.Acao("mnuJogoNovo")->isEnabled() && t_.Acao("mnuJogoAbrir")->isEnabled());
        EXPECT_EQ(t_.Relogio()->isActive(), EmJogo());
        VerificarCopia(t_);

        // A step that does not change the game left it alone, but for the chord's new deal
        // and the picture bytes a first save reads.
        if (!mudouJogo_) {
            JogoSalvo agora = t_.jogo();
            agora.BytesFigura = jogoAntes_.BytesFigura;
            agora.ExtensaoFigura = jogoAntes_.ExtensaoFigura;
            agora.SegundosJogo = jogoAntes_.SegundosJogo;
            EXPECT_TRUE(agora == jogoAntes_) << "the game changed without a command that changes it";
        }
    }

    Aleatorio rnd_;
    JanelaDeTeste t_;
    EstadoJogo esperado_ = EstadoJogo::SemJogo;
    Fotografia antes_;
    JogoSalvo jogoAntes_;
    QString tituloAntes_;
    QString arquivoAntes_;
    std::optional<QString> salvoEm_;
    std::vector<QString> salvos_;
    bool mudouConfiguracao_ = false;
    bool mudouJogo_ = false;
    int contador_ = 0;
    int dialogosGerar_ = 0;
};

uint64_t Semente()
{
    if (const QByteArray s = qgetenv("ZELPO_SEMENTE"); !s.isEmpty())
        return s.toULongLong();
    return static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

} // namespace

TEST(Modelo, PasseioAleatorioPelosComandos)
{
    const uint64_t semente = Semente();
    const int passos = qEnvironmentVariableIsSet("ZELPO_PASSOS") ? qEnvironmentVariableIntValue("ZELPO_PASSOS") : 2000;
    std::cout << "seed " << semente << " (ZELPO_SEMENTE=" << semente << " repeats this run)" << std::endl;
    SCOPED_TRACE(testing::Message() << "ZELPO_SEMENTE=" << semente);
    const QString pastaAntes = QDir::currentPath();
    {
        Passeio passeio(semente);
        for (int i = 0; i < passos && !testing::Test::HasFailure(); ++i)
            passeio.Dar(i);
    }
    QDir::setCurrent(pastaAntes);
}
