// A seeded random walk over the player's commands, through the real window: new games,
// opening good, damaged and missing saved games and pictures, choosing and dropping
// pieces, saves that succeed and saves that fail, restarts, the preview, the chord
// commands, leaving the program with every answer, and crashes followed by a start that
// takes the game back or not. A small model of the game's state says what each step must
// do; after every step the window is checked against it:
//  - no file on disk changed except the one a successful save named (and the settings,
//    which a real exit writes and nothing else does);
//  - the menus and the clock follow the state;
//  - a game in play changes only through the player's own choice;
//  - every file written reads back to the game's record;
//  - a copy of the game is on disk exactly while a game is in play, and holds it.
// It runs twice: with a fixed seed, and with a new seed on every run; both are printed, and
// ZELPO_SEMENTE=<n> repeats the second. ZELPO_PASSOS=<n> sets their length.
#include "ambiente_teste.h"
#include "files/zpr.h"

#include <chrono>
#include <iostream>

using namespace zelpo;
using namespace zelpo::teste;

namespace {

// Inode, size, modification time and whether a folder.
using Fotografia = std::map<QString, std::tuple<ino_t, off_t, time_t, long, bool>>;

EstadoJogo EstadoDe(const JogoSalvo& j)
{
    return j.PartesNaRolagem == 0 ? EstadoJogo::Completo
           : j.PartesIniciais > 0 ? EstadoJogo::EscolhendoPecas : EstadoJogo::Jogando;
}

// The copy on disk follows the game: one copy while a game is in play, holding the game
// with its picture and its file, the clock at most 30 s behind; none otherwise.
void VerificarCopia(teste::JanelaDeTeste& t)
{
    const QStringList copias = t.Copias();
    const Partida& p = t.w().partida();
    ASSERT_EQ(copias.size(), p.EmJogo() ? 1 : 0) << "one copy exactly while a game is in play";
    if (copias.isEmpty())
        return;
    const std::optional<Recuperacao> c = LerCopia(copias[0]);
    ASSERT_TRUE(c) << "the copy cannot be read back";
    EXPECT_EQ(c->arquivoJogo, p.SessaoAtual().ArquivoJogo);
    const int32_t atraso = p.Jogo().SegundosJogo - c->jogo.SegundosJogo;
    EXPECT_TRUE(atraso >= 0 && atraso < INTERVALO_COPIA) << "the copy's clock is " << atraso << " s behind";
    EXPECT_TRUE(MesmoJogoForaDoRelogio(c->jogo, p.Jogo())) << "the copy is not the game in play";
}

class Passeio {
public:
    explicit Passeio(uint64_t semente) : rnd_(semente), t_(96, 96, 1, semente)
    {
        const QString p = t_.pasta.path();
        // Pictures of other sizes beside the first, so grids and piece sizes vary.
        teste::FiguraDeTeste(200, 130).save(p + QStringLiteral("/Medio/outra.bmp"));
        teste::FiguraDeTeste(150, 260).save(p + QStringLiteral("/Dificil/alta.bmp"));
        EXPECT_TRUE(teste::Gravar(p + QStringLiteral("/lixo.jpg"), "not a picture")
                    && teste::Gravar(p + QStringLiteral("/ruim.zpr"), QByteArray("ZPR 2.0 ") + QByteArray(900, '\x07'))
                    && teste::Gravar(p + QStringLiteral("/bloqueio"), "a file where a folder should be"));
        // The file dialogs open on the current folder and list it: make it a small one.
        QDir(p).mkdir(QStringLiteral("vazia"));
        QDir::setCurrent(p + QStringLiteral("/vazia"));
        // Settings may hold a difficulty the dialog never writes.
        const int dificuldades[] = {0, 1, 2, 3, 7};
        QSettings(t_.ArquivoConfiguracao(), QSettings::IniFormat)
            .setValue(QStringLiteral("Zelpora 3.0/Dificuldade"), QString::number(Um(dificuldades)));
        Reabrir();
    }
    ~Passeio() { QDir::setCurrent(pastaAntes_); }

