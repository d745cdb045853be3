#!/usr/bin/env python3
"""Mutations generated from the source itself, over the lines a change touched.

Finds every place on the changed lines where one of a fixed set of operators applies, samples
them (a seeded choice, the same every time), and tries each in turn on a scratch copy of the
tracked sources: the file is changed, the copy rebuilt (only what changed), the quick suite
(ctest -L rapida) run and, when it passes, the rest of the suite but the cluster run. Each
mutation ends caught (by the first test that failed; the mutated folder's own test program runs
first, built alone), missed, not built, or equivalent when
scripts/mutantes-equivalentes.txt says it cannot change what the program does.

  scripts/mutantes-auto.py [--base COMMIT] [--muestra N] [--semilla S] [ARCHIVO...]
      lines changed since COMMIT under src/ (or every line of the files named)
  scripts/mutantes-auto.py --listar ...      the sample only, nothing built
  scripts/mutantes-auto.py --informe R.jsonl [R2.jsonl...]   the table of a run (later files win)
  scripts/mutantes-auto.py --repetir R.jsonl --resultados R2.jsonl
      the mutations R.jsonl left missed, tried again on today's tests

Every finished mutation is appended to the results file at once, so a run that is stopped goes
on where it was when started again with the same options. The scratch copy and its build stay
between runs (--copia), and its private MariaDB server runs until the run ends.
"""
import argparse
import bisect
import hashlib
import io
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tarfile
import time
from pathlib import Path

RAIZ = Path(__file__).resolve().parent.parent
# The commit the last issue started from; later issues move it when they start.
BASE_POR_OMISION = "3339fdf"
EQUIVALENTES = RAIZ / "scripts" / "mutantes-equivalentes.txt"
ETIQUETA_RAPIDA = "rapida"
# Seconds a quick test program may run in the copy: each takes seconds, and a mutation that makes
# one loop costs this much (the suite's own limit, three minutes, is for loaded machines).
TIEMPO_RAPIDA = 120
# Left out of every generated run: the cluster's fault run waits minutes for leases to expire.
ETIQUETA_EXCLUIDA = "cluster"
FUENTES = (".cpp", ".h")

# ---------------------------------------------------------------------------------------------
# Reading C++: what is code, what is comment, string or preprocessor.


def vista_codigo(texto):
    """The text with comments and preprocessor lines blanked and the inside of string and
    character literals turned to '_' (quotes kept), same length and lines; and the spans of the
    string literals (from the opening to past the closing quote)."""
    v = list(texto)
    cadenas = []
    n = len(texto)

    def borrar(a, b, por=" "):
        for k in range(a, b):
            if v[k] != "\n":
                v[k] = por

    i = 0
    inicio_linea = True
    while i < n:
        c = texto[i]
        if c == "\n":
            inicio_linea = True
            i += 1
            continue
        if c in " \t":
            i += 1
            continue
        if inicio_linea and c == "#":
            fin = i
            while True:
                fin = texto.find("\n", fin)
                if fin == -1:
                    fin = n
                    break
                if texto[fin - 1] != "\\":
                    break
                fin += 1
            borrar(i, fin)
            i = fin
            continue
        inicio_linea = False
        if texto.startswith("//", i):
            fin = texto.find("\n", i)
            fin = n if fin == -1 else fin
            borrar(i, fin)
            i = fin
            continue
        if texto.startswith("/*", i):
            fin = texto.find("*/", i + 2)
            fin = n if fin == -1 else fin + 2
            borrar(i, fin)
            i = fin
            continue
        crudo = re.match(r'R"([^\s()\\]{0,16})\(', texto[i:i + 20])
        if crudo and (i == 0 or not (texto[i - 1].isalnum() and texto[i - 1] not in "uUL8")):
            cierre = ")" + crudo.group(1) + '"'
            fin = texto.find(cierre, i + crudo.end())
            fin = n if fin == -1 else fin + len(cierre)
            borrar(i + 2, fin - 1, "_")
            cadenas.append((i + 1, fin))
            i = fin
            continue
        if c == "'" and i > 0 and texto[i - 1].isalnum() and re.match(r"[0-9a-fA-F]", texto[i + 1:i + 2] or " "):
            i += 1  # a digit separator
            continue
        if c in "\"'":
            j = i + 1
            while j < n and texto[j] != c and texto[j] != "\n":
                j += 2 if texto[j] == "\\" else 1
            fin = min(j + 1, n)
            borrar(i + 1, fin - 1, "_")
            if c == '"':
                cadenas.append((i, fin))
            i = fin
            continue
        i += 1
    return "".join(v), cadenas


