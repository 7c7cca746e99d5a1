// Time from starting a program to its window on the screen, as the player's eye sees it:
// the root window of the X display is read back every couple of milliseconds until the
// window is there. For the game that is its button face, the grey of the tray well and the
// board, and the puzzle's pieces (picture pixels, in no colour of the window itself); for
// the reference, a minimal Qt window with a menu bar in the same button face, its face.
// Each run has a profile of its own (a new HOME and XDG folders), so no settings or caches
// of an earlier run help; the first runs only warm the disk cache. The reference and the
// game take turns, so both see the same machine. Also reports each program's resident
// memory right after the paint and a second later.
//
//   zelpo_medir_inicio [--vezes N] [--aquecer N] [--referencia PROGRAM] <program> [arguments...]
//
// Needs DISPLAY (bench/inicio/medir_inicio.sh starts an Xvfb).
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <ftw.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using Relogio = std::chrono::steady_clock;

constexpr unsigned long CINZA = 0x808080; // the tray well and the board
constexpr unsigned long FACE = 0xD4D0C8;  // the window's own colour
// The colours of the window itself (and of the bare X root's weave): anything else on the
// screen is a piece's picture, or a little anti-aliased text.
constexpr unsigned long CORES_DA_JANELA[] = {CINZA, FACE, 0xFFFFFF, 0x404040, 0x000000};
constexpr int PASSO = 4;                  // every 4th pixel of every 4th row is looked at
constexpr long MINIMO = 20'000 / (PASSO * PASSO); // about a tenth of the 640 x 480 window each
constexpr long MINIMO_FIGURA = 8'000 / (PASSO * PASSO); // two small pieces; far more than text
constexpr auto INTERVALO = std::chrono::milliseconds(2);
constexpr auto PRAZO = std::chrono::seconds(20);

// What the screen must show for a program's window to count as there.
enum class Alvo { JanelaMinima, Jogo };

class Tela {
public:
    Tela()
    {
        d_ = XOpenDisplay(nullptr);
        if (!d_)
            return;
        const int tela = DefaultScreen(d_);
        largura_ = DisplayWidth(d_, tela);
        altura_ = DisplayHeight(d_, tela);
        imagem_ = XShmCreateImage(d_, DefaultVisual(d_, tela), unsigned(DefaultDepth(d_, tela)), ZPixmap, nullptr,
                                  &shm_, unsigned(largura_), unsigned(altura_));
        shm_.shmid = shmget(IPC_PRIVATE, size_t(imagem_->bytes_per_line) * altura_, IPC_CREAT | 0600);
        shm_.shmaddr = imagem_->data = static_cast<char*>(shmat(shm_.shmid, nullptr, 0));
        shm_.readOnly = False;
        XShmAttach(d_, &shm_);
        XSync(d_, False);
        shmctl(shm_.shmid, IPC_RMID, nullptr);
    }
    ~Tela()
    {
        if (!d_)
            return;
        XShmDetach(d_, &shm_);
        XDestroyImage(imagem_);
        shmdt(shm_.shmaddr);
        XCloseDisplay(d_);
    }
    bool Aberta() const { return d_ != nullptr; }

    bool Mostra(Alvo alvo)
    {
        XShmGetImage(d_, DefaultRootWindow(d_), imagem_, 0, 0, AllPlanes);
        long cinza = 0, face = 0, figura = 0;
        for (int y = 0; y < altura_; y += PASSO)
            for (int x = 0; x < largura_; x += PASSO) {
                const unsigned long p = XGetPixel(imagem_, x, y) & 0xFFFFFF;
                cinza += p == CINZA;
                face += p == FACE;
                figura += std::find(std::begin(CORES_DA_JANELA), std::end(CORES_DA_JANELA), p)
                          == std::end(CORES_DA_JANELA);
            }
        if (alvo == Alvo::JanelaMinima)
            return face >= MINIMO;
        return cinza >= MINIMO && face >= MINIMO && figura >= MINIMO_FIGURA;
    }

private:
    Display* d_ = nullptr;
    XImage* imagem_ = nullptr;
    XShmSegmentInfo shm_{};
    int largura_ = 0, altura_ = 0;
};

long RssKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string linha; std::getline(status, linha);)
        if (linha.rfind("VmRSS:", 0) == 0)
            return std::atol(linha.c_str() + 6);
    return -1;
}

// A new HOME with empty XDG folders; the rest of the environment is ours.
std::vector<std::string> PerfilNovo(const std::string& casa)
{
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "HOME=", 5) != 0 && std::strncmp(*e, "XDG_", 4) != 0)
            env.emplace_back(*e);
    env.push_back("HOME=" + casa);
    for (const char* v : {"XDG_CONFIG_HOME=/.config", "XDG_DATA_HOME=/.local/share", "XDG_CACHE_HOME=/.cache",
                          "XDG_RUNTIME_DIR=/run"}) {
        const std::string s(v);
        const auto igual = s.find('=');
        env.push_back(s.substr(0, igual + 1) + casa + s.substr(igual + 1));
    }
    mkdir((casa + "/run").c_str(), 0700);
    return env;
}

