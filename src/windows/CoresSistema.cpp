#include "CoresSistema.h"

#include "fontes.h"

#include <QApplication>
#include <QFont>
#include <QPainter>
#include <QPalette>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleFactory>
#include <QStyleOption>
#include <QWidget>

namespace zelpo {

namespace {

// Qt's "Windows" style, with the default push button framed over its whole rectangle:
// Qt draws that dark frame one pixel short on the right and at the bottom, leaving the
// last column and row of the button unpainted.
class EstiloClassico : public QProxyStyle {
public:
    explicit EstiloClassico(QStyle* windows) : QProxyStyle(windows) {}

    void drawPrimitive(PrimitiveElement elemento, const QStyleOption* opcao, QPainter* p,
                       const QWidget* w) const override
    {
        if (elemento != PE_FrameDefaultButton) {
            QProxyStyle::drawPrimitive(elemento, opcao, p, w);
            return;
        }
        // the band between the button's edge and its bevel, which starts this far inside
        const int largura = pixelMetric(PM_ButtonDefaultIndicator, opcao, w);
        const QRect r = opcao->rect;
        const QColor cor = opcao->palette.shadow().color();
        p->fillRect(r.left(), r.top(), r.width(), largura, cor);
        p->fillRect(r.left(), r.bottom() - largura + 1, r.width(), largura, cor);
        p->fillRect(r.left(), r.top(), largura, r.height(), cor);
        p->fillRect(r.right() - largura + 1, r.top(), largura, r.height(), cor);
    }
};

} // namespace

QColor Cor(CorSistema qual)
{
    switch (qual) {
    case CorSistema::AreaDeTrabalho: return QColor(128, 128, 128);
    case CorSistema::FaceBotao: return QColor(212, 208, 200);
    case CorSistema::SombraBotao: return QColor(128, 128, 128);
    case CorSistema::Realce3D: return QColor(255, 255, 255);
    case CorSistema::Luz3D: return QColor(212, 208, 200);
    case CorSistema::SombraEscura3D: return QColor(64, 64, 64);
    }
    return {};
}

void AplicarPaletaClassica()
{
    QPalette p = QApplication::palette();
    p.setColor(QPalette::Window, Cor(CorSistema::FaceBotao));
    p.setColor(QPalette::Button, Cor(CorSistema::FaceBotao));
    p.setColor(QPalette::Light, Cor(CorSistema::Realce3D));
    p.setColor(QPalette::Midlight, Cor(CorSistema::Luz3D));
    p.setColor(QPalette::Mid, Cor(CorSistema::SombraBotao));
    p.setColor(QPalette::Dark, Cor(CorSistema::SombraBotao));
    p.setColor(QPalette::Shadow, Cor(CorSistema::SombraEscura3D));
    QApplication::setPalette(p);
}

bool EstiloEscolhido(const QStringList& argumentos, const QString& variavelDeAmbiente)
{
    if (!variavelDeAmbiente.isEmpty())
        return true;
    // Qt reads its options with one dash or two, the value after "=" or as the next argument.
    for (qsizetype i = 1; i < argumentos.size(); ++i) {
        QString a = argumentos[i];
        if (a.startsWith(QLatin1String("--")))
            a.remove(0, 1);
        if ((a == QLatin1String("-style") && i + 1 < argumentos.size()) || a.startsWith(QLatin1String("-style=")))
            return true;
    }
    return false;
}

void VestirJanelaClassica(QWidget& janela)
{
    QFont fonte(QStringLiteral("MS Sans Serif"));
    fonte.setPointSizeF(PONTOS_FONTE_JANELA);
    janela.setFont(fonte);
    QPalette paleta = janela.palette();
    paleta.setColor(QPalette::Window, Cor(CorSistema::FaceBotao));
    janela.setPalette(paleta);
}

QString NomeDoEstilo(const QStyle* estilo)
{
    const auto* sobre = qobject_cast<const QProxyStyle*>(estilo);
    return sobre && sobre->baseStyle() ? sobre->baseStyle()->name() : estilo->name();
}

bool TeclaQueFecha(int tecla)
{
    return tecla == Qt::Key_Return || tecla == Qt::Key_Enter || tecla == Qt::Key_Escape;
}

void AplicarAparenciaClassica(bool manterEstilo)
{
    if (!manterEstilo)
        if (QStyle* windows = QStyleFactory::create(QStringLiteral("Windows")))
            QApplication::setStyle(new EstiloClassico(windows));
    MapearFontes();
    QFont fonte(QStringLiteral("MS Sans Serif"));
    fonte.setPixelSize(PIXELS_FONTE_JANELA);
    QApplication::setFont(fonte);
    AplicarPaletaClassica();
}

QPushButton* BotaoOk(QWidget& janela, QSize tamanho)
{
    auto* ok = new QPushButton(QStringLiteral("&Ok"), &janela);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setFixedSize(tamanho);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &janela, &QWidget::close);
    return ok;
}

} // namespace zelpo
