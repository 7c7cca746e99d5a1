// Replays a fuzzing corpus through the fuzz target, one file at a time, so that every
// input the fuzzer ever kept (and every crash it ever found) is checked in each test run.
// Usage: zelpo_repetir_zpr FOLDER
#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho);

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    const QDir pasta(QString::fromLocal8Bit(argv[1]));
    const QStringList arquivos = pasta.entryList(QDir::Files, QDir::Name);
    for (const QString& nome : arquivos) {
        QFile f(pasta.filePath(nome));
        if (!f.open(QIODevice::ReadOnly))
            return 1;
        const QByteArray b = f.readAll();
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(b.constData()), static_cast<size_t>(b.size()));
    }
    std::printf("%lld inputs replayed\n", static_cast<long long>(arquivos.size()));
    return arquivos.isEmpty() ? 1 : 0;
}
