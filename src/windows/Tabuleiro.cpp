#include "Tabuleiro.h"

#include "Acessivel.h"
#include "CoresSistema.h"
#include "fontes.h"
#include "play/encaixe.h"
#include "play/textos.h"
#include "records/aleatorio.h"

#include <QAccessible>
#include <QChildEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QWheelEvent>

#include <algorithm>

namespace zelpo {

namespace {
constexpr QPoint INICIO_MENSAGEM(ESQUERDA_AREA, 4);
constexpr QPoint FIM_MENSAGEM(545, 18);
constexpr int TOPO_AREA = 20;
constexpr int LINHA_MENSAGEM = 19; // the rule under the message line
constexpr int DISTANCIA_LEGENDA = 7;
constexpr QRect RETANGULO_HORA(581, 4, 56, 14);
} // namespace

// The loose pieces lie over everything else of the board, the tray's scroll bar and the
// clock included, as a piece in hand passes over them; the mouse goes through this layer
// to the board, which finds the piece under it.
class Tabuleiro::Camada : public QWidget {
public:
    explicit Camada(Tabuleiro& tabuleiro) : QWidget(&tabuleiro), tabuleiro_(tabuleiro)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setGeometry(tabuleiro.rect());
    }

protected:
    void paintEvent(QPaintEvent* e) override
    {
        QPainter p(this);
        tabuleiro_.PintarPecas(p, e->region());
    }

private:
    Tabuleiro& tabuleiro_;
};

Tabuleiro::Tabuleiro(QWidget* pai) : QWidget(pai)
{
    setObjectName(QStringLiteral("tabuleiro"));
    setFixedSize(LARGURA_CLIENTE, ALTURA_CLIENTE);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    NovaTela(devicePixelRatioF());

    picHora_ = new QLabel(this);
    picHora_->setObjectName(QStringLiteral("picHora"));
    picHora_->setGeometry(RETANGULO_HORA);
    picHora_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picHora_->setFont(FonteJanela());
    picHora_->setAutoFillBackground(true); // the window's own colour, so only the text shows
    camada_ = new Camada(*this);
}

Tabuleiro::~Tabuleiro() = default;

// --- the surface ----------------------------------------------------------------------

void Tabuleiro::NovaTela(double escala)
{
    escala_ = escala;
    escalaAvisada_ = false;
    tela_ = QImage((QSizeF(LARGURA_CLIENTE, ALTURA_CLIENTE) * escala).toSize(), QImage::Format_RGB32);
    tela_.setDevicePixelRatio(escala);
    tela_.fill(palette().color(QPalette::Window));
    update();
}

void Tabuleiro::Linha(QPoint de, QPoint ate, const QColor& cor)
{
    // Only straight lines are drawn here; the end point is left out.
    const QPoint passo((ate.x() > de.x()) - (ate.x() < de.x()), (ate.y() > de.y()) - (ate.y() < de.y()));
    if (escala_ == 1) {
        for (QPoint p = de; p != ate; p += passo)
            if (tela_.rect().contains(p))
                tela_.setPixelColor(p, cor);
    } else if (de != ate) {
        QPainter p(&tela_);
        p.fillRect(QRect(de, ate - passo).normalized(), cor);
    }
    update(QRect(de, ate).normalized());
}

void Tabuleiro::Caixa(QPoint de, QPoint ate, const QColor& cor)
{
    const QRect caixa = QRect(de, ate).normalized();
    QPainter p(&tela_);
    if (escala_ == 1) {
        p.setPen(cor);
        p.drawRect(caixa.adjusted(0, 0, -1, -1));
    } else { // four lines a pixel wide on the board, whatever the screen's pixels
        p.fillRect(QRect(caixa.topLeft(), QSize(caixa.width(), 1)), cor);
        p.fillRect(QRect(caixa.bottomLeft(), QSize(caixa.width(), 1)), cor);
        p.fillRect(QRect(caixa.topLeft(), QSize(1, caixa.height())), cor);
        p.fillRect(QRect(caixa.topRight(), QSize(1, caixa.height())), cor);
    }
    update(caixa);
}

void Tabuleiro::Preencher(QPoint de, QPoint ate, const QColor& cor)
{
    QPainter p(&tela_);
    p.fillRect(QRect(de, ate).normalized(), cor);
    update(QRect(de, ate).normalized());
}

void Tabuleiro::Circulo(QPoint centro, int raio, const QColor& cor)
{
    QPainter p(&tela_);
    p.setRenderHint(QPainter::Antialiasing, escala_ != 1);
    p.setPen(cor);
    p.drawEllipse(centro, raio, raio);
    update(QRect(centro, centro).adjusted(-raio - 1, -raio - 1, raio + 1, raio + 1));
}

