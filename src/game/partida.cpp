#include "game/partida.h"

#include "files/arquivos.h"
#include "play/novojogo.h"
#include "play/encaixe.h"
#include "play/relogio.h"
#include "play/rolagem.h"

#include <algorithm>

namespace zelpo {

MenusJogo MenusPara(EstadoJogo estado)
{
    const bool carregado = estado != EstadoJogo::SemJogo;
    return {carregado, carregado, carregado, carregado};
}

EstadoJogo Partida::Estado() const
{
    if (!carregado_)
        return EstadoJogo::SemJogo;
    if (jogo_.PartesNaRolagem == 0)
        return EstadoJogo::Completo;
    return jogo_.PartesIniciais > 0 ? EstadoJogo::EscolhendoPecas : EstadoJogo::Jogando;
}

bool Partida::EmJogo() const
{
    const EstadoJogo e = Estado();
    return e == EstadoJogo::EscolhendoPecas || e == EstadoJogo::Jogando;
}

void Partida::Mudou()
{
    if (observador_)
        observador_();
}

void Partida::LimparTela()
{
    jogo_ = JogoSalvo();
    sessao_ = Sessao();
    carregado_ = false;
    Mudou();
}

void Partida::NovaFigura(const QString& arquivo, QByteArray bytes, const Opcoes& opcoes)
{
    jogo_.PartesIniciais = PartesIniciaisPara(opcoes.Dificuldade);
    jogo_.Dificuldade = opcoes.Dificuldade;
    jogo_.Pequenas = opcoes.Pequenas;
    jogo_.Adaptar = opcoes.Adaptar;
    sessao_.ArquivoFigura = arquivo;
    sessao_.BytesLidos = std::move(bytes);
}

void Partida::AbrirSalvo(const QString& arquivoJogo, const QString& arquivoFigura, JogoSalvo salvo,
                         Opcoes& opcoes)
{
    // Older saves may hold a count of starting pieces below zero, or a time that ran
    // backwards; neither can be played as it stands.
    salvo.SegundosJogo = std::max(salvo.SegundosJogo, 0);
    salvo.PartesIniciais = std::max<int16_t>(salvo.PartesIniciais, 0);
    const bool nenhumaColocada = salvo.PartesNaRolagem == salvo.Pecas();
    if (nenhumaColocada && salvo.PartesIniciais == 0)
        salvo.PartesIniciais = PartesIniciaisPara(salvo.Dificuldade);
    jogo_ = std::move(salvo);
    sessao_ = Sessao();
    sessao_.ArquivoJogo = arquivoJogo;
    sessao_.ArquivoFigura = arquivoFigura;
    // The saved bytes stand for the picture as read: a game taken back without a file of
    // its own saves them at its first save rather than look for the picture's file.
    sessao_.BytesLidos = jogo_.BytesFigura;
    carregado_ = false;
    opcoes.Dificuldade = jogo_.Dificuldade;
    opcoes.Pequenas = jogo_.Pequenas;
    opcoes.Adaptar = jogo_.Adaptar;
    Mudou();
}

void Partida::Cortada(int16_t colunas, int16_t linhas, int32_t topo, int32_t esquerda)
{
    jogo_.Colunas = colunas;
    jogo_.Linhas = linhas;
    jogo_.TopoTabuleiro = topo;
    jogo_.EsquerdaTabuleiro = esquerda;
}

void Partida::SortearPartes(Aleatorio& rnd)
{
    sessao_.ArquivoJogo.clear();
    FormarEstado(jogo_, rnd);
}

void Partida::IniciarJogo(int32_t ticks)
{
    carregado_ = true;
    if (jogo_.PartesNaRolagem != 0)
        sessao_.InicioRelogio = InicioDoRelogio(ticks, jogo_.SegundosJogo);
    Mudou();
}

int32_t Partida::Tique(int32_t ticks)
{
    const int32_t segundos = SegundosDesde(ticks, sessao_.InicioRelogio);
    if (segundos < jogo_.SegundosJogo)
        sessao_.InicioRelogio = InicioDoRelogio(ticks, jogo_.SegundosJogo);
    else
        jogo_.SegundosJogo = segundos;
    return jogo_.SegundosJogo;
}

bool Partida::VerificarOK(int16_t peca, QPoint posicao)
{
    const bool solta = EmJogo() && peca >= 0 && peca < jogo_.Pecas() && jogo_.Partes[peca].Encaixada == FALSO;
    if (!solta || !ParteEncaixa(jogo_, peca, posicao))
        return false;
    RemoverDaLista(jogo_, peca);
    Mudou();
    return true;
}

void Partida::ParteInicialEscolhida()
{
    if (jogo_.PartesIniciais <= 0)
        return;
    --jogo_.PartesIniciais;
    Mudou();
}

bool Partida::AtualizarRolagem()
{
    const bool havia = jogo_.PartesNaRolagem > 0;
    jogo_.PartesNaRolagem = FecharLacuna(jogo_.PartesRolagem, jogo_.PartesNaRolagem);
    Mudou();
    return havia && jogo_.PartesNaRolagem == 0;
}

void Partida::Reiniciar()
{
    zelpo::Reiniciar(jogo_);
    Mudou();
}

void Partida::DistribuirEmOrdem()
{
    zelpo::DistribuirEmOrdem(jogo_);
    Mudou();
}

QByteArray Partida::BytesDaFigura() const
{
    if (jogo_.BytesFigura != MarcadorFigura() || sessao_.BytesLidos.isEmpty())
        return jogo_.BytesFigura;
    return sessao_.BytesLidos;
}

bool Partida::ImagemParaBytes()
{
    jogo_.ExtensaoFigura = ExtensaoDe(sessao_.ArquivoFigura);
    QByteArray bytes = sessao_.BytesLidos;
    bool lida = !bytes.isEmpty();
    if (!lida) {
        const Leitura leitura = LerArquivo(sessao_.ArquivoFigura, TAMANHO_MAXIMO_FIGURA);
        lida = leitura.ok();
        bytes = leitura.bytes;
    }
    // a picture of zero bytes is stored as the placeholder, but it was found
    jogo_.BytesFigura = bytes.isEmpty() ? MarcadorFigura() : bytes;
    return lida;
}

void Partida::Salvo(const QString& caminho)
{
    sessao_.ArquivoJogo = caminho;
    Mudou();
}

} // namespace zelpo
