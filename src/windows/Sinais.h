#pragma once
// The end of the program asked from outside: SIGTERM (a shutdown, `kill`) and SIGHUP (the
// terminal or the session went away). The handler only writes the signal's number into a
// pipe, the one thing it may safely do; the read end wakes the event loop through a
// socket notifier, and the signal `recebido` then runs as any other event, on the
// interface thread, where the game can be kept. main() creates the one object of this
// class and ties it to the main window.

#include <QObject>

class QSocketNotifier;

namespace zelpo {

class Sinais : public QObject {
    Q_OBJECT
public:
    // Installs the handlers; the default ones come back with the destructor.
    explicit Sinais(QObject* pai = nullptr);
    ~Sinais() override;

    // A signal was handled already (perhaps while a question was open at start-up).
    bool Recebido() const { return recebido_; }

Q_SIGNALS:
    void recebido(int sinal);

private:
    void Ler();

    QSocketNotifier* notificador_ = nullptr;
    bool recebido_ = false;
};

} // namespace zelpo
