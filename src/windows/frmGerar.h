#pragma once
// "Criar o zelpora": the small modal dialog in which the player sets up the next puzzle
// before a picture is cut (difficulty, small pieces, fitting the picture, border colour).
// The main window calls SelecionarDificuldade for the Novo command and before cutting
// an opened picture. The dialog starts from the player's options and, on OK only,
// returns them as chosen; the caller applies them. Until OK the colour being chosen lives
// in the colour button alone.

#include "records/jogo.h"

#include <QDialog>
#include <QPushButton>

#include <cstdint>
#include <functional>
#include <optional>

class QCheckBox;
class QGroupBox;
class QRadioButton;

namespace zelpo {

// A push button that shows a picture on a face of a chosen colour, raised, or sunken
// while pressed; the picture's transparent parts let the colour through.
class BotaoCor : public QPushButton {
    Q_OBJECT
public:
    explicit BotaoCor(QWidget* pai = nullptr);
    int32_t CorAtual() const { return cor_; }
    void DefinirCor(int32_t numero);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    int32_t cor_ = COR_BORDA_PADRAO;
};

class frmGerar : public QDialog {
    Q_OBJECT
public:
    explicit frmGerar(const Opcoes& opcoes, QWidget* dono = nullptr);

    // The options as chosen, once OK was pressed; nothing otherwise.
    const std::optional<Opcoes>& Escolhidas() const { return escolhidas_; }

    QPushButton* btnOk = nullptr;
    QPushButton* btnCancelar = nullptr;
    QGroupBox* Frame1 = nullptr;
    QRadioButton* optFacil = nullptr;
    QRadioButton* optMedio = nullptr;
    QRadioButton* optDificil = nullptr;
    BotaoCor* btnBorda = nullptr;
    QCheckBox* chkPequenas = nullptr;
    QCheckBox* chkAdaptar = nullptr;

    // Tests: SelecionarDificuldade hands the loaded dialog to `e` instead of running it
    // modally (an empty function restores exec()).
    static void DefinirExibicao(std::function<void(frmGerar&)> e);

public Q_SLOTS:
    void btnOk_Click();
    void btnCancelar_Click();
    void btnBorda_Click();

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void CriarControles();
    void Form_Load();
    bool Form_KeyPress(QWidget* foco);

    Opcoes opcoes_;
    std::optional<Opcoes> escolhidas_;
};

// Shows the dialog for the next puzzle, starting from `atuais`: the options chosen if the
// player pressed OK, nothing if the dialog was cancelled.
std::optional<Opcoes> SelecionarDificuldade(const Opcoes& atuais, QWidget* dono);

} // namespace zelpo
