#include "CommonDialogCls.h"

#include "Idioma.h"
#include "Mensagem.h"
#include "records/cores.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLocale>
#include <QRegularExpression>
#include <QSortFilterProxyModel>
#include <QTreeView>

#include <algorithm>

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

// The columns of the folder model, and the least room the names keep beside the others.
constexpr int COLUNA_TAMANHO = 1;
constexpr int COLUNA_DATA = 3;
constexpr int LARGURA_MINIMA_NOMES = 120;

std::unique_ptr<CommonDialogCls>& instancia()
{
    static std::unique_ptr<CommonDialogCls> d;
    return d;
}

// The files of the folder shown that match the chosen type's patterns, without regard to
// case; folders always show. Qt's own filter would take the patterns from the
// description's parentheses and match them with the file system's case.
class FiltroPorPadroes : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void DefinirPadroes(const QStringList& padroes)
    {
        padroes_.clear();
        for (const QString& p : padroes)
            padroes_ << QRegularExpression(QRegularExpression::wildcardToRegularExpression(p),
                                           QRegularExpression::CaseInsensitiveOption);
        invalidateFilter();
    }

    // The folder model sorts folders before files: keep its order.
    void sort(int coluna, Qt::SortOrder ordem) override { sourceModel()->sort(coluna, ordem); }

    // The folder model writes sizes and dates by the system's language; the game writes
    // them by its own, Brazilian Portuguese (the default locale, see Idioma.h).
    QVariant data(const QModelIndex& indice, int papel) const override
    {
        if (papel == Qt::DisplayRole && (indice.column() == COLUNA_TAMANHO || indice.column() == COLUNA_DATA)) {
            const auto* pasta = static_cast<const QFileSystemModel*>(sourceModel());
            const QModelIndex item = mapToSource(indice);
            if (indice.column() == COLUNA_DATA)
                return QLocale().toString(pasta->lastModified(item), QLocale::ShortFormat);
            if (!pasta->isDir(item))
                return QLocale().formattedDataSize(pasta->size(item));
        }
        return QSortFilterProxyModel::data(indice, papel);
    }

protected:
    bool filterAcceptsRow(int linha, const QModelIndex& pai) const override
    {
        const auto* pasta = static_cast<const QFileSystemModel*>(sourceModel());
        const QModelIndex item = pasta->index(linha, 0, pai);
        if (padroes_.isEmpty() || pasta->isDir(item))
            return true;
        const QString nome = pasta->fileName(item);
        return std::any_of(padroes_.begin(), padroes_.end(),
                           [&nome](const QRegularExpression& p) { return p.match(nome).hasMatch(); });
    }

private:
    QList<QRegularExpression> padroes_;
};

class DialogoArquivo : public QFileDialog {
public:
    DialogoArquivo(const PedidoArquivo& pedido, QWidget* dono);

protected:
    // Qt's file dialog does not check that the folder of a typed name exists; this one
    // refuses such a name on save and keeps the dialog open, as Qt does with a missing
    // file on open.
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

private:
    void UsarFiltro(qsizetype indice);
    static void AjustarColunas(QTreeView& detalhes);

    QList<FiltroArquivo> filtros_;
    FiltroPorPadroes* padroes_;
};

// Owner, title, the types with the first one chosen, the process's current folder and
// the proposed name.
DialogoArquivo::DialogoArquivo(const PedidoArquivo& pedido, QWidget* dono)
    : QFileDialog(dono), filtros_(Filtros(pedido.filtro)), padroes_(new FiltroPorPadroes(this))
{
    setOption(QFileDialog::DontUseNativeDialog);
    setAcceptMode(pedido.salvar ? AcceptSave : AcceptOpen);
    setFileMode(pedido.salvar ? AnyFile : ExistingFile);
    setDefaultSuffix(pedido.extensao);
    if (!pedido.titulo.isEmpty())
        setWindowTitle(pedido.titulo);
    setProxyModel(padroes_);
    QStringList descricoes;
    for (const FiltroArquivo& f : filtros_)
        descricoes << f.descricao;
    if (!descricoes.isEmpty()) {
        setNameFilters(descricoes);
        selectNameFilter(descricoes.first());
    }
    setDirectory(QDir::currentPath());
    if (!pedido.nome.isEmpty())
        selectFile(pedido.nome);
    UsarFiltro(0);
    connect(this, &QFileDialog::filterSelected, this,
            [this](const QString& descricao) { UsarFiltro(nameFilters().indexOf(descricao)); });
    // Qt sizes the detail columns for English; the Portuguese types and dates need more
    // room, so each folder shown fits them to what it holds, and the names take the rest.
    auto* pasta = qobject_cast<QFileSystemModel*>(padroes_->sourceModel());
    auto* detalhes = findChild<QTreeView*>(QStringLiteral("treeView"));
    if (pasta && detalhes)
        connect(pasta, &QFileSystemModel::directoryLoaded, detalhes, [detalhes] { AjustarColunas(*detalhes); });
}

