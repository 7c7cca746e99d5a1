#include "files/arquivos.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelpo {

namespace {

constexpr qint64 BLOCO_LEITURA = 1 << 16;

// Closes the descriptor on every way out.
struct Descritor {
    int fd;
    ~Descritor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

Leitura Falha(FalhaLeitura falha, QString erro)
{
    Leitura l;
    l.falha = falha;
    l.erro = std::move(erro);
    return l;
}

Leitura FalhaDoSistema(int numero)
{
    switch (numero) {
    case ENOENT:
    case ENOTDIR:
        return Falha(FalhaLeitura::NaoExiste, DescricaoDoErro(numero));
    case EACCES:
    case EPERM:
        return Falha(FalhaLeitura::SemPermissao, DescricaoDoErro(numero));
    case EISDIR:
        return Falha(FalhaLeitura::NaoComum, DescricaoDoErro(numero));
    default:
        return Falha(FalhaLeitura::Outra, DescricaoDoErro(numero));
    }
}

QString NaoComum(mode_t modo)
{
    return S_ISDIR(modo) ? DescricaoDoErro(EISDIR)
                         : QStringLiteral("não é um arquivo comum (é um dispositivo, uma fila ou um soquete)");
}

// The folder that will hold the file: the reasons a write cannot even start.
QString ProblemaDaPasta(const QString& caminho)
{
    const QByteArray pasta = QFile::encodeName(QFileInfo(caminho).absolutePath());
    struct stat estado {};
    if (::stat(pasta.constData(), &estado) != 0)
        return errno == ENOENT ? QStringLiteral("a pasta não existe") : DescricaoDoErro(errno);
    if (!S_ISDIR(estado.st_mode))
        return DescricaoDoErro(ENOTDIR);
    return {};
}

} // namespace

QString DescricaoDoErro(int numero)
{
    switch (numero) {
    case ENOENT: return QStringLiteral("o arquivo não existe");
    case ENOTDIR: return QStringLiteral("uma parte do caminho não é uma pasta");
    case EISDIR: return QStringLiteral("é uma pasta, não um arquivo");
    case EACCES:
    case EPERM: return QStringLiteral("sem permissão de acesso");
    case ELOOP: return QStringLiteral("o caminho tem atalhos que apontam uns para os outros");
    case ENAMETOOLONG: return QStringLiteral("o nome do arquivo é longo demais");
    case ENOSPC: return QStringLiteral("não há espaço livre no disco");
    case EDQUOT: return QStringLiteral("a cota de espaço em disco se esgotou");
    case EFBIG: return QStringLiteral("o arquivo passa do tamanho permitido");
    case EROFS: return QStringLiteral("o disco é somente de leitura");
    case EIO: return QStringLiteral("erro de entrada e saída no disco");
    case EMFILE:
    case ENFILE: return QStringLiteral("há arquivos abertos demais");
    case ENOMEM: return QStringLiteral("falta memória");
    case EBUSY:
    case ETXTBSY: return QStringLiteral("o arquivo está em uso");
    default: return QStringLiteral("erro do sistema número %1").arg(numero);
    }
}

QString MensagemDeGravacao(const QString& caminho, const QString& erro)
{
    return QStringLiteral("Não foi possível gravar o arquivo:\n\n'") + caminho + QStringLiteral("'\n\n") + erro
           + QLatin1Char('.');
}

Leitura LerArquivo(const QString& caminho, qint64 limite)
{
    if (caminho.isEmpty())
        return FalhaDoSistema(ENOENT);
    // Non-blocking, so that opening a FIFO with no writer returns at once; the type check
    // below then refuses it.
    const QByteArray nome = QFile::encodeName(caminho);
    const Descritor d{::open(nome.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    if (d.fd < 0)
        return FalhaDoSistema(errno);
    struct stat estado {};
    if (::fstat(d.fd, &estado) != 0)
        return FalhaDoSistema(errno);
    if (!S_ISREG(estado.st_mode))
        return Falha(FalhaLeitura::NaoComum, NaoComum(estado.st_mode));
    if (estado.st_size > limite)
        return Falha(FalhaLeitura::GrandeDemais, QStringLiteral("o arquivo é grande demais"));
    Leitura l;
    l.bytes.reserve(static_cast<qsizetype>(estado.st_size));
    char bloco[BLOCO_LEITURA];
    for (;;) {
        const ssize_t lidos = ::read(d.fd, bloco, sizeof bloco);
        if (lidos < 0 && errno == EINTR)
            continue;
        if (lidos < 0)
            return FalhaDoSistema(errno);
        if (lidos == 0)
            break;
        if (l.bytes.size() + lidos > limite) // it grew while we read
            return Falha(FalhaLeitura::GrandeDemais, QStringLiteral("o arquivo é grande demais"));
        l.bytes.append(bloco, lidos);
    }
    return l;
}

QString GravarArquivo(const QString& caminho, const QByteArray& bytes)
{
    if (const QString problema = ProblemaDaPasta(caminho); !problema.isEmpty())
        return problema;
    struct stat estado {};
    if (::stat(QFile::encodeName(caminho).constData(), &estado) == 0 && !S_ISREG(estado.st_mode))
        return NaoComum(estado.st_mode);

    QSaveFile arquivo(caminho);
    errno = 0;
    if (!arquivo.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return DescricaoDoErro(errno ? errno : EIO);
    // A write that only filled a buffer proves nothing: the flush is where a full disk
    // shows, and the temporary must not replace the file unless it succeeded.
    errno = 0;
    const bool escrito = arquivo.write(bytes) == bytes.size() && arquivo.flush()
                         && arquivo.error() == QFileDevice::NoError;
    if (!escrito) {
        const int numero = errno ? errno : EIO;
        arquivo.cancelWriting();
        return DescricaoDoErro(numero);
    }
    errno = 0;
    if (!arquivo.commit())
        return DescricaoDoErro(errno ? errno : EIO);
    SincronizarPasta(caminho);
    return {};
}

void SincronizarPasta(const QString& caminho)
{
    const QByteArray pasta = QFile::encodeName(QFileInfo(caminho).absolutePath());
    const Descritor d{::open(pasta.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (d.fd >= 0)
        ::fsync(d.fd);
}

} // namespace zelpo
