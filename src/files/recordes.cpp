#include "files/recordes.h"

#include "files/arquivos.h"
#include "records/produto.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <limits>
#include <optional>

namespace zelpo {

namespace {

constexpr int VERSAO_TABELA = 1;
const QString FORMATO = QStringLiteral("Zelpora recordes");

// Best first; an equal time after the older one.
bool Antes(const Recorde& a, const Recorde& b)
{
    return a.Segundos != b.Segundos ? a.Segundos < b.Segundos : a.Data < b.Data;
}

QJsonObject ParaJson(const Recorde& r)
{
    return {
        {QStringLiteral("chave"), r.Chave},
        {QStringLiteral("segundos"), r.Segundos},
        {QStringLiteral("data"), r.Data.toUTC().toString(Qt::ISODateWithMs)},
        {QStringLiteral("nome"), r.Nome},
        {QStringLiteral("dificuldade"), r.Dificuldade},
        {QStringLiteral("colunas"), r.Colunas},
        {QStringLiteral("linhas"), r.Linhas},
        {QStringLiteral("pequenas"), r.Pequenas},
    };
}

// A whole number of the JSON within [menor, maior].
std::optional<int32_t> Inteiro(const QJsonValue& v, int32_t menor, int32_t maior)
{
    if (!v.isDouble())
        return std::nullopt;
    const double d = v.toDouble();
    if (d != std::floor(d) || d < menor || d > maior)
        return std::nullopt;
    return static_cast<int32_t>(d);
}

std::optional<Recorde> DeJson(const QJsonValue& valor)
{
    if (!valor.isObject())
        return std::nullopt;
    const QJsonObject o = valor.toObject();
    const QJsonValue chave = o.value(QStringLiteral("chave"));
    const QJsonValue nome = o.value(QStringLiteral("nome"));
    const QJsonValue pequenas = o.value(QStringLiteral("pequenas"));
    const auto segundos = Inteiro(o.value(QStringLiteral("segundos")), 0, std::numeric_limits<int32_t>::max());
    const auto dificuldade = Inteiro(o.value(QStringLiteral("dificuldade")), std::numeric_limits<int16_t>::min(),
                                     std::numeric_limits<int16_t>::max());
    const auto colunas = Inteiro(o.value(QStringLiteral("colunas")), 1, 99);
    const auto linhas = Inteiro(o.value(QStringLiteral("linhas")), 1, 99);
    const QDateTime data = QDateTime::fromString(o.value(QStringLiteral("data")).toString(), Qt::ISODateWithMs);
    if (!chave.isString() || chave.toString().isEmpty() || !nome.isString() || !pequenas.isBool() || !segundos
        || !dificuldade || !colunas || !linhas || !data.isValid())
        return std::nullopt;
    return Recorde{chave.toString(), *segundos, data.toUTC(), nome.toString(), static_cast<int16_t>(*dificuldade),
                   static_cast<int16_t>(*colunas), static_cast<int16_t>(*linhas), pequenas.toBool()};
}

} // namespace

QString ChaveDoQuebraCabeca(const QByteArray& figura, int colunas, int linhas, bool pequenas, int dificuldade)
{
    const QByteArray resumo = QCryptographicHash::hash(figura, QCryptographicHash::Sha256).toHex();
    return QStringLiteral("%1-%2x%3-%4-%5")
        .arg(QString::fromLatin1(resumo))
        .arg(colunas)
        .arg(linhas)
        .arg(pequenas ? QStringLiteral("pequenas") : QStringLiteral("normais"))
        .arg(dificuldade);
}

int TabelaRecordes::Registrar(const Recorde& recorde)
{
    const std::vector<Recorde> melhores = Melhores(recorde.Chave);
    const auto frente = std::count_if(melhores.begin(), melhores.end(),
                                      [&](const Recorde& r) { return !Antes(recorde, r); });
    if (frente >= RECORDES_POR_QUEBRA_CABECA)
        return 0;
    recordes_.push_back(recorde);
    Podar();
    return static_cast<int>(frente) + 1;
}

// Only each puzzle's five best stay (a table edited by hand may hold more).
void TabelaRecordes::Podar()
{
    QHash<QString, std::vector<size_t>> porChave;
    for (size_t i = 0; i < recordes_.size(); ++i)
        porChave[recordes_[i].Chave].push_back(i);
    std::vector<bool> fora(recordes_.size(), false);
    for (std::vector<size_t>& indices : porChave) {
        std::stable_sort(indices.begin(), indices.end(),
                         [&](size_t a, size_t b) { return Antes(recordes_[a], recordes_[b]); });
        for (size_t i = RECORDES_POR_QUEBRA_CABECA; i < indices.size(); ++i)
            fora[indices[i]] = true;
    }
    size_t i = 0;
    std::erase_if(recordes_, [&](const Recorde&) { return fora[i++]; });
}

std::vector<Recorde> TabelaRecordes::Melhores(const QString& chave) const
{
    std::vector<Recorde> m;
    std::copy_if(recordes_.begin(), recordes_.end(), std::back_inserter(m),
                 [&](const Recorde& r) { return r.Chave == chave; });
    std::stable_sort(m.begin(), m.end(), Antes);
    return m;
}

std::vector<Recorde> TabelaRecordes::Recentes() const
{
    std::vector<Recorde> r = recordes_;
    std::stable_sort(r.begin(), r.end(), [](const Recorde& a, const Recorde& b) { return a.Data > b.Data; });
    if (r.size() > RECORDES_RECENTES)
        r.resize(RECORDES_RECENTES);
    return r;
}

QByteArray TabelaRecordes::Codificar() const
{
    QJsonArray lista;
    for (const Recorde& r : recordes_)
        lista.append(ParaJson(r));
    const QJsonObject raiz{{QStringLiteral("formato"), FORMATO},
                           {QStringLiteral("versao"), VERSAO_TABELA},
                           {QStringLiteral("recordes"), lista}};
    return QJsonDocument(raiz).toJson(QJsonDocument::Indented);
}

std::optional<TabelaRecordes> TabelaRecordes::Decodificar(const QByteArray& bytes)
{
    QJsonParseError erro{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &erro);
    const QJsonObject raiz = doc.object();
    const bool nosso = erro.error == QJsonParseError::NoError && doc.isObject()
                       && raiz.value(QStringLiteral("formato")).toString() == FORMATO
                       && raiz.value(QStringLiteral("versao")).toInt() == VERSAO_TABELA
                       && raiz.value(QStringLiteral("recordes")).isArray();
    if (!nosso)
        return std::nullopt;
    TabelaRecordes tabela;
    for (const QJsonValue& valor : raiz.value(QStringLiteral("recordes")).toArray())
        if (std::optional<Recorde> r = DeJson(valor))
            tabela.recordes_.push_back(std::move(*r));
    tabela.Podar();
    return tabela;
}

QString CaminhoRecordes()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QLatin1Char('/')
           + QString::fromUtf8(FABRICANTE) + QLatin1Char('/') + QString::fromUtf8(TITULO_APLICACAO)
           + QStringLiteral("/recordes.json");
}

