#include "game/partida.h"

#include "files/arquivos.h"
#include "play/encaixe.h"
#include "play/novojogo.h"
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

// Play starts or resumes from the record's time; a complete game keeps its clock stopped.
void Partida::Iniciar(int32_t ticks)
{
    carregado_ = true;
    if (jogo_.PartesNaRolagem != 0)
        sessao_.InicioRelogio = InicioDoRelogio(ticks, jogo_.SegundosJogo);
}

void Partida::Limpar()
{
    jogo_ = JogoSalvo();
    sessao_ = Sessao();
    carregado_ = false;
    Mudou();
}

void Partida::Comecar(const QString& arquivoFigura, JogoSalvo formado, int32_t ticks)
{
    jogo_ = std::move(formado);
    jogo_.SegundosJogo = 0;
    sessao_ = Sessao();
    sessao_.ArquivoFigura = arquivoFigura;
    Iniciar(ticks);
    Mudou();
}

void Partida::AbrirSalvo(const QString& arquivoJogo, const QString& arquivoFigura, JogoSalvo salvo, int32_t ticks)
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
    Iniciar(ticks);
    Mudou();
}

bool Partida::Solta(int16_t peca) const
{
    return EmJogo() && peca >= 0 && peca < jogo_.Pecas() && jogo_.Partes[peca].Encaixada == FALSO;
}

// The piece leaves the tray for its place; the tray closes the gap it leaves.
Jogada Partida::Encaixar(int16_t peca)
{
    RemoverDaLista(jogo_, peca);
    jogo_.PartesNaRolagem = FecharLacuna(jogo_.PartesRolagem, jogo_.PartesNaRolagem);
    return jogo_.PartesNaRolagem == 0 ? Jogada::Completa : Jogada::Encaixada;
}

Jogada Partida::Pegar(int16_t peca)
{
    if (!Solta(peca))
        return Jogada::Recusada;
    if (jogo_.PartesIniciais <= 0)
        return Jogada::Segura;
    // A starting piece goes to its place at once, wherever it is.
    const Jogada jogada = Encaixar(peca);
    --jogo_.PartesIniciais;
    Mudou();
    return jogada;
}

Jogada Partida::Soltar(int16_t peca, QPoint posicao)
{
    if (!Solta(peca))
        return Jogada::Recusada;
    if (!ParteEncaixa(jogo_, peca, posicao))
        return Jogada::DeVolta;
    const Jogada jogada = Encaixar(peca);
    Mudou();
    return jogada;
}

void Partida::Reiniciar(int32_t ticks)
{
    if (!carregado_)
        return;
    zelpo::Reiniciar(jogo_);
    Iniciar(ticks);
    Mudou();
}

void Partida::DistribuirEmOrdem()
{
    if (!carregado_)
        return;
    zelpo::DistribuirEmOrdem(jogo_);
    Mudou();
}

void Partida::Salvar(const QString& caminho)
{
    sessao_.ArquivoJogo = caminho;
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

bool Partida::ImagemParaBytes()
{
    if (jogo_.BytesFigura != MarcadorFigura())
        return true;
    const Leitura leitura = LerArquivo(sessao_.ArquivoFigura, TAMANHO_MAXIMO_FIGURA);
    // a picture of zero bytes is stored as the placeholder, but it was found
    if (leitura.ok() && !leitura.bytes.isEmpty())
        jogo_.BytesFigura = leitura.bytes;
    return leitura.ok();
}

} // namespace zelpo
