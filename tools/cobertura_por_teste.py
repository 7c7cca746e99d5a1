#!/usr/bin/env python3
"""Which program lines and branches each test reaches, and which test reaches nothing that
no other test reaches: the first place to look for a test that takes the same branch as
another.

    cmake -S . -B build-cobertura -DCMAKE_BUILD_TYPE=Debug -DZELPO_BENCH=OFF \\
          -DCMAKE_CXX_FLAGS="--coverage -O0" -DCMAKE_EXE_LINKER_FLAGS=--coverage
    cmake --build build-cobertura -j2
    python3 tools/cobertura_por_teste.py build-cobertura

Each test runs alone (the program it starts and the children it forks count for it), then
gcov reads what it reached. The table lists, per test, the lines and branches only it
reaches and all it reaches, fewest of its own first. Nothing of its own does not make a
test useless: what it asserts may still be asserted nowhere else; read it before cutting."""
import glob, json, os, subprocess, sys

RAIZ = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CONSTRUCAO = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(RAIZ, "build-cobertura"))
AMBIENTE = dict(os.environ, QT_QPA_PLATFORM="offscreen", ZELPO_SEMENTE="7")


def testes(binario):
    saida = subprocess.run([binario, "--gtest_list_tests"], capture_output=True, text=True, env=AMBIENTE).stdout
    lista, grupo = [], None
    for linha in saida.splitlines():
        if not linha.startswith(" "):
            grupo = linha.split()[0]
        elif ".Filho" not in grupo + linha:  # run by their parents
            lista.append(grupo + linha.split()[0])
    return lista


def contagens():
    return [g for g in glob.glob(CONSTRUCAO + "/CMakeFiles/**/*.gcda", recursive=True) if "/src/" in g]


def alcancados():
    """The (file, line) and (file, line, branch) the last run reached, in src/ only."""
    vistos = set()
    for gcda in contagens():
        saida = subprocess.run(["gcov", "--json-format", "--stdout", "-b", gcda], capture_output=True,
                               cwd=os.path.dirname(gcda)).stdout
        for linha in saida.splitlines():
            for arquivo in json.loads(linha)["files"]:
                nome = arquivo["file"]
                if "/src/" in nome and not nome.startswith("/usr/"):
                    nome = nome[nome.index("/src/") + 1:]
                elif "/andares/" in nome:  # a header seen through its floor's link
                    nome = "src/.../" + os.path.basename(nome)
                else:
                    continue
                for l in arquivo["lines"]:
                    if l["count"] > 0:
                        vistos.add((nome, l["line_number"]))
                    vistos.update((nome, l["line_number"], i) for i, r in enumerate(l["branches"]) if r["count"] > 0)
    return vistos


def main():
    por_teste = {}
    for binario in ("zelpo_testes_nucleo", "zelpo_testes_janelas"):
        caminho = os.path.join(CONSTRUCAO, "tests", binario)
        for teste in testes(caminho):
            for gcda in contagens():
                os.remove(gcda)
            subprocess.run([caminho, "--gtest_filter=" + teste], capture_output=True, env=AMBIENTE, timeout=1800)
            por_teste[teste] = alcancados()
            print(f"{teste}: {len(por_teste[teste])}", file=sys.stderr, flush=True)
    quantos = {}
    for vistos in por_teste.values():
        for item in vistos:
            quantos[item] = quantos.get(item, 0) + 1
    linhas = sorted((sum(quantos[i] == 1 for i in v), len(v), t) for t, v in por_teste.items())
    print("| test | only its own | all it reaches |\n|---|---|---|")
    for proprios, todos, teste in linhas:
        print(f"| {teste} | {proprios} | {todos} |")


if __name__ == "__main__":
    main()
