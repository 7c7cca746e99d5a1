#pragma once
// "Visualizar": a little tool window that shows the whole picture of the puzzle in play,
// 24 pixels a grid cell, in an etched frame. The main window opens it (menu and F9)
// modeless, as its owner, with a fresh instance each time; it goes away at the first
// click, key, or switch to another window of the program, and then reports where it
// stood (fechada), which the owner keeps for the next showing. Deletes itself on close.

#include "records/jogo.h"

#include <QImage>
#include <QPoint>
#include <QWidget>

namespace zelpo {

class frmPreview : public QWidget {
    Q_OBJECT
public:
    // miniatura: the picture at 24 pixels a cell; its top-left colunas x linhas cells are
    // shown. `canto`: where its frame's top-left corner goes (PreviewLeft, PreviewTop).
    frmPreview(QPoint canto, const QImage& miniatura, int colunas, int linhas, QWidget* dono);

    // What the window shows, client area size: for tests and for the look.
    const QImage& Desenho() const { return desenho_; }
    QPoint CantoFigura() const { return cantoFigura_; }

    // Client size for a grid: never narrower than 129 nor lower than 65.
    static QSize TamanhoCliente(int colunas, int linhas);

Q_SIGNALS:
    // The window closes with its frame's top-left corner at `canto`.
    void fechada(QPoint canto);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void showEvent(QShowEvent* evento) override;
    void changeEvent(QEvent* evento) override;
    bool event(QEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;

private:
    void Form_Load(QPoint canto, const QImage& miniatura, int colunas, int linhas);
    void Form_Unload();

    QImage desenho_;
    QPoint cantoFigura_;
};

} // namespace zelpo
