#pragma once
// The main window's client area, which draws itself: a surface that keeps what is drawn
// on it (the tray well, the message line, the board area with its caption, the pieces
// pasted onto the board) and, over it, the loose pieces, each its picture inside its
// outline, in the order in which they were last brought to the front. The clock box is a
// child of the board. It owns the drawing caches of the puzzle in play (piece pictures,
// shapes, the mask that pastes a placed piece), rebuilt with every puzzle.
//
// It knows nothing of the rules: the tray says where its pieces stand, the piece
// interactor moves the one held, the main window writes the texts; presses on a piece,
// moves, releases and the wheel come back as signals. Coordinates are the main window's
// client coordinates of the game's layout. The surface follows the classic line rules: a
// line leaves out its end point, a box (outline or filled) includes both corners.

#include "pieces/formas.h"
#include "records/jogo.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRegion>
#include <QWidget>

#include <array>
#include <functional>
#include <vector>

class QLabel;
class QPainter;

namespace zelpo {

class Tabuleiro : public QWidget {
    Q_OBJECT
public:
    explicit Tabuleiro(QWidget* pai);
    ~Tabuleiro() override;

    // --- the surface ----------------------------------------------------------------------
    // The surface and the pieces are held at the screen's device pixel ratio: at 1 pixel for
    // pixel as the classic game drew them, at any other from the picture's own detail, the
    // lines a board pixel wide and the outlines smooth.
    double Escala() const { return escala_; }
    // Whether the board has reached the screen yet.
    bool Pintada() const { return pintada_; }
    // A fresh surface, all of the window's colour, at another ratio (escalaMudou).
    void NovaTela(double escala);
    const QImage& Tela() const { return tela_; }
    void Linha(QPoint de, QPoint ate, const QColor& cor);
    void Caixa(QPoint de, QPoint ate, const QColor& cor);
    void Preencher(QPoint de, QPoint ate, const QColor& cor);
    void Circulo(QPoint centro, int raio, const QColor& cor);
    void Escrever(QPoint topoEsquerdo, const QString& texto, const QFont& fonte, const QColor& cor);

    // The sunken well of the tray, left of `barra` (the tray's scroll bar), the rule under
    // the message line and the mark beside the clock.
    void DesenharMoldura(const QRect& barra);
    // Where the message line, the board area with its caption, and the tray's well lie.
    static QRect RetanguloMensagem();
    static QRect RetanguloArea();
    const QRect& PocoDaBandeja() const { return poco_; }
    // The message line: erased, then `texto` written when there is one.
    void TextoPartesIniciais(const QString& texto);
    // The board area (X1, Y1)-(X2, Y2) over an erased board, with `legenda` centred under it.
    void DesenharArea(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2, const QString& legenda);
    // The empty board before any picture.
    void AreaInicial();
    void ExibirHora(const QString& texto);

    // --- the pieces -----------------------------------------------------------------------
    // The pictures, shapes and mask of a new puzzle; every piece hidden, in index order.
    void Montar(PecasMontadas pecas, const Geometria& g);
    // No puzzle: no pieces.
    void Limpar();
    int Pecas() const { return pecas_.Quantas(); }
    const QImage& Figura(int16_t peca) const { return pecas_.Figura(peca); }
    // Text written onto a piece's picture, which stays until the pictures are replaced.
    void EscreverNaPeca(int16_t peca, QPoint topoEsquerdo, const QString& texto);
    // A placed piece onto the surface at `lugar`, through its shape.
    void Colar(int16_t peca, QPoint lugar);

    // Loose pieces: shown with their picture's top-left corner at a point, hidden, or
    // brought in front of every other.
    void Mostrar(int16_t peca, QPoint topoEsquerdo);
    void Ocultar(int16_t peca);
    void OcultarTodas();
    void Elevar(int16_t peca);
    bool Visivel(int16_t peca) const;
    QPoint Posicao(int16_t peca) const;
    // The frontmost shown piece whose outline holds the point, or -1.
    int16_t PecaEm(QPoint ponto) const;
    // The piece that takes the keyboard (-1: none), with a dotted focus mark round its body
    // when `marcar`.
    void DefinirFoco(int16_t peca, bool marcar);
    int16_t Foco() const { return foco_; }
    // What a screen reader is told of a piece: its name, and its place on the board once
    // it is placed there (a loose piece's place is where it is shown).
    struct Descricao {
        std::function<QString(int16_t)> nome;
        std::function<QRect(int16_t)> lugar;
    };
    void DefinirDescricao(Descricao descricao) { descricao_ = std::move(descricao); }
    QString NomeDaPeca(int16_t peca) const;
    QRect LugarDaPeca(int16_t peca) const;
    const QString& Mensagem() const { return mensagem_; }
    const QString& Legenda() const { return legenda_; }
    QLabel* Relogio() const { return picHora_; }
    // Tells a screen reader that one of the board's children (Acessivel.h) changed; -1:
    // the board itself.
    void Anunciar(int filho, int evento) const;
    // Tests hear what the board tells a screen reader here, as (child, event); an empty
    // function stops it. (Without an accessibility bus, Qt passes nothing on.)
    static void DefinirOuvinte(std::function<void(int, int)> ouvinte);
    // How the game stands, in words, as the board's description ("" while in play).
    void DefinirSituacao(const QString& situacao);
    const QString& Situacao() const { return situacao_; }
    // Who hears the keys given to the board, Tab and Shift+Tab included; it returns true
    // for the keys it took.
    void DefinirTeclado(std::function<bool(int, Qt::KeyboardModifiers)> teclado) { teclado_ = std::move(teclado); }

Q_SIGNALS:
    // A press on a piece, at that point of its picture.
    void pressionada(int16_t peca, QPointF ponto);
    void movida(Qt::MouseButtons botoes, QPoint ponto);
    void solta(QPoint ponto);
    void roda(QWheelEvent* evento);
    void pintada(); // the first time the board reaches the screen
    // The board now shows on a screen of another device pixel ratio than its drawing's.
    void escalaMudou();

protected:
    void paintEvent(QPaintEvent* e) override;
    void childEvent(QChildEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool focusNextPrevChild(bool proximo) override;

private:
    class Camada;
    struct Solta {
        QPoint posicao;
        bool visivel = false;
    };
    QRect Retangulo(int16_t peca) const;
    QRect RetanguloDoFoco() const;
    void PintarPecas(QPainter& p, const QRegion& regiao) const;

    QImage tela_;
    QLabel* picHora_ = nullptr;
    Camada* camada_ = nullptr;
    Geometria geo_;
    int celula_ = 0;
    mutable PecasMontadas pecas_; // each piece made when it is first drawn or hit
    double escala_ = 1;
    bool escalaAvisada_ = false;
    std::array<Solta, MAX_PECAS> soltas_{};
    std::vector<int16_t> frente_; // back to front
    int16_t foco_ = -1;
    bool marcarFoco_ = false;
    std::function<bool(int, Qt::KeyboardModifiers)> teclado_;
    Descricao descricao_;
    QString mensagem_, legenda_, situacao_;
    QRect poco_; // the tray's well, as last drawn
    bool pintada_ = false;
};

} // namespace zelpo