bool TabelaRecordes::Aparar(qint64 bytes)
{
    const qint64 tamanho = Codificar().size();
    if (tamanho <= bytes || recordes_.empty())
        return false;
    // whole puzzles, the one played last first, as many records as nine tenths of the
    // size hold (the records' sizes vary a little)
    const qint64 cabem = qint64(recordes_.size()) * bytes * 9 / 10 / tamanho;
    QHash<QString, std::pair<QDateTime, qint64>> porChave; // newest time, records
    for (const Recorde& r : recordes_) {
        auto& [ultima, quantos] = porChave[r.Chave];
        ultima = std::max(ultima, r.Data);
        ++quantos;
    }
    std::vector<std::pair<QDateTime, QString>> ordem;
    for (auto i = porChave.cbegin(); i != porChave.cend(); ++i)
        ordem.emplace_back(i->first, i.key());
    std::sort(ordem.begin(), ordem.end(), std::greater<>());
    QSet<QString> mantidas;
    qint64 mantidos = 0;
    for (const auto& [ultima, chave] : ordem) {
        mantidos += porChave[chave].second;
        if (mantidos > cabem)
            break;
        mantidas.insert(chave);
    }
    std::erase_if(recordes_, [&](const Recorde& r) { return !mantidas.contains(r.Chave); });
    return true;
}

