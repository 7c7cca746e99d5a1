// Board drawing and the clock: the tray well, the message line, the board area with its
// caption, and the clock box.
#include "frmZelpo.h"

#include "CoresSistema.h"
#include "Superficie.h"
#include "records/aleatorio.h"
#include "play/textos.h"
#include "play/relogio.h"

#include <QFontMetrics>
#include <QLabel>
#include <QScrollBar>

namespace zelpo {

namespace {
constexpr QPoint INICIO_MENSAGEM(ESQUERDA_AREA, 4);
constexpr QPoint FIM_MENSAGEM(545, 18);
constexpr int TOPO_AREA = 20;
constexpr int LINHA_MENSAGEM = 19; // the rule under the message line
constexpr int DISTANCIA_LEGENDA = 7;
} // namespace

void frmZelpo::DesenharMoldura()
{
    // The sunken well of the tray, left of the scroll bar: dark lines top and left, light
    // lines bottom and right, two pixels deep.
    const int L = vsbPartes_->x();
    const int H = vsbPartes_->height();
    Superficie& s = *tela_;
    s.Preencher({8, 4}, {L - 1, H + 4}, Cor(CorSistema::AreaDeTrabalho));
    s.Caixa({8, 4}, {L - 1, H + 4}, Cor(CorSistema::Realce3D));
    s.Linha({8, 4}, {8, H + 4}, Cor(CorSistema::SombraBotao));
    s.Linha({8, 4}, {L - 1, 4}, Cor(CorSistema::SombraBotao));
    s.Caixa({9, 5}, {L - 2, H + 3}, Cor(CorSistema::Luz3D));
    s.Linha({9, 5}, {9, H + 3}, Cor(CorSistema::SombraEscura3D));
    s.Linha({9, 5}, {L - 2, 5}, Cor(CorSistema::SombraEscura3D));

    // the rule under the message line and the small mark beside the clock
    const QColor sombra = Cor(CorSistema::SombraBotao);
    s.Linha({ESQUERDA_AREA, LINHA_MENSAGEM}, {DIREITA_AREA, LINHA_MENSAGEM}, sombra);
    s.Linha({556, 19}, {556, 11}, sombra);
    s.Linha({556, 11}, {574, 11}, sombra);
    s.Circulo({576, 11}, 2, sombra);
}

void frmZelpo::TextoPartesIniciais()
{
    tela_->Preencher(INICIO_MENSAGEM, FIM_MENSAGEM, palette().color(QPalette::Window));
    const JogoSalvo& j = partida_.Jogo();
    // the line of a complete puzzle tells of a record, until the next game
    const QString texto = partida_.Estado() == EstadoJogo::Completo
                              ? textoRecorde_
                              : zelpo::TextoPartesIniciais(j.Dificuldade, j.PartesIniciais);
    if (!texto.isEmpty())
        tela_->Escrever(INICIO_MENSAGEM, texto, FonteJanela(), Qt::black);
}

void frmZelpo::DesenharArea(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2)
{
    Superficie& s = *tela_;
    s.Preencher({ESQUERDA_AREA, TOPO_AREA}, {DIREITA_AREA, ALTURA_CLIENTE - 1}, palette().color(QPalette::Window));
    s.Preencher({X1, Y1}, {X2, Y2}, Cor(CorSistema::AreaDeTrabalho));
    s.Caixa({X1, Y1}, {X2, Y2}, Cor(CorSistema::SombraBotao));
    s.Linha({X1, Y1}, {X1, Y2}, Cor(CorSistema::Realce3D));
    s.Linha({X1, Y1}, {X2, Y1}, Cor(CorSistema::Realce3D));
    if (partida_.SessaoAtual().ArquivoFigura.isEmpty())
        return;
    const JogoSalvo& j = partida_.Jogo();
    const QString legenda = LegendaArea(j.Dificuldade, j.Colunas, j.Linhas);
    const int largura = QFontMetrics(FonteJanela()).horizontalAdvance(legenda);
    const int esquerda = static_cast<int>(CLng(X1 + ((X2 - X1) - largura) / 2.0));
    s.Escrever({esquerda, Y2 + DISTANCIA_LEGENDA}, legenda, FonteJanela(), Qt::black);
}

void frmZelpo::AreaInicial()
{
    DesenharArea(AREA_INICIAL.left(), AREA_INICIAL.top(), AREA_INICIAL.right(), AREA_INICIAL.bottom());
}

void frmZelpo::AreaDeJogo()
{
    const QRect r = RetanguloAreaDeJogo(partida_.Jogo());
    DesenharArea(r.left(), r.top(), r.right(), r.bottom());
}

void frmZelpo::ExibirHora(int32_t P_Segundos)
{
    picHora_->setText(SegundosParaHora(P_Segundos));
}

void frmZelpo::tmrHora_Timer()
{
    if (!partida_.EmJogo())
        return;
    ExibirHora(partida_.Tique(Ticks()));
    salvaguarda_.Tique(partida_);
}

} // namespace zelpo
