#include "files/zpr.h"

#include "game/aleatorio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <limits>
#include <utility>

namespace zelpo {

namespace {

// Blanks only: a tab or a line break is part of the text.
template <typename Texto> Texto SemEspacos(const Texto& t)
{
    qsizetype ini = 0, fim = t.size();
    while (ini < fim && t[ini] == ' ')
        ++ini;
    while (fim > ini && t[fim - 1] == ' ')
        --fim;
    return t.mid(ini, fim - ini);
}

// --- writing --------------------------------------------------------------------------

class Escritor {
public:
    void Int16(int16_t v) { Int32Bytes(static_cast<uint16_t>(v), 2); }
    void Int32(int32_t v) { Int32Bytes(static_cast<uint32_t>(v), 4); }
    void Flag(bool v) { Int16(v ? VERDADEIRO : FALSO); }
    void Bytes(const QByteArray& b) { dados_.append(b); }
    QByteArray Resultado() && { return std::move(dados_); }

private:
    void Int32Bytes(uint32_t v, int n)
    {
        for (int i = 0; i < n; ++i)
            dados_.append(static_cast<char>((v >> (8 * i)) & 0xFF));
    }
    QByteArray dados_;
};

QByteArray ExtensaoGravada(const QString& extensao)
{
    QByteArray b = SemEspacos(extensao).toLatin1().left(TAMANHO_EXTENSAO_ZPR);
    return b.leftJustified(TAMANHO_EXTENSAO_ZPR, ' ');
}

// --- reading --------------------------------------------------------------------------

// Reads fields in order; the first read that runs past the end names the field that
// is missing, and every later read is a no-op.
class Leitor {
public:
    explicit Leitor(const QByteArray& dados) : dados_(dados) {}

    int16_t Int16(const char* campo) { return static_cast<int16_t>(Natural(2, campo)); }
    int32_t Int32(const char* campo) { return static_cast<int32_t>(Natural(4, campo)); }
    QByteArray Bytes(qsizetype n, const char* campo)
    {
        if (!Cabe(n, campo))
            return {};
        const QByteArray b = dados_.mid(pos_, n);
        pos_ += n;
        return b;
    }
    qsizetype Restantes() const { return dados_.size() - pos_; }
    const char* CampoQueFalta() const { return falta_; }

private:
    bool Cabe(qsizetype n, const char* campo)
    {
        if (falta_)
            return false;
        if (Restantes() < n) {
            falta_ = campo;
            return false;
        }
        return true;
    }
    uint32_t Natural(int n, const char* campo)
    {
        if (!Cabe(n, campo))
            return 0;
        uint32_t v = 0;
        for (int i = 0; i < n; ++i)
            v |= static_cast<uint32_t>(static_cast<uint8_t>(dados_[pos_ + i])) << (8 * i);
        pos_ += n;
        return v;
    }

