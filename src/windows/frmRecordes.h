#pragma once
// "Recordes": a small window with the best times of the puzzle on the board and the
// newest records of every puzzle, in the classic look of the game's other small windows
// (button-face background, MS Sans Serif). The main window's "Recordes" command (under
// "Ajuda") reads the table and shows it modeless, owned by the main window; its button,
// Enter or Escape closes it, and it deletes itself then. It only shows what it is given.

#include "files/recordes.h"

#include <QDialog>
#include <QStringList>

#include <optional>
#include <vector>

class QGridLayout;
class QPushButton;

namespace zelpo {

class frmRecordes : public QDialog {
    Q_OBJECT
public:
    // `atual`: the puzzle on the board (none without a game), with its best times.
    frmRecordes(const std::optional<Recorde>& atual, const std::vector<Recorde>& melhores,
                const std::vector<Recorde>& recentes, QWidget* dono);

    // The rows as shown, their columns joined by tabs.
    const QStringList& LinhasMelhores() const { return linhasMelhores_; }
    const QStringList& LinhasRecentes() const { return linhasRecentes_; }

    // "farol.jpg - Médio - 30 peças - 6 x 5", and the piece size when small.
    static QString DescricaoDe(const Recorde& recorde);

    QPushButton* btnOk = nullptr;

protected:
    void keyPressEvent(QKeyEvent* evento) override;
    void showEvent(QShowEvent* evento) override;

private:
    void Preencher(QGridLayout* grade, int linha, const QStringList& colunas);

    QStringList linhasMelhores_;
    QStringList linhasRecentes_;
};

} // namespace zelpo
