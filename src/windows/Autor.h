#pragma once
// The about window: logo, title, version, rights notice and the author's contact data,
// with the e-mail and home-page addresses as links to the mail program and the browser.
// The main window's "Autor" command shows it modeless, owned by the main window; it
// lives on its own until its button, Enter or Escape closes it, and deletes itself then.

#include <QDialog>
#include <QString>
#include <QUrl>

#include <functional>

class QLabel;
class QPushButton;

namespace zelpo {

// "Versão 3.0.6.263": the minor number is written with at least two digits and shown as
// its first and last characters joined by a dot.
QString TextoVersao(int maior, int menor, int revisao);

class Autor : public QDialog {
    Q_OBJECT
public:
    explicit Autor(QWidget* dono = nullptr);

    static const QString EMAIL;
    static const QString HOMEPAGE;

    QLabel* Image1 = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDireitos = nullptr;
    QLabel* lblEmail = nullptr;
    QLabel* lblHomePage = nullptr;
    QLabel* lblFone = nullptr;
    QLabel* lblCidade = nullptr;
    QPushButton* btnOk = nullptr;

    // The address behind the home-page text: a bare host gets "http://".
    static QUrl EnderecoPagina(const QString& texto);

    // Tests: links go to `a` instead of the desktop (an empty function restores it).
    static void DefinirAbridor(std::function<void(const QUrl&)> a);

public Q_SLOTS:
    void lblEmail_Click();
    void lblHomePage_Click();
    void btnOk_Click();

protected:
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent* evento) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void CriarControles();
    void Form_Load();
};

} // namespace zelpo