    void Dar(int indice)
    {
        using Comando = void (Passeio::*)();
        static constexpr Comando comandos[] = {&Passeio::Novo, &Passeio::AbrirSalvo, &Passeio::AbrirRecusado,
            &Passeio::AbrirFigura, &Passeio::Mover, &Passeio::Mover, &Passeio::Mover, &Passeio::Salvar, &Passeio::Salvar,
            &Passeio::Salvar, &Passeio::Sabotar, &Passeio::Reiniciar, &Passeio::Reiniciar, &Passeio::Visualizar,
            &Passeio::Sair, &Passeio::Cair};
        const int comando = Sorteio(int(std::size(comandos)));
        SCOPED_TRACE(testing::Message() << "step " << indice << ", command " << comando);
        antes_ = Tirar();
        jogoAntes_ = t_.jogo();
        tituloAntes_ = w().windowTitle();
        arquivoAntes_ = ArquivoJogo();
        t_.mensagens.clear();
        salvoEm_.reset();
        mudouConfiguracao_ = mudouJogo_ = false;
        (this->*comandos[comando])();
        Verificar();
    }

private:
    int Sorteio(int n) { return static_cast<int>(rnd_.Rnd() * n); }
    bool Moeda() { return Sorteio(2) == 0; }
    template <typename T, size_t N>
    const T& Um(const T (&opcoes)[N]) { return opcoes[Sorteio(int(N))]; }
    void Responder(bool sim) { t_.resposta = sim ? QMessageBox::Yes : QMessageBox::No; }
    frmZelpo& w() { return t_.w(); }
    EstadoJogo Estado() { return w().partida().Estado(); }
    bool EmJogo() { return w().partida().EmJogo(); }
    bool Carregado() { return Estado() != EstadoJogo::SemJogo; }
    const QString& ArquivoJogo() { return w().partida().SessaoAtual().ArquivoJogo; }
    QString Pasta(const char* nome) { return t_.pasta.path() + QLatin1String(nome); }

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
            f[c] = {e.st_ino, e.st_size, e.st_mtim.tv_sec, e.st_mtim.tv_nsec, S_ISDIR(e.st_mode)};
        }
        return f;
    }

    // A fresh start of the program, as after leaving it.
    void Reabrir()
    {
        t_.Criar(static_cast<uint64_t>(Sorteio(1 << 30)));
        w().Iniciar({});
        QApplication::setActiveWindow(&w()); // the keys of the steps go to the active window
        Mudou(EstadoJogo::EscolhendoPecas);
    }

    // The command changed the game, as it should, and left it in `estado`.
    void Mudou(EstadoJogo estado) { esperado_ = estado; mudouJogo_ = true; }

    // The new-puzzle dialog answers OK with random choices, or Cancel; a new game follows OK.
    bool Gerar(const std::function<void()>& comando)
    {
        const bool ok = Moeda();
        frmGerar::DefinirExibicao([this, ok](frmGerar& d) {
            if (!ok)
                return d.btnCancelar_Click();
            QRadioButton* opcoes[] = {d.optFacil, d.optMedio, d.optDificil};
            Um(opcoes)->setChecked(true);
            d.chkPequenas->setChecked(Moeda());
            d.chkAdaptar->setChecked(Moeda());
            d.btnOk_Click();
        });
        comando();
        frmGerar::DefinirExibicao({});
        if (ok)
            Mudou(EstadoJogo::EscolhendoPecas);
        return ok;
    }

    void Novo() { Gerar([this] { t_.Comando("mnuJogoNovo"); }); }

    // A good picture, one that is not a picture, or one that is gone: the last two say so
    // under their name, and the puzzle is of those words.
    void AbrirFigura()
    {
        const char* nomes[] = {"/Facil/figura.bmp", "/lixo.jpg", "/sumida.bmp"};
        const QString figura = Pasta(Um(nomes));
        const bool ilegivel = Gerar([&] { t_.Comando("mnuJogoAbrir", figura); }) && !figura.endsWith(QLatin1String(nomes[0]));
        ASSERT_EQ(t_.mensagens.size(), ilegivel ? 1u : 0u);
        EXPECT_TRUE(!ilegivel || (t_.mensagens[0].titulo == QStringLiteral("Figura inválida")
                                  && t_.mensagens[0].texto.endsWith(QLatin1Char('\'') + figura + QLatin1Char('\''))));
    }

    void AbrirSalvo()
    {
        if (salvos_.empty())
            return AbrirRecusado();
        const QString arquivo = salvos_[size_t(Sorteio(int(salvos_.size())))];
        const ResultadoZPR lido = LerArquivoZPR(arquivo);
        if (!lido.jogo) // replaced by a folder since: refused like any bad file
            return Recusado(arquivo, "é uma pasta, não um arquivo.");
        t_.Comando("mnuJogoAbrir", arquivo);
        Mudou(EstadoDe(*lido.jogo));
        EXPECT_TRUE(t_.jogo() == *lido.jogo);
        EXPECT_EQ(ArquivoJogo(), arquivo);
        // the file's three options become the player's, to be written at exit
        EXPECT_TRUE(static_cast<const OpcoesJogo&>(w().opcoes()) == *lido.jogo);
        // the one message a saved game may bring: its picture could not be read
        for (const PedidoMensagem& m : t_.mensagens) {
            EXPECT_EQ(m.titulo, QStringLiteral("Figura inválida")) << m.texto.toStdString();
            EXPECT_TRUE(m.texto.endsWith(QLatin1Char('\'') + arquivo + QLatin1Char('\''))) << "names the player's file";
        }
    }

    // A damaged saved game or a missing one: the screen cleared and the reason given under
    // the file's name.
    void AbrirRecusado()
    {
        if (Moeda())
            return Recusado(Pasta("/ruim.zpr"), "termina antes do campo \"peças\".");
        Recusado(Pasta("/sumiu.zpr"), "Versão incorreta do zelpora!");
    }

    void Recusado(const QString& arquivo, const char* motivo)
    {
        t_.Comando("mnuJogoAbrir", arquivo);
        Mudou(EstadoJogo::SemJogo);
        ASSERT_EQ(t_.mensagens.size(), 1u);
        EXPECT_TRUE(t_.mensagens[0].texto.startsWith(arquivo + QStringLiteral("\n\n")));
        EXPECT_TRUE(t_.mensagens[0].texto.endsWith(QString::fromUtf8(motivo))) << t_.mensagens[0].texto.toStdString();
        EXPECT_EQ(w().windowTitle(), Titulo(arquivo));
    }

    std::vector<int> PecasVisiveis(bool soAsQueEncaixam)
    {
        std::vector<int> pecas;
        for (int p : t_.PecasNaBandeja())
            if (t_.Visivel(p) && (!soAsQueEncaixam || figuras_de_teste::TemVizinhaColocada(t_.jogo(), p)))
                pecas.push_back(p);
        return pecas;
    }

    int Qualquer(const std::vector<int>& pecas) { return pecas.empty() ? -1 : pecas[size_t(Sorteio(int(pecas.size())))]; }

    // A piece beside a placed one dropped within 20 px of its place, where it fits, or any
    // piece 21 px or more to the right of its place, where none does; the starting pieces,
    // and half the time the others, by keys alone.
    void Mover()
    {
        if (Moeda() || Estado() == EstadoJogo::EscolhendoPecas)
            return MoverPeloTeclado();
        const bool certo = Moeda();
        const int peca = Estado() == EstadoJogo::Jogando ? Qualquer(PecasVisiveis(certo)) : -1;
        if (peca < 0)
            return;
        const QPoint desvio = certo ? QPoint(Sorteio(41) - 20, Sorteio(41) - 20) : QPoint(21 + Sorteio(60), 0);
        t_.Arrastar(peca, figuras_de_teste::LugarNaGrade(t_.jogo(), peca) + desvio);
        EXPECT_EQ(t_.jogo().Partes[peca].Encaixada, certo ? VERDADEIRO : FALSO);
        if (certo)
            Mudou(EstadoDe(t_.jogo()));
    }

    // Tab a few times and Enter while the starting pieces are chosen; else a piece beside a
    // placed one taken to its cell, or any piece taken to a cell not its own and dropped or
    // put back with Esc, the tray keys pressed on the way moving nothing.
    void MoverPeloTeclado()
    {
        const Tabuleiro& tabuleiro = w().tabuleiro();
        if (Estado() == EstadoJogo::EscolhendoPecas) {
            for (int i = Sorteio(4); i > 0; --i)
                t_.Tecla(Moeda() ? Qt::Key_Tab : Qt::Key_Backtab);
            const int peca = tabuleiro.Foco();
            ASSERT_GE(peca, 0);
            t_.Tecla(Moeda() ? Qt::Key_Return : Qt::Key_Space);
            Mudou(EstadoDe(t_.jogo()));
            EXPECT_TRUE(t_.jogo().Partes[peca].Encaixada && t_.jogo().PartesIniciais == jogoAntes_.PartesIniciais - 1);
            return;
        }
        if (Estado() != EstadoJogo::Jogando)
            return;
        const int colocar = t_.PecaQueEncaixa();
        if (Moeda() && colocar >= 0) {
            t_.ColocarPeloTeclado(colocar);
            return Mudou(EstadoDe(t_.jogo()));
        }
        const int peca = t_.PecasNaBandeja()[size_t(Sorteio(int(t_.PecasNaBandeja().size())))];
        for (int i = 0; i <= MAX_PECAS && tabuleiro.Foco() != peca; ++i)
            t_.Tecla(Qt::Key_Tab);
        t_.Tecla(Qt::Key_Return);
        const int rolagem = t_.Rolagem()->value();
        const JogoSalvo& j = t_.jogo();
        // a column that is not the piece's own; the rows stop at the grid's edge
        const int coluna = (peca % j.Colunas + 1 + Sorteio(j.Colunas - 1)) % j.Colunas;
        for (int c = 0; c < coluna; ++c)
            t_.Tecla(Qt::Key_Right);
        for (int l = 0; l < Sorteio(j.Linhas + 2); ++l)
            t_.Tecla(Moeda() ? Qt::Key_Down : Qt::Key_PageDown);
        t_.Tecla(Moeda() ? Qt::Key_Escape : Qt::Key_Space); // the game unchanged: Verificar
        EXPECT_EQ(t_.Rolagem()->value(), rolagem) << "the tray scrolled under a piece in hand";
        EXPECT_TRUE(t_.Visivel(peca)) << "back in its slot";
    }

    // The save dialog answers a new file, or one in a folder that cannot exist.
    QString NomeParaSalvar(const QString& extensao)
    {
        if (Sorteio(4) == 0)
            return Pasta("/bloqueio/jogo") + extensao;
        return t_.pasta.path() + QStringLiteral("/jogo%1").arg(++contador_) + extensao;
    }

    bool PodeGravar(const QString& caminho) { return !caminho.contains(QStringLiteral("/bloqueio/")) && !QFileInfo(caminho).isDir(); }

    // Ctrl+S, which saves a game with a file of its own there without a question; or
    // Salvar como... under a game's name or a picture's.
    void Salvar()
    {
        const int modo = Sorteio(3); // Ctrl+S, Salvar como... a game, a picture
        const bool pergunta = modo > 0 || ArquivoJogo().isEmpty();
        const QString destino = pergunta ? NomeParaSalvar(modo == 2 ? QStringLiteral(".bmp") : QStringLiteral(".zpr")) : ArquivoJogo();
        teste::RespostaDeArquivo resposta(pergunta ? destino : QString());
        if (modo == 0)
            t_.Tecla(Qt::Key_S, Qt::ControlModifier);
        else
            t_.Comando("mnuJogoSalvar1");
        Salvou(destino, modo < 2);
    }

    // What a save must have done: written the whole file and named it, or changed nothing.
    void Salvou(const QString& destino, bool jogo)
    {
        if (!Carregado())
            return;
        const bool gravou = PodeGravar(destino);
        EXPECT_TRUE(gravou || !t_.mensagens.empty()) << "a failed write is reported";
        if (gravou)
            salvoEm_ = destino;
        if (!gravou || !jogo) {
            EXPECT_EQ(ArquivoJogo(), arquivoAntes_);
            EXPECT_EQ(w().windowTitle(), tituloAntes_);
            EXPECT_TRUE(!gravou || Conteudo(destino) == t_.jogo().BytesFigura) << "the picture, as it was read";
            return;
        }
        const ResultadoZPR lido = LerArquivoZPR(destino);
        ASSERT_TRUE(lido.jogo) << lido.erro.toStdString();
        EXPECT_TRUE(*lido.jogo == t_.jogo()) << "the file holds the game";
        EXPECT_EQ(ArquivoJogo(), destino);
        EXPECT_EQ(w().windowTitle(), Titulo(destino));
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

    // Reiniciar, or Shift+Ctrl+Alt+G which first deals the tray in grid order; then the
    // restart question, answered Sim or Não.
    void Reiniciar()
    {
        const bool acorde = Moeda(), sim = Moeda();
        Responder(sim);
        if (acorde)
            t_.Tecla(Qt::Key_G, Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
        else
            t_.Comando("mnuJogoReiniciar");
        QCoreApplication::processEvents();
        if (acorde && Carregado())
            jogoAntes_.PartesRolagemInicio = t_.jogo().PartesRolagemInicio;
        if (!sim || !Carregado())
            return;
        Mudou(EstadoJogo::EscolhendoPecas);
        EXPECT_EQ(t_.jogo().PartesRolagem, t_.jogo().PartesRolagemInicio);
        for (int i = 0; acorde && i < SLOTS_ROLAGEM; ++i)
            ASSERT_EQ(t_.jogo().PartesRolagem[i], i < t_.jogo().Pecas() ? i : VAZIO) << "the tray in grid order";
    }

    // F9 shows the preview; while it is active, F2 or F9 only close it.
    void Visualizar()
    {
        t_.Tecla(Qt::Key_F9);
        QPointer<frmPreview> preview = w().findChild<frmPreview*>();
        ASSERT_EQ(preview.isNull(), !Carregado()) << "a preview exactly when there is a game";
        if (preview.isNull())
            return;
        QApplication::setActiveWindow(preview);
        bool gerou = false; // the new-puzzle dialog shown (and closed at once)
        frmGerar::DefinirExibicao([&gerou](frmGerar& d) { gerou = d.close(); });
        QTest::keyClick(preview->windowHandle(), Moeda() ? Qt::Key_F2 : Qt::Key_F9);
        frmGerar::DefinirExibicao({});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(w().findChildren<frmPreview*>().size(), 0) << "the key closed the preview";
        EXPECT_FALSE(gerou) << "and did nothing else";
        QApplication::setActiveWindow(&w());
    }

    // Leaving, with each answer to the question; a save that fails keeps the program open.
    // The settings are written at a real exit and only then.
    void Sair()
    {
        QFile::remove(t_.ArquivoConfiguracao());
        antes_ = Tirar();
        const QMessageBox::StandardButton respostas[] = {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
        t_.resposta = Um(respostas);
        const bool perguntou = EmJogo();
        const QString destino = ArquivoJogo().isEmpty() ? NomeParaSalvar(QStringLiteral(".zpr")) : ArquivoJogo();
        teste::RespostaDeArquivo resposta(ArquivoJogo().isEmpty() ? destino : QString());
        const bool fechou = w().close();
        EXPECT_EQ(!t_.mensagens.empty() && t_.mensagens[0].texto == QStringLiteral("Você deseja salvar o jogo?"), perguntou);
        const bool salvar = perguntou && t_.resposta == QMessageBox::Yes;
        EXPECT_EQ(fechou, !perguntou || t_.resposta == QMessageBox::No || (salvar && PodeGravar(destino)));
        EXPECT_EQ(QFile::exists(t_.ArquivoConfiguracao()), fechou);
        if (salvar && !t_.mensagens.empty()) {
            t_.mensagens.erase(t_.mensagens.begin()); // the question
            Salvou(destino, true);
        }
        mudouConfiguracao_ = fechou;
        if (fechou)
            Reabrir();
    }

    // The program dies with the game as it stands; the next start offers it back, and the
    // answer is Sim or Não.
    void Cair()
    {
        const bool emJogo = EmJogo();
        const std::optional<Recuperacao> copia = emJogo ? LerCopia(t_.Copias().value(0)) : std::nullopt;
        ASSERT_EQ(copia.has_value(), emJogo);
        t_.janela.reset();
        const bool sim = Moeda();
        Responder(sim);
        Reabrir();
        ASSERT_EQ(t_.mensagens.empty(), !emJogo) << "the question, exactly when there is a game to take back";
        if (!emJogo)
            return;
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
            const bool igual = antes != antes_.end() && antes->second == resumo;
            const bool permitido = (salvoEm_ && caminho == *salvoEm_)
                                   || (mudouConfiguracao_ && caminho == t_.ArquivoConfiguracao());
            EXPECT_TRUE(igual || permitido) << "changed: " << caminho.toStdString();
        }
        for (const auto& [caminho, resumo] : antes_)
            EXPECT_TRUE(depois.count(caminho)) << "removed: " << caminho.toStdString();

        // The state, the menus and the clock.
        ASSERT_EQ(Estado(), esperado_);
        for (const char* item : {"mnuJogoSalvar0", "mnuJogoSalvar1", "mnuJogoVisualizar", "mnuJogoReiniciar"})
            EXPECT_EQ(t_.Acao(item)->isEnabled(), Carregado()) << item;
        EXPECT_EQ(w().findChild<QTimer*>(QStringLiteral("tmrHora"))->isActive(), EmJogo());
        VerificarCopia(t_);

        // A step that does not change the game left it alone, but for the chord's new deal.
        EXPECT_TRUE(mudouJogo_ || MesmoJogoForaDoRelogio(t_.jogo(), jogoAntes_)) << "the game changed on its own";
    }

    const QString pastaAntes_ = QDir::currentPath(); // the folder to go back to
    Aleatorio rnd_;
    teste::JanelaDeTeste t_;
    EstadoJogo esperado_ = EstadoJogo::SemJogo;
    Fotografia antes_;
    JogoSalvo jogoAntes_;
    QString tituloAntes_, arquivoAntes_;
    std::optional<QString> salvoEm_;
    std::vector<QString> salvos_;
    bool mudouConfiguracao_ = false, mudouJogo_ = false;
    int contador_ = 0;
};

void Passear(uint64_t semente)
{
    const int passos = qEnvironmentVariableIsSet("ZELPO_PASSOS") ? qEnvironmentVariableIntValue("ZELPO_PASSOS") : 2000;
    std::cout << "seed " << semente << " (ZELPO_SEMENTE=" << semente << " repeats this run)" << std::endl;
    SCOPED_TRACE(testing::Message() << "ZELPO_SEMENTE=" << semente);
    Passeio passeio(semente);
    for (int i = 0; i < passos && !testing::Test::HasFailure(); ++i)
        passeio.Dar(i);
}

} // namespace

// The same walk on every run, so that a change of behaviour shows at once...
TEST(Modelo, PasseioComSementeFixa)
{
    Passear(20261206);
}

// ... and a new one each run, so that the runs together walk far more paths.
TEST(Modelo, PasseioComSementeNova)
{
    const QByteArray dada = qgetenv("ZELPO_SEMENTE");
    Passear(!dada.isEmpty() ? dada.toULongLong() : uint64_t(std::chrono::system_clock::now().time_since_epoch().count()));
}