void DialogoArquivo::AjustarColunas(QTreeView& detalhes)
{
    int ocupado = 0;
    for (int coluna = COLUNA_TAMANHO; coluna <= COLUNA_DATA; ++coluna) {
        detalhes.resizeColumnToContents(coluna);
        ocupado += detalhes.columnWidth(coluna);
    }
    const int resto = detalhes.viewport()->width() - ocupado;
    if (resto >= LARGURA_MINIMA_NOMES)
        detalhes.setColumnWidth(0, resto);
}

// Qt has just given its folder model the patterns it read in the description: the
// folder model lists everything, and our own filter does the matching.
void DialogoArquivo::UsarFiltro(qsizetype indice)
{
    if (auto* pasta = qobject_cast<QFileSystemModel*>(padroes_->sourceModel()))
        pasta->setNameFilters({});
    padroes_->DefinirPadroes(indice >= 0 && indice < filtros_.size() ? filtros_[indice].padroes : QStringList());
}

QString Resposta(QFileDialog& d)
{
    if (d.exec() != QDialog::Accepted)
        return {};
    return d.selectedFiles().value(0);
}

} // namespace

QList<FiltroArquivo> Filtros(const QString& FilterStr)
{
    QStringList itens = FilterStr.split(QLatin1Char('|'));
    if (itens.size() % 2 == 1 && itens.last().isEmpty())
        itens.removeLast();
    QList<FiltroArquivo> filtros;
    for (qsizetype i = 0; i + 1 < itens.size(); i += 2) {
        QStringList padroes = itens[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : padroes)
            p = p.trimmed();
        filtros.append({itens[i].isEmpty() ? itens[i + 1] : itens[i], padroes});
    }
    return filtros;
}

std::unique_ptr<QFileDialog> CriarDialogoArquivo(const PedidoArquivo& pedido, QWidget* dono)
{
    EscreverComoNoBrasil();
    return std::make_unique<DialogoArquivo>(pedido, dono);
}

QString CommonDialogCls::GetOpenName(const QString& WindowTitle, const QString& FilterStr,
                                     const QString& DefaultFileName, QWidget* hwndOwner)
{
    const PedidoArquivo pedido{WindowTitle, FilterStr, DefaultFileName, {}, false};
    if (respostaArquivo())
        return respostaArquivo()(pedido);
    return Resposta(*CriarDialogoArquivo(pedido, hwndOwner));
}

QString CommonDialogCls::GetSaveName(const QString& WindowTitle, const QString& FilterStr, const QString& DefExt,
                                     const QString& DefaultFileName, QWidget* hwndOwner)
{
    const PedidoArquivo pedido{WindowTitle, FilterStr, DefaultFileName, DefExt, true};
    if (respostaArquivo())
        return respostaArquivo()(pedido);
    return Resposta(*CriarDialogoArquivo(pedido, hwndOwner));
}

int32_t CommonDialogCls::PickColor(int32_t Cor, QWidget* hwndOwner)
{
    // the custom slots start as the greys from white down, whatever the player put there
    // the last time
    for (int i = 0; i < CORES_PERSONALIZADAS; ++i) {
        const int cinza = 255 - 16 * i;
        QColorDialog::setCustomColor(i, QColor(cinza, cinza, cinza));
    }
    EscreverComoNoBrasil();
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
