#include "files/recuperacao.h"

#include "files/arquivos.h"
#include "files/zpr.h"
#include "records/produto.h"
#include "records/bytes.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QLockFile>

#include <atomic>

namespace zelpo {

namespace {

constexpr int POSICAO_TAMANHO_FIGURA = INICIO_FIGURA_ZPR - 4; // N, just before the picture
constexpr qint64 MAIOR_RECUPERACAO =
    TAMANHO_FIXO_ZPR + TAMANHO_MAXIMO_FIGURA + TAMANHO_MAGICA_RECUPERACAO + 2 * (4 + MAIOR_NOME_RECUPERACAO);

void EscreverTexto(QByteArray& destino, const QString& texto)
{
    const QByteArray utf8 = texto.toUtf8().left(MAIOR_NOME_RECUPERACAO);
    const auto n = static_cast<uint32_t>(utf8.size());
    for (int i = 0; i < 4; ++i)
        destino.append(static_cast<char>((n >> (8 * i)) & 0xFF));
    destino.append(utf8);
}

// One text of the trailing record at `pos`, which it moves past; nothing if it does not fit.
std::optional<QString> LerTexto(const QByteArray& b, qsizetype& pos)
{
    if (b.size() - pos < 4)
        return std::nullopt;
    const uint32_t n = LerU32(b, pos);
    pos += 4;
    if (n > MAIOR_NOME_RECUPERACAO || b.size() - pos < static_cast<qsizetype>(n))
        return std::nullopt;
    const QString texto = QString::fromUtf8(b.constData() + pos, static_cast<qsizetype>(n));
    pos += n;
    return texto;
}

QString ArquivoDaTrava(const QString& copia)
{
    return copia + QStringLiteral(".lock");
}

// A lock file whose copy is gone (its program was killed after it deleted the copy).
void ApagarTravasSoltas(const QDir& pasta)
{
    for (const QFileInfo& trava : pasta.entryInfoList({QStringLiteral("*.zpr.lock")}, QDir::Files)) {
        const QString copia = trava.absoluteFilePath().chopped(5);
        if (!QFileInfo::exists(copia))
            TravarCopia(copia); // taken when stale, and released at once: the file goes
    }
}

} // namespace

QByteArray CodificarRecuperacao(const Recuperacao& copia)
{
    QByteArray bytes = CodificarZPR(copia.jogo);
    bytes.append(MAGICA_RECUPERACAO, TAMANHO_MAGICA_RECUPERACAO);
    EscreverTexto(bytes, copia.arquivoJogo);
    EscreverTexto(bytes, copia.arquivoFigura);
    return bytes;
}

std::optional<Recuperacao> DecodificarRecuperacao(const QByteArray& bytes)
{
    if (bytes.size() < TAMANHO_FIXO_ZPR)
        return std::nullopt;
    const qint32 n = LerS32(bytes, POSICAO_TAMANHO_FIGURA);
    if (n <= 0 || n > TAMANHO_MAXIMO_FIGURA || bytes.size() - TAMANHO_FIXO_ZPR < n)
        return std::nullopt;
    const qsizetype fimDoJogo = TAMANHO_FIXO_ZPR + n;
    ResultadoZPR lido = DecodificarZPR(QByteArray::fromRawData(bytes.constData(), fimDoJogo));
    if (!lido.jogo)
        return std::nullopt;
    if (bytes.mid(fimDoJogo, TAMANHO_MAGICA_RECUPERACAO) != QByteArray(MAGICA_RECUPERACAO, TAMANHO_MAGICA_RECUPERACAO))
        return std::nullopt;
    qsizetype pos = fimDoJogo + TAMANHO_MAGICA_RECUPERACAO;
    std::optional<QString> arquivoJogo = LerTexto(bytes, pos);
    std::optional<QString> arquivoFigura = arquivoJogo ? LerTexto(bytes, pos) : std::nullopt;
    if (!arquivoFigura || pos != bytes.size())
        return std::nullopt;
    return Recuperacao{std::move(*lido.jogo), std::move(*arquivoJogo), std::move(*arquivoFigura)};
}

QString PastaRecuperacao()
{
    // Only an absolute path counts: a relative one is to be ignored.
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QLatin1Char('/') + QString::fromUtf8(FABRICANTE) + QLatin1Char('/')
           + QString::fromUtf8(TITULO_APLICACAO);
}

QString NovoArquivoDeCopia(const QString& pasta)
{
    // The time tells apart programs that had the same process number (after a restart of
    // the machine); the counter, windows of one program.
    static std::atomic<int> contador{0};
    return pasta + QStringLiteral("/andamento-%1-%2-%3.zpr")
                       .arg(QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmsszzz")))
                       .arg(QCoreApplication::applicationPid())
                       .arg(contador++);
}

std::unique_ptr<QLockFile> TravarCopia(const QString& arquivo)
{
    auto trava = std::make_unique<QLockFile>(ArquivoDaTrava(arquivo));
    // A lock is held for a whole game: only a dead owner makes it stale, never its age.
    trava->setStaleLockTime(0);
    if (!trava->tryLock(0))
        return nullptr;
    return trava;
}

CopiaDeixada::CopiaDeixada(QString arquivo, Recuperacao dados, std::unique_ptr<QLockFile> trava)
    : arquivo_(std::move(arquivo)), dados_(std::move(dados)), trava_(std::move(trava))
{
}

CopiaDeixada::CopiaDeixada(CopiaDeixada&&) noexcept = default;
CopiaDeixada& CopiaDeixada::operator=(CopiaDeixada&&) noexcept = default;
CopiaDeixada::~CopiaDeixada() = default;

void CopiaDeixada::Apagar()
{
    QFile::remove(arquivo_);
    trava_.reset(); // unlocking deletes the lock file
}

std::optional<CopiaDeixada> ProcurarRecuperacao(const QString& pasta)
{
    const QDir dir(pasta);
    ApagarTravasSoltas(dir);
    // newest first
    for (const QFileInfo& info : dir.entryInfoList({QStringLiteral("*.zpr")}, QDir::Files, QDir::Time)) {
        const QString arquivo = info.absoluteFilePath();
        std::unique_ptr<QLockFile> trava = TravarCopia(arquivo);
        if (!trava)
            continue; // its program is running
        const Leitura lida = LerArquivo(arquivo, MAIOR_RECUPERACAO);
        std::optional<Recuperacao> dados = lida.ok() ? DecodificarRecuperacao(lida.bytes) : std::nullopt;
        CopiaDeixada copia(arquivo, dados ? std::move(*dados) : Recuperacao(), std::move(trava));
        if (dados)
            return copia;
        copia.Apagar();
    }
    return std::nullopt;
}

} // namespace zelpo
