#include "play/rolagem.h"

#include <Qt>

#include <algorithm>

namespace zelpo {

int16_t FecharLacuna(ListaRolagem& lista, int16_t naRolagem)
{
    // One walk closes one gap: from the first empty slot on, every entry takes the one
    // behind it, and the last live slot takes the empty marker just past the list.
    bool lacuna = false;
    int16_t conta = 0;
    for (int i = 0; i < naRolagem && i + 1 < SLOTS_ROLAGEM; ++i) {
        if (lista[i] == VAZIO)
            lacuna = true;
        if (lacuna)
            lista[i] = lista[i + 1];
        if (lista[i] != VAZIO)
            ++conta;
    }
    return conta;
}

void RemoverDaLista(JogoSalvo& jogo, int16_t peca)
{
    jogo.Partes[peca].Encaixada = VERDADEIRO;
    if (const int slot = SlotNaRolagem(jogo, peca); slot >= 0)
        jogo.PartesRolagem[size_t(slot)] = VAZIO;
}

int SlotNaRolagem(const JogoSalvo& jogo, int16_t peca)
{
    const auto fim = jogo.PartesRolagem.begin() + jogo.PartesNaRolagem;
    const auto onde = std::find(jogo.PartesRolagem.begin(), fim, peca);
    return onde == fim ? -1 : static_cast<int>(onde - jogo.PartesRolagem.begin());
}

bool CabeNaVista(int naRolagem, const Geometria& g)
{
    return naRolagem <= static_cast<int16_t>(g.LinhasRolagem * g.ColunasRolagem);
}

int MaximoRolagem(int naRolagem, const Geometria& g)
{
    return (naRolagem - 1) / g.ColunasRolagem - g.LinhasRolagem + 1;
}

std::vector<LugarNaRolagem> LayoutRolagem(const ListaRolagem& lista, int naRolagem,
                                          int primeiraLinha, const Geometria& g)
{
    std::vector<LugarNaRolagem> lugares;
    const int primeiro = primeiraLinha * g.ColunasRolagem;
    const int ultimo = g.LinhasRolagem * g.ColunasRolagem + primeiro - 1;
    for (int i = primeiro; i <= ultimo && i <= naRolagem - 1; ++i) {
        const int coluna = i % g.ColunasRolagem;
        const int linha = (i - coluna - primeiro) / g.ColunasRolagem;
        lugares.push_back({lista[i], i,
                           QPoint(g.EspacoRolagem + coluna * g.LarguraRolagem,
                                  TOPO_ROLAGEM + linha * g.AlturaRolagem)});
    }
    return lugares;
}

int PrimeiraLinhaQueMostra(int slot, int primeiraLinha, int maximo, const Geometria& g)
{
    const int linha = slot / g.ColunasRolagem;
    if (linha < primeiraLinha)
        primeiraLinha = linha;
    else if (linha >= primeiraLinha + g.LinhasRolagem)
        primeiraLinha = linha - g.LinhasRolagem + 1;
    return std::clamp(primeiraLinha, 0, std::max(maximo, 0));
}

PassoRolagem TeclaRolagem(int tecla, int valor, int minimo, int maximo, int passoPagina)
{
    // The sums run in 16 bits, as the scroll bar's own values do.
    const auto s16 = [](int x) { return static_cast<int16_t>(x); };
    const auto recuar = [&](int passo) { return s16(valor - passo) > minimo ? s16(valor - passo) : minimo; };
    const auto avancar = [&](int passo) { return s16(valor + passo) < maximo ? s16(valor + passo) : maximo; };
    switch (tecla) {
    case Qt::Key_Up:
    case Qt::Key_Left: return {recuar(1), true};
    case Qt::Key_Down:
    case Qt::Key_Right: return {avancar(1), true};
    case Qt::Key_PageUp: return {recuar(passoPagina), true};
    case Qt::Key_PageDown: return {avancar(passoPagina), true};
    case Qt::Key_Home: return {minimo, true};
    case Qt::Key_End: return {maximo, true};
    default: return {valor, false};
    }
}

} // namespace zelpo
