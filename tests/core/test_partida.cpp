// Partida's commands, each one step of the player's, against a small model of the game
// written here from grid coordinates alone: which cells are placed, the tray in order,
// the dealt order, the starting pieces left. A table gives the sequences a player takes
// most; a seeded walk gives thousands of steps more. After every step the outcome, the
// record and the state must be the model's, and the observer must have heard of the step
// once if it changed anything, never otherwise. Also the clock across the tick count's
// wrap, and saved games of older versions opened.
#include "figuras_de_teste.h"
#include "game/partida.h"
#include "play/novojogo.h"
#include "records/aleatorio.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <vector>

using namespace zelpo;

namespace {

constexpr int COLUNAS = 4, LINHAS = 3, PECAS = COLUNAS * LINHAS;
constexpr int PASSO = 64; // normal pieces
constexpr QPoint ORIGEM(100, 50);

QPoint Lugar(int peca) { return ORIGEM + QPoint(peca % COLUNAS, peca / COLUNAS) * PASSO; }

// A 4 x 3 puzzle of normal pieces at the board origin, of the given difficulty, dealt by `rnd`.
JogoSalvo Formado(int16_t dificuldade, Aleatorio& rnd)
{
    JogoSalvo j;
    j.Colunas = COLUNAS;
    j.Linhas = LINHAS;
    j.EsquerdaTabuleiro = ORIGEM.x();
    j.TopoTabuleiro = ORIGEM.y();
    j.Dificuldade = dificuldade;
    j.PartesIniciais = PartesIniciaisPara(dificuldade);
    FormarEstado(j, rnd);
    return j;
}

struct Modelo {
    bool carregado = false;
    int iniciais = 0;
    std::set<int> colocadas;
    std::vector<int16_t> bandeja, distribuida;

    // Starting pieces by difficulty: three for easy, two for medium, one for anything else.
    static int IniciaisDe(int dificuldade) { return dificuldade == 1 ? 3 : dificuldade == 2 ? 2 : 1; }
    bool EmJogo() const { return carregado && !bandeja.empty(); }
    EstadoJogo Estado() const
    {
        if (!carregado)
            return EstadoJogo::SemJogo;
        if (bandeja.empty())
            return EstadoJogo::Completo;
        return iniciais > 0 ? EstadoJogo::EscolhendoPecas : EstadoJogo::Jogando;
    }
    bool Solta(int peca) const
    {
        return EmJogo() && std::find(bandeja.begin(), bandeja.end(), peca) != bandeja.end();
    }
    // Within 20 px of its place on each axis, and a placed piece in a cell whose row and
    // column are both at most one away.
    bool Cabe(int peca, QPoint onde) const
    {
        const QPoint d = onde - Lugar(peca);
        if (std::abs(d.x()) > 20 || std::abs(d.y()) > 20)
            return false;
        for (int q : colocadas)
            if (std::abs(q % COLUNAS - peca % COLUNAS) <= 1 && std::abs(q / COLUNAS - peca / COLUNAS) <= 1)
                return true;
        return false;
    }
    Jogada Colocar(int peca)
    {
        colocadas.insert(peca);
        bandeja.erase(std::find(bandeja.begin(), bandeja.end(), peca));
        return bandeja.empty() ? Jogada::Completa : Jogada::Encaixada;
    }
    Jogada Pegar(int peca)
    {
        if (!Solta(peca))
            return Jogada::Recusada;
        if (iniciais == 0)
            return Jogada::Segura;
        --iniciais;
        return Colocar(peca);
    }
    Jogada Soltar(int peca, QPoint onde)
    {
        if (!Solta(peca))
            return Jogada::Recusada;
        return iniciais > 0 || Cabe(peca, onde) ? Colocar(peca) : Jogada::DeVolta;
    }
    void Comecar(const JogoSalvo& j)
    {
        carregado = true;
        iniciais = j.PartesIniciais;
        colocadas.clear();
        bandeja.assign(j.PartesRolagem.begin(), j.PartesRolagem.begin() + j.PartesNaRolagem);
        distribuida.assign(j.PartesRolagemInicio.begin(), j.PartesRolagemInicio.begin() + PECAS);
    }
};

// The game's record and state as the model says they must be.
void Conferir(const Partida& p, const Modelo& m, int dificuldade)
{
    ASSERT_EQ(p.Estado(), m.Estado());
    if (!m.carregado)
        return;
    const JogoSalvo& j = p.Jogo();
    ASSERT_EQ(j.PartesNaRolagem, int(m.bandeja.size()));
    for (int s = 0; s < SLOTS_ROLAGEM; ++s)
        ASSERT_EQ(j.PartesRolagem[s], s < int(m.bandeja.size()) ? m.bandeja[s] : VAZIO) << "tray slot " << s;
    for (int s = 0; s < PECAS; ++s)
        ASSERT_EQ(j.PartesRolagemInicio[s], m.distribuida[s]) << "dealt slot " << s;
    for (int i = 0; i < PECAS; ++i)
        ASSERT_EQ(j.Partes[i].Encaixada != FALSO, m.colocadas.count(i) == 1) << "piece " << i;
    ASSERT_EQ(j.PartesIniciais, m.iniciais);
    ASSERT_EQ(j.Dificuldade, dificuldade);
}

// A partida that counts what its observer hears.
struct Observada {
    Partida p;
    int avisos = 0;
    Observada() { p.AoMudar([this] { ++avisos; }); }
};

} // namespace

