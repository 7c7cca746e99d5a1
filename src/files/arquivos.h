#pragma once
// Whole files in and out, for every file the game reads or writes: saved games, picture
// files, the settings and the desktop's file-type files.
//
// Reading opens regular files only (a FIFO, a device or a folder is refused at once,
// never waited on) and refuses a file larger than the caller's limit before anything is
// allocated. Writing goes through a temporary beside the target that replaces it only
// when every byte reached the disk: each write and the final flush are checked before the
// commit, so a full disk leaves the previous file as it was; the folder is synced after
// the rename, so that a power cut cannot bring back the old file or none. Failures come back as a
// Portuguese description of what the system reported, for the player to read.

#include "records/jogo.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace zelpo {

enum class FalhaLeitura {
    Nenhuma,
    NaoExiste,    // no such file, or a folder on the way is missing
    NaoComum,     // a folder, a FIFO, a device, a socket
    SemPermissao,
    GrandeDemais, // larger than the caller's limit
    Outra,        // any other error the system reported
};

struct Leitura {
    QByteArray bytes;
    FalhaLeitura falha = FalhaLeitura::Nenhuma;
    QString erro; // what went wrong, in Portuguese, without the path; "" on success
    bool ok() const { return falha == FalhaLeitura::Nenhuma; }
};

Leitura LerArquivo(const QString& caminho, qint64 limite);

// Replaces the content of `caminho` with `bytes`. "" on success; otherwise what went
// wrong, without the path. Refuses to replace anything but a regular file.
QString GravarArquivo(const QString& caminho, const QByteArray& bytes);

// Puts the entries of the folder that holds `caminho` on the disk (after a rename or a
// new file); a folder that cannot be synced is left to the system.
void SincronizarPasta(const QString& caminho);

// A system error number as the player reads it ("não há espaço livre no disco").
QString DescricaoDoErro(int numero);

// "Não foi possível gravar o arquivo:\n\n'path'\n\nnão há espaço livre no disco."
QString MensagemDeGravacao(const QString& caminho, const QString& erro);

} // namespace zelpo
