#include "files/gravador.h"

#include "files/arquivos.h"

#include <QFile>

namespace zelpo {

GravadorAssincrono::GravadorAssincrono() : trabalhador_([this] { Trabalhar(); }) {}

GravadorAssincrono::~GravadorAssincrono()
{
    {
        std::lock_guard trava(mutex_);
        fim_ = true;
    }
    sinal_.notify_all();
    trabalhador_.join();
}

void GravadorAssincrono::Gravar(const QString& caminho, const QByteArray& bytes)
{
    {
        std::lock_guard trava(mutex_);
        pendente_ = Pedido{caminho, bytes};
    }
    sinal_.notify_all();
}

void GravadorAssincrono::Apagar(const QString& caminho)
{
    {
        std::lock_guard trava(mutex_);
        pendente_ = Pedido{caminho, std::nullopt};
    }
    sinal_.notify_all();
}

void GravadorAssincrono::Esperar()
{
    std::unique_lock trava(mutex_);
    sinal_.wait(trava, [this] { return !pendente_ && !ocupado_; });
}

void GravadorAssincrono::Trabalhar()
{
    std::unique_lock trava(mutex_);
    for (;;) {
        sinal_.wait(trava, [this] { return pendente_ || fim_; });
        if (!pendente_)
            return; // the end, with nothing left to do
        const Pedido pedido = std::move(*pendente_);
        pendente_.reset();
        ocupado_ = true;
        trava.unlock();
        Executar(pedido);
        trava.lock();
        ocupado_ = false;
        sinal_.notify_all();
    }
}

// Runs on the worker thread, without the lock. Nobody waits for the outcome, and the
// game prints nothing: a failure is left for the next request to mend.
void GravadorAssincrono::Executar(const Pedido& pedido)
{
    if (pedido.bytes)
        GravarArquivo(pedido.caminho, *pedido.bytes);
    else
        QFile::remove(pedido.caminho);
}

} // namespace zelpo
