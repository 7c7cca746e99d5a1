#include "game/salvaguarda.h"

#include "files/recuperacao.h"
#include "game/partida.h"

#include <QDir>
#include <QLockFile>

#include <cstdlib>

namespace zelpo {

Recuperacao RecuperacaoDe(const Partida& partida)
{
    const Sessao& sessao = partida.SessaoAtual();
    return {partida.Jogo(), sessao.ArquivoJogo, sessao.ArquivoFigura};
}

Salvaguarda::Marca Salvaguarda::MarcaDe(const JogoSalvo& jogo, const QString& arquivoJogo,
                                        const QString& arquivoFigura)
{
    Marca m{jogo, arquivoJogo, arquivoFigura};
    m.jogo.BytesFigura.clear();
    m.jogo.SegundosJogo = 0;
    return m;
}

Salvaguarda::Salvaguarda(QString pasta) : pasta_(std::move(pasta)) {}

Salvaguarda::~Salvaguarda() = default;

void Salvaguarda::Atualizar(bool emJogo, const JogoSalvo& jogo, const QString& arquivoJogo,
                            const QString& arquivoFigura)
{
    ConferirLimpeza();
    if (encerrada_)
        return;
    if (!emJogo) {
        if (copia_ || adotada_)
            Apagar();
        return;
    }
    // the picture is compared apart: the same bytes are the same picture file
    if (!copia_ || !(*copia_ == MarcaDe(jogo, arquivoJogo, arquivoFigura))
        || figura_ != ArquivoDaFiguraDe(jogo.BytesFigura))
        Gravar(jogo, arquivoJogo, arquivoFigura);
}

void Salvaguarda::Tique(bool emJogo, const JogoSalvo& jogo, const QString& arquivoJogo, const QString& arquivoFigura)
{
    ConferirLimpeza();
    if (encerrada_ || !emJogo)
        return;
    if (!copia_ || std::abs(jogo.SegundosJogo - segundosDaCopia_) >= INTERVALO_COPIA)
        Gravar(jogo, arquivoJogo, arquivoFigura);
}

void Salvaguarda::GravarAgora(bool emJogo, const JogoSalvo& jogo, const QString& arquivoJogo,
                              const QString& arquivoFigura)
{
    if (encerrada_)
        return;
    if (emJogo)
        Gravar(jogo, arquivoJogo, arquivoFigura);
    else if (copia_ || adotada_)
        Apagar();
    Esperar();
}

void Salvaguarda::Finalizar(bool emJogo, const JogoSalvo& jogo, const QString& arquivoJogo,
                            const QString& arquivoFigura)
{
    GravarAgora(emJogo, jogo, arquivoJogo, arquivoFigura);
    encerrada_ = true;
}

void Salvaguarda::Atualizar(const Partida& partida)
{
    Atualizar(partida.EmJogo(), partida.Jogo(), partida.SessaoAtual().ArquivoJogo, partida.SessaoAtual().ArquivoFigura);
}

void Salvaguarda::Tique(const Partida& partida)
{
    Tique(partida.EmJogo(), partida.Jogo(), partida.SessaoAtual().ArquivoJogo, partida.SessaoAtual().ArquivoFigura);
}

void Salvaguarda::GravarAgora(const Partida& partida)
{
    GravarAgora(partida.EmJogo(), partida.Jogo(), partida.SessaoAtual().ArquivoJogo, partida.SessaoAtual().ArquivoFigura);
}

void Salvaguarda::Finalizar(const Partida& partida)
{
    Finalizar(partida.EmJogo(), partida.Jogo(), partida.SessaoAtual().ArquivoJogo, partida.SessaoAtual().ArquivoFigura);
}

void Salvaguarda::Descartar()
{
    if (encerrada_)
        return;
    if (copia_ || adotada_)
        Apagar();
    encerrada_ = true;
}

void Salvaguarda::Adotar(CopiaDeixada copia)
{
    adotada_ = std::move(copia);
    pedidoDaLimpeza_ = 0;
    copia_.reset(); // the next update writes this program's copy again, the deletions with it
}

void Salvaguarda::Esperar()
{
    gravador_.Esperar();
    ConferirLimpeza();
}

std::optional<QString> Salvaguarda::TomarAviso()
{
    if (const std::optional<QString> falha = gravador_.TomarFalha())
        Avisar(*falha);
    return std::exchange(aviso_, std::nullopt);
}

void Salvaguarda::Avisar(const QString& motivo)
{
    if (avisou_)
        return;
    avisou_ = true;
    aviso_ = QStringLiteral("Não foi possível guardar a cópia do jogo em andamento na pasta:\n\n'") + pasta_
             + QStringLiteral("'\n\n") + motivo
             + QStringLiteral(".\n\nSe o Zelpora for fechado de repente, o jogo em andamento se perderá.");
}

// The lock comes first: from the moment the copy exists, it is known to be ours.
bool Salvaguarda::PrepararArquivo()
{
    if (!arquivo_.isEmpty())
        return true;
    if (!QDir().mkpath(pasta_)) {
        Avisar(QStringLiteral("a pasta não pôde ser criada"));
        return false;
    }
    arquivo_ = NovoArquivoDeCopia(pasta_);
    TravaDeCopia t = TravarCopia(arquivo_);
    trava_ = std::move(t.trava);
    if (!trava_)
        Avisar(t.erro);
    return true;
}

QString Salvaguarda::ArquivoDaFiguraDe(const QByteArray& bytes)
{
    if (bytes == MarcadorFigura() || arquivo_.isEmpty())
        return {};
    if (bytes.constData() != bytesDaFigura_.constData()) {
        if (bytes != bytesDaFigura_ || figuraCalculada_.isEmpty())
            figuraCalculada_ = ArquivoDaFigura(arquivo_, bytes);
        bytesDaFigura_ = bytes; // shared: the next call compares one pointer
    }
    return figuraCalculada_;
}

void Salvaguarda::Gravar(const JogoSalvo& jogo, const QString& arquivoJogo, const QString& arquivoFigura)
{
    if (!PrepararArquivo())
        return;
    const QString figura = ArquivoDaFiguraDe(jogo.BytesFigura);
    std::vector<OperacaoDeDisco> operacoes;
    if (!figura.isEmpty())
        operacoes.push_back({figura, jogo.BytesFigura, true});
    operacoes.push_back({arquivo_, CodificarEstado(Recuperacao{jogo, arquivoJogo, arquivoFigura}, figura)});
    if (!figura_.isEmpty() && figura_ != figura) {
        aApagar_.append(figura_);
        pedidoDaLimpeza_ = 0;
    }
    figura_ = figura;
    AcrescentarLimpeza(operacoes);
    const uint64_t numero = gravador_.Executar(std::move(operacoes));
    if (pedidoDaLimpeza_ == 0 && (!aApagar_.isEmpty() || adotada_))
        pedidoDaLimpeza_ = numero;
    copia_ = MarcaDe(jogo, arquivoJogo, arquivoFigura);
    segundosDaCopia_ = jogo.SegundosJogo;
}

void Salvaguarda::Apagar()
{
    std::vector<OperacaoDeDisco> operacoes;
    if (copia_) {
        operacoes.push_back({arquivo_, std::nullopt});
        if (!figura_.isEmpty())
            aApagar_.append(figura_);
    }
    figura_.clear();
    pedidoDaLimpeza_ = 0;
    AcrescentarLimpeza(operacoes);
    pedidoDaLimpeza_ = gravador_.Executar(std::move(operacoes));
    copia_.reset();
}

void Salvaguarda::AcrescentarLimpeza(std::vector<OperacaoDeDisco>& operacoes)
{
    QStringList arquivos = aApagar_;
    if (adotada_)
        arquivos += ArquivosDaCopia(adotada_->Arquivo());
    for (const QString& a : arquivos)
        operacoes.push_back({a, std::nullopt});
}

// Every request from the first that carried the deletions carries them too, so the
// newest one done whole has done them.
void Salvaguarda::ConferirLimpeza()
{
    if (pedidoDaLimpeza_ == 0 || gravador_.UltimoConcluido() < pedidoDaLimpeza_)
        return;
    aApagar_.clear();
    if (adotada_)
        adotada_->Soltar();
    adotada_.reset();
    pedidoDaLimpeza_ = 0;
}

} // namespace zelpo
