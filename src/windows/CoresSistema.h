#pragma once
// The classic desktop look: the system colours that the window drawing names (workspace,
// button face, shadows and highlights), the window font and Qt's classic "Windows" widget
// style. One table serves every window, and start-up sets the application's style,
// palette and font from here, so the widgets and our own drawing agree. main() calls
// AplicarAparenciaClassica once; so do the screenshot tool and the window tests.

#include <QColor>
#include <QStringList>

class QStyle;
class QPushButton;
class QSize;
class QWidget;

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

// Whether the player chose a widget style: "-style NAME" or "-style=NAME" (also with two
// dashes) among the program's arguments, or QT_STYLE_OVERRIDE set to a name. Read the
// arguments before QApplication takes its own options out of them.
bool EstiloEscolhido(const QStringList& argumentos, const QString& variavelDeAmbiente);

// What the small windows share: 8.25-point MS Sans Serif on the button face.
void VestirJanelaClassica(QWidget& janela);
inline constexpr double PONTOS_FONTE_JANELA = 8.25;

// The Ok button of a small window: the default one, of the given size, and it closes the window.
QPushButton* BotaoOk(QWidget& janela, QSize tamanho);

// Enter and Escape close the small windows that have no other use for them.
bool TeclaQueFecha(int tecla);

// The style, palette and font of every window: Qt's "Windows" style unless the player
// chose another (manterEstilo), the classic palette and 8.25-point MS Sans Serif.
void AplicarAparenciaClassica(bool manterEstilo);

// The name of a style as Qt's style factory knows it ("windows"), also under the game's
// own adjustments of the classic style.
QString NomeDoEstilo(const QStyle* estilo);

} // namespace zelpo