def parentesis_que_cierra(v, abre):
    """The index of the ')' that closes the '(' at abre in the code view, or -1."""
    nivel = 0
    for k in range(abre, len(v)):
        if v[k] in "([{":
            nivel += 1
        elif v[k] in ")]}":
            nivel -= 1
            if nivel == 0:
                return k if v[k] == ")" else -1
    return -1


def llaves_de_funcion(v):
    """For each '{' of the code view, whether statements directly inside it run in a function:
    a function or lambda body, or a block inside one (not a namespace, a class or an
    initializer)."""
    en_funcion = {}
    pila = []
    for k, c in enumerate(v):
        if c == "{":
            previo = v[:k].rstrip()
            desde = max(previo.rfind(";"), previo.rfind("{"), previo.rfind("}"))
            cabecera = " ".join(previo[desde + 1:].split())
            dentro = bool(pila) and pila[-1]
            if re.search(r"\b(namespace|class|struct|union|enum)\b", cabecera) and "(" not in cabecera:
                tipo = False
            elif re.search(r"(\)|\])\s*((const|noexcept|override|final|mutable)\s*)*(->\s*[\w:<>,&*\s]+)?$", cabecera):
                tipo = True
            elif re.search(r"\b(else|do|try)$", cabecera) or cabecera == "" or previo.endswith((";", "{", "}")):
                tipo = dentro
            else:
                tipo = None  # an initializer: no statements inside
            pila.append(tipo)
            en_funcion[k] = tipo
        elif c == "}" and pila:
            pila.pop()
    return en_funcion


# ---------------------------------------------------------------------------------------------
# The operators. Each finds, in the code view, spans to replace: (start, end, new text).

RELACIONAL = {"<": "<=", "<=": "<", ">": ">=", ">=": ">"}
PALABRAS_NO_LLAMADA = {
    "return", "if", "for", "while", "do", "switch", "case", "default", "break", "continue",
    "goto", "throw", "try", "catch", "else", "using", "typedef", "static_assert", "const",
    "constexpr", "static", "auto", "unsigned", "signed", "int", "bool", "char", "double", "float",
    "long", "short", "void", "struct", "class", "enum", "namespace", "template", "typename",
    "co_return", "delete", "new", "Q_OBJECT", "Q_UNUSED", "friend", "explicit", "inline",
    "virtual", "public", "private", "protected", "extern", "thread_local", "volatile", "size_t",
}


def op_binarios(v):
    for m in re.finditer(r"(?<=[\w)\]\"'] )(<=|>=|<|>|==|!=|&&|\|\||\+|-|\+=|-=)(?= [\w(!\"'*&:\-])", v):
        op = m.group(1)
        if op in RELACIONAL:
            yield "relacional", m.start(), m.end(), RELACIONAL[op]
        elif op in ("==", "!="):
            yield "igualdad", m.start(), m.end(), "!=" if op == "==" else "=="
        elif op in ("&&", "||"):
            yield "lógico", m.start(), m.end(), "||" if op == "&&" else "&&"
        else:
            # Text joined with '+' is no arithmetic: a literal on either side says so.
            linea = v[v.rfind("\n", 0, m.start()) + 1:v.find("\n", m.end())]
            if '"' in linea:
                continue
            otro = {"+": "-", "-": "+", "+=": "-=", "-=": "+="}[op]
            yield "aritmético", m.start(), m.end(), otro


def op_negacion(v):
    for m in re.finditer(r"!(?![=!])", v):
        previo = v[:m.start()].rstrip()[-1:]
        if previo and (previo.isalnum() or previo in "_)]"):
            continue
        if v[max(0, m.start() - 8):m.start()].endswith("operator"):
            continue
        yield "negación", m.start(), m.end(), ""


def op_constantes(v):
    for m in re.finditer(r"(?<![\w.'])(\d+)([uUlLzZ]*)(?![\w.'])", v):
        antes, despues = v[m.start() - 1:m.start()], v[m.end():m.end() + 1]
        if antes == "<" or despues == ">" or v[max(0, m.start() - 2):m.start()] == "e-":
            continue
        if m.group(1) == "0" and re.search(r"\)\s*(const\s*)?(override\s*)?=\s*$", v[max(0, m.start() - 40):m.start()]):
            continue  # a pure virtual function's "= 0"
        digitos = m.group(1)
        octal = len(digitos) > 1 and digitos[0] == "0"  # file modes
        valor = int(digitos, 8 if octal else 10)
        for otro in (valor + 1, valor - 1):
            if otro >= 0:
                texto = f"0{otro:o}" if octal else str(otro)
                yield "constante", m.start(), m.end(), texto + m.group(2)


