// Partida's commands, each one step of the player's: a table gives the sequences a player
// takes most, each step with its outcome and the state after it, and a small model keeps
// the record those outcomes make (which cells are placed, the tray in order, the dealt
// order, the starting pieces left). After every step the outcome and state must be the
// table's, the record the model's, and the observer must have heard of the step once if
// it changed anything, never otherwise. (The seeded walk of the window gives thousands of
// steps more.) Also the clock across the tick count's wrap, and saved games of older
// versions opened.
#include "figuras_de_teste.h"
#include "game/partida.h"

#include <climits>
#include <vector>

using namespace zelpo;
using namespace figuras_de_teste;

namespace {

constexpr int COLUNAS = 4, LINHAS = 3, PECAS = COLUNAS * LINHAS;
constexpr QPoint ORIGEM(100, 50);

// The record as the rules make it, step by step: a piece placed is flagged and leaves the
// tray, whose later pieces move up a slot, and one taken at a press counts down the
// starting pieces; a restart puts every piece back in the dealt order and asks the
// starting pieces again.
struct Modelo {
    bool carregado = false;
    JogoSalvo j;

    void Colocar(int peca, bool pegada)
    {
        j.Partes[peca].Encaixada = VERDADEIRO;
        *std::remove(j.PartesRolagem.begin(), j.PartesRolagem.begin() + j.PartesNaRolagem, peca) = VAZIO;
        --j.PartesNaRolagem;
        j.PartesIniciais -= pegada ? 1 : 0;
    }
    // Starting pieces by difficulty: three for easy, two for medium, one for anything else.
    // (Without a game they change nothing that is compared.)
    void Reiniciar()
    {
        for (int i = 0; i < PECAS; ++i)
            j.Partes[i].Encaixada = FALSO;
        j.PartesRolagem = j.PartesRolagemInicio;
        j.PartesNaRolagem = PECAS;
        j.PartesIniciais = j.Dificuldade == 1 ? 3 : j.Dificuldade == 2 ? 2 : 1;
    }
    void EmOrdem()
    {
        for (int s = 0; s < PECAS; ++s)
            j.PartesRolagemInicio[s] = int16_t(s);
    }
};

} // namespace

