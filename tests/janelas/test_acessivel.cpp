// What a screen reader finds in the main window during play, through Qt's accessibility
// interfaces: every object named, the pieces as the board's children with their number
// and where they are, the clock in words; and what it is told as the game moves on.
#include "Acessivel.h"
#include "ambiente_teste.h"

using namespace zelpo;
using zelpo::teste::JanelaDeTeste;

namespace {

void Percorrer(QAccessibleInterface* i, const std::function<void(QAccessibleInterface*)>& visitar)
{
    visitar(i);
    for (int c = 0; c < i->childCount(); ++c)
        if (QAccessibleInterface* filho = i->child(c))
            Percorrer(filho, visitar);
}

// The events the board sends a screen reader, as (child, kind); the board itself is child -1.
std::vector<std::pair<int, QAccessible::Event>> eventos;

QString Nome(frmZelpo& w, int peca)
{
    QAccessibleInterface* tabuleiro = QAccessible::queryAccessibleInterface(&w.tabuleiro());
    return tabuleiro->child(int(FilhoDoTabuleiro::PrimeiraPeca) + peca)->text(QAccessible::Name);
}

} // namespace

TEST(Acessivel, TudoNomeadoEAvisado)
{
    eventos.clear();
    Tabuleiro::DefinirOuvinte([](int filho, int tipo) { eventos.emplace_back(filho, QAccessible::Event(tipo)); });
    JanelaDeTeste t;
    frmZelpo& w = t.w();
    w.Iniciar({});
    int pecas = 0;
    Percorrer(QAccessible::queryAccessibleInterface(&w), [&pecas](QAccessibleInterface* i) {
        if (i->role() != QAccessible::Separator) {
            EXPECT_FALSE(i->text(QAccessible::Name).isEmpty()) << "role " << i->role();
        }
        pecas += i->role() == QAccessible::Graphic;
    });
    EXPECT_EQ(pecas, 9);
    t.Passar(82);
    EXPECT_EQ(t.Hora()->accessibleName(), QStringLiteral("Tempo de jogo 00:01:22"));

    const int primeira = t.jogo().PartesRolagem[0];
    EXPECT_EQ(Nome(w, primeira), QStringLiteral("Peça %1 de 9, na bandeja").arg(primeira + 1));
    t.Tecla(Qt::Key_Return);
    EXPECT_EQ(Nome(w, primeira), QStringLiteral("Peça %1 de 9, encaixada").arg(primeira + 1));
    const auto houve = [](int filho, QAccessible::Event tipo) {
        return std::find(eventos.begin(), eventos.end(), std::pair(filho, tipo)) != eventos.end();
    };
    EXPECT_TRUE(houve(int(FilhoDoTabuleiro::PrimeiraPeca) + primeira, QAccessible::NameChanged)) << "the fit is told";
    EXPECT_TRUE(houve(int(FilhoDoTabuleiro::Mensagem), QAccessible::NameChanged)) << "the new prompt is told";
    t.Tecla(Qt::Key_Return);
    t.Tecla(Qt::Key_Return);
    const int segura = t.jogo().PartesRolagem[0];
    t.Tecla(Qt::Key_Return);
    EXPECT_EQ(Nome(w, segura), QStringLiteral("Peça %1 de 9, segura").arg(segura + 1));
    t.Tecla(Qt::Key_Escape);
    t.Tecla(Qt::Key_Tab);
    EXPECT_TRUE(houve(int(FilhoDoTabuleiro::PrimeiraPeca) + w.tabuleiro().Foco(), QAccessible::Focus));
    t.Jogar(-1);
    EXPECT_TRUE(houve(-1, QAccessible::DescriptionChanged)) << "the end is told";
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(&w.tabuleiro())->text(QAccessible::Description)
                    .startsWith(QStringLiteral("Quebra-cabeça completo em ")));
    Tabuleiro::DefinirOuvinte({});
}
