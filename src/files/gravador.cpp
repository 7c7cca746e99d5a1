#include "files/gravador.h"

#include "files/arquivos.h"

#include <QFile>

#include <cerrno>
#include <unistd.h>

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

QString GravadorAssincrono::UltimoErro() const
{
    std::lock_guard trava(mutex_);
    return ultimoErro_;
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

// Runs on the worker thread, without the lock.
void GravadorAssincrono::Executar(const Pedido& pedido)
{
    QString erro;
    if (pedido.bytes) {
        erro = GravarArquivo(pedido.caminho, *pedido.bytes);
    } else if (::unlink(QFile::encodeName(pedido.caminho).constData()) != 0 && errno != ENOENT) {
        erro = DescricaoDoErro(errno);
    }
    // Nobody waits for this write, and the game prints nothing: the error is kept for
    // whoever asks (UltimoErro), and the next copy tries again.
    std::lock_guard trava(mutex_);
    ultimoErro_ = erro.isEmpty() ? QString() : pedido.caminho + QStringLiteral(": ") + erro;
}

} // namespace zelpo