def op_retorno(v):
    for m in re.finditer(r"\breturn\s+(true|false)\s*;", v):
        otro = "false" if m.group(1) == "true" else "true"
        yield "retorno", m.start(1), m.end(1), otro


def op_condicion(v):
    for m in re.finditer(r"\bif\s*\(", v):
        abre = m.end() - 1
        cierra = parentesis_que_cierra(v, abre)
        if cierra < 0:
            continue
        desde = abre + 1
        interior = v[desde:cierra]
        # Keep an init-statement or a declaration: only the condition itself is forced.
        nivel, corte = 0, -1
        for k, c in enumerate(interior):
            nivel += c in "([{"
            nivel -= c in ")]}"
            if c == ";" and nivel == 0:
                corte = k
        valores = ("true", "false")
        if corte >= 0:
            desde += corte + 1
            valores = (" true", " false")
        elif re.match(r"\s*(const\s+)?[\w:<>]+[\s&*]+\w+\s*=[^=]", interior):
            # A declaration stays: the branch never taken. Forced taken, it would read an empty
            # optional or a null pointer, undefined rather than a fault a developer makes.
            desde, valores = cierra, ("; false",)
        for valor in valores:
            yield "condición", desde, cierra, valor


def op_cadenas(v, cadenas):
    for a, b in cadenas:
        if b - a <= 2:
            continue
        previo = v[:a].rstrip()
        if previo.endswith(("extern", "static_assert(", "operator", "deprecated(")):
            continue
        yield "cadena", a, b, '""'


def inicio_de_sentencia(v, k):
    """Whether a statement can start at k: what comes before it ends a statement or opens a
    block (';', '{', '}', a label's ':', 'else', or the ')' of an if/for/while header)."""
    previo = v[:k].rstrip()
    if not previo or previo[-1] in ";{}":
        return True
    if previo.endswith("else") or (previo[-1] == ":" and not previo.endswith("::")):
        return True
    if previo[-1] == ")":
        nivel = 0
        for j in range(len(previo) - 1, -1, -1):
            nivel += previo[j] == ")"
            nivel -= previo[j] == "("
            if nivel == 0:
                return re.search(r"\b(if|for|while)\s*$", previo[:j]) is not None
    return False


def op_sentencias(v, lineas_objetivo, inicios):
    en_funcion = llaves_de_funcion(v)
    for numero in lineas_objetivo:
        if numero - 1 >= len(inicios):
            continue
        inicio = inicios[numero - 1]
        fin_linea = v.find("\n", inicio)
        fin_linea = len(v) if fin_linea == -1 else fin_linea
        k = inicio + len(v[inicio:fin_linea]) - len(v[inicio:fin_linea].lstrip())
        if k >= fin_linea or not inicio_de_sentencia(v, k):
            continue
        # The innermost open brace must hold statements of a function.
        nivel, llave = 0, None
        for j in range(k - 1, -1, -1):
            if v[j] == "}":
                nivel += 1
            elif v[j] == "{":
                if nivel == 0:
                    llave = j
                    break
                nivel -= 1
        if llave is None or not en_funcion.get(llave):
            continue
        fin = fin_de_sentencia(v, k)
        if fin < 0:
            continue
        if es_llamada_o_asignacion(" ".join(v[k:fin].split())):
            yield "sentencia", k, fin + 1, "{}"


def fin_de_sentencia(v, k):
    nivel = 0
    for j in range(k, len(v)):
        c = v[j]
        if c in "([{":
            nivel += 1
        elif c in ")]}":
            nivel -= 1
            if nivel < 0:
                return -1
        elif c == ";" and nivel == 0:
            return j
    return -1


def es_llamada_o_asignacion(s):
    if "= default" in s or "= delete" in s or s.startswith("(void)"):
        return False
    if re.match(r"(\+\+|--)\s*[\w.\->\[\]]+$", s):
        return True
    m = re.match(r"\*?\s*(::)?([A-Za-z_]\w*)", s)
    if not m or m.group(2) in PALABRAS_NO_LLAMADA:
        return False
    resto = s[m.end():]
    # A qualified name, members, subscripts and calls on the way to the last call or the '='.
    while True:
        m2 = re.match(r"\s*(::|\.|->)\s*~?[A-Za-z_]\w*", resto)
        if m2:
            resto = resto[m2.end():]
            continue
        if resto.startswith(("[", "(")):
            cierre = parentesis_que_cierra(resto.replace("[", "(").replace("]", ")"), 0)
            if cierre < 0:
                return False
            if resto.startswith("(") and cierre == len(resto) - 1:
                return True  # the statement is a call
            resto = resto[cierre + 1:]
            continue
        m3 = re.match(r"<[\w:, <>]*>(?=\()", resto)
        if m3:
            resto = resto[m3.end():]
            continue
        break
    return re.match(r"\s*(=(?!=)|\+=|-=|\*=|/=|%=|\|=|&=|\^=|<<=|>>=|\+\+|--)", resto) is not None


