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

uint64_t GravadorAssincrono::Executar(std::vector<OperacaoDeDisco> operacoes)
{
    uint64_t numero = 0;
    {
        std::lock_guard trava(mutex_);
        numero = ++pedidos_;
        pendente_ = Pedido{numero, std::move(operacoes)};
    }
    sinal_.notify_all();
    return numero;
}

void GravadorAssincrono::Esperar()
{
    std::unique_lock trava(mutex_);
    sinal_.wait(trava, [this] { return !pendente_ && !ocupado_; });
}

uint64_t GravadorAssincrono::UltimoConcluido() const
{
    std::lock_guard trava(mutex_);
    return concluido_;
}

std::optional<QString> GravadorAssincrono::TomarFalha()
{
    std::lock_guard trava(mutex_);
    return std::exchange(falha_, std::nullopt);
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
        const QString erro = Realizar(pedido);
        trava.lock();
        if (erro.isEmpty())
            concluido_ = pedido.numero;
        else if (!falha_)
            falha_ = erro;
        ocupado_ = false;
        sinal_.notify_all();
    }
}

// Runs on the worker thread, without the lock.
QString GravadorAssincrono::Realizar(const Pedido& pedido)
{
    for (const OperacaoDeDisco& o : pedido.operacoes) {
        if (!o.bytes) {
            QFile::remove(o.caminho);
            continue;
        }
        if (o.seAusente && QFile::exists(o.caminho))
            continue;
        if (const QString erro = GravarArquivo(o.caminho, *o.bytes); !erro.isEmpty())
            return erro;
    }
    return {};
}

} // namespace zelpo
