#pragma once
// The file and colour choosers behind one object, so that a caller asks for a name or a
// colour with a single call and gets a plain answer: a full path or "", a colour number
// or -1. The main window uses it to open and save games, the new-puzzle dialog to pick
// the border colour. One instance serves the program (Dialogo()); the main window lets
// go of it at exit (LiberarDialogo()). Qt's own dialogs are used, never the desktop's,
// so they look and answer the same everywhere; tests answer them through a hook
// instead of a player.

#include <QColor>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

class QColorDialog;
class QWidget;

namespace zelpo {

// "desc|pattern;pattern|desc|pattern" as the callers write it, as Qt name filters
// ("desc (pattern pattern)"), in order. A trailing "|" adds nothing.
QStringList FiltrosQt(const QString& FilterStr);

// What a file dialog is asked for: tests answer this instead of a player.
struct PedidoArquivo {
    QString titulo;
    QString filtro;   // as the caller wrote it, "desc|pattern|desc|pattern"
    QString nome;     // the name proposed
    QString extensao; // added when the player types none (save only)
    bool salvar = false;
};

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
