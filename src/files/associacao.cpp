#include "files/associacao.h"

#include "files/arquivos.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace zelpo {

namespace {

const QString ARQUIVO_DESKTOP = QStringLiteral("zelpora.desktop");
const QString GRUPO_PADRAO = QStringLiteral("[Default Applications]");
// Larger than any of the files here; a mimeapps.list beyond it is not ours to rewrite.
constexpr qint64 TAMANHO_MAXIMO = 1024 * 1024;

QString TipoMime(const QString& extensao) { return QStringLiteral("application/x-zelpora-") + extensao; }
QString NomeIconeTipo(const QString& extensao) { return QStringLiteral("application-x-zelpora-") + extensao; }

QString Xml(QString t)
{
    return t.replace(QLatin1Char('&'), QLatin1String("&amp;"))
        .replace(QLatin1Char('<'), QLatin1String("&lt;"))
        .replace(QLatin1Char('>'), QLatin1String("&gt;"))
        .replace(QLatin1Char('"'), QLatin1String("&quot;"));
}

// The escapes of a string value in a desktop entry, applied after the Exec quoting.
QString ValorDesktop(QString t)
{
    return t.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
        .replace(QLatin1Char('\n'), QLatin1String("\\n"))
        .replace(QLatin1Char('\t'), QLatin1String("\\t"))
        .replace(QLatin1Char('\r'), QLatin1String("\\r"));
}

// The program that an Exec line written by this registration names, or "" for a line it
// did not write (a launcher the player made, with other arguments): the escapes undone,
// then checked by writing the line again.
QString ProgramaDoExec(const QString& valor)
{
    QString linha, programa;
    for (qsizetype i = 0; i < valor.size(); ++i) { // the desktop entry's escapes
        if (valor[i] != u'\\' || i + 1 == valor.size()) {
            linha += valor[i];
            continue;
        }
        const QChar c = valor[++i];
        linha += c == u'n' ? QChar(u'\n') : c == u't' ? QChar(u'\t') : c == u'r' ? QChar(u'\r') : c;
    }
    linha.chop(3); // " %f"
    const bool aspas = linha.size() >= 2 && linha.startsWith(u'"') && linha.endsWith(u'"');
    if (aspas)
        linha = linha.mid(1, linha.size() - 2);
    for (qsizetype i = 0; i < linha.size(); ++i) { // the Exec quoting's
        if (aspas && linha[i] == u'\\' && i + 1 < linha.size())
            ++i;
        programa += linha[i];
    }
    programa.replace(QStringLiteral("%%"), QStringLiteral("%"));
    return ValorDesktop(ArgumentoExec(programa) + QStringLiteral(" %f")) == valor ? programa : QString();
}

// Writes the file unless it already holds exactly these bytes; `escrito` tells which.
bool GravarSeDiferente(const QString& caminho, const QByteArray& conteudo, bool& escrito)
{
    const Leitura atual = LerArquivo(caminho, TAMANHO_MAXIMO);
    if (atual.ok() && atual.bytes == conteudo)
        return true;
    if (!QDir().mkpath(QFileInfo(caminho).absolutePath()) || !GravarArquivo(caminho, conteudo).isEmpty())
        return false;
    escrito = true;
    return true;
}

// hicolor sorts icons by size; a vector icon goes under "scalable".
QString PastaDoIcone(const QString& icone)
{
    const QString sufixo = QFileInfo(icone).suffix().toLower();
    if (sufixo == QLatin1String("svg") || sufixo == QLatin1String("svgz"))
        return QStringLiteral("scalable");
    const QSize tamanho = QImageReader(icone).size();
    if (!tamanho.isValid())
        return {};
    return QStringLiteral("%1x%1").arg(qMax(tamanho.width(), tamanho.height()));
}

// Sets our line in the [Default Applications] group and keeps every other line as it
// was, so running twice gives the same file.
QByteArray MimeappsAtualizado(const QByteArray& antigo, const QString& tipo)
{
    QStringList linhas = QString::fromUtf8(antigo).split(QLatin1Char('\n'));
    if (!linhas.isEmpty() && linhas.last().isEmpty())
        linhas.removeLast();
    const QString nossa = tipo + QLatin1Char('=') + ARQUIVO_DESKTOP;
    const qsizetype grupo = linhas.indexOf(GRUPO_PADRAO);
    if (grupo < 0) {
        if (!linhas.isEmpty() && !linhas.last().trimmed().isEmpty())
            linhas.append(QString());
        linhas << GRUPO_PADRAO << nossa;
    } else {
        qsizetype fim = grupo + 1;
        while (fim < linhas.size() && !linhas[fim].trimmed().startsWith(QLatin1Char('[')))
            ++fim;
        qsizetype ultima = grupo, achada = -1;
        for (qsizetype i = grupo + 1; i < fim; ++i) {
            if (linhas[i].section(QLatin1Char('='), 0, 0).trimmed() == tipo && achada < 0)
                achada = i;
            if (!linhas[i].trimmed().isEmpty())
                ultima = i;
        }
        if (achada >= 0)
            linhas[achada] = nossa;
        else
            linhas.insert(ultima + 1, nossa); // blank lines before the next group stay there
    }
    return (linhas.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

// One of the desktop files the package installs, as the program carries them.
QString Enviado(const QString& nome)
{
    QFile arquivo(QStringLiteral(":/desktop/") + nome);
    arquivo.open(QIODevice::ReadOnly);
    return QString::fromUtf8(arquivo.readAll());
}

// The shipped file of the type, as the package installs it, with the type's name, its
// glob, its description and its icon made this registration's: the magic rule that tells
// a saved game by its content stays.
QByteArray PacoteMime(const QString& extensao, const QString& descricao, const QString& nomeIcone)
{
    QString xml = Enviado(QStringLiteral("zelpora-zpr.xml"));
    xml.replace(QStringLiteral("application/x-zelpora-zpr"), Xml(TipoMime(extensao)))
        .replace(QStringLiteral("\"*.zpr\""), QLatin1Char('"') + Xml(QStringLiteral("*.") + extensao) + QLatin1Char('"'))
        .replace(QStringLiteral(">Jogo do Zelpora 3.0<"), QLatin1Char('>') + Xml(descricao) + QLatin1Char('<'))
        .replace(QStringLiteral("\"application-x-zelpora-zpr\""), QLatin1Char('"') + Xml(nomeIcone) + QLatin1Char('"'));
    return xml.toUtf8();
}

// The shipped launcher, name, keywords and all, with the command and the icon of the
// program that runs, and the type it opens.
QByteArray EntradaDesktop(const QString& extensao, const QString& programa, const QString& icone)
{
    QStringList linhas = Enviado(ARQUIVO_DESKTOP).split(QLatin1Char('\n'));
    for (QString& linha : linhas) {
        const QString chave = linha.section(QLatin1Char('='), 0, 0);
        if (chave == QLatin1String("Exec"))
            linha = QStringLiteral("Exec=") + ValorDesktop(ArgumentoExec(programa) + QStringLiteral(" %f"));
        else if (chave == QLatin1String("Icon"))
            linha = QStringLiteral("Icon=") + ValorDesktop(icone);
        else if (chave == QLatin1String("MimeType"))
            linha = QStringLiteral("MimeType=") + TipoMime(extensao) + QLatin1Char(';');
    }
    return linhas.join(QLatin1Char('\n')).toUtf8();
}

void AtualizarCache(const QString& programa, const QString& pasta)
{
    const QString caminho = QStandardPaths::findExecutable(programa);
    if (caminho.isEmpty())
        return;
    // Their complaints would land in the game's terminal; nobody reads them there.
    QProcess processo;
    processo.setProgram(caminho);
    processo.setArguments({pasta});
    processo.setStandardOutputFile(QProcess::nullDevice());
    processo.setStandardErrorFile(QProcess::nullDevice());
    processo.startDetached();
}

QString PastaDoAmbiente(const char* variavel, const QString& padrao)
{
    const QString v = qEnvironmentVariable(variavel);
    return QDir::isAbsolutePath(v) ? QDir::cleanPath(v) : QDir::homePath() + padrao;
}

// The four steps; `tipo` and `aplicativo` tell which caches have something new to read.
bool Registrar(const PastasXdg& pastas, const QString& extensao, const QString& descricao, const QString& programa,
               const QString& icone, bool& tipo, bool& aplicativo)
{
    QString nomeIcone = icone;
    if (icone.contains(QLatin1Char('/'))) { // an icon file rather than a theme name
        const QString pasta = PastaDoIcone(icone);
        const Leitura figura = LerArquivo(icone, TAMANHO_MAXIMO);
        if (pasta.isEmpty() || !figura.ok())
            return false;
        nomeIcone = NomeIconeTipo(extensao);
        QString destino = pastas.dados + QStringLiteral("/icons/hicolor/") + pasta + QStringLiteral("/mimetypes/")
                          + nomeIcone;
        if (const QString sufixo = QFileInfo(icone).suffix().toLower(); !sufixo.isEmpty())
            destino += QLatin1Char('.') + sufixo;
        if (!GravarSeDiferente(destino, figura.bytes, tipo))
            return false;
    }
    const QString mime = pastas.dados + QStringLiteral("/mime/packages/zelpora-%1.xml").arg(extensao);
    if (!GravarSeDiferente(mime, PacoteMime(extensao, descricao, nomeIcone), tipo))
        return false;
    const QString desktop = pastas.dados + QStringLiteral("/applications/") + ARQUIVO_DESKTOP;
    if (!GravarSeDiferente(desktop, EntradaDesktop(extensao, programa, icone), aplicativo))
        return false;
    const QString mimeapps = pastas.configuracao + QStringLiteral("/mimeapps.list");
    const Leitura lista = LerArquivo(mimeapps, TAMANHO_MAXIMO);
    if (!lista.ok() && lista.falha != FalhaLeitura::NaoExiste)
        return false;
    bool ignorado = false;
    return GravarSeDiferente(mimeapps, MimeappsAtualizado(lista.bytes, TipoMime(extensao)), ignorado);
}

} // namespace

PastasXdg PastasXdg::DoAmbiente()
{
    return {PastaDoAmbiente("XDG_DATA_HOME", QStringLiteral("/.local/share")),
            PastaDoAmbiente("XDG_CONFIG_HOME", QStringLiteral("/.config"))};
}

bool AssociarArquivo(const PastasXdg& pastas, const QString& extensao, const QString& descricao,
                     const QString& programa, const QString& icone)
{
    bool tipo = false, aplicativo = false;
    const bool ok = Registrar(pastas, extensao, descricao, programa, icone, tipo, aplicativo);
    if (tipo)
        AtualizarCache(QStringLiteral("update-mime-database"), pastas.dados + QStringLiteral("/mime"));
    if (aplicativo)
        AtualizarCache(QStringLiteral("update-desktop-database"), pastas.dados + QStringLiteral("/applications"));
    return ok;
}

bool AssociarArquivo(const QString& extensao, const QString& descricao, const QString& programa,
                     const QString& icone)
{
    return AssociarArquivo(PastasXdg::DoAmbiente(), extensao, descricao, programa, icone);
}

bool RetirarAssociacaoOrfa(const PastasXdg& pastas, const QString& extensao)
{
    const QString desktop = pastas.dados + QStringLiteral("/applications/") + ARQUIVO_DESKTOP;
    const Leitura lancador = LerArquivo(desktop, TAMANHO_MAXIMO);
    QString programa;
    for (const QString& linha : QString::fromUtf8(lancador.bytes).split(QLatin1Char('\n')))
        if (programa.isEmpty() && linha.startsWith(QLatin1String("Exec=")))
            programa = ProgramaDoExec(linha.mid(5));
    if (!QDir::isAbsolutePath(programa) || QFileInfo::exists(programa))
        return false;
    if (!QFile::remove(desktop)) // a folder the player cannot write: leave it all as it is
        return false;
    QFile::remove(pastas.dados + QStringLiteral("/mime/packages/zelpora-%1.xml").arg(extensao));
    const QDir icones(pastas.dados + QStringLiteral("/icons/hicolor"));
    for (const QString& tamanho : icones.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QDir pasta(icones.filePath(tamanho + QStringLiteral("/mimetypes")));
        for (const QString& icone : pasta.entryList({NomeIconeTipo(extensao) + QStringLiteral(".*")}, QDir::Files))
            QFile::remove(pasta.filePath(icone));
    }
    AtualizarCache(QStringLiteral("update-mime-database"), pastas.dados + QStringLiteral("/mime"));
    AtualizarCache(QStringLiteral("update-desktop-database"), pastas.dados + QStringLiteral("/applications"));
    return true;
}

bool RetirarAssociacaoOrfa(const QString& extensao)
{
    return RetirarAssociacaoOrfa(PastasXdg::DoAmbiente(), extensao);
}

QString ArgumentoExec(const QString& programa)
{
    static const QString reservados = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool aspas = programa.isEmpty();
    QString arg;
    for (QChar c : programa) {
        aspas = aspas || reservados.contains(c);
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            arg += QLatin1Char('\\');
        arg += c;
    }
    arg.replace(QLatin1Char('%'), QLatin1String("%%"));
    return aspas ? QLatin1Char('"') + arg + QLatin1Char('"') : arg;
}

} // namespace zelpo
