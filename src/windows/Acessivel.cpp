#include "Acessivel.h"

#include "Tabuleiro.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QScrollBar>

#include <map>

namespace zelpo {

namespace {

constexpr int PRIMEIRA_PECA = int(FilhoDoTabuleiro::PrimeiraPeca);

QRect NaTela(const Tabuleiro& t, const QRect& r)
{
    return r.isEmpty() ? QRect() : QRect(t.mapToGlobal(r.topLeft()), r.size());
}

// One of the board's drawn children: a line of text, the tray, or a piece.
class FilhoDesenhado : public QAccessibleInterface {
public:
    FilhoDesenhado(QAccessibleInterface* pai, Tabuleiro& tabuleiro, int indice)
        : pai_(pai), tabuleiro_(tabuleiro), indice_(indice)
    {
    }
    bool isValid() const override { return indice_ < PRIMEIRA_PECA || Peca() < tabuleiro_.Pecas(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return pai_->window(); }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return pai_; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    void setText(QAccessible::Text, const QString&) override {}

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name)
            return {};
        switch (static_cast<FilhoDoTabuleiro>(std::min(indice_, PRIMEIRA_PECA))) {
        case FilhoDoTabuleiro::Mensagem: return tabuleiro_.Mensagem().isEmpty() ? QStringLiteral("Mensagem") : tabuleiro_.Mensagem();
        case FilhoDoTabuleiro::Legenda: return tabuleiro_.Legenda().isEmpty() ? QStringLiteral("Tabuleiro vazio") : tabuleiro_.Legenda();
        case FilhoDoTabuleiro::Bandeja: return QStringLiteral("Bandeja de peças");
        default: return tabuleiro_.NomeDaPeca(Peca());
        }
    }
    QRect rect() const override
    {
        switch (static_cast<FilhoDoTabuleiro>(std::min(indice_, PRIMEIRA_PECA))) {
        case FilhoDoTabuleiro::Mensagem: return NaTela(tabuleiro_, Tabuleiro::RetanguloMensagem());
        case FilhoDoTabuleiro::Legenda: return NaTela(tabuleiro_, Tabuleiro::RetanguloArea());
        case FilhoDoTabuleiro::Bandeja: return NaTela(tabuleiro_, tabuleiro_.PocoDaBandeja());
        default: return NaTela(tabuleiro_, tabuleiro_.LugarDaPeca(Peca()));
        }
    }
    QAccessible::Role role() const override
    {
        if (indice_ == int(FilhoDoTabuleiro::Bandeja))
            return QAccessible::List;
        return indice_ < PRIMEIRA_PECA ? QAccessible::StaticText : QAccessible::Graphic;
    }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (indice_ < PRIMEIRA_PECA)
            return s;
        s.focusable = tabuleiro_.Visivel(Peca());
        s.focused = tabuleiro_.hasFocus() && tabuleiro_.Foco() == Peca();
        s.invisible = tabuleiro_.LugarDaPeca(Peca()).isEmpty();
        return s;
    }

private:
    int16_t Peca() const { return static_cast<int16_t>(indice_ - PRIMEIRA_PECA); }

    QAccessibleInterface* pai_;
    Tabuleiro& tabuleiro_;
    int indice_;
};

// The board: its drawn children, and the clock and the scroll bar, which are widgets.
class TabuleiroAcessivel : public QAccessibleWidget {
public:
    explicit TabuleiroAcessivel(Tabuleiro* t) : QAccessibleWidget(t, QAccessible::Client, QStringLiteral("Tabuleiro")) {}
    ~TabuleiroAcessivel() override
    {
        for (const auto& [indice, id] : filhos_)
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return PRIMEIRA_PECA + T().Pecas(); }
    QAccessibleInterface* child(int indice) const override
    {
        if (indice < 0 || indice >= childCount())
            return nullptr;
        if (indice == int(FilhoDoTabuleiro::Relogio))
            return QAccessible::queryAccessibleInterface(T().Relogio());
        if (indice == int(FilhoDoTabuleiro::Rolagem))
            return QAccessible::queryAccessibleInterface(T().findChild<QScrollBar*>());
        auto& id = filhos_[indice];
        if (!id)
            id = QAccessible::registerAccessibleInterface(
                new FilhoDesenhado(const_cast<TabuleiroAcessivel*>(this), T(), indice));
        return QAccessible::accessibleInterface(id);
    }
    int indexOfChild(const QAccessibleInterface* filho) const override
    {
        for (int i = 0; i < childCount(); ++i)
            if (child(i) == filho)
                return i;
        return -1;
    }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Description ? T().Situacao() : QAccessibleWidget::text(t);
    }
    QAccessibleInterface* focusChild() const override
    {
        return T().hasFocus() && T().Foco() >= 0 ? child(PRIMEIRA_PECA + T().Foco()) : nullptr;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QPoint ponto = T().mapFromGlobal(QPoint(x, y));
        if (const int16_t peca = T().PecaEm(ponto); peca >= 0)
            return child(PRIMEIRA_PECA + peca);
        return QAccessibleWidget::childAt(x, y);
    }

private:
    Tabuleiro& T() const { return *static_cast<Tabuleiro*>(widget()); }
    mutable std::map<int, QAccessible::Id> filhos_;
};

QAccessibleInterface* Fabrica(const QString& classe, QObject* objeto)
{
    if (classe == QLatin1String("zelpo::Tabuleiro") && objeto && objeto->isWidgetType())
        return new TabuleiroAcessivel(static_cast<Tabuleiro*>(objeto));
    return nullptr;
}

} // namespace

void InstalarAcessibilidade()
{
    static const bool instalada = [] {
        QAccessible::installFactory(Fabrica);
        return true;
    }();
    (void)instalada;
}

} // namespace zelpo
