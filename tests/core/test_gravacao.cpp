// Files that cannot be written whole and files that must not be read. The writes run in
// a child process whose file-size limit stops them part way, as a full disk does; the
// reads of hostile files run in a child with a cap on its address space, so a read that
// tried to swallow them would abort there rather than here.
#include "files/arquivos.h"
#include "files/configuracao.h"
#include "files/zpr.h"
#include "figuras_de_teste.h"

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zelpo;
using namespace figuras_de_teste;

namespace {

// Runs `corpo` in a child process and returns its exit status (-1 if it did not exit).
int NoFilho(const std::function<int()>& corpo)
{
    const pid_t filho = fork();
    if (filho == 0) {
        alarm(20); // a read that waits for ever ends the child, and the test fails
        _exit(corpo());
    }
    int estado = 0;
    waitpid(filho, &estado, 0);
    return WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
}

// A 2 x 2 game whose picture is `bytesDaFigura` long.
JogoSalvo JogoCom(qsizetype bytesDaFigura)
{
    JogoSalvo j = JogoValido(2, 2, false, 0);
    j.BytesFigura = QByteArray(bytesDaFigura, 'f');
    return j;
}

} // namespace

TEST(Gravacao, EscritaInterrompidaDeixaOArquivoAnterior)
{
    QTemporaryDir pasta;
    const QString jogo = pasta.filePath(QStringLiteral("jogo.zpr")), cfg = pasta.filePath(QStringLiteral("cfg.ini"));
    const QString figura = pasta.filePath(QStringLiteral("figura.bmp"));
    const QByteArray velho = CodificarZPR(JogoCom(100));
    struct Caso { const char* nome; QString arquivo; QByteArray antes; rlim_t limite; std::function<QString()> gravar; };
    const Caso casos[] = {
        // a small game, under the 16 KiB that a buffered write would hold back until the end
        {"small game", jogo, velho, 1000, [&] { return GravarArquivoZPR(jogo, JogoCom(3000)); }},
        {"large game", jogo, velho, 8000, [&] { return GravarArquivoZPR(jogo, JogoCom(40000)); }},
        {"picture", figura, "BM an old picture", 100, [&] { return GravarArquivo(figura, QByteArray(5000, 'x')); }},
        {"settings", cfg, "[Zelpora%203.0]\nDificuldade=3\n", 10, [&] { return SalvarCFG(cfg, Opcoes{}); }},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        ASSERT_TRUE(Gravar(c.arquivo, c.antes));
        // Past the limit the write fails with EFBIG instead of ending the process, and the
        // writer must say the system's reason.
        const auto gravar = [&] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limite{c.limite, c.limite};
            setrlimit(RLIMIT_FSIZE, &limite);
            return c.gravar() == DescricaoDoErro(EFBIG) ? 0 : 1;
        };
        EXPECT_EQ(NoFilho(gravar), 0) << "the failure is reported";
        EXPECT_EQ(Conteudo(c.arquivo), c.antes) << "the previous file is whole";
    }
    const QStringList nossos{QStringLiteral("cfg.ini"), QStringLiteral("figura.bmp"), QStringLiteral("jogo.zpr")};
    EXPECT_EQ(QDir(pasta.path()).entryList(QDir::Files, QDir::Name), nossos) << "a temporary left behind";
}

TEST(Gravacao, ArquivosHostisSaoRecusadosSemEsperarNemEncherAMemoria)
{
    QTemporaryDir pasta;
    const QString fila = pasta.filePath(QStringLiteral("fila.zpr"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fila).constData(), 0600), 0);
    const QString zero = pasta.filePath(QStringLiteral("zero.zpr"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    // A well-formed header that declares a 2 GB picture, in a sparse file of that size.
    const QString esparso = pasta.filePath(QStringLiteral("esparso.zpr"));
    const QByteArray cabeca = Trocar(CodificarZPR(JogoCom(10)).left(INICIO_FIGURA_ZPR), INICIO_FIGURA_ZPR - 4,
                                     P32({0x7FFFFFFF - TAMANHO_FIXO_ZPR}));
    ASSERT_TRUE(Gravar(esparso, cabeca));
    ASSERT_EQ(truncate(QFile::encodeName(esparso).constData(), 0x7FFFFFFF), 0);
    const struct { QString arquivo; const char* erro; } casos[] = {
        {fila, "não é um arquivo comum"}, {zero, "não é um arquivo comum"}, {esparso, "grande demais"}};
    const int resultado = NoFilho([&] {
#if !defined(__SANITIZE_ADDRESS__)
        const rlimit limite{512u << 20, 512u << 20}; // the sanitizer's shadow memory needs far more
        setrlimit(RLIMIT_AS, &limite);
#endif
        rusage antes{}, depois{};
        getrusage(RUSAGE_SELF, &antes);
        for (const auto& c : casos)
            if (LerArquivoZPR(c.arquivo).erro.contains(QString::fromUtf8(c.erro)) == false)
                return 1;
        getrusage(RUSAGE_SELF, &depois);
        return depois.ru_maxrss - antes.ru_maxrss < 100 * 1024 ? 0 : 2; // kilobytes
    });
    EXPECT_EQ(resultado, 0) << "1: a file was not refused as it should; 2: it cost memory; -1: the child died";
}
