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

Salvaguarda::Marca Salvaguarda::MarcaDe(const Partida& partida)
{
    Marca m{partida.Jogo(), partida.SessaoAtual().ArquivoJogo};
    m.jogo.BytesFigura.clear();
    m.jogo.ExtensaoFigura.clear();
    m.jogo.SegundosJogo = 0;
    return m;
}

Salvaguarda::Salvaguarda(QString pasta) : pasta_(std::move(pasta)) {}

Salvaguarda::~Salvaguarda() = default;

void Salvaguarda::Atualizar(const Partida& partida)
{
    if (encerrada_)
        return;
    if (!partida.EmJogo()) {
        if (copia_)
            Apagar();
        return;
    }
    if (!copia_ || !(*copia_ == MarcaDe(partida)))
        Gravar(partida);
}

void Salvaguarda::Tique(const Partida& partida)
{
    if (encerrada_ || !partida.EmJogo())
        return;
    if (!copia_ || std::abs(partida.Jogo().SegundosJogo - segundosDaCopia_) >= INTERVALO_COPIA)
        Gravar(partida);
}

void Salvaguarda::GravarAgora(const Partida& partida)
{
    if (encerrada_)
        return;
    if (partida.EmJogo())
        Gravar(partida);
    else if (copia_)
        Apagar();
    Esperar();
}

void Salvaguarda::Finalizar(const Partida& partida)
{
    GravarAgora(partida);
    encerrada_ = true;
}

void Salvaguarda::Descartar()
{
    if (encerrada_)
        return;
    if (copia_)
        Apagar();
    encerrada_ = true;
}

void Salvaguarda::Esperar()
{
    gravador_.Esperar();
}

void Salvaguarda::Gravar(const Partida& partida)
{
    if (arquivo_.isEmpty()) {
        // The lock comes first: from the moment the copy exists, it is known to be ours.
        QDir().mkpath(pasta_);
        arquivo_ = NovoArquivoDeCopia(pasta_);
        trava_ = TravarCopia(arquivo_);
    }
    gravador_.Gravar(arquivo_, CodificarRecuperacao(RecuperacaoDe(partida)));
    copia_ = MarcaDe(partida);
    segundosDaCopia_ = partida.Jogo().SegundosJogo;
}

void Salvaguarda::Apagar()
{
    gravador_.Apagar(arquivo_);
    copia_.reset();
}

} // namespace zelpo
