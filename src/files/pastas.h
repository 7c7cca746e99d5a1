#pragma once
// The picture folders of the three difficulties, and the list of the pictures one holds,
// sorted as a file manager sorts them. A new random game picks one of them.

#include "records/tipos.h"

#include <QString>
#include <QStringList>

namespace zelpo {

// Folder of a difficulty's pictures under `base`: Facil, Medio, or Dificil for any other value.
QString PastaDaDificuldade(const QString& base, int dificuldade);

// The hidden file list of a picture folder: a path, a pattern, and the sorted names.
class ListaArquivos {
public:
    QString Path;
    QString Pattern = PadraoDasFiguras();
    // Reads the folder again; returns "" or a description of why it cannot be read.
    QString Refresh();
    int ListCount() const { return static_cast<int>(nomes_.size()); }
    QString List(int i) const { return nomes_.value(i); }

private:
    QStringList nomes_;
};

} // namespace zelpo
