#include "play/novojogo.h"

#include "records/aleatorio.h"
#include "pieces/lados.h"

namespace zelpo {

int EscolherFigura(int n, Aleatorio& rnd)
{
    if (n <= 0)
        return -1;
    return static_cast<int>(CLng(rnd.Rnd() * (static_cast<int64_t>(n) * 100)) % n);
}

void Distribuir(JogoSalvo& jogo, int n, Aleatorio& rnd)
{
    jogo.PartesRolagem = ListaVazia();
    jogo.PartesRolagemInicio = ListaVazia();
    jogo.PartesNaRolagem = static_cast<int16_t>(n);
    for (int peca = 0; peca < n; ++peca) {
        int slot;
        do {
            slot = static_cast<int>(CLng(rnd.Rnd() * 1000) % n);
        } while (jogo.PartesRolagem[slot] != VAZIO);
        jogo.PartesRolagem[slot] = static_cast<int16_t>(peca);
        jogo.PartesRolagemInicio[slot] = static_cast<int16_t>(peca);
    }
}

void FormarEstado(JogoSalvo& jogo, Aleatorio& rnd)
{
    jogo.SegundosJogo = 0;
    SortearLados(jogo.Partes, jogo.Colunas, jogo.Linhas, rnd);
    Distribuir(jogo, jogo.Pecas(), rnd);
}

void Reiniciar(JogoSalvo& jogo)
{
    for (int i = 0; i < jogo.Pecas(); ++i)
        jogo.Partes[i].Encaixada = FALSO;
    jogo.PartesRolagem = jogo.PartesRolagemInicio;
    jogo.PartesNaRolagem = static_cast<int16_t>(jogo.Pecas());
    jogo.SegundosJogo = 0;
    jogo.PartesIniciais = PartesIniciaisPara(jogo.Dificuldade);
}

void DistribuirEmOrdem(JogoSalvo& jogo)
{
    for (int i = 0; i < SLOTS_ROLAGEM; ++i)
        jogo.PartesRolagemInicio[i] = i <= jogo.Pecas() - 1 ? static_cast<int16_t>(i) : VAZIO;
}

} // namespace zelpo
