#include "CommonDialogCls.h"

#include "Mensagem.h"
#include "game/cores.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

#include <memory>

namespace zelpo {

namespace {

CommonDialogCls::RespostaArquivo& respostaArquivo()
{
    static CommonDialogCls::RespostaArquivo r;
    return r;
}

CommonDialogCls::RespostaCor& respostaCor()
{
    static CommonDialogCls::RespostaCor r;
    return r;
}

std::unique_ptr<CommonDialogCls>& instancia()
{
    static std::unique_ptr<CommonDialogCls> d;
    return d;
}

// Qt's file dialog does not check that the folder of a typed name exists; this one
// refuses such a name on save and keeps the dialog open, as Qt does with a missing file
// on open.
class DialogoArquivo : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

protected:
    void accept() override
    {
        if (acceptMode() == AcceptSave) {
            const QFileInfo escolhido(selectedFiles().value(0));
            if (!escolhido.filePath().isEmpty() && !escolhido.isDir() && !escolhido.absoluteDir().exists()) {
                MostrarMensagem(this, QMessageBox::Warning, windowTitle(),
                                ComCaminho(QStringLiteral("A pasta não existe."), escolhido.absolutePath()));
                return;
            }
        }
        QFileDialog::accept();
    }
};

// What both file dialogs share: owner, title, filters with the first one selected, the
// process's current folder and the proposed name.
void Preparar(QFileDialog& d, const QString& titulo, const QString& filtro, const QString& nome)
{
    d.setOption(QFileDialog::DontUseNativeDialog);
    if (!titulo.isEmpty())
        d.setWindowTitle(titulo);
    const QStringList filtros = FiltrosQt(filtro);
    if (!filtros.isEmpty()) {
        d.setNameFilters(filtros);
        d.selectNameFilter(filtros.first());
    }
    d.setDirectory(QDir::currentPath());
    if (!nome.isEmpty())
        d.selectFile(nome);
}

QString Resposta(QFileDialog& d)
{
    if (d.exec() != QDialog::Accepted)
        return {};
    return d.selectedFiles().value(0);
}

} // namespace

QStringList FiltrosQt(const QString& FilterStr)
{
    // Qt reads the patterns from the last parentheses of a filter, so a description that
    // already shows its patterns there ("GIF (*.gif)") gives them up for the real list.
    static const QRegularExpression padroesNaDescricao(QStringLiteral(R"(\s*\([^()]*[*?][^()]*\)\s*$)"));
    QStringList itens = FilterStr.split(QLatin1Char('|'));
    if (itens.size() % 2 == 1 && itens.last().isEmpty())
        itens.removeLast();
    QStringList filtros;
    for (qsizetype i = 0; i + 1 < itens.size(); i += 2) {
        QStringList padroes = itens[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : padroes)
            p = p.trimmed();
        const QString lista = padroes.join(QLatin1Char(' '));
        QString descricao = itens[i];
        descricao.remove(padroesNaDescricao);
        descricao = descricao.trimmed();
        filtros << (descricao.isEmpty() ? lista : descricao) + QStringLiteral(" (") + lista + QLatin1Char(')');
    }
    return filtros;
}

QString CommonDialogCls::GetOpenName(const QString& WindowTitle, const QString& FilterStr,
                                     const QString& DefaultFileName, QWidget* hwndOwner)
{
    if (respostaArquivo())
        return respostaArquivo()({WindowTitle, FilterStr, DefaultFileName, {}, false});
    DialogoArquivo d(hwndOwner);
    d.setAcceptMode(QFileDialog::AcceptOpen);
    d.setFileMode(QFileDialog::ExistingFile);
    Preparar(d, WindowTitle, FilterStr, DefaultFileName);
    return Resposta(d);
}

QString CommonDialogCls::GetSaveName(const QString& WindowTitle, const QString& FilterStr, const QString& DefExt,
                                     const QString& DefaultFileName, QWidget* hwndOwner)
{
    if (respostaArquivo())
        return respostaArquivo()({WindowTitle, FilterStr, DefaultFileName, DefExt, true});
    DialogoArquivo d(hwndOwner);
    d.setAcceptMode(QFileDialog::AcceptSave);
    d.setFileMode(QFileDialog::AnyFile);
    d.setDefaultSuffix(DefExt);
    Preparar(d, WindowTitle, FilterStr, DefaultFileName);
    return Resposta(d);
}

int32_t CommonDialogCls::PickColor(int32_t Cor, QWidget* hwndOwner)
{
    // the custom slots start as the greys from white down, whatever the player put there
    // the last time
    for (int i = 0; i < CORES_PERSONALIZADAS; ++i) {
        const int cinza = 255 - 16 * i;
        QColorDialog::setCustomColor(i, QColor(cinza, cinza, cinza));
    }
    QColorDialog d(CorDoNumero(Cor), hwndOwner);
    d.setOption(QColorDialog::DontUseNativeDialog);
    const int r = respostaCor() ? respostaCor()(d) : d.exec();
    if (r != QDialog::Accepted)
        return -1;
    return NumeroDaCor(d.currentColor());
}

void CommonDialogCls::DefinirRespostaArquivo(RespostaArquivo r)
{
    respostaArquivo() = std::move(r);
}

void CommonDialogCls::DefinirRespostaCor(RespostaCor r)
{
    respostaCor() = std::move(r);
}

CommonDialogCls& Dialogo()
{
    if (!instancia())
        instancia() = std::make_unique<CommonDialogCls>();
    return *instancia();
}

void LiberarDialogo()
{
    instancia().reset();
}

} // namespace zelpo