    const QByteArray& dados_;
    qsizetype pos_ = 0;
    const char* falta_ = nullptr;
};

QString Msg(const char* texto) { return QString::fromUtf8(texto); }

// Flags are strict: this program only ever writes 0 and -1.
void LerFlag(Leitor& l, const char* campo, bool& destino, QString& erro)
{
    const int16_t v = l.Int16(campo);
    if (v != VERDADEIRO && v != FALSO && erro.isEmpty())
        erro = Msg("O campo \"%1\" deveria valer 0 ou -1 e vale %2.").arg(Msg(campo)).arg(v);
    destino = v == VERDADEIRO;
}

void LerLista(Leitor& l, ListaRolagem& lista, const char* campo)
{
    for (auto& x : lista)
        x = l.Int16(campo);
}

// --- checks on a decoded game -----------------------------------------------------------

QString ValidarGrade(const JogoSalvo& s)
{
    const bool foraDoLimite = s.Colunas < MENOR_GRADE || s.Colunas > MAIOR_GRADE
                              || s.Linhas < MENOR_GRADE || s.Linhas > MAIOR_GRADE;
    if (foraDoLimite)
        return Msg("Grade de %1 x %2 peças fora do limite de 2 a 9.").arg(s.Colunas).arg(s.Linhas);
    if (!s.Pequenas && (s.Colunas > MAIOR_GRADE_NORMAL || s.Linhas > MAIOR_GRADE_NORMAL))
        return Msg("Grade de %1 x %2 peças grande demais para peças normais (até 6 x 6).")
            .arg(s.Colunas).arg(s.Linhas);
    return {};
}

bool CodigoValido(int16_t c) { return c >= 0 && c <= MAIOR_CODIGO_LADO; }

// Each record sits at its own index with codes and flag in range, and the records past
// the grid are empty; only then are the sides compared, so that a bad value is named
// for what it is rather than as a disagreement with a neighbour.
QString ValidarRegistros(const JogoSalvo& s)
{
    const int colunas = s.Colunas, total = colunas * s.Linhas;
    for (int i = 0; i < MAX_PECAS; ++i) {
        const Parte& r = s.jogo.Partes[static_cast<size_t>(i)];
        if (i >= total) {
            if (!(r == Parte{}))
                return Msg("O registro da peça %1, fora da grade, não está vazio.").arg(i);
            continue;
        }
        if (!CodigoValido(r.Cima) || !CodigoValido(r.Baixo) || !CodigoValido(r.Direita)
            || !CodigoValido(r.Esquerda))
            return Msg("A peça %1 tem um código de lado fora de 0 a 52.").arg(i);
        if (r.Coluna != i % colunas || r.Linha != i / colunas)
            return Msg("A peça %1 traz a posição coluna %2, linha %3, que não é a sua.")
                .arg(i).arg(r.Coluna).arg(r.Linha);
        if (r.Encaixada != VERDADEIRO && r.Encaixada != FALSO)
            return Msg("A peça %1 tem a marca de encaixada %2 (deveria ser 0 ou -1).")
                .arg(i).arg(r.Encaixada);
    }
    return {};
}

// The sides on the picture's border are straight and both pieces of an inner side hold
// the same code, or the two outlines would not interlock.
QString ValidarLados(const JogoSalvo& s)
{
    const auto& p = s.jogo.Partes;
    const int colunas = s.Colunas, linhas = s.Linhas;
    for (int i = 0; i < colunas * linhas; ++i) {
        const Parte& r = p[static_cast<size_t>(i)];
        const int col = i % colunas, lin = i / colunas;
        const bool bordaRecortada = (lin == 0 && r.Cima != 0) || (lin == linhas - 1 && r.Baixo != 0)
                                    || (col == 0 && r.Esquerda != 0)
                                    || (col == colunas - 1 && r.Direita != 0);
        if (bordaRecortada)
            return Msg("A peça %1 tem um lado recortado na borda da figura.").arg(i);
        if (col + 1 < colunas && r.Direita != p[static_cast<size_t>(i + 1)].Esquerda)
            return Msg("As peças %1 e %2 não concordam no lado que dividem.").arg(i).arg(i + 1);
        if (lin + 1 < linhas && r.Baixo != p[static_cast<size_t>(i + colunas)].Cima)
            return Msg("As peças %1 e %2 não concordam no lado que dividem.").arg(i).arg(i + colunas);
    }
    return {};
}

// The first `ocupados` slots hold distinct pieces of the grid, the rest are empty.
// `ocupados` is at most 81, so slot 81 is always checked empty.
QString ValidarLista(const ListaRolagem& lista, int ocupados, int total, const char* nome)
{
    std::array<bool, MAX_PECAS> visto{};
    for (int s = 0; s < SLOTS_ROLAGEM; ++s) {
        const int16_t x = lista[static_cast<size_t>(s)];
        if (s >= ocupados) {
            if (x != VAZIO)
                return Msg("A %1 tem a peça %2 na posição %3, depois da última peça.")
                    .arg(Msg(nome)).arg(x).arg(s);
            continue;
        }
        if (x < 0 || x >= total)
            return Msg("A %1 tem na posição %2 o valor %3, que não é peça da grade.")
                .arg(Msg(nome)).arg(s).arg(x);
        if (visto[static_cast<size_t>(x)])
            return Msg("A %1 repete a peça %2.").arg(Msg(nome)).arg(x);
        visto[static_cast<size_t>(x)] = true;
    }
    return {};
}

QString ValidarRolagem(const JogoSalvo& s)
{
    const Jogo& j = s.jogo;
    const int total = s.Colunas * s.Linhas;
    if (QString e = ValidarLista(j.PartesRolagemInicio, total, total, "lista de peças distribuídas");
        !e.isEmpty())
        return e;
    int soltas = 0;
    for (int i = 0; i < total; ++i)
        soltas += j.Partes[static_cast<size_t>(i)].Encaixada == FALSO;
    if (j.PartesNaRolagem != soltas)
        return Msg("O arquivo diz %1 peças soltas, mas %2 peças não estão encaixadas.")
            .arg(j.PartesNaRolagem).arg(soltas);
    if (QString e = ValidarLista(j.PartesRolagem, soltas, total, "lista de peças soltas");
        !e.isEmpty())
        return e;
    for (int slot = 0; slot < soltas; ++slot) {
        const int16_t x = j.PartesRolagem[static_cast<size_t>(slot)];
        if (j.Partes[static_cast<size_t>(x)].Encaixada != FALSO)
            return Msg("A peça %1 está na lista de peças soltas, mas já foi encaixada.").arg(x);
    }
    return {};
}

QString ValidarProgresso(const JogoSalvo& s)
{
    if (s.jogo.PartesIniciais < 0 || s.jogo.PartesIniciais > 3)
        return Msg("Número de peças iniciais fora de 0 a 3: %1.").arg(s.jogo.PartesIniciais);
    if (s.jogo.SegundosJogo < 0)
        return Msg("Tempo de jogo negativo: %1 segundos.").arg(s.jogo.SegundosJogo);
    // Restart gives 4 - Dificuldade starting pieces; any other value would break it.
    if (s.Dificuldade < 1 || s.Dificuldade > 3)
        return Msg("Dificuldade fora de 1 a 3: %1.").arg(s.Dificuldade);
    return {};
}

ResultadoZPR Recusa(QString erro)
{
    ResultadoZPR r;
    r.erro = std::move(erro);
    return r;
}

QString DescreverErro(QFileDevice::FileError e)
{
    switch (e) {
    case QFileDevice::OpenError: return Msg("não foi possível abrir o arquivo");
    case QFileDevice::WriteError: return Msg("falha de gravação (disco cheio?)");
    case QFileDevice::ReadError: return Msg("falha de leitura");
    case QFileDevice::PermissionsError: return Msg("sem permissão de acesso");
    case QFileDevice::ResourceError: return Msg("faltam recursos do sistema (disco cheio?)");
    case QFileDevice::RenameError: return Msg("não foi possível substituir o arquivo anterior");
    default: return Msg("falha de entrada e saída");
    }
}

QString GravarBytes(const QString& caminho, const QByteArray& bytes)
{
    QSaveFile arquivo(caminho);
    if (!arquivo.open(QIODevice::WriteOnly))
        return Msg("Não foi possível gravar \"%1\": %2.").arg(caminho, DescreverErro(arquivo.error()));
    if (arquivo.write(bytes) != bytes.size() || !arquivo.commit())
        return Msg("Não foi possível gravar \"%1\": %2.").arg(caminho, DescreverErro(arquivo.error()));
    return {};
}

} // namespace

JogoSalvo MontarJogoSalvo(const Jogo& jogo, const ModuloZelpo& modulo)
{
    JogoSalvo s;
    s.jogo = jogo;
    s.Colunas = modulo.Colunas;
    s.Linhas = modulo.Linhas;
    s.Dificuldade = modulo.opcoes.Dificuldade;
    s.Pequenas = modulo.opcoes.Pequenas;
    s.Adaptar = modulo.opcoes.Adaptar;
    return s;
}

void RestaurarJogoSalvo(const JogoSalvo& salvo, Jogo& jogo, ModuloZelpo& modulo)
{
    const Jogo& s = salvo.jogo;
    jogo.PartesRolagem = s.PartesRolagem;
    jogo.PartesRolagemInicio = s.PartesRolagemInicio;
    jogo.PartesNaRolagem = s.PartesNaRolagem;
    jogo.Partes = s.Partes;
    jogo.TopoTabuleiro = s.TopoTabuleiro;
    jogo.EsquerdaTabuleiro = s.EsquerdaTabuleiro;
    jogo.BytesFigura = s.BytesFigura;
    jogo.ExtensaoFigura = s.ExtensaoFigura;
    jogo.PartesIniciais = s.PartesIniciais;
    jogo.SegundosJogo = s.SegundosJogo;
    modulo.Colunas = salvo.Colunas;
    modulo.Linhas = salvo.Linhas;
    modulo.opcoes.Dificuldade = salvo.Dificuldade;
    modulo.opcoes.Pequenas = salvo.Pequenas;
    modulo.opcoes.Adaptar = salvo.Adaptar;
}

QByteArray CodificarZPR(const JogoSalvo& salvo)
{
    const Jogo& j = salvo.jogo;
    const QByteArray figura = j.BytesFigura.isEmpty() ? Jogo::Marcador() : j.BytesFigura;
    Escritor e;
    e.Bytes(QByteArray(MAGICA_ZPR, TAMANHO_MAGICA_ZPR));
    for (int16_t x : j.PartesRolagem)
        e.Int16(x);
    for (int16_t x : j.PartesRolagemInicio)
        e.Int16(x);
    e.Int16(j.PartesNaRolagem);
    for (const Parte& p : j.Partes)
        for (int16_t x : {p.Cima, p.Baixo, p.Direita, p.Esquerda, p.Coluna, p.Linha, p.Encaixada})
            e.Int16(x);
    e.Int16(salvo.Colunas);
    e.Int16(salvo.Linhas);
    e.Int32(j.TopoTabuleiro);
    e.Int32(j.EsquerdaTabuleiro);
    e.Int32(static_cast<int32_t>(figura.size()));
    e.Bytes(figura);
    e.Bytes(ExtensaoGravada(j.ExtensaoFigura));
    e.Int16(j.PartesIniciais);
    e.Int32(j.SegundosJogo);
    e.Int16(salvo.Dificuldade);
    e.Flag(salvo.Pequenas);
    e.Flag(salvo.Adaptar);
    return std::move(e).Resultado();
}

ResultadoZPR DecodificarZPR(const QByteArray& bytes)
{
    ResultadoZPR r;
    // The magic is compared trimmed of blanks, so " ZPR 2.0" passes too.
    if (bytes.size() < TAMANHO_MAGICA_ZPR
        || SemEspacos(bytes.left(TAMANHO_MAGICA_ZPR)) != SemEspacos(QByteArray(MAGICA_ZPR))) {
        r.versaoIncorreta = true;
        return r;
    }
    Leitor l(bytes);
    l.Bytes(TAMANHO_MAGICA_ZPR, "assinatura");

    JogoSalvo s;
    Jogo& j = s.jogo;
    j.BytesFigura.clear();
    LerLista(l, j.PartesRolagem, "lista de peças soltas");
    LerLista(l, j.PartesRolagemInicio, "lista de peças distribuídas");
    j.PartesNaRolagem = l.Int16("número de peças soltas");
    for (Parte& p : j.Partes)
        for (int16_t* x : {&p.Cima, &p.Baixo, &p.Direita, &p.Esquerda, &p.Coluna, &p.Linha, &p.Encaixada})
            *x = l.Int16("peças");
    s.Colunas = l.Int16("colunas");
    s.Linhas = l.Int16("linhas");
    j.TopoTabuleiro = l.Int32("posição do tabuleiro");
    j.EsquerdaTabuleiro = l.Int32("posição do tabuleiro");
    const int32_t n = l.Int32("tamanho da figura");
    if (!l.CampoQueFalta()) {
        if (n <= 0)
            return Recusa(Msg("Tamanho da figura inválido: %1 bytes.").arg(n));
        if (n > l.Restantes())
            return Recusa(Msg("A figura diz ter %1 bytes, mas o arquivo só tem mais %2.")
                              .arg(n).arg(l.Restantes()));
    }
    j.BytesFigura = l.Bytes(n, "figura");
    j.ExtensaoFigura = SemEspacos(QString::fromLatin1(l.Bytes(TAMANHO_EXTENSAO_ZPR, "extensão da figura")));
    j.PartesIniciais = l.Int16("peças iniciais");
    j.SegundosJogo = l.Int32("tempo de jogo");
    s.Dificuldade = l.Int16("dificuldade");
    QString erroFlag;
    LerFlag(l, "peças pequenas", s.Pequenas, erroFlag);
    LerFlag(l, "adaptar a figura", s.Adaptar, erroFlag);

    if (const char* campo = l.CampoQueFalta())
        return Recusa(Msg("O arquivo está incompleto: termina antes do campo \"%1\".").arg(Msg(campo)));
    if (l.Restantes() > 0)
        return Recusa(Msg("O arquivo tem %1 bytes a mais depois do último campo.").arg(l.Restantes()));
    if (!erroFlag.isEmpty())
        return Recusa(erroFlag);
    for (auto validar : {ValidarGrade, ValidarRegistros, ValidarLados, ValidarRolagem, ValidarProgresso})
        if (QString e = validar(s); !e.isEmpty())
            return Recusa(e);
    r.jogo = std::move(s);
    return r;
}

QString GravarArquivoZPR(const QString& caminho, const JogoSalvo& salvo)
{
    return GravarBytes(caminho, CodificarZPR(salvo));
}

ResultadoZPR LerArquivoZPR(const QString& caminho)
{
    QFile arquivo(caminho);
    if (!arquivo.exists()) {
        ResultadoZPR r;
        r.versaoIncorreta = true;
        return r;
    }
    if (!arquivo.open(QIODevice::ReadOnly))
        return Recusa(Msg("Não foi possível abrir o arquivo: %1.").arg(DescreverErro(arquivo.error())));
    // The largest file the format can describe; anything longer cannot be ours.
    constexpr qint64 maior = TAMANHO_FIXO_ZPR + qint64(std::numeric_limits<int32_t>::max());
    const QByteArray magica = arquivo.read(TAMANHO_MAGICA_ZPR);
    if (magica.size() == TAMANHO_MAGICA_ZPR && arquivo.size() > maior)
        return Recusa(Msg("O arquivo é grande demais para um jogo salvo."));
    const QByteArray bytes = magica + arquivo.readAll();
    if (arquivo.error() != QFileDevice::NoError)
        return Recusa(Msg("Não foi possível ler o arquivo: %1.").arg(DescreverErro(arquivo.error())));
    return DecodificarZPR(bytes);
}

FiguraLida ImagemParaBytes(const QString& caminho)
{
    FiguraLida f;
    f.extensao = ExtensaoDe(caminho);
    QFile arquivo(caminho);
    if (!QFileInfo(caminho).isFile() || !arquivo.open(QIODevice::ReadOnly))
        return f;
    const QByteArray bytes = arquivo.readAll();
    if (arquivo.error() != QFileDevice::NoError)
        return f;
    f.encontrada = true;
    if (!bytes.isEmpty())
        f.bytes = bytes;
    return f;
}

QString BytesParaImagem(const QString& caminho, const QByteArray& bytes)
{
    return GravarBytes(caminho, bytes);
}

QString CaminhoTemp()
{
    QString pasta = QDir::tempPath();
    if (!pasta.endsWith(QLatin1Char('/')))
        pasta += QLatin1Char('/');
    return pasta;
}

QString GetTempFileName(const QString& extensao)
{
    QString ext = SemEspacos(extensao);
    for (QChar& c : ext)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 0x20)
            c = QLatin1Char('_');
    const QString pasta = CaminhoTemp();
    int32_t contagem = ContagemTicks();
    QString nome;
    do {
        nome = pasta + QStringLiteral("Tmp_") + QString::number(contagem) + ext;
        contagem = static_cast<int32_t>(static_cast<uint32_t>(contagem) + 1u);
    } while (QFileInfo::exists(nome));
    return nome;
}

} // namespace zelpo