# ---------------------------------------------------------------------------------------------
# The mutations of a file's chosen lines.


def mutaciones_de(archivo, texto, lineas_objetivo):
    v, cadenas = vista_codigo(texto)
    inicios = [0] + [m.end() for m in re.finditer("\n", texto)]
    objetivo = set(lineas_objetivo)

    def linea_de(pos):
        return bisect.bisect_right(inicios, pos)

    candidatas = list(op_binarios(v)) + list(op_negacion(v)) + list(op_constantes(v))
    candidatas += list(op_retorno(v)) + list(op_condicion(v)) + list(op_cadenas(v, cadenas))
    candidatas += list(op_sentencias(v, sorted(objetivo), inicios))
    vistas = set()
    for operador, a, b, nuevo in candidatas:
        primera = linea_de(a)
        if primera not in objetivo:
            continue
        ultima = linea_de(max(a, b - 1))
        desde = inicios[primera - 1]
        hasta = inicios[ultima] - 1 if ultima < len(inicios) else len(texto)
        de = texto[desde:hasta]
        a_texto = texto[desde:a] + nuevo + texto[b:hasta]
        if de == a_texto or (archivo, primera, a_texto) in vistas:
            continue
        vistas.add((archivo, primera, a_texto))
        yield {
            "archivo": archivo, "linea": primera, "columna": a - desde + 1, "operador": operador,
            "de": de, "a": a_texto,
        }


def identidad(m):
    clave = "\0".join([m["archivo"], str(m["linea"]), m["operador"], m["de"], m["a"]])
    return hashlib.sha1(clave.encode()).hexdigest()[:12]


def lineas_cambiadas(base, carpetas, desde=None):
    salida = subprocess.run(["git", "diff", "-U0", "--no-color", "--no-ext-diff", base, *filter(None, [desde]),
                             "--", *carpetas],
                            cwd=RAIZ, check=True, capture_output=True, text=True).stdout
    cambios, archivo = {}, None
    for linea in salida.splitlines():
        if linea.startswith("+++ "):
            archivo = None if linea == "+++ /dev/null" else linea[6:]
        elif linea.startswith("@@") and archivo and archivo.endswith(FUENTES):
            m = re.match(r"@@ -\S+ \+(\d+)(?:,(\d+))? @@", linea)
            desde, cuantas = int(m.group(1)), int(m.group(2) or 1)
            cambios.setdefault(archivo, set()).update(range(desde, desde + cuantas))
    return cambios


def texto_de(archivo, desde=None):
    if desde is None:
        return (RAIZ / archivo).read_text(encoding="utf-8")
    return subprocess.run(["git", "show", f"{desde}:{archivo}"], cwd=RAIZ, check=True,
                          capture_output=True).stdout.decode("utf-8")


def todas_las_mutaciones(cambios, desde=None):
    todas = []
    for archivo in sorted(cambios):
        texto = texto_de(archivo, desde)
        todas.extend(mutaciones_de(archivo, texto, cambios[archivo]))
    for m in todas:
        m["id"] = identidad(m)
    return todas


def orden_sorteado(todas, semilla):
    """Every mutation in the order a seeded draw gives them: a run tries them in this order until
    it has as many as asked that built, so a sample is always the same for the same change. Each
    mutation's place depends on itself and the seed only: another one added or taken away (an
    operator refined) leaves the others in their order."""
    return sorted(todas, key=lambda m: hashlib.sha1(f"{semilla}:{m['id']}".encode()).hexdigest())


def compacto(texto):
    return "⏎".join(linea.strip() for linea in texto.strip("\n").split("\n"))


def leer_equivalentes():
    """scripts/mutantes-equivalentes.txt: blocks of '== why', 'archivo', 'de', 'a' (the line as
    it is and as mutated, leading blanks left out, '⏎' for a line break)."""
    equivalentes, actual = {}, {}
    if not EQUIVALENTES.exists():
        return equivalentes
    for linea in EQUIVALENTES.read_text(encoding="utf-8").splitlines():
        if linea.startswith("== "):
            actual = {"porque": linea[3:]}
        elif linea.startswith(("archivo ", "de ", "a ")):
            clave, _, valor = linea.partition(" ")
            actual[clave] = valor
            if clave == "a":
                equivalentes[(actual["archivo"], actual["de"], valor)] = actual["porque"]
    return equivalentes


