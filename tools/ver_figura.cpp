// Loads pictures as the game does and writes what came out as PNG files, for looking at
// decoded metafiles and bitmaps with the eye. Each picture is composited on navy, so that
// its transparent parts show; metafiles are also drawn anew at a third of their size.
// Build: make zelpo_ver_figura; run: ./zelpo_ver_figura folder picture...
#include "pieces/figura.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>

#include <cstdio>

namespace {

const QColor FUNDO(0, 0, 128);

bool Salvar(const QImage& imagem, const QString& caminho)
{
    QImage quadro(imagem.size(), QImage::Format_RGB32);
    quadro.fill(FUNDO);
    QPainter pintor(&quadro);
    pintor.drawImage(0, 0, imagem);
    pintor.end();
    return quadro.save(caminho);
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList argumentos = app.arguments();
    if (argumentos.size() < 3) {
        std::fprintf(stderr, "uso: %s pasta figura...\n", argv[0]);
        return 2;
    }
    const QDir pasta(argumentos[1]);
    int falhas = 0;
    for (const QString& arquivo : argumentos.mid(2)) {
        const zelpo::ResultadoFigura r = zelpo::CarregarFigura(arquivo);
        if (!r.figura) {
            std::printf("%s: %s\n", qPrintable(arquivo), qPrintable(r.erro));
            ++falhas;
            continue;
        }
        const QImage& imagem = r.figura->imagem;
        const QString base = pasta.filePath(QFileInfo(arquivo).completeBaseName());
        Salvar(imagem, base + QStringLiteral(".png"));
        if (r.figura->desenhar) {
            Salvar(r.figura->desenhar(imagem.size() / 3), base + QStringLiteral("_terco.png"));
        }
        std::printf("%s: %d x %d%s\n", qPrintable(arquivo), imagem.width(), imagem.height(),
                    r.figura->metarquivo ? " (metarquivo)" : "");
    }
    return falhas == 0 ? 0 : 1;
}