void Tabuleiro::Escrever(QPoint topoEsquerdo, const QString& texto, const QFont& fonte, const QColor& cor)
{
    QPainter p(&tela_);
    p.setFont(fonte);
    p.setPen(cor);
    p.drawText(topoEsquerdo + QPoint(0, p.fontMetrics().ascent()), texto);
    update();
}

QRect Tabuleiro::RetanguloMensagem()
{
    return QRect(INICIO_MENSAGEM, FIM_MENSAGEM);
}

QRect Tabuleiro::RetanguloArea()
{
    return QRect(QPoint(ESQUERDA_AREA, TOPO_AREA), QPoint(DIREITA_AREA, ALTURA_CLIENTE - 1));
}

void Tabuleiro::DesenharMoldura(const QRect& barra)
{
    // The sunken well of the tray, left of the scroll bar: dark lines top and left, light
    // lines bottom and right, two pixels deep.
    const int L = barra.x();
    const int H = barra.height();
    poco_ = QRect(QPoint(8, 4), QPoint(L - 1, H + 4));
    Preencher(poco_.topLeft(), poco_.bottomRight(), Cor(CorSistema::AreaDeTrabalho));
    Caixa(poco_.topLeft(), poco_.bottomRight(), Cor(CorSistema::Realce3D));
    Linha({8, 4}, {8, H + 4}, Cor(CorSistema::SombraBotao));
    Linha({8, 4}, {L - 1, 4}, Cor(CorSistema::SombraBotao));
    Caixa({9, 5}, {L - 2, H + 3}, Cor(CorSistema::Luz3D));
    Linha({9, 5}, {9, H + 3}, Cor(CorSistema::SombraEscura3D));
    Linha({9, 5}, {L - 2, 5}, Cor(CorSistema::SombraEscura3D));

    // the rule under the message line and the small mark beside the clock
    const QColor sombra = Cor(CorSistema::SombraBotao);
    Linha({ESQUERDA_AREA, LINHA_MENSAGEM}, {DIREITA_AREA, LINHA_MENSAGEM}, sombra);
    Linha({556, 19}, {556, 11}, sombra);
    Linha({556, 11}, {574, 11}, sombra);
    Circulo({576, 11}, 2, sombra);
}

void Tabuleiro::TextoPartesIniciais(const QString& texto)
{
    Preencher(INICIO_MENSAGEM, FIM_MENSAGEM, palette().color(QPalette::Window));
    if (!texto.isEmpty())
        Escrever(INICIO_MENSAGEM, texto, FonteJanela(), Qt::black);
    if (texto != mensagem_) {
        mensagem_ = texto;
        Anunciar(int(FilhoDoTabuleiro::Mensagem), QAccessible::NameChanged);
    }
}

void Tabuleiro::DesenharArea(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2, const QString& legenda)
{
    Preencher({ESQUERDA_AREA, TOPO_AREA}, {DIREITA_AREA, ALTURA_CLIENTE - 1}, palette().color(QPalette::Window));
    Preencher({X1, Y1}, {X2, Y2}, Cor(CorSistema::AreaDeTrabalho));
    Caixa({X1, Y1}, {X2, Y2}, Cor(CorSistema::SombraBotao));
    Linha({X1, Y1}, {X1, Y2}, Cor(CorSistema::Realce3D));
    Linha({X1, Y1}, {X2, Y1}, Cor(CorSistema::Realce3D));
    legenda_ = legenda;
    if (legenda.isEmpty())
        return;
    const int largura = QFontMetrics(FonteJanela()).horizontalAdvance(legenda);
    const int esquerda = static_cast<int>(CLng(X1 + ((X2 - X1) - largura) / 2.0));
    Escrever({esquerda, Y2 + DISTANCIA_LEGENDA}, legenda, FonteJanela(), Qt::black);
}

void Tabuleiro::AreaInicial()
{
    DesenharArea(AREA_INICIAL.left(), AREA_INICIAL.top(), AREA_INICIAL.right(), AREA_INICIAL.bottom(), {});
}

void Tabuleiro::ExibirHora(const QString& texto)
{
    picHora_->setText(texto);
    picHora_->setAccessibleName(QStringLiteral("Tempo de jogo ") + texto);
}

QString Tabuleiro::NomeDaPeca(int16_t peca) const
{
    return descricao_.nome ? descricao_.nome(peca) : QString();
}

