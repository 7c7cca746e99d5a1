#include "Autor.h"

#include "Centralizador.h"
#include "CoresSistema.h"
#include "records/produto.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>

namespace zelpo {

namespace {

constexpr int LARGURA = 356;
constexpr int ALTURA = 420;
constexpr int ESQUERDA_TEXTO = 40;
const QColor COR_MOLDURA(0, 200, 255);
const QColor COR_LINK(0, 0, 255);

std::function<void(const QUrl&)>& abridor()
{
    static std::function<void(const QUrl&)> a;
    return a;
}

void Abrir(const QUrl& endereco)
{
    // whether the desktop could open it is not the player's concern here
    if (abridor())
        abridor()(endereco);
    else
        QDesktopServices::openUrl(endereco);
}

QFont Fonte(const QString& familia, bool negrito = false, bool sublinhado = false)
{
    QFont f(familia);
    f.setPointSizeF(PONTOS_FONTE_JANELA);
    f.setBold(negrito);
    f.setUnderline(sublinhado);
    return f;
}

// A label that sizes itself to its text, with its top-left corner at (x, y).
QLabel* Rotulo(QWidget* pai, const char* nome, const QString& texto, int x, int y)
{
    auto* l = new QLabel(texto, pai);
    l->setObjectName(QString::fromLatin1(nome));
    l->move(x, y);
    return l;
}

} // namespace

const QString Autor::EMAIL = QStringLiteral("zelpora@example.org");
const QString Autor::HOMEPAGE = QStringLiteral("www.example.org/zelpora");

QString TextoVersao(int maior, int menor, int revisao)
{
    const QString m = QString::number(menor).rightJustified(2, QLatin1Char('0'));
    return QStringLiteral("Versão %1.%2.%3.%4").arg(maior).arg(m.front()).arg(m.back()).arg(revisao);
}

Autor::Autor(QWidget* dono) : QDialog(dono, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("Autor"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf8(TITULO_APLICACAO));
    setFont(Fonte(QStringLiteral("MS Sans Serif")));
    QPalette paleta = palette();
    paleta.setColor(QPalette::Window, Qt::white);
    paleta.setColor(QPalette::WindowText, Qt::black);
    setPalette(paleta);
    setAutoFillBackground(true);
    setFixedSize(LARGURA, ALTURA);
    CriarControles();
    Form_Load();
    Centralizador::Centrar(this, dono);
}

void Autor::CriarControles()
{
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(32, 16, 291, 98);
    Image1->setPixmap(QPixmap(QStringLiteral(":/janelas/logotipo.png")));

    lblTitle = Rotulo(this, "lblTitle", {}, ESQUERDA_TEXTO, 136);
    lblTitle->setFont(Fonte(QStringLiteral("MS Sans Serif"), true));
    lblVersion = Rotulo(this, "lblVersion", {}, ESQUERDA_TEXTO, 168);
    lblDireitos = Rotulo(this, "lblDireitos", QStringLiteral("© Equipe Zelpora. Todos os direitos reservados."),
                         ESQUERDA_TEXTO, 184);
    lblEmail = Rotulo(this, "lblEmail", {}, ESQUERDA_TEXTO, 216);
    lblEmail->setFont(Fonte(QStringLiteral("Arial")));
    lblHomePage = Rotulo(this, "lblHomePage", {}, ESQUERDA_TEXTO, 232);
    lblHomePage->setFont(Fonte(QStringLiteral("Arial"), false, true));
    lblFone = Rotulo(this, "lblFone", QStringLiteral("(00) 0000-0000"), ESQUERDA_TEXTO, 250);
    lblCidade = Rotulo(this, "lblCidade", QStringLiteral("Cidade Exemplo - UF"), ESQUERDA_TEXTO, 266);

    const QCursor mao(QPixmap(QStringLiteral(":/janelas/mao.png")), 5, 0);
    for (QLabel* link : {lblEmail, lblHomePage}) {
        QPalette p = link->palette();
        p.setColor(QPalette::WindowText, COR_LINK);
        link->setPalette(p);
        link->setCursor(mao);
        link->installEventFilter(this);
    }

    btnOk = new QPushButton(QStringLiteral("&Ok"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setGeometry(146, 376, 65, 25);
    btnOk->setDefault(true);
    connect(btnOk, &QPushButton::clicked, this, &Autor::btnOk_Click);
}

void Autor::Form_Load()
{
    lblVersion->setText(TextoVersao(VERSAO_MAIOR, VERSAO_MENOR, VERSAO_REVISAO));
    lblTitle->setText(QString::fromUtf8(TITULO_APLICACAO));
    lblEmail->setText(EMAIL);
    lblHomePage->setText(HOMEPAGE);
    lblEmail->setToolTip(lblEmail->text());
    lblHomePage->setToolTip(lblHomePage->text());
    for (QLabel* l : {lblTitle, lblVersion, lblDireitos, lblEmail, lblHomePage, lblFone, lblCidade})
        l->adjustSize();
}

QUrl Autor::EnderecoPagina(const QString& texto)
{
    static const QRegularExpression comEsquema(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    return QUrl(texto.contains(comEsquema) ? texto : QStringLiteral("http://") + texto);
}

void Autor::lblEmail_Click()
{
    Abrir(QUrl(QStringLiteral("mailto:") + lblEmail->text()));
}

void Autor::lblHomePage_Click()
{
    Abrir(EnderecoPagina(lblHomePage->text()));
}

void Autor::btnOk_Click()
{
    close();
}

void Autor::DefinirAbridor(std::function<void(const QUrl&)> a)
{
    abridor() = std::move(a);
}

void Autor::paintEvent(QPaintEvent*)
{
    // two one-pixel outlines, the second inside the first
    QPainter p(this);
    const int w = width();
    const int h = height();
    for (int i = 0; i < 2; ++i) {
        p.fillRect(i, i, w - 2 * i, 1, COR_MOLDURA);
        p.fillRect(i, h - 1 - i, w - 2 * i, 1, COR_MOLDURA);
        p.fillRect(i, i, 1, h - 2 * i, COR_MOLDURA);
        p.fillRect(w - 1 - i, i, 1, h - 2 * i, COR_MOLDURA);
    }
}

void Autor::keyPressEvent(QKeyEvent* evento)
{
    if (TeclaQueFecha(evento->key()))
        close();
    else
        QDialog::keyPressEvent(evento);
}

bool Autor::eventFilter(QObject* objeto, QEvent* evento)
{
    if (evento->type() == QEvent::MouseButtonRelease) {
        auto* m = static_cast<QMouseEvent*>(evento);
        auto* rotulo = qobject_cast<QLabel*>(objeto);
        if (rotulo && m->button() == Qt::LeftButton && rotulo->rect().contains(m->position().toPoint())) {
            if (rotulo == lblEmail)
                lblEmail_Click();
            else if (rotulo == lblHomePage)
                lblHomePage_Click();
            return true;
        }
    }
    return QDialog::eventFilter(objeto, evento);
}

} // namespace zelpo
