// The life of one puzzle in the window: a new game from a random picture, forming it
// from a picture file, showing it, restarting it, clearing the screen; and what the
// player hears and a screen reader is told as it is played.
#include "frmZelpo.h"

#include "Bandeja.h"
#include "Interator.h"
#include "Mensagem.h"
#include "Som.h"
#include "Tabuleiro.h"
#include "files/arquivos.h"
#include "game/formacao.h"
#include "play/encaixe.h"
#include "play/novojogo.h"
#include "play/relogio.h"
#include "play/sons.h"
#include "play/textos.h"

#include <QScrollBar>

#include <optional>

namespace zelpo {

void frmZelpo::NovoJogo()
{
    const QString pasta = PastaDaDificuldade(amb_.pastaPrograma, opcoes_.Dificuldade);
    fileImagem_.Path = pasta;
    const QString erro = fileImagem_.Refresh();
    if (!erro.isEmpty()) {
        MostrarMensagem(this, QMessageBox::Warning, QStringLiteral("Erro"), ComCaminho(erro, pasta));
        return;
    }
    if (fileImagem_.ListCount() == 0) {
        MostrarMensagem(this, QMessageBox::Information, QStringLiteral("Novo"),
                        ComCaminho(QStringLiteral("Não foi encontrada nenhuma figura na pasta abaixo:"), pasta));
        return;
    }
    // The wait cursor for a player who waits; the first puzzle forms before the window was
    // ever seen, where the cursor's theme would only delay the first picture.
    std::optional<CursorEspera> espera;
    if (tela_->Pintada())
        espera.emplace();
    LimparTela();
    FormarDaFigura(pasta + fileImagem_.List(EscolherFigura(fileImagem_.ListCount(), rnd_)));
}

// A new puzzle from a picture file: read, formed with a fresh random state, and started.
void frmZelpo::FormarDaFigura(const QString& arquivo)
{
    const Leitura lida = LerArquivo(arquivo, TAMANHO_MAXIMO_FIGURA);
    if (!amb_.semente)
        rnd_.SemearPeloRelogio();
    QuebraCabeca qc = FormarQuebraCabeca(arquivo, lida.bytes, lida.erro, opcoes_, rnd_, tela_->Escala());
    if (!qc.recusa.isEmpty()) // the player gets a puzzle of the words "Figura inválida"
        MostrarMensagem(this, QMessageBox::Information, QStringLiteral("Figura inválida"), ComCaminho(qc.recusa, arquivo));
    setWindowTitle(LegendaDoProduto());
    partida_.Comecar(arquivo, std::move(qc.jogo), amb_.Ticks());
    Mostrar(std::move(qc.pecas), std::move(qc.miniatura));
}

// The puzzle in play on the screen, from the pictures it was formed with: the board area
// and its caption, the pieces placed and loose, the tray, the clock.
void frmZelpo::Mostrar(PecasMontadas pecas, QImage miniatura)
{
    picPreview_ = std::move(miniatura);
    bandeja_->DefinirGeometria(partida_.Geo());
    AreaDeJogo();
    tela_->Montar(std::move(pecas), partida_.Geo());
    interator_->ExibirPartesOK();
    IniciarJogo();
}

// The board area one pixel outside the grid, its caption under it; it erases whatever
// was pasted there.
void frmZelpo::AreaDeJogo()
{
    const JogoSalvo& j = partida_.Jogo();
    const QRect a = RetanguloAreaDeJogo(j);
    tela_->DesenharArea(a.left(), a.top(), a.right(), a.bottom(), LegendaArea(j.Dificuldade, j.Colunas, j.Linhas));
}

// Play starts or resumes: the tray laid out, the keyboard on the board, the clock shown
// at once. A complete game only shows its final time.
void frmZelpo::IniciarJogo()
{
    const JogoSalvo& j = partida_.Jogo();
    if (j.PartesNaRolagem == 0) {
        tela_->ExibirHora(SegundosParaHora(j.SegundosJogo));
        return;
    }
    bandeja_->AtualizarRolagem();
    tela_->setFocus();
    interator_->FocarPrimeira();
    tmrHora_Timer();
}

// The window went to a screen of another scale: everything it draws is drawn again there,
// the pieces cut anew from the picture.
void frmZelpo::Redesenhar()
{
    tela_->NovaTela(tela_->devicePixelRatioF());
    tela_->DesenharMoldura(bandeja_->Barra()->geometry());
    if (partida_.Estado() == EstadoJogo::SemJogo) {
        tela_->Limpar();
        tela_->AreaInicial();
    } else {
        QuebraCabeca qc = FormarSalvo(partida_.Jogo(), opcoes_.BorderColor, tela_->Escala());
        picPreview_ = std::move(qc.miniatura);
        AreaDeJogo();
        tela_->Montar(std::move(qc.pecas), partida_.Geo());
        interator_->Remontar();
        interator_->ExibirPartesOK();
        bandeja_->AtualizarRolagem();
    }
    AplicarEstado();
}

void frmZelpo::ReiniciarJogo()
{
    tela_->repaint();
    bandeja_->Desativar();
    tela_->OcultarTodas();
    tela_->DefinirSituacao({});
    interator_->Esquecer();
    textoRecorde_.clear();
    partida_.Reiniciar(amb_.Ticks());
    AreaDeJogo();
    tela_->repaint();
    IniciarJogo();
}

void frmZelpo::LimparTela()
{
    tela_->Limpar();
    tela_->DefinirSituacao({});
    interator_->Esquecer();
    textoRecorde_.clear();
    partida_.Limpar();
    bandeja_->Desativar();
    tela_->ExibirHora(SegundosParaHora(0));
    // at once, for a long step that follows; before the window was ever seen, nobody waits
    if (tela_->Pintada())
        tela_->repaint();
}

// The sounds of a piece that fits and of the last one, and the time of a complete puzzle.
void frmZelpo::AoJogar(Jogada jogada)
{
    if (jogada != Jogada::Encaixada && jogada != Jogada::Completa)
        return;
    som_->TocarSom(QString::fromLatin1(SOM_ENCAIXE));
    if (jogada == Jogada::Completa) {
        som_->TocarSom(SomDeFim(rnd_));
        tela_->DefinirSituacao(QStringLiteral("Quebra-cabeça completo em ") + SegundosParaHora(partida_.Jogo().SegundosJogo));
        RegistrarRecorde();
    }
}

} // namespace zelpo
