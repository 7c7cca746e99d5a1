#include "fontes.h"

#include <QFont>
#include <QStringList>

namespace zelpo {

void MapearFontes()
{
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"),
                               {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")});
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
}

QFont FonteJanela()
{
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(PIXELS_FONTE_JANELA);
    f.setBold(true);
    return f;
}

} // namespace zelpo