// A player's likely sequences, each step with the outcome the rules give: the starting
// pieces go to their places at a press; a drop fits only on its place (20 px either way)
// beside a placed piece, diagonals included; a restart deals the tray again as it was.
TEST(Partida, SequenciasDeUmJogador)
{
    enum Tipo { Pegar, Soltar, Reiniciar };
    struct Passo { Tipo tipo; int peca; QPoint desvio; Jogada esperada; EstadoJogo depois; };
    const auto E = EstadoJogo::EscolhendoPecas, J = EstadoJogo::Jogando;
    const struct { const char* nome; int16_t dificuldade; std::vector<Passo> passos; } casos[] = {
        {"three starting pieces, then one held", 1, {{Pegar, 5, {}, Jogada::Encaixada, E}, {Pegar, 0, {}, Jogada::Encaixada, E},
                                                     {Pegar, 11, {}, Jogada::Encaixada, J}, {Pegar, 6, {}, Jogada::Segura, J},
                                                     {Pegar, 5, {}, Jogada::Recusada, J}}},
        {"on its own place but alone", 3, {{Pegar, 0, {}, Jogada::Encaixada, J}, {Soltar, 11, {}, Jogada::DeVolta, J},
                                           {Soltar, 10, {}, Jogada::DeVolta, J}, {Soltar, 5, {20, -20}, Jogada::Encaixada, J},
                                           {Soltar, 10, {-20, 20}, Jogada::Encaixada, J}, {Soltar, 11, {0, 0}, Jogada::Encaixada, J}}},
        {"one pixel past the tolerance", 3, {{Pegar, 5, {}, Jogada::Encaixada, J}, {Soltar, 6, {21, 0}, Jogada::DeVolta, J},
                                             {Soltar, 6, {0, -21}, Jogada::DeVolta, J}, {Soltar, 6, {-20, 0}, Jogada::Encaixada, J}}},
        {"rows and the grid's edges", 3, {{Pegar, 3, {}, Jogada::Encaixada, J}, {Soltar, 4, {}, Jogada::DeVolta, J},
                                          {Soltar, 7, {}, Jogada::Encaixada, J}, {Soltar, 8, {}, Jogada::DeVolta, J},
                                          {Soltar, 6, {}, Jogada::Encaixada, J}, {Soltar, 1, {}, Jogada::Encaixada, J}}},
        {"a restart in the middle", 2, {{Pegar, 4, {}, Jogada::Encaixada, E}, {Pegar, 9, {}, Jogada::Encaixada, J},
                                        {Soltar, 8, {}, Jogada::Encaixada, J}, {Reiniciar, 0, {}, Jogada::Recusada, E},
                                        {Soltar, 8, {}, Jogada::Encaixada, E}, {Pegar, 8, {}, Jogada::Recusada, E}}},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        Aleatorio rnd(3);
        Observada o;
        const JogoSalvo formado = Formado(c.dificuldade, rnd);
        o.p.Comecar(QStringLiteral("/figuras/a.bmp"), formado, 0);
        Modelo m;
        m.Comecar(formado);
        for (const Passo& passo : c.passos) {
            SCOPED_TRACE(testing::Message() << "piece " << passo.peca);
            Jogada jogada = Jogada::Recusada;
            if (passo.tipo == Reiniciar) {
                o.p.Reiniciar(0);
                m.Comecar(formado);
            } else if (passo.tipo == Pegar) {
                jogada = o.p.Pegar(int16_t(passo.peca));
                EXPECT_EQ(m.Pegar(passo.peca), passo.esperada) << "the model disagrees with the table";
            } else {
                jogada = o.p.Soltar(int16_t(passo.peca), Lugar(passo.peca) + passo.desvio);
                EXPECT_EQ(m.Soltar(passo.peca, Lugar(passo.peca) + passo.desvio), passo.esperada) << "the model";
            }
            EXPECT_EQ(jogada, passo.esperada);
            EXPECT_EQ(o.p.Estado(), passo.depois);
            Conferir(o.p, m, c.dificuldade);
        }
    }
}