# ---------------------------------------------------------------------------------------------
# The scratch copy: tracked files of the checkout, one build folder reused by every mutation.


def ejecutar(orden, tiempo=None, **kw):
    """Runs a command in a process group of its own, so that a run stopped (or a command out of
    time) leaves none of its children behind. Returns (exit status, output)."""
    proceso = subprocess.Popen(orden, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                               errors="replace", start_new_session=True, **kw)
    try:
        salida, _ = proceso.communicate(timeout=tiempo)
        return proceso.returncode, salida
    except BaseException:
        for senal in (signal.SIGTERM, signal.SIGKILL):
            try:
                os.killpg(proceso.pid, senal)
                proceso.wait(timeout=10)
                break
            except (ProcessLookupError, subprocess.TimeoutExpired):
                pass
        raise


def archivos_de(desde):
    """The tracked files to copy, by name: of the checkout as it is (desde None) or of a commit."""
    if desde is None:
        nombres = subprocess.run(["git", "ls-files", "-z"], cwd=RAIZ, check=True,
                                 capture_output=True).stdout.decode().split("\0")
        return {n: (lambda n=n: (RAIZ / n).read_bytes(), (RAIZ / n).stat().st_mode)
                for n in nombres if n and (RAIZ / n).is_file() and not (RAIZ / n).is_symlink()}
    archivo = subprocess.run(["git", "archive", "--format=tar", desde], cwd=RAIZ, check=True,
                             capture_output=True).stdout
    tar = tarfile.open(fileobj=io.BytesIO(archivo))
    return {t.name: (lambda t=t: tar.extractfile(t).read(), t.mode) for t in tar.getmembers() if t.isfile()}


class Copia:
    def __init__(self, args):
        self.carpeta = Path(args.copia)
        self.build = self.carpeta / "build"
        self.trabajos = args.trabajos
        self.tiempo_prueba = args.tiempo_prueba
        self.desde = args.desde
        self.entorno = dict(os.environ, CCACHE_BASEDIR=str(self.carpeta), CCACHE_NOHASHDIR="1")
        self.servidor = self.build / "mariadb-pruebas"

    def sincronizar(self):
        """Brings the copy to the tracked files; a file that differs (a mutation left by a run that
        was stopped, a test changed since) is written anew, so that it is rebuilt."""
        self.carpeta.mkdir(parents=True, exist_ok=True)
        os.chmod(self.carpeta, 0o755)  # the fault runs start programs as another user
        archivos = archivos_de(self.desde)
        manifiesto = self.carpeta / ".archivos"
        antes = set(manifiesto.read_text().split("\0")) if manifiesto.exists() else set()
        for nombre, (contenido, modo) in archivos.items():
            destino = self.carpeta / nombre
            datos = contenido()
            if destino.is_file() and destino.read_bytes() == datos:
                continue
            destino.parent.mkdir(parents=True, exist_ok=True)
            destino.write_bytes(datos)
            os.chmod(destino, modo & 0o7777)
        for nombre in antes - set(archivos):
            if nombre and (self.carpeta / nombre).is_file():
                (self.carpeta / nombre).unlink()
        manifiesto.write_text("\0".join(archivos))

    def compilar(self, tiempo=1800, objetivo=None):
        if not (self.build / "build.ninja").exists():
            lanzador = ["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"] if shutil.which("ccache") else []
            codigo, salida = ejecutar(["cmake", "-S", str(self.carpeta), "-B", str(self.build), "-G", "Ninja",
                                       "-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DFACTURADOR_BENCH=OFF",
                                       f"-DFACTURADOR_TIEMPO_PRUEBA={TIEMPO_RAPIDA}", *lanzador],
                                      env=self.entorno)
            if codigo:
                return False, salida
        try:
            codigo, salida = ejecutar(["nice", "-n", "10", "cmake", "--build", str(self.build), "-j",
                                       str(self.trabajos), *(["--target", objetivo] if objetivo else [])],
                                      tiempo, env=self.entorno)
        except subprocess.TimeoutExpired:
            return False, "la compilación no terminó a tiempo"
        return codigo == 0, salida[-6000:]

    def ctest(self, *filtro, tiempo=3600):
        """Runs the tests chosen one at a time in the order they are declared, up to the first
        failure; the tests' server stays up between runs. Returns (passed, failed tests, output)."""
        orden = ["nice", "-n", "10", "ctest", "-j1", "--stop-on-failure", "--output-on-failure",
                 "-FC", "mariadb", "--timeout", str(self.tiempo_prueba), *filtro]
        try:
            codigo, salida = ejecutar(orden, tiempo, cwd=self.build, env=self.entorno)
        except subprocess.TimeoutExpired:
            return False, [("(la suite entera)", "Timeout")], ""
        fallidas = re.findall(r"^\s*\d+ - (\S+) \(([^)]*)\)", salida.split("The following tests FAILED:")[-1], re.M) \
            if "The following tests FAILED:" in salida else []
        return codigo == 0, fallidas, salida

    def detener_servidor(self):
        ejecutar(["bash", str(self.carpeta / "scripts/mariadb-privado.sh"), "detener", str(self.servidor)])


