// The tray of loose pieces, the keyboard that scrolls it, and dragging pieces from it
// onto the board.
#include "frmZelpo.h"

#include "PecaWidget.h"
#include "Som.h"
#include "Superficie.h"
#include "play/encaixe.h"
#include "play/rolagem.h"
#include "play/sons.h"

#include <QCoreApplication>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

namespace zelpo {

namespace {
constexpr Qt::KeyboardModifiers ACORDE = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
constexpr int TAMANHO_TEXTO_POSICAO = 12; // the grid position is written 12 px off-centre
} // namespace

void frmZelpo::Rolagem(int P_Value)
{
    const JogoSalvo& j = partida_.Jogo();
    for (int i = 0; i < j.PartesNaRolagem; ++i)
        picParte_[j.PartesRolagem[i]]->hide();
    for (const LugarNaRolagem& lugar : LayoutRolagem(j.PartesRolagem, j.PartesNaRolagem, P_Value, j.Geo())) {
        PecaWidget* peca = picParte_[lugar.peca];
        peca->move(lugar.topoEsquerdo);
        peca->show();
    }
    tela_->update();
}

void frmZelpo::AtualizarRolagem()
{
    if (partida_.AtualizarRolagem()) {
        // the last piece has left the tray: the clock has stopped with the game
        som_->TocarSom(SomDeFim(rnd_));
        RegistrarRecorde();
        return;
    }
    const JogoSalvo& j = partida_.Jogo();
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

void frmZelpo::vsbPartes_Change()
{
    Rolagem(vsbPartes_->value());
}

void frmZelpo::Form_KeyDown(int tecla, Qt::KeyboardModifiers shift)
{
    const bool carregado = partida_.Estado() != EstadoJogo::SemJogo;
    if ((shift & ACORDE) == ACORDE && !(shift & Qt::MetaModifier) && carregado) {
        const JogoSalvo& j = partida_.Jogo();
        if (tecla == Qt::Key_F) {
            const int posicao = (j.Geo().TamanhoCelula - TAMANHO_TEXTO_POSICAO) / 2;
            for (int i = 0; i < j.Pecas(); ++i) {
                const Parte& p = j.Partes[i];
                picParte_[i]->Escrever(QPoint(posicao, posicao), QString::number(p.Coluna) + QString::number(p.Linha));
            }
        } else if (tecla == Qt::Key_G) {
            partida_.DistribuirEmOrdem();
            // The question opens once this key event is over, so that the chord's own key
            // releases do not land in it.
            QTimer::singleShot(0, this, [this] { mnuJogoReiniciar_Click(); });
        }
    }
    if (!vsbPartes_->isEnabled() || vsbPartes_->hasFocus())
        return;
    const PassoRolagem passo = TeclaRolagem(tecla, vsbPartes_->value(), vsbPartes_->minimum(),
                                            vsbPartes_->maximum(), vsbPartes_->pageStep());
    if (passo.tratada)
        vsbPartes_->setValue(passo.valor);
}

void frmZelpo::picParte_MouseDown(int16_t Index, QPointF ponto)
{
    if (!partida_.EmJogo() || partida_.Jogo().Partes[Index].Encaixada != FALSO)
        return;
    arrasto_.PegaX = static_cast<int32_t>(CLng(ponto.x()));
    arrasto_.PegaY = static_cast<int32_t>(CLng(ponto.y()));
    arrasto_.ParteArrastada = Index;
    picParte_[Index]->raise();
    if (partida_.Jogo().PartesIniciais > 0) {
        VerificarOK();
        partida_.ParteInicialEscolhida();
        TextoPartesIniciais();
    }
    // Otherwise the piece holds the mouse until the release: its moves and the release
    // come back to Form_MouseMove and Form_MouseUp in surface coordinates.
}

void frmZelpo::Form_MouseMove(Qt::MouseButtons botoes, QPoint ponto)
{
    if (arrasto_.ParteArrastada == -1)
        return;
    if (botoes == Qt::LeftButton) {
        picParte_[arrasto_.ParteArrastada]->move(ponto.x() - arrasto_.PegaX, ponto.y() - arrasto_.PegaY);
        return;
    }
    VerificarOK(); // any other button, or none: the move is the drop
}

void frmZelpo::Form_MouseUp()
{
    VerificarOK();
}

// The wheel anywhere over the tray scrolls it, as over its scroll bar.
void frmZelpo::Form_Wheel(QWheelEvent* evento)
{
    if (evento->position().x() < vsbPartes_->geometry().right() && vsbPartes_->isEnabled())
        QCoreApplication::sendEvent(vsbPartes_, evento);
}

void frmZelpo::VerificarOK()
{
    if (arrasto_.ParteArrastada == -1)
        return;
    const int16_t p = arrasto_.ParteArrastada;
    if (partida_.VerificarOK(p, picParte_[p]->pos())) {
        som_->TocarSom(QString::fromLatin1(SOM_ENCAIXE));
        ParteOk(p);
    }
    tela_->update();
    AtualizarRolagem();
    arrasto_.ParteArrastada = -1;
}

void frmZelpo::ParteOk(int16_t P_Index)
{
    PecaWidget* peca = picParte_[P_Index];
    peca->hide();
    const JogoSalvo& j = partida_.Jogo();
    const Parte& p = j.Partes[P_Index];
    const int c = j.Geo().TamanhoCelula;
    const QPoint lugar = LugarVerdadeiro(j, P_Index);
    ColarNoTabuleiro(tela_->tela(), picMask_, QPoint(p.Coluna * c, p.Linha * c), peca->figura(), lugar, c);
    tela_->update(QRect(lugar, QSize(c, c)));
}

void frmZelpo::ExibirPartesOK()
{
    const JogoSalvo& j = partida_.Jogo();
    for (int r = 0; r < j.Linhas; ++r)
        for (int c = 0; c < j.Colunas; ++c) {
            const int i = j.Colunas * r + c;
            if (j.Partes[i].Encaixada != FALSO)
                ParteOk(static_cast<int16_t>(i));
        }
    tela_->update();
}

} // namespace zelpo
