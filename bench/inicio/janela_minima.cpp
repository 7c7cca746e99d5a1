// Qt's own floor for start-up: a 640 x 480 window with a menu bar, in the game's
// button-face colour, and nothing else. bench/inicio/medir_inicio.sh starts it beside the
// game, so that the game's time and memory read against what any Qt window costs.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow janela;
    QPalette paleta = janela.palette();
    paleta.setColor(QPalette::Window, QColor(0xD4, 0xD0, 0xC8));
    janela.setPalette(paleta);
    janela.menuBar()->addMenu(QStringLiteral("&Jogo"))->addAction(QStringLiteral("Sai&r"), &app, &QApplication::quit);
    janela.menuBar()->addMenu(QStringLiteral("Aj&uda"));
    janela.resize(640, 480);
    janela.show();
    return app.exec();
}
