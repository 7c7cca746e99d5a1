#pragma once
// "Como jogar": a small classic window with the rules a newcomer needs (where a piece fits,
// the starting pieces, the tray keys, playing by keyboard, the best times, the game kept
// through a crash). The main window's "Como jogar" command (F1, under "Ajuda") calls
// MostrarComoJogar; the window is modeless, owned by the main window and centred on it,
// closes with its button, Enter or Escape, and deletes itself then.

#include <QDialog>

class QLabel;
class QPushButton;

namespace zelpo {

class frmComoJogar : public QDialog {
    Q_OBJECT
public:
    explicit frmComoJogar(QWidget* dono = nullptr);

    // The rules as the window shows them (rich text).
    static QString Regras();

    QLabel* lblRegras = nullptr;
    QPushButton* btnOk = nullptr;

protected:
    void keyPressEvent(QKeyEvent* evento) override;
};

// Shows the rules over `dono`; a second call brings the open window to the front.
void MostrarComoJogar(QWidget* dono);

} // namespace zelpo
