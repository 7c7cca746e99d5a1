#include "frmRecordes.h"

#include "Centralizador.h"
#include "CoresSistema.h"
#include "play/textos.h"
#include "play/relogio.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zelpo {

namespace {

constexpr int MARGEM = 8;
constexpr int ESPACO_COLUNAS = 16;
const QSize TAMANHO_BOTAO(89, 25);

QString DataDe(const Recorde& r)
{
    return r.Data.toLocalTime().toString(QStringLiteral("dd/MM/yyyy HH:mm"));
}

QGroupBox* Grupo(QWidget* pai, const char* nome, const QString& titulo, QGridLayout*& grade)
{
    auto* grupo = new QGroupBox(titulo, pai);
    grupo->setObjectName(QString::fromLatin1(nome));
    grade = new QGridLayout(grupo);
    grade->setHorizontalSpacing(ESPACO_COLUNAS);
    grade->setVerticalSpacing(2);
    grade->setColumnStretch(3, 1);
    return grupo;
}

} // namespace

frmRecordes::frmRecordes(const std::optional<Recorde>& atual, const std::vector<Recorde>& melhores,
                         const std::vector<Recorde>& recentes, QWidget* dono)
    : QDialog(dono, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmRecordes"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Recordes"));
    VestirJanelaClassica(*this);

    QGridLayout* grade = nullptr;
    QGroupBox* deste = Grupo(this, "fraMelhores", QStringLiteral("Melhores tempos deste quebra-cabeça"), grade);
    auto* quebraCabeca = new QLabel(atual ? DescricaoDe(*atual) : QStringLiteral("Nenhum jogo em andamento."), deste);
    quebraCabeca->setObjectName(QStringLiteral("lblQuebraCabeca"));
    grade->addWidget(quebraCabeca, 0, 0, 1, 4);
    for (size_t i = 0; i < melhores.size(); ++i) {
        const Recorde& r = melhores[i];
        const QStringList colunas{QStringLiteral("%1º").arg(i + 1), SegundosParaHora(r.Segundos), DataDe(r)};
        Preencher(grade, static_cast<int>(i) + 1, colunas);
        linhasMelhores_.append(colunas.join(QLatin1Char('\t')));
    }
    if (atual && melhores.empty())
        Preencher(grade, 1, {QStringLiteral("Nenhum tempo registrado.")});

    QGroupBox* recentesGrupo = Grupo(this, "fraRecentes", QStringLiteral("Recordes mais recentes"), grade);
    for (size_t i = 0; i < recentes.size(); ++i) {
        const Recorde& r = recentes[i];
        const QStringList colunas{SegundosParaHora(r.Segundos), DataDe(r), DescricaoDe(r)};
        Preencher(grade, static_cast<int>(i), colunas);
        linhasRecentes_.append(colunas.join(QLatin1Char('\t')));
    }
    if (recentes.empty())
        Preencher(grade, 0, {QStringLiteral("Nenhum tempo registrado.")});

    btnOk = BotaoOk(*this, TAMANHO_BOTAO);

    auto* coluna = new QVBoxLayout(this);
    coluna->setContentsMargins(MARGEM, MARGEM, MARGEM, MARGEM);
    coluna->setSpacing(MARGEM);
    coluna->addWidget(deste);
    coluna->addWidget(recentesGrupo);
    coluna->addWidget(btnOk, 0, Qt::AlignHCenter);
    coluna->setSizeConstraint(QLayout::SetFixedSize);
    Centralizador::Centrar(this, dono);
}

QString frmRecordes::DescricaoDe(const Recorde& recorde)
{
    QString texto = LegendaArea(recorde.Dificuldade, recorde.Colunas, recorde.Linhas);
    if (recorde.Pequenas)
        texto += QStringLiteral(", peças pequenas");
    return recorde.Nome.isEmpty() ? texto : recorde.Nome + QStringLiteral(" - ") + texto;
}

// Only the columns with text get a label, so a short row leaves the others empty.
void frmRecordes::Preencher(QGridLayout* grade, int linha, const QStringList& colunas)
{
    QWidget* grupo = grade->parentWidget();
    for (qsizetype c = 0; c < colunas.size(); ++c) {
        auto* rotulo = new QLabel(colunas[c], grupo);
        const int largura = colunas.size() == 1 ? 4 : 1;
        grade->addWidget(rotulo, linha, static_cast<int>(c), 1, largura);
    }
}

void frmRecordes::keyPressEvent(QKeyEvent* evento)
{
    if (TeclaQueFecha(evento->key()))
        close();
    else
        QDialog::keyPressEvent(evento);
}

// Active once shown, so that Enter and Escape reach it.
void frmRecordes::showEvent(QShowEvent* evento)
{
    QDialog::showEvent(evento);
    activateWindow();
}

} // namespace zelpo
