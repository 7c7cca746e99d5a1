#pragma once
// The player's options between runs: six keys of the section "Zelpora 3.0" in the
// per-user settings file of the maker, "Brumas Vivas". frmZelpo calls LerCFG when it
// loads and SalvarCFG when it unloads; nothing else touches the file. It keeps text:
// Booleans as "True"/"False", numbers in decimal. A text that does not convert (a
// hand-edited file) gives the key's default, as an absent key does; so does a file that
// is not a regular file (it is never waited on).

#include "records/jogo.h"

#include <QString>

namespace zelpo {

// $XDG_CONFIG_HOME/Brumas Vivas/Brumas Vivas.ini, in the INI form Qt's settings read.
QString CaminhoConfiguracao();

// The six keys, each from the file or from its default.
Opcoes LerCFG(const QString& arquivo);
// Writes all six keys, changed or not: "" on success, else what went wrong. The
// previous file stays whole when the write fails.
QString SalvarCFG(const QString& arquivo, const Opcoes& opcoes);

} // namespace zelpo
