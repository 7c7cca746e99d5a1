#include "files/recordes.h"

#include "files/arquivos.h"
#include "records/produto.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace zelpo {

namespace {

constexpr qint64 MAIOR_TABELA = 4 * 1024 * 1024;
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
    Podar(recorde.Chave);
    return static_cast<int>(frente) + 1;
}

// Only the puzzle's five best stay.
void TabelaRecordes::Podar(const QString& chave)
{
    const std::vector<Recorde> melhores = Melhores(chave);
    for (size_t i = RECORDES_POR_QUEBRA_CABECA; i < melhores.size(); ++i)
        recordes_.erase(std::find(recordes_.begin(), recordes_.end(), melhores[i]));
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

TabelaRecordes TabelaRecordes::Decodificar(const QByteArray& bytes)
{
    QJsonParseError erro{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &erro);
    const QJsonObject raiz = doc.object();
    const bool nosso = erro.error == QJsonParseError::NoError && doc.isObject()
                       && raiz.value(QStringLiteral("formato")).toString() == FORMATO
                       && raiz.value(QStringLiteral("versao")).toInt() == VERSAO_TABELA
                       && raiz.value(QStringLiteral("recordes")).isArray();
    if (!nosso)
        return {};
    TabelaRecordes tabela;
    for (const QJsonValue& valor : raiz.value(QStringLiteral("recordes")).toArray()) {
        std::optional<Recorde> r = DeJson(valor);
        if (!r)
            return {};
        tabela.recordes_.push_back(std::move(*r));
    }
    // a table edited by hand may hold more than five of a puzzle
    std::vector<QString> chaves;
    for (const Recorde& r : tabela.recordes_)
        if (std::find(chaves.begin(), chaves.end(), r.Chave) == chaves.end())
            chaves.push_back(r.Chave);
    for (const QString& chave : chaves)
        tabela.Podar(chave);
    return tabela;
}

QString CaminhoRecordes()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QLatin1Char('/')
           + QString::fromUtf8(FABRICANTE) + QLatin1Char('/') + QString::fromUtf8(TITULO_APLICACAO)
           + QStringLiteral("/recordes.json");
}

TabelaRecordes LerRecordes(const QString& arquivo)
{
    const Leitura lida = LerArquivo(arquivo, MAIOR_TABELA);
    return lida.ok() ? TabelaRecordes::Decodificar(lida.bytes) : TabelaRecordes();
}

QString GravarRecordes(const QString& arquivo, const TabelaRecordes& tabela)
{
    QDir().mkpath(QFileInfo(arquivo).absolutePath());
    return GravarArquivo(arquivo, tabela.Codificar());
}

ResultadoRecorde RegistrarRecorde(const QString& arquivo, const Recorde& recorde)
{
    TabelaRecordes tabela = LerRecordes(arquivo);
    ResultadoRecorde resultado;
    resultado.posicao = tabela.Registrar(recorde);
    if (resultado.posicao > 0)
        resultado.erro = GravarRecordes(arquivo, tabela);
    return resultado;
}

} // namespace zelpo
