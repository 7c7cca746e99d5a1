#include "Sinais.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace zelpo {

namespace {

constexpr int SINAIS[] = {SIGTERM, SIGHUP};
int tubo[2] = {-1, -1}; // read end, write end

extern "C" void AoSinal(int sinal)
{
    const int erroAntes = errno;
    const char numero = static_cast<char>(sinal);
    const ssize_t escrito = ::write(tubo[1], &numero, 1); // a full pipe already holds a wake-up
    static_cast<void>(escrito);
    errno = erroAntes;
}

void Instalar(void (*tratador)(int))
{
    struct sigaction acao {};
    acao.sa_handler = tratador;
    sigemptyset(&acao.sa_mask);
    acao.sa_flags = SA_RESTART;
    for (int sinal : SINAIS)
        ::sigaction(sinal, &acao, nullptr);
}

} // namespace

Sinais::Sinais(QObject* pai) : QObject(pai)
{
    if (::pipe2(tubo, O_CLOEXEC | O_NONBLOCK) != 0)
        return; // without a pipe the signals keep their default action
    notificador_ = new QSocketNotifier(tubo[0], QSocketNotifier::Read, this);
    connect(notificador_, &QSocketNotifier::activated, this, &Sinais::Ler);
    Instalar(AoSinal);
}

Sinais::~Sinais()
{
    if (!notificador_)
        return;
    Instalar(SIG_DFL);
    delete notificador_;
    ::close(tubo[0]);
    ::close(tubo[1]);
    tubo[0] = tubo[1] = -1;
}

void Sinais::Ler()
{
    char numero = 0;
    int ultimo = 0;
    while (::read(tubo[0], &numero, 1) == 1)
        ultimo = numero;
    if (ultimo == 0 || recebido_)
        return; // the second signal changes nothing: the game is already kept
    recebido_ = true;
    Q_EMIT recebido(ultimo);
}

} // namespace zelpo