void Apagar(const std::string& pasta)
{
    nftw(pasta.c_str(), [](const char* p, const struct stat*, int, FTW*) { return remove(p); }, 16,
         FTW_DEPTH | FTW_PHYS);
}

struct Medida {
    double segundos = -1;
    long rssPintado = -1, rssDepois = -1;
};

Medida Medir(Tela& tela, Alvo alvo, char** programa)
{
    char modelo[] = "/tmp/zelpo-inicio.XXXXXX";
    const std::string casa = mkdtemp(modelo);
    auto env = PerfilNovo(casa);
    std::vector<char*> ponteiros;
    for (auto& s : env)
        ponteiros.push_back(s.data());
    ponteiros.push_back(nullptr);

    Medida m;
    posix_spawn_file_actions_t acoes;
    posix_spawn_file_actions_init(&acoes);
    posix_spawn_file_actions_addopen(&acoes, 1, "/dev/null", O_WRONLY, 0);
    const auto inicio = Relogio::now();
    pid_t pid;
    if (posix_spawn(&pid, programa[0], &acoes, nullptr, programa, ponteiros.data()) != 0)
        return m;
    while (Relogio::now() - inicio < PRAZO) {
        if (tela.Mostra(alvo)) {
            m.segundos = std::chrono::duration<double>(Relogio::now() - inicio).count();
            m.rssPintado = RssKiB(pid);
            std::this_thread::sleep_for(std::chrono::seconds(1));
            m.rssDepois = RssKiB(pid);
            break;
        }
        std::this_thread::sleep_for(INTERVALO);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    posix_spawn_file_actions_destroy(&acoes);
    Apagar(casa);
    // The next run starts on a screen without this window.
    while (Relogio::now() - inicio < 2 * PRAZO && tela.Mostra(alvo))
        std::this_thread::sleep_for(INTERVALO);
    return m;
}

template <typename T>
T Mediana(std::vector<T> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// One program's runs.
struct Serie {
    const char* nome;
    Alvo alvo;
    char** programa;
    std::vector<double> tempos;
    std::vector<long> pintado, depois;

    bool Rodar(Tela& tela, bool contar)
    {
        const Medida m = Medir(tela, alvo, programa);
        if (m.segundos < 0) {
            std::fprintf(stderr, "%s: a janela não apareceu\n", nome);
            return false;
        }
        std::printf("%s, %s: %.3f s, RSS %.1f MiB pintado, %.1f MiB 1 s depois\n", nome,
                    contar ? "medida" : "aquecimento", m.segundos, m.rssPintado / 1024.0, m.rssDepois / 1024.0);
        if (contar) {
            tempos.push_back(m.segundos);
            pintado.push_back(m.rssPintado);
            depois.push_back(m.rssDepois);
        }
        return true;
    }
    void Relatar() const
    {
        std::printf("%s, mediana de %zu: na tela em %.3f s, RSS %.1f MiB pintado, %.1f MiB 1 s depois\n", nome,
                    tempos.size(), Mediana(tempos), Mediana(pintado) / 1024.0, Mediana(depois) / 1024.0);
    }
};

} // namespace

int main(int argc, char** argv)
{
    int vezes = 5, aquecer = 1, i = 1;
    char* referencia[] = {nullptr, nullptr};
    for (; i + 1 < argc && argv[i][0] == '-'; i += 2) {
        if (std::strcmp(argv[i], "--vezes") == 0)
            vezes = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--aquecer") == 0)
            aquecer = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--referencia") == 0)
            referencia[0] = argv[i + 1];
    }
    if (i >= argc || vezes < 1) {
        std::fprintf(stderr, "uso: zelpo_medir_inicio [--vezes N] [--aquecer N] [--referencia PROGRAMA] "
                             "<programa> [argumentos...]\n");
        return 2;
    }
    Tela tela;
    if (!tela.Aberta()) {
        std::fprintf(stderr, "sem DISPLAY\n");
        return 2;
    }
    std::vector<Serie> series;
    if (referencia[0])
        series.push_back({"janela mínima", Alvo::JanelaMinima, referencia, {}, {}, {}});
    series.push_back({"jogo", Alvo::Jogo, argv + i, {}, {}, {}});
    for (int n = 0; n < aquecer + vezes; ++n)
        for (Serie& s : series)
            if (!s.Rodar(tela, n >= aquecer))
                return 1;
    for (const Serie& s : series)
        s.Relatar();
    if (series.size() == 2) {
        const Serie &minima = series[0], &jogo = series[1];
        std::printf("jogo / janela mínima: %.2fx o tempo, %+.1f MiB de RSS 1 s depois\n",
                    Mediana(jogo.tempos) / Mediana(minima.tempos),
                    (Mediana(jogo.depois) - Mediana(minima.depois)) / 1024.0);
    }
    return 0;
}
