// Test entry point: the Qt application object that QImage fonts and widgets need,
// always on the offscreen platform so the tests never need a display; the window tests
// get the game's style, palette, font and language.
#include <gtest/gtest.h>

#ifdef ZELPO_JANELAS
#include "CoresSistema.h"
#include "Idioma.h"

#include <QApplication>
using Aplicacao = QApplication;
#else
#include <QGuiApplication>
using Aplicacao = QGuiApplication;
#endif

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    Aplicacao app(argc, argv);
#ifdef ZELPO_JANELAS
    zelpo::AplicarAparenciaClassica(false); // the windows as the player sees them
    zelpo::FalarPortugues();
#endif
    return RUN_ALL_TESTS();
}
