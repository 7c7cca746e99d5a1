#pragma once
// Registration of the ".zpr" type with the desktop, so that a double click on a saved
// puzzle starts the game with the file's path as its one argument. frmZelpo calls
// AssociarArquivo after its first paint on a start whose command line names no file,
// and ignores the result; a failure is silent. A game installed as a package, whose type
// the system's own database already holds, calls RetirarAssociacaoOrfa instead.
//
// For the current user, in this order, stopping at the first failure:
//   1  the program's icon, when it is a file, copied as the type's icon:
//        $XDG_DATA_HOME/icons/hicolor/<size>/mimetypes/application-x-zelpora-zpr.<ext>
//   2  the type: $XDG_DATA_HOME/mime/packages/zelpora-zpr.xml, application/x-zelpora-zpr
//        with the glob *.zpr, the description as its comment and the icon's name
//   3  the program: $XDG_DATA_HOME/applications/zelpora.desktop, Exec=<program> %f
// Both are the files the package installs (resources/desktop), with only what names this
// registration changed: the content rule of the type and the launcher's keywords stay.
//   4  the default: in $XDG_CONFIG_HOME/mimeapps.list, under [Default Applications],
//        application/x-zelpora-zpr=zelpora.desktop; every other line is kept
// A file is written only when its content would change, so a second start writes
// nothing; update-mime-database and update-desktop-database are started, detached, only
// after a file they read was written. mimeapps.list belongs to every program of the
// desktop: it is left alone when it cannot be read whole, and replaced only whole.

#include <QString>

namespace zelpo {

// The user's data and config folders: $XDG_DATA_HOME (else ~/.local/share) and
// $XDG_CONFIG_HOME (else ~/.config); a relative path in the variable is ignored.
struct PastasXdg {
    QString dados;
    QString configuracao;
    static PastasXdg DoAmbiente();
};

// Registers the type of `extensao` (without its dot, "zpr") with its description
// ("Jogo do Zelpora 3.0"), the program to open it (the running executable) and its icon:
// a path to an icon file, or a theme icon name. True only when every step succeeded.
bool AssociarArquivo(const QString& extensao, const QString& descricao, const QString& programa,
                     const QString& icone);
bool AssociarArquivo(const PastasXdg& pastas, const QString& extensao, const QString& descricao,
                     const QString& programa, const QString& icone);

// On a start of a game whose launcher and type the system holds (installed as a package):
// a registration of the player's own, left by a copy of the game whose program is gone,
// would hide the system's launcher behind one that starts nothing. Its launcher, type and
// type icons are removed, and the caches told. A launcher naming a program that exists,
// or one this registration did not write, is left alone. True when it removed one.
bool RetirarAssociacaoOrfa(const QString& extensao);
bool RetirarAssociacaoOrfa(const PastasXdg& pastas, const QString& extensao);

// The program path as one argument of a desktop entry's Exec line: quoted when it holds
// a blank or a reserved character, with ", `, $ and \ escaped, and % doubled.
QString ArgumentoExec(const QString& programa);

} // namespace zelpo
