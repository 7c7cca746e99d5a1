#include "Bandeja.h"

#include "Tabuleiro.h"
#include "game/partida.h"
#include "play/rolagem.h"

#include <QCoreApplication>
#include <QScrollBar>
#include <QWheelEvent>

namespace zelpo {

namespace {
constexpr QRect RETANGULO_ROLAGEM(216, 4, 17, 425);
} // namespace

Bandeja::Bandeja(const Partida& partida, Tabuleiro& tabuleiro)
    : QObject(&tabuleiro), partida_(partida), tabuleiro_(tabuleiro)
{
    vsbPartes_ = new QScrollBar(Qt::Vertical, &tabuleiro);
    vsbPartes_->setObjectName(QStringLiteral("vsbPartes"));
    vsbPartes_->setAccessibleName(QStringLiteral("Rolagem da bandeja"));
    vsbPartes_->setGeometry(RETANGULO_ROLAGEM);
    vsbPartes_->setRange(0, 0);
    vsbPartes_->setSingleStep(1);
    vsbPartes_->setPageStep(partida.Geo().LinhasRolagem);
    vsbPartes_->setEnabled(false);
    // the tray follows the thumb live while it is dragged, and every change of the value
    connect(vsbPartes_, &QScrollBar::valueChanged, this, &Bandeja::vsbPartes_Change);
}

void Bandeja::DefinirGeometria(const Geometria& g)
{
    vsbPartes_->setPageStep(g.LinhasRolagem);
}

void Bandeja::Rolagem(int P_Value)
{
    // the piece in the player's hand stays where the hand holds it
    const JogoSalvo& j = partida_.Jogo();
    const int16_t naMao = mao_ ? mao_() : int16_t(-1);
    for (int i = 0; i < j.PartesNaRolagem; ++i)
        if (j.PartesRolagem[i] != naMao)
            tabuleiro_.Ocultar(j.PartesRolagem[i]);
    for (const LugarNaRolagem& lugar : LayoutRolagem(j.PartesRolagem, j.PartesNaRolagem, P_Value, j.Geo()))
        if (lugar.peca != naMao)
            tabuleiro_.Mostrar(lugar.peca, lugar.topoEsquerdo);
}

void Bandeja::AtualizarRolagem()
{
    const JogoSalvo& j = partida_.Jogo();
    if (j.PartesNaRolagem == 0)
        return;
    const Geometria g = j.Geo();
    if (CabeNaVista(j.PartesNaRolagem, g)) {
        vsbPartes_->setEnabled(false);
        Rolagem(0);
        return;
    }
    vsbPartes_->setMaximum(MaximoRolagem(j.PartesNaRolagem, g));
    if (!vsbPartes_->isEnabled()) {
        vsbPartes_->setEnabled(true);
        vsbPartes_->setValue(0);
    }
    Rolagem(vsbPartes_->value());
}

void Bandeja::Desativar()
{
    vsbPartes_->setEnabled(false);
}

void Bandeja::vsbPartes_Change()
{
    Rolagem(vsbPartes_->value());
}

void Bandeja::TeclaDeRolagem(int tecla)
{
    if (!vsbPartes_->isEnabled() || vsbPartes_->hasFocus())
        return;
    const PassoRolagem passo = TeclaRolagem(tecla, vsbPartes_->value(), vsbPartes_->minimum(),
                                            vsbPartes_->maximum(), vsbPartes_->pageStep());
    if (passo.tratada)
        vsbPartes_->setValue(passo.valor);
}

void Bandeja::MostrarPeca(int16_t peca)
{
    const JogoSalvo& j = partida_.Jogo();
    const int slot = SlotNaRolagem(j, peca);
    if (slot < 0 || !vsbPartes_->isEnabled())
        return;
    vsbPartes_->setValue(PrimeiraLinhaQueMostra(slot, vsbPartes_->value(), vsbPartes_->maximum(), j.Geo()));
}

void Bandeja::Roda(QWheelEvent* evento)
{
    if (evento->position().x() < vsbPartes_->geometry().right() && vsbPartes_->isEnabled())
        QCoreApplication::sendEvent(vsbPartes_, evento);
}

} // namespace zelpo