def casos_fallidos(salida):
    return sorted(set(re.findall(r"^\[  FAILED  \] (\w+\.\w+)(?: \(|$)", salida, re.M)))


def aplicar(carpeta, m):
    """Writes the mutation into the copy: its original lines, found where they are nearest to the
    line it was made on. Returns the original text, or None when the lines are not there."""
    ruta = carpeta / m["archivo"]
    if not ruta.is_file():
        return None
    texto = ruta.read_text(encoding="utf-8")
    lineas = texto.split("\n")
    de = m["de"].split("\n")
    posibles = [k for k in range(len(lineas) - len(de) + 1) if lineas[k:k + len(de)] == de]
    if not posibles:
        return None
    k = min(posibles, key=lambda p: abs(p + 1 - m["linea"]))
    ruta.write_text("\n".join(lineas[:k] + m["a"].split("\n") + lineas[k + len(de):]), encoding="utf-8")
    return texto


def prueba_de_carpeta(copia, archivo):
    """The test program of the mutated file's folder (src/app/qt/x.cpp: pruebas_app_qt), when the
    copy has one."""
    partes = Path(archivo).parts
    if len(partes) < 3 or partes[0] != "src":
        return None
    nombre = "pruebas_" + partes[1] + ("_qt" if len(partes) > 3 and partes[2] == "qt" else "")
    return nombre if (copia.build / "tests" / nombre).exists() else None


def juzgar(copia, paso, fallidas, salida, suite):
    """The result of a run of tests that may have failed, or None when it passed."""
    if paso:
        return None
    if not fallidas or fallidas[0][0] == "mariadb_iniciar":
        return {"resultado": "error", "detalle": salida[-3000:]}
    # A failure is a catch only when it comes again: a test that a loaded machine made fail once
    # is tried anew on the next run.
    prueba = fallidas[0][0]
    if copia.ctest("-R", f"^{re.escape(prueba)}$")[0]:
        return {"resultado": "error", "detalle": f"{prueba} falló una vez y pasó la segunda"}
    return {"resultado": "atrapada", "por": prueba, "como": fallidas[0][1],
            "casos": casos_fallidos(salida)[:5], "suite": suite}


def probar(copia, m, filtros, suite):
    """Tries one mutation against the tests of each filter in turn, up to the first failure.
    In the quick suite the mutated folder's own test program goes first, built alone: most
    mutations are caught there, for the price of one program's build. Returns the result's
    fields."""
    original = aplicar(copia.carpeta, m)
    if original is None:
        return {"resultado": "no aplica"}
    try:
        propia = prueba_de_carpeta(copia, m["archivo"]) if suite == "rápida" else None
        if propia:
            compilo, _ = copia.compilar(objetivo=propia)
            if not compilo:
                return {"resultado": "no compila"}
            if r := juzgar(copia, *copia.ctest("-R", f"^{propia}$"), suite):
                return r
        compilo, _ = copia.compilar()
        if not compilo:
            return {"resultado": "no compila"}
        for filtro in filtros:
            if r := juzgar(copia, *copia.ctest(*filtro), suite):
                return r
        return {"resultado": "escapó", "suite": suite}
    finally:
        (copia.carpeta / m["archivo"]).write_text(original, encoding="utf-8")


def resto_que_pasa(copia):
    """The rest of the suite (but the cluster run) that passes without mutations, one filter per
    test, the quickest first; a test that fails on this machine as it is (a shared package
    database, say) can tell nothing."""
    _, _, listado = copia.ctest("-N", "-LE", f"{ETIQUETA_RAPIDA}|{ETIQUETA_EXCLUIDA}")
    nombres = [n for n in re.findall(r"Test\s+#\d+: (\S+)", listado) if not n.startswith("mariadb_")]
    buenas = []
    for nombre in nombres:
        inicio = time.monotonic()
        paso, _, _ = copia.ctest("-R", f"^{nombre}$")
        segundos = round(time.monotonic() - inicio)
        print(f"Resto de la suite: {nombre} {f'pasa en {segundos} s' if paso else 'FALLA sin mutaciones: queda fuera'}",
              flush=True)
        if paso:
            buenas.append((segundos, nombre))
    return [["-R", f"^{nombre}$"] for _, nombre in sorted(buenas)]


