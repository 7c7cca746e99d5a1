#include "frmComoJogar.h"

#include "Centralizador.h"
#include "CoresSistema.h"
#include "files/recordes.h"
#include "records/jogo.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zelpo {

namespace {

constexpr int LARGURA_TEXTO = 440;
constexpr int MARGEM = 12;
constexpr QSize TAMANHO_BOTAO(65, 25);

// One paragraph under its heading.
QString Secao(const QString& titulo, const QString& texto)
{
    return QStringLiteral("<p><b>%1</b><br>%2</p>").arg(titulo, texto);
}

} // namespace

QString frmComoJogar::Regras()
{
    const auto iniciais = [](int dificuldade) {
        return QStringLiteral("%1 %2").arg(NomeDificuldade(dificuldade)).arg(PartesIniciaisPara(dificuldade));
    };
    return Secao(QStringLiteral("Objetivo"),
                 QStringLiteral("Monte a figura no tabuleiro com as peças da bandeja, à esquerda. "
                                "O relógio marca o tempo de jogo."))
        + Secao(QStringLiteral("Peças iniciais"),
                QStringLiteral("Comece escolhendo as peças iniciais na bandeja (%1, %2, %3): "
                               "cada uma vai direto para o seu lugar.")
                    .arg(iniciais(1), iniciais(2), iniciais(3)))
        + Secao(QStringLiteral("Encaixe"),
                QStringLiteral("Arraste as peças para o tabuleiro. Uma peça só se encaixa ao lado de uma "
                               "peça já colocada (também na diagonal) e quando é solta a até %1 pixels do "
                               "seu lugar; senão, volta para a bandeja.")
                    .arg(TOLERANCIA_ENCAIXE))
        + Secao(QStringLiteral("Bandeja"),
                QStringLiteral("As setas, Page Up, Page Down, Home, End e a roda do mouse rolam a bandeja."))
        + Secao(QStringLiteral("Jogar pelo teclado"),
                QStringLiteral("Tab e Shift+Tab escolhem uma peça da bandeja. Enter ou Espaço pega a peça "
                               "(ou coloca uma peça inicial). Com a peça na mão, as setas a movem uma casa "
                               "no tabuleiro, Enter ou Espaço a solta e Esc a devolve à bandeja."))
        + Secao(QStringLiteral("Recordes"),
                QStringLiteral("Os %1 melhores tempos de cada quebra-cabeça ficam guardados: veja-os em "
                               "Ajuda &gt; Recordes.")
                    .arg(RECORDES_POR_QUEBRA_CABECA))
        + Secao(QStringLiteral("Jogo protegido"),
                QStringLiteral("Se o Zelpora fechar de repente (uma falha, falta de energia), o jogo em "
                               "andamento é oferecido de volta na próxima vez que ele for aberto."));
}

frmComoJogar::frmComoJogar(QWidget* dono)
    : QDialog(dono, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmComoJogar"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Como jogar"));
    VestirJanelaClassica(*this);

    lblRegras = new QLabel(Regras(), this);
    lblRegras->setObjectName(QStringLiteral("lblRegras"));
    lblRegras->setTextFormat(Qt::RichText);
    lblRegras->setWordWrap(true);
    lblRegras->setFixedWidth(LARGURA_TEXTO);

    btnOk = BotaoOk(*this, TAMANHO_BOTAO);

    auto* coluna = new QVBoxLayout(this);
    coluna->setContentsMargins(MARGEM, MARGEM, MARGEM, MARGEM);
    coluna->setSpacing(MARGEM);
    coluna->addWidget(lblRegras);
    coluna->addWidget(btnOk, 0, Qt::AlignHCenter);
    coluna->setSizeConstraint(QLayout::SetFixedSize);
    coluna->activate(); // the wrapped text's height fixes the window's size before it shows
    Centralizador::Centrar(this, dono);
}

void frmComoJogar::keyPressEvent(QKeyEvent* evento)
{
    if (TeclaQueFecha(evento->key()))
        close();
    else
        QDialog::keyPressEvent(evento);
}

void MostrarComoJogar(QWidget* dono)
{
    auto* janela = dono ? dono->findChild<frmComoJogar*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!janela)
        janela = new frmComoJogar(dono);
    janela->show();
    janela->raise();
    janela->activateWindow();
}

} // namespace zelpo
