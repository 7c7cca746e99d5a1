#include "CoresSistema.h"

#include <QApplication>
#include <QPalette>

namespace zelpo {

QColor Cor(CorSistema qual)
{
    switch (qual) {
    case CorSistema::AreaDeTrabalho: return QColor(128, 128, 128);
    case CorSistema::FaceBotao: return QColor(212, 208, 200);
    case CorSistema::SombraBotao: return QColor(128, 128, 128);
    case CorSistema::Realce3D: return QColor(255, 255, 255);
    case CorSistema::Luz3D: return QColor(212, 208, 200);
    case CorSistema::SombraEscura3D: return QColor(64, 64, 64);
    }
    return {};
}

void AplicarPaletaClassica()
{
    QPalette p = QApplication::palette();
    p.setColor(QPalette::Window, Cor(CorSistema::FaceBotao));
    p.setColor(QPalette::Button, Cor(CorSistema::FaceBotao));
    p.setColor(QPalette::Light, Cor(CorSistema::Realce3D));
    p.setColor(QPalette::Midlight, Cor(CorSistema::Luz3D));
    p.setColor(QPalette::Mid, Cor(CorSistema::SombraBotao));
    p.setColor(QPalette::Dark, Cor(CorSistema::SombraBotao));
    p.setColor(QPalette::Shadow, Cor(CorSistema::SombraEscura3D));
    QApplication::setPalette(p);
}

} // namespace zelpo
