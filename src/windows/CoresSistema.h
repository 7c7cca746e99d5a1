#pragma once
// The classic system colours that the window drawing names (workspace, button face,
// shadows and highlights). One table serves every window, and the application palette
// is set from it at start-up so the widgets and our own drawing agree.

#include <QColor>

namespace zelpo {

enum class CorSistema {
    AreaDeTrabalho,  // application workspace: the tray well and the board area
    FaceBotao,       // button face: window and dialog backgrounds
    SombraBotao,     // button shadow
    Realce3D,        // 3D highlight
    Luz3D,           // 3D light
    SombraEscura3D,  // 3D dark shadow
};

QColor Cor(CorSistema qual);

// Sets the application palette's window and button colours from the table above.
void AplicarPaletaClassica();

} // namespace zelpo