QRect Tabuleiro::LugarDaPeca(int16_t peca) const
{
    if (Visivel(peca))
        return Retangulo(peca);
    return descricao_.lugar ? descricao_.lugar(peca) : QRect();
}

namespace {
std::function<void(int, int)>& Ouvinte()
{
    static std::function<void(int, int)> ouvinte;
    return ouvinte;
}
} // namespace

void Tabuleiro::DefinirOuvinte(std::function<void(int, int)> ouvinte)
{
    Ouvinte() = std::move(ouvinte);
}

void Tabuleiro::Anunciar(int filho, int evento) const
{
    if (Ouvinte())
        Ouvinte()(filho, evento);
    QAccessibleEvent aviso(const_cast<Tabuleiro*>(this), static_cast<QAccessible::Event>(evento));
    if (filho >= 0)
        aviso.setChild(filho);
    QAccessible::updateAccessibility(&aviso);
}

void Tabuleiro::DefinirSituacao(const QString& situacao)
{
    if (situacao == situacao_)
        return;
    situacao_ = situacao;
    Anunciar(-1, QAccessible::DescriptionChanged);
}

// --- the pieces -----------------------------------------------------------------------

void Tabuleiro::Montar(PecasMontadas pecas, const Geometria& g)
{
    OcultarTodas();
    DefinirFoco(-1, marcarFoco_);
    geo_ = g;
    celula_ = g.TamanhoCelula;
    pecas_ = std::move(pecas);
    frente_.clear();
    for (int i = 0; i < Pecas(); ++i)
        frente_.push_back(static_cast<int16_t>(i));
}

void Tabuleiro::Limpar()
{
    OcultarTodas();
    DefinirFoco(-1, marcarFoco_);
    pecas_ = PecasMontadas();
    frente_.clear();
    soltas_.fill({});
}

void Tabuleiro::EscreverNaPeca(int16_t peca, QPoint topoEsquerdo, const QString& texto)
{
    // in the window's font and colour, pixels of the colour or untouched, with no blend
    // into the picture
    QFont fonte = font();
    fonte.setStyleStrategy(QFont::NoAntialias);
    QPainter pintor(&pecas_.Figura(peca));
    pintor.setRenderHint(QPainter::TextAntialiasing, false);
    pintor.setFont(fonte);
    pintor.setPen(palette().color(QPalette::WindowText));
    pintor.drawText(topoEsquerdo + QPoint(0, pintor.fontMetrics().ascent()), texto);
    pintor.end();
    if (Visivel(peca))
        camada_->update(Retangulo(peca));
}

void Tabuleiro::Colar(int16_t peca, QPoint lugar)
{
    if (pecas_.Escala() == 1) {
        ColarNoTabuleiro(tela_, pecas_.Forma(peca), pecas_.Figura(peca), lugar);
    } else { // a picture clear outside its outline needs no shape
        QPainter p(&tela_);
        p.drawImage(lugar, pecas_.Figura(peca));
    }
    update(QRect(lugar, QSize(celula_, celula_)));
}

QRect Tabuleiro::Retangulo(int16_t peca) const
{
    return QRect(soltas_[peca].posicao, QSize(celula_, celula_));
}

void Tabuleiro::Mostrar(int16_t peca, QPoint topoEsquerdo)
{
    Solta& s = soltas_[peca];
    if (s.visivel && s.posicao == topoEsquerdo)
        return;
    if (s.visivel)
        camada_->update(Retangulo(peca));
    s.posicao = topoEsquerdo;
    s.visivel = true;
    camada_->update(Retangulo(peca));
}

void Tabuleiro::Ocultar(int16_t peca)
{
    Solta& s = soltas_[peca];
    if (!s.visivel)
        return;
    s.visivel = false;
    camada_->update(Retangulo(peca));
}

void Tabuleiro::OcultarTodas()
{
    for (int16_t i = 0; i < MAX_PECAS; ++i)
        Ocultar(i);
}

void Tabuleiro::Elevar(int16_t peca)
{
    const auto onde = std::find(frente_.begin(), frente_.end(), peca);
    if (onde == frente_.end() || onde + 1 == frente_.end())
        return;
    std::rotate(onde, onde + 1, frente_.end());
    if (Visivel(peca))
        camada_->update(Retangulo(peca));
}

bool Tabuleiro::Visivel(int16_t peca) const
{
    return peca >= 0 && peca < MAX_PECAS && soltas_[peca].visivel;
}

QPoint Tabuleiro::Posicao(int16_t peca) const
{
    return soltas_[peca].posicao;
}

