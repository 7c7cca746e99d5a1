#!/usr/bin/env python3
"""Generates the base outlines of the edge-shape tables.

Each set (normal pieces, small pieces) has 13 base outlines, one per group of four
edge codes; the game derives the other variants and the vertical tables from them.
Group 1 is a hand-drawn outline kept point for point. Groups 2 to 13 are drawn here
as smooth knob curves (cubic Hermite pieces through named key points), rasterised to
8-connected pixel chains. The small set is the normal curve scaled by 41/63 (the last
coordinate along a small side over that of a normal side) before rasterising.

Output: resources/lados/normal.bin and resources/lados/pequenas.bin, each holding
13 records of [int32 n][n x (int32 x, int32 y)], little-endian, group 1 first.
The script is deterministic: running it again rewrites the same bytes.

Usage: tools/gerar_lados.py [output folder]   (default: resources/lados beside tools/)
"""

import math
import os
import struct
import sys

# Frame of a horizontal side: x runs 0..L along it, y 0..K across; straight sides lie on y = m.
NORMAL = dict(L=63, K=49, m=24, minimo=3)
PEQUENAS = dict(L=41, K=31, m=15, minimo=2)
ESCALA_PEQUENAS = 41 / 63

GRUPO1_NORMAL = [
    (0, 24), (1, 24), (2, 24), (3, 24), (4, 25), (5, 25), (6, 25), (7, 26), (8, 26), (9, 27),
    (10, 27), (11, 27), (12, 28), (13, 28), (14, 28), (15, 29), (16, 29), (17, 30), (18, 31),
    (19, 31), (20, 32), (20, 33), (20, 34), (20, 35), (19, 36), (19, 37), (19, 38), (19, 39),
    (19, 40), (20, 41), (20, 42), (21, 43), (22, 44), (23, 45), (24, 45), (25, 45), (26, 45),
    (27, 45), (28, 44), (29, 43), (30, 42), (30, 41), (31, 40), (31, 39), (31, 38), (31, 37),
    (31, 36), (30, 35), (30, 34), (29, 33), (29, 32), (29, 31), (30, 30), (31, 30), (32, 29),
    (33, 29), (34, 29), (35, 28), (36, 28), (37, 28), (38, 28), (39, 27), (40, 27), (41, 27),
    (42, 26), (43, 26), (44, 26), (45, 26), (46, 25), (47, 25), (48, 25), (49, 24), (50, 24),
    (51, 23), (52, 23), (53, 22), (54, 22), (55, 22), (56, 22), (57, 22), (58, 22), (59, 22),
    (60, 23), (61, 23), (62, 24), (63, 24),
]

GRUPO1_PEQUENAS = [
    (0, 15), (1, 15), (2, 15), (3, 16), (4, 16), (5, 16), (6, 17), (7, 17), (8, 18), (9, 18),
    (10, 19), (11, 19), (12, 20), (12, 21), (13, 22), (13, 23), (13, 24), (13, 25), (14, 26),
    (14, 27), (15, 28), (16, 29), (17, 29), (18, 29), (19, 29), (20, 28), (20, 27), (21, 26),
    (21, 25), (21, 24), (21, 23), (20, 22), (20, 21), (20, 20), (20, 19), (21, 18), (22, 18),
    (23, 17), (24, 16), (25, 16), (26, 15), (27, 15), (28, 15), (29, 14), (30, 14), (31, 14),
    (32, 14), (33, 14), (34, 14), (35, 14), (36, 14), (37, 14), (38, 15), (39, 15), (40, 15),
    (41, 15),
]

