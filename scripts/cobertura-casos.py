#!/usr/bin/env python3
"""Which test cases earn their keep: the lines each one alone runs, and what it caught first.

Builds the program and its tests with line coverage into a folder of their own, runs every case
of the quick test programs alone (each writing its counters under a prefix of its own, so that the
programs it starts count too), and reads with gcov which lines of src/ and tools/ it ran. A case
that runs no line that no other case runs, and that caught no generated mutation first in the
results files, is a candidate to merge or remove: a fault only it would see is in the values it
asserts, which coverage cannot tell; prove that with a mutation before removing it.

  scripts/cobertura-casos.py [--build DIR] [--resultados R.jsonl ...]
"""
import argparse
import collections
import glob
import json
import os
import subprocess
from pathlib import Path

RAIZ = Path(__file__).resolve().parent.parent


def compilar(build):
    banderas = "--coverage -O0"
    subprocess.run(["cmake", "-S", RAIZ, "-B", build, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Debug",
                    "-DFACTURADOR_BENCH=OFF", f"-DCMAKE_CXX_FLAGS={banderas}",
                    "-DCMAKE_EXE_LINKER_FLAGS=--coverage"], check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", build, "-j2"], check=True, stdout=subprocess.DEVNULL)


def programas(build):
    """The quick suite's test programs, by name, as ctest knows them."""
    salida = subprocess.run(["ctest", "--show-only=json-v1", "-L", "rapida"], cwd=build,
                            check=True, capture_output=True, text=True).stdout
    for prueba in json.loads(salida)["tests"]:
        orden = prueba.get("command", [])
        if orden and os.path.basename(orden[0]).startswith("pruebas_"):
            yield prueba["name"], orden[0]


def casos(programa, entorno):
    salida = subprocess.run([programa, "--gtest_list_tests"], capture_output=True, text=True,
                            env=entorno).stdout
    grupo = ""
    for linea in salida.splitlines():
        if not linea.startswith(" "):
            grupo = linea.split()[0]
        elif linea.strip():
            yield grupo + linea.split()[0]


def lineas_corridas(prefijo):
    """(file, line) of src/ and tools/ that the counters under the prefix say ran."""
    corridas = set()
    datos = glob.glob(f"{prefijo}/**/*.gcda", recursive=True)
    for dato in datos:
        notas = dato[len(prefijo):-len(".gcda")] + ".gcno"
        if os.path.exists(notas) and not os.path.exists(dato[:-5] + ".gcno"):
            os.symlink(notas, dato[:-5] + ".gcno")
    for i in range(0, len(datos), 40):
        salida = subprocess.run(["gcov", "-j", "-t", *datos[i:i + 40]], cwd=RAIZ,
                                capture_output=True, text=True).stdout
        for documento in (json.loads(l) for l in salida.splitlines() if l.startswith("{")):
            for archivo in documento["files"]:
                nombre = os.path.relpath(archivo["file"], RAIZ)
                if nombre.startswith(("src/", "tools/")):
                    corridas.update((nombre, l["line_number"]) for l in archivo["lines"]
                                    if l["count"] > 0)
    return corridas


def atrapadas_primero(archivos):
    cuenta = collections.Counter()
    for archivo in archivos:
        for linea in open(archivo, encoding="utf-8"):
            r = json.loads(linea)
            if r.get("resultado") == "atrapada":
                cuenta.update(r.get("casos", []))
    return cuenta


def principal():
    p = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    p.add_argument("--build", default=str(RAIZ / "build-cobertura"))
    p.add_argument("--resultados", nargs="*",
                   default=sorted(glob.glob(str(RAIZ / "scripts" / "resultados" / "*.jsonl"))))
    a = p.parse_args()
    build = os.path.abspath(a.build)
    compilar(build)
    servidor = [str(RAIZ / "scripts" / "mariadb-privado.sh")]
    subprocess.run(servidor + ["iniciar", f"{build}/mariadb-pruebas"], check=True)
    entorno = dict(os.environ, MYSQL_UNIX_PORT=f"{build}/mariadb-pruebas/mysqld.sock",
                   QT_QPA_PLATFORM="offscreen", XDG_RUNTIME_DIR=f"{build}/xdg-runtime")
    os.makedirs(entorno["XDG_RUNTIME_DIR"], mode=0o700, exist_ok=True)
    corridas = {}
    try:
        for nombre, programa in programas(build):
            for caso in casos(programa, entorno):
                prefijo = f"{build}/por-caso/{nombre}/{caso}"
                subprocess.run([programa, f"--gtest_filter={caso}"], cwd=os.path.dirname(programa),
                               env=dict(entorno, GCOV_PREFIX=prefijo, GCOV_PREFIX_STRIP="0"),
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                corridas[(nombre, caso)] = lineas_corridas(prefijo)
    finally:
        subprocess.run(servidor + ["detener", f"{build}/mariadb-pruebas"])
    veces = collections.Counter(l for lineas in corridas.values() for l in lineas)
    primero = atrapadas_primero(a.resultados)
    print("| programa | caso | líneas propias | atrapó primero | |\n|---|---|---|---|---|")
    for (nombre, caso), lineas in sorted(corridas.items()):
        propias = sum(veces[l] == 1 for l in lineas)
        marca = "candidato" if propias == 0 and primero[caso] == 0 else ""
        print(f"| {nombre} | {caso} | {propias} | {primero[caso]} | {marca} |")


if __name__ == "__main__":
    principal()