def leer_resultados(*rutas):
    resultados = {}
    for ruta in rutas:
        if Path(ruta).exists():
            for linea in Path(ruta).read_text(encoding="utf-8").splitlines():
                if linea.strip():
                    r = json.loads(linea)
                    resultados[r["id"]] = r
    return resultados


CUENTAN = ("atrapada", "escapó", "equivalente")


def detener(*_):
    raise KeyboardInterrupt


class Corrida:
    """One run: the copy, ready on first need, and the results file, written as each ends."""

    def __init__(self, args):
        self.args = args
        self.copia = Copia(args)
        self.hechas = leer_resultados(args.resultados)
        self.equivalentes = leer_equivalentes()
        self.lista = False
        self.resto = None

    def preparar(self):
        """Builds the copy and proves the quick suite passes on it without mutations."""
        if self.lista:
            return
        print(f"Compilando la copia en {self.copia.carpeta} ...", flush=True)
        self.copia.sincronizar()
        compilo, registro = self.copia.compilar(tiempo=6 * 3600)
        if not compilo:
            sys.exit(f"La copia no compila sin mutaciones:\n{registro}")
        paso, _, salida = self.copia.ctest("-L", ETIQUETA_RAPIDA)
        if not paso:
            sys.exit(f"La suite rápida falla sin mutaciones: nada que medir.\n{salida[-4000:]}")
        self.lista = True

    def anotar(self, m, r, inicio, cuenta):
        r.update(m, segundos=round(time.monotonic() - inicio))
        with open(self.args.resultados, "a", encoding="utf-8") as resultados:
            resultados.write(json.dumps(r, ensure_ascii=False) + "\n")
            resultados.flush()
            os.fsync(resultados.fileno())
        self.hechas[m["id"]] = r
        print(f"[{cuenta}] {m['archivo']}:{m['linea']} {m['operador']:<10} {compacto(m['a'])[:70]!r} "
              f"→ {r['resultado']} {r.get('por', '')} ({r['segundos']} s)", flush=True)

    def contadas(self):
        return sum(1 for r in self.hechas.values() if r["resultado"] in CUENTAN)

    def rapida(self, orden, cuantas):
        """The quick suite on the mutations in order, until `cuantas` of them built (or are known
        equivalent)."""
        for m in orden:
            if self.contadas() >= cuantas:
                break
            previo = self.hechas.get(m["id"])
            if previo and previo["resultado"] != "error":
                continue
            inicio = time.monotonic()
            clave = (m["archivo"], compacto(m["de"]), compacto(m["a"]))
            if clave in self.equivalentes:
                r = {"resultado": "equivalente", "porque": self.equivalentes[clave]}
            else:
                self.preparar()
                r = probar(self.copia, m, [["-L", ETIQUETA_RAPIDA]], "rápida")
                if r["resultado"] == "error":  # once more, before the draw moves on
                    r = probar(self.copia, m, [["-L", ETIQUETA_RAPIDA]], "rápida")
            self.anotar(m, r, inicio, f"{self.contadas() + (r['resultado'] in CUENTAN)}/{cuantas}")

    def completa(self, orden):
        """The rest of the suite on the mutations of `orden` the quick suite missed: the package
        and fault runs take minutes each, so they run once the quick results are all in."""
        faltan = [m for m in orden if self.hechas.get(m["id"], {}).get("resultado") == "escapó"
                  and self.hechas[m["id"]].get("suite") != "completa"]
        for n, m in enumerate(faltan, 1):
            self.preparar()
            if self.resto is None:
                self.resto = resto_que_pasa(self.copia)
            inicio = time.monotonic()
            self.anotar(m, probar(self.copia, m, self.resto, "completa"), inicio, f"resto {n}/{len(faltan)}")


def correr(orden, cuantas, args):
    corrida = Corrida(args)
    signal.signal(signal.SIGTERM, detener)
    try:
        corrida.rapida(orden, cuantas)
        if not args.solo_rapida:
            corrida.completa(orden)
    except KeyboardInterrupt:
        print("Detenida; lo probado queda en los resultados.", flush=True)
    finally:
        if corrida.lista:
            corrida.copia.sincronizar()
            corrida.copia.detener_servidor()


