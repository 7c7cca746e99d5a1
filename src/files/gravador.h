#pragma once
// One file kept up to date from the interface thread without waiting on the disk. The
// interface hands over the whole content; a worker thread of this object writes it
// through GravarArquivo (or deletes the file) while the player goes on. Only the newest
// request counts: one made while the disk is busy replaces any other still waiting, so a
// burst of moves costs at most one write after the one under way. Requests are carried
// out in the order they were made, a deletion included, and the destructor carries out
// what is still waiting before it returns. A request that fails is not reported: the
// next one tries again. The game's copy of the puzzle in play (Salvaguarda) is its user.

#include <QByteArray>
#include <QString>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace zelpo {

class GravadorAssincrono {
public:
    GravadorAssincrono();
    ~GravadorAssincrono();
    GravadorAssincrono(const GravadorAssincrono&) = delete;
    GravadorAssincrono& operator=(const GravadorAssincrono&) = delete;

    void Gravar(const QString& caminho, const QByteArray& bytes);
    void Apagar(const QString& caminho);
    // Returns once every request made so far has been carried out.
    void Esperar();

private:
    struct Pedido {
        QString caminho;
        std::optional<QByteArray> bytes; // none: delete the file
    };
    void Trabalhar();
    void Executar(const Pedido& pedido);

    mutable std::mutex mutex_;
    std::condition_variable sinal_;
    std::optional<Pedido> pendente_;
    bool ocupado_ = false;
    bool fim_ = false;
    std::thread trabalhador_; // last: it starts once everything above exists
};

} // namespace zelpo
