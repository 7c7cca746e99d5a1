// What outlives the program: the copy of the game in play that the next start offers
// back, and the best times of the puzzles. The rules are the core's (Salvaguarda,
// recuperacao.h, recordes.h); the window calls them and shows the outcome.
#include "frmZelpo.h"

#include "Mensagem.h"
#include "Tabuleiro.h"
#include "files/arquivos.h"
#include "files/configuracao.h"
#include "files/recordes.h"
#include "game/classificacao.h"
#include "files/recuperacao.h"
#include "files/zpr.h"
#include "frmRecordes.h"
#include "records/produto.h"
#include "play/relogio.h"
#include "play/textos.h"

#include <QTimer>

namespace zelpo {

// The copy brought up to date with the last command; a copy that cannot be kept is told
// to the player once in the program's life.
void frmZelpo::AtualizarCopia()
{
    salvaguarda_.Atualizar(partida_);
    if (const std::optional<QString> aviso = salvaguarda_.TomarAviso())
        MostrarMensagem(this, QMessageBox::Warning, QStringLiteral("Erro"), *aviso);
}

void frmZelpo::ConcluirCopia()
{
    if (tmrCopia_->isActive()) {
        tmrCopia_->stop();
        AtualizarCopia();
    }
    salvaguarda_.Esperar();
}

void frmZelpo::GravarCopia()
{
    tmrCopia_->stop();
    if (partida_.EmJogo())
        tela_->ExibirHora(SegundosParaHora(partida_.Tique(amb_.Ticks())));
    salvaguarda_.GravarAgora(partida_);
}

void frmZelpo::EncerrarPorSinal()
{
    tmrCopia_->stop();
    if (partida_.EmJogo())
        tela_->ExibirHora(SegundosParaHora(partida_.Tique(amb_.Ticks())));
    salvaguarda_.Finalizar(partida_);
    SalvarCFG(amb_.ArquivoConfiguracao(), opcoes_); // nobody is there to read a failure
    fechando_ = true;
    close();
}

// At a start without a file: the newest game a program lost is offered back. True when the
// question was asked and answered Sim, or the program is ending meanwhile; false to start
// as usual (a damaged copy is deleted without a word). Only Não deletes the copy; Esc, the
// close box or Cancelar leave it for the next start.
bool frmZelpo::OferecerRecuperacao()
{
    std::optional<CopiaDeixada> copia = ProcurarRecuperacao(salvaguarda_.Pasta());
    if (!copia)
        return false;
    const auto resposta = MostrarMensagem(
        this, QMessageBox::Question, QString::fromUtf8(TITULO_APLICACAO),
        QStringLiteral("O Zelpora foi fechado com um jogo em andamento. Deseja continuar esse jogo?"),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (fechando_)
        return true; // ended while asking: the copy waits for the next start
    if (resposta == QMessageBox::No)
        copia->Apagar();
    if (resposta != QMessageBox::Yes)
        return false;
    Recuperacao dados = copia->Dados();
    CursorEspera espera;
    LimparTela();
    if (dados.arquivoJogo.isEmpty())
        setWindowTitle(LegendaDoProduto());
    else
        setWindowTitle(TituloDoJogo(dados.arquivoJogo));
    // A game never saved keeps the name of the picture it was cut from; a saved one goes
    // by a temporary name, as when it is opened.
    const QString figura = dados.arquivoJogo.isEmpty() && !dados.arquivoFigura.isEmpty()
                               ? dados.arquivoFigura
                               : GetTempFileName(dados.jogo.ExtensaoFigura, amb_.Ticks());
    MostrarSalvo(dados.arquivoJogo, figura, std::move(dados.jogo));
    // Only now that the game is in play: while the puzzle was formed (and a message about
    // its picture waited for the player) there was no game, and a copy in the keeping of
    // the safeguard would have gone with it. It stays until this program's own copy of the
    // game is on disk.
    salvaguarda_.Adotar(std::move(*copia));
    AtualizarCopia();
    return true;
}

// The puzzle is complete: its time enters the table when it is among the five best.
void frmZelpo::RegistrarRecorde()
{
    const Recorde recorde = RecordeDe(partida_, QDateTime::currentDateTimeUtc());
    const ResultadoRecorde r = zelpo::RegistrarRecorde(amb_.ArquivoRecordes(), recorde);
    textoRecorde_ = TextoNovoRecorde(recorde.Segundos, r.posicao);
    AplicarEstado();
    if (!r.guardadaComo.isEmpty())
        MostrarMensagem(this, QMessageBox::Warning, QStringLiteral("Recordes"),
                        QStringLiteral("A tabela de recordes estava danificada e foi guardada como:\n\n'")
                            + r.guardadaComo + QStringLiteral("'\n\nUma tabela nova foi começada."));
    if (!r.erro.isEmpty())
        MostrarMensagem(this, QMessageBox::Warning, QStringLiteral("Erro"),
                        MensagemDeGravacao(amb_.ArquivoRecordes(), r.erro));
}

void frmZelpo::mnuAjudaRecordes_Click()
{
    const TabelaRecordes tabela = LerRecordes(amb_.ArquivoRecordes());
    std::optional<Recorde> atual;
    if (partida_.Estado() != EstadoJogo::SemJogo)
        atual = RecordeDe(partida_, QDateTime::currentDateTimeUtc());
    auto* janela = new frmRecordes(atual, atual ? tabela.Melhores(atual->Chave) : std::vector<Recorde>(),
                                   tabela.Recentes(), this);
    janela->show();
}

} // namespace zelpo