# One knob per group, in normal-size pixels. u runs along the side, v across it from the
# baseline towards the knob. Every base points its knob down (towards y = K), as group 1
# does: the band leaves one pixel more below the baseline than above it, and the variants
# turn the knob upwards anyway.
#   centro  u of the middle of the neck       pescoco  neck width at its narrowest
#   cabeca  head width at its widest          altura   height of the head's top
#   desvio  head shifted along the side        inclina  top of the head shifted further
#   cinta   height of the neck's pinch         bojo     height of the head's widest point
#   ombro1, ombro2  the shoulders' rise (+) or dip (-) before and after the knob
#   assim   extra height of the right side's pinch and widest point (a lopsided head)
GRUPOS = [
    # 2: a small round head on a short neck
    dict(centro=32, pescoco=8, cabeca=16, altura=14, desvio=1, inclina=0, cinta=4, bojo=9,
         ombro1=-2, ombro2=1, assim=1),
    # 3: leaning back towards the start of the side
    dict(centro=31, pescoco=10, cabeca=19, altura=19, desvio=-3, inclina=-2, cinta=6, bojo=12,
         ombro1=2, ombro2=-1, assim=-2),
    # 4: a big round head
    dict(centro=32, pescoco=11, cabeca=25, altura=21, desvio=1, inclina=0, cinta=6, bojo=13,
         ombro1=-3, ombro2=-2, assim=0),
    # 5: leaning forwards, a little lopsided
    dict(centro=29, pescoco=11, cabeca=19, altura=20, desvio=3, inclina=3, cinta=6, bojo=13,
         ombro1=1, ombro2=3, assim=2),
    # 6: a flat oval head past the middle
    dict(centro=34, pescoco=12, cabeca=22, altura=16, desvio=0, inclina=0, cinta=4, bojo=10,
         ombro1=3, ombro2=0, assim=-1),
    # 7: stubby, with a wide neck
    dict(centro=31, pescoco=15, cabeca=22, altura=17, desvio=0, inclina=0, cinta=5, bojo=11,
         ombro1=-1, ombro2=-2, assim=0),
    # 8: a long neck before the middle
    dict(centro=29, pescoco=9, cabeca=19, altura=21, desvio=0, inclina=1, cinta=9, bojo=15,
         ombro1=0, ombro2=2, assim=1),
    # 9: tall and narrow, leaning back
    dict(centro=34, pescoco=10, cabeca=17, altura=21, desvio=-2, inclina=-1, cinta=8, bojo=15,
         ombro1=2, ombro2=-3, assim=-1),
    # 10: a broad head on a broad neck
    dict(centro=32, pescoco=13, cabeca=26, altura=19, desvio=0, inclina=0, cinta=5, bojo=12,
         ombro1=-2, ombro2=-2, assim=0),
    # 11: a short knob between high shoulders
    dict(centro=29, pescoco=9, cabeca=18, altura=15, desvio=1, inclina=1, cinta=5, bojo=10,
         ombro1=3, ombro2=3, assim=1),
    # 12: lopsided, the far side of the head lower
    dict(centro=36, pescoco=10, cabeca=20, altura=19, desvio=-3, inclina=-1, cinta=6, bojo=12,
         ombro1=-3, ombro2=1, assim=2),
    # 13: leaning forwards with a lifted near side
    dict(centro=31, pescoco=12, cabeca=22, altura=20, desvio=2, inclina=2, cinta=6, bojo=13,
         ombro1=2, ombro2=-1, assim=-2),
]


def PontosChave(g, comprimento):
    """Key points (u, v) and unit tangents of one knob, left to right."""
    c, n, w = g["centro"], g["pescoco"], g["cabeca"]
    cab = c + g["desvio"]
    esquerda_pescoco = c - n / 2
    direita_pescoco = c + n / 2
    return [
        ((0, 0), (1, 0)),
        ((esquerda_pescoco * 0.5, g["ombro1"]), (1, 0)),             # shoulder
        ((esquerda_pescoco, g["cinta"]), (0, 1)),                     # neck pinch, left
        ((cab - w / 2, g["bojo"]), (0, 1)),                           # widest, left
        ((cab + g["inclina"], g["altura"]), (1, 0)),                   # top of the head
        ((cab + w / 2, g["bojo"] + g["assim"]), (0, -1)),             # widest, right
        ((direita_pescoco, g["cinta"] + g["assim"]), (0, -1)),        # neck pinch, right
        (((direita_pescoco + comprimento) * 0.5, g["ombro2"]), (1, 0)),  # shoulder
        ((comprimento, 0), (1, 0)),
    ]


# Tangents are scaled by the chord; around the head a little more, which bends a quarter
# turn into a quarter circle instead of a pointed arch.
FATOR_CABECA = 1.08


