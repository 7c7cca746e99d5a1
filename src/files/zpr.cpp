#include "files/zpr.h"

#include "records/bytes.h"

#include "files/arquivos.h"

#include <QDir>

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
        const uint32_t v = n == 2 ? LerU16(dados_, pos_) : LerU32(dados_, pos_);
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
        const Parte& r = s.Partes[static_cast<size_t>(i)];
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
    const auto& p = s.Partes;
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

QString ValidarRolagem(const JogoSalvo& j)
{
    const int total = j.Pecas();
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

// Any difficulty, starting-piece count and time can be shown: the settings may hold any
// difficulty, and the game makes such a puzzle playable when it opens it.

ResultadoZPR Recusa(QString erro)
{
    ResultadoZPR r;
    r.erro = std::move(erro);
    return r;
}

} // namespace

bool EhJogoSalvo(const QString& caminho)
{
    return caminho.right(4).toLower() == QLatin1String(".zpr");
}

QByteArray CodificarZPR(const JogoSalvo& j)
{
    const QByteArray figura = j.BytesFigura.isEmpty() ? MarcadorFigura() : j.BytesFigura;
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
    e.Int16(j.Colunas);
    e.Int16(j.Linhas);
    e.Int32(j.TopoTabuleiro);
    e.Int32(j.EsquerdaTabuleiro);
    e.Int32(static_cast<int32_t>(figura.size()));
    e.Bytes(figura);
    e.Bytes(ExtensaoGravada(j.ExtensaoFigura));
    e.Int16(j.PartesIniciais);
    e.Int32(j.SegundosJogo);
    e.Int16(j.Dificuldade);
    e.Flag(j.Pequenas);
    e.Flag(j.Adaptar);
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

    JogoSalvo j;
    j.BytesFigura.clear();
    LerLista(l, j.PartesRolagem, "lista de peças soltas");
    LerLista(l, j.PartesRolagemInicio, "lista de peças distribuídas");
    j.PartesNaRolagem = l.Int16("número de peças soltas");
    for (Parte& p : j.Partes)
        for (int16_t* x : {&p.Cima, &p.Baixo, &p.Direita, &p.Esquerda, &p.Coluna, &p.Linha, &p.Encaixada})
            *x = l.Int16("peças");
    j.Colunas = l.Int16("colunas");
    j.Linhas = l.Int16("linhas");
    j.TopoTabuleiro = l.Int32("posição do tabuleiro");
    j.EsquerdaTabuleiro = l.Int32("posição do tabuleiro");
    const int32_t n = l.Int32("tamanho da figura");
    if (!l.CampoQueFalta()) {
        if (n <= 0)
            return Recusa(Msg("Tamanho da figura inválido: %1 bytes.").arg(n));
        if (n > TAMANHO_MAXIMO_FIGURA)
            return Recusa(Msg("A figura diz ter %1 bytes, mais do que um jogo salvo pode levar.").arg(n));
        if (n > l.Restantes())
            return Recusa(Msg("A figura diz ter %1 bytes, mas o arquivo só tem mais %2.")
                              .arg(n).arg(l.Restantes()));
    }
    j.BytesFigura = l.Bytes(n, "figura");
    j.ExtensaoFigura = SemEspacos(QString::fromLatin1(l.Bytes(TAMANHO_EXTENSAO_ZPR, "extensão da figura")));
    j.PartesIniciais = l.Int16("peças iniciais");
    j.SegundosJogo = l.Int32("tempo de jogo");
    j.Dificuldade = l.Int16("dificuldade");
    QString erroFlag;
    LerFlag(l, "peças pequenas", j.Pequenas, erroFlag);
    LerFlag(l, "adaptar a figura", j.Adaptar, erroFlag);

    if (const char* campo = l.CampoQueFalta())
        return Recusa(Msg("O arquivo está incompleto: termina antes do campo \"%1\".").arg(Msg(campo)));
    if (l.Restantes() > 0)
        return Recusa(Msg("O arquivo tem %1 bytes a mais depois do último campo.").arg(l.Restantes()));
    if (!erroFlag.isEmpty())
        return Recusa(erroFlag);
    for (auto validar : {ValidarGrade, ValidarRegistros, ValidarLados, ValidarRolagem})
        if (QString e = validar(j); !e.isEmpty())
            return Recusa(e);
    r.jogo = std::move(j);
    return r;
}

QString GravarArquivoZPR(const QString& caminho, const JogoSalvo& jogo)
{
    return GravarArquivo(caminho, CodificarZPR(jogo));
}

ResultadoZPR LerArquivoZPR(const QString& caminho)
{
    const Leitura lida = LerArquivo(caminho, TAMANHO_FIXO_ZPR + TAMANHO_MAXIMO_FIGURA);
    switch (lida.falha) {
    case FalhaLeitura::Nenhuma:
        return DecodificarZPR(lida.bytes);
    case FalhaLeitura::NaoExiste: { // a missing file reads as one of another version
        ResultadoZPR r;
        r.versaoIncorreta = true;
        return r;
    }
    case FalhaLeitura::GrandeDemais:
        return Recusa(Msg("O arquivo é grande demais para um jogo salvo."));
    default:
        return Recusa(Msg("Não foi possível abrir o arquivo: %1.").arg(lida.erro));
    }
}

QString CaminhoTemp()
{
    QString pasta = QDir::tempPath();
    if (!pasta.endsWith(QLatin1Char('/')))
        pasta += QLatin1Char('/');
    return pasta;
}

QString GetTempFileName(const QString& extensao, int32_t ticks)
{
    QString ext = SemEspacos(extensao);
    for (QChar& c : ext)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 0x20)
            c = QLatin1Char('_');
    return CaminhoTemp() + QStringLiteral("Tmp_") + QString::number(ticks) + ext;
}

} // namespace zelpo
