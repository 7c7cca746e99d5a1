// The game's sounds: the WAV reader on built and damaged images, what Som hands the
// output (the embedded sounds, told by their lengths; a new sound replaces the old, a
// name without a sound silences), and the real output on a machine without any sound
// device, which must stay quiet.
#include "../core/figuras_de_teste.h"
#include "SaidaDeSom.h"
#include "Som.h"
#include "Wav.h"

#include <QTest>

using namespace zelpo;
using namespace figuras_de_teste;

namespace {

QByteArray Bloco(const char* nome, const QByteArray& dados)
{
    return QByteArray(nome, 4) + P32({dados.size()}) + dados + QByteArray(dados.size() % 2, '\0');
}

// PCM at 11025 samples a second.
QByteArray Fmt(int canais, int bits)
{
    return Bloco("fmt ", P16({1, canais}) + P32({11025, 11025 * canais * bits / 8}) + P16({canais * bits / 8, bits}));
}

QByteArray Riff(const QByteArray& blocos) { return "RIFF" + P32({blocos.size() + 4}) + "WAVE" + blocos; }

} // namespace

// The reader only ever sees the three sounds built into the program: their layouts, and a
// cut or an overlong chunk, which must not read past the data.
TEST(Som, ImagensMontadasEDanificadas)
{
    const QByteArray dados = QByteArray("\x80\xff\x00\x81", 4);
    const QByteArray bom = Riff(Fmt(1, 8) + Bloco("data", dados));
    // 8-bit samples are unsigned, 16-bit ones signed and little-endian
    const std::vector<int16_t> oito{0, 127 * 256, -128 * 256, 256}, dezesseis{-128, -32512, -128, -32512};
    const struct { const char* nome; QByteArray imagem; std::optional<std::vector<int16_t>> amostras; } casos[] = {
        {"inteira", bom, oito},
        {"bloco de marcas ímpar antes dos dados", Riff(Fmt(1, 8) + Bloco("LIST", "abc") + Bloco("data", dados)), oito},
        {"16 bits estéreo", Riff(Fmt(2, 16) + Bloco("data", dados + dados)), dezesseis},
        {"cortada no meio dos dados", bom.left(bom.size() - 1), std::nullopt},
        {"dados maiores que o RIFF", Riff(Fmt(1, 8) + "data" + P32({100}) + dados), std::nullopt},
    };
    for (const auto& c : casos) {
        const auto som = LerWav(c.imagem);
        EXPECT_EQ(som ? std::optional(som->amostras) : std::nullopt, c.amostras) << c.nome;
    }
}

namespace {

// Writes down what Som asks of the output: "aberta" when it is opened, the length of each
// sound, or "parar".
class SaidaAnotada final : public SaidaDeSom {
public:
    explicit SaidaAnotada(QStringList& notas) : notas_(notas) { notas_ << QStringLiteral("aberta"); }
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
    Som som([&notas](int, int) { return std::make_unique<SaidaAnotada>(notas); }, nullptr);
    som.PararSom();
    EXPECT_TRUE(notas.isEmpty()) << "nothing opened before the window has painted";

    // A fit before Preparar opens the output on the spot; later calls reuse it.
    som.TocarSom(QStringLiteral("ENCAIXE"));
    som.Preparar();
    som.TocarSom(QStringLiteral("ENCAIXE"));
    som.TocarSom(QStringLiteral("FIM2"));
    som.TocarSom(QStringLiteral("NADA"));
    EXPECT_EQ(som.UltimoSom(), QStringLiteral("NADA"));
    som.TocarSom(QStringLiteral("FIM1"));
    som.PararSom();
    EXPECT_EQ(notas, QStringList({"aberta", "0.09", "0.09", "2.85", "parar", "2.90", "parar"}));
}

// With neither a sound server nor an ALSA device the sounds are dropped, and neither
// libpulse nor ALSA may write a word on the game's standard output or error.
TEST(Som, SemDispositivoNadaEscrito)
{
    qputenv("PULSE_SERVER", "unix:/nenhum/servidor");
    qputenv("ALSA_CARD", "NenhumaPlaca");
    // the descriptors themselves, so that the libraries' own writes are caught too
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    std::string dispositivo;
    {
        Som som;
        som.TocarSom(QStringLiteral("ENCAIXE"));
        EXPECT_TRUE(QTest::qWaitFor([&som] { return !som.Saida()->Dispositivo().empty(); }, 10'000));
        dispositivo = som.Saida()->Dispositivo();
        som.TocarSom(QStringLiteral("FIM1"));
        som.PararSom();
    }
    const std::string escrito = testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr();
    qunsetenv("PULSE_SERVER");
    qunsetenv("ALSA_CARD");
    EXPECT_EQ(dispositivo, "nenhum");
    EXPECT_EQ(escrito, "");
}
