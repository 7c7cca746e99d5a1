#pragma once
// The file and colour choosers behind one object, so that a caller asks for a name or a
// colour with a single call and gets a plain answer: a full path or "", a colour number
// or -1. The main window uses it to open and save games, the new-puzzle dialog to pick
// the border colour. One instance serves the program (Dialogo()); the main window lets
// go of it at exit (LiberarDialogo()). Qt's own dialogs are used, never the desktop's,
// so they look and answer the same everywhere; tests answer them through a hook
// instead of a player. The file types show exactly as the callers describe them, and the
// patterns behind them match names without regard to case, as on the classic desktop.

#include <QColor>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>

class QColorDialog;
class QFileDialog;
class QWidget;

namespace zelpo {

// One file type of a filter text: the description the list shows and its patterns.
struct FiltroArquivo {
    QString descricao;
    QStringList padroes;
    bool operator==(const FiltroArquivo&) const = default;
};

// "desc|pattern;pattern|desc|pattern" as the callers write it, in order. A trailing "|"
// adds nothing; a type without a description shows its patterns as written.
QList<FiltroArquivo> Filtros(const QString& FilterStr);

// What a file dialog is asked for: tests answer this instead of a player.
struct PedidoArquivo {
    QString titulo;
    QString filtro;   // as the caller wrote it, "desc|pattern|desc|pattern"
    QString nome;     // the name proposed
    QString extensao; // added when the player types none (save only)
    bool salvar = false;
};

// The file dialog that a request shows, ready to run; the answer is its first selected
// file once accepted. Tests look at it without running it.
std::unique_ptr<QFileDialog> CriarDialogoArquivo(const PedidoArquivo& pedido, QWidget* dono);

class CommonDialogCls {
public:
    // Tests: the file hook answers a request with a path ("" cancels) and no dialog is
    // built; the colour hook receives the dialog ready to show and answers in its place
    // with QDialog::Accepted or QDialog::Rejected, after choosing a colour in it.
    using RespostaArquivo = std::function<QString(const PedidoArquivo&)>;
    using RespostaCor = std::function<int(QColorDialog&)>;

    QString GetOpenName(const QString& WindowTitle = {}, const QString& FilterStr = {},
                        const QString& DefaultFileName = {}, QWidget* hwndOwner = nullptr);
    QString GetSaveName(const QString& WindowTitle = {}, const QString& FilterStr = {},
                        const QString& DefExt = {}, const QString& DefaultFileName = {},
                        QWidget* hwndOwner = nullptr);
    int32_t PickColor(int32_t Cor, QWidget* hwndOwner = nullptr);

    // Tests: an empty function restores the real, modal dialogs.
    static void DefinirRespostaArquivo(RespostaArquivo r);
    static void DefinirRespostaCor(RespostaCor r);

    static constexpr int CORES_PERSONALIZADAS = 16;
};

// The shared instance, created on first use.
CommonDialogCls& Dialogo();
void LiberarDialogo();

} // namespace zelpo
