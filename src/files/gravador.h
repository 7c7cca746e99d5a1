#pragma once
// Files kept up to date from the interface thread without waiting on the disk. The
// interface hands over a request, a list of writes and deletions carried out in order by
// a worker thread of this object while the player goes on; the first write that fails
// ends the request, so what follows a write (deleting the file it replaces) happens only
// once that write is on disk. Only the newest request counts: one made while the disk is
// busy replaces any other still waiting, so a burst of moves costs at most one request
// after the one under way. The destructor carries out what is still waiting before it
// returns. The first failure is kept, as the reason the system gave, until the interface
// takes it. The game's copy of the puzzle in play (Salvaguarda) is its user.

#include <QByteArray>
#include <QString>

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace zelpo {

struct OperacaoDeDisco {
    QString caminho;
    std::optional<QByteArray> bytes; // none: delete the file
    bool seAusente = false;          // write only when no file of that name exists
};

class GravadorAssincrono {
public:
    GravadorAssincrono();
    ~GravadorAssincrono();
    GravadorAssincrono(const GravadorAssincrono&) = delete;
    GravadorAssincrono& operator=(const GravadorAssincrono&) = delete;

    // The request's number, counted from 1.
    uint64_t Executar(std::vector<OperacaoDeDisco> operacoes);
    // Returns once every request made so far has been carried out.
    void Esperar();
    // The newest request whose writes all succeeded (0: none yet).
    uint64_t UltimoConcluido() const;
    // The first failure since the last call, or nothing.
    std::optional<QString> TomarFalha();

private:
    struct Pedido {
        uint64_t numero = 0;
        std::vector<OperacaoDeDisco> operacoes;
    };
    void Trabalhar();
    // "" when every write succeeded.
    static QString Realizar(const Pedido& pedido);

    mutable std::mutex mutex_;
    std::condition_variable sinal_;
    std::optional<Pedido> pendente_;
    uint64_t pedidos_ = 0;
    uint64_t concluido_ = 0;
    std::optional<QString> falha_;
    bool ocupado_ = false;
    bool fim_ = false;
    std::thread trabalhador_; // last: it starts once everything above exists
};

} // namespace zelpo