int16_t Tabuleiro::PecaEm(QPoint ponto) const
{
    for (auto i = frente_.rbegin(); i != frente_.rend(); ++i) {
        if (!Visivel(*i))
            continue;
        const QPoint naPeca = ponto - soltas_[*i].posicao;
        if (pecas_.Escala() == 1 ? pecas_.Forma(*i).contains(naPeca)
                                 : pecas_.Caminho(*i).contains(QPointF(naPeca) + QPointF(0.5, 0.5)))
            return *i;
    }
    return -1;
}

// --- events ---------------------------------------------------------------------------

QRect Tabuleiro::RetanguloDoFoco() const
{
    if (!marcarFoco_ || !Visivel(foco_))
        return {};
    // round the piece's body, two pixels out into the band
    const QPoint corpo = soltas_[foco_].posicao + QPoint(geo_.m(), geo_.m());
    return QRect(corpo, QSize(geo_.TamanhoParte, geo_.TamanhoParte)).adjusted(-2, -2, 2, 2);
}

void Tabuleiro::DefinirFoco(int16_t peca, bool marcar)
{
    if (peca == foco_ && marcar == marcarFoco_)
        return;
    camada_->update(RetanguloDoFoco());
    const bool outra = peca != foco_;
    foco_ = peca;
    marcarFoco_ = marcar;
    camada_->update(RetanguloDoFoco());
    if (outra && peca >= 0 && hasFocus())
        Anunciar(int(FilhoDoTabuleiro::PrimeiraPeca) + peca, QAccessible::Focus);
}

void Tabuleiro::PintarPecas(QPainter& p, const QRegion& regiao) const
{
    for (int16_t i : frente_) {
        if (!Visivel(i) || !regiao.intersects(Retangulo(i)))
            continue;
        if (pecas_.Escala() == 1)
            p.setClipRegion(pecas_.Forma(i).translated(soltas_[i].posicao) & regiao);
        p.drawImage(soltas_[i].posicao, pecas_.Figura(i));
    }
    if (const QRect foco = RetanguloDoFoco(); !foco.isEmpty() && regiao.intersects(foco)) {
        p.setClipRegion(regiao);
        QStyleOptionFocusRect opcao;
        opcao.initFrom(this);
        opcao.rect = foco;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &opcao, &p, this);
    }
}

void Tabuleiro::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    if (escala_ == 1)
        p.drawImage(e->rect(), tela_, e->rect());
    else // the surface counts the screen's pixels
        p.drawImage(QRectF(e->rect()), tela_, QRectF(QPointF(e->rect().topLeft()) * escala_, QSizeF(e->rect().size()) * escala_));
    if (devicePixelRatioF() != escala_ && !escalaAvisada_) {
        escalaAvisada_ = true; // the window went to a screen of another scale
        QMetaObject::invokeMethod(this, &Tabuleiro::escalaMudou, Qt::QueuedConnection);
    }
    if (!pintada_) {
        pintada_ = true;
        Q_EMIT pintada();
    }
}

void Tabuleiro::childEvent(QChildEvent* e)
{
    QWidget::childEvent(e);
    // whatever the board gets later (the tray's scroll bar) lies under the loose pieces
    if (e->added() && camada_ && e->child() != camada_ && e->child()->isWidgetType())
        camada_->raise();
}

void Tabuleiro::mousePressEvent(QMouseEvent* e)
{
    const int16_t peca = PecaEm(e->position().toPoint());
    if (peca >= 0)
        Q_EMIT pressionada(peca, e->position() - QPointF(soltas_[peca].posicao));
}

void Tabuleiro::mouseMoveEvent(QMouseEvent* e)
{
    Q_EMIT movida(e->buttons(), e->position().toPoint());
}

void Tabuleiro::mouseReleaseEvent(QMouseEvent* e)
{
    Q_EMIT solta(e->position().toPoint());
}

void Tabuleiro::wheelEvent(QWheelEvent* e)
{
    e->ignore();
    Q_EMIT roda(e);
}

void Tabuleiro::keyPressEvent(QKeyEvent* e)
{
    if (teclado_ && teclado_(e->key(), e->modifiers()))
        e->accept();
    else
        QWidget::keyPressEvent(e);
}

// Tab and Shift+Tab walk the pieces of the tray while there are some, rather than the
// window's controls.
bool Tabuleiro::focusNextPrevChild(bool proximo)
{
    if (teclado_ && teclado_(proximo ? Qt::Key_Tab : Qt::Key_Backtab, Qt::NoModifier))
        return true;
    return QWidget::focusNextPrevChild(proximo);
}

} // namespace zelpo