def Hermite(p0, t0, p1, t1, s, fator=1.0):
    """One cubic Hermite piece from p0 to p1 with unit tangents t0 and t1."""
    corda = math.dist(p0, p1) * fator
    m0 = (t0[0] * corda, t0[1] * corda)
    m1 = (t1[0] * corda, t1[1] * corda)
    h00 = 2 * s**3 - 3 * s**2 + 1
    h10 = s**3 - 2 * s**2 + s
    h01 = -2 * s**3 + 3 * s**2
    h11 = s**3 - s**2
    return (h00 * p0[0] + h10 * m0[0] + h01 * p1[0] + h11 * m1[0],
            h00 * p0[1] + h10 * m0[1] + h01 * p1[1] + h11 * m1[1])


def Curva(g, escala, passos=600):
    chave = PontosChave(g, 63)
    for trecho, ((p0, t0), (p1, t1)) in enumerate(zip(chave, chave[1:])):
        fator = FATOR_CABECA if trecho in (3, 4) else 1.0
        for i in range(passos):
            u, v = Hermite(p0, t0, p1, t1, i / passos, fator)
            yield u * escala, v * escala
    u, v = chave[-1][0]
    yield u * escala, v * escala


def Arredondar(valor):
    return math.floor(valor + 0.5)


def Rasterizar(g, quadro, escala):
    """The curve as an 8-connected chain of pixels in the side's frame."""
    cadeia = []
    for u, v in Curva(g, escala):
        p = (Arredondar(u), quadro["m"] + Arredondar(v))
        if cadeia and p == cadeia[-1]:
            continue
        if cadeia:
            dx, dy = p[0] - cadeia[-1][0], p[1] - cadeia[-1][1]
            assert abs(dx) <= 1 and abs(dy) <= 1, (g, p, cadeia[-1])
        cadeia.append(p)
    # Thin the chain: a point whose neighbours touch each other is a redundant corner.
    mudou = True
    while mudou:
        mudou = False
        i = 1
        while i < len(cadeia) - 1:
            a, b = cadeia[i - 1], cadeia[i + 1]
            if abs(a[0] - b[0]) <= 1 and abs(a[1] - b[1]) <= 1:
                del cadeia[i]
                mudou = True
            else:
                i += 1
    Verificar(cadeia, quadro)
    return cadeia


def Verificar(cadeia, quadro):
    L, K, m, minimo = quadro["L"], quadro["K"], quadro["m"], quadro["minimo"]
    assert cadeia[0] == (0, m) and cadeia[-1] == (L, m), (cadeia[0], cadeia[-1])
    assert len(set(cadeia)) == len(cadeia), "the chain crosses itself"
    for x, y in cadeia:
        assert 0 <= x <= L and minimo <= y <= K - minimo, (x, y)
    for i, a in enumerate(cadeia):
        for b in cadeia[i + 4:]:
            assert max(abs(a[0] - b[0]), abs(a[1] - b[1])) >= 2, ("pinched", a, b)


def Gravar(caminho, bases):
    with open(caminho, "wb") as f:
        for base in bases:
            f.write(struct.pack("<i", len(base)))
            for x, y in base:
                f.write(struct.pack("<ii", x, y))


def main():
    pasta = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "resources", "lados")
    os.makedirs(pasta, exist_ok=True)
    normal = [GRUPO1_NORMAL] + [Rasterizar(g, NORMAL, 1.0) for g in GRUPOS]
    pequenas = [GRUPO1_PEQUENAS] + [Rasterizar(g, PEQUENAS, ESCALA_PEQUENAS) for g in GRUPOS]
    Gravar(os.path.join(pasta, "normal.bin"), normal)
    Gravar(os.path.join(pasta, "pequenas.bin"), pequenas)
    for grupo, (a, b) in enumerate(zip(normal, pequenas), start=1):
        ya = [y for _, y in a]
        yb = [y for _, y in b]
        print(f"grupo {grupo:2}: normal {len(a):3} pontos, {min(ya)}-{max(ya)}; "
              f"pequenas {len(b):3} pontos, {min(yb)}-{max(yb)}")


if __name__ == "__main__":
    main()
