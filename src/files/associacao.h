#pragma once
// Registration of the ".zpr" type with the desktop, so that a double click on a saved
// puzzle starts the game with the file's path as its one argument. frmZelpo's start-up
// calls AssociarArquivo when the command line names no file, and ignores the result.
//
// The registration keeps the five steps of a file-type entry in a registry, in order,
// stopping at the first failure, failing silently and answering with a Boolean. The
// "registry" is a small layer of our own, RegistroTipos: it holds the values in memory
// under registry-style key paths and, after each write, writes the freedesktop files
// that show them for the current user. With the extension "zpr":
//
//   1  Classes\.zpr (default) = "zpr_auto_file"
//        -> $XDG_DATA_HOME/mime/packages/zelpora-zpr.xml, type application/x-zelpora-zpr
//           with the glob *.zpr
//   2  Classes\zpr_auto_file (default) = the description
//        -> the same file, <comment> (plain and pt_BR)
//   3  Classes\zpr_auto_file "EditFlags" = four zero bytes (binary)
//        -> kept in memory only: the desktop has no counterpart, nothing is written
//   4  Classes\zpr_auto_file\DefaultIcon (default) = the icon
//        -> <icon> in the same file and, for an icon file, a copy of it in
//           $XDG_DATA_HOME/icons/hicolor/<size>/mimetypes/application-x-zelpora-zpr.<ext>
//   5  Classes\zpr_auto_file\shell\open\command (default) = the Exec command line
//        -> $XDG_DATA_HOME/applications/zelpora.desktop and, in
//           $XDG_CONFIG_HOME/mimeapps.list, [Default Applications]
//           application/x-zelpora-zpr=zelpora.desktop (other lines kept)
//
// Every run writes every file again, always with the same bytes. When a file was
// written, update-mime-database and update-desktop-database are started detached (if
// installed); the game never waits for them.

#include <QByteArray>
#include <QMap>
#include <QString>

#include <cstdint>

namespace zelpo {

inline constexpr int32_t REG_SZ = 1;     // text value
inline constexpr int32_t REG_BINARY = 3; // bytes

// The user's data and config folders: $XDG_DATA_HOME (else ~/.local/share) and
// $XDG_CONFIG_HOME (else ~/.config); a relative path in the variable is ignored.
struct PastasXdg {
    QString dados;
    QString configuracao;
    static PastasXdg DoAmbiente();
};

class RegistroTipos {
public:
    explicit RegistroTipos(PastasXdg pastas);

    // Sets one value and writes the files that show it; false when a file could not be
    // written. Key paths are case-insensitive and may start with "SOFTWARE\Classes\".
    bool Gravar(const QString& chave, int32_t tipo, const QString& nomeValor, const QByteArray& dados);

    bool TipoGravado() const { return tipoGravado_; }
    bool AplicativoGravado() const { return aplicativoGravado_; }

private:
    struct Valor {
        int32_t tipo = REG_SZ;
        QByteArray dados;
    };
    QString Texto(const QString& chave, const QString& nome = {}) const;
    bool GravarTipo(const QString& extensao);
    bool GravarAplicativo(const QString& extensao);
    bool GravarIcone(const QString& extensao, QString& nomeIcone);
    QString ExtensaoDaClasse(const QString& classe) const;

    PastasXdg pastas_;
    QMap<QString, QMap<QString, Valor>> valores_;
    bool tipoGravado_ = false;
    bool aplicativoGravado_ = false;
};

// Writes one value; `valor` is text, or for REG_BINARY one byte per character code.
bool GravarRegistro(RegistroTipos& registro, const QString& chave, int32_t tipo,
                    const QString& nomeValor, const QString& valor);

// Registers the type of `extensao` (without its dot, "zpr") with its description
// ("Jogo do Zelpora 3.0"), the program to open it (the running executable,
// QCoreApplication::applicationFilePath()) and its icon: a path to an icon file, or a
// theme icon name. True only when all five steps succeeded.
bool AssociarArquivo(const QString& extensao, const QString& descricao, const QString& programa,
                     const QString& icone);
bool AssociarArquivo(const PastasXdg& pastas, const QString& extensao, const QString& descricao,
                     const QString& programa, const QString& icone);

// The program path as one argument of a desktop entry's Exec line: quoted when it holds
// a blank or a reserved character, with ", `, $ and \ escaped, and % doubled.
QString ArgumentoExec(const QString& programa);

} // namespace zelpo
