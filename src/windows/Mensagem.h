#pragma once
// Message boxes of the game, through one function so that tests can answer them
// instead of a player: with a responder set, no modal box is shown.

#include <QMessageBox>

#include <functional>

namespace zelpo {

struct PedidoMensagem {
    QMessageBox::Icon icone;
    QString titulo;
    QString texto;
    QMessageBox::StandardButtons botoes;
};

using Respondedor = std::function<QMessageBox::StandardButton(const PedidoMensagem&)>;

QMessageBox::StandardButton MostrarMensagem(QWidget* dono, QMessageBox::Icon icone, const QString& titulo,
                                            const QString& texto,
                                            QMessageBox::StandardButtons botoes = QMessageBox::Ok,
                                            QMessageBox::StandardButton padrao = QMessageBox::NoButton);

// Tests: answer every message with `r` (an empty function restores the real boxes).
void DefinirRespondedor(Respondedor r);

// "text\n\n'path'": a description, a blank line and the path in single quotes.
QString ComCaminho(const QString& texto, const QString& caminho);

// Shows the wait cursor for the life of the object, on every path out.
class CursorEspera {
public:
    CursorEspera();
    ~CursorEspera();
    CursorEspera(const CursorEspera&) = delete;
    CursorEspera& operator=(const CursorEspera&) = delete;
};

} // namespace zelpo