// A player's likely sequences, each step with the outcome the rules give, worked out from
// grid coordinates: the starting pieces go to their places at a press; a drop fits only
// on its place (20 px either way) beside a placed piece, diagonals included, never
// through the grid's edge; a restart deals the tray again as it was dealt, or in grid
// order after the chord. A step that changes the game tells the observer once, any other
// step never. The outcome and the state after each step are the table's; the record, the
// model's as the table's outcomes drive it.
TEST(Partida, SequenciasDeUmJogador)
{
    enum Tipo { Pegar, Soltar, Reiniciar, EmOrdem, Limpar };
    struct Passo { Tipo tipo; int peca; QPoint desvio; Jogada esperada; EstadoJogo depois; };
    const auto E = EstadoJogo::EscolhendoPecas, J = EstadoJogo::Jogando, S = EstadoJogo::SemJogo;
    const auto R = Jogada::Recusada, F = Jogada::Encaixada, V = Jogada::DeVolta;
    const struct { const char* nome; int16_t dificuldade; std::vector<Passo> passos; } casos[] = {
        {"three starting pieces, then one held", 1, {{Pegar, 5, {}, F, E}, {Pegar, 0, {}, F, E}, {Pegar, 11, {}, F, J},
                                                     {Pegar, 6, {}, Jogada::Segura, J}, {Pegar, 5, {}, R, J}}},
        {"on its own place but alone", 3, {{Pegar, 0, {}, F, J}, {Soltar, 11, {}, V, J}, {Soltar, 10, {}, V, J},
                                           {Soltar, 5, {20, -20}, F, J}, {Soltar, 10, {-20, 20}, F, J}, {Soltar, 11, {0, 0}, F, J}}},
        {"one pixel past the tolerance", 3, {{Pegar, 5, {}, F, J}, {Soltar, 6, {21, 0}, V, J}, {Soltar, 6, {0, -21}, V, J},
                                             {Soltar, 6, {-20, 0}, F, J}}},
        {"rows and the grid's edges", 3, {{Pegar, 3, {}, F, J}, {Soltar, 4, {}, V, J}, {Soltar, 7, {}, F, J},
                                          {Soltar, 8, {}, V, J}, {Soltar, 6, {}, F, J}, {Soltar, 1, {}, F, J}}},
        {"the right edge", 3, {{Pegar, 8, {}, F, J}, {Soltar, 7, {}, V, J}, {Soltar, 11, {}, V, J}}},
        {"a restart in the middle, then in grid order", 2, {{Pegar, 4, {}, F, E}, {Pegar, 9, {}, F, J}, {Soltar, 8, {}, F, J},
                                                            {Reiniciar, 0, {}, R, E}, {Soltar, 8, {}, F, E}, {Pegar, 8, {}, R, E},
                                                            {EmOrdem, 0, {}, R, E}, {Reiniciar, 0, {}, R, E}}},
        {"no game", 0, {{Reiniciar, 0, {}, R, S}, {EmOrdem, 0, {}, R, S}, {Pegar, 0, {}, R, S}, {Soltar, 0, {}, R, S}}},
        {"the screen cleared", 3, {{Pegar, 0, {}, F, J}, {Limpar, 0, {}, R, S}, {Soltar, 1, {}, R, S}}},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        Partida p;
        int avisos = 0;
        p.AoMudar([&avisos] { ++avisos; });
        Modelo m;
        const JogoSalvo formado = JogoNovo(COLUNAS, LINHAS, c.dificuldade, 3, ORIGEM);
        if (c.dificuldade > 0) {
            p.Comecar(QStringLiteral("/figuras/a.bmp"), formado, 0);
            m = {true, formado};
        }
        for (const Passo& passo : c.passos) {
            SCOPED_TRACE(testing::Message() << "step " << passo.tipo << ", piece " << passo.peca);
            const int antes = avisos;
            const bool carregado = m.carregado;
            const QPoint onde = LugarNaGrade(formado, passo.peca) + passo.desvio;
            Jogada jogada = Jogada::Recusada;
            if (passo.tipo == Reiniciar) {
                p.Reiniciar(0);
                m.Reiniciar();
            } else if (passo.tipo == EmOrdem) {
                p.DistribuirEmOrdem();
                m.EmOrdem();
            } else if (passo.tipo == Limpar) {
                p.Limpar();
                m = Modelo();
            } else {
                jogada = passo.tipo == Pegar ? p.Pegar(int16_t(passo.peca)) : p.Soltar(int16_t(passo.peca), onde);
                if (passo.esperada == Jogada::Encaixada || passo.esperada == Jogada::Completa)
                    m.Colocar(passo.peca, passo.tipo == Pegar);
            }
            EXPECT_EQ(jogada, passo.esperada);
            EXPECT_EQ(p.Estado(), passo.depois);
            const bool muda = jogada == Jogada::Encaixada || (passo.tipo != Pegar && passo.tipo != Soltar && carregado);
            EXPECT_EQ(avisos - antes, muda ? 1 : 0) << "notifications";
            ASSERT_TRUE(!m.carregado || p.Jogo() == m.j) << "the record differs from the model's";
        }
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
        JogoSalvo j = JogoNovo(COLUNAS, LINHAS, 3, 1, ORIGEM);
        j.SegundosJogo = c.segundosSalvos;
        Partida p;
        p.AbrirSalvo(QStringLiteral("/jogos/j.zpr"), QString(), j, c.inicio);
        int32_t ticks = c.inicio, antes = p.Tique(ticks);
        EXPECT_EQ(antes, c.segundosSalvos);
        for (int s = 0; s < 10; ++s) {
            ticks = int32_t(uint32_t(ticks) + 1000u); // the system's count, wrapping
            const int32_t agora = p.Tique(ticks);
            EXPECT_TRUE(agora == antes || agora == antes + 1) << antes << " then " << agora;
            antes = agora;
        }
        EXPECT_GE(antes, c.segundosSalvos + 8);
        // A restart starts the clock again from nothing. (What it does to the record is
        // the table's.)
        p.Reiniciar(ticks);
        EXPECT_EQ(p.Tique(int32_t(uint32_t(ticks) + 1000u)), 1);
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
        JogoSalvo j = JogoNovo(COLUNAS, LINHAS, c.dificuldade, 5, ORIGEM);
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