# ---------------------------------------------------------------------------------------------
# The report.


def informe(resultados):
    """The score, what each test caught first and the survivors; a survivor since found in the
    list of equivalent mutations counts as one."""
    equivalentes = leer_equivalentes()
    for r in resultados.values():
        clave = (r["archivo"], compacto(r["de"]), compacto(r["a"]))
        if r["resultado"] == "escapó" and clave in equivalentes:
            r.update(resultado="equivalente", porque=equivalentes[clave])
    filas = sorted(resultados.values(), key=lambda r: (r["archivo"], r["linea"], r["columna"]))
    cuenta = {}
    for r in filas:
        cuenta[r["resultado"]] = cuenta.get(r["resultado"], 0) + 1
    atrapadas = cuenta.get("atrapada", 0)
    medibles = atrapadas + cuenta.get("escapó", 0)
    print(f"{len(filas)} mutaciones: " + ", ".join(f"{v} {k}" for k, v in sorted(cuenta.items())))
    if medibles:
        print(f"Puntuación: {atrapadas} atrapadas de {medibles} no equivalentes que compilan "
              f"({100 * atrapadas / medibles:.1f} %)")
    por_prueba = {}
    for r in filas:
        if r["resultado"] == "atrapada":
            por_prueba[r["por"]] = por_prueba.get(r["por"], 0) + 1
    print("\n| prueba | atrapó primero |\n|---|---|")
    for prueba, n in sorted(por_prueba.items(), key=lambda x: (-x[1], x[0])):
        print(f"| {prueba} | {n} |")
    print("\n| archivo | línea | operador | texto mutado |\n|---|---|---|---|")
    for r in filas:
        if r["resultado"] == "escapó":
            texto = compacto(r["a"])[:100].replace("|", "\\|")
            print(f"| {r['archivo']} | {r['linea']} | {r['operador']} | `{texto}` |")


def principal():
    p = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    p.add_argument("archivos", nargs="*", help="every line of these files instead of a change")
    p.add_argument("--base", default=BASE_POR_OMISION, help="lines changed since this commit")
    p.add_argument("--bajo", nargs="+", default=["src"], help="folders of the change (src)")
    p.add_argument("--muestra", type=int, default=200, help="mutations to try that build")
    p.add_argument("--semilla", type=int, default=24)
    p.add_argument("--resultados", default=str(RAIZ / "build" / "mutantes-auto.jsonl"))
    p.add_argument("--copia", default=f"/tmp/mutantes-auto-{hashlib.sha1(str(RAIZ).encode()).hexdigest()[:8]}")
    p.add_argument("--desde", metavar="COMMIT", help="copy this commit's files, not the checkout's")
    p.add_argument("--trabajos", type=int, default=2, help="compiler jobs (-j)")
    p.add_argument("--tiempo-prueba", type=int, default=300, help="seconds a test may take")
    p.add_argument("--solo-rapida", action="store_true", help="no fallback to the rest of the suite")
    p.add_argument("--listar", action="store_true", help="the first mutations of the draw, untried")
    p.add_argument("--informe", nargs="+", metavar="RESULTADOS")
    p.add_argument("--repetir", metavar="RESULTADOS", help="the missed mutations of a run, again")
    args = p.parse_args()

    if args.informe:
        informe(leer_resultados(*args.informe))
        return
    if args.repetir:
        campos = ("archivo", "linea", "columna", "operador", "de", "a", "id")
        orden = [{c: r[c] for c in campos} for r in leer_resultados(args.repetir).values()
                 if r["resultado"] == "escapó"]
        cuantas = len(orden)
    else:
        if args.archivos:
            cambios = {a: set(range(1, texto_de(a, args.desde).count("\n") + 2)) for a in args.archivos}
        else:
            cambios = lineas_cambiadas(args.base, args.bajo, args.desde)
        orden = orden_sorteado(todas_las_mutaciones(cambios, args.desde), args.semilla)
        cuantas = min(args.muestra, len(orden))
        print(f"{len(orden)} mutaciones posibles en {len(cambios)} archivos; se prueban {cuantas} que "
              f"compilen (semilla {args.semilla}); resultados en {args.resultados}", flush=True)
    if args.listar:
        for m in orden[:cuantas]:
            print(f"{m['id']} {m['archivo']}:{m['linea']} {m['operador']:<10} {compacto(m['a'])}")
        return
    correr(orden, cuantas, args)
    informe(leer_resultados(args.resultados))


if __name__ == "__main__":
    principal()