// Thousands of steps of every kind, in any order: new games of every difficulty, games
// reopened from a record taken earlier, presses and drops on any piece at distances about
// the tolerance, restarts, a dealt list put in grid order, the screen cleared.
TEST(Partida, PasseioContraOModelo)
{
    Aleatorio rnd(2026);
    const auto sorteio = [&rnd](int n) { return static_cast<int>(rnd.Rnd() * n); };
    const int desvios[] = {-40, -21, -20, -7, 0, 7, 20, 21, 40};
    const int16_t dificuldades[] = {1, 2, 3, 7};
    Observada o;
    Modelo m;
    int16_t dificuldade = 0;
    std::vector<std::pair<JogoSalvo, Modelo>> guardados;
    for (int passo = 0; passo < 6000; ++passo) {
        SCOPED_TRACE(testing::Message() << "step " << passo);
        const int avisosAntes = o.avisos;
        bool muda = true;
        const int peca = sorteio(PECAS + 2) - 1;
        switch (sorteio(10)) {
        case 0: {
            dificuldade = dificuldades[sorteio(4)];
            const JogoSalvo j = Formado(dificuldade, rnd);
            ASSERT_EQ(j.PartesIniciais, Modelo::IniciaisDe(dificuldade));
            o.p.Comecar(QStringLiteral("/figuras/a.bmp"), j, 0);
            m.Comecar(j);
            break;
        }
        case 1:
            if (m.carregado && sorteio(3) == 0)
                guardados.emplace_back(o.p.Jogo(), m);
            if (!guardados.empty()) {
                const auto& [salvo, modelo] = guardados[size_t(sorteio(int(guardados.size())))];
                o.p.AbrirSalvo(QStringLiteral("/jogos/j.zpr"), QStringLiteral("/tmp/Tmp_1.bmp"), salvo, 0);
                m = modelo;
                dificuldade = salvo.Dificuldade;
            } else {
                muda = false;
            }
            break;
        case 2:
        case 3: {
            const Jogada esperada = m.Pegar(peca);
            ASSERT_EQ(o.p.Pegar(int16_t(peca)), esperada) << "piece " << peca;
            muda = esperada != Jogada::Recusada && esperada != Jogada::Segura;
            break;
        }
        case 4:
        case 5:
        case 6: {
            const QPoint onde = Lugar(std::max(peca, 0)) + QPoint(desvios[sorteio(9)], desvios[sorteio(9)]);
            const Jogada esperada = m.Soltar(peca, onde);
            ASSERT_EQ(o.p.Soltar(int16_t(peca), onde), esperada) << "piece " << peca << " at " << onde.x() << "," << onde.y();
            muda = esperada == Jogada::Encaixada || esperada == Jogada::Completa;
            break;
        }
        case 7:
            o.p.Reiniciar(0);
            muda = m.carregado;
            if (muda) {
                m.colocadas.clear();
                m.bandeja = m.distribuida;
                m.iniciais = Modelo::IniciaisDe(dificuldade);
            }
            break;
        case 8:
            o.p.DistribuirEmOrdem();
            muda = m.carregado;
            for (int s = 0; muda && s < PECAS; ++s)
                m.distribuida[size_t(s)] = int16_t(s);
            break;
        default:
            o.p.Limpar();
            m = Modelo();
        }
        ASSERT_EQ(o.avisos - avisosAntes, muda ? 1 : 0) << "notifications";
        Conferir(o.p, m, dificuldade);
    }
}

