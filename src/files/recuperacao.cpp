#include "files/recuperacao.h"

#include "files/arquivos.h"
#include "files/zpr.h"
#include "records/bytes.h"
#include "records/produto.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>

#include <atomic>
#include <cerrno>
#include <csignal>

namespace zelpo {

namespace {

constexpr int POSICAO_TAMANHO_FIGURA = INICIO_FIGURA_ZPR - 4; // N, just before the picture
constexpr qint64 MAIOR_ESTADO =
    TAMANHO_FIXO_ZPR + 2 + TAMANHO_MAGICA_RECUPERACAO + 3 * (4 + MAIOR_NOME_RECUPERACAO);
constexpr qint64 MAIOR_RECUPERACAO_ANTIGA =
    TAMANHO_FIXO_ZPR + TAMANHO_MAXIMO_FIGURA + TAMANHO_MAGICA_RECUPERACAO + 2 * (4 + MAIOR_NOME_RECUPERACAO);
constexpr int DIGITOS_DO_RESUMO = 32;
const QString SUFIXO_FIGURA = QStringLiteral(".figura");
const QString SUFIXO_TRAVA = QStringLiteral(".lock");

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

// The game at the start of `bytes` and the texts of the trailing record after `magica`.
std::optional<std::pair<JogoSalvo, QStringList>> LerRegistro(const QByteArray& bytes, const char* magica, int textos)
{
    if (bytes.size() < TAMANHO_FIXO_ZPR)
        return std::nullopt;
    const qint32 n = LerS32(bytes, POSICAO_TAMANHO_FIGURA);
    if (n <= 0 || n > TAMANHO_MAXIMO_FIGURA || bytes.size() - TAMANHO_FIXO_ZPR < n)
        return std::nullopt;
    const qsizetype fimDoJogo = TAMANHO_FIXO_ZPR + n;
    ResultadoZPR lido = DecodificarZPR(QByteArray::fromRawData(bytes.constData(), fimDoJogo));
    if (!lido.jogo || bytes.mid(fimDoJogo, TAMANHO_MAGICA_RECUPERACAO) != QByteArray(magica, TAMANHO_MAGICA_RECUPERACAO))
        return std::nullopt;
    qsizetype pos = fimDoJogo + TAMANHO_MAGICA_RECUPERACAO;
    QStringList lidos;
    for (int i = 0; i < textos; ++i) {
        std::optional<QString> texto = LerTexto(bytes, pos);
        if (!texto)
            return std::nullopt;
        lidos.append(*texto);
    }
    if (pos != bytes.size())
        return std::nullopt;
    return std::pair{std::move(*lido.jogo), lidos};
}

QString ArquivoDaTrava(const QString& copia)
{
    return copia + SUFIXO_TRAVA;
}

// A lock that names another machine, or another boot's identity of this one, cannot be
// checked for a live owner; only its age tells.
bool TravaAlheiaEVelha(const QString& arquivoTrava)
{
    const QStringList linhas = QString::fromUtf8(LerArquivo(arquivoTrava, 4096).bytes).split(QLatin1Char('\n'));
    const QString maquina = linhas.value(2);
    const QString identidade = linhas.value(3);
    const bool alheia = maquina != QSysInfo::machineHostName()
                        || (!identidade.isEmpty() && identidade.toUtf8() != QSysInfo::machineUniqueId());
    const QDateTime mudada = QFileInfo(arquivoTrava).lastModified().toUTC();
    return alheia && mudada.msecsTo(QDateTime::currentDateTimeUtc()) > IDADE_TRAVA_ALHEIA_MS;
}

// In a folder where nothing can be written, the lock a dead program left cannot be taken
// over: its copy is offered without one.
bool DonoMortoSemAcesso(const QLockFile& trava, const QString& copia)
{
    qint64 pid = 0;
    QString maquina, programa;
    if (QFileInfo(QFileInfo(copia).absolutePath()).isWritable() || !trava.getLockInfo(&pid, &maquina, &programa))
        return false;
    return maquina == QSysInfo::machineHostName() && pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

// A lock file whose copy is gone (its program was killed after it deleted the copy), and
// picture files of a copy that is gone; never those of a copy whose program runs.
void ApagarSobras(const QDir& pasta)
{
    for (const QFileInfo& trava : pasta.entryInfoList({QStringLiteral("*.zpr.lock")}, QDir::Files)) {
        const QString copia = trava.absoluteFilePath().chopped(SUFIXO_TRAVA.size());
        if (!QFileInfo::exists(copia))
            TravarCopia(copia); // taken when stale, and released at once: the file goes
    }
    for (const QFileInfo& figura : pasta.entryInfoList({QStringLiteral("*.zpr.*.figura")}, QDir::Files)) {
        const QString caminho = figura.absoluteFilePath();
        const QString copia = caminho.left(caminho.lastIndexOf(QStringLiteral(".zpr.")) + 4);
        if (!QFileInfo::exists(copia) && TravarCopia(copia).trava)
            QFile::remove(caminho);
    }
}

} // namespace

QString ArquivoDaFigura(const QString& copia, const QByteArray& bytes)
{
    const QByteArray resumo = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
    return copia + QLatin1Char('.') + QString::fromLatin1(resumo.left(DIGITOS_DO_RESUMO)) + SUFIXO_FIGURA;
}

QByteArray CodificarEstado(const Recuperacao& copia, const QString& figura)
{
    JogoSalvo jogo = copia.jogo;
    jogo.BytesFigura = MarcadorFigura();
    QByteArray bytes = CodificarZPR(jogo);
    bytes.append(MAGICA_RECUPERACAO, TAMANHO_MAGICA_RECUPERACAO);
    EscreverTexto(bytes, copia.arquivoJogo);
    EscreverTexto(bytes, copia.arquivoFigura);
    EscreverTexto(bytes, QFileInfo(figura).fileName());
    return bytes;
}

std::optional<EstadoDaCopia> DecodificarEstado(const QByteArray& bytes)
{
    auto lido = LerRegistro(bytes, MAGICA_RECUPERACAO, 3);
    if (!lido)
        return std::nullopt;
    // only a file of the same folder, never a path
    const QString figura = lido->second[2];
    if (figura.contains(QLatin1Char('/')) || (!figura.isEmpty() && !figura.endsWith(SUFIXO_FIGURA)))
        return std::nullopt;
    return EstadoDaCopia{{std::move(lido->first), lido->second[0], lido->second[1]}, figura};
}

QByteArray CodificarRecuperacao(const Recuperacao& copia)
{
    QByteArray bytes = CodificarZPR(copia.jogo);
    bytes.append(MAGICA_RECUPERACAO_ANTIGA, TAMANHO_MAGICA_RECUPERACAO);
    EscreverTexto(bytes, copia.arquivoJogo);
    EscreverTexto(bytes, copia.arquivoFigura);
    return bytes;
}

std::optional<Recuperacao> DecodificarRecuperacao(const QByteArray& bytes)
{
    auto lido = LerRegistro(bytes, MAGICA_RECUPERACAO_ANTIGA, 2);
    if (!lido)
        return std::nullopt;
    return Recuperacao{std::move(lido->first), lido->second[0], lido->second[1]};
}

std::optional<Recuperacao> LerCopia(const QString& arquivo)
{
    const Leitura lida = LerArquivo(arquivo, MAIOR_RECUPERACAO_ANTIGA);
    if (!lida.ok())
        return std::nullopt;
    std::optional<EstadoDaCopia> estado = DecodificarEstado(lida.bytes);
    if (!estado)
        return DecodificarRecuperacao(lida.bytes);
    if (estado->figura.isEmpty())
        return std::move(estado->dados);
    const QString caminho = QFileInfo(arquivo).absolutePath() + QLatin1Char('/') + estado->figura;
    Leitura figura = LerArquivo(caminho, TAMANHO_MAXIMO_FIGURA);
    if (!figura.ok() || figura.bytes.isEmpty() || ArquivoDaFigura(arquivo, figura.bytes) != caminho)
        return std::nullopt;
    estado->dados.jogo.BytesFigura = std::move(figura.bytes);
    return std::move(estado->dados);
}

QStringList ArquivosDaCopia(const QString& arquivo)
{
    const QFileInfo info(arquivo);
    QStringList arquivos{arquivo};
    for (const QFileInfo& f : info.dir().entryInfoList({info.fileName() + QStringLiteral(".*") + SUFIXO_FIGURA},
                                                        QDir::Files))
        arquivos.append(f.absoluteFilePath());
    return arquivos;
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

TravaDeCopia TravarCopia(const QString& arquivo)
{
    TravaDeCopia t;
    t.trava = std::make_unique<QLockFile>(ArquivoDaTrava(arquivo));
    // A lock is held for a whole game: only a dead owner makes it stale, never its age,
    // unless no owner can be checked.
    t.trava->setStaleLockTime(0);
    if (t.trava->tryLock(0))
        return t;
    if (t.trava->error() == QLockFile::LockFailedError && TravaAlheiaEVelha(ArquivoDaTrava(arquivo))
        && t.trava->removeStaleLockFile() && t.trava->tryLock(0))
        return t;
    t.emUso = t.trava->error() == QLockFile::LockFailedError && !DonoMortoSemAcesso(*t.trava, arquivo);
    t.erro = DescricaoDoErro(t.trava->error() == QLockFile::UnknownError ? EIO : EACCES);
    t.trava.reset();
    return t;
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
    for (const QString& f : ArquivosDaCopia(arquivo_))
        QFile::remove(f);
    SincronizarPasta(arquivo_);
    Soltar();
}

void CopiaDeixada::Soltar()
{
    trava_.reset(); // unlocking deletes the lock file
}

std::optional<CopiaDeixada> ProcurarRecuperacao(const QString& pasta)
{
    const QDir dir(pasta);
    ApagarSobras(dir);
    // newest first
    for (const QFileInfo& info : dir.entryInfoList({QStringLiteral("*.zpr")}, QDir::Files, QDir::Time)) {
        const QString arquivo = info.absoluteFilePath();
        TravaDeCopia trava = TravarCopia(arquivo);
        if (trava.emUso)
            continue; // its program is running
        std::optional<Recuperacao> dados = LerCopia(arquivo);
        CopiaDeixada copia(arquivo, dados ? std::move(*dados) : Recuperacao(), std::move(trava.trava));
        if (dados)
            return copia;
        copia.Apagar();
    }
    return std::nullopt;
}

} // namespace zelpo
