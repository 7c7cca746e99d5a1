#include "Mensagem.h"

#include "Centralizador.h"
#include "records/produto.h"

#include <QApplication>
#include <QGuiApplication>

namespace zelpo {

namespace {
Respondedor& respondedor()
{
    static Respondedor r;
    return r;
}
} // namespace

QMessageBox::StandardButton MostrarMensagem(QWidget* dono, QMessageBox::Icon icone, const QString& titulo,
                                            const QString& texto, QMessageBox::StandardButtons botoes,
                                            QMessageBox::StandardButton padrao)
{
    const QString cabecalho = titulo.isEmpty() ? QString::fromUtf8(TITULO_APLICACAO) : titulo;
    if (respondedor())
        return respondedor()({icone, cabecalho, texto, botoes});
    // a busy operation may be under way: the player must see the normal pointer here
    const bool espera = QGuiApplication::overrideCursor() != nullptr;
    if (espera)
        QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    QMessageBox caixa(icone, cabecalho, texto, botoes, dono);
    if (padrao != QMessageBox::NoButton)
        caixa.setDefaultButton(padrao);
    Centralizador::Centrar(&caixa, dono);
    const auto resposta = static_cast<QMessageBox::StandardButton>(caixa.exec());
    if (espera)
        QGuiApplication::restoreOverrideCursor();
    return resposta;
}

void DefinirRespondedor(Respondedor r)
{
    respondedor() = std::move(r);
}

QString ComCaminho(const QString& texto, const QString& caminho)
{
    return texto + QStringLiteral("\n\n'") + caminho + QLatin1Char('\'');
}

CursorEspera::CursorEspera()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

CursorEspera::~CursorEspera()
{
    QGuiApplication::restoreOverrideCursor();
}

} // namespace zelpo
