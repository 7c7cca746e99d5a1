// The tray of loose pieces, the keyboard that scrolls it, and dragging pieces from it
// onto the board.
#include "frmZelpo.h"

#include "PecaWidget.h"
#include "Som.h"
#include "Superficie.h"
#include "play/encaixe.h"
#include "play/rolagem.h"
#include "play/sons.h"

#include <QPainter>
#include <QScrollBar>
#include <QTimer>

namespace zelpo {

namespace {
constexpr Qt::KeyboardModifiers ACORDE = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
constexpr int TAMANHO_TEXTO_POSICAO = 12; // the grid position is written 12 px off-centre
} // namespace

void frmZelpo::Rolagem(int P_Value)
{
    for (int i = 0; i < jogo.PartesNaRolagem; ++i)
        picParte_[jogo.PartesRolagem[i]]->hide();
    for (const LugarNaRolagem& lugar : LayoutRolagem(jogo.PartesRolagem, jogo.PartesNaRolagem, P_Value, geo)) {
        PecaWidget* peca = picParte_[lugar.peca];
        peca->move(lugar.topoEsquerdo);
        peca->Tag = QString::number(lugar.slot);
        peca->show();
    }
    tela_->update();
}

void frmZelpo::AtualizarRolagem()
{
    jogo.PartesNaRolagem = FecharLacuna(jogo.PartesRolagem, jogo.PartesNaRolagem);
    if (jogo.PartesNaRolagem == 0) {
        // the last piece has left the tray: the puzzle is complete
        tmrHora->stop();
        som->TocarSom(SomDeFim(rnd));
        return;
    }
    if (CabeNaVista(jogo.PartesNaRolagem, geo)) {
        vsbPartes->setEnabled(false);
        Rolagem(0);
        return;
    }
    vsbPartes->setMaximum(MaximoRolagem(jogo.PartesNaRolagem, geo));
    if (!vsbPartes->isEnabled()) {
        vsbPartes->setEnabled(true);
        vsbPartes->setValue(0);
    }
    Rolagem(vsbPartes->value());
}

void frmZelpo::RemoverParteRolagem(int16_t P_Index)
{
    RemoverDaLista(jogo, P_Index, picParte_[P_Index]->Tag.toInt());
}

void frmZelpo::vsbPartes_Change()
{
    Rolagem(vsbPartes->value());
}

void frmZelpo::vsbPartes_Scroll()
{
    Rolagem(vsbPartes->value());
}

void frmZelpo::Form_KeyDown(int tecla, Qt::KeyboardModifiers shift)
{
    if ((shift & ACORDE) == ACORDE && !(shift & Qt::MetaModifier)) {
        if (tecla == Qt::Key_F) {
            const int posicao = (geo.TamanhoCelula - TAMANHO_TEXTO_POSICAO) / 2;
            for (int i = 0; i < modulo.Linhas * modulo.Colunas; ++i) {
                PecaWidget* peca = picParte_[i];
                const Parte& p = jogo.Partes[i];
                QPainter pintor(&peca->figura());
                pintor.setFont(peca->font());
                pintor.drawText(QPoint(posicao, posicao + pintor.fontMetrics().ascent()),
                                QString::number(p.Coluna) + QString::number(p.Linha));
                pintor.end();
                peca->update();
            }
        } else if (tecla == Qt::Key_G) {
            DistribuirEmOrdem(jogo, modulo.Colunas, modulo.Linhas);
            mnuJogoReiniciar_Click();
        }
    }
    if (!vsbPartes->isEnabled() || vsbPartes->hasFocus())
        return;
    const PassoRolagem passo = TeclaRolagem(tecla, vsbPartes->value(), vsbPartes->minimum(),
                                            vsbPartes->maximum(), vsbPartes->pageStep());
    if (passo.tratada)
        vsbPartes->setValue(passo.valor);
}

void frmZelpo::picParte_MouseDown(int16_t Index, Qt::MouseButton, Qt::KeyboardModifiers, QPointF ponto)
{
    if (jogo.Partes[Index].Encaixada != FALSO)
        return;
    arrasto.PegaX = static_cast<int32_t>(CLng(ponto.x()));
    arrasto.PegaY = static_cast<int32_t>(CLng(ponto.y()));
    arrasto.ParteArrastada = Index;
    picParte_[Index]->raise();
    if (jogo.PartesIniciais > 0) {
        VerificarOK();
        --jogo.PartesIniciais;
        TextoPartesIniciais();
    }
    // Otherwise the piece holds the mouse until the release: its moves and the release
    // come back to Form_MouseMove and Form_MouseUp in surface coordinates.
}

void frmZelpo::Form_MouseMove(Qt::MouseButtons botoes, Qt::KeyboardModifiers, QPoint ponto)
{
    if (arrasto.ParteArrastada == -1)
        return;
    if (botoes == Qt::LeftButton) {
        picParte_[arrasto.ParteArrastada]->move(ponto.x() - arrasto.PegaX, ponto.y() - arrasto.PegaY);
        return;
    }
    VerificarOK(); // any other button, or none: the move is the drop
}

void frmZelpo::Form_MouseUp(Qt::MouseButton, Qt::KeyboardModifiers, QPoint)
{
    VerificarOK();
}

void frmZelpo::VerificarOK()
{
    if (arrasto.ParteArrastada == -1)
        return;
    const int16_t p = arrasto.ParteArrastada;
    if (ParteEncaixa(jogo, modulo.Colunas, modulo.Linhas, geo, p, picParte_[p]->pos())) {
        som->TocarSom(QString::fromLatin1(SOM_ENCAIXE));
        ParteOk(p);
        RemoverParteRolagem(p);
    }
    tela_->update();
    AtualizarRolagem();
    arrasto.ParteArrastada = -1;
}

void frmZelpo::ParteOk(int16_t P_Index)
{
    PecaWidget* peca = picParte_[P_Index];
    peca->hide();
    const Parte& p = jogo.Partes[P_Index];
    const int c = geo.TamanhoCelula;
    const QPoint lugar = LugarVerdadeiro(jogo, geo, P_Index);
    ColarNoTabuleiro(tela_->tela(), picMask, QPoint(p.Coluna * c, p.Linha * c), peca->figura(), lugar, c);
    tela_->update(QRect(lugar, QSize(c, c)));
}

void frmZelpo::ExibirPartesOK()
{
    for (int r = 0; r < modulo.Linhas; ++r)
        for (int c = 0; c < modulo.Colunas; ++c) {
            const int i = modulo.Colunas * r + c;
            if (jogo.Partes[i].Encaixada != FALSO)
                ParteOk(static_cast<int16_t>(i));
        }
    tela_->update();
}

} // namespace zelpo
