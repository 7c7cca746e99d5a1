#!/usr/bin/env python3
"""One-line mutations of the program, each built and tested on its own: which behaviours
does some test guard, and which does nothing guard?

    python3 tools/mutar.py [tools/mutacoes.txt] [only-these-numbers...]

Each line of the list is  file <TAB> text <TAB> replacement <TAB> what it breaks ; the
first occurrence of text in file is replaced, the tests are built in build-mutacao
(Release, no sanitizers) and CTest runs with a fixed random-walk seed; the file is then
put back. A mutation is "killed" when a test fails, and "survives" when all pass. The
table at the end is Markdown."""
import os, subprocess, sys, time

RAIZ = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CONSTRUCAO = os.path.join(RAIZ, "build-mutacao")
ALVOS = ["zelpo_testes_nucleo", "zelpo_testes_janelas", "zelpo", "zelpo_repetir_zpr"]


def rodar(cmd, **kw):
    return subprocess.run(cmd, cwd=RAIZ, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, **kw)


def construir():
    r = rodar(["cmake", "--build", CONSTRUCAO, "-j2", "--target"] + ALVOS)
    return r.returncode == 0, r.stdout


def testar():
    amb = dict(os.environ, QT_QPA_PLATFORM="offscreen", ZELPO_SEMENTE="7", ZELPO_PASSOS="600")
    r = rodar(["ctest", "--test-dir", CONSTRUCAO, "-j2", "--timeout", "300"], env=amb)
    falhas = []
    for l in r.stdout.splitlines():
        if "***Failed" in l or "***Timeout" in l or "***Exception" in l:
            nome = l.split(":", 1)[-1].strip().split(" ")[0]
            if nome not in falhas:
                falhas.append(nome)
    return r.returncode == 0, falhas


def main():
    args = sys.argv[1:]
    lista = args.pop(0) if args and not args[0].isdigit() else os.path.join(RAIZ, "tools", "mutacoes.txt")
    escolhidas = {int(a) for a in args}
    mutacoes = []
    for linha in open(lista, encoding="utf-8"):
        if linha.strip() and not linha.startswith("#"):
            partes = linha.rstrip("\n").split("\t")
            mutacoes.append(partes[:4] if len(partes) >= 4 else partes + [""] * (4 - len(partes)))
    if not os.path.isdir(CONSTRUCAO):
        rodar(["cmake", "-S", ".", "-B", CONSTRUCAO, "-DCMAKE_BUILD_TYPE=Release", "-DZELPO_BENCH=OFF"])
    ok, saida = construir()
    if not ok:
        sys.exit("the unmutated tree does not build:\n" + saida[-3000:])
    passou, falhas = testar()
    if not passou:
        sys.exit("the unmutated tree fails: " + ", ".join(falhas))
    linhas = ["| # | file | mutation | breaks | result |", "|---|---|---|---|---|"]
    for n, (arquivo, texto, novo, efeito) in enumerate(mutacoes, 1):
        if escolhidas and n not in escolhidas:
            continue
        caminho = os.path.join(RAIZ, arquivo)
        original = open(caminho, encoding="utf-8").read()
        texto_real = texto.replace("\\t", "\t").replace("\\n", "\n")
        if texto_real not in original:
            linhas.append(f"| {n} | {arquivo} | `{texto}` | {efeito} | text not found |")
            continue
        inicio = time.time()
        try:
            open(caminho, "w", encoding="utf-8").write(original.replace(texto_real, novo.replace("\\t", "\t").replace("\\n", "\n"), 1))
            ok, _ = construir()
            if not ok:
                resultado = "does not build"
            else:
                passou, falhas = testar()
                resultado = "survives" if passou else "killed by " + ", ".join(falhas[:3])
        finally:
            open(caminho, "w", encoding="utf-8").write(original)
        print(f"{n}: {resultado} ({time.time() - inicio:.0f} s)", flush=True)
        linhas.append(f"| {n} | {arquivo} | `{texto}` → `{novo}` | {efeito} | {resultado} |")
    construir()
    print("\n".join(linhas))


if __name__ == "__main__":
    main()