// The tick count wraps after 24.8 days: the clock goes on from where it was, a second a
// second, neither backwards nor from zero.
TEST(Partida, RelogioAtravessaAVoltaDaContagem)
{
    const struct { int32_t inicio; int32_t segundosSalvos; } casos[] = {
        {INT_MAX - 4'500, 0}, {INT_MAX - 500, 1234}, {-1'000, 60}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.inicio);
        Aleatorio rnd(1);
        JogoSalvo j = Formado(3, rnd);
        j.SegundosJogo = c.segundosSalvos;
        Partida p;
        p.AbrirSalvo(QStringLiteral("/jogos/j.zpr"), QString(), j, c.inicio);
        int32_t ticks = c.inicio;
        int32_t antes = p.Tique(ticks);
        EXPECT_EQ(antes, c.segundosSalvos);
        for (int s = 0; s < 10; ++s) {
            ticks = int32_t(uint32_t(ticks) + 1000u); // the system's count, wrapping
            const int32_t agora = p.Tique(ticks);
            EXPECT_TRUE(agora == antes || agora == antes + 1) << antes << " then " << agora;
            antes = agora;
        }
        EXPECT_GE(antes, c.segundosSalvos + 8);
        // A restart starts the clock again from nothing and keeps the edges.
        const auto lados = p.Jogo().Partes;
        p.Reiniciar(ticks);
        EXPECT_EQ(p.Tique(int32_t(uint32_t(ticks) + 1000u)), 1);
        EXPECT_EQ(p.Jogo().Partes, lados);
    }
}

// Older saves hold difficulties out of range, starting counts below zero and clocks that
// ran backwards; opened, each is a game that can be played.
TEST(Partida, SalvosAntigosAbremJogaveis)
{
    const struct { int16_t dificuldade, iniciais; int32_t segundos; bool algumaColocada; int16_t esperadas; } casos[] = {
        {7, -1, -5, false, 1}, {0, -3, 40, false, 1}, {1, 0, 0, false, 3}, {2, -1, 0, true, 0}, {3, 2, 10, false, 2}};
    for (const auto& c : casos) {
        SCOPED_TRACE(testing::Message() << c.dificuldade << " " << c.iniciais);
        Aleatorio rnd(5);
        JogoSalvo j = Formado(c.dificuldade, rnd);
        if (c.algumaColocada) {
            j.Partes[j.PartesRolagem[PECAS - 1]].Encaixada = VERDADEIRO;
            j.PartesRolagem[--j.PartesNaRolagem] = VAZIO;
        }
        j.PartesIniciais = c.iniciais;
        j.SegundosJogo = c.segundos;
        Partida p;
        p.AbrirSalvo(QStringLiteral("/jogos/velho.zpr"), QString(), j, 0);
        EXPECT_EQ(p.Jogo().PartesIniciais, c.esperadas);
        EXPECT_EQ(p.Jogo().SegundosJogo, std::max(c.segundos, 0));
        EXPECT_EQ(p.Estado(), c.esperadas > 0 ? EstadoJogo::EscolhendoPecas : EstadoJogo::Jogando);
    }
}