TabelaRecordes LerRecordes(const QString& arquivo)
{
    const Leitura lida = LerArquivo(arquivo, MAIOR_TABELA_LIDA);
    std::optional<TabelaRecordes> tabela = lida.ok() ? TabelaRecordes::Decodificar(lida.bytes) : std::nullopt;
    return tabela ? std::move(*tabela) : TabelaRecordes();
}

QString GravarRecordes(const QString& arquivo, const TabelaRecordes& tabela)
{
    QDir().mkpath(QFileInfo(arquivo).absolutePath());
    return GravarArquivo(arquivo, tabela.Codificar());
}

namespace {

// "recordes.json" -> "recordes-20250301-200000.danificado", beside it.
QString NomeDanificado(const QString& arquivo)
{
    const QFileInfo info(arquivo);
    const QString data = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString nome = info.dir().filePath(info.completeBaseName() + QLatin1Char('-') + data);
    QString candidato = nome + QStringLiteral(".danificado");
    for (int n = 2; QFileInfo::exists(candidato); ++n)
        candidato = nome + QStringLiteral("-%1.danificado").arg(n);
    return candidato;
}

// The table on disk, under the lock: empty when there is none; a damaged one is moved
// aside first. Nothing, with `r.erro` set, when it can be neither read nor moved.
std::optional<TabelaRecordes> LerParaRegistrar(const QString& arquivo, ResultadoRecorde& r)
{
    const Leitura lida = LerArquivo(arquivo, MAIOR_TABELA_LIDA);
    if (lida.falha == FalhaLeitura::NaoExiste)
        return TabelaRecordes();
    if (!lida.ok() && lida.falha != FalhaLeitura::GrandeDemais) {
        r.erro = lida.erro;
        return std::nullopt;
    }
    if (std::optional<TabelaRecordes> tabela = lida.ok() ? TabelaRecordes::Decodificar(lida.bytes) : std::nullopt)
        return tabela;
    const QString destino = NomeDanificado(arquivo);
    if (!QFile::rename(arquivo, destino)) {
        r.erro = QStringLiteral("a tabela danificada não pôde ser posta de lado");
        return std::nullopt;
    }
    SincronizarPasta(destino);
    r.guardadaComo = destino;
    return TabelaRecordes();
}

} // namespace

ResultadoRecorde RegistrarRecorde(const QString& arquivo, const Recorde& recorde)
{
    ResultadoRecorde resultado;
    QDir().mkpath(QFileInfo(arquivo).absolutePath());
    QLockFile trava(arquivo + QStringLiteral(".lock"));
    if (!trava.tryLock(ESPERA_TRAVA_RECORDES_MS)) {
        resultado.erro = trava.error() == QLockFile::LockFailedError
                             ? QStringLiteral("a tabela de recordes está em uso por outro programa")
                             : DescricaoDoErro(trava.error() == QLockFile::PermissionError ? EACCES : EIO);
        return resultado;
    }
    std::optional<TabelaRecordes> tabela = LerParaRegistrar(arquivo, resultado);
    if (!tabela)
        return resultado;
    resultado.posicao = tabela->Registrar(recorde);
    const bool aparada = tabela->Aparar(MAIOR_TABELA);
    if (resultado.posicao > 0 || aparada || !resultado.guardadaComo.isEmpty())
        resultado.erro = GravarRecordes(arquivo, *tabela);
    return resultado;
}

} // namespace zelpo
