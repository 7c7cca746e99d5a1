#pragma once
// A main window on a temporary program folder, a fixed seed, a clock the test moves by
// hand, a temporary settings file and every message box answered by the test.

#include "Mensagem.h"
#include "PecaWidget.h"
#include "frmZelpo.h"

#include <QImage>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace zelpo::teste {

struct JanelaDeTeste {
    QTemporaryDir pasta;
    int32_t ticks = 5'000'000;
    std::vector<PedidoMensagem> mensagens;
    QMessageBox::StandardButton resposta = QMessageBox::Yes;
    std::unique_ptr<frmZelpo> janela;

    // A program folder whose Facil/ holds one w x h picture in a few colours.
    explicit JanelaDeTeste(int w = 192, int h = 192, int dificuldade = 1, uint64_t semente = 7)
    {
        for (const char* sub : {"Facil", "Medio", "Dificil"})
            QDir(pasta.path()).mkpath(QString::fromLatin1(sub));
        QImage figura(w, h, QImage::Format_RGB32);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                figura.setPixel(x, y, qRgb(x * 255 / w, y * 255 / h, (x ^ y) & 0xFF));
        for (const char* sub : {"Facil", "Medio", "Dificil"})
            figura.save(pasta.path() + QLatin1Char('/') + QLatin1String(sub) + QStringLiteral("/figura.bmp"));
        {
            QSettings cfg(ArquivoConfiguracao(), QSettings::IniFormat);
            cfg.setValue(QStringLiteral("Zelpora 3.0/Dificuldade"), QString::number(dificuldade));
        }
        DefinirRespondedor([this](const PedidoMensagem& m) {
            mensagens.push_back(m);
            return resposta;
        });
        Ambiente amb;
        amb.pastaPrograma = pasta.path();
        amb.semente = semente;
        amb.ticks = [this] { return ticks; };
        amb.configuracao = [this] {
            return std::make_unique<QSettings>(ArquivoConfiguracao(), QSettings::IniFormat);
        };
        amb.associar = false;
        janela = std::make_unique<frmZelpo>(amb);
    }
    ~JanelaDeTeste()
    {
        resposta = QMessageBox::No; // leave without saving
        if (janela)
            janela->close();
        janela.reset();
        DefinirRespondedor({});
    }
    QString ArquivoConfiguracao() const { return pasta.path() + QStringLiteral("/config.ini"); }
    frmZelpo& w() { return *janela; }
};

} // namespace zelpo::teste
