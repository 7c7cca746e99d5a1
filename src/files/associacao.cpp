#include "files/associacao.h"

#include "game/jogo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>

#include <utility>

namespace zelpo {

namespace {

const QString RAIZ_CLASSES = QStringLiteral("software\\classes\\");
const QString CHAVE_COMANDO = QStringLiteral("shell\\open\\command");
const QString CHAVE_ICONE = QStringLiteral("defaulticon");
const QString ARQUIVO_DESKTOP = QStringLiteral("zelpora.desktop");
const QString GRUPO_PADRAO = QStringLiteral("[Default Applications]");

QString TipoMime(const QString& extensao) { return QStringLiteral("application/x-zelpora-") + extensao; }
QString NomeIconeTipo(const QString& extensao) { return QStringLiteral("application-x-zelpora-") + extensao; }

// Registry keys ignore case; the root is optional.
QString NormalizarChave(const QString& chave)
{
    QString c = chave.toLower();
    if (c.startsWith(RAIZ_CLASSES))
        c.remove(0, RAIZ_CLASSES.size());
    return c;
}

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

bool GravarArquivo(const QString& caminho, const QByteArray& conteudo)
{
    if (!QDir().mkpath(QFileInfo(caminho).absolutePath()))
        return false;
    QSaveFile arquivo(caminho);
    return arquivo.open(QIODevice::WriteOnly) && arquivo.write(conteudo) == conteudo.size()
           && arquivo.commit();
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
    const int lado = qMax(tamanho.width(), tamanho.height());
    return QStringLiteral("%1x%1").arg(lado);
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

void AtualizarCaches(const RegistroTipos& registro, const PastasXdg& pastas)
{
    const auto iniciar = [](const QString& programa, const QString& pasta) {
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
    };
    if (registro.TipoGravado())
        iniciar(QStringLiteral("update-mime-database"), pastas.dados + QStringLiteral("/mime"));
    if (registro.AplicativoGravado())
        iniciar(QStringLiteral("update-desktop-database"), pastas.dados + QStringLiteral("/applications"));
}

QString PastaDoAmbiente(const char* variavel, const QString& padrao)
{
    const QString v = qEnvironmentVariable(variavel);
    return QDir::isAbsolutePath(v) ? QDir::cleanPath(v) : QDir::homePath() + padrao;
}

} // namespace

PastasXdg PastasXdg::DoAmbiente()
{
    return {PastaDoAmbiente("XDG_DATA_HOME", QStringLiteral("/.local/share")),
            PastaDoAmbiente("XDG_CONFIG_HOME", QStringLiteral("/.config"))};
}

RegistroTipos::RegistroTipos(PastasXdg pastas) : pastas_(std::move(pastas)) {}

QString RegistroTipos::Texto(const QString& chave, const QString& nome) const
{
    return QString::fromUtf8(valores_.value(chave).value(nome.toLower()).dados);
}

QString RegistroTipos::ExtensaoDaClasse(const QString& classe) const
{
    for (auto it = valores_.cbegin(); it != valores_.cend(); ++it)
        if (it.key().startsWith(QLatin1Char('.')) && Texto(it.key()).toLower() == classe)
            return it.key().mid(1);
    return {};
}

bool RegistroTipos::Gravar(const QString& chave, int32_t tipo, const QString& nomeValor,
                           const QByteArray& dados)
{
    const QString c = NormalizarChave(chave);
    valores_[c][nomeValor.toLower()] = Valor{tipo, dados};
    if (c.startsWith(QLatin1Char('.')))
        return nomeValor.isEmpty() ? GravarTipo(c.mid(1)) : true;
    const QString classe = c.section(QLatin1Char('\\'), 0, 0);
    const QString sub = c.section(QLatin1Char('\\'), 1);
    const QString extensao = ExtensaoDaClasse(classe);
    // Values that no file shows (EditFlags, keys of no known type) stay in memory.
    if (extensao.isEmpty() || !nomeValor.isEmpty())
        return true;
    if (sub.isEmpty() || sub == CHAVE_ICONE)
        return GravarTipo(extensao);
    if (sub == CHAVE_COMANDO)
        return GravarAplicativo(extensao);
    return true;
}

bool RegistroTipos::GravarIcone(const QString& extensao, QString& nomeIcone)
{
    const QString icone = Texto(Texto(QLatin1Char('.') + extensao).toLower() + QLatin1Char('\\') + CHAVE_ICONE);
    nomeIcone.clear();
    if (icone.isEmpty())
        return true;
    if (!icone.contains(QLatin1Char('/'))) { // a theme icon name
        nomeIcone = icone;
        return true;
    }
    const QString pasta = PastaDoIcone(icone);
    QFile origem(icone);
    if (pasta.isEmpty() || !origem.open(QIODevice::ReadOnly))
        return false;
    nomeIcone = NomeIconeTipo(extensao);
    QString destino = pastas_.dados + QStringLiteral("/icons/hicolor/") + pasta
                      + QStringLiteral("/mimetypes/") + nomeIcone;
    if (const QString sufixo = QFileInfo(icone).suffix().toLower(); !sufixo.isEmpty())
        destino += QLatin1Char('.') + sufixo;
    return GravarArquivo(destino, origem.readAll());
}

bool RegistroTipos::GravarTipo(const QString& extensao)
{
    const QString classe = Texto(QLatin1Char('.') + extensao).toLower();
    const QString descricao = Texto(classe);
    QString nomeIcone;
    if (!GravarIcone(extensao, nomeIcone))
        return false;
    QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n")
                  + QStringLiteral("  <mime-type type=\"%1\">\n").arg(Xml(TipoMime(extensao)));
    if (!descricao.isEmpty())
        xml += QStringLiteral("    <comment>%1</comment>\n"
                              "    <comment xml:lang=\"pt_BR\">%1</comment>\n").arg(Xml(descricao));
    if (!nomeIcone.isEmpty())
        xml += QStringLiteral("    <icon name=\"%1\"/>\n").arg(Xml(nomeIcone));
    xml += QStringLiteral("    <glob pattern=\"*.%1\"/>\n"
                          "  </mime-type>\n"
                          "</mime-info>\n").arg(Xml(extensao));
    const QString caminho = pastas_.dados + QStringLiteral("/mime/packages/zelpora-%1.xml").arg(extensao);
    if (!GravarArquivo(caminho, xml.toUtf8()))
        return false;
    tipoGravado_ = true;
    return true;
}

bool RegistroTipos::GravarAplicativo(const QString& extensao)
{
    const QString classe = Texto(QLatin1Char('.') + extensao).toLower();
    const QString icone = Texto(classe + QLatin1Char('\\') + CHAVE_ICONE);
    QString entrada = QStringLiteral("[Desktop Entry]\nType=Application\nName=")
                      + QLatin1String(TITULO_APLICACAO) + QLatin1Char('\n');
    if (const QString descricao = Texto(classe); !descricao.isEmpty())
        entrada += QStringLiteral("Comment=") + ValorDesktop(descricao) + QLatin1Char('\n');
    entrada += QStringLiteral("Exec=") + ValorDesktop(Texto(classe + QLatin1Char('\\') + CHAVE_COMANDO))
               + QLatin1Char('\n');
    if (!icone.isEmpty())
        entrada += QStringLiteral("Icon=") + ValorDesktop(icone) + QLatin1Char('\n');
    entrada += QStringLiteral("Terminal=false\nCategories=Game;LogicGame;\nMimeType=")
               + TipoMime(extensao) + QStringLiteral(";\n");
    if (!GravarArquivo(pastas_.dados + QStringLiteral("/applications/") + ARQUIVO_DESKTOP, entrada.toUtf8()))
        return false;

    const QString caminho = pastas_.configuracao + QStringLiteral("/mimeapps.list");
    QByteArray antigo;
    if (QFileInfo::exists(caminho)) {
        QFile arquivo(caminho);
        if (!arquivo.open(QIODevice::ReadOnly))
            return false;
        antigo = arquivo.readAll();
    }
    if (!GravarArquivo(caminho, MimeappsAtualizado(antigo, TipoMime(extensao))))
        return false;
    aplicativoGravado_ = true;
    return true;
}

bool GravarRegistro(RegistroTipos& registro, const QString& chave, int32_t tipo,
                    const QString& nomeValor, const QString& valor)
{
    const QByteArray dados = tipo == REG_BINARY ? valor.toLatin1() : valor.toUtf8();
    return registro.Gravar(chave, tipo, nomeValor, dados);
}

bool AssociarArquivo(const PastasXdg& pastas, const QString& extensao, const QString& descricao,
                     const QString& programa, const QString& icone)
{
    const QString tipo = extensao + QStringLiteral("_auto_file");
    const QString classe = QStringLiteral("SOFTWARE\\Classes\\") + tipo;
    RegistroTipos registro(pastas);
    const bool ok =
        GravarRegistro(registro, QStringLiteral("SOFTWARE\\Classes\\.") + extensao, REG_SZ, {}, tipo)
        && GravarRegistro(registro, classe, REG_SZ, {}, descricao)
        && GravarRegistro(registro, classe, REG_BINARY, QStringLiteral("EditFlags"), QString(4, QChar(0)))
        && GravarRegistro(registro, classe + QStringLiteral("\\DefaultIcon"), REG_SZ, {}, icone)
        && GravarRegistro(registro, classe + QStringLiteral("\\shell\\open\\command"), REG_SZ, {},
                          ArgumentoExec(programa) + QStringLiteral(" %f"));
    AtualizarCaches(registro, pastas);
    return ok;
}

bool AssociarArquivo(const QString& extensao, const QString& descricao, const QString& programa,
                     const QString& icone)
{
    return AssociarArquivo(PastasXdg::DoAmbiente(), extensao, descricao, programa, icone);
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
