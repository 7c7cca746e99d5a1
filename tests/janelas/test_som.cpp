// The game's sounds: the WAV reader on built and damaged images, what Som hands the
// output (the embedded sounds, told by their lengths; a new sound replaces the old, a
// name without a sound silences), and the real output on a machine without any sound
// device, which must stay quiet.
#include "../core/figuras_de_teste.h"
#include "SaidaDeSom.h"
#include "Som.h"
#include "Wav.h"

#include <gtest/gtest.h>

#include <QTemporaryFile>
#include <QTest>

#include <cstdio>
#include <unistd.h>

using namespace zelpo;
using figuras_de_teste::P16;
using figuras_de_teste::P32;

namespace {

QByteArray Bloco(const char* nome, const QByteArray& dados)
{
    return QByteArray(nome, 4) + P32({dados.size()}) + dados + QByteArray(dados.size() % 2, '\0');
}

QByteArray Fmt(int formato, int canais, int bits, int bloco = 0)
{
    const int alinhamento = bloco ? bloco : canais * bits / 8;
    return Bloco("fmt ", P16({formato, canais}) + P32({11025, 11025 * alinhamento}) + P16({alinhamento, bits}));
}

QByteArray Riff(const QByteArray& blocos) { return "RIFF" + P32({blocos.size() + 4}) + "WAVE" + blocos; }

} // namespace

TEST(Som, ImagensMontadasEDanificadas)
{
    const QByteArray dados = QByteArray("\x80\xff\x00\x81", 4);
    const QByteArray bom = Riff(Fmt(1, 1, 8) + Bloco("data", dados));
    const struct { const char* nome; QByteArray imagem; int amostras; /* -1: refused */ } casos[] = {
        {"inteira", bom, 4},
        {"bloco de marcas ímpar antes dos dados", Riff(Fmt(1, 1, 8) + Bloco("LIST", "abc") + Bloco("data", dados)), 4},
        {"16 bits estéreo", Riff(Fmt(1, 2, 16) + Bloco("data", dados + dados)), 4},
        {"cortada no meio dos dados", bom.left(bom.size() - 1), -1},
        {"dados maiores que o RIFF", Riff(Fmt(1, 1, 8) + "data" + P32({100}) + dados), -1},
        {"dados antes do formato", Riff(Bloco("data", dados) + Fmt(1, 1, 8)), -1},
        {"ponto flutuante", Riff(Fmt(3, 1, 32) + Bloco("data", dados)), -1},
        {"nenhum canal", Riff(Fmt(1, 0, 8, 1) + Bloco("data", dados)), -1},
        {"alinhamento errado", Riff(Fmt(1, 1, 16, 4) + Bloco("data", dados)), -1},
        {"não é RIFF", "RIFX" + bom.mid(4), -1},
    };
    for (const auto& c : casos) {
        const auto som = LerWav(c.imagem);
        EXPECT_EQ(som ? int(som->amostras.size()) : -1, c.amostras) << c.nome;
    }
    const auto som = LerWav(bom);
    ASSERT_TRUE(som);
    EXPECT_EQ(som->amostras, (std::vector<int16_t>{0, 127 * 256, -128 * 256, 256}));
    const auto dezesseis = LerWav(Riff(Fmt(1, 2, 16) + Bloco("data", dados))); // signed, little-endian
    ASSERT_TRUE(dezesseis);
    EXPECT_EQ(dezesseis->amostras, (std::vector<int16_t>{-128, -32512}));
}

namespace {

// Writes down what Som asks of the output: the length of each sound, or "parar".
class SaidaAnotada final : public SaidaDeSom {
public:
    explicit SaidaAnotada(QStringList& notas) : notas_(notas) {}
    void Tocar(const SomPcm& som) override { notas_ << QString::number(som.Segundos(), 'f', 2); }
    void Parar() override { notas_ << QStringLiteral("parar"); }
    std::string Dispositivo() const override { return "anotada"; }

private:
    QStringList& notas_;
};

} // namespace

TEST(Som, PedidosChegamASaida)
{
    QStringList notas;
    int aberturas = 0;
    Som som(
        [&](int, int) {
            ++aberturas;
            return std::make_unique<SaidaAnotada>(notas);
        },
        nullptr);
    EXPECT_EQ(aberturas, 0); // nothing opened before the window has painted
    som.PararSom();
    EXPECT_EQ(aberturas, 0);

    // A fit before Preparar opens the output on the spot; later calls reuse it.
    som.TocarSom(QStringLiteral("ENCAIXE"));
    som.Preparar();
    som.TocarSom(QStringLiteral("ENCAIXE"));
    som.TocarSom(QStringLiteral("FIM2"));
    som.TocarSom(QStringLiteral("NADA"));
    EXPECT_EQ(som.UltimoSom(), QStringLiteral("NADA"));
    som.TocarSom(QStringLiteral("FIM1"));
    som.PararSom();
    EXPECT_EQ(aberturas, 1);
    EXPECT_EQ(notas, QStringList({"0.09", "0.09", "2.85", "parar", "2.90", "parar"}));
}

// With neither a sound server nor an ALSA device the sounds are dropped, and neither
// libpulse nor ALSA may write a word on the game's standard output or error.
TEST(Som, SemDispositivoNadaEscrito)
{
    QTemporaryFile saida;
    ASSERT_TRUE(saida.open());
    qputenv("PULSE_SERVER", "unix:/nenhum/servidor");
    qputenv("ALSA_CARD", "NenhumaPlaca");
    std::fflush(stdout);
    std::fflush(stderr);
    const int antigaSaida = dup(1), antigoErro = dup(2);
    dup2(saida.handle(), 1);
    dup2(saida.handle(), 2);
    std::string dispositivo;
    {
        Som som;
        som.TocarSom(QStringLiteral("ENCAIXE"));
        for (int i = 0; i < 500 && som.Saida()->Dispositivo().empty(); ++i)
            QTest::qWait(20);
        dispositivo = som.Saida()->Dispositivo();
        som.TocarSom(QStringLiteral("FIM1"));
        som.PararSom();
    }
    std::fflush(stdout);
    std::fflush(stderr);
    dup2(antigaSaida, 1);
    dup2(antigoErro, 2);
    close(antigaSaida);
    close(antigoErro);
    qunsetenv("PULSE_SERVER");
    qunsetenv("ALSA_CARD");
    EXPECT_EQ(dispositivo, "nenhum");
    saida.seek(0); // the file offset is shared with the descriptors written through
    EXPECT_EQ(saida.readAll(), QByteArray());
}
