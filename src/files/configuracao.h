#pragma once
// The player's options between runs: six keys of the section "Zelpora 3.0" in the
// per-user settings store of the application "Brumas Vivas". frmZelpo calls LerCFG
// when it loads and SalvarCFG when it unloads; nothing else touches the store. The
// store keeps text: Booleans as "True"/"False", numbers in decimal. A text that does
// not convert (a hand-edited file) gives the key's default, as an absent key does.

#include "game/jogo.h"

#include <QSettings>

#include <memory>

namespace zelpo {

inline constexpr char APLICACAO_CFG[] = "Brumas Vivas";
inline constexpr char SECAO_CFG[] = "Zelpora 3.0";

// The per-user INI file of "Brumas Vivas" under the user's config folder.
std::unique_ptr<QSettings> AbrirConfiguracao();

// Reads the six keys; every field is assigned, from the store or from its default.
void LerCFG(QSettings& store, Opcoes& opcoes);
// Writes all six keys, changed or not, and flushes the store.
void SalvarCFG(QSettings& store, const Opcoes& opcoes);

} // namespace zelpo
